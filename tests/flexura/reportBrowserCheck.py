#!/usr/bin/env python3
"""The calculation report in a real browser.

For the box girder and the tanker: Strakon calculates the case, Flexura writes the report and its
PDF with headless Chromium; then the HTML is opened in Chromium driven over its DevTools pipe and
checked: no console error, no request leaving the file, every image decoded, the Mu table equal
to CASE.rst after the stated conversion (N.mm to MN.m), the page count of the PDF within range.
The HTML is also parsed by a strict HTML5 parser (html5lib), or by tidy when html5lib is absent.

Usage: reportBrowserCheck.py STRAKON FLEXURA EXAMPLES_DIR [BROWSER]
Exit status 0 when every check passes, 1 when one fails, 77 (skipped) when no browser is found.
"""

import base64
import fcntl
import json
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time

# Expected page counts of the printed report (A4 portrait, a page per section, two maps a page).
PAGE_RANGES = {"box": (6, 14), "tanker": (8, 24)}
TIME_LIMIT = 60  # seconds for one page's load and checks

failures = []

CHECK_CSV = ("case,condition,direction,Msw (kN.m),Mwv (kN.m),gamma_S,gamma_W,gamma_M,gamma_DB,M (kN.m),Mu (kN.m),"
             "Mu/gamma_R (kN.m),utilisation,verdict\r\n"
             "intact,seagoing,sagging,12000,18000,1,1.2,1.05,1.1,33600,33369.6,28891.4,1.163,FAIL\r\n"
             "intact,seagoing,hogging,-8000,-16000,1,1.2,1.05,1.1,-27200,-42280.9,-36606.8,0.743,PASS\r\n")
INTERACTION_CSV = ("angle (deg),Mu (kN.m),Mv (kN.m),Mh (kN.m),peak step,peak reached\r\n"
                   "0,33369.6,33369.6,0,22,yes\r\n90,40000,0,40000,30,yes\r\n180,42280.9,-42280.9,0,50,no\r\n")


def fail(text):
    failures.append(text)
    print("FAIL: " + text, file=sys.stderr)


def find_browser(given):
    if given:
        return given
    for name in ("chromium", "chromium-browser", "google-chrome", "google-chrome-stable"):
        found = shutil.which(name)
        if found:
            return found
    return None


def run(arguments, cwd):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    return subprocess.run(arguments, cwd=cwd, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                          text=True, timeout=180)


def report_moments(rst_text):
    """The ultimate moment field (columns 31-45 of the line under its head) of each case study."""
    lines = rst_text.replace("\r\n", "\n").split("\n")
    moments = []
    for i, line in enumerate(lines):
        if "Ultimate Bending Moment" in line and i + 1 < len(lines):
            moments.append(lines[i + 1][30:45].strip())
    return moments


def fortran_real(text):
    # E-notation as the calculator writes it; an exponent without its E (".1234+100") too.
    text = text.strip()
    if "E" not in text.upper():
        text = re.sub(r"(?<=\d)([+-]\d+)$", r"E\1", text)
    return float(text)


def validate_html(path):
    try:
        import html5lib  # noqa: PLC0415
    except ImportError:
        tidy = shutil.which("tidy")
        if tidy is None:
            fail("neither python3-html5lib nor tidy is installed to validate the HTML")
            return
        result = subprocess.run([tidy, "-e", "-q", path], capture_output=True, text=True)
        if result.returncode > 1:
            fail("tidy finds errors in %s:\n%s" % (path, result.stderr))
        return
    parser = html5lib.HTMLParser(strict=True)
    try:
        with open(path, "rb") as f:
            parser.parse(f)
    except Exception as error:  # html5lib raises ParseError at the first error
        fail("%s is not valid HTML: %s (line %s)" % (path, error, getattr(error, "args", [""])))


def pdf_pages(data):
    pdfinfo = shutil.which("pdfinfo")
    if pdfinfo:
        with tempfile.NamedTemporaryFile(suffix=".pdf") as f:
            f.write(data)
            f.flush()
            out = subprocess.run([pdfinfo, f.name], capture_output=True, text=True).stdout
        match = re.search(r"^Pages:\s+(\d+)", out, re.M)
        if match:
            return int(match.group(1))
    return len(re.findall(rb"/Type\s*/Page(?![s\w])", data))


class DevTools:
    """Chromium's DevTools protocol over --remote-debugging-pipe: JSON messages ended by NUL."""

    def __init__(self, browser, profile):
        to_browser_read, self.to_browser = os.pipe()
        self.from_browser, from_browser_write = os.pipe()
        # Above 4, so that the spawn's dup2 onto 3 and 4 always makes fresh inheritable copies.
        high_read = fcntl.fcntl(to_browser_read, fcntl.F_DUPFD_CLOEXEC, 10)
        high_write = fcntl.fcntl(from_browser_write, fcntl.F_DUPFD_CLOEXEC, 10)
        os.close(to_browser_read)
        os.close(from_browser_write)
        arguments = [browser, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-extensions", "--no-default-browser-check", "--user-data-dir=" + profile,
                     "--remote-debugging-pipe", "about:blank"]
        actions = [(os.POSIX_SPAWN_DUP2, high_read, 3), (os.POSIX_SPAWN_DUP2, high_write, 4),
                   (os.POSIX_SPAWN_OPEN, 0, "/dev/null", os.O_RDONLY, 0),
                   (os.POSIX_SPAWN_OPEN, 1, "/dev/null", os.O_WRONLY, 0),
                   (os.POSIX_SPAWN_OPEN, 2, "/dev/null", os.O_WRONLY, 0)]
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        self.pid = os.posix_spawn(browser, arguments, env, file_actions=actions, setpgroup=0)
        os.close(high_read)
        os.close(high_write)
        self.buffer = b""
        self.next_id = 0
        self.events = []

    def send(self, method, params=None, session=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        return self.next_id

    def read_message(self, deadline):
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("no answer from the browser")
            ready, _, _ = select.select([self.from_browser], [], [], left)
            if ready:
                chunk = os.read(self.from_browser, 1 << 20)
                if not chunk:
                    raise EOFError("the browser closed its pipe")
                self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, session=None, timeout=TIME_LIMIT):
        wanted = self.send(method, params, session)
        deadline = time.monotonic() + timeout
        while True:
            message = self.read_message(deadline)
            if message.get("id") == wanted:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self.events.append(message)

    def wait_event(self, method, timeout=TIME_LIMIT):
        deadline = time.monotonic() + timeout
        for event in self.events:
            if event.get("method") == method:
                return event
        while True:
            message = self.read_message(deadline)
            self.events.append(message)
            if message.get("method") == method:
                return message

    def drain(self, seconds):
        deadline = time.monotonic() + seconds
        try:
            while True:
                self.events.append(self.read_message(deadline))
        except TimeoutError:
            pass

    def close(self):
        try:
            self.send("Browser.close")
        except OSError:
            pass
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            pid, _ = os.waitpid(self.pid, os.WNOHANG)
            if pid == self.pid:
                break
            time.sleep(0.05)
        else:
            os.killpg(self.pid, 9)
            os.waitpid(self.pid, 0)
        os.close(self.to_browser)
        os.close(self.from_browser)


PAGE_FACTS = r"""(() => {
  const images = [...document.images].map(i => ({alt: i.alt, complete: i.complete, w: i.naturalWidth, h: i.naturalHeight}));
  const rows = [...document.querySelectorAll('#mu-table tbody tr, #mu-table tr[data-study]')].map(r =>
      [...r.cells].map(c => c.textContent.trim()));
  const muCells = [...document.querySelectorAll('#mu-table td.mu')].map(c => c.textContent.trim());
  return JSON.stringify({images, rows, muCells, svgs: document.querySelectorAll('svg').length,
                         sections: [...document.querySelectorAll('section')].map(s => s.id),
                         version: (document.getElementById('version') || {}).textContent || ''});
})()"""


def check_in_browser(browser, name, case, html_path, rst_text, work):
    url = "file://" + html_path
    tools = DevTools(browser, os.path.join(work, "profile-" + name))
    try:
        target = tools.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = tools.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        for domain in ("Page", "Runtime", "Log", "Network"):
            tools.call(domain + ".enable", session=session)
        tools.call("Page.navigate", {"url": url}, session=session)
        tools.wait_event("Page.loadEventFired")
        tools.drain(0.5)
        facts = json.loads(tools.call("Runtime.evaluate", {"expression": PAGE_FACTS, "returnByValue": True},
                                      session=session)["result"]["value"])
        printed = tools.call("Page.printToPDF", {"preferCSSPageSize": True, "printBackground": True},
                             session=session)
        pdf = base64.b64decode(printed["data"])
    finally:
        tools.close()

    for event in tools.events:
        method, params = event.get("method"), event.get("params", {})
        if method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
            fail("%s: console %s: %s" % (name, params["type"], params.get("args")))
        elif method == "Runtime.exceptionThrown":
            fail("%s: exception: %s" % (name, params.get("exceptionDetails")))
        elif method == "Log.entryAdded" and params.get("entry", {}).get("level") == "error":
            fail("%s: browser log error: %s" % (name, params["entry"].get("text")))
        elif method == "Network.requestWillBeSent":
            requested = params.get("request", {}).get("url", "")
            if requested != url and not requested.startswith("data:"):
                fail("%s: a request leaves the file: %s" % (name, requested))

    if not facts["images"]:
        fail("%s: no image in the report" % name)
    for image in facts["images"]:
        if not image["complete"] or image["w"] <= 0 or image["h"] <= 0:
            fail("%s: image not decoded: %s" % (name, image))
    if facts["svgs"] < (2 if name == "box" else 1):
        fail("%s: %d SVG pictures (section, and the interaction diagram for the box)" % (name, facts["svgs"]))
    expected_sections = ["title", "inputs", "properties", "ultimate", "maps", "warnings", "files"]
    if name == "box":
        expected_sections.insert(5, "assessment")
    if facts["sections"] != expected_sections:
        fail("%s: sections %s" % (name, facts["sections"]))
    if "revision" not in facts["version"]:
        fail("%s: no version line: %r" % (name, facts["version"]))

    # The Mu table against CASE.rst: the file's text as it is, and the converted value.
    moments = report_moments(rst_text)
    if len(moments) != len(facts["rows"]) or len(moments) != len(facts["muCells"]) or not moments:
        fail("%s: %d moments in %s.rst, %d rows in the table" % (name, len(moments), case, len(facts["rows"])))
    for k, (text, row, shown) in enumerate(zip(moments, facts["rows"], facts["muCells"])):
        if row[2] != text:
            fail("%s: study %s: Mu %r in the table, %r in the file" % (name, row[0], row[2], text))
        expected = fortran_real(text) / 1e9  # N.mm to MN.m
        if abs(float(shown) - expected) > 5e-6 * abs(expected) + 1e-12:
            fail("%s: study %s: %s MN.m shown, %.9g expected from %s N.mm" % (name, row[0], shown, expected, text))

    low, high = PAGE_RANGES[name]
    for what, data in (("printed by the test", pdf), ("written by Flexura --pdf", None)):
        if data is None:
            with open(os.path.join(os.path.dirname(html_path), case + "_report.pdf"), "rb") as f:
                data = f.read()
        pages = pdf_pages(data)
        if not low <= pages <= high:
            fail("%s: the PDF %s has %d pages, expected %d to %d" % (name, what, pages, low, high))
    print("%s: %d images, %d Mu rows, %d pages" % (name, len(facts["images"]), len(facts["rows"]), pdf_pages(pdf)))


def main():
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    strakon, flexura, examples = sys.argv[1:4]
    browser = find_browser(sys.argv[4] if len(sys.argv) > 4 else None)
    if browser is None:
        print("SKIPPED: no Chromium or Chrome found (scripts/deps.sh test installs chromium)", file=sys.stderr)
        return 77
    work = tempfile.mkdtemp(prefix="report-browser-")
    try:
        for name, case in (("box", "BOX"), ("tanker", "TANKER")):
            folder = os.path.join(work, name)
            os.makedirs(folder)
            for extension in (".ana", ".geo", ".pro"):
                shutil.copy(os.path.join(examples, name, case + extension), folder)
            ana = os.path.join(folder, case + ".ana")
            if name == "box":
                # Hand-made assessment files (the agreed format), so that its section is checked too.
                with open(os.path.join(folder, "BOX_check.csv"), "w", newline="") as f:
                    f.write(CHECK_CSV)
                with open(os.path.join(folder, "BOX_interaction.csv"), "w", newline="") as f:
                    f.write(INTERACTION_CSV)
            result = run([strakon, ana], folder)
            if result.returncode != 0:
                fail("%s: Strakon status %d: %s" % (name, result.returncode, result.stderr))
                continue
            result = run([flexura, "--report", "--pdf", "--browser", browser, ana], folder)
            if result.returncode != 0:
                fail("%s: Flexura --report --pdf status %d: %s" % (name, result.returncode, result.stderr))
                continue
            html_path = os.path.join(folder, case + "_report.html")
            validate_html(html_path)
            with open(os.path.join(folder, case + ".rst"), encoding="latin-1") as f:
                rst_text = f.read()
            check_in_browser(browser, name, case, html_path, rst_text, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
