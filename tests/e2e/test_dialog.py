"""The confirmation box and the main dialog in a real window under Wine."""

import unittest

from dialog_expectations import INTRODUCTION, addressed_controls, expected_enabled
from wine_env import (CAPTION, E2ETestCase, install_program, make_files, read_window,
                      seed_android_studio, seed_record, tree, uiauto, wait_dialog,
                      wait_message_box)

RECORDS = {
    "none": {},
    "studio": {"AndroidStudioPath": "C:\\envs\\rec-studio",
               "AndroidStudioSDKPath": "C:\\envs\\rec-studio-sdk"},
    "adt": {"ADTRootFolder": "C:\\envs\\rec-adt"},
    "standalone": {"EclipseRootFolder": "C:\\envs\\rec-eclipse",
                   "SDKRootFolder": "C:\\envs\\rec-sdk"},
}


class DialogCase(E2ETestCase):

    def open_dialog(self, *switches):
        """Starts the program, answers the confirmation with OK, returns the
        program and the dialog's handle."""
        program = self.start(self.exe, "-install", *switches)
        box = wait_message_box()
        uiauto("click", box, 1)
        return program, wait_dialog()

    def enabled_ids(self, reading):
        return {c["id"] for c in reading.order if c["enabled"] and c["id"] != -1}

    def setUp(self):
        super().setUp()
        self.exe = install_program()


class Confirmation(DialogCase):

    def test_box_text_and_buttons(self):
        program = self.start(self.exe, "-install")
        box = wait_message_box()
        reading = read_window(box)
        self.assertEqual(reading.caption, CAPTION)
        self.assertEqual(reading.text(0xFFFF), INTRODUCTION)
        self.assertEqual(reading.buttons(), [(1, "OK"), (2, "Cancel")])
        uiauto("click", box, 2)
        self.assertEqual(program.wait(), 0)

    def test_cancel_ends_the_run_before_the_dialog_and_the_uninstall(self):
        make_files("C:\\envs\\adt", ["eclipse\\plugins\\com.parvex.eclipse.ui_3.1.0.jar",
                                     "sdk\\add-ons\\addon-parvex-3.1\\manifest.ini"])
        seed_record(ADTRootFolder="C:\\envs\\adt")
        program = self.start(self.exe, "-install", "-uninstall")
        uiauto("click", wait_message_box(), 2)
        self.assertEqual(program.wait(), 0)
        self.assertEqual(uiauto("count-windows", CAPTION).strip(), "0")
        self.assertIn("com.parvex.eclipse.ui_3.1.0.jar", tree("C:\\envs\\adt\\eclipse\\plugins"))
        self.assertIn("addon-parvex-3.1\\", tree("C:\\envs\\adt\\sdk\\add-ons"))

    def test_ok_runs_the_dialog_then_the_uninstall(self):
        make_files("C:\\envs\\adt", ["eclipse\\plugins\\com.parvex.eclipse.ui_3.1.0.jar",
                                     "eclipse\\plugins\\keep.jar"])
        seed_record(ADTRootFolder="C:\\envs\\adt")
        program, dialog = self.open_dialog("-uninstall")
        # The uninstall waits for the dialog.
        self.assertEqual(tree("C:\\envs\\adt\\eclipse\\plugins"),
                         ["com.parvex.eclipse.ui_3.1.0.jar", "keep.jar"])
        uiauto("click", dialog, 2)
        self.assertEqual(program.wait(), 0)
        self.assertEqual(tree("C:\\envs\\adt\\eclipse\\plugins"), ["keep.jar"])


class StartStates(DialogCase):

    def check_start(self, recorded, studio_installed):
        if RECORDS[recorded]:
            seed_record(**RECORDS[recorded])
        if studio_installed:
            seed_android_studio("C:\\envs\\studio", "C:\\envs\\studio-sdk")
        program, dialog = self.open_dialog()
        reading = read_window(dialog)
        kind = "studio" if recorded == "studio" else "adt" if recorded == "adt" else "standalone"
        selection = "studio" if studio_installed else "adt"
        with self.subTest(recorded=recorded, studio_installed=studio_installed):
            self.assertEqual(reading.caption, CAPTION)
            self.assertEqual(self.enabled_ids(reading) & addressed_controls(),
                             expected_enabled(kind, selection, studio_installed))
            values = RECORDS[recorded]
            self.assertEqual(reading.text(1002), values.get("ADTRootFolder", ""))
            self.assertEqual(reading.text(1012), values.get("EclipseRootFolder", ""))
            self.assertEqual(reading.text(1013), values.get("SDKRootFolder", ""))
            if studio_installed:
                self.assertEqual(reading.text(1022), values.get("AndroidStudioPath", ""))
                self.assertEqual(reading.text(1024), values.get("AndroidStudioSDKPath", ""))
                self.assertEqual(reading.text(1026), "C:\\envs\\studio")
                self.assertEqual(reading.text(1028), "C:\\envs\\studio-sdk")
            else:
                for control in (1022, 1024, 1026, 1028):
                    self.assertEqual(reading.text(control), "Not installed!")
            checks = {i: reading.controls[i]["check"] for i in (1020, 1006, 1007, 1004)}
            self.assertEqual(checks, {1020: int(studio_installed), 1006: int(not studio_installed),
                                      1007: 0, 1004: 0})
            for control in (1001, 1008, 1009):
                self.assertEqual(reading.text(control), "")
        uiauto("click", dialog, 2)
        self.assertEqual(program.wait(), 0)

    def test_without_android_studio(self):
        for recorded in ("none", "studio", "adt", "standalone"):
            self.check_start(recorded, False)

    def test_with_android_studio(self):
        for recorded in ("none", "studio", "adt", "standalone"):
            self.check_start(recorded, True)


class Radios(DialogCase):

    def test_radio_sequence(self):
        seed_android_studio("C:\\envs\\studio", "C:\\envs\\studio-sdk")
        seed_record(**RECORDS["adt"])
        program, dialog = self.open_dialog()
        for radio, selection in ((1007, "standalone"), (1020, "studio"), (1006, "adt")):
            uiauto("click-sync", dialog, radio)
            reading = read_window(dialog)
            with self.subTest(radio=radio):
                self.assertEqual(self.enabled_ids(reading) & addressed_controls(),
                                 expected_enabled("adt", selection, True))
                self.assertEqual({i: reading.controls[i]["check"] for i in (1020, 1006, 1007)},
                                 {i: int(i == radio) for i in (1020, 1006, 1007)})
        uiauto("click-sync", dialog, 1004)
        self.assertEqual(read_window(dialog).controls[1004]["check"], 1)
        # The window's close button ends the dialog like Cancel.
        uiauto("close", dialog)
        self.assertEqual(program.wait(), 0)


if __name__ == "__main__":
    unittest.main()
