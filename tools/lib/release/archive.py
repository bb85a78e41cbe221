#!/usr/bin/env python3
"""Dates every file of a release folder alike and packs it into a ZIP archive that any extractor
unpacks with its Chinese names intact: names in UTF-8 with the language encoding flag (bit 11) set
on every entry whose name is not ASCII (an ASCII name is the same bytes in any encoding), entries
in a fixed order, every date the release's date. Two runs on the same
release give the same bytes.

    archive.py RELEASE_DIR ZIP_FILE EPOCH
"""
import os
import sys
import time
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from progress import Progress  # noqa: E402

# Made on Unix, with Unix modes and the MS-DOS folder flag: Info-ZIP's unzip reads the names of an
# archive made on MS-DOS in the OEM code page even where the UTF-8 flag is set; the Windows
# extractors look at the flag whatever the maker.
UNIX = 3
FILE_MODE = 0o100644 << 16
FOLDER_MODE = (0o040755 << 16) | 0x10
EARLIEST = 315532800  # 1980-01-01, the first date a ZIP entry can hold


def entries(release):
    """(archive name, path) of the release folder itself and everything in it, folders first, in
    the order of their names' bytes."""
    base = os.path.basename(os.path.normpath(release))
    found = [(base + "/", release)]
    for top, dirs, files in os.walk(release):
        dirs.sort(key=os.fsencode)
        relative = os.path.relpath(top, release)
        prefix = base + "/" + ("" if relative == "." else relative.replace(os.sep, "/") + "/")
        for name in dirs:
            found.append((prefix + name + "/", os.path.join(top, name)))
        for name in sorted(files, key=os.fsencode):
            found.append((prefix + name, os.path.join(top, name)))
    return sorted(found, key=lambda e: os.fsencode(e[0]))


def stamp(release, epoch):
    for _, path in entries(release):
        os.utime(path, (epoch, epoch))


def write(release, zip_path, epoch):
    date = time.gmtime(max(epoch, EARLIEST))[:6]
    listed = entries(release)
    progress = Progress("archiving", len(listed))
    with zipfile.ZipFile(zip_path, "w") as archive:
        for name, path in listed:
            info = zipfile.ZipInfo(name, date)
            info.create_system = UNIX
            if name.endswith("/"):
                info.external_attr = FOLDER_MODE
                archive.writestr(info, b"")
            else:
                info.external_attr = FILE_MODE
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as f:
                    archive.writestr(info, f.read(), compresslevel=9)
            progress.step()
    progress.finish()
    os.utime(zip_path, (epoch, epoch))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: archive.py RELEASE_DIR ZIP_FILE EPOCH")
    release, zip_path, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    stamp(release, epoch)
    write(release, zip_path, epoch)
