"""Nothing outside the payload is touched, whatever the spelling, link or
root, in the real program under Wine. Each row: files, links and decoys to
make, the record (REG_SZ or REG_EXPAND_SZ), the Android Studio key, the
command line or the dialog's choice, and what must hold afterwards."""

import os
import unittest

from test_integrate import IntegrateCase, SUCCESS, FAILURE
from wine_env import (RECORD_KEY, STUDIO_KEY, answer_message_box, host_path, install_program,
                      make_files, pick_folder, reg_delete_key, reg_query, remove_tree, run_program,
                      tree, uiauto, wait_until, read_window, wine)

ECLIPSE = ["com.parvex.eclipse.core_3.1.0\\plugin.xml", "com.parvex.eclipse.ui_3.1.0.jar"]
ADDON = ["addon-parvex-3.1\\manifest.ini"]
ADT_FILES = ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar", "sdk\\platform-tools\\adb.exe"]
DECOY = b"decoy: must survive byte for byte\n"

# Silent rows: (name, files {root: [relative]}, links {link: target}, record
# {value: (type, data)}, Android Studio (Path, SdkPath) or None, switches,
# expected trees {folder: entries or None for absent}, decoys [path]).
SILENT = [
    # A recorded root spelled as a device path reaches nothing.
    ("device path root", {"C:\\eclipse": ["plugins\\" + e for e in ECLIPSE]}, {},
     {"ADTRootFolder": ("REG_SZ", "\\\\.\\C:")}, None, ["-install", "-uninstall", "-silence"],
     {"C:\\eclipse\\plugins": ["com.parvex.eclipse.core_3.1.0\\",
                               "com.parvex.eclipse.core_3.1.0\\plugin.xml",
                               "com.parvex.eclipse.ui_3.1.0.jar"], "C:\\sdk": None},
     ["C:\\eclipse\\plugins\\com.parvex.eclipse.ui_3.1.0.jar"]),
    # A namespace path is not a root either; the shell would report success.
    ("namespace path root", {"C:\\envs\\adt": ADT_FILES}, {},
     {"ADTRootFolder": ("REG_SZ", "\\\\?\\C:\\envs\\adt")}, None, ["-install", "-silence"],
     {"C:\\envs\\adt\\eclipse\\plugins": ["keep.jar"], "C:\\envs\\adt\\sdk\\add-ons": None}, []),
    # REG_EXPAND_SZ is expanded; no literal "%SystemDrive%" tree appears.
    ("expanded record value", {"C:\\envs\\adt": ADT_FILES}, {},
     {"ADTRootFolder": ("REG_EXPAND_SZ", "%SystemDrive%\\envs\\adt")}, None,
     ["-install", "-silence"],
     {"C:\\envs\\adt\\sdk\\add-ons": ["addon-parvex-3.1\\", "addon-parvex-3.1\\libs\\",
                                      "addon-parvex-3.1\\libs\\parvex.jar",
                                      "addon-parvex-3.1\\manifest.ini"],
      "C:\\%SystemDrive%": None}, []),
    # A missing root is never built from nothing.
    ("missing ADT root", {}, {}, {"ADTRootFolder": ("REG_SZ", "C:\\envs\\gone")}, None,
     ["-install", "-silence"], {"C:\\envs\\gone": None}, []),
    # One missing root leaves the whole environment alone.
    ("standalone with its SDK root missing", {"C:\\envs\\eclipse": ["plugins\\keep.jar"]}, {},
     {"EclipseRootFolder": ("REG_SZ", "C:\\envs\\eclipse"),
      "SDKRootFolder": ("REG_SZ", "C:\\envs\\no-sdk")}, None, ["-install", "-silence"],
     {"C:\\envs\\eclipse\\plugins": ["keep.jar"], "C:\\envs\\no-sdk": None}, []),
    ("Android Studio without SdkPath", {"C:\\envs\\studio": ["plugins\\keep.jar"]}, {},
     {"AndroidStudioPath": ("REG_SZ", "C:\\envs\\studio")}, ("C:\\envs\\studio", None),
     ["-install", "-silence"], {"C:\\envs\\studio\\plugins": ["keep.jar"]}, []),
    # The program's own folder as the SDK root: its payload is not removed.
    ("payload folder as a target", {"C:\\envs\\eclipse": ["plugins\\" + e for e in ECLIPSE]}, {},
     {"EclipseRootFolder": ("REG_SZ", "C:\\envs\\eclipse"),
      "SDKRootFolder": ("REG_SZ", "C:\\Setup")}, None, ["-uninstall"],
     {"C:\\Setup\\add-ons": ["addon-parvex-3.1\\", "addon-parvex-3.1\\libs\\",
                             "addon-parvex-3.1\\libs\\parvex.jar",
                             "addon-parvex-3.1\\manifest.ini"],
      "C:\\envs\\eclipse\\plugins": []}, []),
    # Payload-named links go as the links themselves, never through them.
    # Under Wine 8 RemoveDirectoryW cannot remove a folder link and a file
    # link shows as a plain file, so both are left as they are here; on
    # Windows the links themselves are removed. Their targets stay whole.
    ("links named like the payload",
     {"C:\\envs\\adt": ["eclipse\\plugins\\", "sdk\\add-ons\\"],
      "C:\\outside": ["folder\\inner.txt", "file.jar"]},
     {"C:\\envs\\adt\\eclipse\\plugins\\com.parvex.eclipse.core_3.1.0": "C:\\outside\\folder",
      "C:\\envs\\adt\\eclipse\\plugins\\com.parvex.eclipse.ui_3.1.0.jar": "C:\\outside\\file.jar",
      "C:\\envs\\adt\\sdk\\add-ons\\addon-parvex-3.1": "C:\\outside"},
     {"ADTRootFolder": ("REG_SZ", "C:\\envs\\adt")}, None, ["-uninstall"],
     {"C:\\envs\\adt\\eclipse\\plugins": ["com.parvex.eclipse.core_3.1.0\\",
                                       "com.parvex.eclipse.ui_3.1.0.jar"],
      "C:\\envs\\adt\\sdk\\add-ons": ["addon-parvex-3.1\\"],
      "C:\\outside": ["file.jar", "folder\\", "folder\\inner.txt"]},
     ["C:\\outside\\folder\\inner.txt", "C:\\outside\\file.jar"]),
    # Links inside a payload-named folder: Wine's shell delete follows them,
    # so they go first as the links themselves. Under Wine 8 neither can be
    # removed so and the folder is left alone whole; on Windows the links go,
    # then the folder. Their targets stay whole either way.
    ("link inside a payload-named folder",
     {"C:\\envs\\adt": ["eclipse\\plugins\\", "sdk\\add-ons\\addon-parvex-3.1\\own.txt"],
      "C:\\outside": ["folder\\inner.txt"]},
     {"C:\\envs\\adt\\sdk\\add-ons\\addon-parvex-3.1\\inner-link": "C:\\outside\\folder",
      "C:\\envs\\adt\\sdk\\add-ons\\addon-parvex-3.1\\file-link": "C:\\outside\\file.jar"},
     {"ADTRootFolder": ("REG_SZ", "C:\\envs\\adt")}, None, ["-uninstall"],
     {"C:\\envs\\adt\\sdk\\add-ons": ["addon-parvex-3.1\\", "addon-parvex-3.1\\file-link",
                                      "addon-parvex-3.1\\inner-link\\",
                                      "addon-parvex-3.1\\own.txt"],
      "C:\\outside": ["file.jar", "folder\\", "folder\\inner.txt"]},
     ["C:\\outside\\folder\\inner.txt", "C:\\outside\\file.jar"]),
]


def seed(record, studio):
    for key in (RECORD_KEY, STUDIO_KEY):
        for view in ("32", "64"):
            reg_delete_key(key, view)
    wine(["reg", "add", RECORD_KEY, "/f", "/reg:32"])
    for name, (kind, data) in record.items():
        wine(["reg", "add", RECORD_KEY, "/v", name, "/t", kind, "/d", data, "/f", "/reg:32"])
    if studio is not None:
        for name, data in zip(("Path", "SdkPath"), studio):
            if data is not None:
                wine(["reg", "add", STUDIO_KEY, "/v", name, "/d", data, "/f", "/reg:64"])


def make_layout(files, links, decoys):
    for root, entries in files.items():
        make_files(root, entries)
    for link, target in links.items():
        host_path(link).parent.mkdir(parents=True, exist_ok=True)
        os.symlink(host_path(target), host_path(link))
    for decoy in decoys:
        host_path(decoy).parent.mkdir(parents=True, exist_ok=True)
        host_path(decoy).write_bytes(DECOY)


class Safety(IntegrateCase):

    def setUp(self):
        super().setUp()
        for folder in ("C:\\outside", "C:\\%SystemDrive%", "C:\\пример", "C:\\i"):
            remove_tree(folder)

    def check(self, trees, decoys, name):
        for folder, entries in trees.items():
            self.assertEqual(tree(folder), entries, "%s: %s" % (name, folder))
        for decoy in decoys:
            self.assertEqual(host_path(decoy).read_bytes(), DECOY, "%s: %s" % (name, decoy))

    def test_silent_rows(self):
        for name, files, links, record, studio, switches, trees, decoys in SILENT:
            with self.subTest(name):
                self.setUp()
                exe = install_program()
                make_layout(files, links, decoys)
                seed(record, studio)
                self.assertEqual(run_program(exe, switches), 0)
                self.check(trees, decoys, name)

    def test_clean_keeps_the_same_folder_spelled_another_way(self):
        # Wine resolves the Cyrillic case and the ".." spelling to the folder
        # browsed, as Windows does; the clean step must see one folder.
        for recorded, browsed in (("C:\\ПРИМЕР\\adt", "C:\\пример\\adt"),
                                  ("C:\\i\\x\\..\\adt", "C:\\i\\adt"),
                                  ("C:\\i\\.\\adt", "C:\\i\\adt")):
            with self.subTest(recorded):
                self.setUp()
                self.exe = install_program()
                make_files(browsed, ADT_FILES)
                seed({"ADTRootFolder": ("REG_SZ", recorded)}, None)
                program, dialog = self.open_dialog()
                uiauto("click", dialog, 1003)
                pick_folder(browsed)
                wait_until(lambda: read_window(dialog).text(1001) == browsed, what="edit 1001")
                uiauto("click-sync", dialog, 1004)
                uiauto("click", dialog, 1005)
                answer_message_box(SUCCESS["adt"], test=self)
                self.assertEqual(program.wait(), 0)
                self.assertIn("com.parvex.eclipse.ui_3.1.0.jar",
                              tree(browsed + "\\eclipse\\plugins"))
                self.assertIn("addon-parvex-3.1\\manifest.ini", tree(browsed + "\\sdk\\add-ons"))

    def test_failed_copies_are_reported_as_failures(self):
        # Android Studio whose plugins is a file, and one found at a
        # namespace path: the shell reports success for both under Wine.
        for path in ("C:\\envs\\studio", "\\\\?\\C:\\envs\\studio"):
            with self.subTest(path):
                self.setUp()
                self.exe = install_program()
                make_files("C:\\envs\\studio", ["plugins"])
                make_files("C:\\envs\\studio-sdk", ["platform-tools\\adb.exe"])
                seed({"ADTRootFolder": ("REG_SZ", "C:\\envs\\old")},
                     (path, "C:\\envs\\studio-sdk"))
                program, dialog = self.open_dialog()
                uiauto("click", dialog, 1005)
                answer_message_box("The Android Studio has not been integrated with Parvex for "
                                   "Android! Please try again!", test=self)
                self.assertTrue(program.running(), "a failure leaves the dialog open")
                uiauto("click", dialog, 2)
                self.assertEqual(program.wait(), 0)
                self.assertEqual(reg_query(RECORD_KEY, "32").get("ADTRootFolder"),
                                 "C:\\envs\\old")
                self.assertIsNone(tree("C:\\envs\\studio-sdk\\add-ons"))


if __name__ == "__main__":
    unittest.main()
