"""A cash sale in the real program printed on a real (virtual) printer: a private CUPS
scheduler with a cups-pdf queue, "Ask Print" on and a receipt folder set. Scan, SELL BY CASH,
Yes to "Confirm?", Yes to "Print?", Print in the print dialog; then the data file, the
receipt file and the printed PDF are read back."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cups import Cups, PrintedFiles, printed_lines  # noqa: E402
from e2e import Program, check, find, finish, main_window, press, scan, wait_until  # noqa: E402

binary, empty_db = sys.argv[1], sys.argv[2]


def skip(why):
    print("skipped: " + why)
    sys.exit(0)


cups = Cups()
why = cups.start()
if why is not None:
    cups.stop()
    skip("CUPS cannot be started here: " + why)

program = Program(binary, data_db=empty_db)
program.env["CUPS_SERVER"] = cups.socket
receipt_folder = os.path.join(program.root, "receipts")
os.makedirs(receipt_folder)
os.makedirs(os.path.dirname(program.settings_path()))
with open(program.settings_path(), "w") as f:
    f.write("integer Print=1\ninteger ReceiptNumber=41\ntext ReceiptFolder=%s\n" % receipt_folder)

program.seed("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?)",
             [("5901234123457", "MILK", "1.5", 5), ("0042", "GUM", "0.25", 1)])

printed_files = PrintedFiles()
program.start()
try:
    app, frame = main_window()
    for code in ("5901234123457", "5901234123457", "0042", "0042", "0042"):
        scan(code)
    grand = find(frame, role="label", predicate=lambda n: n.name == "$ 3.75", timeout=10)
    check(grand is not None, "the cart totals $ 3.75")

    sell = find(frame, role="push button", name="SELL BY CASH")
    check(sell is not None, "SELL BY CASH is on the sell bar")
    press(sell)
    confirm = find(app, role="alert", name="Sell by Cash", timeout=10,
                   predicate=lambda n: find(n, role="label", name="Confirm?", timeout=0) is not None)
    check(confirm is not None, 'SELL BY CASH asks "Confirm?"')
    if confirm is not None:
        press(find(confirm, role="push button", name="Yes"))
        question = find(app, role="alert", name="Sell by Cash", timeout=10,
                        predicate=lambda n: find(n, role="label", name="Print?", timeout=0) is not None)
        check(question is not None, 'the sale asks "Print?"')
        if question is not None:
            press(find(question, role="push button", name="Yes"))
            dialog = find(app, role="dialog", name="Print", timeout=15)
            check(dialog is not None, "the print dialog opens")
            if dialog is not None:
                press(find(dialog, role="push button", name="Print"))

        receipt = os.path.join(receipt_folder, "41.txt")
        check(wait_until(lambda: os.path.exists(receipt), 15), "receipt file 41.txt is written")
        if os.path.exists(receipt):
            with open(receipt, "rb") as f:
                data = f.read()
            check(data.startswith(b"\xef\xbb\xbf"), "the receipt file starts with the byte-order mark")
            text = data[3:].decode("utf-8")
            check(text.endswith("Thank you\r\n"), "every line ends in CR LF, the last one too")
            lines = text.split("\r\n")
            check(lines[3:9] == ["Receipt Number: 41", "", "MILK (1.50) * 2", "GUM (0.25) * 3", "",
                                 "Total: $ 3.75"], "the receipt lists the sale: %r" % lines[3:9])

        check(wait_until(lambda: len(printed_files.new()) == 1, 60),
              "cups-pdf made one PDF in " + printed_files.folder)
        made = printed_files.new()
        if made:
            printed = printed_lines(made[0], "Thank you")
            check("Receipt Number: 41" in printed and "MILK (1.50) * 2" in printed and
                  "Total: $ 3.75" in printed and printed[-1] == "Thank you",
                  "the PDF holds the receipt: %r" % printed)
            check(printed.index("MILK (1.50) * 2") < printed.index("GUM (0.25) * 3"),
                  "its lines are in cart order")

    def settings_text():
        with open(program.settings_path()) as f:
            return f.read()
    check(wait_until(lambda: "integer ReceiptNumber=42" in settings_text(), 5),
          "ReceiptNumber holds 42")
    paid = program.rows("SELECT barkod, urunadi, adet, fiyat FROM odemeler ORDER BY id")
    stock = program.rows("SELECT barkod, stok FROM urunler ORDER BY id")
    check(paid == [("5901234123457", "MILK", 2, 1.5), ("0042", "GUM", 3, 0.25)],
          "odemeler holds the two lines: %r" % paid)
    check(stock == [("5901234123457", 3), ("0042", 0)], "stock 5 - 2 = 3 and 1 - 3 = 0: %r" % stock)
    check(find(frame, role="label", name="$ 0.00", timeout=5) is not None, "the cart is cleared")
    check(program.running(), "the program runs")
finally:
    program.stop()
    printed_files.forget()
    cups.stop()

finish()
