"""Runs the real Windows program under Wine for the end-to-end tests.

The prefix, the X display and the wineserver belong to the test run: the
fixture (e2e_fixture.py) makes them, every test module reuses them, and the
fixture's cleanup ends them. Every wait has a timeout; a program under test
that does not end in time is killed by its pid and the test fails.
"""

import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

WORK = Path(os.environ.get("QUORVANE_E2E_WORK", "")).resolve()
BIN = Path(os.environ.get("QUORVANE_WIN32_DIR", "")).resolve()
CAPTION = "Quorvane v3.1"
RECORD_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Parvex for Android"
STUDIO_KEY = r"HKLM\SOFTWARE\Android Studio"
RECORD_VALUES = ["AndroidStudioPath", "AndroidStudioSDKPath", "ADTRootFolder",
                 "EclipseRootFolder", "SDKRootFolder"]
PROCESS_TIMEOUT = 60


def prefix_dir():
    return WORK / "prefix"


def wine_environment():
    env = dict(os.environ)
    env["WINEPREFIX"] = str(prefix_dir())
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    env["WINEDEBUG"] = "-all"
    display_file = WORK / "display"
    if display_file.exists():
        env["DISPLAY"] = display_file.read_text().strip()
    return env


def drive_c():
    return prefix_dir() / "drive_c"


def host_path(windows_path):
    """C:\\envs\\adt -> the file in the prefix."""
    assert windows_path[:3].upper() == "C:\\", windows_path
    return drive_c().joinpath(*windows_path[3:].split("\\"))


def wine(args, timeout=PROCESS_TIMEOUT, check=True):
    result = subprocess.run(["wine"] + list(args), env=wine_environment(),
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=timeout, text=True, errors="replace")
    if check and result.returncode != 0:
        raise AssertionError("wine %s failed (%d): %s %s" % (args, result.returncode,
                                                             result.stdout, result.stderr))
    return result


# Registry, through Wine's own reg.exe; view is "32" or "64".
def reg_add(key, name, value, view):
    wine(["reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f", "/reg:" + view])


def reg_delete_key(key, view):
    wine(["reg", "delete", key, "/f", "/reg:" + view], check=False)


def reg_query(key, view):
    """The key's string values as a dict, or None when the key is missing."""
    result = wine(["reg", "query", key, "/reg:" + view], check=False)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.splitlines():
        parts = line.strip().split("    ")
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2] if len(parts) > 2 else ""
    return values


def seed_record(view="32", **values):
    reg_delete_key(RECORD_KEY, "32")
    reg_delete_key(RECORD_KEY, "64")
    if not values:
        # The key exists even when it holds no values, as the SDK's
        # installer creates it.
        wine(["reg", "add", RECORD_KEY, "/f", "/reg:" + view])
    for name, value in values.items():
        reg_add(RECORD_KEY, name, value, view)


def remove_record():
    reg_delete_key(RECORD_KEY, "32")
    reg_delete_key(RECORD_KEY, "64")


def seed_android_studio(path, sdk_path, view="64"):
    reg_delete_key(STUDIO_KEY, "64")
    reg_delete_key(STUDIO_KEY, "32")
    if path is not None:
        reg_add(STUDIO_KEY, "Path", path, view)
    if sdk_path is not None:
        reg_add(STUDIO_KEY, "SdkPath", sdk_path, view)


def remove_android_studio():
    reg_delete_key(STUDIO_KEY, "64")
    reg_delete_key(STUDIO_KEY, "32")


# Files in the prefix.
def make_files(root, relative_paths):
    """Creates files (and their folders) below root; a path ending in a
    backslash is a folder."""
    for relative in relative_paths:
        target = host_path(root + "\\" + relative.rstrip("\\"))
        if relative.endswith("\\"):
            target.mkdir(parents=True, exist_ok=True)
        else:
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text("content of " + relative + "\n")


def tree(windows_path):
    """Every file and folder below a folder, as relative paths with
    backslashes (folders end in one), sorted; None when it does not exist."""
    base = host_path(windows_path)
    if not base.exists():
        return None
    entries = []
    for path in base.rglob("*"):
        relative = "\\".join(path.relative_to(base).parts)
        entries.append(relative + ("\\" if path.is_dir() else ""))
    return sorted(entries)


def remove_tree(windows_path):
    shutil.rmtree(host_path(windows_path), ignore_errors=True)


PAYLOAD = {
    "plugins\\Eclipse": ["com.parvex.eclipse.core_3.1.0\\plugin.xml",
                         "com.parvex.eclipse.core_3.1.0\\lib\\core.jar",
                         "com.parvex.eclipse.ui_3.1.0.jar"],
    "plugins\\IntelliJ IDEA": ["parvex-studio\\lib\\parvex-studio.jar",
                               "parvex-studio\\META-INF\\plugin.xml"],
    "add-ons": ["addon-parvex-3.1\\manifest.ini", "addon-parvex-3.1\\libs\\parvex.jar"],
}


def install_program(folder="C:\\Setup", payload=True, missing=()):
    """Puts Quorvane.exe in folder with the payload folders beside it."""
    remove_tree(folder)
    host_path(folder).mkdir(parents=True)
    shutil.copy(BIN / "Quorvane.exe", host_path(folder + "\\Quorvane.exe"))
    if payload:
        for sub, entries in PAYLOAD.items():
            if sub not in missing:
                make_files(folder + "\\" + sub, entries)
    return folder + "\\Quorvane.exe"


class Program:
    """One run of a Windows program under Wine, killed by its pid when it
    does not end in time."""

    def __init__(self, exe_windows_path, args):
        # Started from C:\ so that the current drive is the prefix's C:,
        # never the host's root through Z:.
        self.process = subprocess.Popen(["wine", str(host_path(exe_windows_path))] + list(args),
                                        env=wine_environment(), cwd=str(drive_c()),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def wait(self, timeout=PROCESS_TIMEOUT):
        """Exit status, or an assertion after the program was killed."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            windows = visible_windows_report()
            self.kill()
            raise AssertionError("program did not end within %ss; windows: %s"
                                 % (timeout, windows))

    def running(self):
        return self.process.poll() is None

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)


def run_program(exe_windows_path, args, timeout=PROCESS_TIMEOUT):
    return Program(exe_windows_path, args).wait(timeout)


def uiauto(*args, timeout=PROCESS_TIMEOUT, check=True):
    result = wine([str(BIN / "uiauto.exe")] + [str(a) for a in args], timeout=timeout,
                  check=False)
    if check and result.returncode != 0:
        raise AssertionError("uiauto %s: %s" % (" ".join(map(str, args)), result.stdout.strip()))
    return result.stdout


def wait_message_box(timeout_ms=20000):
    return uiauto("wait-msgbox", timeout_ms).strip()


def wait_dialog(control_id=1005, timeout_ms=20000):
    return uiauto("wait-dialog", control_id, timeout_ms).strip()


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"r": "\r", "n": "\n", "t": "\t", "\\": "\\"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


class WindowReading:
    def __init__(self, output):
        self.caption = None
        self.class_name = None
        self.controls = {}  # id -> dict; the last of several with one id
        self.order = []
        for line in output.splitlines():
            fields = line.rstrip("\r").split("\t")
            if fields[0] == "caption":
                self.caption = unescape("\t".join(fields[1:]))
            elif fields[0] == "class":
                self.class_name = fields[1]
            elif fields[0] == "control":
                control = {"id": int(fields[1]), "class": fields[2],
                           "enabled": fields[3] == "1", "visible": fields[4] == "1",
                           "check": None if fields[5] == "-" else int(fields[5]),
                           "text": unescape("\t".join(fields[6:]))}
                self.controls.setdefault(control["id"], control)
                self.order.append(control)

    def text(self, control_id):
        return self.controls[control_id]["text"]

    def buttons(self):
        return [(c["id"], c["text"]) for c in self.order if c["class"].lower() == "button"]


def read_window(handle):
    return WindowReading(uiauto("read", handle))


def visible_windows_report():
    try:
        return uiauto("count-windows", CAPTION, timeout=20, check=False).strip() + \
            " window(s) captioned " + CAPTION
    except Exception as error:  # the report is only for the failure text
        return "unknown (%s)" % error


class E2ETestCase(unittest.TestCase):
    """Starts every test without a record, without Android Studio and
    without the sample folders of earlier tests."""

    def setUp(self):
        remove_record()
        remove_android_studio()
        for folder in ("C:\\envs", "C:\\Setup", "C:\\plugins", "C:\\add-ons", "C:\\eclipse",
                       "C:\\sdk"):
            remove_tree(folder)
        self.programs = []

    def start(self, exe, *args):
        program = Program(exe, args)
        self.programs.append(program)
        return program

    def tearDown(self):
        for program in self.programs:
            program.kill()


def wait_until(condition, timeout=20.0, interval=0.1, what="condition"):
    """Polls condition until it returns a true value or the timeout ends."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


def answer_message_box(expected_text=None, button=1, test=None):
    """Waits for a message box, checks its caption and text, presses button
    and returns the text."""
    box = wait_message_box()
    reading = read_window(box)
    if test is not None:
        test.assertEqual(reading.caption, CAPTION)
        if expected_text is not None:
            test.assertEqual(reading.text(0xFFFF), expected_text)
    uiauto("click", box, button)
    uiauto("wait-gone", box, 20000)
    return reading.text(0xFFFF)


def pick_folder(path):
    """Drives the open folder browser to path and presses OK."""
    uiauto("browse-pick", path, 20000)
