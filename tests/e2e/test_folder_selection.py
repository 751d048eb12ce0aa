"""The three Browse rows with the real shell folder browser under Wine."""

import unittest

from dialog_expectations import DOWNLOAD_HINT
from test_dialog import DialogCase
from wine_env import (CAPTION, answer_message_box, make_files, pick_folder, read_window, uiauto,
                      wait_until)

ROWS = {
    1003: {"title": "Select the ADT root folder:", "edit": 1001, "radio": 1006,
           "valid": ("C:\\envs\\adt bundle", ["eclipse\\eclipse.exe", "eclipse\\plugins\\",
                                               "sdk\\platform-tools\\adb.exe"]),
           # eclipse\plugins is a file: not valid.
           "not_valid": ("C:\\envs\\50% adt", ["eclipse\\eclipse.exe", "eclipse\\plugins",
                                                "sdk\\platform-tools\\adb.exe"]),
           "no_folder": "Click Browse and select a valid ADT root folder!" + DOWNLOAD_HINT,
           "not_valid_text": "The folder \"%s\" is not a valid ADT root folder!" + DOWNLOAD_HINT},
    1010: {"title": "Select the Eclipse root folder:", "edit": 1008, "radio": 1007,
           "valid": ("C:\\envs\\eclipse", ["eclipse.exe", "plugins\\"]),
           "not_valid": ("C:\\envs\\no plugins", ["eclipse.exe"]),
           "no_folder": "Click Browse and select a valid Eclipse root folder!",
           "not_valid_text": "The folder \"%s\" is not a valid Eclipse root folder!"},
    1011: {"title": "Select the Android SDK root folder:", "edit": 1009, "radio": 1007,
           # A folder named adb.exe is enough.
           "valid": ("C:\\envs\\sdk", ["platform-tools\\adb.exe\\"]),
           "not_valid": ("C:\\envs\\sdk-without-tools", ["tools\\android.bat"]),
           "no_folder": "Click Browse and select a valid Android SDK root folder!",
           "not_valid_text": "The folder \"%s\" is not a valid Android SDK root folder!"},
}


class FolderSelection(DialogCase):

    def edit_text(self, dialog, control):
        return read_window(dialog).text(control)

    def test_each_row_valid_then_not_valid_then_cancelled(self):
        program, dialog = self.open_dialog()
        for button, row in ROWS.items():
            with self.subTest(button=button):
                for root, markers in (row["valid"], row["not_valid"]):
                    make_files(root, markers)
                uiauto("click-sync", dialog, row["radio"])

                # A valid folder is shown and no message appears.
                uiauto("click", dialog, button)
                browser = uiauto("wait-browser", 20000).strip()
                browser_texts = [c["text"] for c in read_window(browser).order]
                self.assertIn(row["title"], browser_texts)
                pick_folder(row["valid"][0])
                wait_until(lambda: self.edit_text(dialog, row["edit"]) == row["valid"][0],
                           what="the edit field")
                self.assertEqual(uiauto("count-windows", CAPTION).strip(), "1")

                # A folder that is not valid is reported with its path as it
                # stands ("%" included); the edit field keeps the valid one.
                uiauto("click", dialog, button)
                pick_folder(row["not_valid"][0])
                answer_message_box(row["not_valid_text"].replace("%s", row["not_valid"][0]),
                                   test=self)
                self.assertEqual(self.edit_text(dialog, row["edit"]), row["valid"][0])

                # A cancelled browser: the no-folder message, nothing changed.
                uiauto("click", dialog, button)
                uiauto("browse-cancel", 20000)
                answer_message_box(row["no_folder"], test=self)
                self.assertEqual(self.edit_text(dialog, row["edit"]), row["valid"][0])
        uiauto("click", dialog, 2)
        self.assertEqual(program.wait(), 0)


if __name__ == "__main__":
    unittest.main()
