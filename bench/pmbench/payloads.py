"""The files the cases copy, under C:\\bench of the prefix.

A payload is the four install folders with random (incompressible) files, in
C:\\bench\\payload-<name>. Its add-on folder, C:\\bench\\addon-<name>, holds Setup.exe and
Uninstall.exe beside hard links to the same files, so that every program reads the same bytes
from the same cache. Its NSIS installer is C:\\bench\\nsis-<name>.exe.
"""

import os
import shutil
import subprocess
import sys

from . import BenchFailure

FOLDERS = ("Support", "Controls", "Database", "Dunmoor")
KIB = 1024

# name -> subfolders in each install folder, files in each subfolder, bytes a file. The numbers of
# 4 KB files are divided by the run's scale (PM_BENCH_SCALE) for a trial run.
SHAPES = {
    "warm": (2, 5, 4 * KIB),
    "10k": (10, 250, 4 * KIB),
    "20k": (10, 500, 4 * KIB),
    "1mb": (10, 5, 1024 * KIB),
}


def shape(name, scale):
    subfolders, files, size = SHAPES[name]
    if name in ("10k", "20k"):
        files //= scale
    return subfolders, files, size


def make_payload(bench, name, scale, setup_exe, uninstall_exe, note):
    """The payload and its add-on folder; returns the number of files in the install folders."""
    subfolders, files, size = shape(name, scale)
    note(f"making payload {name}: {len(FOLDERS)} folders x {subfolders} subfolders x {files} files of {size} bytes")
    root = os.path.join(bench, f"payload-{name}")
    for folder in FOLDERS:
        for s in range(subfolders):
            path = os.path.join(root, folder, f"sub{s:02d}")
            os.makedirs(path)
            for f in range(files):
                with open(os.path.join(path, f"file{f:03d}.dat"), "wb") as out:
                    out.write(os.urandom(size))
    make_addon(bench, name, f"addon-{name}", setup_exe, uninstall_exe)
    return len(FOLDERS) * subfolders * files


def make_addon(bench, name, folder, setup_exe, uninstall_exe):
    """An add-on folder of the payload with the given Setup program under the name Setup.exe (the
    one loose file Setup does not install)."""
    target = os.path.join(bench, folder)
    os.makedirs(target)
    shutil.copy(setup_exe, os.path.join(target, "Setup.exe"))
    shutil.copy(uninstall_exe, target)
    for install_folder in FOLDERS:
        shutil.copytree(
            os.path.join(bench, f"payload-{name}", install_folder),
            os.path.join(target, install_folder),
            copy_function=os.link,
        )


def nsis_target(arch):
    return "x86-unicode" if arch == "win32" else "amd64-unicode"


def make_nsis(bench, name, arch, note):
    """An NSIS installer of the payload as Debian's makensis makes it by default (zlib, not solid),
    with its progress page that closes when done, and its uninstaller (RMDir /r of the install
    folder, its page closing when done too). One setting differs from the defaults:
    SetDatablockOptimize off, since makensis's search for duplicate file data grows with the
    square of the number of files (10 000 files would take hours to build); it changes nothing
    in how the installer runs, and random files have no duplicates."""
    note(f"building the NSIS installer of payload {name} ({nsis_target(arch)})")
    lines = [
        "Unicode true",
        f"Target {nsis_target(arch)}",
        'Name "Pindlemark bench"',
        f'OutFile "{bench}/nsis-{name}.exe"',
        'InstallDir "C:\\bench-nsis"',
        "RequestExecutionLevel user",
        "SetDatablockOptimize off",
        "AutoCloseWindow true",
        "Page instfiles",
        "UninstPage instfiles",
        "Section",
        '  SetOutPath "$INSTDIR"',
        *(f'  File /r "{bench}/payload-{name}/{folder}"' for folder in FOLDERS),
        '  WriteUninstaller "$INSTDIR\\uninst.exe"',
        "SectionEnd",
        'Section "Uninstall"',
        "  SetAutoClose true",  # AutoCloseWindow is the installer's only
        '  RMDir /r "$INSTDIR"',
        "SectionEnd",
    ]
    script = os.path.join(bench, f"nsis-{name}.nsi")
    with open(script, "w") as out:
        out.write("\n".join(lines) + "\n")
    built = subprocess.run(["makensis", "-V1", script], stdin=subprocess.DEVNULL, stdout=sys.stderr, check=False)
    if built.returncode != 0:
        raise BenchFailure(f"makensis of payload {name}")
