"""A CUPS scheduler of the tests' own with a cups-pdf queue as its default printer, and the
folder where cups-pdf puts the PDF of each job. Shared by the tests that print for real."""
import glob
import os
import pwd
import re
import shutil
import subprocess
import tempfile
import time

PRINTER = "TilloraPDF"
PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"


class Cups:
    """A CUPS scheduler of our own: its configuration, spool and socket in a temporary
    folder, so the machine's own printing setup is neither used nor changed."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="tillora-cups-")
        os.chmod(self.root, 0o755)
        self.socket = os.path.join(self.root, "cups.sock")
        self.process = None
        for sub in ("etc/ppd", "spool/tmp", "cache", "state", "log"):
            os.makedirs(os.path.join(self.root, sub))
        etc = os.path.join(self.root, "etc")
        with open(os.path.join(etc, "cupsd.conf"), "w") as f:
            f.write("Listen %s\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                    "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"
                    % self.socket)
        with open(os.path.join(etc, "cups-files.conf"), "w") as f:
            f.write("ServerRoot {r}/etc\nRequestRoot {r}/spool\nTempDir {r}/spool/tmp\n"
                    "CacheDir {r}/cache\nStateDir {r}/state\nErrorLog {r}/log/error_log\n"
                    "AccessLog {r}/log/access_log\nPageLog {r}/log/page_log\n"
                    "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nUser lp\nGroup lp\n"
                    .format(r=self.root))
        self.env = dict(os.environ, CUPS_SERVER=self.socket)

    def start(self):
        """Starts the scheduler and adds the PDF queue as its default; returns why not."""
        cupsd = shutil.which("cupsd") or "/usr/sbin/cupsd"
        if not os.path.exists(cupsd):
            return "cupsd is not installed"
        if os.geteuid() != 0:
            return "a scheduler of our own needs root (cups-pdf runs as root)"
        if not os.path.exists("/usr/lib/cups/backend/cups-pdf") or not os.path.exists(PPD):
            return "printer-driver-cups-pdf is not installed"
        etc = os.path.join(self.root, "etc")
        self.process = subprocess.Popen([cupsd, "-f", "-c", os.path.join(etc, "cupsd.conf"),
                                         "-s", os.path.join(etc, "cups-files.conf")],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_until(lambda: os.path.exists(self.socket) or self.process.poll() is not None, 10):
            return "cupsd did not open its socket"
        if self.process.poll() is not None:
            return "cupsd ended at once: " + self.log()
        # The PDF goes to PostScript and back to PDF on its way; rendered through cairo the
        # text of the printed page stays readable by pdftotext.
        for command in (["lpadmin", "-p", PRINTER, "-E", "-v", "cups-pdf:/", "-P", PPD,
                         "-o", "pdftops-renderer-default=pdftocairo"],
                        ["lpadmin", "-d", PRINTER]):
            result = subprocess.run(command, env=self.env, capture_output=True, text=True)
            if result.returncode != 0:
                return "%s failed: %s" % (" ".join(command), result.stderr.strip())
        return None

    def log(self):
        try:
            with open(os.path.join(self.root, "log", "error_log")) as f:
                return f.read()[-2000:]
        except OSError:
            return ""

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.root, ignore_errors=True)


def pdf_folder():
    """Where cups-pdf puts the files of jobs sent by this user (its "Out" setting)."""
    out = "${HOME}/PDF"
    try:
        with open("/etc/cups/cups-pdf.conf") as f:
            for line in f:
                m = re.match(r"\s*Out\s+(\S+)", line)
                if m:
                    out = m.group(1)
    except OSError:
        pass
    user = pwd.getpwuid(os.getuid())
    return out.replace("${HOME}", user.pw_dir).replace("${USER}", user.pw_name)


def wait_until(condition, timeout=5.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return condition()


def pdf_text(path):
    return subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, text=True).stdout


def printed_lines(path, last_line, timeout=60):
    """The non-empty lines of a printed PDF, once cups-pdf has finished writing it (its text then
    holds last_line; a busy machine can take many seconds)."""
    wait_until(lambda: last_line in pdf_text(path), timeout)
    return [line.strip() for line in pdf_text(path).splitlines() if line.strip()]


class PrintedFiles:
    """The PDF files cups-pdf makes from now on in its output folder for this user; forget()
    removes them, and the folder when this made it."""

    def __init__(self):
        self.folder = pdf_folder()
        self.existed = os.path.isdir(self.folder)
        self.before = set(glob.glob(os.path.join(self.folder, "*.pdf")))

    def new(self):
        return sorted(set(glob.glob(os.path.join(self.folder, "*.pdf"))) - self.before)

    def forget(self):
        for path in self.new():
            os.remove(path)
        if not self.existed and os.path.isdir(self.folder) and not os.listdir(self.folder):
            os.rmdir(self.folder)
