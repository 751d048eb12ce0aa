"""The Integrate button through the real dialog and folder browser under Wine."""

import unittest

from dialog_expectations import DOWNLOAD_HINT
from test_dialog import DialogCase
from wine_env import (CAPTION, RECORD_KEY, RECORD_VALUES, answer_message_box, make_files,
                      pick_folder, read_window, reg_query, seed_android_studio, seed_record,
                      tree, uiauto, wait_until, install_program)

SUCCESS = {
    "studio": "The Android Studio has been integrated with Parvex for Android successfully!",
    "adt": "The selected ADT Bundle has been integrated with Parvex for Android successfully!",
    "standalone": "The selected standalone Eclipse and Android SDK have been integrated with "
                  "Parvex for Android successfully!",
}
FAILURE = {
    "adt": "The selected ADT has not been integrated with Parvex for Android! Please try again!",
    "standalone": "The selected standalone Eclipse and Android SDK have not been integrated with "
                  "Parvex for Android! Please try again!",
}

STUDIO_PAYLOAD = ["parvex-studio\\", "parvex-studio\\META-INF\\",
                  "parvex-studio\\META-INF\\plugin.xml", "parvex-studio\\lib\\",
                  "parvex-studio\\lib\\parvex-studio.jar"]
ECLIPSE_PAYLOAD = ["com.parvex.eclipse.core_3.1.0\\", "com.parvex.eclipse.core_3.1.0\\lib\\",
                   "com.parvex.eclipse.core_3.1.0\\lib\\core.jar",
                   "com.parvex.eclipse.core_3.1.0\\plugin.xml", "com.parvex.eclipse.ui_3.1.0.jar"]
ADDON_PAYLOAD = ["addon-parvex-3.1\\", "addon-parvex-3.1\\libs\\",
                 "addon-parvex-3.1\\libs\\parvex.jar", "addon-parvex-3.1\\manifest.ini"]

# Target folders of each environment, new and recorded, with the payload
# that belongs in each.
NEW_TARGETS = {
    "studio": {"C:\\envs\\studio\\plugins": STUDIO_PAYLOAD,
               "C:\\envs\\studio-sdk\\add-ons": ADDON_PAYLOAD},
    "adt": {"C:\\envs\\new-adt\\eclipse\\plugins": ECLIPSE_PAYLOAD,
            "C:\\envs\\new-adt\\sdk\\add-ons": ADDON_PAYLOAD},
    "standalone": {"C:\\envs\\new-eclipse\\plugins": ECLIPSE_PAYLOAD,
                   "C:\\envs\\new-sdk\\add-ons": ADDON_PAYLOAD},
}
RECORDED_TARGETS = {
    "studio": {"C:\\envs\\rec-studio\\plugins": STUDIO_PAYLOAD,
               "C:\\envs\\rec-studio-sdk\\add-ons": ADDON_PAYLOAD},
    "adt": {"C:\\envs\\rec-adt\\eclipse\\plugins": ECLIPSE_PAYLOAD,
            "C:\\envs\\rec-adt\\sdk\\add-ons": ADDON_PAYLOAD},
    "standalone": {"C:\\envs\\rec-eclipse\\plugins": ECLIPSE_PAYLOAD,
                   "C:\\envs\\rec-sdk\\add-ons": ADDON_PAYLOAD},
}
RECORDS = {
    "studio": {"AndroidStudioPath": "C:\\envs\\rec-studio",
               "AndroidStudioSDKPath": "C:\\envs\\rec-studio-sdk"},
    "adt": {"ADTRootFolder": "C:\\envs\\rec-adt"},
    "standalone": {"EclipseRootFolder": "C:\\envs\\rec-eclipse",
                   "SDKRootFolder": "C:\\envs\\rec-sdk"},
}
WRITTEN = {
    "studio": {"AndroidStudioPath": "C:\\envs\\studio",
               "AndroidStudioSDKPath": "C:\\envs\\studio-sdk"},
    "adt": {"ADTRootFolder": "C:\\envs\\new-adt"},
    "standalone": {"EclipseRootFolder": "C:\\envs\\new-eclipse",
                   "SDKRootFolder": "C:\\envs\\new-sdk"},
}
KEEP = ["keep.jar"]


def make_new_environments():
    # The new targets do not hold the payload yet. Wine 8's SHFileOperationW
    # copying folder x onto an existing folder x nests it as x\x, where
    # Windows merges the two; the program keeps the Windows behaviour.
    make_files("C:\\envs\\new-adt", ["eclipse\\eclipse.exe", "eclipse\\plugins\\keep.jar",
                                     "sdk\\platform-tools\\adb.exe"])
    make_files("C:\\envs\\new-eclipse", ["eclipse.exe", "plugins\\keep.jar"])
    make_files("C:\\envs\\new-sdk", ["platform-tools\\adb.exe"])
    make_files("C:\\envs\\studio", ["bin\\studio.exe", "plugins\\keep.jar"])
    make_files("C:\\envs\\studio-sdk", ["platform-tools\\adb.exe"])


def make_recorded_environment(kind):
    """An environment that holds the payload already, beside a file of its own."""
    for target, payload in RECORDED_TARGETS[kind].items():
        make_files(target, [entry for entry in payload] + KEEP)


def expected_tree(payload, keep=True):
    return sorted(payload + (KEEP if keep else []))


class IntegrateCase(DialogCase):

    def select(self, dialog, selection):
        radio = {"studio": 1020, "adt": 1006, "standalone": 1007}[selection]
        uiauto("click-sync", dialog, radio)
        rows = {"adt": [(1003, 1001, "C:\\envs\\new-adt")],
                "standalone": [(1010, 1008, "C:\\envs\\new-eclipse"),
                               (1011, 1009, "C:\\envs\\new-sdk")]}.get(selection, [])
        for button, edit, path in rows:
            uiauto("click", dialog, button)
            pick_folder(path)
            wait_until(lambda: read_window(dialog).text(edit) == path, what="edit " + str(edit))

    def record(self):
        values = reg_query(RECORD_KEY, "32")
        return {name: values.get(name) for name in RECORD_VALUES}


class Integrate(IntegrateCase):

    def integrate(self, selection, recorded, clean):
        make_new_environments()
        make_recorded_environment(recorded)
        seed_record(**RECORDS[recorded])
        seed_android_studio("C:\\envs\\studio", "C:\\envs\\studio-sdk")
        program, dialog = self.open_dialog()
        self.select(dialog, selection)
        if clean:
            uiauto("click-sync", dialog, 1004)
        uiauto("click", dialog, 1005)
        answer_message_box(SUCCESS[selection], test=self)
        self.assertEqual(program.wait(), 0, "a confirmed success ends the dialog")

        for target, payload in NEW_TARGETS[selection].items():
            keeps = "add-ons" not in target
            self.assertEqual(tree(target), expected_tree(payload, keeps), target)
        # The Android Studio branch never cleans a recorded Android Studio.
        cleaned = clean and not (selection == "studio" and recorded == "studio")
        for target, payload in RECORDED_TARGETS[recorded].items():
            self.assertEqual(tree(target), KEEP if cleaned else expected_tree(payload), target)
        expected_record = {name: "" for name in RECORD_VALUES}
        expected_record.update(WRITTEN[selection])
        self.assertEqual(self.record(), expected_record)

    def test_each_selection_from_each_recorded_kind_with_clean(self):
        for selection in ("studio", "adt", "standalone"):
            for recorded in ("studio", "adt", "standalone"):
                with self.subTest(selection=selection, recorded=recorded):
                    self.setUp()
                    self.integrate(selection, recorded, clean=True)

    def test_each_selection_without_clean(self):
        for selection, recorded in (("studio", "adt"), ("adt", "standalone"),
                                    ("standalone", "studio")):
            with self.subTest(selection=selection, recorded=recorded):
                self.setUp()
                self.integrate(selection, recorded, clean=False)


class Failures(IntegrateCase):

    def assert_dialog_open_alone(self):
        self.assertEqual(uiauto("count-windows", CAPTION).strip(), "1")

    def test_nothing_valid_picked(self):
        make_new_environments()
        make_files("C:\\envs\\not-adt", ["eclipse\\eclipse.exe"])
        program, dialog = self.open_dialog()
        uiauto("click", dialog, 1005)
        answer_message_box("Click Browse and select a valid ADT root folder first!"
                           + DOWNLOAD_HINT, test=self)
        answer_message_box(FAILURE["adt"], test=self)
        self.assert_dialog_open_alone()

        # A valid pick followed by one that is not valid: refused again.
        uiauto("click", dialog, 1003)
        pick_folder("C:\\envs\\new-adt")
        wait_until(lambda: read_window(dialog).text(1001) == "C:\\envs\\new-adt")
        uiauto("click", dialog, 1003)
        pick_folder("C:\\envs\\not-adt")
        answer_message_box(test=self)
        uiauto("click", dialog, 1005)
        answer_message_box("Click Browse and select a valid ADT root folder first!"
                           + DOWNLOAD_HINT, test=self)
        answer_message_box(FAILURE["adt"], test=self)

        uiauto("click-sync", dialog, 1007)
        uiauto("click", dialog, 1005)
        answer_message_box("Click Browse and select a valid Eclipse root folder first!", test=self)
        answer_message_box(FAILURE["standalone"], test=self)
        self.assert_dialog_open_alone()
        self.assertEqual(tree("C:\\envs\\new-adt\\eclipse\\plugins"), KEEP)
        uiauto("click", dialog, 2)
        self.assertEqual(program.wait(), 0)
        self.assertEqual(reg_query(RECORD_KEY, "32"), None, "no record was written")

    def test_missing_add_on_payload_with_standalone_selected(self):
        self.exe = install_program(missing=("add-ons",))
        make_new_environments()
        seed_record(**RECORDS["adt"])
        before = self.record()
        program, dialog = self.open_dialog()
        self.select(dialog, "standalone")
        for press in (1, 2):
            with self.subTest(press=press):
                uiauto("click", dialog, 1005)
                box = answer_message_box(FAILURE["standalone"], test=self)
                self.assertEqual(box, FAILURE["standalone"])
                # The progress window of this press is gone; the dialog stays.
                self.assert_dialog_open_alone()
                self.assertEqual(tree("C:\\envs\\new-eclipse\\plugins"), KEEP,
                                 "the plug-in step did not run")
        uiauto("close", dialog)
        self.assertEqual(program.wait(), 0)
        self.assertEqual(self.record(), before)

    def test_same_adt_root_again_with_clean_keeps_its_payload(self):
        make_new_environments()
        # The recorded root names the same folder in another spelling.
        seed_record(ADTRootFolder="c:\\ENVS\\new-adt\\")
        program, dialog = self.open_dialog()
        self.select(dialog, "adt")
        uiauto("click-sync", dialog, 1004)
        uiauto("click", dialog, 1005)
        answer_message_box(SUCCESS["adt"], test=self)
        self.assertEqual(program.wait(), 0)
        self.assertEqual(tree("C:\\envs\\new-adt\\eclipse\\plugins"),
                         expected_tree(ECLIPSE_PAYLOAD))
        self.assertEqual(tree("C:\\envs\\new-adt\\sdk\\add-ons"), ADDON_PAYLOAD)

    def test_install_and_uninstall_removes_from_the_environment_recorded_at_start(self):
        make_new_environments()
        make_recorded_environment("adt")
        seed_record(**RECORDS["adt"])
        program, dialog = self.open_dialog("-uninstall")
        self.select(dialog, "standalone")
        uiauto("click", dialog, 1005)
        answer_message_box(SUCCESS["standalone"], test=self)
        self.assertEqual(program.wait(), 0)
        for target in RECORDED_TARGETS["adt"]:
            self.assertEqual(tree(target), KEEP, target)
        for target, payload in NEW_TARGETS["standalone"].items():
            self.assertEqual(tree(target), expected_tree(payload, "add-ons" not in target))
        self.assertEqual(self.record()["EclipseRootFolder"], "C:\\envs\\new-eclipse")


if __name__ == "__main__":
    unittest.main()
