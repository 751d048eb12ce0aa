"""The end-to-end rows that harness.py runs: what only the real Windows API shows
(registry views, the shell's copy and delete, links, message boxes, the dialog,
the folder browser, the installers). The logic behind them is covered by the
native unit tests.

A row is a dict; every key but name is optional:
  name     what the row shows
  reg      {(key, view): {value name: value}} under HKLM\\SOFTWARE, view 32 or 64; a
           str is REG_SZ, Expand(str) REG_EXPAND_SZ. The record and Android Studio
           keys are removed from both views first.
  files    {root: [entries]}: files holding "content of <entry>", folders ending
           in \\, and Linux symlinks "<entry>@<C:\\ path>". What a row makes in the
           prefix goes when the next one starts.
  args     the command line of C:\\Setup\\Quorvane.exe (its payload beside it); or
  command  a whole Windows command line run instead (a setup program, say).
           The run must exit with status 0.
  before   Python calls and Windows command lines (to complete with status 0)
           that arrange the row once files and registry are in place
  held     files held open without sharing while it runs, or RUN_LOCK: the program's
           run lock (its holders are killed when the row's program ends)
  small    True: the row uses F:, a 4 MB drive (skipped where it cannot be mounted)
  steps    what the user does and sees while it runs, in order:
             ("box", part of its text[, buttons "OK Cancel"[, press "Cancel"]]):
                 a message box captioned Quorvane v3.1 with those buttons; press one
             ("click", id)      a control of the main dialog
             ("pick", path or None to cancel[, title])  in the folder browser
             ("state", {"off": ids disabled, "checked": ids, id: text})  what the
                 main dialog shows, as far as given
             ("run", switch, ...)  C:\\Setup\\Quorvane.exe run beside it, to end with 0
             ("waits", seconds, folder)  it runs on that long, the folder untouched
             ("release",)  the holders of held are killed
             ("appears", path)  it runs on until the path appears
             ("unmoved", folders)  another program's rename of each is refused
  kill     a path: the program is killed by its pid once it appears (no exit status)
  after    command lines of C:\\Setup\\Quorvane.exe run next, each to complete with 0,
           or Python calls that check what is there
  trees    {folder: entries} after the run: its files, links (@) and empty folders
           (\\); None: the folder is missing
  kept     files or folders whose files must keep every byte (decoys)
  record   the record after the run in the view that the exe sees, {name: value}
           typed as in reg; None: no key. The other view's record must be unchanged.
  only     32 or 64: the row runs with that build alone (others are shown skipped)
"""
import re
import shutil
import subprocess
from pathlib import Path

from harness import BIN, BITS, OTHER_VIEW, PAYLOAD, PRISTINE, RECORD, RUN_LOCK, STUDIO, VIEW, \
    Expand, check, drive, finish, host, make_files, start

SILENT, E, KEEP, NI = ["-install", "-silence"], "C:\\envs\\", ["keep.jar"], "Not installed!"
ECLIPSE, IDEA, ADDON = map(PAYLOAD.get, ("plugins\\Eclipse", "plugins\\IntelliJ IDEA", "add-ons"))
CORE, AO = "com.parvex.eclipse.core_3.1.0", "addon-parvex-3.1"
UI = "com.parvex.eclipse.ui_3.1.0.jar"
ADT_PAYLOAD = ["eclipse\\plugins\\" + e for e in ECLIPSE] + ["sdk\\add-ons\\" + e for e in ADDON]
VALID_ADT = ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar", "sdk\\platform-tools\\adb.exe"]
# With an older entry of a payload name, and an add-on folder of its own.
WITH_OLD = VALID_ADT + ["eclipse\\plugins\\%s\\old.txt" % CORE, "sdk\\add-ons\\"]


# The control ids by the names that resources/resource_ids.h gives them (IDC_INTEGRATE, ...).
IDS = {name: int(value) for name, value in re.findall(r"#define (ID\w+) +(\d+)", (Path(
    __file__).parents[2] / "resources" / "resource_ids.h").read_text())}
globals().update(IDS)


def ids(*prefixes):  # the ids whose names start with one of the prefixes
    return {number for name, number in IDS.items() if name.startswith(prefixes)}


def rec(**values):  # the record in the exe's view
    return {(RECORD, VIEW): values}


ADT_REC, EXPANDED = rec(ADTRootFolder=E + "adt"), Expand("%SystemDrive%\\envs\\adt")
# The boxes, by a part of their text (the unit tests hold the whole texts).
INTRO = ("box", "will install Parvex for Android components into the preferred", "OK Cancel")
DONE, FAILED = ("box", "with Parvex for Android successfully!"), ("box", "not been integrated")
# The main dialog at start with an ADT Bundle recorded and no Android Studio: the lines
# of the other kinds in both groups are off, and so is the Android Studio radio.
ADT_START = ("state", {"off": ids("IDC_OLD_STUDIO_", "IDC_OLD_STANDALONE_", "IDC_OLD_ECLIPSE_",
                                  "IDC_OLD_SDK_", "IDC_NEW_STUDIO_", "IDC_NEW_ECLIPSE_",
                                  "IDC_NEW_SDK_"),
                       "checked": {IDC_NEW_ADT_RADIO}, IDC_OLD_ADT_ROOT_EDIT: E + "adt",
                       IDC_NEW_ADT_ROOT_EDIT: "", IDC_OLD_STUDIO_PATH_EDIT: NI,
                       IDC_NEW_STUDIO_SDK_EDIT: NI})


ELSEWHERE = ["d\\i.txt", "f.jar"]  # where the links lead, in C:\\out
COMPUTER = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"  # not a file-system folder: no OK, Cancel


def holds_payload(path, payload):  # an after-check: the file at path is the payload's, byte for byte
    return lambda: check(path, host(path).read_bytes(), host("C:\\Setup\\" + payload).read_bytes())


def hard_link(path, to):  # a before-step: path becomes another name of the file at to
    def make():
        host(path).unlink()
        host(path).hardlink_to(host(to))
    return make


def set_aside(path):  # an after-check: a killed run left path's entry set aside, midway:
    folder, _, name = path.rpartition("\\")  # in slot N of the target's staging, marked N+NAME
    staging = host(folder + "\\.quorvane")
    return lambda: check("the slots of %s" % path, [(staging / m.name.split("+")[0]).exists()
                                                    for m in staging.glob("*+" + name)], [True])


def settled(root):  # an after-check: no staging folder is left below root
    return lambda: check("staged below " + root, [str(p) for p in host(root).rglob("*")
                                                   if p.name.lower() == ".quorvane"], [])


def integrate_again(root):  # an after-step: the next Integrate of an ADT Bundle at root
    def run():  # a program left running by a failure here is ended with the row
        program = start(["C:\\Setup\\Quorvane.exe", "-install"])
        drive([INTRO, ("click", IDC_NEW_ADT_BROWSE), ("pick", root), ("click", IDC_INTEGRATE), DONE])
        check("exit status", finish(program), 0)
    return run


BULK = ["%s\\bulk\\%04d.txt" % (AO, i) for i in range(2000)]


def bulk_payload():  # an add-on of 2000 files, whose copy takes long enough to be killed in
    make_files("C:\\Setup\\add-ons", BULK)


UI_32 = UI.replace("3.1", "3.2")


def next_version():  # 3.2's payload, under other top-level names, takes the place of 3.1's
    for folder, entries in PAYLOAD.items():
        shutil.rmtree(host("C:\\Setup\\" + folder))
        make_files("C:\\Setup\\" + folder, [e.replace("3.1", "3.2") for e in entries])


# An add-on file whose path in C:\\envs\\adt\\sdk\\add-ons is 245 characters long.
DEEP = AO + "\\" + ("d" * 49 + "\\") * 4 + "f.db"


def big_payload():  # more than the small drive F: holds
    host("C:\\Setup\\add-ons\\%s\\big.bin" % AO).write_bytes(bytes(5 << 20))


def failing_integrate(root):  # a new ADT Bundle picked, the clean box checked, Integrate failing
    return [INTRO, ("click", IDC_NEW_ADT_BROWSE), ("pick", root), ("click", IDC_CLEAN_CHECK),
            ("click", IDC_INTEGRATE), FAILED, ("click", IDCANCEL)]


ROWS = [
    dict(name="usage: an empty command line", steps=[("box", "Usage: Quorvane [-install")]),
    # Each entry is replaced whole: what an earlier install left, stale files and all, goes
    # (nothing is copied onto an existing folder, which Wine 8 would nest as x\x).
    # An older file that is a hard link keeps its other name's content.
    dict(name="silent ADT over an earlier install, its root REG_EXPAND_SZ: replaced whole",
         files={E + "adt": ADT_PAYLOAD + ["eclipse\\plugins\\other.jar",
                                          "eclipse\\plugins\\%s\\stale.txt" % CORE],
                "C:\\out": ELSEWHERE},
         before=[hard_link(E + "adt\\eclipse\\plugins\\" + UI, "C:\\out\\f.jar")], kept=["C:\\out"],
         args=SILENT, reg=rec(ADTRootFolder=EXPANDED), record=dict(ADTRootFolder=EXPANDED),
         trees={E + "adt\\eclipse\\plugins": ECLIPSE + ["other.jar"],
                E + "adt\\sdk\\add-ons": ADDON}),
    # DeleteFileW refuses read-only files, and Wine's shell delete too; a rename does not.
    dict(name="update: a read-only older payload file is replaced silently, then uninstalled",
         reg=ADT_REC, files={E + "adt": VALID_ADT + ["eclipse\\plugins\\" + UI]},
         before=[["attrib", "+r", E + "adt\\eclipse\\plugins\\" + UI]], args=SILENT,
         after=[holds_payload(E + "adt\\eclipse\\plugins\\" + UI, "plugins\\Eclipse\\" + UI),
                ["-uninstall"]],
         trees={E + "adt\\eclipse\\plugins": KEEP, E + "adt\\sdk\\add-ons": []}),
    dict(name="safety: an ADT record naming a plain folder creates nothing in it", args=SILENT,
         reg=rec(ADTRootFolder=E + "plain"), files={E + "plain": ["readme.txt"]},
         trees={E + "plain": ["readme.txt"]}),
    # Killed in the middle of the add-on's copy (after the plug-ins arrived): the next run
    # of any kind first brings back what the killed run set aside, by its journal (the
    # next version's payload has other names), then does its own work.
    *(dict(name="kill: a silent install of 3.1 killed during its copy, then " + what, reg=ADT_REC,
           files={E + "adt": WITH_OLD}, before=[bulk_payload], args=SILENT,
           kill=E + "adt\\sdk\\add-ons\\%s\\bulk" % AO,
           after=[set_aside(E + "adt\\eclipse\\plugins\\" + CORE), *then], **ends)
      for what, then, ends in (
          ("-install -silence", [SILENT], dict(trees={E + "adt\\eclipse\\plugins": KEEP + ECLIPSE,
                                                      E + "adt\\sdk\\add-ons": BULK + ADDON})),
          ("-uninstall", [["-uninstall"]], dict(trees={E + "adt\\eclipse\\plugins": KEEP,
                                                       E + "adt\\sdk\\add-ons": []})),
          ("3.2's install and its uninstall: the environment as it was",
           [next_version, SILENT, holds_payload(E + "adt\\eclipse\\plugins\\" + UI_32,
                                                "plugins\\Eclipse\\" + UI_32), ["-uninstall"]],
           dict(trees={E + "adt": WITH_OLD}, kept=[E + "adt"])))),
    # A run holds each folder it works in without delete sharing, from its checks to its end:
    # the targets (while the add-on folder is missing, its parent) and the payloads, so that
    # none is swapped between the checks and the copy. Tried while the plug-ins, then the
    # add-on, are copied (the add-on payload is tried before its copy lists it, which holds it
    # too). Wine 8 refuses only the held folder's own rename; Windows refuses its parents' too.
    dict(name="safety: a held target or payload folder cannot be renamed while the run works in it",
         reg=ADT_REC, files={E + "adt": VALID_ADT}, args=SILENT,
         before=[bulk_payload, lambda: make_files("C:\\Setup\\plugins\\Eclipse", BULK)],
         steps=[("appears", E + "adt\\eclipse\\plugins\\%s\\bulk" % AO),
                ("unmoved", E + "adt\\eclipse\\plugins", E + "adt\\sdk", "C:\\Setup\\add-ons"),
                ("appears", E + "adt\\sdk\\add-ons\\%s\\bulk" % AO),
                ("unmoved", E + "adt\\sdk\\add-ons")],
         trees={E + "adt\\eclipse\\plugins": KEEP + ECLIPSE + BULK,
                E + "adt\\sdk\\add-ons": BULK + ADDON}),
    # Only a file system that tells case apart (Wine's here; Windows' does not) holds two payload
    # names that differ only in case, of which one would replace the other in the target. The
    # run is refused before any change, though only the add-on payload holds the two.
    dict(name="safety: payload names that differ only in case are refused before any change",
         reg=ADT_REC, files={E + "adt": WITH_OLD, "C:\\Setup\\add-ons": [AO.upper() + "\\x.ini"]},
         args=SILENT, kept=[E + "adt"], trees={E + "adt": WITH_OLD}),
    # The deep file's path leaves no room for a longer name on the way: its entry is set aside
    # and removed through the staging folder, whose paths are shorter.
    dict(name="update: a deep add-on, reinstalled and then removed", reg=ADT_REC,
         files={E + "adt": VALID_ADT}, before=[lambda: make_files("C:\\Setup\\add-ons", [DEEP])],
         args=SILENT, trees={E + "adt\\eclipse\\plugins": KEEP, E + "adt\\sdk\\add-ons": []},
         after=[SILENT, holds_payload(E + "adt\\sdk\\add-ons\\" + DEEP, "add-ons\\" + DEEP),
                settled(E + "adt"), ["-uninstall"]]),
    # One run at a time, but the dialog holds the run lock only while it integrates: standing
    # open, it keeps no installer waiting.
    *(dict(name="lock: " + what, reg=ADT_REC, files={E + "adt": VALID_ADT}, args=args, held=held,
           steps=steps, trees={E + "adt\\eclipse\\plugins": KEEP + ECLIPSE,
                               E + "adt\\sdk\\add-ons": ADDON})
      for what, args, held, steps in (
          ("a dialog left open beside -install -silence, which ends", ["-install"], [],
           [INTRO, ADT_START, ("run", *SILENT), ("click", IDCANCEL)]),
          ("a second run really waits for the first", SILENT, [RUN_LOCK],
           [("waits", 5, E + "adt"), ("release",)]))),
    dict(name="silent: the record from the exe's own view, Android Studio's key from the 64-bit "
         "one",
         files={E + "new-studio": ["plugins\\"], E + "new-studio-sdk": ["platform-tools\\"],
                E + "adt": ["eclipse\\plugins\\", "sdk\\"], E + "as32": ["plugins\\"]},
         reg={**rec(AndroidStudioPath=E + "old"),
              (RECORD, OTHER_VIEW): {"ADTRootFolder": E + "adt"},
              (STUDIO, 64): {"Path": E + "new-studio", "SdkPath": E + "new-studio-sdk"},
              (STUDIO, 32): {"Path": E + "as32", "SdkPath": E + "as32"}}, args=SILENT,
         trees={E + "new-studio\\plugins": IDEA, E + "new-studio-sdk\\add-ons": ADDON,
                E + "adt": ["eclipse\\plugins\\", "sdk\\"], E + "as32": ["plugins\\"]}),
    # The program's own folder as the SDK root: its add-on target is the payload, so the
    # environment is left alone whole.
    *(dict(name="uninstall: " + what, args=["-uninstall"],
           reg=rec(EclipseRootFolder=E + "eclipse", SDKRootFolder=sdk),
           files={E + "eclipse\\plugins": ECLIPSE + ["other.jar", CORE + ".bak",
                                                CORE + "\\own"], E + "sdk": ["add-ons\\"]},
           trees={E + "eclipse\\plugins": left, "C:\\Setup\\add-ons": ADDON})
      for what, sdk, left in (
          ("exactly the payload-named entries, whole", E + "sdk", ["other.jar", CORE + ".bak"]),
          ("the program's own folder as the SDK root: the environment left alone whole",
           "C:\\Setup", ECLIPSE + ["other.jar", CORE + ".bak", CORE + "\\own"]))),
    dict(name="confirmation Cancel: no dialog, no uninstall", files={E + "adt": ADT_PAYLOAD},
         reg=ADT_REC, args=["-install", "-uninstall"], steps=[INTRO + ("Cancel",)], kept=[E]),
    dict(name="confirmation OK: the dialog at start shows the ADT record, then the uninstall",
         files={E + "adt": ADT_PAYLOAD}, reg=ADT_REC, args=["-install", "-uninstall"],
         steps=[INTRO, ADT_START, ("click", IDCANCEL)],
         trees={E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\"]}),
    dict(name="browse: Integrate refused, a folder not valid, no OK outside the file system; then "
         "standalone picked and integrated: the ADT record rewritten", reg=ADT_REC,
         files={E + "eclipse": ["eclipse.exe", "plugins\\keep.jar"], E + "no-adt": ["eclipse\\"],
                E + "sdk": ["platform-tools\\adb.exe"]}, args=["-install"],
         steps=[INTRO, ("click", IDC_INTEGRATE), ("box", "select a valid ADT root folder first!"),
                FAILED, ("click", IDC_NEW_ADT_BROWSE), ("pick", E + "no-adt"),
                ("box", 'The folder "%sno-adt" is not a valid ADT root folder!' % E),
                ("click", IDC_NEW_ADT_BROWSE), ("pick", COMPUTER),
                ("box", "select a valid ADT root folder!"), ("click", IDC_NEW_STANDALONE_RADIO),
                ("click", IDC_NEW_ECLIPSE_BROWSE),
                ("pick", E + "eclipse", "Select the Eclipse root folder:"),
                ("click", IDC_NEW_SDK_BROWSE),
                ("pick", E + "sdk", "Select the Android SDK root folder:"),
                ("click", IDC_INTEGRATE), DONE],
         trees={E + "eclipse\\plugins": ECLIPSE + KEEP, E + "sdk\\add-ons": ADDON},
         record=dict(AndroidStudioPath="", AndroidStudioSDKPath="", ADTRootFolder="",
                     EclipseRootFolder=E + "eclipse", SDKRootFolder=E + "sdk")),
    # Wine's shell delete follows links below a folder, so they must go first as the
    # links themselves. Under Wine 8 RemoveDirectoryW cannot remove a folder link and
    # a file link shows as a plain file, so the links stay here; on Windows they go.
    # Their targets stay whole either way.
    dict(name="safety: payload-named links, and links below a payload-named folder, are never "
         "followed", reg=ADT_REC, args=["-uninstall"], kept=["C:\\out"],
         files={E + "adt\\eclipse\\plugins": [CORE + "@C:\\out\\d", UI + "@C:\\out\\f.jar"],
                E + "adt\\sdk\\add-ons\\" + AO: ["own.txt", "d@C:\\out\\d", "f@C:\\out\\f.jar"],
                "C:\\out": ELSEWHERE},
         trees={E + "adt\\eclipse\\plugins": [CORE + "@", UI + "@"],
                E + "adt\\sdk\\add-ons\\" + AO: ["d@", "f@", "own.txt"]}),
    # Device and namespace paths: the shell reports success for some without a copy.
    *(dict(name="safety: a device or namespace path root reaches nothing: " + root,
           files={where: ADT_PAYLOAD}, reg=rec(ADTRootFolder=root), kept=[where + "\\eclipse",
           where + "\\sdk"], args=["-install", "-uninstall", "-silence"])
      for root, where in (("\\\\.\\C:", "C:"), ("\\\\.\\C:\\envs\\adt", E + "adt"),
                          ("\\\\?\\C:\\envs\\adt", E + "adt"))),
    # Wine resolves the Cyrillic case and the "." and ".." spellings to the
    # folder browsed, as Windows does: the clean step must see one folder.
    *(dict(name="safety: clean keeps the same folder spelt " + recorded, args=["-install"],
           files={E + "пример": VALID_ADT, E + "i\\adt": VALID_ADT},
           reg=rec(ADTRootFolder=recorded), trees={browsed: VALID_ADT + ADT_PAYLOAD},
           steps=[INTRO, ("click", IDC_NEW_ADT_BROWSE), ("pick", browsed),
                  ("click", IDC_CLEAN_CHECK), ("click", IDC_INTEGRATE), DONE])
      for recorded, browsed in ((E + "ПРИМЕР", E + "пример"), (E + "i\\x\\..\\adt", E + "i\\adt"),
                                (E + "i\\.\\adt", E + "i\\adt"))),
    # Android Studio whose plugins is a file, or found at a namespace path:
    # the shell reports success for both under Wine; the copy did not arrive.
    *(dict(name="safety: a copy that did not arrive is a failure (%s)" % path, args=["-install"],
           files={E + "studio": ["plugins"], E + "studio-sdk": ["platform-tools\\adb.exe"]},
           reg={**ADT_REC, (STUDIO, 64): {"Path": path, "SdkPath": E + "studio-sdk"}},
           record=dict(ADTRootFolder=E + "adt"), trees={E + "studio-sdk\\add-ons": None},
           steps=[INTRO, ("state", {"checked": {IDC_NEW_STUDIO_RADIO},
                                    IDC_NEW_STUDIO_PATH_EDIT: path}),
                  ("click", IDC_INTEGRATE), FAILED, ("click", IDCANCEL)])
      for path in (E + "studio", "\\\\?\\C:\\envs\\studio")),
    # A copy never writes through a link in a target. On Windows the links go as the links
    # themselves and the payload takes their place; under Wine 8 they cannot be removed so
    # (see above), and their entries fail untouched. Where they lead keeps every byte.
    dict(name="safety: a copy never writes through a link in a target", reg=ADT_REC, args=SILENT,
         files={E + "adt\\eclipse\\plugins": [CORE + "@C:\\out\\d", UI + "@C:\\out\\f.jar"],
                E + "adt\\sdk\\add-ons\\" + AO: ["own.txt", "libs@C:\\out\\d"],
                "C:\\out": ELSEWHERE},
         kept=["C:\\out"], trees={E + "adt\\eclipse\\plugins": [CORE + "@", UI + "@"]}),
    # A failed Integrate leaves the new environment as it was, and the recorded one is not
    # cleaned: a full drive, a payload file that cannot be read, a target file that cannot be
    # written (the old bundle's payload then goes with a later -uninstall).
    # An Integrate killed in its copy into an environment that the record does not name.
    *(dict(name="kill: an Integrate killed during its copy, then " + what, reg=ADT_REC,
           files={E + "adt": VALID_ADT + ADT_PAYLOAD, E + "new": WITH_OLD}, before=[bulk_payload],
           args=["-install"], kill=E + "new\\sdk\\add-ons\\%s\\bulk" % AO,
           steps=[INTRO, ("click", IDC_NEW_ADT_BROWSE), ("pick", E + "new"), ("click", IDC_INTEGRATE)],
           after=[set_aside(E + "new\\eclipse\\plugins\\" + CORE), then], **ends)
      for what, then, ends in (
          ("the next Integrate into it", integrate_again(E + "new"),
           dict(trees={E + "new\\eclipse\\plugins": KEEP + ECLIPSE,
                       E + "new\\sdk\\add-ons": BULK + ADDON},
                record=dict(AndroidStudioPath="", AndroidStudioSDKPath="", ADTRootFolder=E + "new",
                            EclipseRootFolder="", SDKRootFolder=""))),
          ("-uninstall: that environment as it was, the recorded one's payload removed",
           ["-uninstall"], dict(trees={E + "new": WITH_OLD,
                                       E + "adt": VALID_ADT + ["sdk\\add-ons\\"]}, kept=[E + "new"])))),
    dict(name="safety: a full drive fails the Integrate and leaves nothing on it", small=True,
         files={E + "adt": VALID_ADT + ADT_PAYLOAD, "F:\\adt": VALID_ADT}, reg=ADT_REC,
         before=[big_payload], args=["-install"], steps=failing_integrate("F:\\adt"),
         kept=[E + "adt"], trees={"F:\\adt": VALID_ADT}, record=dict(ADTRootFolder=E + "adt")),
    dict(name="safety: a payload file held open fails the Integrate", reg=ADT_REC,
         files={E + "adt": VALID_ADT + ADT_PAYLOAD, E + "new": VALID_ADT},
         held=["C:\\Setup\\add-ons\\%s\\libs\\parvex.jar" % AO], args=["-install"],
         steps=failing_integrate(E + "new"), kept=[E + "adt"], trees={E + "new": VALID_ADT},
         record=dict(ADTRootFolder=E + "adt")),
    # Entries there before a failed Integrate stay byte for byte: a folder the payload also
    # has, an older file, a file where the payload has a folder, in another case.
    dict(name="safety: a failed Integrate leaves pre-existing payload-named entries as they were",
         files={E + "adt": VALID_ADT + ADT_PAYLOAD,
                E + "new": VALID_ADT + ["eclipse\\plugins\\%s\\old.txt" % CORE,
                                        "eclipse\\plugins\\" + UI, "sdk\\add-ons\\" + AO.upper()]},
         reg=ADT_REC, held=["C:\\Setup\\add-ons\\%s\\libs\\parvex.jar" % AO], args=["-install"],
         steps=failing_integrate(E + "new"), kept=[E + "adt", E + "new"],
         trees={E + "new": VALID_ADT + ["eclipse\\plugins\\%s\\old.txt" % CORE,
                                        "eclipse\\plugins\\" + UI, "sdk\\add-ons\\" + AO.upper()]},
         record=dict(ADTRootFolder=E + "adt")),
    dict(name="safety: a target file held open fails the Integrate; no orphan after -uninstall",
         files={E + "adt": VALID_ADT + ADT_PAYLOAD,
                E + "new": VALID_ADT + ["eclipse\\plugins\\" + UI]},
         reg=ADT_REC, held=[E + "new\\eclipse\\plugins\\" + UI], args=["-install"],
         steps=failing_integrate(E + "new"), after=[["-uninstall"]],
         trees={E + "new": VALID_ADT + ["eclipse\\plugins\\" + UI],
                E + "adt": VALID_ADT + ["sdk\\add-ons\\"]}),
    # No target inside the payload: by the record, silently, and in the folder browser.
    dict(name="safety: an ADT root inside the payload is refused", kept=["C:\\Setup"], args=SILENT,
         reg=rec(ADTRootFolder="C:\\Setup\\plugins\\Eclipse\\" + CORE)),
    dict(name="safety: an SDK root inside the payload is refused, the environment whole",
         files={E + "eclipse": ["eclipse.exe", "plugins\\keep.jar"]}, kept=["C:\\Setup"],
         reg=rec(EclipseRootFolder=E + "eclipse", SDKRootFolder="C:\\Setup\\add-ons\\" + AO),
         args=SILENT, trees={E + "eclipse\\plugins": KEEP}),
    dict(name="safety: an SDK root inside the payload is not valid in the browser",
         files={"C:\\Setup\\add-ons\\" + AO: ["platform-tools\\adb.exe"]}, kept=["C:\\Setup"],
         args=["-install"], steps=[INTRO, ("click", IDC_NEW_STANDALONE_RADIO),
                                   ("click", IDC_NEW_SDK_BROWSE),
                                   ("pick", "C:\\Setup\\add-ons\\" + AO),
                                   ("box", "is not a valid Android SDK root folder!"),
                                   ("click", IDCANCEL)]),
    dict(name="safety: a root spelt with .. creates no folder it names on the way", args=SILENT,
         files={E + "adt": VALID_ADT}, reg=rec(ADTRootFolder=E + ".\\x\\..\\adt"),
         trees={E + "x": None, E + "adt": VALID_ADT + ADT_PAYLOAD}),
]


def dist():
    """The guide's NSIS script (for the 32-bit build) and WiX source, built in C:\\dist with
    the small payload that parvex.wxs lists, once a run: the folder stays for the rows after.
    For the 64-bit build, the MSI is the source's 64-bit form: 64-bit components, which
    write the record in the 64-bit view, in the 64-bit Program Files."""
    if "dist" not in PRISTINE:
        shutil.copytree(Path(__file__).parents[2] / "docs" / "installers", host("C:\\dist"))
        shutil.copy(BIN / "Quorvane.exe", host("C:\\dist"))
        make_files("C:\\dist", ["plugins\\Eclipse\\" + UI, "add-ons\\%s\\manifest.ini" % AO,
                                "plugins\\IntelliJ IDEA\\parvex-studio\\plugin.xml"])
        wxs = host("C:\\dist\\parvex.wxs")
        if BITS == 64:
            wxs.write_text(wxs.read_text().replace("ProgramFilesFolder", "ProgramFiles64Folder")
                           .replace("<Component ", '<Component Win64="yes" '))
        commands = [["wixl", "-a", "x86" if BITS == 32 else "x64", "-o", "parvex.msi", wxs.name]]
        for command in commands + [["makensis", "-V2", "parvex.nsi"]] * (BITS == 32):
            subprocess.run(command, cwd=host("C:\\dist"), check=True, timeout=120)
        PRISTINE.append("dist")


# The SDK's installers as clients, built from the guide's examples: each installs into a
# sample ADT Bundle, and its uninstaller takes the payload out again and keeps the bundle's
# own files.
BUNDLE = "C:\\Android\\adt-bundle-windows-x86"  # the one in parvex-record.reg
OWN = ["eclipse\\eclipse.exe", "eclipse\\plugins\\org.eclipse.core_3.8.jar",
       "sdk\\platform-tools\\adb.exe"]
IN = {BUNDLE + "\\eclipse\\plugins": [UI, "org.eclipse.core_3.8.jar"],
      BUNDLE + "\\sdk\\add-ons": [AO + "\\manifest.ini"]}
OUT = {BUNDLE + "\\eclipse\\plugins": ["org.eclipse.core_3.8.jar"], BUNDLE + "\\sdk\\add-ons": []}
# The NSIS stub is 32-bit code, and the guide's .reg file writes the 32-bit view: both
# are for the shipped 32-bit build. The MSI has a form for each build.
SETUPS = {"NSIS": (["C:\\dist\\parvex-setup.exe", "/S", "/ADT=" + BUNDLE, "/D=C:\\Parvex"],
                   # _?= runs the uninstaller in place, so that it ends when it is done;
                   # it cannot remove itself then.
                   ["C:\\Parvex\\uninstall.exe", "/S", "_?=C:\\Parvex"],
                   {"C:\\Parvex": ["uninstall.exe"]}, 32),
          "MSI": (["msiexec", "/i", "C:\\dist\\parvex.msi", "/qn", "ADTROOT=" + BUNDLE],
                  ["msiexec", "/x", "C:\\dist\\parvex.msi", "/qn"],
                  {"C:\\Program Files%s\\Parvex for Android" % (" (x86)" * (BITS == 32)): None},
                  BITS)}
KEPT = [BUNDLE + "\\eclipse\\eclipse.exe", BUNDLE + "\\sdk\\platform-tools"]
ROWS += [dict(name="installer: %s setup" % kind, files={BUNDLE: OWN}, before=[dist],
              command=setup, trees=IN, kept=KEPT, only=bits)
         for kind, (setup, _, _, bits) in SETUPS.items()]
ROWS += [dict(name="installer: %s uninstall" % kind, files={BUNDLE: OWN}, before=[dist, setup],
              command=remove, record=None, trees=dict(OUT, **left), kept=KEPT, only=bits)
         for kind, (setup, remove, left, bits) in SETUPS.items()]
ROWS.append(dict(name="installer: the guide's .reg record integrates", files={BUNDLE: OWN},
                 before=[dist, ["regedit", "/s", "C:\\dist\\parvex-record.reg"]], args=SILENT,
                 trees={BUNDLE + "\\eclipse\\plugins": ECLIPSE + ["org.eclipse.core_3.8.jar"]},
                 only=32))
