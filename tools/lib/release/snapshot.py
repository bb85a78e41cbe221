#!/usr/bin/env python3
"""What a Wine prefix holds, to show that an install and its removal leave it as they found it:
every file and folder of drive C: (with its size) and every key and value of HKLM\\Software and
HKCU\\Software (HKEY_CLASSES_ROOT lies in both), as reg.exe exports them.

    snapshot.py take DRIVE_C HKLM.reg HKCU.reg OUT.json
    snapshot.py diff BEFORE.json AFTER.json     prints the residue; exits 1 when there is any

Left out: the temporary folders (Wine's and the user's), Wine's own keys ("Software\\Wine") and its
list of the host's network adapters ("NetworkCards"), which Wine changes whenever it likes.
"""
import json
import os
import re
import sys

TEMP_FOLDERS = re.compile(r"^C:\\(windows\\temp|users\\[^\\]+\\AppData\\Local\\Temp|users\\[^\\]+\\Temp)$", re.I)
WINE_KEYS = re.compile(r"^HK(LM|CU)\\Software\\Wine$|\\NetworkCards$", re.I)
ROOTS = {"HKEY_LOCAL_MACHINE": "HKLM", "HKEY_CURRENT_USER": "HKCU"}
# What the design leaves on purpose: the CAD releases' application keys (never recorded), the keys
# above the product key and the folder above the install folder (made as parents, not recorded).
INTENDED = re.compile(r"^(HKLM\\Software\\Autodesk\\AutoCAD\\.*|HKLM\\Software\\Kelvora|HKLM\\Software\\Kelvora\\Pindlemark"
                      r"|C:\\Program Files\\Kelvora)$", re.I)


def files(drive_c):
    found = {}
    for top, dirs, names in os.walk(drive_c):
        windows = "C:" + top[len(drive_c.rstrip("/")):].replace("/", "\\")
        kept = []
        for name in sorted(dirs):
            path = windows.rstrip("\\") + "\\" + name
            if TEMP_FOLDERS.match(path):
                continue
            if os.path.islink(os.path.join(top, name)):
                found[path] = "link"  # Wine's links to the host user's folders: the link, not its target
            else:
                found[path] = "folder"
                kept.append(name)
        dirs[:] = kept
        for name in names:
            host = os.path.join(top, name)
            found[windows.rstrip("\\") + "\\" + name] = "link" if os.path.islink(host) else \
                "file of %d bytes" % os.lstat(host).st_size
    return found


def registry(export):
    """Keys and values of a reg.exe export (UTF-16): "KEY" -> "key", "KEY = name" -> its data as
    exported ("dword:00000002", "\\"text\\"", "hex(2):...")."""
    with open(export, encoding="utf-16") as f:
        text = f.read().replace("\\\r\n  ", "").replace("\\\n  ", "")
    found, key, skipping = {}, None, False
    for line in text.splitlines():
        if line.startswith("[") and line.endswith("]"):
            root, _, rest = line[1:-1].partition("\\")
            key = ROOTS.get(root, root) + ("\\" + rest if rest else "")
            skipping = bool(WINE_KEYS.search(key)) or any(WINE_KEYS.search(p) for p in parents(key))
            if not skipping:
                found[key] = "key"
        elif key and not skipping and (line.startswith('"') or line.startswith("@=")):
            name, data = split_value(line)
            found["%s = %s" % (key, name)] = data
    return found


def parents(key):
    parts = key.split("\\")
    return ["\\".join(parts[:i]) for i in range(2, len(parts))]


def split_value(line):
    if line.startswith("@="):
        return "(default)", line[2:]
    match = re.match(r'"((?:[^"\\]|\\.)*)"=(.*)$', line)
    return re.sub(r"\\(.)", r"\1", match.group(1)), match.group(2)


def take(drive_c, *exports):
    snapshot = files(drive_c)
    for export in exports:
        snapshot.update(registry(export))
    return snapshot


def changes(before, after):
    """(sign, path, what) for everything that differs: "-" gone, "~" changed, "+" new."""
    found = [("-", p, before[p]) for p in before if p not in after]
    found += [("~", p, "%s -> %s" % (before[p], after[p])) for p in before if p in after and before[p] != after[p]]
    found += [("+", p, after[p]) for p in after if p not in before]
    return sorted(found, key=lambda c: (c[1].lower(), c[0]))


def residue(before, after):
    """The changes that the install and its removal left, less what the design leaves on purpose."""
    return [c for c in changes(before, after) if not (c[0] == "+" and INTENDED.match(c[1].split(" = ")[0]))]


def intended(before, after):
    return [c for c in changes(before, after) if c[0] == "+" and INTENDED.match(c[1].split(" = ")[0])]


def main(argv):
    if len(argv) >= 4 and argv[1] == "take":
        with open(argv[-1], "w", encoding="utf-8") as f:
            json.dump(take(argv[2], *argv[3:-1]), f, ensure_ascii=False, indent=0, sort_keys=True)
        return 0
    if len(argv) == 4 and argv[1] == "diff":
        with open(argv[2], encoding="utf-8") as f, open(argv[3], encoding="utf-8") as g:
            left = residue(json.load(f), json.load(g))
        for sign, path, what in left:
            print("%s %s (%s)" % (sign, path, what))
        return 1 if left else 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
