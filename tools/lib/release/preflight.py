#!/usr/bin/env python3
"""Checks an add-on folder before it is released: everything that would otherwise surface only on a
user's machine, as an elevated Setup that fails or an Uninstall that leaves files behind.

    preflight.py ADDON_DIR

Prints each problem with the file, the reason and the fix, then what Setup will copy, register and
record. Exits 1 when there is a problem.
"""
import os
import stat
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layout  # noqa: E402
import pe  # noqa: E402

FORBIDDEN = '<>:"/\\|?*'
DEVICES = {"CON", "PRN", "AUX", "NUL"} | {"COM%d" % i for i in range(1, 10)} | {"LPT%d" % i for i in range(1, 10)}
RENAME = "rename it"


class Problem:
    def __init__(self, where, reason, fix):
        self.where, self.reason, self.fix = where, reason, fix

    def __str__(self):
        return "%s: %s\n      fix: %s" % (self.where, self.reason, self.fix)


def name_problem(name):
    """Why Windows or the install record cannot hold this name, or None."""
    try:
        layout.gbk(name)
    except UnicodeEncodeError as e:
        bad = e.object[e.start:e.end]
        shown = bad.encode("utf-8", "surrogateescape").decode("utf-8", "replace") if bad.isprintable() else repr(bad)
        return ("its name holds %s, which GBK (code page 936) cannot write; both programs and the install "
                "record hold every name in GBK" % shown, RENAME + " with characters GBK has")
    if "\n" in name or "\r" in name:
        return ("its name holds a line break; the install record holds one path a line, so Uninstall would "
                "read two broken paths", RENAME)
    bad = sorted({c for c in name if c in FORBIDDEN or ord(c) < 32})
    if bad:
        return ("Windows allows no %s in a name" % " ".join(repr(c) for c in bad), RENAME)
    if name.endswith((".", " ")):
        return ("Windows drops a trailing dot or blank, so the installed file would not be the recorded one",
                RENAME)
    if name.split(".")[0].upper() in DEVICES:
        return ("%s is a device name on Windows" % name.split(".")[0], RENAME)
    return None


def length_problem(parts, is_folder):
    path = layout.installed_path(parts)
    size = layout.gbk_bytes(path)
    if size > layout.PATH_BYTES:
        return ("installed as %s, %d bytes in GBK; Setup and Uninstall take paths of at most %d bytes "
                "(MAX_PATH with its NUL)" % (path, size, layout.PATH_BYTES),
                "shorten its name or its folders' names by %d bytes" % (size - layout.PATH_BYTES))
    chars = layout.wide_chars(path)
    if is_folder and chars > layout.FOLDER_CHARS:
        return ("installed as %s, %d characters; Windows creates folders of at most %d (MAX_PATH - 12 with "
                "its NUL), so Setup would stop at a prompt that it cannot make the folder" %
                (path, chars, layout.FOLDER_CHARS),
                "shorten its name or its folders' names by %d characters" % (chars - layout.FOLDER_CHARS))
    return None


def control_problem(path, name):
    if not name.lower().endswith(".ocx"):
        return ("Setup registers every file that *.ocx finds, and Windows finds this one through its short "
                "8.3 name", "rename it so that its extension does not start with .ocx, or make it a control")
    try:
        module = pe.read(path)
    except (pe.NotAModule, OSError) as e:
        return ("not a Windows module: %s" % e, "ship the control's 32-bit DLL build")
    if module.machine != pe.MACHINE_I386:
        return ("a %s module; Setup and Uninstall are 32-bit programs and cannot load it" % module.machine_name,
                "ship the control's 32-bit x86 build")
    if not module.is_dll:
        return ("a program, not a DLL; Setup can only load a DLL", "ship the control's DLL build")
    missing = [e for e in ("DllRegisterServer", "DllUnregisterServer") if e not in module.exports]
    if missing:
        return ("exports no %s; Setup would record it as registered and Uninstall could not unregister it"
                % " and no ".join(missing),
                "ship a self-registering control, one that exports DllRegisterServer and DllUnregisterServer")
    return None


class Preflight:
    def __init__(self, root):
        self.root = root
        self.problems = []
        self.files = []      # (parts, size) of every file Setup copies, the loose ones included
        self.folders = []    # parts of every folder Setup makes and records
        self.controls = []   # parts of every control Setup registers
        self.loose = []
        self.not_registered = []
        self.longest = ((), 0)

    def add(self, parts, reason_fix):
        if reason_fix:
            self.problems.append(Problem(layout.windows_path(parts), *reason_fix))

    def run(self):
        entries = layout.walk(self.root)
        present = {parts[0] for parts, _, is_folder in entries if len(parts) == 1 and is_folder}
        for folder in layout.INSTALL_FOLDERS:
            if folder not in present:
                self.add((folder,), ("missing; Setup then stops at a prompt to retry, ignore or end the install",
                                     "add the folder (an empty one will do)"))
        self.check_cases(entries)
        too_long = []
        for parts, path, is_folder in entries:
            self.check_entry(parts, path, is_folder, too_long)
        self.check_cad_modules()
        return self

    def check_cases(self, entries):
        seen = {}
        for parts, _, _ in entries:
            key = tuple(p.upper() for p in parts)
            if key in seen and seen[key] != parts:
                self.add(parts, ("the same name as %s on Windows, where names differ not by case"
                                 % layout.windows_path(seen[key]), "rename one of them"))
            seen.setdefault(key, parts)

    def check_entry(self, parts, path, is_folder, too_long):
        mode = os.lstat(path).st_mode
        if stat.S_ISLNK(mode):
            return self.add(parts, ("a symbolic link; a disc or an archive for Windows cannot carry it",
                                    "replace it with what it points to"))
        if not (stat.S_ISDIR(mode) or stat.S_ISREG(mode)):
            return self.add(parts, ("neither a file nor a folder", "remove it"))
        problem = name_problem(parts[-1])
        if problem:
            return self.add(parts, problem)
        top = parts[0]
        if len(parts) == 1 and top not in layout.INSTALL_FOLDERS:
            return self.check_loose(parts, path, is_folder)
        if any(parts[:len(p)] == p for p in too_long):
            return  # below a folder already reported as too long
        problem = length_problem(parts, is_folder)
        if problem:
            too_long.append(parts)
            return self.add(parts, problem)
        self.note_length(parts)
        if is_folder:
            return self.folders.append(parts)
        self.files.append((parts, os.path.getsize(path)))
        if top == "Controls" and layout.is_control(parts[-1]):
            if len(parts) == 2:
                self.controls.append(parts)
                self.add(parts, control_problem(path, parts[-1]))
            else:
                self.not_registered.append(parts)

    def check_loose(self, parts, path, is_folder):
        name = parts[0]
        if is_folder:
            return self.add(parts, ("a folder beside the install folders; Setup copies only %s and the files "
                                    "beside them" % ", ".join(layout.INSTALL_FOLDERS),
                                    "move it into one of the install folders, or leave it out"))
        if name.lower() in (layout.SETUP.lower(), layout.UNINSTALLER.lower()):
            return self.add(parts, ("the release's own %s goes there; the kit puts the built program beside "
                                    "the add-on" % name, "leave it out of the add-on"))
        if name.lower() == layout.RECORD.lower():
            return self.add(parts, ("Setup writes its install record under this name into the install folder, "
                                    "over this file, and Uninstall deletes it", "rename it"))
        problem = length_problem(parts, False)
        if problem:
            return self.add(parts, problem)
        self.note_length(parts)
        self.loose.append(parts)
        self.files.append((parts, os.path.getsize(path)))

    def note_length(self, parts):
        size = layout.gbk_bytes(layout.installed_path(parts))
        if size > self.longest[1]:
            self.longest = (parts, size)

    def check_cad_modules(self):
        names = {tuple(p.upper() for p in parts) for parts, _ in self.files}
        for module in layout.CAD_MODULES:
            parts = tuple(module.split("\\"))
            if tuple(p.upper() for p in parts) not in names:
                self.add(parts, ("missing; Setup registers this module with the installed CAD releases of its "
                                 "family, which would then fail to load it", "add the module built for them"))

    def summary(self):
        size = sum(s for _, s in self.files)
        # Setup copies Uninstall.exe as a loose file and records its own record file.
        file_records = len(self.files) + 2
        lines = ["add-on: %s, %s, in %s; %s beside the install folders"
                 % (count(len(self.files), "file"), human(size), count(len(self.folders), "folder"),
                    count(len(self.loose), "loose file"))]
        for folder in layout.INSTALL_FOLDERS:
            inside = [s for parts, s in self.files if parts[0] == folder]
            sub = [parts for parts in self.folders if parts[0] == folder and len(parts) > 1]
            lines.append("  %-9s %s, %s, %s" % (folder, count(len(inside), "file"), human(sum(inside)),
                                                count(len(sub), "subfolder")))
        lines.append("Setup will copy: the four install folders and %s with Uninstall.exe, into %s"
                     % (", ".join(layout.windows_path(p) for p in self.loose) or "no other loose file",
                        layout.INSTALL_FOLDER))
        lines.append("Setup will register: %s" % (", ".join(layout.windows_path(p) for p in self.controls)
                                                  or "no control"))
        for parts in self.not_registered:
            lines.append("  (%s is copied, not registered: only Controls\\*.ocx are)" % layout.windows_path(parts))
        lines.append("Setup will record: %s, %s, %s, 2 registry keys (%d lines)"
                     % (count(len(self.folders), "folder"), count(file_records, "file"),
                        count(len(self.controls), "control"),
                        len(self.folders) + file_records + len(self.controls) + 2))
        parts, longest = self.longest
        if parts:
            lines.append("longest installed path: %d of %d bytes (%s); a release folder of up to %d bytes "
                         "can hold it" % (longest, layout.PATH_BYTES, layout.windows_path(parts),
                                          layout.PATH_BYTES - 1 - layout.gbk_bytes(layout.windows_path(parts))))
        return lines


def count(n, noun):
    return "%d %s%s" % (n, noun, "" if n == 1 else "s")


def human(size):
    for unit in ("bytes", "KB", "MB"):
        if size < 1024 or unit == "MB":
            return ("%d %s" % (size, unit)) if unit == "bytes" else ("%.1f %s" % (size, unit))
        size /= 1024.0


def main(argv):
    if len(argv) != 2:
        print("usage: preflight.py ADDON_DIR", file=sys.stderr)
        return 2
    # A name that is not even UTF-8 on this host is shown escaped rather than stopping the report.
    sys.stdout.reconfigure(errors="backslashreplace")
    check = Preflight(argv[1]).run()
    for line in check.summary():
        print("   " + line)
    if check.problems:
        print("preflight: %d problem%s:" % (len(check.problems), "" if len(check.problems) == 1 else "s"))
        for problem in check.problems:
            print("   " + str(problem))
        return 1
    print("preflight: no problem")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
