"""Power loss at the worst moment in the real program: a cart is scanned, SELL BY CASH is
pressed, "Confirm?" is answered with Enter, and the program is killed (SIGKILL) a random few
milliseconds later, 20 times over one data.db. After each kill the file is sound and holds the
whole cart or none of it, with the stock lowered by exactly the recorded quantities."""
import os
import random
import signal
import sys
import time

from e2e import Program, application, check, find, finish, focus_window, main_window, press, scan, wait_until, xdotool

binary, empty_db = sys.argv[1], sys.argv[2]
KILLS = 20
START_STOCK = 100000
products = [("8690%04d" % i, "ITEM %d" % i, "%d.25" % (i + 1)) for i in range(8)]

program = Program(binary, data_db=empty_db)
program.seed("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?)",
             [(code, name, price, START_STOCK) for code, name, price in products])
rng = random.Random()
recorded = {code: 0 for code, _, _ in products}
last_id = 0
whole, none = 0, 0

try:
    for kill in range(KILLS):
        # A cart of 1 to 4 products, some scanned more than once (one line, a larger quantity).
        cart = {}
        for code, _, _ in rng.sample(products, rng.randint(1, 4)):
            cart[code] = rng.randint(1, 3)
        program.start()
        app, frame = main_window()
        if frame is None:
            break
        for code, times in cart.items():
            for _ in range(times):
                scan(code)
        total = sum(float(price) * cart[code] for code, _, price in products if code in cart)
        check(find(frame, role="label", name="$ %.2f" % total, timeout=10) is not None,
              "kill %d: the cart of %d lines totals $ %.2f" % (kill, len(cart), total))
        sell = find(frame, role="push button", name="SELL BY CASH")
        check(sell is not None, "kill %d: SELL BY CASH is there" % kill)
        if sell is None:
            break
        press(sell)
        confirm = find(app, role="alert", name="Sell by Cash", timeout=10)
        check(confirm is not None and find(confirm, role="label", name="Confirm?") is not None,
              "kill %d: Confirm? is asked" % kill)
        focus_window("Sell by Cash", settle=0.05)
        xdotool("key", "Return")
        time.sleep(rng.uniform(0, 0.02))
        os.kill(program.process.pid, signal.SIGKILL)
        program.process.wait(10)
        # The accessibility bus forgets the killed program before the next one starts.
        wait_until(lambda: application(timeout=0.05) is None, 10)

        check(program.rows("PRAGMA integrity_check")[0][0] == "ok", "kill %d: integrity_check is ok" % kill)
        rows = program.rows("SELECT id, barkod, adet FROM odemeler WHERE id > %d ORDER BY id" % last_id)
        got = [(barcode, quantity) for _, barcode, quantity in rows]
        expected = list(cart.items())
        check(got in ([], expected), "kill %d: the sale is recorded whole or not at all: %r" % (kill, got))
        if got:
            whole += 1
            last_id = rows[-1][0]
            for barcode, quantity in got:
                recorded[barcode] += quantity
        else:
            none += 1
        stock = dict(program.rows("SELECT barkod, stok FROM urunler"))
        check(all(stock[c] == START_STOCK - recorded[c] for c in recorded),
              "kill %d: stock is the start less the recorded sales" % kill)
    print("kills survived: %d (sale recorded whole: %d, not at all: %d)" % (KILLS, whole, none), flush=True)
finally:
    program.stop()

finish()
