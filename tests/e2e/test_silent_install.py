"""Silent install ("-install -silence") of the real program under Wine."""

import unittest

from wine_env import (E2ETestCase, RECORD_KEY, host_path, install_program, make_files,
                      reg_query, run_program, seed_android_studio, seed_record,
                      tree)

ECLIPSE_FILES = ["com.parvex.eclipse.core_3.1.0\\", "com.parvex.eclipse.core_3.1.0\\lib\\",
                 "com.parvex.eclipse.core_3.1.0\\lib\\core.jar",
                 "com.parvex.eclipse.core_3.1.0\\plugin.xml", "com.parvex.eclipse.ui_3.1.0.jar"]
ADDON_FILES = ["addon-parvex-3.1\\", "addon-parvex-3.1\\libs\\",
               "addon-parvex-3.1\\libs\\parvex.jar", "addon-parvex-3.1\\manifest.ini"]
STUDIO_FILES = ["parvex-studio\\", "parvex-studio\\META-INF\\",
                "parvex-studio\\META-INF\\plugin.xml", "parvex-studio\\lib\\",
                "parvex-studio\\lib\\parvex-studio.jar"]


class SilentInstall(E2ETestCase):

    def test_adt_bundle_gets_plugins_and_a_new_add_on_folder(self):
        exe = install_program()
        make_files("C:\\envs\\adt", ["eclipse\\eclipse.exe", "eclipse\\plugins\\org.other.jar",
                                     "sdk\\platform-tools\\adb.exe"])
        seed_record(ADTRootFolder="C:\\envs\\adt")
        before = reg_query(RECORD_KEY, "32")

        self.assertEqual(run_program(exe, ["-install", "-silence"]), 0)

        self.assertEqual(tree("C:\\envs\\adt\\eclipse\\plugins"),
                         sorted(ECLIPSE_FILES + ["org.other.jar"]))
        self.assertEqual(tree("C:\\envs\\adt\\sdk\\add-ons"), ADDON_FILES)
        self.assertEqual(reg_query(RECORD_KEY, "32"), before, "the record is not written")

    def test_installing_again_replaces_without_a_question(self):
        exe = install_program()
        make_files("C:\\envs\\adt", ["eclipse\\plugins\\org.other.jar", "sdk\\"])
        seed_record(ADTRootFolder="C:\\envs\\adt")
        self.assertEqual(run_program(exe, ["-install", "-silence"]), 0)
        self.assertEqual(run_program(exe, ["-install", "-silence"]), 0)
        plugins = tree("C:\\envs\\adt\\eclipse\\plugins")
        for entry in ECLIPSE_FILES:
            self.assertIn(entry, plugins)
        # On Windows the second copy merges into the existing folder. Wine 8's
        # SHFileOperationW nests it instead (x\x); nothing else may appear.
        nested = "com.parvex.eclipse.core_3.1.0\\com.parvex.eclipse.core_3.1.0\\"
        for entry in set(plugins) - set(ECLIPSE_FILES + ["org.other.jar"]):
            self.assertTrue(entry.startswith(nested), entry)

    def test_standalone_eclipse_and_sdk(self):
        exe = install_program()
        make_files("C:\\envs\\eclipse", ["eclipse.exe", "plugins\\"])
        make_files("C:\\envs\\sdk", ["platform-tools\\adb.exe"])
        seed_record(EclipseRootFolder="C:\\envs\\eclipse", SDKRootFolder="C:\\envs\\sdk",
                    ADTRootFolder="")
        # The switches in another spelling: "-" inside the tail starts a switch.
        self.assertEqual(run_program(exe, ["-INSTALL-SILENCE"]), 0)
        self.assertEqual(tree("C:\\envs\\eclipse\\plugins"), ECLIPSE_FILES)
        self.assertEqual(tree("C:\\envs\\sdk\\add-ons"), ADDON_FILES)

    def test_android_studio_uses_the_folders_found_now(self):
        exe = install_program()
        make_files("C:\\envs\\studio", ["bin\\studio.exe", "plugins\\"])
        make_files("C:\\envs\\studio-sdk", ["platform-tools\\adb.exe"])
        make_files("C:\\envs\\old-studio", ["plugins\\"])
        seed_record(AndroidStudioPath="C:\\envs\\old-studio",
                    AndroidStudioSDKPath="C:\\envs\\old-sdk", ADTRootFolder="C:\\envs\\adt")
        seed_android_studio("C:\\envs\\studio", "C:\\envs\\studio-sdk")

        self.assertEqual(run_program(exe, ["/silence", "/install"]), 0)

        self.assertEqual(tree("C:\\envs\\studio\\plugins"), STUDIO_FILES)
        self.assertEqual(tree("C:\\envs\\studio-sdk\\add-ons"), ADDON_FILES)
        self.assertEqual(tree("C:\\envs\\old-studio\\plugins"), [])
        self.assertIsNone(tree("C:\\envs\\old-sdk"))
        self.assertIsNone(tree("C:\\envs\\adt"))

    def test_missing_payload_folder_stops_before_the_add_on_step(self):
        exe = install_program(missing=("plugins\\Eclipse",))
        make_files("C:\\envs\\adt", ["eclipse\\plugins\\org.other.jar", "sdk\\"])
        seed_record(ADTRootFolder="C:\\envs\\adt")
        self.assertEqual(run_program(exe, ["-install", "-silence"]), 0)
        self.assertEqual(tree("C:\\envs\\adt\\eclipse\\plugins"), ["org.other.jar"])
        self.assertIsNone(tree("C:\\envs\\adt\\sdk\\add-ons"), "the add-on step did not run")

    def test_record_is_read_from_the_32_bit_view(self):
        # The SDK's installer writes the record where a 32-bit program sees
        # it; the same key in the 64-bit view is not this program's record.
        exe = install_program()
        make_files("C:\\envs\\adt", ["eclipse\\plugins\\", "sdk\\"])
        seed_record(view="64", ADTRootFolder="C:\\envs\\adt")
        self.assertEqual(run_program(exe, ["-install", "-silence"]), 0)
        self.assertEqual(tree("C:\\envs\\adt\\eclipse\\plugins"), [])
        self.assertFalse(host_path("C:\\plugins").exists())

    def test_android_studio_key_is_read_from_the_64_bit_view(self):
        exe = install_program()
        make_files("C:\\envs\\studio", ["plugins\\"])
        make_files("C:\\envs\\studio-sdk", ["platform-tools\\"])
        seed_record(AndroidStudioPath="C:\\envs\\studio")
        seed_android_studio("C:\\envs\\studio", "C:\\envs\\studio-sdk", view="32")
        self.assertEqual(run_program(exe, ["-install", "-silence"]), 0)
        self.assertEqual(tree("C:\\envs\\studio\\plugins"), [])
        self.assertIsNone(tree("C:\\envs\\studio-sdk\\add-ons"))


if __name__ == "__main__":
    unittest.main()
