"""The sales records in the real program: a cash sale and a credit sale, then SALES with both
lists loaded and their totals; one payment reprinted from the list's context menu through a
private CUPS scheduler with a cups-pdf queue and read back from the PDF; and the widths of a
payment and a credit column, dragged by the mouse, kept across a restart."""
import os
import sys
import time

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cups import Cups, PrintedFiles, printed_lines  # noqa: E402
from e2e import (Program, check, find, finish, focus_window, main_window, press, scan,  # noqa: E402
                 wait_until, walk, xdotool)

binary, empty_db = sys.argv[1], sys.argv[2]


def shown_table(frame, credits):
    """The payments or the credits list, once it is in front (only the credits list has a
    Customer column)."""
    def wanted(node):
        return (node.getState().contains(pyatspi.STATE_SHOWING) and
                find(node, role="table column header", name="Date", timeout=0) is not None and
                (find(node, role="table column header", name="Customer", timeout=0) is not None) == credits)
    return find(frame, role="table", predicate=wanted, timeout=5)


def cells(table):
    """The cell texts of a list, row after row; none while the list is being refilled."""
    try:
        return [c.name for c in walk(table) if c.getRoleName() == "table cell"]
    except Exception:
        return []


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def header(table, caption):
    return find(table, role="table column header", name=caption, timeout=5)


def drag_column_border(table, caption, by):
    """Drags the right border of a column header by the given pixels, as a user widens a column."""
    x, y, w, h = extents(header(table, caption))
    xdotool("mousemove", "--sync", str(x + w - 2), str(y + h // 2))
    xdotool("mousedown", "1")
    for step in range(1, 5):
        xdotool("mousemove", "--sync", str(x + w - 2 + by * step // 4), str(y + h // 2))
        time.sleep(0.05)
    xdotool("mouseup", "1")


def settings_text(program):
    try:
        with open(program.settings_path()) as f:
            return f.read()
    except OSError:
        return ""


cups = Cups()
no_printing = cups.start()
program = Program(binary, data_db=empty_db)
if no_printing is None:
    program.env["CUPS_SERVER"] = cups.socket
program.seed("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?)",
             [("5901234123457", "MILK", "1.5", 5), ("0042", "GUM", "0.25", 9)])
program.seed("INSERT INTO musteriler (musteriadi) VALUES (?)", [("ANNA",)])
printed_files = PrintedFiles()
program.start()
try:
    app, frame = main_window()

    # For cash: two MILK.
    scan("5901234123457")
    scan("5901234123457")
    check(find(frame, role="label", name="$ 3.00", timeout=10) is not None, "the cart totals $ 3.00")
    press(find(frame, role="push button", name="SELL BY CASH"))
    confirm = find(app, role="alert", name="Sell by Cash", timeout=10)
    check(confirm is not None, 'SELL BY CASH asks "Confirm?"')
    if confirm is not None:
        press(find(confirm, role="push button", name="Yes"))
    check(wait_until(lambda: len(program.rows("SELECT id FROM odemeler")) == 1, 10), "the cash sale is recorded")

    # On credit: three GUM for ANNA.
    focus_window("KESTRUM - Tillora")
    for _ in range(3):
        scan("0042")
    check(find(frame, role="label", name="$ 0.75", timeout=10) is not None, "the cart totals $ 0.75")
    press(find(frame, role="push button", name="SELL BY CREDIT"))
    chooser = find(app, role="dialog", name="Sell by Credit", timeout=10)
    check(chooser is not None, "SELL BY CREDIT opens the customer chooser")
    if chooser is not None:
        focus_window("Sell by Credit", settle=0.2)
        combo = find(chooser, role="combo box")
        combo.queryComponent().grabFocus()
        xdotool("key", "Down")
        check(wait_until(lambda: combo.name == "ANNA", 5), "ANNA is chosen")
        press(find(chooser, role="push button", name="OK"))
    check(wait_until(lambda: len(program.rows("SELECT id FROM veresiyeler")) == 1, 10),
          "the credit sale is recorded")

    # The records of today.
    press(find(frame, role="push button", name="SALES"))
    press(find(frame, role="push button", name="Payments"))
    payments = shown_table(frame, False)
    check(payments is not None and wait_until(lambda: "MILK" in cells(payments), 5), "the payments list is loaded")
    row = cells(payments)
    check(row[1:] == ["5901234123457", "MILK", "1.50", "2", "3.00", "1"], "the payment's cells: %r" % row)
    sold_at = row[0] if row else ""
    check(find(frame, role="label", name="3.00", timeout=5) is not None, "the payments total reads 3.00")

    press(find(frame, role="push button", name="Credits"))
    credits = shown_table(frame, True)
    check(credits is not None and wait_until(lambda: "ANNA" in cells(credits), 5), "the credits list is loaded")
    row = cells(credits)
    check(row[1:] == ["ANNA", "0042", "GUM", "0.25", "3", "0.75", "-", "1"], "the credit's cells: %r" % row)
    check(find(frame, role="label", name="Paid: 0.00 Not Paid: 0.75", timeout=5) is not None,
          "the credits total reads Paid: 0.00 Not Paid: 0.75")

    # A reprint of the payment from the list's context menu.
    press(find(frame, role="push button", name="Payments"))
    payments = shown_table(frame, False)
    if no_printing is None:
        focus_window("KESTRUM - Tillora")
        milk = find(payments, role="table cell", name="MILK", timeout=5)
        x, y, w, h = extents(milk)
        xdotool("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
        xdotool("click", "3")
        # A popup menu is not in the accessibility tree: its second item, "Print", is chosen
        # with the keys, as a cashier can.
        time.sleep(0.5)
        xdotool("key", "Down", "Down", "Return")
        dialog = find(app, role="dialog", name="Print", timeout=15)
        check(dialog is not None, '"Print" in the context menu opens the print dialog')
        if dialog is not None:
            press(find(dialog, role="push button", name="Print"))
        check(wait_until(lambda: len(printed_files.new()) == 1, 60),
              "cups-pdf made one PDF in " + printed_files.folder)
        made = printed_files.new()
        if made:
            printed = printed_lines(made[0], "Thank you")
            check(printed[:1] == ["Welcome to Our Shop"] and printed[-1] == "Thank you",
                  "the reprint is made from the template: %r" % printed)
            check("MILK (1.50) * 2" in printed and "Total: $ 3" in printed,
                  "the reprint holds the payment, its total in the general style: %r" % printed)
            check("Receipt Number:" in printed, "the reprint uses no receipt number: %r" % printed)
            check(len(printed) > 1 and sold_at[11:] in printed[1],
                  "the reprint's moment is the payment's time stamp %s: %r" % (sold_at, printed[1:2]))
    check("ReceiptNumber" not in settings_text(program), "the receipt number is neither used nor changed")

    # Column widths dragged by the mouse are stored within a second.
    focus_window("KESTRUM - Tillora")
    drag_column_border(payments, "Barcode", 60)
    check(wait_until(lambda: extents(header(payments, "Barcode"))[2] > 170, 5), "the Barcode column is wider")
    payment_width = extents(header(payments, "Barcode"))[2]
    press(find(frame, role="push button", name="Credits"))
    credits = shown_table(frame, True)
    drag_column_border(credits, "Customer", 45)
    check(wait_until(lambda: extents(header(credits, "Customer"))[2] > 130, 5), "the Customer column is wider")
    credit_width = extents(header(credits, "Customer"))[2]
    stored = ["integer PaymentColumn2=%d" % payment_width, "integer CreditColumn2=%d" % credit_width,
              "integer PaymentColumn1=142", "integer CreditColumn8=104"]
    check(wait_until(lambda: all(s in settings_text(program) for s in stored), 5),
          "the widths are stored: %r" % stored)
    check("PaymentColumn7" not in settings_text(program) and "CreditColumn9" not in settings_text(program),
          "the ID columns are not remembered")

    # The next start shows them.
    program.process.terminate()
    program.process.wait(10)
    program.start()
    app, frame = main_window()
    press(find(frame, role="push button", name="SALES"))
    payments = shown_table(frame, False)
    check(payments is not None and extents(header(payments, "Barcode"))[2] == payment_width,
          "after a restart the Barcode column of the payments is %d wide" % payment_width)
    press(find(frame, role="push button", name="Credits"))
    credits = shown_table(frame, True)
    check(credits is not None and extents(header(credits, "Customer"))[2] == credit_width,
          "after a restart the Customer column of the credits is %d wide" % credit_width)
    check(wait_until(lambda: "ANNA" in cells(credits), 5), "the credits list loads after the restart")
    check(program.running(), "the program runs")
finally:
    program.stop()
    printed_files.forget()
    cups.stop()

finish()
if no_printing is not None:
    # Every other check passed; only the reprint could not be printed here.
    print("skipped: the reprint, since CUPS cannot be started here: " + no_printing)
