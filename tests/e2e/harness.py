"""Runs the real 32-bit Quorvane.exe under Wine, one data row at a time (rows.py).

    harness.py [WORD ...]   runs the rows whose names contain a WORD (all without)

The run owns an Xvfb display and a fresh prefix under $QUORVANE_E2E_WORK; the
program is started from C:\\ and killed by its pid when it does not end in
time. Every wait has a timeout.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import traceback
from pathlib import Path

WORK = Path(os.environ.get("QUORVANE_E2E_WORK", "build/e2e")).resolve()
BIN = Path(os.environ.get("QUORVANE_WIN32_DIR", "build/win32")).resolve()
PREFIX = WORK / "prefix"
DRIVE_C = PREFIX / "drive_c"
CAPTION = "Quorvane v3.1"
RECORD = r"Microsoft\Windows\CurrentVersion\Uninstall\Parvex for Android"
STUDIO = "Android Studio"
TIMEOUT = 60
WINE64 = shutil.which("wine64") or "/usr/lib/wine/wine64"
UNESCAPE = {"r": "\r", "n": "\n", "t": "\t"}
PAYLOAD = {"plugins\\Eclipse": ["com.parvex.eclipse.core_3.1.0\\plugin.xml",
                                "com.parvex.eclipse.core_3.1.0\\lib\\core.jar",
                                "com.parvex.eclipse.ui_3.1.0.jar"],
           "plugins\\IntelliJ IDEA": ["parvex-studio\\lib\\parvex-studio.jar",
                                      "parvex-studio\\META-INF\\plugin.xml"],
           "add-ons": ["addon-parvex-3.1\\manifest.ini", "addon-parvex-3.1\\libs\\parvex.jar"]}


class Expand(str):
    """A registry value of type REG_EXPAND_SZ (a plain str is REG_SZ)."""


def environment():
    env = dict(os.environ, WINEPREFIX=str(PREFIX), WINEDLLOVERRIDES="mscoree,mshtml=",
               WINEDEBUG="-all")
    if (WORK / "display").exists():
        env["DISPLAY"] = (WORK / "display").read_text().strip()
    return env


def wine(*args, timeout=TIMEOUT, check=True):
    result = subprocess.run(["wine"] + [str(a) for a in args], env=environment(),
                            capture_output=True, timeout=timeout, text=True, errors="replace")
    if check and result.returncode != 0:
        raise AssertionError("wine %s: %s" % (" ".join(map(str, args)), result.stdout.strip()))
    return result.stdout


# The session: an X display and a prefix of our own.
def start_session(display=None):
    WORK.mkdir(parents=True, exist_ok=True)
    end_session()
    if display is None:
        read_end, write_end = os.pipe()
        with open(WORK / "xvfb.log", "w") as log:
            xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                     "1280x1024x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                                    stdout=log, stderr=log, start_new_session=True)
        os.close(write_end)
        (WORK / "xvfb.pid").write_text(str(xvfb.pid))
        with os.fdopen(read_end) as pipe:  # Xvfb writes the number once it listens
            display = ":" + pipe.readline().strip()
        if display == ":":
            raise SystemExit("Xvfb did not report its display")
    (WORK / "display").write_text(display)
    shutil.rmtree(PREFIX, ignore_errors=True)
    subprocess.run(["wineboot", "-i"], env=environment(), capture_output=True, timeout=300,
                   check=True)
    # No crash dialog (a crash ends the program); window frames drawn by Wine,
    # as Xvfb has no window manager; a wineserver that outlives each program.
    seed_registry({}, r"""[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"
""")
    subprocess.run(["wineserver", "-p"], env=environment(), timeout=60)
    (WORK / "pristine").write_text("\n".join(os.listdir(DRIVE_C)))


def end_session():
    if PREFIX.exists():
        subprocess.run(["wineserver", "-k"], env=environment(), timeout=60)
    if (WORK / "xvfb.pid").exists():
        try:
            os.kill(int((WORK / "xvfb.pid").read_text()), signal.SIGTERM)
        except ProcessLookupError:
            pass
        (WORK / "xvfb.pid").unlink()
    (WORK / "display").unlink(missing_ok=True)


# Registry: one import a row, both views (the 32-bit one is Wow6432Node).
def reg_path(key, view):
    return "HKEY_LOCAL_MACHINE\\SOFTWARE\\" + ("Wow6432Node\\" if view == 32 else "") + key


def reg_data(value):
    if isinstance(value, int):
        return "dword:%08x" % value
    if isinstance(value, bytes):  # REG_SZ stored as these bytes, e.g. without its NUL
        return "hex(1):" + ",".join("%02x" % b for b in value)
    if isinstance(value, Expand):
        return "hex(2):" + ",".join("%02x" % b for b in (value + "\0").encode("utf-16-le"))
    return '"%s"' % value.replace("\\", "\\\\").replace('"', '\\"')


def seed_registry(keys, extra=""):
    """Removes the record and Android Studio keys from both views, then writes
    keys: {(key, view): {name: value}}; an empty dict makes the key alone."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    lines += ["[-%s]" % reg_path(k, v) for k in (RECORD, STUDIO) for v in (32, 64)]
    for (key, view), values in keys.items():
        lines.append("[%s]" % reg_path(key, view))
        lines += ['"%s"=%s' % (name, reg_data(value)) for name, value in values.items()]
    (DRIVE_C / "windows" / "temp" / "seed.reg").write_text(
        "\r\n".join(lines) + "\r\n" + extra.replace("\n", "\r\n"), encoding="utf-16")
    # The 64-bit regedit: Wine's "reg import" ignores [-key], and a 32-bit
    # regedit reaches the 32-bit view only.
    # Not a pipe for its output: a service it starts would hold the pipe open.
    subprocess.run([WINE64, "regedit", "/s", "C:\\windows\\temp\\seed.reg"], env=environment(),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=TIMEOUT, check=True)


def record():
    """The record's values in the 32-bit view as {name: data}; None without the key."""
    result = subprocess.run(["wine", "reg", "query", "HKLM\\SOFTWARE\\" + RECORD, "/reg:32"],
                            env=environment(), capture_output=True, text=True, timeout=TIMEOUT)
    if result.returncode != 0:
        return None
    fields = [line.strip().split("    ") for line in result.stdout.splitlines()]
    return {f[0]: (f + [""])[2] for f in fields if len(f) > 1 and f[1].startswith("REG_")}


# Files in the prefix.
def host(path):
    """C:\\envs\\adt -> the path in the prefix."""
    assert path[:3].upper() == "C:\\", path
    return DRIVE_C.joinpath(*path[3:].split("\\"))


def make_files(root, entries):
    """Files (with their folders) below root; an entry ending in \\ is a folder."""
    for entry in entries:
        target = host(root + "\\" + entry.rstrip("\\"))
        if entry.endswith("\\"):
            target.mkdir(parents=True, exist_ok=True)
        else:
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_text("content of " + entry + "\n")


def tree(path):
    """Every entry below a folder, relative, sorted, folders ending in \\
    (links are listed, not followed); None when the folder is missing."""
    base = host(path)
    if not base.is_dir():
        return None
    entries = []
    for folder, dirs, files in os.walk(base):
        rel = Path(folder).relative_to(base).parts
        entries += ["\\".join(rel + (d,)) + "\\" for d in dirs]
        entries += ["\\".join(rel + (f,)) for f in files]
    return sorted(entries)


def contents(path):
    """Every file below path (or path itself) with its bytes."""
    base = host(path)
    files = [base] if base.is_file() else [p for p in base.rglob("*") if p.is_file()]
    return {str(p): p.read_bytes() for p in files}


def install_program(folder="C:\\Setup", missing=()):
    """Quorvane.exe in folder with the payload folders beside it."""
    shutil.rmtree(host(folder), ignore_errors=True)
    host(folder).mkdir(parents=True)
    shutil.copy(BIN / "Quorvane.exe", host(folder) / "Quorvane.exe")
    for sub, entries in PAYLOAD.items():
        if sub not in missing:
            make_files(folder + "\\" + sub, entries)
    return folder + "\\Quorvane.exe"


class Program:
    """One run under Wine from C:\\, so that the current drive is the prefix's C:."""

    def __init__(self, exe, args):
        self.process = subprocess.Popen(["wine", str(host(exe))] + list(args), env=environment(),
                                        cwd=DRIVE_C, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)

    def wait(self, timeout=TIMEOUT):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            windows = uiauto("count-windows", CAPTION, check=False).strip()
            self.kill()
            raise AssertionError("no exit within %ss; %s window(s) open" % (timeout, windows))

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)


# The UI, through uiauto.exe.
def uiauto(*args, check=True):
    result = subprocess.run(["wine", BIN / "uiauto.exe"] + [str(a) for a in args],
                            env=environment(), capture_output=True, timeout=TIMEOUT, text=True,
                            errors="replace")
    if check and result.returncode != 0:
        raise AssertionError("uiauto %s: %s" % (" ".join(map(str, args)), result.stdout.strip()))
    return result.stdout


def read(output):
    """uiauto's reading of a window: the caption, and {id: control} for the
    controls (the first of several with one id), in order under "order"."""
    caption, controls, order = None, {}, []
    for line in output.splitlines():
        fields = [re.sub(r"\\(.)", lambda m: UNESCAPE.get(m.group(1), m.group(1)), field)
                  for field in line.rstrip("\r").split("\t")]
        if fields[0] == "caption":
            caption = fields[1]
        elif fields[0] == "control":
            order.append(dict(id=int(fields[1]), cls=fields[2], enabled=fields[3] == "1",
                              check=None if fields[4] == "-" else int(fields[4]), text=fields[5]))
            controls.setdefault(order[-1]["id"], order[-1])
    return dict(caption=caption, controls=controls, order=order)


def wait_until(condition, what, timeout=20.0):
    """Polls condition until it returns a true value or the timeout ends."""
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.1)


def answer(text=None, buttons="OK", press="OK"):
    """Waits for a message box, checks it and presses a button; returns its text."""
    box = uiauto("wait-msgbox", 20000).strip()
    seen = read(uiauto("read", box))
    got = (seen["caption"], seen["controls"][0xFFFF]["text"],
           [c["text"] for c in seen["order"] if c["cls"].lower() == "button"])
    if got[0] != CAPTION or got[2] != buttons.split() or text not in (None, got[1]):
        raise AssertionError("message box %r, expected %r" % (got, (CAPTION, text, buttons)))
    uiauto("click", box, {"OK": 1, "Cancel": 2}[press], 20000)
    return got[1]


# The driver: every key of a row is described in rows.py.
class Row:
    def __init__(self, row):
        self.row, self.program, self.dialog_handle = row, None, None

    def dialog(self):
        if self.dialog_handle is None:
            self.dialog_handle = uiauto("wait-dialog", 1005, 20000).strip()
        return self.dialog_handle

    def state(self, expected):
        """The dialog's caption and controls as the expected dict names them."""
        seen = read(uiauto("read", self.dialog()))
        field = {"enabled": "enabled", "text": "text", "checks": "check"}
        return {kind: seen["caption"] if kind == "caption" else
                {i: seen["controls"][i][field[kind]] for i in ids} for kind, ids in expected.items()}

    def step(self, verb, *args):
        if verb == "box":
            answer(*args)
        elif verb in ("click", "press"):
            uiauto("click-sync" if verb == "click" else "click", self.dialog(), args[0])
        elif verb in ("pick", "cancel-browser"):
            path, title = args if verb == "pick" else (None, args[0])
            shown = uiauto(*(("browse-pick", path) if path else ("browse-cancel",)), 20000)
            if title not in [c["text"] for c in read(shown)["order"]] + [None]:
                raise AssertionError("folder browser without %r: %s" % (title, shown))
        elif verb == "close":
            uiauto("close", self.dialog())
        elif verb == "state":  # polled: the dialog may still be handling a click
            deadline = time.monotonic() + 10
            while self.state(args[0]) != args[0]:
                assert time.monotonic() < deadline, "dialog %r, expected %r" % (
                    self.state(args[0]), args[0])
                time.sleep(0.1)
        elif verb == "windows":
            got = uiauto("count-windows", CAPTION).strip()
            assert got == str(args[0]), "%s windows captioned %s" % (got, CAPTION)
        elif verb == "trees":
            self.check_trees(args[0])

    def check_trees(self, expected):
        got = {path: tree(path) for path in expected}
        assert got == expected, "trees:\n got %r\nwant %r" % (got, expected)

    def run(self):
        row = self.row
        pristine = set((WORK / "pristine").read_text().split("\n"))
        for entry in set(os.listdir(DRIVE_C)) - pristine:
            shutil.rmtree(DRIVE_C / entry) if (DRIVE_C / entry).is_dir() else os.unlink(
                DRIVE_C / entry)
        exe = install_program(missing=row.get("missing", ()))
        for root, entries in row.get("files", {}).items():
            make_files(root, entries)
        for link, target in row.get("links", {}).items():
            host(link).parent.mkdir(parents=True, exist_ok=True)
            os.symlink(host(target) if target[1:3] == ":\\" else target, host(link))
        seed_registry(row.get("reg", {}))
        kept = {path: contents(path) for path in row.get("kept", ())}
        before = record() if row.get("record") == "same" else None
        for _ in range(row.get("runs", 1)):
            self.program = Program(exe, row.get("args", []))
            for step in row.get("steps", ()):
                self.step(*step)
            assert self.program.wait() == 0, "exit status"
        self.check_trees(row.get("trees", {}))
        for path, files in kept.items():
            assert contents(path) == files, "changed: " + path
        if "record" in row:
            wanted = before if row["record"] == "same" else row["record"]
            assert record() == wanted, "record %r, expected %r" % (record(), wanted)


def main(words):
    import rows
    chosen = [r for r in rows.ROWS if not words or any(w in r["name"] for w in words)]
    failed = []
    start_session()
    try:
        for row in chosen:
            started, runner = time.monotonic(), Row(row)
            try:
                runner.run()
                print("ok    %5.1fs  %s" % (time.monotonic() - started, row["name"]), flush=True)
            except Exception:
                failed.append(row["name"])
                print("FAIL  %5.1fs  %s\n%s" % (time.monotonic() - started, row["name"],
                                                 traceback.format_exc()), flush=True)
            finally:
                if runner.program:
                    runner.program.kill()
    finally:
        end_session()
    print("%d of %d rows passed" % (len(chosen) - len(failed), len(chosen)))
    return 1 if failed or not chosen else 0


if __name__ == "__main__":
    import harness  # the module that rows.py imports too
    sys.exit(harness.main(sys.argv[1:]))
