"""The SDK's installers as clients of Quorvane.exe under Wine: an NSIS setup
and an MSI, built from the guide's sources, install into a sample ADT Bundle
and uninstall from it; the guide's .reg example is a record to integrate from."""

import os
import shutil
import subprocess
import unittest
from pathlib import Path

from wine_env import (BIN, PAYLOAD, RECORD_KEY, WORK, E2ETestCase, drive_c, host_path,
                      install_program, make_files, reg_query, run_program, tree,
                      wine, wine_environment)

EXAMPLES = Path(__file__).resolve().parents[2] / "docs" / "installers"
ADT = "C:\\Android\\adt-bundle-windows-x86"  # the one in parvex-record.reg
BUNDLE = ["eclipse\\eclipse.exe", "eclipse\\plugins\\org.eclipse.core_3.8.jar",
          "sdk\\platform-tools\\adb.exe"]
# The small payload that parvex.wxs lists file by file.
SHIPPED = {"plugins\\Eclipse": ["com.parvex.eclipse.ui_3.1.0.jar"],
           "plugins\\IntelliJ IDEA": ["parvex-studio\\plugin.xml"],
           "add-ons": ["addon-parvex-3.1\\manifest.ini"]}
MSI_DIR = "C:\\Program Files (x86)\\Parvex for Android"


def run_logged(args):
    """Exit status and Wine's msi errors. The output goes to a file: a pipe
    would stay open while msiexec's helper processes linger."""
    env = dict(wine_environment(), WINEDEBUG="-all,err+msi")
    with open(WORK / "installer.log", "w+") as log:
        status = subprocess.run(["wine"] + args, env=env, cwd=drive_c(), stdout=log, stderr=log,
                                timeout=120).returncode
        log.seek(0)
        return status, log.read()


class Installers(E2ETestCase):

    @classmethod
    def setUpClass(cls):
        stage = WORK / "installers"
        shutil.rmtree(stage, ignore_errors=True)
        shutil.copytree(EXAMPLES, stage)
        shutil.copy(BIN / "Quorvane.exe", stage)
        for sub, entries in SHIPPED.items():
            for entry in entries:
                path = stage.joinpath(*sub.split("\\"), *entry.split("\\"))
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_text(entry + "\n")
        subprocess.run(["makensis", "-V2", "parvex.nsi"], cwd=stage, check=True, timeout=120)
        subprocess.run(["wixl", "-a", "x86", "-o", "parvex.msi", "parvex.wxs"], cwd=stage,
                       check=True, timeout=120)
        shutil.rmtree(host_path("C:\\dist"), ignore_errors=True)
        shutil.copytree(stage, host_path("C:\\dist"))

    def setUp(self):
        super().setUp()
        for folder in ("C:\\Android", "C:\\Parvex", MSI_DIR):
            shutil.rmtree(host_path(folder), ignore_errors=True)
        make_files(ADT, BUNDLE)

    def round_trip(self, install, uninstall, installed):
        status, log = run_logged(install)
        # msiexec logs this when a custom action runs before InstallFiles.
        self.assertNotIn("can't find executable", log, "custom action sequenced too early")
        self.assertEqual(status, 0, log)
        self.assertEqual(tree(ADT + "\\eclipse\\plugins"),
                         ["com.parvex.eclipse.ui_3.1.0.jar", "org.eclipse.core_3.8.jar"], log)
        self.assertEqual(tree(ADT + "\\sdk\\add-ons"),
                         ["addon-parvex-3.1\\", "addon-parvex-3.1\\manifest.ini"])
        self.assertEqual(reg_query(RECORD_KEY, "32")["ADTRootFolder"], ADT)
        self.assertIsNone(reg_query(RECORD_KEY, "64"))
        self.assertTrue(host_path(installed).exists())

        status, log = run_logged(uninstall)
        self.assertEqual(status, 0, log)
        self.assertEqual(tree(ADT + "\\eclipse\\plugins"), ["org.eclipse.core_3.8.jar"], log)
        self.assertEqual(tree(ADT + "\\sdk\\add-ons"), [])
        self.assertTrue(all(host_path(ADT + "\\" + f).is_file() for f in BUNDLE))
        self.assertFalse(host_path(installed).exists())
        self.assertIsNone(reg_query(RECORD_KEY, "32"))

    def test_nsis_setup_and_uninstaller(self):
        # _?= runs the uninstaller in place, so that it ends when it is done
        # (and cannot delete itself).
        self.round_trip(["C:\\dist\\parvex-setup.exe", "/S", "/ADT=" + ADT, "/D=C:\\Parvex"],
                        ["C:\\Parvex\\uninstall.exe", "/S", "_?=C:\\Parvex"],
                        "C:\\Parvex\\Quorvane.exe")

    def test_msi_install_and_removal(self):
        self.round_trip(["msiexec", "/i", "C:\\dist\\parvex.msi", "/qn", "ADTROOT=" + ADT],
                        ["msiexec", "/x", "C:\\dist\\parvex.msi", "/qn"],
                        MSI_DIR + "\\Quorvane.exe")

    def test_record_from_the_guide_integrates(self):
        exe = install_program()
        wine(["regedit", "/s", "C:\\dist\\parvex-record.reg"])
        self.assertEqual(run_program(exe, ["-install", "-silence"]), 0)
        self.assertEqual(tree(ADT + "\\eclipse\\plugins"), sorted(
            ["org.eclipse.core_3.8.jar"] + PAYLOAD["plugins\\Eclipse"]
            + ["com.parvex.eclipse.core_3.1.0\\", "com.parvex.eclipse.core_3.1.0\\lib\\"]))


if __name__ == "__main__":
    unittest.main()
