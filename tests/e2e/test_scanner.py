"""A keyboard-wedge scanner at full speed into the real program: every code typed with no
delay between characters, then Enter, burst after burst, while the cart list has the focus.
No character may be lost or reach the wrong line."""
import sys

from e2e import Program, check, find, finish, main_window, scan, wait_until

binary, empty_db = sys.argv[1], sys.argv[2]

products = [
    ("5901234123457", "MILK", 1.5),       # EAN-13
    ("40170725", "WATER", 0.99),          # EAN-8
    ("ABC-123456789012345", "CABLE", 12.0),  # 19 characters, Code 39 style
    ("0042", "GUM", 0.25),                # leading zeros
]

program = Program(binary, data_db=empty_db)
program.seed("INSERT INTO urunler (barkod, urunadi, fiyat) VALUES (?, ?, ?)",
             [(c, n, str(p)) for c, n, p in products])
program.start()
try:
    app, frame = main_window()

    table = find(frame, role="table")
    check(table is not None, "the cart list is on the accessibility bus")

    def cart():
        t = table.queryTable()
        return [[t.getAccessibleAt(r, c).name for c in range(5)] for r in range(t.nRows)]

    # A burst: the scanner does not wait for the program.
    burst = ["5901234123457", "40170725", "5901234123457", "abc-123456789012345",
             "0042", "99999999", "5901234123457", "0042", "40170725", "0042"]
    for code in burst:
        scan(code)
    expected = [
        ["5901234123457", "MILK", "1.50", "3", "4.50"],
        ["40170725", "WATER", "0.99", "2", "1.98"],
        ["ABC-123456789012345", "CABLE", "12.00", "1", "12.00"],
        ["0042", "GUM", "0.25", "3", "0.75"],
    ]
    wait_until(lambda: cart() == expected, timeout=10)
    got = cart()
    check(got == expected, "burst of 10 scans gives the expected cart: %r" % got)

    grand = find(frame, role="label", predicate=lambda n: n.name.startswith("$ "))
    check(grand is not None and grand.name == "$ 19.23", "grand total reads $ 19.23 (%s)" %
          (grand.name if grand else None))

    # Fifty more scans of one product as fast as xdotool can type them.
    for _ in range(50):
        scan("40170725")
    wait_until(lambda: cart()[1][3] == "52", timeout=15)
    check(cart()[1][3] == "52", "50 fast scans add 50 units to the WATER line (%s)" % cart()[1][3])
    check(len(cart()) == 4, "no stray line was made")
    check(program.running(), "the program runs")
finally:
    program.stop()

finish()
