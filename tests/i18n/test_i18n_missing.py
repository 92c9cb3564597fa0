"""The text extraction of scripts/i18n-missing on a small made-up source tree: literals in
translation calls over several lines, ternaries, escapes, comments, definitions, calls through
a variable listed or not, and language files missing texts."""
import os
import subprocess
import sys
import tempfile

script = sys.argv[1]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def write(root, path, text):
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "w", encoding="utf-8") as f:
        f.write(text)


def run(root, *args):
    r = subprocess.run([sys.executable, script, "--root=" + root] + list(args), capture_output=True, text=True)
    return r.returncode, r.stdout


with tempfile.TemporaryDirectory() as root:
    write(root, "app/window.cpp", r'''
QString Window::TranslateText(const QString& english) const { return language_.translateText(english); }
void Window::build() {
    setWindowTitle(TranslateText(QStringLiteral("Main Window")));
    label->setText(context.tr(
        QStringLiteral("Two "
                       "lines")));
    box->show(translate(cash ? QStringLiteral("Sell by Cash") : QStringLiteral("Sell by Credit")));
    // TranslateText(QStringLiteral("Commented out"))
    /* translate(QStringLiteral("Block comment")) */
    note->setText(translate_(QStringLiteral("Tab\there \"quoted\"")));
    other->setText(QStringLiteral("Not translated"));
    for (const char* caption : {"Barcode", "Price"})
        headers << TranslateText(QString::fromLatin1(caption));
}
''')
    write(root, "tests/app/test_window.cpp", 'TranslateText(QStringLiteral("Only a test"));\n')
    write(root, "i18n/texts-through-variables.txt",
          "# comment\n@ app/window.cpp: translateText(english)\n")
    write(root, "i18n/German.lang.txt",
          "; comment\n{Main Window}Hauptfenster\n{Two lines}Zwei Zeilen\n{Sell by Cash}Bar\n"
          "{Sell by Credit}\n")
    write(root, "i18n/French.lang.txt", "")

    code, out = run(root, "--texts")
    texts = out.splitlines()
    check(code == 0, "--texts succeeds")
    for t in ["Main Window", "Two lines", "Sell by Cash", "Sell by Credit", 'Tab\there "quoted"']:
        check(t in texts, "extracted: %r" % t)
    for t in ["Commented out", "Block comment", "Not translated", "Only a test", "english"]:
        check(t not in texts, "not extracted: %r" % t)

    code, out = run(root)
    check(code == 1, "missing texts fail")
    check("TranslateText(QString::fromLatin1(caption)) translates a variable" in out,
          "an unlisted call through a variable is reported")
    check("French.lang.txt: 5 missing" in out, "an empty file misses every text")
    code, out = run(root, "German.lang.txt")
    check("German.lang.txt: 2 missing" in out, "German misses two texts")
    check("{Sell by Credit}" in out, "a line with an empty translation counts as missing")
    check("{Two lines}" not in out, "a text over two source lines is found in the file")

    write(root, "i18n/texts-through-variables.txt",
          "@ app/window.cpp: translateText(english)\n"
          "@ app/window.cpp: TranslateText(QString::fromLatin1(caption))\nBarcode\nPrice\n")
    code, out = run(root, "German.lang.txt")
    check("translates a variable" not in out, "a listed call is accepted")
    check("{Barcode}" in out and "{Price}" in out, "its texts are required")
    check("French" not in out, "only the named file is checked")

    code, out = run(root, "--append", "French.lang.txt")
    code, out = run(root, "French.lang.txt")
    check("French.lang.txt: 7 missing" in out, "appended lines without translation still count as missing")
    with open(os.path.join(root, "i18n/French.lang.txt"), encoding="utf-8") as f:
        check("{Main Window}\n" in f.read(), "--append writes the lines to be translated")

    write(root, "i18n/German.lang.txt",
          "{Main Window}H\n{Two lines}Z\n{Sell by Cash}B\n{Sell by Credit}K\n"
          "{Tab\there \"quoted\"}T\n{Barcode}S\n{Price}P\n")
    code, out = run(root, "German.lang.txt")
    check(code == 0 and out == "", "a complete file passes")

if failures:
    print("%d failed" % len(failures))
    sys.exit(1)
print("all checks passed")
