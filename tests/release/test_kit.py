"""tools/release as a release engineer runs it: bad input refused early with a clear message and
nothing half made in OUT_DIR, and the whole kit on the sample add-on, signed with a throw-away
certificate, proved under Wine with nothing left behind, and made again to the same bytes."""
import filecmp
import glob
import os
import shutil
import subprocess
import tempfile
import unittest

import support
import pe

RELEASE = os.path.join(support.ROOT, "tools", "release")
PASSWORD = "kit-test-password"


def run(*args, password=PASSWORD):
    return subprocess.run([RELEASE, *args], capture_output=True, text=True,
                          env=dict(os.environ, PM_SIGN_PASSWORD=password))


def make_certificate(folder):
    """A self-signed code-signing certificate and its PFX, made for this run only."""
    key, cert, pfx = (os.path.join(folder, n) for n in ("key.pem", "cert.pem", "test.pfx"))
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                    "-days", "2", "-subj", "/CN=Pindlemark kit test", "-addext", "extendedKeyUsage=codeSigning"],
                   check=True, capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", pfx,
                    "-passout", "pass:" + PASSWORD], check=True, capture_output=True)
    return cert, pfx


def leftovers(out):
    """What a failed run left next to OUT_DIR or in it."""
    return glob.glob(os.path.join(os.path.dirname(out), ".%s.partial*" % os.path.basename(out))) + \
        ([out] if os.path.exists(out) else [])


class BadInput(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="pm-kit-bad-")
        cls.addon = support.sample_addon(os.path.join(cls.tmp, "addon"))
        cls.cert, cls.pfx = make_certificate(cls.tmp)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["chattr", "-i", os.path.join(cls.tmp, "locked")], capture_output=True)
        shutil.rmtree(cls.tmp)

    def assertRefused(self, result, out, phrase):
        self.assertNotEqual(0, result.returncode, result.stdout)
        self.assertIn(phrase, result.stderr, result.stdout + result.stderr)
        self.assertEqual([], leftovers(out))

    def test_missing_addon_folder(self):
        out = os.path.join(self.tmp, "out-missing")
        self.assertRefused(run(os.path.join(self.tmp, "no-such-addon"), out), out,
                           "the add-on folder %s does not exist" % os.path.join(self.tmp, "no-such-addon"))

    def test_addon_with_a_problem_stops_before_anything_is_written(self):
        broken = os.path.join(self.tmp, "broken")
        shutil.copytree(self.addon, broken)
        shutil.rmtree(os.path.join(broken, "Database"))
        out = os.path.join(self.tmp, "out-broken")
        result = run(broken, out)
        self.assertRefused(result, out, "the add-on has problems")
        self.assertIn("Database: missing", result.stdout)

    def test_unwritable_out_dir(self):
        locked = os.path.join(self.tmp, "locked")
        os.mkdir(locked)
        # As root, permissions do not stop a write; the immutable flag does.
        if os.geteuid() == 0:
            if subprocess.run(["chattr", "+i", locked], capture_output=True).returncode != 0:
                self.skipTest("the file system here has no immutable flag")
        else:
            os.chmod(locked, 0o555)
        out = os.path.join(locked, "out")
        self.assertRefused(run(self.addon, out, "--no-prove"), out, "cannot write into %s" % locked)

    def test_wrong_pfx_password(self):
        out = os.path.join(self.tmp, "out-password")
        result = run(self.addon, out, "--sign", self.pfx, password="not-the-password")
        self.assertRefused(result, out, "cannot open the PFX %s with the password in $PM_SIGN_PASSWORD" % self.pfx)

    def test_out_dir_that_holds_something_is_kept(self):
        out = os.path.join(self.tmp, "out-full")
        support.write(os.path.join(out, "keep.txt"), b"mine")
        result = run(self.addon, out, "--no-prove")
        self.assertNotEqual(0, result.returncode)
        self.assertIn("exists and is not empty; --replace replaces it", result.stderr)
        self.assertEqual(["keep.txt"], os.listdir(out))

    def test_failure_after_the_release_folder_was_laid_out_leaves_nothing(self):
        # Signing fails only once the release folder is made: the timestamp server cannot be reached.
        out = os.path.join(self.tmp, "out-late")
        result = run(self.addon, out, "--no-prove", "--sign", self.pfx, "--timestamp", "http://127.0.0.1:9/")
        self.assertIn("== 3/6 release folder", result.stdout)
        self.assertRefused(result, out, "osslsigncode could not sign Setup.exe")


def wine_arch():
    return subprocess.run(["bash", "-c", "source '%s/tools/lib/wine.sh'; pm_wine_arch" % support.ROOT],
                          capture_output=True, text=True).stdout.strip()


class SampleRelease(unittest.TestCase):
    """One signed, proved release of the sample add-on, and one more of the same input."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="pm-kit-sample-")
        cls.cert, pfx = make_certificate(cls.tmp)
        arch = wine_arch()
        control = os.path.join(support.BUILD, "win32", "tests", "wine", "bin", "SampleControl.ocx")
        cls.addon = support.sample_addon(os.path.join(cls.tmp, "addon"), control, "SampleControl.ocx")
        options = ["--sign", pfx, "--date", "2024-05-01"]
        if arch == "win64":
            options += ["--prove-controls", os.path.join(support.BUILD, "win64", "tests", "wine", "bin")]
        cls.out = os.path.join(cls.tmp, "out")
        cls.result = run(*options, cls.addon, cls.out)
        print(cls.result.stdout + cls.result.stderr)
        cls.again = run(*options, "--no-prove", cls.addon, os.path.join(cls.tmp, "again"))
        cls.folder = os.path.join(cls.out, "Pindlemark-V5")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def setUp(self):
        self.assertEqual(0, self.result.returncode, self.result.stdout + self.result.stderr)

    def test_out_dir_holds_the_release_its_archive_manifest_and_report(self):
        self.assertEqual(["Pindlemark-V5", "Pindlemark-V5.zip", "SHA256SUMS", "report"], sorted(os.listdir(self.out)))
        self.assertEqual(["report.md", "setup-completed.png", "uninstall-completed.png"],
                         sorted(os.listdir(os.path.join(self.out, "report"))))
        for shot in ("setup-completed.png", "uninstall-completed.png"):
            with open(os.path.join(self.out, "report", shot), "rb") as f:
                self.assertEqual(b"\x89PNG", f.read(4))
        added = {os.path.relpath(os.path.join(t, n), self.folder) for t, _, ns in os.walk(self.folder) for n in ns}
        source = {os.path.relpath(os.path.join(t, n), self.addon) for t, _, ns in os.walk(self.addon) for n in ns}
        self.assertEqual(source | {"Setup.exe", "Uninstall.exe"}, added)
        checked = subprocess.run(["sha256sum", "--quiet", "-c", "SHA256SUMS"], cwd=self.out, capture_output=True, text=True)
        self.assertEqual(0, checked.returncode, checked.stdout + checked.stderr)

    def test_signed_programs_verify_pass_the_xp_import_check_and_a_changed_byte_breaks_them(self):
        programs = [os.path.join(self.folder, p) for p in ("Setup.exe", "Uninstall.exe")]
        for program in programs:
            verified = subprocess.run(["osslsigncode", "verify", "-in", program, "-CAfile", self.cert],
                                      capture_output=True, text=True)
            self.assertEqual(0, verified.returncode, verified.stdout + verified.stderr)
            self.assertIn("Number of verified signatures: 2", verified.stdout)
            self.assertEqual(pe.MACHINE_I386, pe.read(program).machine)
        imports = subprocess.run([os.path.join(support.ROOT, "tools", "check-imports"), *programs],
                                 capture_output=True, text=True)
        self.assertEqual(0, imports.returncode, imports.stdout)
        changed = os.path.join(self.tmp, "changed.exe")
        with open(programs[0], "rb") as f:
            data = bytearray(f.read())
        data[0x1200] ^= 0xFF
        with open(changed, "wb") as f:
            f.write(data)
        verify = "source '%s/tools/lib/release/sign.sh'; release_verify_one '%s' '%s'" % (support.ROOT, changed, self.tmp)
        broken = subprocess.run(["bash", "-c", verify], capture_output=True, text=True)
        self.assertNotEqual(0, broken.returncode, broken.stdout)
        self.assertIn("do not verify", broken.stderr)

    def test_the_trial_installs_registers_and_leaves_nothing_behind(self):
        with open(os.path.join(self.out, "report", "report.md"), encoding="utf-8") as f:
            report = f.read()
        self.assertIn("Left behind: **nothing**", report)
        self.assertIn("Reg Ctrl: C:\\Program Files\\Kelvora\\Pindlemark\\Controls\\SampleControl.ocx", report)
        # The control's own registration, written by Setup's call and removed by Uninstall's.
        self.assertIn("InprocServer32  (default) = C:\\Program Files\\Kelvora\\Pindlemark\\Controls\\SampleControl.ocx", report)
        self.assertIn('UninstallString = "C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.exe"', report)
        self.assertIn("prove 7/7", self.result.stdout)

    def test_the_same_input_gives_the_same_bytes(self):
        self.assertEqual(0, self.again.returncode, self.again.stdout + self.again.stderr)
        again = os.path.join(self.tmp, "again")
        for name in ("SHA256SUMS", "Pindlemark-V5.zip"):
            self.assertTrue(filecmp.cmp(os.path.join(self.out, name), os.path.join(again, name), shallow=False), name)
        # The manifests being the same, so is every file of the two release folders.


if __name__ == "__main__":
    unittest.main()
