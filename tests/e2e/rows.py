"""The end-to-end rows that harness.py runs: what only the real Windows API shows
(registry views, the shell's copy and delete, links, message boxes, the dialog,
the folder browser, the progress window). The logic behind them is covered by
the native unit tests.

A row is a dict; every key but name is optional:
  name     what the row shows
  reg      {(key, view): {value name: value}} under HKLM\\SOFTWARE, view 32 or 64; a
           str is REG_SZ, Expand(str) REG_EXPAND_SZ. The record and Android Studio
           keys are removed from both views first.
  files    {root: [entries]}: files holding "content of <entry>", and folders
           ending in \\. What a row makes in the prefix goes when the next one starts.
  links    {link: target}: Linux symlinks to C:\\ paths, made inside drive_c
  args     the command line of C:\\Setup\\Quorvane.exe (its payload beside it); or
  command  a whole Windows command line run instead (a setup program, say).
           The run must exit with status 0.
  before   Python calls and Windows command lines (to complete with status 0)
           that arrange the row once files and registry are in place
  steps    what the user does and sees while it runs, in order:
             ("box", part of its text[, buttons "OK Cancel"[, press "Cancel"]]):
                 a message box captioned Quorvane v3.1 with those buttons; press one
             ("click", id)      a control of the main dialog
             ("close",)         the main dialog's caption close button
             ("pick", path or None to cancel[, title])  in the folder browser
             ("state", {caption: str, off: {ids disabled}, checked: {ids},
                        text: {id: str}})  what the main dialog shows within 10 s
             ("windows", n)     visible top-level windows captioned Quorvane v3.1
             ("trees", {folder: entries})  as below, while the program runs
  trees    {folder: entries} after the run: the files, empty folders (\\) and
           links (@) below it, their folders implied; None: the folder is missing
  kept     files or folders whose files must keep every byte (decoys)
  record   the record in the 32-bit view after the run, {name: value} typed as in
           reg; None: no key; "same": as before the run
"""
import shutil
import subprocess
from pathlib import Path

from harness import PAYLOAD, RECORD, STUDIO, WORK, BIN, Expand, host

REC32, REC64, AS64, AS32 = (RECORD, 32), (RECORD, 64), (STUDIO, 64), (STUDIO, 32)
SILENT, E, KEEP, NI = ["-install", "-silence"], "C:\\envs\\", ["keep.jar"], "Not installed!"
ECLIPSE, IDEA, ADDON = map(PAYLOAD.get, ("plugins\\Eclipse", "plugins\\IntelliJ IDEA", "add-ons"))
CORE, UI = "com.parvex.eclipse.core_3.1.0", "com.parvex.eclipse.ui_3.1.0.jar"
AO = "addon-parvex-3.1"
ADT_PAYLOAD = ["eclipse\\plugins\\" + e for e in ECLIPSE] + ["sdk\\add-ons\\" + e for e in ADDON]
VALID_ADT = ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar", "sdk\\platform-tools\\adb.exe"]


def rec(**values):  # the record in the 32-bit view
    return {REC32: values}


ADT_REC = rec(ADTRootFolder=E + "adt")
# The boxes, by a part of their text (the unit tests hold the whole texts).
INTRO = ("box", "will install Parvex for Android components into the preferred", "OK Cancel")
DONE, FAILED = ("box", "with Parvex for Android successfully!"), ("box", "not been integrated")

# The main dialog's lines of the recorded environment and of the new one, by kind.
OLD = {"studio": {1030, 1021, 1022, 1023, 1024}, "adt": {1032, 1017, 1002},
       "standalone": {1031, 1018, 1012, 1019, 1013}}
NEW = {"studio": {1025, 1026, 1027, 1028}, "adt": {1014, 1003, 1001},
       "standalone": {1015, 1010, 1008, 1016, 1011, 1009}}
RADIO = {"studio": 1020, "adt": 1006, "standalone": 1007}


def at_start(recorded, selected, text):
    """The whole dialog at start: only the recorded kind's and the selection's
    lines are on; text: the edit fields that are not empty."""
    off = set().union(*(OLD[k] for k in OLD if k != recorded),
                      *(NEW[k] for k in NEW if k != selected), {1020} - {RADIO[selected]})
    edits = dict.fromkeys((1001, 1002, 1008, 1009, 1012, 1013, 1022, 1024, 1026, 1028), "")
    return ("state", dict(caption="Quorvane v3.1", off=off, checked={RADIO[selected]},
                          text={**edits, **text}))


# New environments hold no payload yet: Wine 8's SHFileOperationW copying folder
# x onto an existing x nests it as x\x, where Windows merges.
NEW_FILES = {E + "new-eclipse": ["eclipse.exe", "plugins\\keep.jar"],
             E + "new-sdk": ["platform-tools\\adb.exe"]}
FOUND = {AS64: {"Path": E + "new-studio", "SdkPath": E + "new-studio-sdk"}}
STANDALONE = [("click", 1007), ("click", 1010),  # the radio, and both Browse buttons
              ("pick", E + "new-eclipse", "Select the Eclipse root folder:"), ("click", 1011),
              ("pick", E + "new-sdk", "Select the Android SDK root folder:")]


def nested(entries):  # what a copy of entries onto themselves adds under Wine
    return [e.split("\\")[0] + "\\" + e for e in entries if "\\" in e]


ROWS = [
    dict(name="usage: an empty command line", steps=[("box", "Usage: Quorvane [-install")]),
    # Windows merges a copy into what an earlier install left; Wine 8 nests it as x\x.
    dict(name="silent ADT over an earlier install: copied without a question; nested by Wine",
         files={E + "adt": ADT_PAYLOAD + ["eclipse\\plugins\\other.jar"]}, reg=ADT_REC,
         args=SILENT, record="same",
         trees={E + "adt\\eclipse\\plugins": ECLIPSE + nested(ECLIPSE) + ["other.jar"],
                E + "adt\\sdk\\add-ons": ADDON + nested(ADDON)}),
    dict(name="silent: the record from the 32-bit view, Android Studio's key from the 64-bit one",
         files={E + "new-studio": ["plugins\\"], E + "new-studio-sdk": ["platform-tools\\"],
                E + "adt": ["eclipse\\plugins\\", "sdk\\"], E + "as32": ["plugins\\"]},
         reg={**rec(AndroidStudioPath=E + "old"), REC64: {"ADTRootFolder": E + "adt"}, **FOUND,
              AS32: {"Path": E + "as32", "SdkPath": E + "as32"}}, args=SILENT,
         trees={E + "new-studio\\plugins": IDEA, E + "new-studio-sdk\\add-ons": ADDON,
                E + "adt": ["eclipse\\plugins\\", "sdk\\"], E + "as32": ["plugins\\"]}),
    dict(name="uninstall: exactly the payload-named entries, whole",
         files={E + "adt": ADT_PAYLOAD + [
             "eclipse\\plugins\\other.jar", "sdk\\add-ons\\other\\m.ini",
             "eclipse\\plugins\\%s.bak" % CORE, "sdk\\add-ons\\%s\\mine.txt" % AO]},
         reg=ADT_REC, args=["-uninstall"], trees={E + "adt": [
             "eclipse\\plugins\\other.jar", "eclipse\\plugins\\%s.bak" % CORE,
             "sdk\\add-ons\\other\\m.ini"]}),
    dict(name="confirmation Cancel: no dialog, no uninstall", files={E + "adt": ADT_PAYLOAD},
         reg=ADT_REC, args=["-install", "-uninstall"], steps=[INTRO + ("Cancel",)],
         kept=[E + "adt"]),
    dict(name="confirmation OK: the dialog at start (ADT recorded, no Android Studio), then the "
         "uninstall", files={E + "adt": ADT_PAYLOAD}, reg=ADT_REC, args=["-install", "-uninstall"],
         steps=[INTRO, at_start("adt", "adt", {1002: E + "adt", 1022: NI, 1024: NI, 1026: NI,
                                               1028: NI}),
                ("trees", {E + "adt": ADT_PAYLOAD}), ("click", 2)],
         trees={E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\"]}),
    dict(name="browse: Integrate refused, a folder that is not valid, a cancelled browser",
         files={E + "adt": VALID_ADT, E + "no-adt": ["eclipse\\eclipse.exe"]}, args=["-install"],
         steps=[INTRO, ("click", 1005), ("box", "select a valid ADT root folder first!"), FAILED,
                ("windows", 1),  # the progress window is gone
                ("click", 1003), ("pick", E + "adt"), ("state", dict(text={1001: E + "adt"})),
                ("click", 1003), ("pick", E + "no-adt"),
                ("box", 'The folder "%sno-adt" is not a valid ADT root folder!' % E),
                ("click", 1003), ("pick", None), ("box", "select a valid ADT root folder!"),
                ("state", dict(text={1001: E + "adt"})), ("click", 2)], record=None),
    dict(name="integrate standalone over a recorded Android Studio, clean: the record rewritten",
         files={**NEW_FILES, E + "studio": ["plugins\\keep.jar"] + ["plugins\\" + e for e in IDEA],
                E + "studio-sdk": ["add-ons\\keep.jar"] + ["add-ons\\" + e for e in ADDON]},
         reg={**rec(AndroidStudioPath=E + "studio", AndroidStudioSDKPath=E + "studio-sdk"),
              **FOUND}, args=["-install"],
         steps=[INTRO, *STANDALONE, ("click", 1004), ("click", 1005), DONE],
         trees={E + "new-eclipse\\plugins": ECLIPSE + KEEP, E + "new-sdk\\add-ons": ADDON,
                E + "studio": ["plugins\\keep.jar"], E + "studio-sdk": ["add-ons\\keep.jar"]},
         record=dict(AndroidStudioPath="", AndroidStudioSDKPath="", ADTRootFolder="",
                     EclipseRootFolder=E + "new-eclipse", SDKRootFolder=E + "new-sdk")),
    # The add-on step goes first for a standalone environment from the dialog.
    dict(name="integrate standalone, the add-on target a file: fails before the plug-ins, twice",
         files={**NEW_FILES, E + "new-sdk": ["platform-tools\\adb.exe", "add-ons"]}, reg=ADT_REC,
         args=["-install"], record="same", trees={E + "new-eclipse\\plugins": KEEP},
         steps=[INTRO, *STANDALONE, *2 * [("click", 1005), FAILED, ("windows", 1)],
                ("close",)]),

    # Nothing outside the payload, whatever the spelling, link or root.
    dict(name="safety: a namespace path root is not used (the shell would report success)",
         files={E + "adt": ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar", "sdk\\"]},
         reg=rec(ADTRootFolder="\\\\?\\C:\\envs\\adt"), args=SILENT,
         trees={E + "adt\\eclipse\\plugins": KEEP, E + "adt\\sdk\\add-ons": None}),
    dict(name="safety: REG_EXPAND_SZ is expanded, no literal %SystemDrive% tree",
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\"]}, args=SILENT,
         reg=rec(ADTRootFolder=Expand("%SystemDrive%\\envs\\adt")),
         trees={E + "adt\\sdk\\add-ons": ADDON, "C:\\%SystemDrive%": None}),
    dict(name="safety: a missing root is never built from nothing",
         reg=rec(ADTRootFolder=E + "gone"), args=SILENT, trees={E + "gone": None}),
    dict(name="safety: standalone with its SDK root missing is left alone whole",
         files={E + "eclipse": ["plugins\\keep.jar"]}, args=SILENT,
         reg=rec(EclipseRootFolder=E + "eclipse", SDKRootFolder=E + "no-sdk"),
         trees={E + "eclipse\\plugins": KEEP, E + "no-sdk": None}),
    dict(name="safety: Android Studio without SdkPath is not integrated",
         files={E + "studio": ["plugins\\keep.jar"]}, args=SILENT,
         reg={**rec(AndroidStudioPath=E + "studio"), AS64: {"Path": E + "studio"}},
         trees={E + "studio\\plugins": KEEP}),
    dict(name="safety: the program's own folder as the SDK root keeps its payload",
         files={E + "eclipse": ["plugins\\" + UI]}, args=["-uninstall"],
         reg=rec(EclipseRootFolder=E + "eclipse", SDKRootFolder="C:\\Setup"),
         trees={"C:\\Setup\\add-ons": ADDON, E + "eclipse\\plugins": []}),
    # Under Wine 8 RemoveDirectoryW cannot remove a folder link and a file link
    # shows as a plain file, so both stay here; on Windows the links themselves
    # go. Their targets stay whole either way.
    dict(name="safety: payload-named links are never followed", reg=ADT_REC, args=["-uninstall"],
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\"],
                "C:\\out": ["d\\i.txt", "f.jar"]},
         links={E + "adt\\eclipse\\plugins\\" + CORE: "C:\\out\\d",
                E + "adt\\eclipse\\plugins\\" + UI: "C:\\out\\f.jar",
                E + "adt\\sdk\\add-ons\\" + AO: "C:\\out"}, kept=["C:\\out"],
         trees={E + "adt\\eclipse\\plugins": [CORE + "@", UI + "@"],
                E + "adt\\sdk\\add-ons": [AO + "@"]}),
    # Wine's shell delete follows links below a folder, so they must go first
    # as the links themselves; under Wine 8 they cannot, and the folder stays.
    dict(name="safety: links below a payload-named folder are never followed", reg=ADT_REC,
         args=["-uninstall"], kept=["C:\\out"], files={
             E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\%s\\own.txt" % AO],
             "C:\\out": ["d\\i.txt", "f.jar"]},
         links={E + "adt\\sdk\\add-ons\\%s\\d-link" % AO: "C:\\out\\d",
                E + "adt\\sdk\\add-ons\\%s\\f-link" % AO: "C:\\out\\f.jar"},
         trees={E + "adt\\sdk\\add-ons\\" + AO: ["d-link@", "f-link@", "own.txt"]}),
] + [
    dict(name="safety: a device path root reaches nothing: " + root, files={where: ADT_PAYLOAD},
         reg=rec(ADTRootFolder=root), args=["-install", "-uninstall", "-silence"],
         kept=[where + "\\eclipse", where + "\\sdk"])
    for root, where in (("\\\\.\\C:", "C:"), ("\\\\.\\C:\\envs\\adt", E + "adt"))
] + [
    # Wine resolves the Cyrillic case and the "." and ".." spellings to the
    # folder browsed, as Windows does: the clean step must see one folder.
    dict(name="safety: clean keeps the same folder spelt " + recorded, args=["-install"],
         files={E + "пример": VALID_ADT, E + "i\\adt": VALID_ADT}, reg=rec(ADTRootFolder=recorded),
         steps=[INTRO, ("click", 1003), ("pick", browsed), ("click", 1004), ("click", 1005), DONE],
         trees={browsed + "\\sdk\\add-ons": ADDON, browsed + "\\eclipse\\plugins": ECLIPSE + KEEP})
    for recorded, browsed in ((E + "ПРИМЕР", E + "пример"), (E + "i\\x\\..\\adt", E + "i\\adt"),
                              (E + "i\\.\\adt", E + "i\\adt"))
] + [
    # Android Studio whose plugins is a file, or found at a namespace path:
    # the shell reports success for both under Wine; the copy did not arrive.
    dict(name="safety: a copy that did not arrive is a failure (%s)" % path, args=["-install"],
         files={E + "studio": ["plugins"], E + "studio-sdk": ["platform-tools\\adb.exe"]},
         reg={**rec(ADTRootFolder=E + "old"), AS64: {"Path": path, "SdkPath": E + "studio-sdk"}},
         record="same", trees={E + "studio-sdk\\add-ons": None},
         steps=[INTRO, at_start("adt", "studio", {1002: E + "old", 1026: path,
                                                  1028: E + "studio-sdk"}),
                ("click", 1005), FAILED, ("windows", 1), ("click", 2)])
    for path in (E + "studio", "\\\\?\\C:\\envs\\studio")
]


def dist(built=[]):
    """The guide's NSIS script and WiX source, built once per run with the small payload
    that parvex.wxs lists, in C:\dist."""
    stage = WORK / "installers"
    if not built:
        shutil.rmtree(stage, ignore_errors=True)
        shutil.copytree(Path(__file__).resolve().parents[2] / "docs" / "installers", stage)
        shutil.copy(BIN / "Quorvane.exe", stage)
        for entry in ("plugins/Eclipse/" + UI, "plugins/IntelliJ IDEA/parvex-studio/plugin.xml",
                      "add-ons/%s/manifest.ini" % AO):
            (stage / entry).parent.mkdir(parents=True, exist_ok=True)
            (stage / entry).write_text(entry)
        for command in (["makensis", "-V2", "parvex.nsi"], ["wixl", "-a", "x86", "-o", "parvex.msi",
                                                              "parvex.wxs"]):
            subprocess.run(command, cwd=stage, check=True, timeout=120)
        built.append(stage)
    shutil.copytree(stage, host("C:\\dist"))


# The SDK's installers as clients, built from the guide's examples: each installs into a
# sample ADT Bundle, and its uninstaller takes the payload out again and keeps the bundle's
# own files. An MSI whose custom action ran before InstallFiles ("can't find executable" in
# msiexec's log) integrates nothing: the trees tell.
BUNDLE = "C:\\Android\\adt-bundle-windows-x86"  # the one in parvex-record.reg
OWN = ["eclipse\\eclipse.exe", "eclipse\\plugins\\org.eclipse.core_3.8.jar", "sdk\\platform-tools\\adb.exe"]
IN = {BUNDLE + "\\eclipse\\plugins": [UI, "org.eclipse.core_3.8.jar"],
      BUNDLE + "\\sdk\\add-ons": [AO + "\\manifest.ini"]}
OUT = {BUNDLE + "\\eclipse\\plugins": ["org.eclipse.core_3.8.jar"], BUNDLE + "\\sdk\\add-ons": []}
SETUPS = {"NSIS": (["C:\\dist\\parvex-setup.exe", "/S", "/ADT=" + BUNDLE, "/D=C:\\Parvex"],
                   # _?= runs the uninstaller in place, so that it ends when it is done;
                   # it cannot remove itself then.
                   ["C:\\Parvex\\uninstall.exe", "/S", "_?=C:\\Parvex"], {"C:\\Parvex": ["uninstall.exe"]}),
          "MSI": (["msiexec", "/i", "C:\\dist\\parvex.msi", "/qn", "ADTROOT=" + BUNDLE],
                  ["msiexec", "/x", "C:\\dist\\parvex.msi", "/qn"],
                  {"C:\\Program Files (x86)\\Parvex for Android": None})}
KEPT = [BUNDLE + "\\eclipse\\eclipse.exe", BUNDLE + "\\sdk\\platform-tools"]
ROWS += [dict(name="installer: %s setup" % kind, files={BUNDLE: OWN}, before=[dist], command=setup,
              trees=IN, kept=KEPT) for kind, (setup, _, _) in SETUPS.items()]
ROWS += [dict(name="installer: %s uninstall" % kind, files={BUNDLE: OWN}, before=[dist, setup],
              command=remove, record=None, trees=dict(OUT, **left), kept=KEPT)
         for kind, (setup, remove, left) in SETUPS.items()]
ROWS.append(dict(name="installer: the guide's .reg record integrates", files={BUNDLE: OWN},
                 before=[dist, ["regedit", "/s", "C:\\dist\\parvex-record.reg"]], args=SILENT,
                 trees={BUNDLE + "\\eclipse\\plugins": ECLIPSE + ["org.eclipse.core_3.8.jar"]}))
