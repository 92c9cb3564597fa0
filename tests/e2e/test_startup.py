"""The real program starts into its main window; without data.db it reports the opening
failure, creates no file and keeps running."""
import os
import sys
import time

from e2e import Program, application, check, find, finish, press, wait_until

binary, schema_db = sys.argv[1], sys.argv[2]

# Without a data file.
program = Program(binary).start()
try:
    app = application()
    check(app is not None, "the program shows up on the accessibility bus")
    frame = find(app, role="frame", name="KESTRUM - Tillora")
    check(frame is not None, "main window caption is KESTRUM - Tillora")
    alert = find(app, role="alert", name="Tillora")
    check(alert is not None, "an error box captioned Tillora opens")
    label = find(alert, role="label", predicate=lambda n: n.name.startswith("Exception raised with message: "))
    check(label is not None and "unable to open database file" in label.name,
          "it reads Exception raised with message: unable to open database file")
    press(find(alert, role="push button", name="OK"))
    time.sleep(0.5)
    check(program.running(), "the program keeps running after OK")
    check(not os.path.exists(program.path("data.db")), "no data.db is created")
finally:
    program.stop()

# With the laid-out empty data file: no box at all.
program = Program(binary, data_db=schema_db).start()
try:
    app = application()
    frame = find(app, role="frame", name="KESTRUM - Tillora")
    check(frame is not None, "with data.db the main window opens")
    time.sleep(0.5)
    check(find(app, role="alert", timeout=0.5) is None, "with data.db no error box opens")
    check(program.running(), "the program runs")
finally:
    program.stop()

finish()
