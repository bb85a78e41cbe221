"""What Setup does with the folder it is started from, as its documentation says, and the limits of
the paths it installs. The release kit checks an add-on against this and, after a trial install,
compares the install record with what it expects from here.
"""
import os

INSTALL_FOLDERS = ("Support", "Controls", "Database", "Dunmoor")
SETUP = "Setup.exe"          # skipped among the loose files: never copied
UNINSTALLER = "Uninstall.exe"  # a loose file like any other: copied next to the record
RECORD = "Uninstall.log"     # written by Setup into the install folder
# The fixed install folder on the system drive; the drive letter is one byte whichever it is.
INSTALL_FOLDER = "C:\\Program Files\\Kelvora\\Pindlemark\\"
# The modules that Setup registers with each family of CAD releases.
CAD_MODULES = ("Support\\2000-02\\Quorrel.arx", "Support\\2004-06\\Quorrel.arx", "Support\\2007-09\\Quorrel.arx")
PRODUCT_KEY = "SOFTWARE\\Kelvora\\Pindlemark\\V5"
UNINSTALL_ENTRY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pindlemark V5"

# Both programs hold paths in buffers of MAX_PATH (260) bytes with the terminating NUL, in GBK:
# MakeFolderPath refuses a longer folder, Uninstall refuses a longer record value.
PATH_BYTES = 259
# CreateDirectoryW refuses a folder longer than MAX_PATH - 12 characters with its NUL, so that
# an 8.3 name still fits below it. Wine has no such limit: only this check catches it.
FOLDER_CHARS = 247


def gbk(text):
    """The text in code page 936, as Windows writes it: Python's GBK codec lacks only the euro
    sign, which Windows has at 0x80. Raises UnicodeEncodeError for a character it cannot write."""
    return b"".join(b"\x80" if ch == "\u20ac" else ch.encode("gbk") for ch in text)


def windows_path(parts):
    return "\\".join(parts)


def installed_path(parts):
    return INSTALL_FOLDER + windows_path(parts)


def gbk_bytes(text):
    return len(gbk(text))


def wide_chars(text):
    """Length in UTF-16 code units, as the system counts characters."""
    return len(text.encode("utf-16-le")) // 2


def is_control(name):
    """Whether Setup's search for *.ocx finds the file. A longer extension that starts with
    "ocx" matches too, through the short 8.3 name that Windows gives such a file (A~1.OCX)."""
    extension = name.rpartition(".")[2] if "." in name else ""
    return extension.lower().startswith("ocx")


def install_folder_of(name):
    """The install folder that a folder of this name in the add-on is, or None. Windows finds
    the folder whatever the case of its name."""
    for folder in INSTALL_FOLDERS:
        if name.lower() == folder.lower():
            return folder
    return None


def walk(root):
    """The add-on's entries as (parts, path, is_folder) below the install folders and the loose
    files, in a fixed order; parts start with the install folder's own spelling of the name."""
    entries = []
    for name in sorted(os.listdir(root)):
        path = os.path.join(root, name)
        folder = install_folder_of(name) if os.path.isdir(path) and not os.path.islink(path) else None
        if folder is None:
            entries.append(((name,), path, os.path.isdir(path) and not os.path.islink(path)))
            continue
        entries.append(((folder,), path, True))
        for top, dirs, files in os.walk(path):
            dirs.sort()
            relative = os.path.relpath(top, path)
            base = (folder,) if relative == "." else (folder,) + tuple(relative.split(os.sep))
            for d in dirs:
                entries.append((base + (d,), os.path.join(top, d), not os.path.islink(os.path.join(top, d))))
            for f in sorted(files):
                entries.append((base + (f,), os.path.join(top, f), False))
    return entries


def expected_record(release):
    """The lines of the install record that Setup writes for the release folder (the add-on with
    both programs), sorted: the order of the lines follows the platform's file search."""
    lines = []
    for parts, path, is_folder in walk(release):
        top = parts[0]
        if len(parts) == 1 and top not in INSTALL_FOLDERS:
            if not is_folder and top.lower() != SETUP.lower():
                lines.append("File Copy: " + installed_path(parts))
            continue
        if top not in INSTALL_FOLDERS:
            continue
        if is_folder:
            lines.append("Made Dir: " + installed_path(parts))
        else:
            lines.append("File Copy: " + installed_path(parts))
            if len(parts) == 2 and top == "Controls" and is_control(parts[1]):
                lines.append("Reg Ctrl: " + installed_path(parts))
    lines.append("RegDB Key: 2," + PRODUCT_KEY)
    lines.append("RegDB Key: 2," + UNINSTALL_ENTRY)
    lines.append("File Copy: " + INSTALL_FOLDER + RECORD)
    return sorted(lines)
