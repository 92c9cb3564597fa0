"""A sale from the keyboard alone in the real program, the mouse never used: scans, F2 (SELL BY
CASH), "Confirm?" answered with Enter, the next cart scanned straight into the cart list and
sold the same way; then a credit sale with F3, the customer chosen with the arrow keys; and a
menu item reached with Alt and letters, after which the next scan still lands in the cart.
Without a window manager on the virtual display, a new window gets the keyboard through
xdotool's windowfocus, as a desktop would give it."""
import sys

import pyatspi

from e2e import Program, check, find, finish, focus_window, main_window, scan, wait_until, walk, xdotool

binary, empty_db = sys.argv[1], sys.argv[2]

program = Program(binary, data_db=empty_db)
program.seed("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?)",
             [("5901234123457", "MILK", "1.5", 10), ("40170725", "WATER", "0.99", 10),
              ("0042", "GUM", "0.25", 10)])
program.seed("INSERT INTO musteriler (musteriadi) VALUES (?)", [("ANNA",)])


def payments():
    return program.rows("SELECT barkod, adet, fiyat FROM odemeler ORDER BY id")


def answer_confirm(app, caption):
    box = find(app, role="alert", name=caption, timeout=10)
    check(box is not None and find(box, role="label", name="Confirm?") is not None,
          '%s asks "Confirm?"' % caption)
    focus_window(caption, settle=0.2)
    xdotool("key", "Return")
    return box


CONTROLS = ("push button", "toggle button", "check box", "radio button", "combo box", "spin button",
            "text", "table", "list", "menu item", "page tab")


def unnamed_controls(root):
    """The controls below root without a name (the parts of lists and boxes left aside)."""
    found = []
    for node in walk(root):
        try:
            role = node.getRoleName()
            parent = node.parent.getRoleName() if node.parent else ""
            if role in CONTROLS and parent not in ("table", "list", "combo box", "spin button") \
                    and not node.name.strip():
                found.append("%s in %s" % (role, parent))
        except Exception:
            continue
    return found


program.start()
try:
    app, frame = main_window()
    check(unnamed_controls(frame) == [], "every control of the main window is named on the accessibility bus: "
          "%r" % unnamed_controls(frame))

    # The first customer: two products, one of them twice.
    for code in ("5901234123457", "40170725", "5901234123457"):
        scan(code)
    check(find(frame, role="label", name="$ 3.99", timeout=10) is not None, "the first cart totals $ 3.99")
    xdotool("key", "F2")
    answer_confirm(app, "Sell by Cash")
    check(wait_until(lambda: len(payments()) == 2, 10), "F2 and Enter record the first sale")
    check(payments() == [("5901234123457", 2, 1.5), ("40170725", 1, 0.99)],
          "odemeler holds its two lines: %r" % payments())
    check(find(frame, role="label", name="$ 0.00", timeout=10) is not None, "the cart is empty again")

    # The next customer, scanned at once: the keyboard is back in the cart list.
    focus_window("KESTRUM - Tillora", settle=0.2)
    scan("0042")
    scan("0042")
    check(find(frame, role="label", name="$ 0.50", timeout=10) is not None, "the next cart totals $ 0.50")
    xdotool("key", "F2")
    answer_confirm(app, "Sell by Cash")
    check(wait_until(lambda: len(payments()) == 3, 10), "the next sale is recorded")
    check(payments()[-1] == ("0042", 2, 0.25), "its line: %r" % (payments()[-1],))

    # On credit: F3, the customer chosen with Down, Enter for OK.
    focus_window("KESTRUM - Tillora", settle=0.2)
    scan("40170725")
    check(find(frame, role="label", name="$ 0.99", timeout=10) is not None, "a cart for a credit sale")
    xdotool("key", "F3")
    chooser = find(app, role="dialog", name="Sell by Credit", timeout=10)
    check(chooser is not None, "F3 opens the customer chooser")
    focus_window("Sell by Credit", settle=0.2)
    xdotool("key", "Down")
    combo = find(chooser, role="combo box") if chooser else None
    check(combo is not None and wait_until(lambda: combo.name == "ANNA", 5), "Down chooses ANNA")
    xdotool("key", "Return")

    def credits():
        return program.rows("SELECT musteriadi, barkod, adet FROM veresiyeler ORDER BY id")
    check(wait_until(lambda: credits() == [("ANNA", "40170725", 1)], 10),
          "the credit sale is recorded: %r" % credits())

    # A menu item from the keyboard: Alt+O opens Operations, K its "Keyboard Shortcuts...".
    focus_window("KESTRUM - Tillora", settle=0.2)
    xdotool("key", "alt+o")
    item = find(app, role="menu item", name="Keyboard Shortcuts...", timeout=10,
                predicate=lambda n: n.getState().contains(pyatspi.STATE_SHOWING))
    check(item is not None, "Alt+O opens the Operations menu")
    xdotool("key", "k")
    summary = find(app, role="alert", name="Keyboard Shortcuts", timeout=10)
    check(summary is not None, "Alt+O, K opens the keyboard shortcut summary")
    check(summary is not None and find(summary, role="label",
                                       predicate=lambda n: "F2:" in n.name and "SELL BY CASH" in n.name) is not None,
          "the summary names F2 for SELL BY CASH")
    focus_window("Keyboard Shortcuts", settle=0.2)
    xdotool("key", "Return")
    check(wait_until(lambda: find(app, role="alert", name="Keyboard Shortcuts", timeout=0) is None, 5),
          "Enter closes it")
    focus_window("KESTRUM - Tillora", settle=0.2)
    scan("0042")
    check(find(frame, role="label", name="$ 0.25", timeout=10) is not None, "the next scan lands in the cart")

    stock = dict(program.rows("SELECT barkod, stok FROM urunler"))
    check(stock == {"5901234123457": 8, "40170725": 8, "0042": 8}, "the stock went down: %r" % stock)
    check(program.running(), "the program runs")
finally:
    program.stop()

finish()
