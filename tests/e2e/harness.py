"""Runs the real Quorvane.exe under Wine, one data row of rows.py at a time: the rows whose
names contain a WORD given (all without), against the build that --bits names. The README
tells how to run it and what it prints."""
import os, re, selectors, shutil, subprocess, sys, tempfile, time
from pathlib import Path
from subprocess import DEVNULL

BITS = 64 if os.environ.get("QUORVANE_BITS") == "64" else 32
WORK = Path(os.environ.get("QUORVANE_E2E_WORK", "build/e2e")).resolve()
BIN = Path(os.environ.get("QUORVANE_WIN%d_DIR" % BITS, "build/win%d" % BITS)).resolve()
# The record's registry view, as the exe under test opens it without a view flag.
VIEW, OTHER_VIEW = BITS, 96 - BITS
# 64-bit programs start with the 64-bit loader itself: Debian's wrappers go through
# the 32-bit one, which some machines cannot run.
WINE64 = "/usr/lib/wine/wine64"
WINE = WINE64 if BITS == 64 else "wine"
WINESERVER = "/usr/lib/wine/wineserver64"
# A record in the view that the exe does not see: it is never read, never written.
DECOY = {"ADTRootFolder": "C:\\decoy"}
PREFIX, CAPTION, PRISTINE = WORK / ("prefix%d" % BITS), "Quorvane v3.1", []
# Seconds for a program to end, milliseconds for a window: room for a machine busy with
# other Wine jobs, where the same steps took up to 3 times as long.
TIMEOUT, UI_MS = 180, 60000
DRIVE_C, TEMP = PREFIX / "drive_c", "C:\\windows\\temp\\"
# F: is a 4 MB tmpfs, for a drive that fills up; mounting it needs root.
SMALL, SMALL_REFUSED = WORK / "small", []
RECORD = r"Microsoft\Windows\CurrentVersion\Uninstall\Parvex for Android"
JOURNAL = "Quorvane"  # the runs in flight, in the 64-bit view
STUDIO = "Android Studio"
CORE, ADDON = "com.parvex.eclipse.core_3.1.0\\", "addon-parvex-3.1\\"
PAYLOAD = {"plugins\\Eclipse": [CORE + "lib\\core.jar", CORE + "plugin.xml",
                                "com.parvex.eclipse.ui_3.1.0.jar"],
           "plugins\\IntelliJ IDEA": ["parvex-studio\\META-INF\\plugin.xml",
                                      "parvex-studio\\lib\\parvex-studio.jar"],
           "add-ons": [ADDON + "libs\\parvex.jar", ADDON + "manifest.ini"]}


class Expand(str):
    """A registry value of type REG_EXPAND_SZ (a plain str is REG_SZ)."""


def wine(*args, timeout=TIMEOUT):  # no pipe: a service Wine starts would hold it
    return subprocess.run(args, stdout=DEVNULL, stderr=DEVNULL, timeout=timeout).returncode


def start_session(small_drive=False):
    """A fresh prefix of our own, its programs shown on the display that DISPLAY names;
    with small_drive, F: too."""
    os.environ.update(WINEPREFIX=str(PREFIX), WINEARCH="win64", WINEDEBUG="-all",
                      WINEDLLOVERRIDES="mscoree,mshtml=")
    end_session()
    unmount_small()
    shutil.rmtree(PREFIX, ignore_errors=True)
    WORK.mkdir(parents=True, exist_ok=True)
    assert wine(WINE, "wineboot", "-i", timeout=300) == 0, "wineboot failed"
    seed_registry({})
    SMALL.mkdir(exist_ok=True)
    mount = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=4m", "tmpfs", SMALL],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           text=True) if small_drive else None
    SMALL_REFUSED[:] = [mount.stdout.strip() or "mount failed"] if mount and mount.returncode else []
    (PREFIX / "dosdevices" / "f:").symlink_to(SMALL)
    # The drive list is read once, when the prefix's services start: stop them so
    # that the next program (and its folder browser) sees F:.
    wine(WINESERVER, "-k")
    wine(WINESERVER, "-w")
    wine(WINESERVER, "-p")  # one wineserver that outlives each program
    PRISTINE[:] = os.listdir(DRIVE_C)


def end_session():  # our prefix's wineserver, with every program still running in it
    PREFIX.exists() and wine(WINESERVER, "-k")


def unmount_small():
    if SMALL.is_mount():
        subprocess.run(["umount", SMALL], check=True)


# The registry: one import a row, both views (the 32-bit one is Wow6432Node).
def reg_path(key, view):
    return "HKEY_LOCAL_MACHINE\\SOFTWARE\\" + ("Wow6432Node\\" if view == 32 else "") + key


def reg_data(value):
    if isinstance(value, Expand):
        return "hex(2):" + ",".join("%02x" % b for b in (value + "\0").encode("utf-16-le"))
    return '"%s"' % value.replace("\\", "\\\\").replace('"', '\\"')


def reg_values(values):
    """{name: value} as the lines of a .reg file, sorted."""
    return sorted('"%s"=%s' % (name, reg_data(value)) for name, value in values.items())


def seed_registry(keys):
    """Removes the record, Android Studio and journal keys from both views, then writes
    keys: {(key, view): {name: value}}, with the 64-bit regedit (a 32-bit one
    reaches the 32-bit view only). The other view holds DECOY unless keys say otherwise."""
    # No crash dialog (a crash ends the program); window frames drawn by Wine, as
    # Xvfb has no window manager.
    lines = ["Windows Registry Editor Version 5.00", "", "[HKEY_CURRENT_USER\\Software\\Wine\\"
             "WineDbg]", '"ShowCrashDialog"=dword:00000000', '[HKEY_CURRENT_USER\\Software\\Wine\\'
             'X11 Driver]', '"Decorated"="N"', '"Managed"="N"']
    lines += ["[-%s]" % reg_path(k, v) for k in (RECORD, STUDIO, JOURNAL) for v in (32, 64)]
    for (key, view), values in {(RECORD, OTHER_VIEW): DECOY, **keys}.items():
        lines += ["[%s]" % reg_path(key, view), *reg_values(values)]
    host(TEMP + "seed.reg").write_text("\r\n".join(lines + [""]), encoding="utf-16")
    # regedit ended with 1 once while another Wine prefix was busy: one more try.
    command = (WINE64, "regedit", "/s", TEMP + "seed.reg")
    assert wine(*command) == 0 or wine(*command) == 0, "regedit /s failed twice"


def record(view=VIEW, key=RECORD):
    """The record (or another key) in a view as reg_values gives it; None without the key."""
    host(TEMP + "record.reg").unlink(missing_ok=True)
    wine(WINE64, "regedit", "/e", TEMP + "record.reg", reg_path(key, view))
    if host(TEMP + "record.reg").exists():
        text = host(TEMP + "record.reg").read_text(encoding="utf-16").replace("\\\n  ", "")
        return sorted(re.findall(r'^".*', text, re.M))


# Files in the prefix.
def host(path):
    """C:\\envs\\adt -> the path in the prefix; F:\\ is the small drive."""
    assert path[:3].upper() in ("C:\\", "F:\\"), path
    return (DRIVE_C if path[0] in "cC" else SMALL).joinpath(*path[3:].split("\\"))


def make_files(root, entries):
    """Below root: files holding "content of <entry>", folders for entries ending in \\,
    and Linux symlinks for "<entry>@<C:\\ path>"."""
    for entry in entries:
        name, link, target = entry.partition("@")
        path = host(root + "\\" + name.rstrip("\\"))
        (path if name.endswith("\\") else path.parent).mkdir(parents=True, exist_ok=True)
        if link:
            path.symlink_to(host(target))
        elif not name.endswith("\\"):
            path.write_text("content of " + entry)


def tree(path):
    """The files, links (@, not followed) and empty folders (\\) below a folder, relative
    and sorted; None when the folder is missing."""
    base = host(path)
    return sorted("\\".join(p.relative_to(base).parts) + ("@" if p.is_symlink() else "\\" if
                  p.is_dir() else "") for p in base.rglob("*") if p.is_symlink()
                  or not p.is_dir() or not any(p.iterdir())) if base.is_dir() else None


def contents(path):
    return {str(p): p.read_bytes() for p in [host(path), *host(path).rglob("*")] if p.is_file()}


def install_program(folder="C:\\Setup"):
    """Quorvane.exe in folder with the payload folders beside it."""
    make_files(folder, [sub + "\\" + e for sub, entries in PAYLOAD.items() for e in entries])
    shutil.copy(BIN / "Quorvane.exe", host(folder))
    return folder + "\\Quorvane.exe"


def start(command):
    """A Windows command line under Wine, from C:\\ so that the current drive is the prefix's C:."""
    return subprocess.Popen([WINE, *command], cwd=DRIVE_C, stdout=DEVNULL, stderr=DEVNULL)


def finish(process, timeout=TIMEOUT):
    """The exit status; a program that does not end in time is killed by its pid."""
    try:
        return process.wait(timeout=timeout)
    finally:
        process.kill()


# The UI, through uiauto.exe.
def uiauto(*args, status=0):
    """uiauto's output, read from a file once it has ended with status: a Wine service that
    it starts (the desktop's, say) would hold a pipe open long after."""
    with tempfile.TemporaryFile("w+") as out:
        got = finish(subprocess.Popen([WINE, BIN / "uiauto.exe", *map(str, args)],
                                      stdout=out, stderr=DEVNULL))
        out.seek(0)
        assert got == status, "uiauto %s: status %d: %s" % (args, got, out.read().strip())
        return out.read().rstrip("\r\n")


def read(window):
    """uiauto's reading of a window: (id, class, enabled, check, text), the window first."""
    return [(int(i), cls, on == "1", int(check), bytes.fromhex(text).decode("utf-16-be"))
            for i, cls, on, check, text in (line.split("\t") for line in window.splitlines())]


RUN_LOCK = "the run lock"


def hold(path):
    """A process that holds a file open without sharing, or the program's RUN_LOCK, until
    it is killed."""
    what = ["lock"] if path == RUN_LOCK else ["hold", path]
    process = subprocess.Popen([WINE, BIN / "uiauto.exe", *what, str(TIMEOUT * 1000)],
                               stdout=subprocess.PIPE, stderr=DEVNULL, text=True)
    ready = selectors.DefaultSelector()
    ready.register(process.stdout, selectors.EVENT_READ)
    if not ready.select(TIMEOUT) or process.stdout.readline() != "held\n":
        process.kill()
        raise AssertionError("%s could not be held open" % path)
    return process


def answer(text="", buttons="OK", press="OK"):
    """Waits for a message box, checks its caption, that its text holds text and
    its buttons, and presses one; returns its text."""
    box = uiauto("wait", 0xFFFF, UI_MS)
    seen = read(uiauto("read", box))
    got = (seen[0][4], [c[4] for c in seen if c[0] == 0xFFFF][0],
           [c[4] for c in seen[1:] if c[1].lower() == "button"])
    assert got[0] == CAPTION and text in got[1] and got[2] == buttons.split(), (got, text, buttons)
    uiauto("click", box, {"OK": 1, "Cancel": 2}[press], UI_MS)
    return got[1]


def shows(dialog, wanted):
    """Checks what the main dialog shows: {"off": the ids disabled, "checked": the ids
    checked, id: its text}, as far as wanted names."""
    seen = read(uiauto("read", dialog))[1:]
    got = {c[0]: c[4] for c in seen}
    got.update(off={c[0] for c in seen if not c[2]}, checked={c[0] for c in seen if c[3]})
    check("dialog", {key: got.get(key) for key in wanted}, wanted)


def check(what, got, wanted):
    assert got == wanted, "%s:\n got %r\nwant %r" % (what, got, wanted)


def appear(path, program):
    deadline = time.monotonic() + TIMEOUT
    while not host(path).exists():
        assert program.poll() is None and time.monotonic() < deadline, "%s never appeared" % path
        time.sleep(0.005)


def drive(steps, program=None, holders=()):
    """Does and checks what steps say in the windows of the program that runs, and beside it."""
    dialog = None
    for verb, *args in steps:
        if verb == "run":  # another run of the program, to its end
            check(" ".join(args), finish(start(["C:\\Setup\\Quorvane.exe", *args])), 0)
        elif verb == "waits":  # for seconds, the program runs on and leaves a folder alone
            untouched, deadline = tree(args[1]), time.monotonic() + args[0]
            while time.monotonic() < deadline:
                assert program.poll() is None and tree(args[1]) == untouched, "it did not wait"
                time.sleep(0.1)
        elif verb == "appears":  # the program works on until a path appears
            appear(args[0], program)
        elif verb == "unmoved":  # another program's renames of folders, each refused
            for path in args:  # ERROR_SHARING_VIOLATION: not missing, nor denied
                check("renaming " + path, uiauto("move", path, path + "~", status=1), "error 32")
        elif verb == "release":
            for holder in holders:
                holder.kill()
        elif verb == "box":
            answer(*args)
        elif verb == "pick":  # a path, or None to cancel; the browser's title
            seen = read(uiauto("browse", args[0] or "-", UI_MS))
            assert len(args) < 2 or args[1] in [c[4] for c in seen], seen
            # OK is enabled for a folder of the file system only.
            ok = [c[2] for c in seen if c[0] == 1]
            assert not args[0] or ok == [args[0][1:3] == ":\\"], seen
        else:  # "click" or "state", in the main dialog (found once needed)
            dialog = dialog or uiauto("wait", 1005, UI_MS)
            uiauto("click", dialog, *args) if verb == "click" else shows(dialog, *args)


def run_row(row):
    for path in [DRIVE_C / e for e in set(os.listdir(DRIVE_C)) - set(PRISTINE)] + \
            list(SMALL.iterdir()):
        (shutil.rmtree if path.is_dir() and not path.is_symlink() else os.unlink)(path)
    exe = install_program()
    for root, entries in row.get("files", {}).items():
        make_files(root, entries)
    seed_registry(row.get("reg", {}))
    for before in row.get("before", ()):  # a Python call, or a Windows command line to complete
        before() if callable(before) else check(before[0], finish(start(before)), 0)
    kept = {path: contents(path) for path in row.get("kept", ())}
    holders = [hold(path) for path in row.get("held", ())]
    program = start(row.get("command", [exe, *row.get("args", [])]))
    try:
        drive(row.get("steps", ()), program, holders)
        if "kill" in row:  # killed by its pid once the path appears, as a power cut would
            appear(row["kill"], program)
        else:
            check("exit status", finish(program), 0)
    finally:
        for process in [program] + holders:
            process.kill()
            process.wait()
    for after in row.get("after", ()):  # Python calls, or command lines of the exe to complete
        after() if callable(after) else check(after[0], finish(start([exe, *after])), 0)
    wanted = {path: entries and sorted(entries) for path, entries in row.get("trees", {}).items()}
    check("trees", {path: tree(path) for path in wanted}, wanted)
    for path, before in kept.items():  # the paths of files added, changed or gone
        after = contents(path)
        check("files below " + path, sorted(f for f in {*before, *after}
                                            if before.get(f) != after.get(f)), [])
    if "record" in row:  # {name: value}, or None for no record
        check("record", record(), row["record"] and reg_values(row["record"]))
        check("the other view's record", record(OTHER_VIEW),
              reg_values(row.get("reg", {}).get((RECORD, OTHER_VIEW), DECOY)))
    check("runs in flight", record(64, JOURNAL), None)  # every run has ended, or been finished


def main(words):
    """Runs every chosen row, a failure or not; 0 when all ran and passed."""
    import rows
    probe = Path(__file__).parents[2] / "scripts" / "runs-32bit.sh"
    why = subprocess.run(["bash", probe], stdout=subprocess.PIPE, text=True)
    if BITS == 32 and why.returncode != 0:
        print("SKIP the 32-bit build's rows:", why.stdout.strip())
        return 77
    chosen = [r for r in rows.ROWS if not words or any(w in r["name"] for w in words)]
    failed = skipped = 0
    try:
        start_session(small_drive=True)
        for row in chosen:
            why = "it runs with the %d-bit build" % row.get("only", BITS)
            if row.get("small") and SMALL_REFUSED:
                why = "no small drive: " + SMALL_REFUSED[0]
            elif row.get("only", BITS) == BITS:
                why = None
            if why:
                print("SKIP %s: %s" % (row["name"], why))
                skipped += 1
                continue
            try:
                run_row(row)
                print("PASS", row["name"], flush=True)
            except Exception as failure:  # reported, and the next row runs
                print("FAIL %s: %s: %s" % (row["name"], type(failure).__name__, failure))
                failed += 1
                end_session()  # whatever the row left running
    finally:
        end_session()
        unmount_small()
    print("%d passed, %d failed, %d skipped" % (len(chosen) - failed - skipped, failed, skipped))
    return 0 if chosen and not failed else 1


if __name__ == "__main__":
    if sys.argv[1:2] == ["--bits"]:
        os.environ["QUORVANE_BITS"] = sys.argv[2]
        del sys.argv[1:3]
    sys.exit(__import__("harness").main(sys.argv[1:]))  # the module that rows.py imports
