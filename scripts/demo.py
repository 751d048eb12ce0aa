"""The main job, shown in a sandbox: a Wine prefix under build/demo with a
sample payload next to Quorvane.exe and a sample ADT Bundle named by the
record; a silent install, a listing, an uninstall and a listing again."""

import os
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
os.environ.setdefault("QUORVANE_E2E_WORK", str(ROOT / "build" / "demo"))
os.environ.setdefault("QUORVANE_WIN32_DIR", str(ROOT / "build" / "win32"))
os.environ.setdefault("QUORVANE_WIN64_DIR", str(ROOT / "build" / "win64"))
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
# Everything the demo writes goes to build/, no bytecode next to the sources.
sys.dont_write_bytecode = True

import harness  # noqa: E402
from harness import RECORD, answer, install_program, make_files, record, tree, uiauto  # noqa: E402

ADT = "C:\\Users\\Public\\adt-bundle-windows"


def seed_record():
    harness.seed_registry({(RECORD, harness.VIEW): {"ADTRootFolder": ADT}})


def show_record(title):
    print(title, " ".join(record() or []))


def run(exe, *args):
    return harness.finish(harness.start([exe, *args]))


def show(title, folder):
    print("\n== %s: %s" % (title, folder))
    entries = tree(folder)
    if entries is None:
        print("   (missing)")
    for entry in entries or []:
        print("   " + entry)


def silent_demo():
    exe = install_program()
    print("Quorvane.exe and its payload in C:\\Setup:")
    for entry in tree("C:\\Setup"):
        print("   " + entry)
    make_files(ADT, ["eclipse\\eclipse.exe", "eclipse\\plugins\\org.eclipse.core_3.8.jar",
                     "sdk\\platform-tools\\adb.exe", "sdk\\add-ons\\"])
    seed_record()
    show_record("\nRecord (%d-bit view, as regedit writes it):" % harness.VIEW)

    print("\n> Quorvane.exe -install -silence  (exit %d)" % run(exe, "-install", "-silence"))
    show("after install", ADT + "\\eclipse\\plugins")
    show("after install", ADT + "\\sdk\\add-ons")

    print("\n> Quorvane.exe -uninstall  (exit %d)" % run(exe, "-uninstall"))
    show("after uninstall", ADT + "\\eclipse\\plugins")
    show("after uninstall", ADT + "\\sdk\\add-ons")


def screenshot_dialog():
    """Opens the real dialog on the Xvfb display and saves a picture of it in
    build/demo; --refresh-docs also copies it to docs/main-dialog.png."""
    exe = "C:\\Setup\\Quorvane.exe"
    seed_record()
    program = harness.start([exe, "-install"])
    try:
        answer(press="OK", buttons="OK Cancel")
        dialog = uiauto("wait", 1005, 20000)  # painted once found
        picture = harness.WORK / "main-dialog.png"
        display = os.environ["DISPLAY"]
        xwd = subprocess.run(["xwd", "-root", "-silent", "-display", display],
                             stdout=subprocess.PIPE, check=True, timeout=60)
        # The screen is black around the window: trim it away.
        subprocess.run(["convert", "xwd:-", "-trim", "+repage", str(picture)],
                       input=xwd.stdout, check=True, timeout=60)
        print("\nScreenshot of the main dialog:", picture)
        if "--refresh-docs" in sys.argv:
            shutil.copy(picture, ROOT / "docs" / "main-dialog.png")
            print("copied to docs/main-dialog.png")
        uiauto("click", dialog, 2)
    finally:
        harness.finish(program)


def interactive_demo():
    """A scripted interactive run: the user picks a standalone Eclipse and
    Android SDK in the real folder browser, checks the clean-up box and
    presses Integrate; the recorded ADT Bundle is cleaned."""
    exe = install_program()
    eclipse = "C:\\Users\\Public\\eclipse"
    sdk = "C:\\Users\\Public\\android-sdk"
    make_files(eclipse, ["eclipse.exe", "plugins\\org.eclipse.core_3.8.jar"])
    make_files(sdk, ["platform-tools\\adb.exe"])
    seed_record()
    print("\n== Interactive integration (scripted under Xvfb)")
    run(exe, "-install", "-silence")
    show_record("Record before:")
    show("before", ADT + "\\eclipse\\plugins")
    show("before", eclipse + "\\plugins")
    show("before", sdk)

    program = harness.start([exe, "-install"])
    try:
        answer(press="OK", buttons="OK Cancel")
        dialog = uiauto("wait", 1005, 20000)
        uiauto("click", dialog, 1007)
        for button, edit, folder in ((1010, 1008, eclipse), (1011, 1009, sdk)):
            uiauto("click", dialog, button)
            uiauto("browse", folder, 20000)
            print("picked", folder)
        uiauto("click", dialog, 1004)
        print("clean-up box checked; pressing Integrate")
        uiauto("click", dialog, 1005)
        print("message:", answer())
    finally:
        print("exit", harness.finish(program))
    show_record("Record after:")
    show("after", ADT + "\\eclipse\\plugins")
    show("after", eclipse + "\\plugins")
    show("after", sdk + "\\add-ons")


def show_on_own_display():
    """The dialog on the user's display, with the sample ADT Bundle recorded."""
    seed_record()
    print("\nOpening Quorvane.exe -install on", os.environ["DISPLAY"], "- close it to end.")
    harness.finish(harness.start(["C:\\Setup\\Quorvane.exe", "-install"]), timeout=3600)


def main():
    show = "--show" in sys.argv
    print("Making a sandbox Wine prefix in", harness.PREFIX, "...")
    if show and not os.environ.get("DISPLAY"):
        raise SystemExit("--show needs DISPLAY")
    try:
        harness.start_session()
        silent_demo()
        if show:
            show_on_own_display()
        else:
            screenshot_dialog()
            interactive_demo()
    finally:
        harness.end_session()


if __name__ == "__main__":
    main()
