"""The release: a reproducible Quorvane.exe, a signed copy of it, the ZIP package, and the
guide's installer examples being the sources that the installer tests build."""

import os, re, shutil, subprocess, unittest, zipfile
from pathlib import Path

import pefile

ROOT = Path(__file__).resolve().parents[2]
BIN, WORK = Path(os.environ["QUORVANE_WIN32_DIR"]), Path(os.environ["QUORVANE_E2E_WORK"])
EXE, GUIDE = BIN / "Quorvane.exe", ROOT / "docs" / "installer-guide.md"


def run(*args, **kwargs):
    return subprocess.check_output(args, text=True, timeout=240, **kwargs).strip()


class Release(unittest.TestCase):

    def test_a_second_build_elsewhere_is_byte_identical(self):
        # build/win32 takes its stamp from the commit date; this one, from a
        # copy of the sources where Git cannot be asked, from SOURCE_DATE_EPOCH.
        epoch = os.getenv("SOURCE_DATE_EPOCH") or run("git", "log", "-1", "--format=%ct", cwd=ROOT)
        src, build = WORK / "repro" / "src", WORK / "repro" / "build"
        shutil.rmtree(WORK / "repro", ignore_errors=True)
        shutil.copytree(ROOT, src, ignore=shutil.ignore_patterns(".git", "build", "__pycache__"))
        env = dict(os.environ, SOURCE_DATE_EPOCH=epoch, GIT_DIR=os.devnull)  # no Git to ask
        run("cmake", "-S", src, "-B", build, "-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake",
            "-DCMAKE_BUILD_TYPE=Release", env=env)
        run("cmake", "--build", build, "-j2", "--target", "Quorvane", env=env)
        first, second = EXE.read_bytes(), (build / "Quorvane.exe").read_bytes()
        self.assertTrue(first == second, "the two builds differ")
        self.assertEqual(pefile.PE(data=first).FILE_HEADER.TimeDateStamp, int(epoch))
        self.assertEqual([f for f in (ROOT, src, BIN, build) if str(f).encode() in first], [])

    def test_a_signed_copy_verifies_and_the_build_stays_as_it_was(self):
        # A throwaway self-signed certificate for code signing, in a PFX with a password.
        work, password, built = WORK / "sign", "throwaway-secret", EXE.read_bytes()
        shutil.rmtree(work, ignore_errors=True)
        work.mkdir(parents=True)
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Quorvane test",
            "-addext", "extendedKeyUsage=codeSigning", "-keyout", work / "key.pem", "-out", work / "cert.pem",
            stderr=subprocess.DEVNULL)
        run("openssl", "pkcs12", "-export", "-inkey", work / "key.pem", "-in", work / "cert.pem",
            "-out", work / "cert.pfx", "-passout", "pass:" + password)
        said = run("bash", ROOT / "scripts" / "sign.sh", EXE, work / "Quorvane.exe", work / "cert.pfx",
                   env=dict(os.environ, QUORVANE_SIGN_PASSWORD=password), stderr=subprocess.STDOUT)
        self.assertNotIn(password, said)
        verified = run("osslsigncode", "verify", "-in", work / "Quorvane.exe", "-CAfile", work / "cert.pem")
        self.assertIn("Signature verification: ok", verified)
        self.assertRegex(verified, r"Message digest algorithm *: SHA256")
        self.assertTrue(EXE.read_bytes() == built, "signing changed the build")

    def test_package_holds_program_guide_and_empty_payload_layout(self):
        name = "Quorvane-3.1.0.3-win32"
        (BIN / (name + ".zip.sha256")).unlink(missing_ok=True)  # a stale one would hide a fault
        run("cmake", "--build", BIN, "--target", "package")
        with zipfile.ZipFile(BIN / (name + ".zip")) as archive:
            self.assertEqual(sorted(archive.namelist()), [name + "/" + entry for entry in [
                "Quorvane.exe", "add-ons/", "docs/", "docs/installer-guide.md", "plugins/",
                "plugins/Eclipse/", "plugins/IntelliJ IDEA/"]])
            self.assertEqual(archive.read(name + "/Quorvane.exe"), EXE.read_bytes())
            self.assertEqual(archive.read(name + "/docs/installer-guide.md"), GUIDE.read_bytes())
        self.assertEqual(run("sha256sum", "-c", name + ".zip.sha256", cwd=BIN), name + ".zip: OK")

    def test_guide_quotes_the_tested_examples_whole(self):
        blocks = re.findall(r"^```[a-z]*\n(.*?)^```$", GUIDE.read_text(), re.S | re.M)
        for example in ("parvex.nsi", "parvex.wxs", "parvex-record.reg"):
            self.assertIn((GUIDE.parent / "installers" / example).read_text(), blocks)
