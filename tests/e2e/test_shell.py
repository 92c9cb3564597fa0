"""The start-up password and the restart of the real program: a refused password ends the
program without writing anything; Reset to Defaults starts a new instance with no settings,
which asks for no password."""
import base64
import os
import subprocess
import sys
import time

from e2e import Program, application, check, find, finish, focus_window, press, wait_until, xdotool

binary, empty_db = sys.argv[1], sys.argv[2]


def write_settings(program, lines):
    folder = os.path.join(program.env["XDG_CONFIG_HOME"], "KESTRUM", "Tillora")
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "settings.conf")
    with open(path, "w") as f:
        f.write("".join(line + "\n" for line in lines))
    return path


def answer_password(app, text):
    dialog = find(app, role="dialog", name="Password", timeout=10)
    check(dialog is not None, "the start-up password prompt opens")
    entry = find(dialog, role="password text") or find(dialog, role="text")
    check(entry is not None, "the prompt has a masked entry box")
    focus_window("Password", settle=0.2)
    xdotool("type", "--delay", "0", text)
    xdotool("key", "Return")


def instances(path):
    out = subprocess.run(["pgrep", "-f", "^" + path + "$"], capture_output=True, text=True).stdout
    return [int(p) for p in out.split()]


secret = base64.b64encode("kasa 1".encode()).decode()

# A refused password: the program ends and writes nothing.
program = Program(binary, data_db=empty_db)
settings = write_settings(program, ["text Secret64=" + secret, "text VCL=5"])
before = open(settings, "rb").read()
program.start()
try:
    app = application()
    answer_password(app, "kasa 1 ")  # a trailing blank is not trimmed
    check(wait_until(lambda: not program.running(), timeout=10), "a wrong password ends the program")
    time.sleep(1.5)
    check(open(settings, "rb").read() == before, "the settings are exactly as before")
    check(sorted(os.listdir(os.path.dirname(settings))) == ["settings.conf"], "no other file was written")
finally:
    program.stop()

# The right password, then Reset to Defaults: a new instance starts without a password.
program = Program(binary, data_db=empty_db)
settings = write_settings(program, ["text Secret64=" + secret])
program.start()
try:
    app = application()
    answer_password(app, "kasa 1")
    frame = find(app, role="frame", name="KESTRUM - Tillora")
    time.sleep(0.5)
    check(program.running() and frame is not None, "the right password lets the program run")
    item = find(app, role="menu item", name="Reset to Defaults")
    check(item is not None, "the Settings menu has Reset to Defaults")
    press(item)
    confirm = find(app, role="alert", name="Confirm", timeout=10)
    check(confirm is not None, "Reset to Defaults asks Confirm")
    label = find(confirm, role="label", name="Restart Application?")
    check(label is not None, "the question is Restart Application?")
    press(find(confirm, role="push button", name="Yes"))
    check(wait_until(lambda: not program.running(), timeout=10), "the old instance ends")
    check(wait_until(lambda: len(instances(program.binary)) == 1, timeout=10), "a new instance is running")
    check(not os.path.exists(settings) or "Secret64" not in open(settings).read(),
          "the settings were deleted")
    time.sleep(1.0)
    new_app = application()
    check(new_app is not None and find(new_app, role="frame", name="KESTRUM - Tillora") is not None,
          "the new instance shows its main window")
    check(find(new_app, role="dialog", name="Password", timeout=1) is None, "the new instance asks no password")
finally:
    for pid in instances(program.binary):
        os.kill(pid, 15)
    program.stop()

finish()
