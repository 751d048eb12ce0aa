"""Measures the silent install and the uninstall of the real Quorvane.exe under
Wine against Wine's own xcopy / rmdir and native cp / rm, on a payload made
from a fixed seed; with --startup, the silent install with an empty payload
against cmd /c exit. Run by scripts/bench.sh, pinned to one CPU; see there."""

import argparse
import os
import platform
import random
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
os.environ.setdefault("QUORVANE_E2E_WORK", str(ROOT / "build" / "bench"))
# The build that bench.sh chose: the shipped 32-bit one where this machine runs 32-bit code.
BITS = 64 if os.environ.get("QUORVANE_BITS") == "64" else 32
WORK = Path(os.environ["QUORVANE_E2E_WORK"])
BIN = ROOT / "build" / ("win%d" % BITS)
PREFIX = WORK / ("prefix%d" % BITS)
# 64-bit programs start with the 64-bit loader itself (Debian's wrappers need 32-bit code).
WINE64, WINESERVER = "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver64"
WINE = WINE64 if BITS == 64 else "wine"
# The build is named in the table.
INSTALL = "Quorvane %d-bit -install -silence" % BITS
UNINSTALL = "Quorvane %d-bit -uninstall" % BITS
STARTUP = "Quorvane %d-bit -install -silence, empty payload" % BITS
RECORD = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Parvex for Android"


def wine_environment():
    return dict(os.environ, WINEPREFIX=str(PREFIX), WINEDLLOVERRIDES="mscoree,mshtml=",
                WINEDEBUG="-all", WINEARCH="win64")


def host_path(windows_path):
    """C:\\x\\y -> the file in the bench prefix."""
    return PREFIX.joinpath("drive_c", *windows_path[3:].split("\\"))


def quiet(args, check=True):
    subprocess.run(args, env=wine_environment(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=check, timeout=300)


def make_prefix():
    """A fresh prefix whose wineserver stays up between the runs."""
    shutil.rmtree(PREFIX, ignore_errors=True)
    quiet([WINE64, "wineboot", "-i"])
    quiet([WINESERVER, "-p"], check=False)  # the one wineboot started stays up

SEED = 20260601
ADT = "C:\\bench\\adt"
# Payload folder -> the ADT Bundle's target folder.
TARGETS = {"plugins\\Eclipse": ADT + "\\eclipse\\plugins", "add-ons": ADT + "\\sdk\\add-ons"}
PAYLOADS = ["plugins\\Eclipse", "plugins\\IntelliJ IDEA", "add-ons"]
OWN_FILES = ["eclipse\\eclipse.exe", "eclipse\\plugins\\org.eclipse.core_3.8.jar",
             "sdk\\platform-tools\\adb.exe"]
KB, MB = 1024, 1024 * 1024
# Realistic shapes: (folder below the exe, files, mean size, files per subfolder).
SHAPES = [
    ("plugins\\Eclipse", 60, 600 * KB, 0),                                 # plug-in jars
    ("plugins\\Eclipse\\com.parvex.eclipse.core_3.1.0", 600, 20 * KB, 40),  # an unpacked plug-in
    ("plugins\\IntelliJ IDEA\\parvex-studio\\lib", 40, 800 * KB, 0),
    ("plugins\\IntelliJ IDEA\\parvex-studio\\resources", 300, 8 * KB, 30),
    ("add-ons\\addon-parvex-3.1\\images", 2, 25 * MB, 0),                  # system images
    ("add-ons\\addon-parvex-3.1\\libs", 20, 500 * KB, 0),
    ("add-ons\\addon-parvex-3.1\\docs\\reference", 1800, 8 * KB, 60),
    ("add-ons\\addon-parvex-3.1\\samples", 800, 6 * KB, 20),
    # The tree of many small files.
    ("add-ons\\addon-parvex-3.1-sources\\src", 15000, 600, 25),
]


def generate_payload(exe_folder):
    rng = random.Random(SEED)
    for folder, count, mean, per_folder in SHAPES:
        base = host_path(exe_folder + "\\" + folder)
        for i in range(count):
            sub = base / ("p%03d" % (i // per_folder)) if per_folder else base
            sub.mkdir(parents=True, exist_ok=True)
            size = int(mean * rng.uniform(0.5, 1.5))
            (sub / ("f%05d.%s" % (i, "jar" if mean > 100 * KB else "html"))).write_bytes(
                rng.randbytes(size))


def manifest(windows_path):
    """{relative path: size} of every file below a folder."""
    base = host_path(windows_path)
    return {str(p.relative_to(base)): p.stat().st_size for p in base.rglob("*") if p.is_file()}


def drop_caches():
    try:
        subprocess.run(["sync"], check=True)
        Path("/proc/sys/vm/drop_caches").write_text("3\n")
        return True
    except OSError:
        return False


def wine_run(args):
    subprocess.run(["taskset", "-c", "0", WINE] + args, env=wine_environment(),
                   cwd=host_path("C:\\"), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True, timeout=600)


def batch(name, lines):
    path = "C:\\bench\\" + name
    host_path(path).write_text("@echo off\r\n" + "\r\n".join(lines) + "\r\n")
    return ["cmd", "/c", path]


def commands(exe_folder, baseline):
    """(install label, install, removal label, removal) per tool."""
    setup = exe_folder + "\\Quorvane.exe"
    copy_lines, remove_lines, cp_cmds, rm_paths = [], [], [], []
    for payload, target in TARGETS.items():
        source = exe_folder + "\\" + payload
        copy_lines.append('xcopy "%s" "%s" /E /I /Q /Y >NUL' % (source, target))
        cp_cmds.append(["cp", "-a", str(host_path(source)) + "/.", str(host_path(target))])
        for entry in sorted(host_path(source).iterdir()):
            gone = target + "\\" + entry.name
            remove_lines.append(('rmdir /s /q "%s"' if entry.is_dir() else 'del /f /q "%s"')
                                % gone)
            rm_paths.append(str(host_path(gone)))

    def native(cmds):
        for cmd in cmds:
            subprocess.run(["taskset", "-c", "0"] + cmd, check=True, timeout=600)

    tools = [
        (INSTALL, lambda: wine_run([setup, "-install", "-silence"]),
         UNINSTALL, lambda: wine_run([setup, "-uninstall"])),
        ("xcopy /E /I (Wine)", lambda: wine_run(batch("copy.bat", copy_lines)),
         "cmd /c rmdir /s /q (Wine)", lambda: wine_run(batch("remove.bat", remove_lines))),
        ("cp -a (native)",
         lambda: native([["mkdir", "-p", str(host_path(TARGETS["add-ons"]))]] + cp_cmds),
         "rm -rf (native)", lambda: native([["rm", "-rf"] + rm_paths])),
    ]
    if baseline:
        old = "C:\\bench\\old\\Quorvane.exe"
        tools.append(("OLD -install -silence", lambda: wine_run([old, "-install", "-silence"]),
                      "OLD -uninstall", lambda: wine_run([old, "-uninstall"])))
    return tools


def startup_commands(exe_folder, baseline):
    """Start-up alone: the silent install with nothing to copy against cmd /c exit."""
    tools = [(STARTUP, lambda: wine_run([exe_folder + "\\Quorvane.exe", "-install", "-silence"])),
             ("cmd /c exit (Wine)", lambda: wine_run(["cmd", "/c", "exit"]))]
    if baseline:
        tools.append(("OLD -install -silence, empty payload",
                      lambda: wine_run(["C:\\bench\\old\\Quorvane.exe", "-install", "-silence"])))
    return tools


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--baseline", help="an older Quorvane.exe to compare with")
    parser.add_argument("--runs", type=int, help="runs of each (5; 20 with --startup)")
    parser.add_argument("--quorvane-only", action="store_true",
                        help="leave out xcopy, rmdir, cp and rm (with --baseline: new against old)")
    parser.add_argument("--startup", action="store_true",
                        help="instead: the silent install with the three payload folders empty "
                             "against cmd /c exit, page cache kept")
    options = parser.parse_args()
    runs = options.runs or (20 if options.startup else 5)
    WORK.mkdir(parents=True, exist_ok=True)
    try:
        print("Making the bench prefix in", PREFIX, "...", flush=True)
        make_prefix()
        exe_folder = "C:\\bench\\new"
        host_path(exe_folder).mkdir(parents=True)
        shutil.copy(BIN / "Quorvane.exe", host_path(exe_folder))
        if options.startup:
            for payload in PAYLOADS:
                host_path(exe_folder + "\\" + payload).mkdir(parents=True)
        else:
            print("Generating the payload (seed %d) ..." % SEED, flush=True)
            generate_payload(exe_folder)
        if options.baseline:
            # The old exe gets the same payload, hard-linked.
            subprocess.run(["cp", "-al", str(host_path(exe_folder)), str(host_path("C:\\bench\\old"))],
                           check=True)
            shutil.copy(options.baseline, host_path("C:\\bench\\old\\Quorvane.exe"))
        for own_file in OWN_FILES:
            host_path(ADT + "\\" + own_file).parent.mkdir(parents=True, exist_ok=True)
            host_path(ADT + "\\" + own_file).write_text("content of " + own_file + "\n")
        quiet([WINE64, "reg", "add", RECORD, "/v", "ADTRootFolder", "/d", ADT, "/f",
               "/reg:%d" % BITS])
        expected = {t: manifest(exe_folder + "\\" + p) for p, t in TARGETS.items()}
        own = {t: manifest(t) for t in TARGETS.values() if host_path(t).exists()}
        files = sum(len(m) for m in expected.values())
        size = sum(sum(m.values()) for m in expected.values())
        print("Payload: %d files, %.1f MB (plugins\\IntelliJ IDEA is not used by an ADT Bundle)"
              % (files, size / MB))

        # Each tool: its steps, (label, action, what its targets hold after it).
        if options.startup:
            tools = [[(label, action, "install")]
                     for label, action in startup_commands(exe_folder, options.baseline)]
        else:
            tools = [[(install_label, install, "install"), (remove_label, remove, "remove")]
                     for install_label, install, remove_label, remove
                     in commands(exe_folder, options.baseline)]
            if options.quorvane_only:
                tools = [tools[0]] + tools[3:]
        times = {}
        dropped = True
        for run in range(runs):
            # Interleaved, starting with another tool each run.
            for steps in tools[run % len(tools):] + tools[:run % len(tools)]:
                for label, action, after in steps:
                    # Start-up is timed warm: a cold one would time the disk.
                    dropped = (options.startup or drop_caches()) and dropped
                    start = time.perf_counter()
                    action()
                    times.setdefault(label, []).append(time.perf_counter() - start)
                    for target, files_there in expected.items():
                        want = dict(own.get(target, {}))
                        if after == "install":
                            want.update(files_there)
                        if manifest(target) != want:
                            raise SystemExit("%s, run %d: %s does not hold what it should"
                                             % (label, run + 1, target))
            print("run %d of %d done" % (run + 1, runs), flush=True)
    finally:
        subprocess.run([WINESERVER, "-k"], env=wine_environment(), timeout=60)

    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo")
                if line.startswith("model name")), platform.processor())
    wine = subprocess.run([WINE64, "--version"], stdout=subprocess.PIPE, text=True).stdout.strip()
    print("\nMachine: %s, %d CPUs (all runs pinned to CPU 0), Linux %s, %s" %
          (cpu, os.cpu_count(), platform.release(), wine))
    print("Page cache %s before each run. %d runs each, interleaved; every run checked "
          "for every file and byte." % ("kept (warm start-up)" if options.startup else
                                       "dropped" if dropped else "NOT dropped (not permitted)",
                                       runs))
    median = {label: statistics.median(values) for label, values in times.items()}
    if options.startup:
        print("\n| Command | min ms | median ms |\n|---|---:|---:|")
        for label, values in times.items():
            print("| %s | %.0f | %.0f |" % (label, 1000 * min(values), 1000 * median[label]))
        ratios = [(STARTUP, "cmd /c exit (Wine)")]
        if options.baseline:
            ratios += [("OLD -install -silence, empty payload", "cmd /c exit (Wine)"),
                       (STARTUP, "OLD -install -silence, empty payload")]
        print_ratios(ratios, times, median)
        return
    print("\n| Command | min s | median s | median ms/file |\n|---|---:|---:|---:|")
    for label, values in times.items():
        print("| %s | %.2f | %.2f | %.2f |" % (label, min(values), median[label],
                                                1000 * median[label] / files))
    ratios = [] if options.quorvane_only else [
        (INSTALL, "xcopy /E /I (Wine)"), (INSTALL, "cp -a (native)"),
        (UNINSTALL, "cmd /c rmdir /s /q (Wine)"), (UNINSTALL, "rm -rf (native)")]
    if options.baseline:
        ratios += [(INSTALL, "OLD -install -silence"), (UNINSTALL, "OLD -uninstall")]
    print_ratios(ratios, times, median)


def print_ratios(ratios, times, median):
    print("\n| Ratio | of medians | of minima |\n|---|---:|---:|")
    for a, b in ratios:
        print("| %s / %s | %.2f | %.2f |" % (a, b, median[a] / median[b],
                                            min(times[a]) / min(times[b])))


if __name__ == "__main__":
    main()
