"""A credit sale in the real program with "Ask Print" off and no receipt folder: scan, SELL BY
CREDIT, choose the customer in the chooser with the keyboard, OK; then the data file is read
back. No question about printing, no receipt file, the receipt number unused."""
import os
import sys

from e2e import Program, check, find, finish, focus_window, main_window, press, scan, wait_until, xdotool

binary, empty_db = sys.argv[1], sys.argv[2]

program = Program(binary, data_db=empty_db)
program.seed("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?)",
             [("5901234123457", "MILK", "1.5", 5), ("0042", "GUM", "0.25", 1)])
program.seed("INSERT INTO musteriler (id, musteriadi) VALUES (?, ?)", [(7, "ANNA"), (3, "ZOE")])

program.start()
try:
    app, frame = main_window()
    for code in ("5901234123457", "5901234123457", "0042"):
        scan(code)
    check(find(frame, role="label", name="$ 3.25", timeout=10) is not None, "the cart totals $ 3.25")

    press(find(frame, role="push button", name="SELL BY CREDIT"))
    chooser = find(app, role="dialog", name="Sell by Credit", timeout=10)
    check(chooser is not None, "SELL BY CREDIT opens the customer chooser")
    if chooser is not None:
        check(find(chooser, role="label", name="Which Customer?") is not None, 'it asks "Which Customer?"')
        # The first customer by name, chosen as a cashier would: the list opened, Down, Enter.
        focus_window("Sell by Credit", settle=0.2)
        combo = find(chooser, role="combo box")
        check(combo is not None, "the chooser has the customer list")
        if combo is not None:
            combo.queryComponent().grabFocus()
            xdotool("key", "Down")
            check(wait_until(lambda: combo.name == "ANNA", 5), "ANNA is chosen: %r" % combo.name)
        press(find(chooser, role="push button", name="OK"))
        check(wait_until(lambda: find(app, role="dialog", name="Sell by Credit", timeout=0) is None, 10),
              "the chooser closes")

    def credits():
        return program.rows("SELECT musteriid, musteriadi, barkod, urunadi, adet, fiyat, odendimi "
                            "FROM veresiyeler ORDER BY id")
    check(wait_until(lambda: len(credits()) == 2, 10), "two credit lines are recorded")
    rows = credits()
    check(rows == [(7, "ANNA", "5901234123457", "MILK", 2, 1.5, 0), (7, "ANNA", "0042", "GUM", 1, 0.25, 0)],
          "veresiyeler holds ANNA's two unpaid lines: %r" % rows)
    stock = program.rows("SELECT barkod, stok FROM urunler ORDER BY id")
    paid = program.rows("SELECT count(*) FROM odemeler")[0][0]
    check(stock == [("5901234123457", 3), ("0042", 0)], "stock 5 - 2 = 3 and 1 - 1 = 0: %r" % stock)
    check(paid == 0, "nothing is recorded as paid")
    check(find(app, role="alert", timeout=1) is None, "no question about printing")
    check(find(frame, role="label", name="$ 0.00", timeout=5) is not None, "the cart is cleared")
    check(find(frame, role="label", name="0%", timeout=5) is not None, "the discount reads 0%")
    settings = program.settings_path()
    stored = open(settings).read() if os.path.exists(settings) else ""
    check("ReceiptNumber" not in stored, "the receipt number is not used")
    check(program.running(), "the program runs")
finally:
    program.stop()

finish()
