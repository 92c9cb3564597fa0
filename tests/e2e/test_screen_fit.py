"""The main window on a small screen (the display's size and QT_SCALE_FACTOR come from the
test's environment): it opens inside the screen, with its designed size where that fits, and
the sell bar and the navigation bar lie on the screen, also after a switch of screens."""
import os
import subprocess
import sys

import pyatspi

from e2e import MAIN_TITLE, Program, check, find, finish, main_window, scan, wait_until, xdotool

binary, empty_db = sys.argv[1], sys.argv[2]
DESIGN = (841, 619)


def window_geometry():
    """The main window's place and size on the X screen, in device pixels."""
    window = subprocess.run(["xdotool", "search", "--name", "^%s$" % MAIN_TITLE],
                            capture_output=True, text=True).stdout.split()[0]
    shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                           capture_output=True, text=True).stdout
    values = dict(line.split("=") for line in shell.split())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def screen_size():
    width, height = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True,
                                   text=True).stdout.split()
    return int(width), int(height)


def on_screen(frame, names):
    """The named buttons whose whole rectangle lies on the screen. The accessibility tree
    gives the rectangles in the window's own units; the window's X geometry converts them."""
    x, y, width, height = window_geometry()
    screen_w, screen_h = screen_size()
    outer = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    scale = width / outer.width if outer.width else 1.0
    inside = []
    for name in names:
        button = find(frame, role="push button", name=name, timeout=2)
        if button is None:
            continue
        box = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        left = x + (box.x - outer.x) * scale
        top = y + (box.y - outer.y) * scale
        right = left + box.width * scale
        bottom = top + box.height * scale
        if box.width > 0 and box.height > 0 and left >= 0 and top >= 0 and right <= screen_w \
                and bottom <= screen_h:
            inside.append(name)
    return inside


program = Program(binary, data_db=empty_db)
program.seed("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES (?, ?, ?, ?)",
             [("5901234123457", "MILK", "1.5", 9)])
program.start()
try:
    app, frame = main_window()
    scale = float(os.environ.get("QT_SCALE_FACTOR", "1"))
    screen_w, screen_h = screen_size()
    x, y, width, height = window_geometry()
    print("screen %dx%d, scale %g, window %dx%d at %d,%d" % (screen_w, screen_h, scale, width, height, x, y))
    check(x >= 0 and y >= 0 and x + width <= screen_w and y + height <= screen_h,
          "the window lies inside the screen")
    designed = (round(DESIGN[0] * scale), round(DESIGN[1] * scale))
    if designed[0] <= screen_w and designed[1] <= screen_h:
        check((width, height) == designed, "where it fits the window has its designed size %r" % (designed,))
    else:
        check(width <= screen_w and height <= screen_h and (width, height) != designed,
              "where it does not fit the window shrinks to the screen")

    scan("5901234123457")
    check(find(frame, role="label", name="$ 1.50", timeout=10) is not None, "a scan fills the cart")
    bars = ["SELL BY CASH", "SELL BY CREDIT", "PRODUCTS", "CUSTOMERS", "SALES"]
    check(wait_until(lambda: on_screen(frame, bars) == bars, 5),
          "the sell bar and the navigation bar lie on the screen: %r" % on_screen(frame, bars))

    # The other screens do not push the window off the screen either.
    for key, caption, label in (("F5", "PRODUCTS", "BARCODE:"), ("F6", "CUSTOMERS", "CUSTOMER:"),
                                ("F7", "SALES", "Begin:")):
        xdotool("key", key)
        check(find(frame, role="label", name=label, timeout=10,
                   predicate=lambda n: n.getState().contains(pyatspi.STATE_SHOWING)) is not None,
              "%s opens %s" % (key, caption))
        x, y, width, height = window_geometry()
        check(x >= 0 and y >= 0 and x + width <= screen_w and y + height <= screen_h,
              "with %s the window still lies inside the screen (%dx%d at %d,%d)"
              % (caption, width, height, x, y))
        nav = ["PRODUCTS", "CUSTOMERS", "SALES"]
        check(wait_until(lambda: on_screen(frame, nav) == nav, 5),
              "with %s the navigation bar still lies on the screen" % caption)
    check(program.running(), "the program runs")
finally:
    program.stop()

finish()
