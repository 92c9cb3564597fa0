"""A shop owner's first day in the real program: log in with the admin password, open PRODUCTS,
let the scanner type a new barcode into the barcode box, type name, price "2,50" and stock and
press Enter to ADD; back on the sale screen the scanner finds the product at 2.50. A new
customer is added on the customers screen, two products are sold to it on credit, and one of
the two lines is settled with PAID; the data file is read back after each step."""
import base64
import os
import sys

import pyatspi

from e2e import Program, check, find, finish, focus_window, main_window, press, scan, wait_until, xdotool

binary, empty_db = sys.argv[1], sys.argv[2]
BARCODE = "8690001234567"
CUSTOMER = "MARY O'BRIEN"


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def button(frame, name):
    """The button of that caption on the screen in view (the screens out of view hold more)."""
    return find(frame, role="push button", name=name, predicate=showing)


def type_text(text):
    xdotool("type", "--delay", "20", text)


def enter():
    xdotool("key", "Return")


program = Program(binary, data_db=empty_db)
program.seed("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?)", [("0042", "GUM", "0.25", 9)])
settings = program.settings_path()
os.makedirs(os.path.dirname(settings), exist_ok=True)
with open(settings, "w") as f:
    f.write("text SecretAdmin64=" + base64.b64encode(b"boss").decode() + "\n")

program.start()
try:
    app, frame = main_window()

    # Log in with the admin password.
    press(find(app, role="menu item", name="Login (Full Access)"))
    prompt = find(app, role="dialog", name="Admin Password", timeout=10)
    check(prompt is not None, "Login (Full Access) asks the admin password")
    focus_window("Admin Password", settle=0.2)
    type_text("boss")
    enter()
    check(wait_until(lambda: find(app, role="menu item", name="Logout", timeout=0) is not None and
                     find(app, role="dialog", name="Admin Password", timeout=0) is None, 10),
          "the password is taken")
    focus_window("KESTRUM - Tillora")

    # PRODUCTS: the scanner types into the barcode box; name, price and stock follow with Enter.
    press(button(frame, "PRODUCTS"))
    check(wait_until(lambda: button(frame, "DELETE PRODUCT") is not None, 10), "PRODUCTS opens the products screen")
    scan(BARCODE)
    name_box = find(frame, role="text", name="PRODUCT NAME:", predicate=showing)
    check(name_box is not None and wait_until(lambda: name_box.getState().contains(pyatspi.STATE_FOCUSED), 5),
          "Enter after the scan moves on to the name box")
    type_text("BISCUIT")
    enter()
    type_text("2,50")
    enter()
    type_text("24")
    enter()
    add = button(frame, "ADD")
    check(add is not None and wait_until(lambda: add.getState().contains(pyatspi.STATE_FOCUSED), 5),
          "Enter in the stock box moves on to ADD")
    enter()

    def product():
        return program.rows("SELECT barkod, urunadi, fiyat, stok FROM urunler WHERE barkod = '%s'" % BARCODE)
    check(wait_until(lambda: len(product()) == 1, 10), "ADD records the product")
    check(product() == [(BARCODE, "BISCUIT", 2.5, 24)], "urunler holds the product at 2.5: %r" % product())
    check(wait_until(lambda: button(frame, "UPDATE") is not None and button(frame, "UPDATE").getState().contains(
        pyatspi.STATE_ENABLED), 5), "the new product is shown as stored (UPDATE enabled)")

    # Back on the sale screen the scanner finds it.
    press(button(frame, "MAIN MENU"))
    table = find(frame, role="table", predicate=showing, timeout=10)
    check(table is not None, "MAIN MENU brings back the sale screen")
    focus_window("KESTRUM - Tillora")
    scan(BARCODE)

    def cart():
        t = table.queryTable()
        return [[t.getAccessibleAt(r, c).name for c in range(5)] for r in range(t.nRows)]
    check(wait_until(lambda: cart() == [[BARCODE, "BISCUIT", "2.50", "1", "2.50"]], 10),
          "the cart shows the product at 2.50: %r" % cart())

    # CUSTOMERS: a new name, Enter to ADD, Enter to add it.
    press(button(frame, "CUSTOMERS"))
    check(wait_until(lambda: button(frame, "DELETE CUSTOMER") is not None, 10),
          "CUSTOMERS opens the customers screen")
    type_text(CUSTOMER)
    enter()
    enter()

    def customers():
        return program.rows("SELECT musteriadi FROM musteriler")
    check(wait_until(lambda: customers() == [(CUSTOMER,)], 10), "the customer is added: %r" % customers())
    check(find(frame, role="text", name="CREDIT:", predicate=lambda n: showing(n) and
               n.queryText().getText(0, -1) == "0.00", timeout=5) is not None, "with CREDIT 0.00")

    # Two products on credit to the new customer.
    press(button(frame, "MAIN MENU"))
    focus_window("KESTRUM - Tillora")
    scan("0042")
    check(wait_until(lambda: len(cart()) == 2, 10), "the cart holds two lines")
    press(find(frame, role="push button", name="SELL BY CREDIT"))
    chooser = find(app, role="dialog", name="Sell by Credit", timeout=10)
    check(chooser is not None, "SELL BY CREDIT opens the customer chooser")
    if chooser is not None:
        focus_window("Sell by Credit", settle=0.2)
        combo = find(chooser, role="combo box")
        combo.queryComponent().grabFocus()
        xdotool("key", "Down")
        check(wait_until(lambda: combo.name == CUSTOMER, 5), "the new customer is chosen: %r" % combo.name)
        press(find(chooser, role="push button", name="OK"))

    def credits():
        return program.rows("SELECT musteriadi, barkod, urunadi, adet, fiyat, odendimi, odemetarihi IS NULL "
                            "FROM veresiyeler ORDER BY id")
    check(wait_until(lambda: len(credits()) == 2, 10), "two credit lines are recorded")
    check(credits() == [(CUSTOMER, BARCODE, "BISCUIT", 1, 2.5, 0, 1), (CUSTOMER, "0042", "GUM", 1, 0.25, 0, 1)],
          "veresiyeler holds the two open lines: %r" % credits())

    # Settle one of the two lines.
    press(button(frame, "CUSTOMERS"))
    check(wait_until(lambda: button(frame, "DELETE CUSTOMER") is not None, 10), "back on the customers screen")
    focus_window("KESTRUM - Tillora")
    type_text(CUSTOMER)
    check(find(frame, role="text", name="CREDIT:", predicate=lambda n: showing(n) and
               n.queryText().getText(0, -1) == "2.75", timeout=5) is not None, "CREDIT shows 2.75")
    press(button(frame, "DETAILS"))
    def entries():
        return pyatspi.findAllDescendants(frame, lambda n: n.getRoleName() == "list item" and " * " in n.name)
    check(wait_until(lambda: len(entries()) == 2, 10), "DETAILS lists two open lines: %r" % [n.name for n in entries()])
    first = entries()[0] if entries() else None
    check(first is not None and first.name.endswith("1 * BISCUIT = 2.50"), "the first line is the biscuit: %r" %
          (first.name if first else None))
    if first is not None:
        # Ticked as with the mouse: a click on its check box at the left of the line.
        box = first.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        xdotool("mousemove", "--sync", str(box.x + 10), str(box.y + box.height // 2))
        xdotool("click", "1")
        check(wait_until(lambda: first.getState().contains(pyatspi.STATE_CHECKED), 5), "the line is ticked")
    press(button(frame, "PAID"))
    question = find(app, role="alert", name="Sell by Credit", timeout=10)
    check(question is not None, "PAID asks in a box captioned Sell by Credit")
    if question is not None:
        press(find(question, role="push button", name="Yes"))

    check(wait_until(lambda: [c[5] for c in credits()] == [1, 0], 10), "the ticked line is paid, the other open")
    settled = program.rows("SELECT odemetarihi FROM veresiyeler WHERE barkod = '%s'" % BARCODE)[0][0]
    check(settled is not None and len(settled) == 19, "it carries the settlement time: %r" % settled)
    payments = program.rows("SELECT barkod, urunadi, adet, fiyat FROM odemeler")
    check(payments == [(BARCODE, "BISCUIT", 1, 2.5)], "odemeler holds the settled line: %r" % payments)
    check(find(frame, role="text", name="CREDIT:", predicate=lambda n: showing(n) and
               n.queryText().getText(0, -1) == "0.25", timeout=5) is not None, "CREDIT shows 0.25")
    check(program.running(), "the program runs")
finally:
    program.stop()

finish()
