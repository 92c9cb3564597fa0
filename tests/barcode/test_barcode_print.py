"""A barcode printed for real: a private CUPS scheduler with a cups-pdf queue as the default
printer, the barcode window's printing run by tillora_barcode_print, the printed PDF rendered
with pdftoppm and read back with zbarimg."""
import glob
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cups import Cups, pdf_folder, wait_until  # noqa: E402

tool = sys.argv[1]
failures = []


def dark_extent(pgm_path):
    """Width and height of the box around the dark pixels of a binary PGM (P5) page."""
    with open(pgm_path, "rb") as f:
        data = f.read()
    fields = re.match(rb"P5\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    width, height = int(fields.group(1)), int(fields.group(2))
    pixels = data[fields.end():]
    xs, ys = [], []
    for y in range(height):
        row = pixels[y * width:(y + 1) * width]
        dark = [x for x, value in enumerate(row) if value < 128]
        if dark:
            xs += [dark[0], dark[-1]]
            ys.append(y)
    if not xs:
        return 0, 0
    return max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


cups = Cups()
why = cups.start()
if why is not None:
    cups.stop()
    print("skipped: CUPS cannot be started here: " + why)
    sys.exit(0)

out_folder = pdf_folder()
out_existed = os.path.isdir(out_folder)
made = []
work = tempfile.mkdtemp(prefix="tillora-barcode-")
try:
    for text, readable in (("5901234123457", False), ("TILL-42 $/+%", True)):
        before = set(glob.glob(os.path.join(out_folder, "*.pdf")))
        env = dict(cups.env, QT_QPA_PLATFORM="offscreen")
        run = subprocess.run([tool, text] + (["--readable"] if readable else []), env=env,
                             capture_output=True, text=True, timeout=60)
        check(run.returncode == 0, "%r printed without a message" % text)
        if run.returncode != 0:
            print(run.stderr)
        shown = re.search(r"image (\d+) x (\d+) at (\d+) pixels per inch", run.stdout)
        check(shown is not None, "the tool drew the image: %r" % run.stdout)

        def new_pdfs():
            return sorted(set(glob.glob(os.path.join(out_folder, "*.pdf"))) - before)
        check(wait_until(lambda: len(new_pdfs()) == 1, 60), "cups-pdf made one PDF for %r" % text)
        pdfs = new_pdfs()
        made += pdfs
        if not pdfs:
            continue
        # The whole first page at 300 dots per inch, as a scanner would see the paper.
        prefix = os.path.join(work, "page%d" % len(made))
        wait_until(lambda: subprocess.run(["pdfinfo", pdfs[0]], capture_output=True).returncode == 0, 10)
        subprocess.run(["pdftoppm", "-r", "300", "-gray", "-f", "1", "-l", "1", pdfs[0], prefix], check=True)
        pages = sorted(glob.glob(prefix + "*.pgm"))
        check(len(pages) == 1, "the PDF renders to one page")
        if pages:
            decoded = subprocess.run(["zbarimg", "--raw", "-q", pages[0]], capture_output=True, text=True)
            check(decoded.stdout.strip() == text,
                  "the printed barcode reads back as %r: %r" % (text, decoded.stdout.strip()))
            if shown is not None and not readable:
                # The queue prints at 300 dots per inch: every pixel is the same whole block of
                # dots. The bars reach from column 1 to the last column before the right margin
                # (one narrow module) and from row 1 to the row above the bottom white row.
                width, height = int(shown.group(1)), int(shown.group(2))
                scale = max(1, 300 // int(shown.group(3)))
                extent = dark_extent(pages[0])
                expected = ((width - 2) * scale, (height - 2) * scale)
                check(all(abs(a - b) <= 1 for a, b in zip(extent, expected)),
                      "each pixel printed as %d x %d dots: bars of %r, expected %r" % (scale, scale, extent, expected))
        # Every job is named after the window, so each PDF goes before the next job comes.
        for path in pdfs:
            os.remove(path)
            made.remove(path)
finally:
    for path in made:
        os.remove(path)
    if not out_existed and os.path.isdir(out_folder) and not os.listdir(out_folder):
        os.rmdir(out_folder)
    subprocess.run(["rm", "-rf", work])
    cups.stop()

if failures:
    print("%d failed: %s" % (len(failures), "; ".join(failures)))
    sys.exit(1)
print("all checks passed")
