"""The release: a reproducible Quorvane.exe, the ZIP package, and the guide's
installer examples being the sources that the installer tests build."""

import hashlib
import os
import re
import shutil
import struct
import subprocess
import unittest
import zipfile
from pathlib import Path


ROOT = Path(__file__).resolve().parents[2]
BIN = Path(os.environ["QUORVANE_WIN32_DIR"])
WORK = Path(os.environ["QUORVANE_E2E_WORK"])
EXAMPLES = ROOT / "docs" / "installers"


def run(args, **kwargs):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, text=True, timeout=240,
                          **kwargs).stdout


class Release(unittest.TestCase):

    def test_a_second_build_elsewhere_is_byte_identical(self):
        # build/win32 takes its stamp from the commit date; this one, from a
        # copy of the sources without Git, from SOURCE_DATE_EPOCH.
        epoch = os.environ.get("SOURCE_DATE_EPOCH") or run(["git", "log", "-1", "--format=%ct"],
                                                           cwd=ROOT).strip()
        src, build = WORK / "repro" / "src", WORK / "repro" / "build"
        shutil.rmtree(WORK / "repro", ignore_errors=True)
        for name in run(["git", "ls-files", "-co", "--exclude-standard", "-z"],
                        cwd=ROOT).split("\0"):
            if name and (ROOT / name).is_file():
                (src / name).parent.mkdir(parents=True, exist_ok=True)
                shutil.copy2(ROOT / name, src / name)
        env = dict(os.environ, SOURCE_DATE_EPOCH=epoch)
        run(["cmake", "-S", src, "-B", build, "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake",
             "-DCMAKE_BUILD_TYPE=Release"], env=env)
        run(["cmake", "--build", build, "-j2", "--target", "Quorvane"], env=env)
        first, second = (BIN / "Quorvane.exe").read_bytes(), (build / "Quorvane.exe").read_bytes()
        self.assertEqual(hashlib.sha256(first).hexdigest(), hashlib.sha256(second).hexdigest())
        pe_header = struct.unpack_from("<I", first, 0x3C)[0]
        self.assertEqual(struct.unpack_from("<I", first, pe_header + 8)[0], int(epoch))
        for folder in (ROOT, src, BIN, build):
            self.assertNotIn(str(folder).encode(), first + second)

    def test_package_holds_program_guide_and_empty_payload_layout(self):
        run(["cmake", "--build", BIN, "--target", "package"])
        name = "Quorvane-3.1.0.3-win32"
        package = (BIN / (name + ".zip")).read_bytes()
        with zipfile.ZipFile(BIN / (name + ".zip")) as archive:
            self.assertEqual(sorted(archive.namelist()), [
                name + "/" + entry for entry in
                ["Quorvane.exe", "add-ons/", "docs/", "docs/installer-guide.md", "plugins/",
                 "plugins/Eclipse/", "plugins/IntelliJ IDEA/"]])
            self.assertEqual(archive.read(name + "/Quorvane.exe"),
                             (BIN / "Quorvane.exe").read_bytes())
            self.assertEqual(archive.read(name + "/docs/installer-guide.md"),
                             (ROOT / "docs" / "installer-guide.md").read_bytes())
        self.assertEqual((BIN / (name + ".zip.sha256")).read_text().split(),
                         [hashlib.sha256(package).hexdigest(), name + ".zip"])

    def test_guide_quotes_the_tested_examples_whole(self):
        guide = (ROOT / "docs" / "installer-guide.md").read_text()
        blocks = re.findall(r"^```[a-z]*\n(.*?)^```$", guide, re.S | re.M)
        for example in ("parvex.nsi", "parvex.wxs", "parvex-record.reg"):
            self.assertIn((EXAMPLES / example).read_text(), blocks)


if __name__ == "__main__":
    unittest.main()
