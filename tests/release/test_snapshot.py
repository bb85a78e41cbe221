"""The trial's snapshots: reg.exe's export read back value by value, and the residue told apart from
what the design leaves and from Wine's own changes."""
import os
import shutil
import tempfile
import unittest

import support  # noqa: F401  (puts the kit's modules on the path)
import snapshot

EXPORT = """Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\Software\\Kelvora\\Pindlemark\\V5]
"installPath"="C:\\\\Program Files\\\\Kelvora\\\\Pindlemark\\\\"
"Quote \\"name\\""=dword:00000002
@="default"
"Long"=hex(2):25,00,50,00,72,00,6f,00,67,00,72,00,61,00,6d,00,46,00,69,00,6c,00,\\
  65,00,73,00,00,00

[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]
"d:"="cdrom"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1]
"Description"="eth0"
"""


class Snapshot(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="pm-snapshot-")

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def export(self, text):
        path = os.path.join(self.tmp, "export.reg")
        with open(path, "w", encoding="utf-16", newline="\r\n") as f:
            f.write(text)
        return snapshot.registry(path)

    def test_an_export_is_read_value_by_value_without_wines_own_keys(self):
        values = self.export(EXPORT)
        key = "HKLM\\Software\\Kelvora\\Pindlemark\\V5"
        self.assertEqual({key: "key",
                          key + " = installPath": '"C:\\\\Program Files\\\\Kelvora\\\\Pindlemark\\\\"',
                          key + ' = Quote "name"': "dword:00000002",
                          key + " = (default)": '"default"',
                          key + " = Long": "hex(2):25,00,50,00,72,00,6f,00,67,00,72,00,61,00,6d,00,46,00,69,00,6c,00,"
                                           "65,00,73,00,00,00"}, values)

    def test_residue_is_what_changed_less_what_the_design_leaves(self):
        before = {"C:\\windows": "folder", "HKLM\\Software\\Autodesk\\AutoCAD\\R16.2 = CurVer": '"ACAD-4001:804"',
                  "HKCU\\Software\\Keep = a": '"1"', "HKCU\\Software\\Gone": "key"}
        after = dict(before)
        del after["HKCU\\Software\\Gone"]
        after["HKCU\\Software\\Keep = a"] = '"2"'
        left_on_purpose = ["HKLM\\Software\\Autodesk\\AutoCAD\\R16.2\\ACAD-4001:804\\Applications\\Quorrel",
                           "HKLM\\Software\\Kelvora", "HKLM\\Software\\Kelvora\\Pindlemark", "C:\\Program Files\\Kelvora"]
        for path in left_on_purpose:
            after[path] = "key"
        after["HKLM\\Software\\Kelvora\\Pindlemark\\V5"] = "key"
        after["C:\\Program Files\\Kelvora\\Pindlemark"] = "folder"
        residue = snapshot.residue(before, after)
        self.assertEqual([("-", "HKCU\\Software\\Gone", "key"),
                          ("~", "HKCU\\Software\\Keep = a", '"1" -> "2"'),
                          ("+", "C:\\Program Files\\Kelvora\\Pindlemark", "folder"),
                          ("+", "HKLM\\Software\\Kelvora\\Pindlemark\\V5", "key")],
                         sorted(residue, key=lambda c: "-~+".index(c[0])))
        self.assertEqual(sorted(left_on_purpose), sorted(c[1] for c in snapshot.intended(before, after)))

    def test_files_are_listed_with_sizes_without_the_temporary_folders_or_what_links_lead_to(self):
        drive = os.path.join(self.tmp, "drive_c")
        for folder in ("windows/temp", "users/root/AppData/Local/Temp", "Program Files/图库"):
            os.makedirs(os.path.join(drive, folder))
        for name in ("windows/temp/t.tmp", "users/root/AppData/Local/Temp/x", "Program Files/图库/a.dwg"):
            with open(os.path.join(drive, name), "wb") as f:
                f.write(b"1234")
        os.symlink(self.tmp, os.path.join(drive, "users", "root", "Desktop"))
        self.assertEqual({"C:\\windows": "folder", "C:\\users": "folder", "C:\\users\\root": "folder",
                          "C:\\users\\root\\AppData": "folder", "C:\\users\\root\\AppData\\Local": "folder",
                          "C:\\users\\root\\Desktop": "link", "C:\\Program Files": "folder",
                          "C:\\Program Files\\图库": "folder", "C:\\Program Files\\图库\\a.dwg": "file of 4 bytes"},
                         snapshot.files(drive))


if __name__ == "__main__":
    unittest.main()
