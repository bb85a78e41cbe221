#!/usr/bin/env python3
"""The SHA-256 manifest of a release, in the format of sha256sum (so "sha256sum -c SHA256SUMS" checks
it): one line per file below the folder, paths relative to it with "/", in the order of their bytes.

    manifest.py write FOLDER MANIFEST    lists every file below FOLDER except the manifest itself
    manifest.py check FOLDER MANIFEST    exits 1, naming them, when files differ from the manifest
"""
import hashlib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from progress import Progress  # noqa: E402


def files(folder, leave_out):
    found = []
    for top, dirs, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            if os.path.abspath(path) != os.path.abspath(leave_out):
                found.append(os.path.relpath(path, folder).replace(os.sep, "/"))
    return sorted(found, key=os.fsencode)


def digest(path):
    sha = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            sha.update(block)
    return sha.hexdigest()


def digests(folder, leave_out):
    listed = files(folder, leave_out)
    progress = Progress("hashing", len(listed))
    result = {}
    for name in listed:
        result[name] = digest(os.path.join(folder, name))
        progress.step()
    progress.finish()
    return result


def write(folder, manifest):
    lines = ["%s  %s\n" % (h, name) for name, h in digests(folder, manifest).items()]
    with open(manifest, "w", encoding="utf-8", newline="\n") as f:
        f.writelines(lines)
    print("   %s: %d files" % (os.path.basename(manifest), len(lines)))


def check(folder, manifest):
    with open(manifest, encoding="utf-8") as f:
        listed = dict(reversed(line.rstrip("\n").split("  ", 1)) for line in f)
    found = digests(folder, manifest)
    changed = sorted(set(listed) ^ set(found)) + sorted(n for n in set(listed) & set(found) if listed[n] != found[n])
    for name in changed:
        print("   %s: %s" % (name, "changed" if name in listed and name in found else
                              "missing" if name in listed else "not in the manifest"))
    return 1 if changed else 0


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in ("write", "check"):
        sys.exit("usage: manifest.py write|check FOLDER MANIFEST")
    sys.exit(write(*sys.argv[2:]) if sys.argv[1] == "write" else check(*sys.argv[2:]))
