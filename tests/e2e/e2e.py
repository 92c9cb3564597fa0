"""Helpers for end-to-end tests: start the real program from a program folder of its own,
find its widgets through the accessibility tree, press them and type like a scanner."""
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

import pyatspi

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def finish():
    if failures:
        print("%d failed: %s" % (len(failures), "; ".join(failures)))
        sys.exit(1)
    print("all checks passed")


class Program:
    """The program run from a folder of its own (so each test has its own data.db and
    Languages folder), with its own settings and data folders."""

    def __init__(self, binary, data_db=None, languages=None):
        self.root = tempfile.mkdtemp(prefix="tillora-e2e-")
        self.folder = os.path.join(self.root, "Tillora")
        os.makedirs(self.folder)
        self.binary = os.path.join(self.folder, "tillora")
        shutil.copy2(binary, self.binary)
        if data_db:
            shutil.copy2(data_db, os.path.join(self.folder, "data.db"))
        if languages:
            shutil.copytree(languages, os.path.join(self.folder, "Languages"))
        self.env = dict(os.environ)
        self.env.update({
            "QT_ACCESSIBILITY": "1",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "XDG_DATA_HOME": os.path.join(self.root, "data"),
            "QT_QPA_PLATFORM": "xcb",
        })
        self.process = None

    def path(self, name):
        return os.path.join(self.folder, name)

    def seed(self, statement, rows):
        """Inserts rows into the program's data.db with one parameterised statement."""
        db = sqlite3.connect(self.path("data.db"))
        try:
            db.executemany(statement, rows)
            db.commit()
        finally:
            db.close()

    def rows(self, query):
        """What the program's data.db holds for a query, read while the program runs."""
        db = sqlite3.connect(self.path("data.db"))
        try:
            return db.execute(query).fetchall()
        finally:
            db.close()

    def settings_path(self):
        return os.path.join(self.env["XDG_CONFIG_HOME"], "KESTRUM", "Tillora", "settings.conf")

    def start(self):
        self.process = subprocess.Popen([self.binary], env=self.env, cwd=self.root)
        return self

    def running(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        if self.running():
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
        shutil.rmtree(self.root, ignore_errors=True)


def application(name="Tillora", timeout=10.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    return None


MAIN_TITLE = "KESTRUM - Tillora"


def main_window():
    """The running program and its main window, which gets the keyboard as a click would."""
    app = application()
    frame = find(app, role="frame", name=MAIN_TITLE)
    check(frame is not None, "main window is up")
    focus_window(MAIN_TITLE)
    return app, frame


def walk(node):
    """node and everything below it. A part of the tree that goes away while it is read (a
    window closing, a list refilled) is passed over; the callers look again until they find
    what they wait for."""
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is not None:
            yield from walk(child)


def find(root, role=None, name=None, timeout=5.0, predicate=None):
    """First node below root with the given role name and accessible name."""
    deadline = time.time() + timeout
    while True:
        for node in walk(root):
            try:
                if role is not None and node.getRoleName() != role:
                    continue
                if name is not None and node.name != name:
                    continue
                if predicate is not None and not predicate(node):
                    continue
                return node
            except Exception:
                continue
        if time.time() >= deadline:
            return None
        time.sleep(0.1)


def press(node):
    """Presses a button or menu item. An action that opens a modal box answers only when the
    box closes, so the call does not wait for the answer."""
    action = node.queryAction()
    index = 0
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click", "Toggle"):
            index = i
            break
    pyatspi.setTimeout(1500, 1500)
    try:
        action.doAction(index)
    except Exception:
        pass  # no reply while a modal box is open: the press has been delivered
    finally:
        pyatspi.setTimeout(25000, 60000)


def dump(root, depth=0):
    for i in range(root.childCount):
        node = root.getChildAtIndex(i)
        print("  " * depth + "%s %r" % (node.getRoleName(), node.name))
        dump(node, depth + 1)


def xdotool(*args):
    subprocess.run(["xdotool"] + list(args), check=True)


def focus_window(title, settle=0.3):
    """Gives the keyboard to the top-level window of that exact title, as a click would."""
    window = subprocess.run(["xdotool", "search", "--sync", "--name", "^%s$" % title],
                            capture_output=True, text=True).stdout.split()[0]
    xdotool("windowfocus", "--sync", window)
    time.sleep(settle)


def scan(code):
    """What a keyboard-wedge scanner does: the code typed at full speed, then Enter."""
    xdotool("type", "--delay", "0", code)
    xdotool("key", "Return")


def wait_until(condition, timeout=5.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return condition()
