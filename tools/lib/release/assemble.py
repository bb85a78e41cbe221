#!/usr/bin/env python3
"""Lays out a release folder as Setup expects it: the add-on's install folders and loose files, with
Setup.exe and Uninstall.exe beside them.

    assemble.py ADDON_DIR PROGRAMS_DIR RELEASE_DIR

Only contents are copied: modes, owners and dates come from the kit, so that the same input gives
the same release."""
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import layout  # noqa: E402
from progress import Progress  # noqa: E402


def assemble(addon, programs, release):
    entries = layout.walk(addon)
    files = [(parts, path) for parts, path, is_folder in entries if not is_folder]
    files += [((name,), os.path.join(programs, name)) for name in (layout.SETUP, layout.UNINSTALLER)]
    os.mkdir(release, 0o755)
    for parts, _, is_folder in entries:
        if is_folder:
            os.mkdir(os.path.join(release, *parts), 0o755)
    total = sum(os.path.getsize(path) for _, path in files)
    copied = [0]
    progress = Progress("copying", len(files),
                        lambda done, count: "%d/%d files, %.1f/%.1f MB" % (done, count, copied[0] / 2**20, total / 2**20))
    for parts, path in files:
        target = os.path.join(release, *parts)
        shutil.copyfile(path, target)
        os.chmod(target, 0o644)
        copied[0] += os.path.getsize(path)
        progress.step()
    progress.finish()


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: assemble.py ADDON_DIR PROGRAMS_DIR RELEASE_DIR")
    assemble(*sys.argv[1:])
