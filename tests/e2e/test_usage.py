"""The usage text, read from the real message box."""

import unittest

from wine_env import (CAPTION, E2ETestCase, install_program, read_window, uiauto,
                      wait_message_box)

USAGE = ("Usage: Quorvane [-install | -uninstall] [-silence]\r\n"
         "\r\n"
         "-install\r\n"
         "\tInstall Parvex for Android components to the selected Android development "
         "environment.\r\n"
         "-uninstall\r\n"
         "\tUninstall Parvex for Android components from the already integrated Android "
         "development environment.\r\n"
         "-silence\r\n"
         "\tsilence mode (no dialog box).")


class Usage(E2ETestCase):

    def test_usage_box_for_tails_without_an_action(self):
        exe = install_program()
        for args in ([], ["-silence"], ["install", "/silent"]):
            program = self.start(exe, *args)
            box = wait_message_box()
            reading = read_window(box)
            self.assertEqual(reading.caption, CAPTION)
            self.assertEqual(reading.text(0xFFFF), USAGE)
            self.assertEqual(reading.buttons(), [(1, "OK")])
            uiauto("click", box, 1)
            self.assertEqual(program.wait(), 0)


if __name__ == "__main__":
    unittest.main()
