"""The Debian package, unpacked into a temporary root (dpkg -x), lays out the program folder,
the launcher, the menu entry and the icon set, and starts through its launcher into the main
window with the application icon. The package's program folder is not writable, so the
launcher runs a copy of it in $XDG_DATA_HOME/KESTRUM/Tillora/. A second start keeps that copy's
data.db (the program scans from it), brings its executable and shipped language files back in
line with the package and leaves everything else in that folder alone."""
import configparser
import filecmp
import glob
import hashlib
import os
import re
import shutil
import sqlite3
import struct
import subprocess
import sys
import tempfile

from e2e import MAIN_TITLE, check, find, finish, main_window, scan, wait_until

package_folder, i18n = sys.argv[1], sys.argv[2]
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

debs = glob.glob(os.path.join(package_folder, "*.deb"))
check(len(debs) == 1, "one package was built in %s: %r" % (package_folder, debs))
if len(debs) != 1:
    finish()

root = tempfile.mkdtemp(prefix="tillora-package-")
tree = os.path.join(root, "tree")
subprocess.run(["dpkg", "-x", debs[0], tree], check=True)
program = os.path.join(tree, "opt", "tillora")
copy = os.path.join(root, "data", "KESTRUM", "Tillora")
env = dict(os.environ)
env.update({
    "QT_ACCESSIBILITY": "1",
    "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
    "XDG_CONFIG_HOME": os.path.join(root, "config"),
    "XDG_DATA_HOME": os.path.join(root, "data"),
    "QT_QPA_PLATFORM": "xcb",
})


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def listing(folder):
    return sorted(os.path.relpath(os.path.join(d, f), folder)
                  for d, _, files in os.walk(folder) for f in files)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24]) if head[:8] == b"\x89PNG\r\n\x1a\n" else None


def same(a, b):
    return os.path.isfile(a) and os.path.isfile(b) and filecmp.cmp(a, b, shallow=False)


def start():
    """The installed command, as the menu entry runs it."""
    return subprocess.Popen([os.path.join(tree, "usr", "bin", "tillora")], env=env, cwd=root)


def stop(process):
    process.terminate()
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def window_is_up(process, what):
    app, frame = main_window()
    check(frame is not None, what + ": the main window opens")
    check(find(app, role="alert", timeout=1.0) is None, what + ": no error box (data.db opened)")
    check(process.poll() is None, what + ": the program runs")
    return frame


try:
    # What the package lays out.
    shipped = sorted(os.path.basename(p) for p in glob.glob(os.path.join(i18n, "*.lang.txt")))
    check(sorted(os.listdir(os.path.join(program, "Languages"))) == sorted(shipped + ["LanguageCodes.csv"]),
          "Languages/ holds LanguageCodes.csv and the shipped language files")
    check(os.access(os.path.join(program, "tillora"), os.X_OK), "the executable is in /opt/tillora")
    db = sqlite3.connect(os.path.join(program, "data.db"))
    tables = {r[0] for r in db.execute("SELECT name FROM sqlite_master WHERE type = 'table'")}
    rows = sum(db.execute("SELECT COUNT(*) FROM " + t).fetchone()[0] for t in ("urunler", "musteriler"))
    db.close()
    check({"urunler", "musteriler", "odemeler", "veresiyeler"} <= tables and rows == 0,
          "data.db is the empty data file of the schema")
    launcher = os.path.join(tree, "usr", "bin", "tillora")
    check(os.path.islink(launcher) and
          os.path.realpath(launcher) == os.path.realpath(os.path.join(program, "tillora.sh")),
          "/usr/bin/tillora leads to the launcher in the program folder")
    entry = configparser.ConfigParser(interpolation=None)
    entry.read(os.path.join(tree, "usr", "share", "applications", "tillora.desktop"))
    desktop = entry["Desktop Entry"] if entry.has_section("Desktop Entry") else {}
    check(desktop.get("Type") == "Application" and desktop.get("Name") == "Tillora" and
          desktop.get("Exec") == "tillora" and desktop.get("Icon") == "tillora",
          "the menu entry runs tillora with the icon tillora")
    icons = os.path.join(tree, "usr", "share", "icons", "hicolor")
    check(os.path.isfile(os.path.join(icons, "scalable", "apps", "tillora.svg")), "the scalable icon")
    for size in SIZES:
        png = os.path.join(icons, "%dx%d" % (size, size), "apps", "tillora.png")
        check(os.path.isfile(png) and png_size(png) == (size, size), "the %d-pixel icon" % size)

    # The package's folder is not the user's to write (for root the launcher treats it so).
    os.chmod(program, 0o555)
    package_files = listing(program)
    package_db = digest(os.path.join(program, "data.db"))

    # First start: the copy is made and run.
    process = start()
    try:
        window_is_up(process, "first start")
        window = subprocess.run(["xdotool", "search", "--sync", "--name", "^%s$" % MAIN_TITLE],
                                capture_output=True, text=True).stdout.split()[0]
        icon = subprocess.run(["xprop", "-id", window, "-notype", "-len", "8", "_NET_WM_ICON"],
                              capture_output=True, text=True).stdout
        # The first picture's width and height (xprop draws it when it can).
        size = re.search(r"_NET_WM_ICON = \s*(?:Icon \()?(\d+)(?:, | x )(\d+)", icon)
        check(size is not None and size[1] == size[2] and int(size[1]) in SIZES,
              "the window carries the application icon (%s)" % icon.strip().split("\n")[0])
        check(same(os.path.join(program, "tillora"), os.path.join(copy, "tillora")),
              "the copy runs the package's executable")
        check(all(same(os.path.join(program, "Languages", f), os.path.join(copy, "Languages", f))
                  for f in shipped + ["LanguageCodes.csv"]),
              "the copy has the package's language files")
        check(os.path.isfile(os.path.join(copy, "data.db")), "the copy has its own data.db")
    finally:
        stop(process)

    # The shop's data, an older executable and language file, and files of the user's own.
    db = sqlite3.connect(os.path.join(copy, "data.db"))
    db.execute("INSERT INTO urunler (barkod, urunadi, fiyat, stok) VALUES ('0042', 'GUM', 0.25, 9)")
    db.commit()
    db.close()
    with open(os.path.join(copy, "tillora"), "ab") as f:
        f.write(b"an older build")
    with open(os.path.join(copy, "Languages", shipped[0]), "w", encoding="utf-8") as f:
        f.write("{SALES}an older translation\n")
    with open(os.path.join(copy, "Languages", "Shop.lang.txt"), "w", encoding="utf-8") as f:
        f.write("{SALES}the shop's own\n")
    start_script = os.path.join(copy, "start.sh")
    with open(start_script, "w", encoding="utf-8") as f:
        f.write("#!/bin/sh\nsleep 1\n\"%s\"\n" % os.path.join(copy, "tillora"))

    # Second start: the data stays, the program is the package's again.
    process = start()
    try:
        frame = window_is_up(process, "second start")
        cart = find(frame, role="table").queryTable()

        def first_line():
            return [cart.getAccessibleAt(0, c).name for c in range(2)] if cart.nRows else []

        scan("0042")
        wait_until(lambda: first_line() == ["0042", "GUM"], timeout=10)
        check(first_line() == ["0042", "GUM"],
              "the product stored in the copy's data.db scans into the cart (%r)" % first_line())
        db = sqlite3.connect(os.path.join(copy, "data.db"))
        kept = db.execute("SELECT barkod, urunadi, stok FROM urunler").fetchall()
        db.close()
        check(kept == [("0042", "GUM", 9)], "the copy's data.db keeps its row (%r)" % kept)
        check(same(os.path.join(program, "tillora"), os.path.join(copy, "tillora")),
              "the copy's executable is the package's again")
        check(same(os.path.join(program, "Languages", shipped[0]), os.path.join(copy, "Languages", shipped[0])),
              "the copy's shipped language file is the package's again")
        check(os.path.isfile(os.path.join(copy, "Languages", "Shop.lang.txt")), "the shop's own language file stays")
        check(os.path.isfile(start_script), "the restart script start.sh stays")
        left = [n for n in listing(copy) if re.search(r"\.[A-Za-z0-9]{6}$", n)]
        check(not left, "no temporary file is left in the copy: %r" % left)
    finally:
        stop(process)

    check(listing(program) == package_files and digest(os.path.join(program, "data.db")) == package_db,
          "the package's folder is unchanged")
finally:
    if os.path.isdir(program):
        os.chmod(program, 0o755)
    shutil.rmtree(root, ignore_errors=True)

finish()
