"""Uninstall ("-uninstall", with or without "-silence") under Wine."""

import unittest

from wine_env import (E2ETestCase, RECORD_KEY, host_path, install_program, make_files,
                      reg_query, remove_record, run_program, seed_android_studio, seed_record,
                      tree, uiauto, CAPTION)

ECLIPSE_PAYLOAD = ["com.parvex.eclipse.core_3.1.0\\plugin.xml", "com.parvex.eclipse.ui_3.1.0.jar"]
ADDON_PAYLOAD = ["addon-parvex-3.1\\manifest.ini"]


class Uninstall(E2ETestCase):

    def assert_no_window(self):
        self.assertEqual(uiauto("count-windows", CAPTION).strip(), "0")

    def test_removes_exactly_the_payload_named_entries(self):
        exe = install_program()
        make_files("C:\\envs\\adt", ["eclipse\\plugins\\org.other_1.0.jar",
                                     "eclipse\\plugins\\com.parvex.eclipse.core_3.1.0.bak",
                                     "sdk\\add-ons\\addon-google-apis\\manifest.ini"]
                   + ["eclipse\\plugins\\" + p for p in ECLIPSE_PAYLOAD]
                   + ["sdk\\add-ons\\" + p for p in ADDON_PAYLOAD]
                   # A payload-named folder holding more than the payload
                   # goes whole, as the shell deletes the named folder.
                   + ["sdk\\add-ons\\addon-parvex-3.1\\user-notes.txt"])
        seed_record(ADTRootFolder="C:\\envs\\adt")
        before = reg_query(RECORD_KEY, "32")

        for switches in (["-uninstall"], ["-uninstall", "-silence"]):
            # Ends by itself: any window would be modal and block it.
            self.assertEqual(run_program(exe, switches), 0)
            self.assert_no_window()
            self.assertEqual(tree("C:\\envs\\adt\\eclipse\\plugins"),
                             ["com.parvex.eclipse.core_3.1.0.bak", "org.other_1.0.jar"])
            self.assertEqual(tree("C:\\envs\\adt\\sdk\\add-ons"),
                             ["addon-google-apis\\", "addon-google-apis\\manifest.ini"])
        self.assertEqual(reg_query(RECORD_KEY, "32"), before)

    def test_android_studio_is_removed_from_the_recorded_folders(self):
        exe = install_program()
        for root in ("C:\\envs\\recorded", "C:\\envs\\found"):
            make_files(root, ["plugins\\parvex-studio\\lib\\parvex-studio.jar",
                              "plugins\\keep.jar", "sdk\\add-ons\\addon-parvex-3.1\\m.ini"])
        seed_record(AndroidStudioPath="C:\\envs\\recorded",
                    AndroidStudioSDKPath="C:\\envs\\recorded\\sdk")
        seed_android_studio("C:\\envs\\found", "C:\\envs\\found\\sdk")
        self.assertEqual(run_program(exe, ["-uninstall"]), 0)
        self.assertEqual(tree("C:\\envs\\recorded\\plugins"), ["keep.jar"])
        self.assertEqual(tree("C:\\envs\\recorded\\sdk\\add-ons"), [])
        self.assertIn("plugins\\parvex-studio\\", tree("C:\\envs\\found"))

    def test_no_record_touches_nothing_at_the_drive_root(self):
        exe = install_program()
        # Decoys where a path composed from an empty root would point.
        decoys = ["C:\\plugins\\com.parvex.eclipse.core_3.1.0\\plugin.xml",
                  "C:\\plugins\\parvex-studio\\lib\\parvex-studio.jar",
                  "C:\\add-ons\\addon-parvex-3.1\\manifest.ini"]
        for decoy in decoys:
            make_files("C:", [decoy[3:]])
        remove_record()
        for switches in (["-uninstall"], ["-install", "-silence"],
                         ["-install", "-uninstall", "-silence"]):
            self.assertEqual(run_program(exe, switches), 0)
            for decoy in decoys:
                self.assertTrue(host_path(decoy).exists(), decoy)
            self.assertFalse(host_path("C:\\eclipse").exists())
            self.assertFalse(host_path("C:\\sdk").exists())
            self.assertEqual(tree("C:\\plugins"), ["com.parvex.eclipse.core_3.1.0\\",
                                                   "com.parvex.eclipse.core_3.1.0\\plugin.xml",
                                                   "parvex-studio\\", "parvex-studio\\lib\\",
                                                   "parvex-studio\\lib\\parvex-studio.jar"])

    def test_root_that_depends_on_the_current_folder_is_left_alone(self):
        # The program runs from C:\ here, so "envs\adt" would reach C:\envs\adt.
        exe = install_program()
        make_files("C:\\envs\\adt", ["eclipse\\plugins\\" + p for p in ECLIPSE_PAYLOAD])
        for root in ("envs\\adt", "\\envs\\adt", "C:envs\\adt"):
            seed_record(ADTRootFolder=root)
            self.assertEqual(run_program(exe, ["-uninstall"]), 0)
            self.assertEqual(len(tree("C:\\envs\\adt\\eclipse\\plugins")), 3, root)

    def test_install_then_uninstall_in_one_run(self):
        exe = install_program()
        make_files("C:\\envs\\eclipse", ["plugins\\org.other.jar"])
        make_files("C:\\envs\\sdk", ["platform-tools\\adb.exe"])
        seed_record(EclipseRootFolder="C:\\envs\\eclipse", SDKRootFolder="C:\\envs\\sdk")
        self.assertEqual(run_program(exe, ["-install", "-uninstall", "-silence"]), 0)
        self.assertEqual(tree("C:\\envs\\eclipse\\plugins"), ["org.other.jar"])
        self.assertEqual(tree("C:\\envs\\sdk\\add-ons"), [])


if __name__ == "__main__":
    unittest.main()
