"""The archive and the manifest: the same bytes from the same release whatever the files' dates,
Chinese names flagged as UTF-8, and a manifest that sha256sum accepts and that finds a change."""
import filecmp
import os
import shutil
import subprocess
import tempfile
import unittest
import zipfile

import support
import archive
import manifest

EPOCH = 1700000000  # 2023-11-14 22:13:20 UTC


class Package(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="pm-package-")

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def release(self, where, mtime):
        folder = support.sample_addon(os.path.join(self.tmp, where, "Pindlemark-V5"))
        os.mkdir(os.path.join(folder, "Support", "空目录"))
        for top, dirs, files in os.walk(folder):
            for name in dirs + files:
                os.utime(os.path.join(top, name), (mtime, mtime))
        return folder

    def test_same_release_same_archive_with_every_name_flagged_utf8(self):
        zips = []
        for where, mtime in (("one", 1000000000), ("two", 1600000000)):
            folder = self.release(where, mtime)
            archive.stamp(folder, EPOCH)
            zips.append(os.path.join(self.tmp, where, "Pindlemark-V5.zip"))
            archive.write(folder, zips[-1], EPOCH)
        self.assertTrue(filecmp.cmp(zips[0], zips[1], shallow=False), "two archives of the same release differ")

        with zipfile.ZipFile(zips[0]) as z:
            infos = z.infolist()
            names = [i.filename for i in infos]
            self.assertEqual(sorted(names, key=lambda n: n.encode()), names)
            self.assertIn("Pindlemark-V5/Database/图库/螺栓.dwg", names)
            self.assertIn("Pindlemark-V5/Support/空目录/", names)  # an empty folder is made too
            for info in infos:
                # An ASCII name is the same bytes in every encoding; Python leaves it unflagged.
                self.assertEqual(not info.filename.isascii(), bool(info.flag_bits & 0x800), info.filename)
                self.assertEqual((2023, 11, 14, 22, 13, 20), info.date_time, info.filename)
            with open(os.path.join(self.tmp, "one", "Pindlemark-V5", "Database", "图库", "螺栓.dwg"), "rb") as f:
                self.assertEqual(f.read(), z.read("Pindlemark-V5/Database/图库/螺栓.dwg"))
        with open(zips[0], "rb") as f:
            self.assertIn("图库".encode("utf-8"), f.read(), "names are stored in UTF-8")
        # Info-ZIP's unzip, an extractor of its own, lists the same names.
        listed = subprocess.run(["unzip", "-Z1", zips[0]], capture_output=True,
                                env=dict(os.environ, LC_ALL="C.UTF-8")).stdout.decode("utf-8").splitlines()
        self.assertEqual(sorted(names), sorted(listed))

    def test_manifest_is_sha256sum_format_and_finds_every_change(self):
        out = os.path.join(self.tmp, "out")
        folder = self.release("out", EPOCH)
        sums = os.path.join(out, "SHA256SUMS")
        manifest.write(out, sums)
        checked = subprocess.run(["sha256sum", "--quiet", "-c", "SHA256SUMS"], cwd=out, capture_output=True, text=True)
        self.assertEqual(0, checked.returncode, checked.stdout + checked.stderr)
        self.assertEqual(0, manifest.check(out, sums))

        changed = os.path.join(folder, "Database", "标准.mdb")
        with open(changed, "r+b") as f:
            f.write(b"!")
        os.remove(os.path.join(folder, "Dunmoor", "readme.txt"))
        support.write(os.path.join(folder, "Dunmoor", "new.txt"))
        result = subprocess.run(["python3", os.path.join(support.LIB, "manifest.py"), "check", out, sums],
                                capture_output=True, text=True)
        self.assertEqual(1, result.returncode)
        self.assertIn("Pindlemark-V5/Database/标准.mdb: changed", result.stdout)
        self.assertIn("Pindlemark-V5/Dunmoor/readme.txt: missing", result.stdout)
        self.assertIn("Pindlemark-V5/Dunmoor/new.txt: not in the manifest", result.stdout)


if __name__ == "__main__":
    unittest.main()
