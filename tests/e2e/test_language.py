"""The language dialog in the real program: Help > "Language..." lists the shipped languages,
German is chosen, OK asks "Restart Application?", Yes stores the choice and restarts, and the
new instance shows its captions in German.

Needs the Help menu items "Language..." and "Send Feedback..." of the main window."""
import os
import subprocess
import sys
import time

from e2e import Program, application, check, find, finish, focus_window, main_window, press, wait_until, xdotool

binary, empty_db = sys.argv[1], sys.argv[2]
languages = os.path.join(os.path.dirname(binary), "Languages")


def instances(path):
    out = subprocess.run(["pgrep", "-f", "^" + path + "$"], capture_output=True, text=True).stdout
    return [int(p) for p in out.split()]


program = Program(binary, data_db=empty_db, languages=languages)
program.env["LANGUAGE"] = ""
program.env["LC_ALL"] = "C"  # no automatic choice: the program starts in English
program.start()
try:
    app, frame = main_window()
    check(find(app, role="push button", name="PRODUCTS") is not None, "the program starts in English")
    item = find(app, role="menu item", name="Language...")
    check(item is not None, "the Help menu has Language...")
    press(item)
    dialog = find(app, role="dialog", name="Language", timeout=10)
    check(dialog is not None, "the language dialog opens")
    combo = find(dialog, role="combo box")
    check(combo is not None, "it has the language list")
    names = [combo.getChildAtIndex(0).getChildAtIndex(i).name
             for i in range(combo.getChildAtIndex(0).childCount)] if combo and combo.childCount else []
    check(names == ["English", "French", "German", "Spanish", "Turkish"],
          "the list holds English and the shipped languages in order: %s" % names)
    check(find(dialog, role="text", predicate=lambda n: "Kestrum" in n.queryText().getText(0, -1)) is not None,
          "the translators box shows Kestrum for English")

    # The list has the keyboard: "G" selects German.
    focus_window("Language", settle=0.3)
    xdotool("key", "G")
    check(wait_until(lambda: combo.name == "German"), "German is selected (%s)" % combo.name)
    press(find(dialog, role="push button", name="OK"))
    question = find(app, role="alert", name="Confirmation", timeout=10)
    check(question is not None, "OK asks in a box captioned Confirmation")
    check(question is not None and find(question, role="label", name="Restart Application?") is not None,
          "the question is Restart Application?")
    press(find(question, role="push button", name="Yes"))

    check(wait_until(lambda: not program.running(), timeout=10), "the old instance ends")
    check(wait_until(lambda: len(instances(program.binary)) == 1, timeout=10), "a new instance is running")
    check("LanguageFile=German.lang.txt" in open(program.settings_path()).read(), "German.lang.txt is stored")
    time.sleep(1.0)
    new_app = application()
    check(new_app is not None and find(new_app, role="frame", name="KESTRUM - Tillora") is not None,
          "the new instance shows its main window")
    for caption in ["ARTIKEL", "KUNDEN", "VERKÄUFE"]:
        check(find(new_app, role="push button", name=caption) is not None, "the new instance shows " + caption)
    check(find(new_app, role="menu", name="Hilfe") is not None or
          find(new_app, role="menu item", name="Hilfe") is not None, "the Help menu reads Hilfe")
    check(find(new_app, role="push button", name="PRODUCTS", timeout=0.5) is None, "no English caption is left")
finally:
    for pid in instances(program.binary):
        os.kill(pid, 15)
    program.stop()

finish()
