"""Runs the real 32-bit Quorvane.exe under Wine, one data row at a time (rows.py).

    harness.py [WORD ...]   runs the rows whose names contain a WORD (all without)

The run owns an Xvfb display and a fresh prefix under $QUORVANE_E2E_WORK; the
program is started from C:\\ and killed by its pid when it does not end in
time. Every wait has a timeout.
"""
import os
import re
import select
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
            ready = select.select([pipe], [], [], 30)[0]
            display = ":" + (pipe.readline() if ready else "").strip()
        if display == ":":
            raise SystemExit("Xvfb did not report its display")
    (WORK / "display").write_text(display)
    shutil.rmtree(PREFIX, ignore_errors=True)
    subprocess.run(["wineboot", "-i"], env=environment(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=300, check=True)
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
    if isinstance(value, str) and not isinstance(value, Expand):
        return '"%s"' % value.replace("\\", "\\\\").replace('"', '\\"')
    data = value if isinstance(value, bytes) else (value + "\0").encode("utf-16-le")
    return "hex(%d):" % (1 if isinstance(value, bytes) else 2) + ",".join("%02x" % b for b in data)


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
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=TIMEOUT,
                   check=True)


def record():
    """The record's values in the 32-bit view, {name: data as reg_data writes
    it}, read with a regedit export (exact, any type); None without the key."""
    export = DRIVE_C / "windows" / "temp" / "record.reg"
    export.unlink(missing_ok=True)
    subprocess.run([WINE64, "regedit", "/e", "C:\\windows\\temp\\record.reg",
                    reg_path(RECORD, 32)], env=environment(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=TIMEOUT, check=True)
    if not export.exists():
        return None
    lines = export.read_text(encoding="utf-16").replace("\\\n  ", "").splitlines()
    values = [re.match(r'"((?:[^"\\]|\\.)*)"=(.*)$', line) for line in lines]
    return {re.sub(r"\\(.)", r"\1", v[1]): v[2] for v in values if v}


# Files in the prefix.
def host(path):
    """C:\\envs\\adt -> the path in the prefix."""
    assert path[:3].upper() == "C:\\", path
    return DRIVE_C.joinpath(*path[3:].split("\\"))


def make_files(root, entries):
    """Files (with their folders) below root; an entry ending in \\ is a folder."""
    for entry in entries:
        target = host(root + "\\" + entry.rstrip("\\"))
        (target if entry.endswith("\\") else target.parent).mkdir(parents=True, exist_ok=True)
        if not entry.endswith("\\"):
            target.write_text("content of " + entry + "\n")


def tree(path):
    """Every entry below a folder, relative, sorted, folders ending in \\ and
    links in @ (not followed); None when the folder is missing."""
    base = host(path)
    if not base.is_dir():
        return None
    entries = []
    for folder, dirs, files in os.walk(base):
        rel = Path(folder).relative_to(base).parts
        entries += ["\\".join(rel + (name,)) + ("@" if os.path.islink(os.path.join(folder, name))
                                                 else "\\" if name in dirs else "")
                    for name in dirs + files]
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


def start(exe, args):
    """One run under Wine from C:\\, so that the current drive is the prefix's C:."""
    return subprocess.Popen(["wine", str(host(exe))] + list(args), env=environment(), cwd=DRIVE_C,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def finish(process, timeout=TIMEOUT):
    """The exit status; a program that does not end in time is killed by its pid."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        windows = uiauto("count-windows", CAPTION, check=False).strip()
        raise AssertionError("no exit within %ss; %s window(s) open" % (timeout, windows))
    finally:
        process.kill()
        process.wait(timeout=30)


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


def answer(text=None, buttons="OK", press="OK"):
    """Waits for a message box, checks its caption, that its text holds text and
    its buttons, and presses one; returns its text."""
    box = uiauto("wait-msgbox", 20000).strip()
    seen = read(uiauto("read", box))
    got = (seen["caption"], seen["controls"][0xFFFF]["text"],
           [c["text"] for c in seen["order"] if c["cls"].lower() == "button"])
    if got[0] != CAPTION or got[2] != buttons.split() or (text or "") not in got[1]:
        raise AssertionError("message box %r, expected %r" % (got, (CAPTION, text, buttons)))
    uiauto("click", box, {"OK": 1, "Cancel": 2}[press], 20000)
    return got[1]


# The driver: rows.py describes a row and its steps.
def run_row(row, started):
    dialog = []  # the main dialog's handle, once a step needed it

    def window():
        dialog or dialog.append(uiauto("wait-dialog", 1005, 20000).strip())
        return dialog[0]

    def state(expected):
        seen = read(uiauto("read", window()))
        field = {"enabled": "enabled", "text": "text", "checks": "check"}
        return {kind: seen["caption"] if kind == "caption" else
                {i: seen["controls"][i][field[kind]] for i in ids}
                for kind, ids in expected.items()}

    def check(what, got, wanted):
        assert got == wanted, "%s:\n got %r\nwant %r" % (what, got, wanted)

    for entry in set(os.listdir(DRIVE_C)) - set((WORK / "pristine").read_text().split("\n")):
        shutil.rmtree(DRIVE_C / entry) if (DRIVE_C / entry).is_dir() else os.unlink(DRIVE_C / entry)
    exe = install_program(missing=row.get("missing", ()))
    for root, entries in row.get("files", {}).items():
        make_files(root, entries)
    for link, target in row.get("links", {}).items():
        host(link).parent.mkdir(parents=True, exist_ok=True)
        os.symlink(host(target) if target[1:3] == ":\\" else target, host(link))
    seed_registry(row.get("reg", {}))
    kept = {path: contents(path) for path in row.get("kept", ())}
    wanted_record = record() if row.get("record") == "same" else row.get("record") and {
        name: reg_data(value) for name, value in row["record"].items()}
    for _ in range(row.get("runs", 1)):
        started.append(start(exe, row.get("args", [])))
        dialog.clear()
        for verb, *args in row.get("steps", ()):
            if verb == "box":
                answer(*args)
            elif verb in ("click", "press", "close"):  # click: handled before the next step
                uiauto({"click": "click-sync", "press": "click"}.get(verb, verb), window(), *args)
            elif verb in ("pick", "cancel"):
                path, title = (args + [None])[:2] if verb == "pick" else (None, (args + [None])[0])
                shown = uiauto(*(["browse-pick", path] if path else ["browse-cancel"]), 20000)
                assert title in [c["text"] for c in read(shown)["order"]] + [None], shown
            elif verb == "state":  # polled: the dialog may still be handling a click
                deadline = time.monotonic() + 10
                while state(args[0]) != args[0] and time.monotonic() < deadline:
                    time.sleep(0.1)
                check("dialog", state(args[0]), args[0])
            elif verb == "windows":
                check("windows captioned " + CAPTION, uiauto("count-windows", CAPTION).strip(),
                      str(args[0]))
            elif verb == "trees":
                check("trees", {path: tree(path) for path in args[0]}, args[0])
            else:
                raise AssertionError("unknown step %r" % verb)
        check("exit status", finish(started[-1]), 0)
    check("trees", {path: tree(path) for path in row.get("trees", {})}, row.get("trees", {}))
    check("kept files", {path: contents(path) for path in kept}, kept)
    if "record" in row:
        check("record", record(), wanted_record)


def main(words):
    import rows
    chosen = [r for r in rows.ROWS if not words or any(w in r["name"] for w in words)]
    failed = []
    start_session()
    try:
        for row in chosen:
            begun, started = time.monotonic(), []
            try:
                run_row(row, started)
                print("ok    %5.1fs  %s" % (time.monotonic() - begun, row["name"]), flush=True)
            except Exception:
                failed.append(row["name"])
                print("FAIL  %5.1fs  %s\n%s" % (time.monotonic() - begun, row["name"],
                                                 traceback.format_exc()), flush=True)
            finally:
                for process in started:
                    process.kill()
    finally:
        end_session()
    print("%d of %d rows passed" % (len(chosen) - len(failed), len(chosen)))
    return 1 if failed or not chosen else 0


if __name__ == "__main__":
    import harness  # the module that rows.py imports too
    sys.exit(harness.main(sys.argv[1:]))
