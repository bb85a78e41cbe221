"""The kit's preflight: one add-on per fault, each rejected with its file, reason and fix, and the
sample add-on accepted with what Setup will do with it."""
import os
import shutil
import struct
import subprocess
import tempfile
import unittest

import support
import layout
import pe
import preflight

PREFIX = layout.gbk_bytes(layout.INSTALL_FOLDER)  # 36: "C:\Program Files\Kelvora\Pindlemark\"


class AddOnTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="pm-preflight-")
        self.addon = support.sample_addon(os.path.join(self.tmp, "addon"))

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def problems(self):
        return {p.where: p for p in preflight.Preflight(self.addon).run().problems}

    def assertRejected(self, where, *phrases):
        found = self.problems()
        self.assertIn(where, found, "problems found: %s" % list(found))
        for phrase in phrases:
            self.assertIn(phrase, found[where].reason, found[where])
        self.assertTrue(found[where].fix, found[where])
        return found


class Accepted(AddOnTest):
    def test_sample_addon_passes_and_the_summary_counts_what_setup_records(self):
        check = preflight.Preflight(self.addon).run()
        self.assertEqual([], [str(p) for p in check.problems])
        summary = "\n".join(check.summary())
        self.assertIn("Setup will register: Controls\\Sample.ocx", summary)
        # The count comes from the walk; the record expected after an install from the release
        # folder (the add-on with both programs) is worked out line by line elsewhere.
        release = os.path.join(self.tmp, "release")
        shutil.copytree(self.addon, release)
        for program in (layout.SETUP, layout.UNINSTALLER):
            support.write(os.path.join(release, program))
        self.assertIn("(%d lines)" % len(layout.expected_record(release)), summary)


class Folders(AddOnTest):
    def test_each_missing_install_folder_is_named(self):
        for folder in layout.INSTALL_FOLDERS:
            with self.subTest(folder=folder):
                shutil.move(os.path.join(self.addon, folder), os.path.join(self.tmp, "aside"))
                self.assertRejected(folder, "missing")
                shutil.move(os.path.join(self.tmp, "aside"), os.path.join(self.addon, folder))

    def test_a_folder_beside_the_install_folders_is_not_installed(self):
        os.mkdir(os.path.join(self.addon, "Extras"))
        self.assertRejected("Extras", "copies only")

    def test_a_cad_module_missing(self):
        os.remove(os.path.join(self.addon, "Support", "2004-06", "Quorrel.arx"))
        self.assertRejected("Support\\2004-06\\Quorrel.arx", "CAD releases")

    def test_a_symbolic_link(self):
        # Setup passes over links (a junction to its own parent would be copied again and again);
        # the preflight refuses them, to a file, to a folder, and standing in for an install folder.
        os.symlink("菜单.mnu", os.path.join(self.addon, "Support", "link.mnu"))
        os.symlink("..", os.path.join(self.addon, "Database", "parent"))
        shutil.move(os.path.join(self.addon, "Dunmoor"), os.path.join(self.tmp, "elsewhere"))
        os.symlink(os.path.join(self.tmp, "elsewhere"), os.path.join(self.addon, "Dunmoor"))
        for where in ("Support\\link.mnu", "Database\\parent", "Dunmoor"):
            with self.subTest(where=where):
                self.assertRejected(where, "symbolic link")


class Names(AddOnTest):
    def test_names_that_gbk_windows_or_the_record_cannot_hold(self):
        cases = [("한글.txt", "GBK"), ("emoji😀.txt", "GBK"), ("two\nlines.txt", "line break"),
                 ("a:b.txt", "':'"), ("what?.txt", "'?'"), ("trailing.", "trailing dot"),
                 ("trailing ", "trailing dot or blank"), ("CON.txt", "device name"), ("lpt1", "device name")]
        for name, phrase in cases:
            with self.subTest(name=name):
                path = os.path.join(self.addon, "Database", name)
                support.write(path)
                self.assertRejected("Database\\" + name, phrase)
                os.remove(path)

    def test_names_gbk_can_write_pass(self):
        for name in ("图库说明.txt", "丟€é.txt"):
            support.write(os.path.join(self.addon, "Database", name))
        self.assertEqual({}, self.problems())

    def test_names_differing_only_in_case_are_one_file_on_windows(self):
        support.write(os.path.join(self.addon, "Database", "Parts.dwg"))
        support.write(os.path.join(self.addon, "Database", "PARTS.DWG"))
        found = self.problems()
        self.assertEqual(1, len(found), list(found))
        self.assertIn("differ not by case", list(found.values())[0].reason)


class Lengths(AddOnTest):
    def file_of(self, total_bytes):
        """A file whose installed path has exactly total_bytes bytes in GBK, in a folder of Chinese
        names so that GBK (2 bytes a character) and UTF-8 (3) disagree; the host allows 255 bytes
        of UTF-8 a name."""
        folder = ("Database", "图" * 60)
        room = total_bytes - layout.gbk_bytes(layout.installed_path(folder + ("",))) - len(".txt")
        name = "图" * (room // 2) + "a" * (room % 2) + ".txt"
        self.assertEqual(total_bytes, layout.gbk_bytes(layout.installed_path(folder + (name,))))
        support.write(os.path.join(self.addon, *folder, name))
        return layout.windows_path(folder + (name,))

    def test_installed_path_of_259_bytes_passes_and_260_fails(self):
        self.file_of(259)
        self.assertEqual({}, self.problems())
        where = self.file_of(260)
        found = self.assertRejected(where, "260 bytes in GBK", "at most 259 bytes")
        self.assertIn("by 1 bytes", found[where].fix)

    def test_folder_of_247_characters_passes_and_248_fails_within_the_byte_bound(self):
        def folder(chars):
            name = "f" * (chars - PREFIX - len("Database\\"))
            os.makedirs(os.path.join(self.addon, "Database", name))
            return "Database\\" + name
        folder(247)
        self.assertEqual({}, self.problems())
        where = folder(248)
        support.write(os.path.join(self.addon, where.replace("\\", os.sep), "x.txt"))
        found = self.assertRejected(where, "248 characters", "at most 247")
        self.assertEqual([where], list(found), "a file below a folder already reported is not reported again")


class Controls(AddOnTest):
    def control(self, path, name="Bad.ocx"):
        shutil.copyfile(path, os.path.join(self.addon, "Controls", name))
        return "Controls\\" + name

    def test_controls_setup_cannot_register_or_uninstall_cannot_unregister(self):
        support.write(os.path.join(self.tmp, "text.ocx"), b"MZ but nothing after")
        cases = [
            (support.module("x86_64", support.CONTROL_EXPORTS), "64-bit x86-64"),
            (support.module("i686", ["DllRegisterServer"]), "exports no DllUnregisterServer"),
            (support.module("i686", ["DllUnregisterServer"]), "exports no DllRegisterServer"),
            (support.module("i686", []), "exports no DllRegisterServer and no DllUnregisterServer"),
            (support.module("i686", support.CONTROL_EXPORTS, kind="exe"), "not a DLL"),
            (os.path.join(self.tmp, "text.ocx"), "not a Windows module"),
        ]
        for path, phrase in cases:
            with self.subTest(phrase=phrase):
                where = self.control(path)
                self.assertRejected(where, phrase)
                os.remove(os.path.join(self.addon, where.replace("\\", os.sep)))

    def test_an_extension_that_the_short_name_matches_is_a_control_too(self):
        self.assertRejected(self.control(support.module("i686", support.CONTROL_EXPORTS), "Old.ocx1"), "8.3")

    def test_a_control_in_a_subfolder_is_copied_not_registered(self):
        os.mkdir(os.path.join(self.addon, "Controls", "old"))
        self.control(support.module("x86_64", []), os.path.join("old", "Legacy.ocx"))
        check = preflight.Preflight(self.addon).run()
        self.assertEqual([], [str(p) for p in check.problems])
        self.assertIn("Controls\\old\\Legacy.ocx is copied, not registered", "\n".join(check.summary()))


class Collisions(AddOnTest):
    def test_files_where_the_programs_own_go(self):
        for name, phrase in (("Setup.exe", "release's own"), ("UNINSTALL.EXE", "release's own"),
                             ("uninstall.log", "install record")):
            with self.subTest(name=name):
                support.write(os.path.join(self.addon, name))
                self.assertRejected(name, phrase)
                os.remove(os.path.join(self.addon, name))

    def test_the_same_names_inside_an_install_folder_land_elsewhere_and_pass(self):
        for name in ("Setup.exe", "Uninstall.exe", "Uninstall.log"):
            support.write(os.path.join(self.addon, "Dunmoor", name))
        self.assertEqual({}, self.problems())


class PeReader(unittest.TestCase):
    """The export table as the kit reads it, against the toolchain's own reading of it."""

    def objdump_exports(self, path):
        # objdump translates its headings: read them in the C locale.
        out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True,
                             env=dict(os.environ, LC_ALL="C")).stdout
        table = out.partition("[Ordinal/Name Pointer] Table")[2].split("\n\n")[0]
        return sorted(line.split("]", 1)[1].strip() for line in table.splitlines() if "]" in line)

    def test_exports_machine_and_kind_agree_with_objdump(self):
        many = ["Entry%02d" % i for i in range(40)] + list(support.CONTROL_EXPORTS)
        for arch, exports, kind in (("i686", support.CONTROL_EXPORTS, "dll"), ("x86_64", many, "dll"),
                                    ("i686", [], "dll"), ("i686", [], "exe")):
            with self.subTest(arch=arch, exports=len(exports), kind=kind):
                path = support.module(arch, exports, kind)
                module = pe.read(path)
                self.assertEqual(self.objdump_exports(path), sorted(module.exports))
                self.assertEqual(arch == "i686", module.machine == pe.MACHINE_I386)
                self.assertEqual(kind == "dll", module.is_dll)

    def test_damaged_modules_are_refused_not_crashed_on(self):
        with open(support.module("i686", support.CONTROL_EXPORTS), "rb") as f:
            data = f.read()
        (pe_at,) = struct.unpack_from("<I", data, 0x3C)
        damaged = [data[:cut] for cut in range(0, len(data), 64)]
        damaged.append(data[:0x3C] + struct.pack("<I", 0x7FFFFFF0) + data[0x40:])  # PE header far outside
        damaged.append(data[:pe_at + 6] + struct.pack("<H", 0xFFFF) + data[pe_at + 8:])  # 65535 sections
        whole = pe.parse(data)
        # A cut before the last exported name's end loses what the parser reads; one after it may
        # only lose what it never reads, and then the module reads as the whole one does.
        names_end = max(data.index(name.encode("latin-1") + b"\0") + len(name) + 1 for name in whole.exports)
        for i, bad in enumerate(damaged):
            with self.subTest(case=i, size=len(bad)):
                if len(bad) < names_end or len(bad) == len(data):
                    with self.assertRaises(pe.NotAModule, msg="a module damaged at %d of %d bytes was read"
                                           % (len(bad), len(data))):
                        pe.parse(bad)
                else:
                    try:
                        cut = pe.parse(bad)
                    except pe.NotAModule:
                        continue
                    self.assertEqual((cut.machine, cut.is_dll, cut.exports),
                                     (whole.machine, whole.is_dll, whole.exports),
                                     "cut at %d of %d bytes, after the export names" % (len(bad), len(data)))

if __name__ == "__main__":
    unittest.main()
