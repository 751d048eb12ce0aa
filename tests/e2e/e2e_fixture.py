"""Makes and ends what the end-to-end tests share: an X display (Xvfb) and a
fresh Wine prefix under the build folder.

    e2e_fixture.py setup     start Xvfb, make the prefix
    e2e_fixture.py cleanup   end the wineserver of the prefix and our Xvfb
"""

import os
import shutil
import signal
import subprocess
import sys
import time

import wine_env


def start_display():
    read_end, write_end = os.pipe()
    log = open(wine_env.WORK / "xvfb.log", "w")
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,), stdout=log, stderr=log,
                            start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 30
    with os.fdopen(read_end, "rb") as pipe:
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = pipe.read(1)
            if not chunk:
                break
            number += chunk
    if not number.strip():
        xvfb.kill()
        raise SystemExit("Xvfb did not report its display")
    (wine_env.WORK / "xvfb.pid").write_text(str(xvfb.pid))
    (wine_env.WORK / "display").write_text(":" + number.decode().strip())


def make_prefix():
    prefix = wine_env.prefix_dir()
    shutil.rmtree(prefix, ignore_errors=True)
    env = wine_env.wine_environment()
    subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=300, check=True)
    # No crash dialog from the debugger: a crash ends the program instead.
    wine_env.wine(["reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog",
                   "/t", "REG_DWORD", "/d", "0", "/f"])
    # Without a window manager on Xvfb, Wine draws the window frames itself,
    # so that captions are there to see in screenshots.
    for name in ("Decorated", "Managed"):
        wine_env.wine(["reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", name, "/d", "N",
                       "/f"])
    # Keep the wineserver alive between the tests' processes.
    subprocess.Popen(["wineserver", "-p"], env=env).wait(timeout=60)


def cleanup():
    env = wine_env.wine_environment()
    if wine_env.prefix_dir().exists():
        subprocess.run(["wineserver", "-k"], env=env, timeout=60)
    pid_file = wine_env.WORK / "xvfb.pid"
    if pid_file.exists():
        try:
            os.kill(int(pid_file.read_text()), signal.SIGTERM)
        except ProcessLookupError:
            pass
        pid_file.unlink()
    display_file = wine_env.WORK / "display"
    if display_file.exists():
        display_file.unlink()


def main():
    wine_env.WORK.mkdir(parents=True, exist_ok=True)
    if sys.argv[1] == "setup":
        cleanup()
        start_display()
        make_prefix()
        print("prefix ready in", wine_env.prefix_dir(), "display",
              (wine_env.WORK / "display").read_text())
    else:
        cleanup()
        print("ended")


if __name__ == "__main__":
    main()
