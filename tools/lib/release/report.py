#!/usr/bin/env python3
"""Writes the report of a release's trial install (report.md) from what tools/release gathered.

    report.py WORK_DIR REPORT_DIR NAME
"""
import json
import os
import re
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import snapshot  # noqa: E402


def read(path, default=""):
    try:
        with open(path, encoding="utf-8") as f:
            return f.read().rstrip("\n")
    except FileNotFoundError:
        return default


def facts(work):
    found = {}
    for line in read(os.path.join(work, "facts.sh")).splitlines():
        key, _, value = line.partition("=")
        found[key] = value
    return found


def shown(data):
    """A value's data as reg.exe exported it, in a form to read."""
    if data.startswith('"') and data.endswith('"'):
        return re.sub(r"\\(.)", r"\1", data[1:-1])
    if data.startswith("dword:"):
        return "%d (REG_DWORD)" % int(data[6:], 16)
    return data


def block(text):
    return "```\n" + (text or "(nothing)") + "\n```\n"


def registry_lines(changes):
    lines = []
    for sign, path, what in changes:
        if path.startswith("C:"):
            continue
        if " = " in path and sign == "+":
            key, _, value = path.partition(" = ")
            lines.append("%s %s  %s = %s" % (sign, key, value, shown(what)))
        else:
            lines.append("%s %s" % (sign, path))
    return "\n".join(lines)


def file_lines(changes):
    return "\n".join("%s %s (%s)" % c for c in changes if c[1].startswith("C:"))


def main(work, report_dir, name):
    snaps = {}
    for moment in ("before", "installed", "after"):
        with open(os.path.join(work, "snapshot-%s.json" % moment), encoding="utf-8") as f:
            snaps[moment] = json.load(f)
    fact = facts(work)
    os.makedirs(report_dir, exist_ok=True)
    for shot in ("setup-completed.png", "uninstall-completed.png"):
        if os.path.exists(os.path.join(work, shot)):
            shutil.copyfile(os.path.join(work, shot), os.path.join(report_dir, shot))
    installed = snapshot.changes(snaps["before"], snaps["installed"])
    residue = snapshot.residue(snaps["before"], snaps["after"])
    left = snapshot.intended(snaps["before"], snaps["after"])
    if fact.get("arch") == "win64":
        programs = ("This machine's kernel runs no 32-bit code, so Wine here cannot run the shipped i686 programs. "
                    "The trial ran the x86-64 build of the same sources in their place, from a copy of the release "
                    "folder that differs from `%s/` only in `Setup.exe` and `Uninstall.exe`%s%s. Registry entries "
                    "therefore appear in the 64-bit view; the i686 programs on 64-bit Windows write the same keys "
                    "below `Wow6432Node`. The release folder and the archive hold the i686 programs."
                    % (name, " (signed with the same certificate)" if fact.get("signed") == "yes" else "",
                       " and in the controls that the x86-64 builds given with --prove-controls replaced"
                       if fact.get("prove_controls") else
                       "; 32-bit controls cannot load into them, so their registration was tried and failed "
                       "silently, as Setup passes over a control it cannot load"))
    else:
        programs = "The trial ran the shipped i686 programs of `%s/` themselves under 32-bit Wine." % name
    sections = [
        "# Release %s: trial install and removal\n" % name,
        "Run by tools/release under %s, in a fresh prefix under the zh_CN.UTF-8 locale (code page 936). "
        "The release folder was drive D:, as a disc or an extracted archive would be; `Setup.exe` was started "
        "from it and the uninstaller from the uninstall entry's `UninstallString`, as Windows starts it, each "
        "answered by pressing its buttons.\n" % fact.get("wine", "Wine"),
        "**Programs.** " + programs + "\n",
        "## Preflight\n", block(read(os.path.join(work, "preflight.txt"))),
        "## Steps\n", block(read(os.path.join(work, "proof.log"))),
        "## The install record (Uninstall.log, from GBK)\n",
        "Every line is the one expected for this release (compared as a set: the order follows the "
        "platform's file search).\n", block(read(os.path.join(work, "record.txt"))),
        "## Registry entries written by the install\n",
        "Before the install the prefix held these CAD releases, as their own installers register them: %s.\n"
        % fact.get("cad", "none"), block(registry_lines(installed)),
        "## Files written by the install\n", block(file_lines(installed)),
        "## Residue: before the install against after the removal\n",
        "Snapshots: every file and folder of drive C: with its size (less the temporary folders) and every key "
        "and value of HKLM\\Software and HKCU\\Software (less Wine's own). %d entries before, %d installed, "
        "%d after.\n" % (len(snaps["before"]), len(snaps["installed"]), len(snaps["after"])),
        "Left behind: **%s**\n" % ("nothing" if not residue else "%d entries" % len(residue)),
        block("\n".join("%s %s (%s)" % c for c in residue)) if residue else "",
        "Left on purpose, as the design does (the CAD releases' application keys, which the record never names, "
        "and the parents of the product key and of the install folder):\n",
        block("\n".join("%s %s" % (c[0], c[1]) for c in left)),
        "## Completion views\n",
        "![Setup completed](setup-completed.png)\n",
        "![Uninstall completed](uninstall-completed.png)\n",
    ]
    with open(os.path.join(report_dir, "report.md"), "w", encoding="utf-8") as f:
        f.write("\n".join(sections))
    return 1 if residue else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("usage: report.py WORK_DIR REPORT_DIR NAME")
    sys.exit(main(*sys.argv[1:]))
