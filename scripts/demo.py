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
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
# Everything the demo writes goes to build/, no bytecode next to the sources.
sys.dont_write_bytecode = True

import e2e_fixture  # noqa: E402
import wine_env  # noqa: E402
from wine_env import RECORD_KEY, install_program, make_files, reg_query, run_program, tree  # noqa: E402

ADT = "C:\\Users\\Public\\adt-bundle-windows"


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
    wine_env.seed_record(ADTRootFolder=ADT)
    print("\nRecord (32-bit view):", reg_query(RECORD_KEY, "32"))

    print("\n> Quorvane.exe -install -silence  (exit %d)" % run_program(exe, ["-install",
                                                                              "-silence"]))
    show("after install", ADT + "\\eclipse\\plugins")
    show("after install", ADT + "\\sdk\\add-ons")

    print("\n> Quorvane.exe -uninstall  (exit %d)" % run_program(exe, ["-uninstall"]))
    show("after uninstall", ADT + "\\eclipse\\plugins")
    show("after uninstall", ADT + "\\sdk\\add-ons")


def screenshot_dialog():
    """Opens the real dialog on the Xvfb display and saves a picture of it in
    build/demo; --refresh-docs also copies it to docs/main-dialog.png."""
    exe = "C:\\Setup\\Quorvane.exe"
    wine_env.seed_record(ADTRootFolder=ADT)
    program = wine_env.Program(exe, ["-install"])
    try:
        wine_env.uiauto("click", wine_env.wait_message_box(), 1)
        dialog = wine_env.wait_dialog()
        wine_env.uiauto("paint", dialog)
        picture = wine_env.WORK / "main-dialog.png"
        display = wine_env.wine_environment()["DISPLAY"]
        xwd = subprocess.run(["xwd", "-root", "-silent", "-display", display],
                             stdout=subprocess.PIPE, check=True, timeout=60)
        # The screen is black around the window: trim it away.
        subprocess.run(["convert", "xwd:-", "-trim", "+repage", str(picture)],
                       input=xwd.stdout, check=True, timeout=60)
        print("\nScreenshot of the main dialog:", picture)
        if "--refresh-docs" in sys.argv:
            shutil.copy(picture, ROOT / "docs" / "main-dialog.png")
            print("copied to docs/main-dialog.png")
        wine_env.uiauto("click", dialog, 2)
        program.wait()
    finally:
        program.kill()


def interactive_demo():
    """A scripted interactive run: the user picks a standalone Eclipse and
    Android SDK in the real folder browser, checks the clean-up box and
    presses Integrate; the recorded ADT Bundle is cleaned."""
    exe = install_program()
    eclipse = "C:\\Users\\Public\\eclipse"
    sdk = "C:\\Users\\Public\\android-sdk"
    make_files(eclipse, ["eclipse.exe", "plugins\\org.eclipse.core_3.8.jar"])
    make_files(sdk, ["platform-tools\\adb.exe"])
    wine_env.seed_record(ADTRootFolder=ADT)
    print("\n== Interactive integration (scripted under Xvfb)")
    run_program(exe, ["-install", "-silence"])
    print("Record before:", reg_query(RECORD_KEY, "32"))
    show("before", ADT + "\\eclipse\\plugins")
    show("before", eclipse + "\\plugins")
    show("before", sdk)

    program = wine_env.Program(exe, ["-install"])
    try:
        wine_env.uiauto("click", wine_env.wait_message_box(), 1)
        dialog = wine_env.wait_dialog()
        wine_env.uiauto("click-sync", dialog, 1007)
        for button, edit, folder in ((1010, 1008, eclipse), (1011, 1009, sdk)):
            wine_env.uiauto("click", dialog, button)
            wine_env.pick_folder(folder)
            wine_env.wait_until(lambda: wine_env.read_window(dialog).text(edit) == folder)
            print("picked", folder)
        wine_env.uiauto("click-sync", dialog, 1004)
        print("clean-up box checked; pressing Integrate")
        wine_env.uiauto("click", dialog, 1005)
        print("message:", wine_env.answer_message_box())
        print("exit", program.wait())
    finally:
        program.kill()
    print("Record after:", reg_query(RECORD_KEY, "32"))
    show("after", ADT + "\\eclipse\\plugins")
    show("after", eclipse + "\\plugins")
    show("after", sdk + "\\add-ons")


def show_on_own_display():
    """The dialog on the user's display, with the sample ADT Bundle recorded."""
    wine_env.seed_record(ADTRootFolder=ADT)
    print("\nOpening Quorvane.exe -install on", os.environ["DISPLAY"], "- close it to end.")
    wine_env.Program("C:\\Setup\\Quorvane.exe", ["-install"]).wait(timeout=3600)


def main():
    show = "--show" in sys.argv
    wine_env.WORK.mkdir(parents=True, exist_ok=True)
    print("Making a sandbox Wine prefix in", wine_env.prefix_dir(), "...")
    e2e_fixture.cleanup()
    if show:
        if not os.environ.get("DISPLAY"):
            raise SystemExit("--show needs DISPLAY")
        (wine_env.WORK / "display").write_text(os.environ["DISPLAY"])
    else:
        e2e_fixture.start_display()
    try:
        e2e_fixture.make_prefix()
        wine_env.remove_record()
        wine_env.remove_android_studio()
        silent_demo()
        if show:
            show_on_own_display()
        else:
            screenshot_dialog()
            interactive_demo()
    finally:
        e2e_fixture.cleanup()


if __name__ == "__main__":
    main()
