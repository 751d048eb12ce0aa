"""The end-to-end rows that harness.py runs, one program run (or `runs`) each.

A row is a dict; every key but name is optional:
  name     what the row shows
  reg      {(key, view): {value name: value}} under HKLM\\SOFTWARE, view 32 or 64;
           a str is REG_SZ, Expand(str) REG_EXPAND_SZ, int REG_DWORD, bytes a REG_SZ
           of exactly those bytes; {} makes the key alone. The record and Android
           Studio keys are removed from both views first.
  files    {root: [entries]}: files (content "content of <entry>") and, ending in \\,
           folders. Everything the rows make outside the fresh prefix goes when the
           next row starts.
  links    {link: target}: Linux symlinks made with os.symlink in drive_c; a C:\\...
           target is the path in the prefix, anything else is used as given
  missing  payload folders left out beside C:\\Setup\\Quorvane.exe
  args     the command line; runs: how many times it runs (1)
  steps    what the user does and sees while it runs, in order:
             ("box", part of its text or None[, buttons "OK Cancel"[, press "Cancel"]]):
                 a message box captioned Quorvane v3.1 with those buttons (OK); press one
             ("click", id)   a radio or check box of the main dialog, handled at once
             ("press", id)   a button that opens something modal or ends the dialog
             ("close",)      the dialog's caption close button
             ("pick", path[, title])   in the open folder browser (showing title): OK
             ("cancel"[, title])       the open folder browser's Cancel
             state(caption=..., enabled={id: bool}, text={id: str}, checks={id: 0|1}):
                 what the main dialog shows within 10 s
             ("windows", n)  visible top-level windows captioned Quorvane v3.1
             ("trees", {folder: entries})  as trees, while the program runs
  trees    {folder: entries} after the run, as tree() lists them (relative paths,
           folders ending in \\, links in @, sorted); None: the folder is missing
  kept     files or folders whose files must keep every byte (decoys)
  record   the record in the 32-bit view after the run, {name: value} with values
           typed as in reg (compared exactly); None: no key; "same": as before
The exit status must be 0.
"""
from harness import RECORD, STUDIO, Expand

REC32, REC64, AS64, AS32 = (RECORD, 32), (RECORD, 64), (STUDIO, 64), (STUDIO, 32)
SILENT = ["-install", "-silence"]
CORE = "com.parvex.eclipse.core_3.1.0\\"
ECLIPSE = [CORE, CORE + "lib\\", CORE + "lib\\core.jar", CORE + "plugin.xml",
           "com.parvex.eclipse.ui_3.1.0.jar"]
ADDON = ["addon-parvex-3.1\\", "addon-parvex-3.1\\libs\\", "addon-parvex-3.1\\libs\\parvex.jar",
         "addon-parvex-3.1\\manifest.ini"]
STUDIO_PLUGIN = ["parvex-studio\\", "parvex-studio\\META-INF\\",
                 "parvex-studio\\META-INF\\plugin.xml", "parvex-studio\\lib\\",
                 "parvex-studio\\lib\\parvex-studio.jar"]
KEEP = ["keep.jar"]


def plus(*lists):
    return sorted(sum(lists, []))


def state(**expected):  # caption; per control id: enabled, text, checks
    return ("state", expected)


# The message boxes, by a part of their text that tells them apart (the unit
# tests hold the whole texts).
USAGE = "Usage: Quorvane [-install | -uninstall] [-silence]\r\n\r\n-install\r\n\tInstall"
INTRO = ("box", "will install Parvex for Android components into the preferred", "OK Cancel")
SUCCESS = {"studio": "The Android Studio has been integrated with Parvex",
           "adt": "The selected ADT Bundle has been integrated with Parvex",
           "standalone": "The selected standalone Eclipse and Android SDK have been integrated"}
FAILURE = {"adt": "The selected ADT has not been integrated with Parvex",
           "standalone": "The selected standalone Eclipse and Android SDK have not been integrated"}
NOT_INSTALLED = "Not installed!"

# The dialog: which controls each recorded kind and each selection enables.
OLD = {"studio": {1030, 1021, 1022, 1023, 1024}, "adt": {1032, 1017, 1002},
       "standalone": {1031, 1018, 1012, 1019, 1013}}
NEW = {"studio": {1025, 1026, 1027, 1028}, "adt": {1014, 1003, 1001},
       "standalone": {1015, 1010, 1008, 1016, 1011, 1009}}
ALWAYS = {2, 1004, 1005, 1006, 1007, 1029}
RADIO = {"studio": 1020, "adt": 1006, "standalone": 1007}


def enabling(recorded, selection, studio_installed):
    on = ALWAYS | OLD[recorded] | NEW[selection] | ({1020} if studio_installed else set())
    return {c: c in on for c in set().union(ALWAYS, {1020}, *OLD.values(), *NEW.values())}


def radios(selection):
    return {r: int(s == selection) for s, r in RADIO.items()}


# Environments: the new ones do not hold the payload yet (Wine 8's
# SHFileOperationW copying folder x onto an existing x nests it as x\x, where
# Windows merges); the recorded ones hold it beside a file of their own.
E = "C:\\envs\\"
NEW_FILES = {E + "new-adt": ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar",
                             "sdk\\platform-tools\\adb.exe"],
             E + "new-eclipse": ["eclipse.exe", "plugins\\keep.jar"],
             E + "new-sdk": ["platform-tools\\adb.exe"],
             E + "new-studio": ["bin\\studio.exe", "plugins\\keep.jar"],
             E + "new-studio-sdk": ["platform-tools\\adb.exe"]}
LAYOUT = {"studio": [("studio\\plugins", STUDIO_PLUGIN), ("studio-sdk\\add-ons", ADDON)],
          "adt": [("adt\\eclipse\\plugins", ECLIPSE), ("adt\\sdk\\add-ons", ADDON)],
          "standalone": [("eclipse\\plugins", ECLIPSE), ("sdk\\add-ons", ADDON)]}
NAMES = ["AndroidStudioPath", "AndroidStudioSDKPath", "ADTRootFolder", "EclipseRootFolder",
         "SDKRootFolder"]


def targets(kind, age):  # target folder -> the payload it gets, of a "new-" or "rec-" kind
    return {E + age + sub: payload for sub, payload in LAYOUT[kind]}


def roots(kind, age):  # the record's values that name a "new-" or "rec-" environment
    return {"none": {}, "adt": {"ADTRootFolder": E + age + "adt"},
            "studio": dict(zip(NAMES[:2], (E + age + "studio", E + age + "studio-sdk"))),
            "standalone": dict(zip(NAMES[3:], (E + age + "eclipse", E + age + "sdk")))}[kind]


BROWSE = {"adt": [(1003, 1001, E + "new-adt")],
          "standalone": [(1010, 1008, E + "new-eclipse"), (1011, 1009, E + "new-sdk")]}
STUDIO_FOUND = {"Path": E + "new-studio", "SdkPath": E + "new-studio-sdk"}


def written(selection):
    return {**{name: "" for name in NAMES}, **roots(selection, "new-")}


def recorded_files(kind):
    return {target: payload + KEEP for target, payload in targets(kind, "rec-").items()}


def payload_trees(kind, age="new-"):  # new add-on folders are made by the run: no keep.jar
    return {t: plus(p, [] if "add-ons" in t and age == "new-" else KEEP)
            for t, p in targets(kind, age).items()}


def select(selection):
    steps = [("click", RADIO[selection])]
    for button, edit, path in BROWSE.get(selection, []):
        steps += [("press", button), ("pick", path), state(text={edit: path})]
    return steps


def integrate_row(selection, recorded, clean):
    # The Android Studio branch never cleans a recorded Android Studio.
    cleaned = clean and not (selection == recorded == "studio")
    return dict(name="integrate %s over a recorded %s, %s" % (selection, recorded,
                                                              "clean" if clean else "no clean"),
                files=dict(NEW_FILES, **recorded_files(recorded)),
                reg={REC32: roots(recorded, "rec-"), AS64: STUDIO_FOUND}, args=["-install"],
                steps=[INTRO] + select(selection) + ([("click", 1004)] if clean else [])
                + [("press", 1005), ("box", SUCCESS[selection])],
                trees={**payload_trees(selection),
                       **({t: KEEP for t in targets(recorded, "rec-")} if cleaned
                          else payload_trees(recorded, "rec-"))},
                record=written(selection))


def start_row(recorded, studio, then=(("press", 2),)):
    values = roots(recorded, "rec-")
    kind = recorded if recorded != "none" else "standalone"
    text = {1002: values.get("ADTRootFolder", ""), 1012: values.get("EclipseRootFolder", ""),
            1013: values.get("SDKRootFolder", ""), 1001: "", 1008: "", 1009: "",
            1022: values.get("AndroidStudioPath", "") if studio else NOT_INSTALLED,
            1024: values.get("AndroidStudioSDKPath", "") if studio else NOT_INSTALLED,
            1026: STUDIO_FOUND["Path"] if studio else NOT_INSTALLED,
            1028: STUDIO_FOUND["SdkPath"] if studio else NOT_INSTALLED}
    selection = "studio" if studio else "adt"
    return dict(name="dialog at start: %s recorded, Android Studio %s" % (
        recorded, "installed" if studio else "missing"),
        reg={REC32: values, **({AS64: STUDIO_FOUND} if studio else {})}, args=["-install"],
        steps=[INTRO, state(caption="Quorvane v3.1", enabled=enabling(kind, selection, studio),
                            text=text, checks={**radios(selection), 1004: 0})] + list(then))


def browse_steps(button, radio, edit, title, valid, not_valid, no_folder, not_valid_text):
    return [("click", radio),
            # A valid folder is shown, and no message appears.
            ("press", button), ("pick", valid, title), state(text={edit: valid}), ("windows", 1),
            # One that is not valid is reported with its path as it stands ("%"
            # included); the edit field keeps the valid one.
            ("press", button), ("pick", not_valid, title), ("box", not_valid_text % not_valid),
            state(text={edit: valid}),
            # A cancelled browser: the no-folder message, nothing changed.
            ("press", button), ("cancel", title), ("box", no_folder), state(text={edit: valid})]


ADT_FIRST = "Click Browse and select a valid ADT root folder first!"
ADT_PAYLOAD = ["eclipse\\plugins\\com.parvex.eclipse.core_3.1.0\\plugin.xml",
               "eclipse\\plugins\\com.parvex.eclipse.ui_3.1.0.jar"]
DECOYS = ["plugins\\com.parvex.eclipse.core_3.1.0\\plugin.xml",
          "plugins\\parvex-studio\\lib\\parvex-studio.jar",
          "add-ons\\addon-parvex-3.1\\manifest.ini"]

ROWS = [
    # The usage text, read from the real message box.
    dict(name="usage: empty command line", steps=[("box", USAGE)]),

    # Silent install: the recorded environment, no window, the record left alone.
    dict(name="silent ADT: plug-ins, and an add-on folder made",
         files={E + "adt": ["eclipse\\eclipse.exe", "eclipse\\plugins\\org.other.jar",
                            "sdk\\platform-tools\\adb.exe"]},
         reg={REC32: {"ADTRootFolder": E + "adt"}}, args=SILENT, record="same",
         trees={E + "adt\\eclipse\\plugins": plus(ECLIPSE, ["org.other.jar"]),
                E + "adt\\sdk\\add-ons": ADDON}),
    # Windows merges the second copy into the first; Wine 8's SHFileOperationW
    # nests it as x\x instead. The row accepts exactly that nesting.
    dict(name="silent ADT twice: replaced without a question (nested by Wine)",
         files={E + "adt": ["eclipse\\plugins\\org.other.jar", "sdk\\"]},
         reg={REC32: {"ADTRootFolder": E + "adt"}}, args=SILENT, runs=2,
         trees={E + "adt\\eclipse\\plugins": plus(ECLIPSE, ["org.other.jar"],
                                                  [CORE + e for e in ECLIPSE[:4]])}),
    dict(name="silent standalone, switches spelt -INSTALL-SILENCE",
         files={E + "eclipse": ["eclipse.exe", "plugins\\"],
                E + "sdk": ["platform-tools\\adb.exe"]},
         reg={REC32: {"EclipseRootFolder": E + "eclipse", "SDKRootFolder": E + "sdk",
                      "ADTRootFolder": ""}},
         args=["-INSTALL-SILENCE"],
         trees={E + "eclipse\\plugins": ECLIPSE, E + "sdk\\add-ons": ADDON}),
    dict(name="silent Android Studio: the folders found now, not the recorded ones",
         files={E + "new-studio": ["bin\\studio.exe", "plugins\\"], E + "old-studio": ["plugins\\"],
                E + "new-studio-sdk": ["platform-tools\\adb.exe"]},
         reg={REC32: {"AndroidStudioPath": E + "old-studio", "AndroidStudioSDKPath": E + "old-sdk",
                      "ADTRootFolder": E + "adt"}, AS64: STUDIO_FOUND},
         args=["/silence", "/install"],
         trees={E + "new-studio\\plugins": STUDIO_PLUGIN, E + "new-studio-sdk\\add-ons": ADDON,
                E + "old-studio\\plugins": [], E + "old-sdk": None, E + "adt": None}),
    dict(name="silent ADT, plug-in payload missing: the add-on step does not run",
         missing=("plugins\\Eclipse",), args=SILENT,
         files={E + "adt": ["eclipse\\plugins\\org.other.jar", "sdk\\"]},
         reg={REC32: {"ADTRootFolder": E + "adt"}},
         trees={E + "adt\\eclipse\\plugins": ["org.other.jar"], E + "adt\\sdk\\add-ons": None}),
    dict(name="silent: the record is read from the 32-bit view only",
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\"]},
         reg={REC64: {"ADTRootFolder": E + "adt"}}, args=SILENT,
         trees={E + "adt\\eclipse\\plugins": [], "C:\\plugins": None, "C:\\add-ons": None}),
    dict(name="silent: Android Studio's key is read from the 64-bit view only",
         files={E + "new-studio": ["plugins\\"], E + "new-studio-sdk": ["platform-tools\\"]},
         reg={REC32: {"AndroidStudioPath": E + "new-studio"}, AS32: STUDIO_FOUND}, args=SILENT,
         trees={E + "new-studio\\plugins": [], E + "new-studio-sdk\\add-ons": None}),

    # Uninstall: ends by itself (a window would be modal and block it).
    dict(name="uninstall: exactly the payload-named entries, whole",
         files={E + "adt": ["eclipse\\plugins\\org.other_1.0.jar",
                            "eclipse\\plugins\\com.parvex.eclipse.core_3.1.0.bak",
                            "sdk\\add-ons\\addon-other-1.0\\manifest.ini",
                            "sdk\\add-ons\\addon-parvex-3.1\\manifest.ini",
                            # more than the payload in a payload-named folder
                            "sdk\\add-ons\\addon-parvex-3.1\\user-notes.txt"] + ADT_PAYLOAD},
         reg={REC32: {"ADTRootFolder": E + "adt"}}, args=["-uninstall"], record="same",
         trees={E + "adt\\eclipse\\plugins": ["com.parvex.eclipse.core_3.1.0.bak",
                                              "org.other_1.0.jar"],
                E + "adt\\sdk\\add-ons": ["addon-other-1.0\\",
                                          "addon-other-1.0\\manifest.ini"]}),
    dict(name="uninstall Android Studio: the recorded folders, not the ones found",
         files={root: ["plugins\\parvex-studio\\lib\\parvex-studio.jar", "plugins\\keep.jar",
                       "sdk\\add-ons\\addon-parvex-3.1\\m.ini"]
                for root in (E + "recorded", E + "found")},
         reg={REC32: {"AndroidStudioPath": E + "recorded",
                      "AndroidStudioSDKPath": E + "recorded\\sdk"},
              AS64: {"Path": E + "found", "SdkPath": E + "found\\sdk"}},
         args=["-uninstall"], kept=[E + "found"],
         trees={E + "recorded\\plugins": ["keep.jar"], E + "recorded\\sdk\\add-ons": []}),
    # Decoys where paths composed from an empty root would point.
    dict(name="no record: nothing at the drive root is made, copied or deleted",
         files={"C:": DECOYS}, args=["-install", "-uninstall", "-silence"],
         kept=["C:\\plugins", "C:\\add-ons"], trees={"C:\\eclipse": None, "C:\\sdk": None}),
] + [
    # The program runs from C:\, where these would reach C:\envs\adt.
    dict(name="uninstall: root %s depends on the current drive or folder: left alone" % root,
         files={E + "adt": ADT_PAYLOAD}, reg={REC32: {"ADTRootFolder": root}},
         args=["-uninstall"], kept=[E + "adt"])
    for root in ("envs\\adt", "\\envs\\adt", "C:envs\\adt")
] + [
    # The confirmation box.
    dict(name="confirmation Cancel: no dialog, no uninstall",
         files={E + "adt": ADT_PAYLOAD}, reg={REC32: {"ADTRootFolder": E + "adt"}},
         args=["-install", "-uninstall"], steps=[("box", INTRO[1], "OK Cancel", "Cancel")],
         kept=[E + "adt"]),
    dict(name="confirmation OK: the dialog, then the uninstall",
         files={E + "adt": ["eclipse\\plugins\\com.parvex.eclipse.ui_3.1.0.jar",
                            "eclipse\\plugins\\keep.jar"]},
         reg={REC32: {"ADTRootFolder": E + "adt"}}, args=["-install", "-uninstall"],
         steps=[INTRO, state(text={1002: E + "adt"}),  # the uninstall waits for the dialog
                ("trees", {E + "adt\\eclipse\\plugins": ["com.parvex.eclipse.ui_3.1.0.jar",
                                                     "keep.jar"]}), ("press", 2)],
         trees={E + "adt\\eclipse\\plugins": KEEP}),

    # The main dialog at start, and its radios.
    start_row("none", False), start_row("studio", True), start_row("standalone", False),
    start_row("adt", True, then=[
        ("click", 1007),
        state(enabled=enabling("adt", "standalone", True), checks=radios("standalone")),
        ("click", 1020), state(enabled=enabling("adt", "studio", True), checks=radios("studio")),
        ("click", 1006), state(enabled=enabling("adt", "adt", True), checks=radios("adt")),
        ("click", 1004), state(checks={1004: 1}),
        ("close",)]),  # the caption's close button ends the dialog like Cancel

    # The three Browse rows with the real folder browser.
    dict(name="browse: valid, not valid, cancelled, for each row",
         files={E + "adt bundle": ["eclipse\\eclipse.exe", "eclipse\\plugins\\",
                                   "sdk\\platform-tools\\adb.exe"],
                # eclipse\plugins is a file here: not valid
                E + "50% adt": ["eclipse\\eclipse.exe", "eclipse\\plugins",
                                "sdk\\platform-tools\\adb.exe"],
                E + "eclipse": ["eclipse.exe", "plugins\\"], E + "no plugins": ["eclipse.exe"],
                E + "sdk": ["platform-tools\\adb.exe\\"],  # a folder named adb.exe is enough
                E + "sdk-without-tools": ["tools\\android.bat"]},
         args=["-install"], record=None,
         steps=[INTRO] + browse_steps(
             1003, 1006, 1001, "Select the ADT root folder:", E + "adt bundle", E + "50% adt",
             "Click Browse and select a valid ADT root folder!",
             "The folder \"%s\" is not a valid ADT root folder!") + browse_steps(
             1010, 1007, 1008, "Select the Eclipse root folder:", E + "eclipse", E + "no plugins",
             "Click Browse and select a valid Eclipse root folder!",
             "The folder \"%s\" is not a valid Eclipse root folder!") + browse_steps(
             1011, 1007, 1009, "Select the Android SDK root folder:", E + "sdk",
             E + "sdk-without-tools", "Click Browse and select a valid Android SDK root folder!",
             "The folder \"%s\" is not a valid Android SDK root folder!") + [("press", 2)]),

    # Integrate: each selection, each recorded kind, with and without clean.
    integrate_row("studio", "adt", True), integrate_row("adt", "standalone", True),
    integrate_row("standalone", "studio", True), integrate_row("studio", "studio", True),
    integrate_row("standalone", "adt", False),
    dict(name="integrate refused until valid folders are picked; nothing written",
         files=dict(NEW_FILES, **{E + "not-adt": ["eclipse\\eclipse.exe"]}), args=["-install"],
         steps=[INTRO, ("press", 1005), ("box", ADT_FIRST), ("box", FAILURE["adt"]), ("windows", 1),
                # a valid pick, then one that is not valid: refused again
                ("press", 1003), ("pick", E + "new-adt"), state(text={1001: E + "new-adt"}),
                ("press", 1003), ("pick", E + "not-adt"), ("box", None),
                ("press", 1005), ("box", ADT_FIRST), ("box", FAILURE["adt"]),
                ("click", 1007), ("press", 1005),
                ("box", "Click Browse and select a valid Eclipse root folder first!"),
                ("box", FAILURE["standalone"]), ("windows", 1), ("press", 2)],
         trees={E + "new-adt\\eclipse\\plugins": KEEP}, record=None),
    # The add-on step goes first for a standalone environment.
    dict(name="integrate standalone, add-on payload missing: fails, no plug-in step, twice",
         missing=("add-ons",), files=NEW_FILES, reg={REC32: roots("adt", "rec-")},
         args=["-install"],
         steps=[INTRO] + select("standalone") + 2 * [
             ("press", 1005), ("box", FAILURE["standalone"]),
             ("windows", 1),  # the progress window of the press is gone; the dialog stays
             ("trees", {E + "new-eclipse\\plugins": KEEP})] + [("close",)],
         record="same"),
    dict(name="integrate ADT over itself spelt c:\\ENVS\\new-adt\\ with clean: payload kept",
         files=NEW_FILES, reg={REC32: {"ADTRootFolder": "c:\\ENVS\\new-adt\\"}},
         args=["-install"],
         steps=[INTRO] + select("adt")
         + [("click", 1004), ("press", 1005), ("box", SUCCESS["adt"])],
         trees=payload_trees("adt")),
    dict(name="install and uninstall: the uninstall takes the environment recorded at start",
         files=dict(NEW_FILES, **recorded_files("adt")), reg={REC32: roots("adt", "rec-")},
         args=["-install", "-uninstall"],
         steps=[INTRO] + select("standalone") + [("press", 1005), ("box", SUCCESS["standalone"])],
         trees={**payload_trees("standalone"), **{t: KEEP for t in targets("adt", "rec-")}},
         record=written("standalone")),

    # Nothing outside the payload, whatever the spelling, link or root.
    dict(name="safety: a device path root reaches nothing",
         files={"C:": ADT_PAYLOAD + DECOYS[2:]},
         reg={REC32: {"ADTRootFolder": "\\\\.\\C:"}}, args=["-install", "-uninstall", "-silence"],
         kept=["C:\\eclipse", "C:\\add-ons"], trees={"C:\\sdk": None}),
    dict(name="safety: a namespace path root is not used (the shell would report success)",
         files={E + "adt": ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar", "sdk\\"]},
         reg={REC32: {"ADTRootFolder": "\\\\?\\C:\\envs\\adt"}}, args=SILENT,
         trees={E + "adt\\eclipse\\plugins": KEEP, E + "adt\\sdk\\add-ons": None}),
    dict(name="safety: REG_EXPAND_SZ is expanded, no literal %SystemDrive% tree",
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\"]},
         reg={REC32: {"ADTRootFolder": Expand("%SystemDrive%\\envs\\adt")}}, args=SILENT,
         trees={E + "adt\\sdk\\add-ons": ADDON, "C:\\%SystemDrive%": None}),
    dict(name="safety: a missing root is never built from nothing",
         reg={REC32: {"ADTRootFolder": E + "gone"}}, args=SILENT, trees={E + "gone": None}),
    dict(name="safety: standalone with its SDK root missing is left alone whole",
         files={E + "eclipse": ["plugins\\keep.jar"]},
         reg={REC32: {"EclipseRootFolder": E + "eclipse", "SDKRootFolder": E + "no-sdk"}},
         args=SILENT, trees={E + "eclipse\\plugins": KEEP, E + "no-sdk": None}),
    dict(name="safety: Android Studio without SdkPath is not integrated",
         files={E + "studio": ["plugins\\keep.jar"]},
         reg={REC32: {"AndroidStudioPath": E + "studio"}, AS64: {"Path": E + "studio"}},
         args=SILENT, trees={E + "studio\\plugins": KEEP}),
    dict(name="safety: the program's own folder as the SDK root keeps its payload",
         files={E + "eclipse": ["plugins\\" + ECLIPSE[4]]},
         reg={REC32: {"EclipseRootFolder": E + "eclipse", "SDKRootFolder": "C:\\Setup"}},
         args=["-uninstall"], trees={"C:\\Setup\\add-ons": ADDON, E + "eclipse\\plugins": []}),
    # Under Wine 8 RemoveDirectoryW cannot remove a folder link and a file link
    # shows as a plain file, so both stay here; on Windows the links
    # themselves go. Their targets stay whole either way.
    dict(name="safety: payload-named links are never followed",
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\"],
                "C:\\outside": ["folder\\inner.txt", "file.jar"]},
         links={E + "adt\\eclipse\\plugins\\" + CORE[:-1]: "C:\\outside\\folder",
                E + "adt\\eclipse\\plugins\\" + ECLIPSE[4]: "C:\\outside\\file.jar",
                E + "adt\\sdk\\add-ons\\" + ADDON[0][:-1]: "C:\\outside"},
         reg={REC32: {"ADTRootFolder": E + "adt"}}, args=["-uninstall"], kept=["C:\\outside"],
         trees={E + "adt\\eclipse\\plugins": [CORE[:-1] + "@", ECLIPSE[4] + "@"],
                E + "adt\\sdk\\add-ons": [ADDON[0][:-1] + "@"]}),
    # Wine's shell delete follows links below a folder, so they must go first
    # as the links themselves; under Wine 8 they cannot, and the folder stays.
    dict(name="safety: links below a payload-named folder are never followed",
         files={E + "adt": ["eclipse\\plugins\\", "sdk\\add-ons\\" + ADDON[0] + "own.txt"],
                "C:\\outside": ["folder\\inner.txt", "file.jar"]},
         links={E + "adt\\sdk\\add-ons\\" + ADDON[0] + "inner-link": "C:\\outside\\folder",
                E + "adt\\sdk\\add-ons\\" + ADDON[0] + "file-link": "C:\\outside\\file.jar"},
         reg={REC32: {"ADTRootFolder": E + "adt"}}, args=["-uninstall"], kept=["C:\\outside"],
         trees={E + "adt\\sdk\\add-ons": [ADDON[0], ADDON[0] + "file-link@",
                                          ADDON[0] + "inner-link@", ADDON[0] + "own.txt"]}),
] + [
    # Wine resolves the Cyrillic case and the "." and ".." spellings to the
    # folder browsed, as Windows does: the clean step must see one folder.
    dict(name="safety: clean keeps the same folder spelt " + recorded,
         files={E + "пример": NEW_FILES[E + "new-adt"], E + "i\\adt": NEW_FILES[E + "new-adt"]},
         reg={REC32: {"ADTRootFolder": recorded}}, args=["-install"],
         steps=[INTRO, ("press", 1003), ("pick", browsed), state(text={1001: browsed}),
                ("click", 1004), ("press", 1005), ("box", SUCCESS["adt"])],
         trees={browsed + "\\sdk\\add-ons": ADDON, browsed + "\\eclipse\\plugins": plus(ECLIPSE, KEEP)})
    for recorded, browsed in ((E + "ПРИМЕР", E + "пример"), (E + "i\\x\\..\\adt", E + "i\\adt"),
                              (E + "i\\.\\adt", E + "i\\adt"))
] + [
    # Android Studio whose plugins is a file, or found at a namespace path:
    # the shell reports success for both under Wine; the copy did not arrive.
    dict(name="safety: a copy that did not arrive is a failure (%s)" % path,
         files={E + "studio": ["plugins"], E + "studio-sdk": ["platform-tools\\adb.exe"]},
         reg={REC32: {"ADTRootFolder": E + "old"}, AS64: {"Path": path, "SdkPath": E + "studio-sdk"}},
         args=["-install"], record="same",
         steps=[INTRO, ("press", 1005), ("box", "The Android Studio has not been integrated"),
                ("windows", 1), ("press", 2)], trees={E + "studio-sdk\\add-ons": None})
    for path in (E + "studio", "\\\\?\\C:\\envs\\studio")
]
