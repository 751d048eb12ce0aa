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
from harness import PAYLOAD, RECORD, STUDIO, Expand

REC32, REC64, AS64, AS32 = (RECORD, 32), (RECORD, 64), (STUDIO, 64), (STUDIO, 32)
SILENT, E, KEEP, NI = ["-install", "-silence"], "C:\\envs\\", ["keep.jar"], "Not installed!"
ECLIPSE, IDEA, ADDON = (PAYLOAD[k] for k in ("plugins\\Eclipse", "plugins\\IntelliJ IDEA", "add-ons"))
CORE, UI, AO = "com.parvex.eclipse.core_3.1.0", "com.parvex.eclipse.ui_3.1.0.jar", "addon-parvex-3.1"
ADT_REC = {REC32: {"ADTRootFolder": E + "adt"}}
ADT_PAYLOAD = ["eclipse\\plugins\\" + e for e in ECLIPSE] + ["sdk\\add-ons\\" + e for e in ADDON]

# The boxes, by a part of their text (the unit tests hold the whole texts).
INTRO = ("box", "will install Parvex for Android components into the preferred", "OK Cancel")
DONE = {"studio": "Android Studio has been", "adt": "ADT Bundle has been",
        "standalone": "Android SDK have been"}
FAILED = {"studio": "Android Studio has not been", "adt": "ADT has not been",
          "standalone": "Android SDK have not been"}

# The main dialog's lines of the recorded environment and of the new one, by kind.
OLD = {"studio": {1030, 1021, 1022, 1023, 1024}, "adt": {1032, 1017, 1002},
       "standalone": {1031, 1018, 1012, 1019, 1013}}
NEW = {"studio": {1025, 1026, 1027, 1028}, "adt": {1014, 1003, 1001},
       "standalone": {1015, 1010, 1008, 1016, 1011, 1009}}
RADIO = {"studio": 1020, "adt": 1006, "standalone": 1007}


def at_start(recorded, selected, text):
    """The whole dialog at start: only the recorded kind's and the selection's
    lines are on; text: the edit fields that are not empty."""
    off = set().union(*(OLD[k] for k in OLD if k != recorded), *(NEW[k] for k in NEW if k != selected))
    edits = dict.fromkeys((1001, 1002, 1008, 1009, 1012, 1013, 1022, 1024, 1026, 1028), "")
    return ("state", dict(caption="Quorvane v3.1", off=off | {1020} - {RADIO[selected]},
                          checked={RADIO[selected]}, text={**edits, **text}))


# Environments: "new-" ones hold no payload yet (Wine 8's SHFileOperationW copying
# folder x onto an existing x nests it as x\x, where Windows merges); recorded
# ("rec-") ones hold it beside a file of their own. Per kind: the record's
# values with their folders, and the targets with their payload.
NAMES = {"studio": {"AndroidStudioPath": "studio", "AndroidStudioSDKPath": "studio-sdk"},
         "adt": {"ADTRootFolder": "adt"}, "standalone": {"EclipseRootFolder": "eclipse",
                                                         "SDKRootFolder": "sdk"}}
LAYOUT = {"studio": [("studio\\plugins", IDEA), ("studio-sdk\\add-ons", ADDON)],
          "adt": [("adt\\eclipse\\plugins", ECLIPSE), ("adt\\sdk\\add-ons", ADDON)],
          "standalone": [("eclipse\\plugins", ECLIPSE), ("sdk\\add-ons", ADDON)]}
VALID_ADT = ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar", "sdk\\platform-tools\\adb.exe"]
NEW_FILES = {E + "new-adt": VALID_ADT, E + "new-eclipse": ["eclipse.exe", "plugins\\keep.jar"],
             E + "new-sdk": ["platform-tools\\adb.exe"], E + "new-studio": ["plugins\\keep.jar"],
             E + "new-studio-sdk": ["platform-tools\\adb.exe"]}
FOUND = {AS64: {"Path": E + "new-studio", "SdkPath": E + "new-studio-sdk"}}


def roots(kind, age):
    return {name: E + age + folder for name, folder in NAMES[kind].items()}


def targets(kind, age, keep):  # new add-on folders are made by the run: no keep.jar there
    return {E + age + sub: payload + (KEEP if keep or "plugins" in sub else [])
            for sub, payload in LAYOUT[kind]}


def select(kind):  # the radio, and the Browse buttons with their folders
    browse = {"adt": [(1003, "new-adt", "ADT")],
              "standalone": [(1010, "new-eclipse", "Eclipse"), (1011, "new-sdk", "Android SDK")]}
    return [("click", RADIO[kind])] + [step for button, folder, what in browse.get(kind, []) for step in (
        ("click", button), ("pick", E + folder, "Select the %s root folder:" % what))]


def integrate(selected, recorded, clean, first=()):
    cleaned = clean and not selected == recorded == "studio"  # never in the Android Studio branch
    return dict(name="integrate %s over a recorded %s, %s" % (
                    selected, recorded, "clean" if clean else "no clean"),
                files={**NEW_FILES, **targets(recorded, "rec-", True)},
                reg={REC32: roots(recorded, "rec-"), **FOUND}, args=["-install"],
                steps=[INTRO, *first, *select(selected), *[("click", 1004)] * clean,
                       ("click", 1005), ("box", DONE[selected])],
                trees={**targets(selected, "new-", False), **{
                    t: KEEP if cleaned else p for t, p in targets(recorded, "rec-", True).items()}},
                record={**{n: "" for kind in NAMES for n in NAMES[kind]}, **roots(selected, "new-")})


def nested(entries):  # what a copy of entries onto themselves adds under Wine
    return [e.split("\\")[0] + "\\" + e for e in entries if "\\" in e]


ROWS = [
    dict(name="usage: an empty command line", steps=[("box", "Usage: Quorvane [-install | -uninstall]")]),
    # Windows merges a copy into what an earlier install left; Wine 8 nests it as x\x.
    dict(name="silent ADT over an earlier install: copied without a question; nested by Wine",
         files={E + "adt": ADT_PAYLOAD + ["eclipse\\plugins\\other.jar"]}, reg=ADT_REC, args=SILENT,
         record="same", trees={E + "adt\\eclipse\\plugins": ECLIPSE + nested(ECLIPSE) + ["other.jar"],
                               E + "adt\\sdk\\add-ons": ADDON + nested(ADDON)}),
    dict(name="silent: the record from the 32-bit view, Android Studio's key from the 64-bit one",
         files={E + "new-studio": ["plugins\\"], E + "new-studio-sdk": ["platform-tools\\"], E + "adt": ["eclipse\\plugins\\", "sdk\\"],
                E + "as32": ["plugins\\"]},
         reg={REC32: roots("studio", "rec-"), REC64: {"ADTRootFolder": E + "adt"}, **FOUND,
              AS32: {"Path": E + "as32", "SdkPath": E + "as32"}}, args=SILENT,
         trees={E + "new-studio\\plugins": IDEA, E + "new-studio-sdk\\add-ons": ADDON,
                E + "adt": ["eclipse\\plugins\\", "sdk\\"], E + "as32": ["plugins\\"]}),
    dict(name="uninstall: exactly the payload-named entries, whole",
         files={E + "adt": ADT_PAYLOAD + ["eclipse\\plugins\\other.jar", "eclipse\\plugins\\%s.bak" % CORE,
                                          "sdk\\add-ons\\addon-other\\m.ini", "sdk\\add-ons\\%s\\mine.txt" % AO]},
         reg=ADT_REC, args=["-uninstall"], trees={E + "adt": [
             "eclipse\\plugins\\other.jar", "eclipse\\plugins\\%s.bak" % CORE, "sdk\\add-ons\\addon-other\\m.ini"]}),
    dict(name="confirmation Cancel: no dialog, no uninstall", files={E + "adt": ADT_PAYLOAD},
         reg=ADT_REC, args=["-install", "-uninstall"], steps=[INTRO + ("Cancel",)], kept=[E + "adt"]),
    dict(name="confirmation OK: the dialog at start (ADT recorded, no Android Studio), then the uninstall",
         files={E + "adt": ADT_PAYLOAD}, reg=ADT_REC, args=["-install", "-uninstall"],
         steps=[INTRO, at_start("adt", "adt", {1002: E + "adt", **dict.fromkeys((1022, 1024, 1026, 1028), NI)}),
                ("trees", {E + "adt": ADT_PAYLOAD}), ("click", 2)],
         trees={E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\"]}),
    dict(name="browse: Integrate refused, a folder that is not valid, a cancelled browser",
         files={E + "adt": VALID_ADT, E + "no-adt": ["eclipse\\eclipse.exe"]}, args=["-install"],
         steps=[INTRO, ("click", 1005), ("box", "select a valid ADT root folder first!"),
                ("box", FAILED["adt"]), ("windows", 1),  # the progress window is gone
                ("click", 1003), ("pick", E + "adt"), ("state", dict(text={1001: E + "adt"})),
                ("click", 1003), ("pick", E + "no-adt"),
                ("box", 'The folder "%sno-adt" is not a valid ADT root folder!' % E),
                ("click", 1003), ("pick", None), ("box", "select a valid ADT root folder!"),
                ("state", dict(text={1001: E + "adt"})), ("click", 2)], record=None),
    integrate("standalone", "studio", True), integrate("adt", "standalone", False),
    integrate("studio", "studio", True, first=[at_start("studio", "studio", {
        1022: E + "rec-studio", 1024: E + "rec-studio-sdk", 1026: E + "new-studio",
        1028: E + "new-studio-sdk"})]),
    # The add-on step goes first for a standalone environment from the dialog.
    dict(name="integrate standalone, the add-on target a file: fails before the plug-ins, twice",
         files={**NEW_FILES, E + "new-sdk": ["platform-tools\\adb.exe", "add-ons"]}, reg=ADT_REC,
         args=["-install"], record="same", trees={E + "new-eclipse\\plugins": KEEP},
         steps=[INTRO, *select("standalone"), *2 * [("click", 1005), ("box", FAILED["standalone"]),
                                                    ("windows", 1)], ("close",)]),

    # Nothing outside the payload, whatever the spelling, link or root.
    dict(name="safety: a device path root reaches nothing", files={"C:": ADT_PAYLOAD},
         reg={REC32: {"ADTRootFolder": "\\\\.\\C:"}}, args=["-install", "-uninstall", "-silence"],
         kept=["C:\\eclipse", "C:\\sdk"]),
    dict(name="safety: a namespace path root is not used (the shell would report success)",
         files={E + "adt": ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar", "sdk\\"]},
         reg={REC32: {"ADTRootFolder": "\\\\?\\C:\\envs\\adt"}}, args=SILENT,
         trees={E + "adt\\eclipse\\plugins": KEEP, E + "adt\\sdk\\add-ons": None}),
    dict(name="safety: REG_EXPAND_SZ is expanded, no literal %SystemDrive% tree",
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\"]}, args=SILENT,
         reg={REC32: {"ADTRootFolder": Expand("%SystemDrive%\\envs\\adt")}},
         trees={E + "adt\\sdk\\add-ons": ADDON, "C:\\%SystemDrive%": None}),
    dict(name="safety: a missing root is never built from nothing",
         reg={REC32: {"ADTRootFolder": E + "gone"}}, args=SILENT, trees={E + "gone": None}),
    dict(name="safety: standalone with its SDK root missing is left alone whole",
         files={E + "eclipse": ["plugins\\keep.jar"]}, args=SILENT,
         reg={REC32: {"EclipseRootFolder": E + "eclipse", "SDKRootFolder": E + "no-sdk"}},
         trees={E + "eclipse\\plugins": KEEP, E + "no-sdk": None}),
    dict(name="safety: Android Studio without SdkPath is not integrated",
         files={E + "studio": ["plugins\\keep.jar"]}, args=SILENT,
         reg={REC32: {"AndroidStudioPath": E + "studio"}, AS64: {"Path": E + "studio"}},
         trees={E + "studio\\plugins": KEEP}),
    dict(name="safety: the program's own folder as the SDK root keeps its payload",
         files={E + "eclipse": ["plugins\\" + UI]}, args=["-uninstall"],
         reg={REC32: {"EclipseRootFolder": E + "eclipse", "SDKRootFolder": "C:\\Setup"}},
         trees={"C:\\Setup\\add-ons": ADDON, E + "eclipse\\plugins": []}),
    # Under Wine 8 RemoveDirectoryW cannot remove a folder link and a file link
    # shows as a plain file, so both stay here; on Windows the links themselves
    # go. Their targets stay whole either way.
    dict(name="safety: payload-named links are never followed",
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\"], "C:\\out": ["dir\\in.txt", "f.jar"]},
         links={E + "adt\\eclipse\\plugins\\" + CORE: "C:\\out\\dir", E + "adt\\sdk\\add-ons\\" + AO: "C:\\out",
                E + "adt\\eclipse\\plugins\\" + UI: "C:\\out\\f.jar"},
         reg=ADT_REC, args=["-uninstall"], kept=["C:\\out"],
         trees={E + "adt\\eclipse\\plugins": [CORE + "@", UI + "@"], E + "adt\\sdk\\add-ons": [AO + "@"]}),
    # Wine's shell delete follows links below a folder, so they must go first
    # as the links themselves; under Wine 8 they cannot, and the folder stays.
    dict(name="safety: links below a payload-named folder are never followed",
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\%s\\own.txt" % AO],
                "C:\\out": ["dir\\in.txt", "f.jar"]},
         links={E + "adt\\sdk\\add-ons\\%s\\dir-link" % AO: "C:\\out\\dir",
                E + "adt\\sdk\\add-ons\\%s\\file-link" % AO: "C:\\out\\f.jar"},
         reg=ADT_REC, args=["-uninstall"], kept=["C:\\out"],
         trees={E + "adt\\sdk\\add-ons\\" + AO: ["dir-link@", "file-link@", "own.txt"]}),
] + [
    # Wine resolves the Cyrillic case and the "." and ".." spellings to the
    # folder browsed, as Windows does: the clean step must see one folder.
    dict(name="safety: clean keeps the same folder spelt " + recorded,
         files={E + "пример": VALID_ADT, E + "i\\adt": VALID_ADT},
         reg={REC32: {"ADTRootFolder": recorded}}, args=["-install"],
         steps=[INTRO, ("click", 1003), ("pick", browsed), ("click", 1004), ("click", 1005),
                ("box", DONE["adt"])],
         trees={browsed + "\\sdk\\add-ons": ADDON, browsed + "\\eclipse\\plugins": ECLIPSE + KEEP})
    for recorded, browsed in ((E + "ПРИМЕР", E + "пример"), (E + "i\\x\\..\\adt", E + "i\\adt"),
                              (E + "i\\.\\adt", E + "i\\adt"))
] + [
    # Android Studio whose plugins is a file, or found at a namespace path:
    # the shell reports success for both under Wine; the copy did not arrive.
    dict(name="safety: a copy that did not arrive is a failure (%s)" % path,
         files={E + "studio": ["plugins"], E + "studio-sdk": ["platform-tools\\adb.exe"]},
         reg={REC32: {"ADTRootFolder": E + "old"}, AS64: {"Path": path, "SdkPath": E + "studio-sdk"}},
         args=["-install"], record="same", trees={E + "studio-sdk\\add-ons": None},
         steps=[INTRO, ("click", 1005), ("box", FAILED["studio"]), ("windows", 1), ("click", 2)])
    for path in (E + "studio", "\\\\?\\C:\\envs\\studio")
]
