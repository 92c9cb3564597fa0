"""Backup and restore in the real program: sell, back up through Operations > "Backup...", sell
again, restore the backup through "Restore from Backup...", answer No to "Restart
Application?" and sell once more. The restored data file is whole, holds exactly the backup's
sales, the replaced file is kept as data.db.bak, and the program sells on from the restored
stock without a restart."""
import os
import sqlite3
import sys

from e2e import Program, check, find, finish, focus_window, main_window, press, scan, wait_until, xdotool

binary, empty_db = sys.argv[1], sys.argv[2]

MILK, GUM = "5901234123457", "0042"
SALES = "SELECT id, barkod, urunadi, adet, fiyat, odemetarihi FROM odemeler ORDER BY id"
STOCK = "SELECT barkod, stok FROM urunler ORDER BY id"


def read(path, query):
    db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
    try:
        return db.execute(query).fetchall()
    finally:
        db.close()


def sell(app, frame, code, total):
    """One product sold for cash: scanned, SELL BY CASH, Yes to "Confirm?"."""
    focus_window("KESTRUM - Tillora")
    scan(code)
    check(find(frame, role="label", name=total, timeout=10) is not None, "the cart totals %s" % total)
    press(find(frame, role="push button", name="SELL BY CASH"))
    confirm = find(app, role="alert", name="Sell by Cash", timeout=10,
                   predicate=lambda n: find(n, role="label", name="Confirm?", timeout=0) is not None)
    check(confirm is not None, 'SELL BY CASH asks "Confirm?"')
    if confirm is not None:
        press(find(confirm, role="push button", name="Yes"))
    check(find(frame, role="label", name="$ 0.00", timeout=10) is not None, "the cart is cleared")


def choose_file(app, title, path):
    """Types a full path into the file name box of the file dialog and accepts it."""
    dialog = find(app, role="dialog", name=title, timeout=10)
    check(dialog is not None, "the %s dialog opens" % title)
    if dialog is None:
        return
    focus_window(title)
    xdotool("type", "--delay", "0", path)
    xdotool("key", "Return")
    check(wait_until(lambda: find(app, role="dialog", name=title, timeout=0) is None, 10),
          "the %s dialog closes" % title)


def menu_item(app, name):
    item = find(app, role="menu item", name=name, timeout=10)
    check(item is not None, 'the Operations menu has "%s"' % name)
    return item


program = Program(binary, data_db=empty_db)
program.seed("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?)",
             [(MILK, "MILK", "1.5", 5), (GUM, "GUM", "0.25", 3)])
backup = os.path.join(program.root, "backup.db")

program.start()
try:
    app, frame = main_window()
    sell(app, frame, MILK, "$ 1.50")
    check(wait_until(lambda: len(program.rows(SALES)) == 1, 10), "the first sale is recorded")

    # Backup: silent on success; the copy is a whole database of that moment.
    press(menu_item(app, "Backup..."))
    choose_file(app, "Save As", backup)
    check(wait_until(lambda: os.path.exists(backup), 10), "the backup file is written")
    check(find(app, role="alert", timeout=1) is None, "a backup that worked says nothing")
    backed_up = read(backup, SALES)
    check(read(backup, "PRAGMA integrity_check") == [("ok",)], "the backup is a whole database")
    check(backed_up == program.rows(SALES), "the backup holds the sale made before it")

    sell(app, frame, GUM, "$ 0.25")
    check(wait_until(lambda: len(program.rows(SALES)) == 2, 10), "the sale after the backup is recorded")
    replaced = program.rows(SALES)

    # Restore, then No: the program goes on with the restored data.
    press(menu_item(app, "Restore from Backup..."))
    choose_file(app, "Open", backup)
    confirm = find(app, role="alert", name="Confirm", timeout=10,
                   predicate=lambda n: find(n, role="label", name="Restart Application?", timeout=0) is not None)
    check(confirm is not None, 'the restore asks "Restart Application?"')
    if confirm is not None:
        press(find(confirm, role="push button", name="No"))
    check(wait_until(lambda: find(app, role="alert", timeout=0) is None, 10), "no other box follows")
    check(program.running(), "after No the program goes on running")

    live = program.path("data.db")
    check(read(live, "PRAGMA integrity_check") == [("ok",)], "the restored data file is whole")
    check(read(live, SALES) == backed_up, "the restored sale history is exactly the backup's")
    check(read(live, STOCK) == [(MILK, 4), (GUM, 3)], "the restored stock is the backup's")
    bak = program.path("data.db.bak")
    check(os.path.exists(bak) and read(bak, SALES) == replaced, "the replaced file is kept as data.db.bak")

    # Selling again works on the restored file, through the reopened connection.
    sell(app, frame, MILK, "$ 1.50")
    check(wait_until(lambda: len(program.rows(SALES)) == 2, 10), "the new sale is recorded")
    after = read(live, SALES)
    check(after[:1] == backed_up and [r[1:4] for r in after[1:]] == [(MILK, "MILK", 1)],
          "the history is the backup's sale and the new one: %r" % after)
    check(read(live, STOCK) == [(MILK, 3), (GUM, 3)], "the stock goes down from the restored value")
    check(read(live, "PRAGMA integrity_check") == [("ok",)], "the data file stays whole")
    check(program.running(), "the program runs")
finally:
    program.stop()

finish()
