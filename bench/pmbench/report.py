"""The report, in Markdown: printed, and for a full run written to docs/BENCHMARKS.md."""

import os
import platform
import subprocess
import time
from dataclasses import dataclass

from . import payloads, report_breakdown, stats, targets
from .build import ROOT
from .format import kib, mib, ms, pair_ratio, table


WIN64_NOTE = " (the x86-64 build of the programs runs where the kernel runs no 32-bit code)"
TRIAL = "**the 4 KB payloads divided by {} (PM_BENCH_SCALE): a trial run, not the real figures**"


@dataclass
class Run:
    parts: set
    runs: int
    scale: int
    arch: str
    samples: object  # samples.Samples
    rounds: object  # rounds.Rounds, or None without Wine
    repaints: dict  # or None
    sizes: dict  # or None
    wine_version: str
    load_at_start: tuple
    started: float  # time.time()
    note: str  # PM_BENCH_NOTE, or ""


def render(run):
    out = ["# Benchmarks", ""]
    out.append(
        "Measured by `tools/bench` (bench/bench.py) in one run; nothing here is typed in but the note on the\n"
        "machine, if any. Run it again to update this file."
    )
    out += [""] + _machine(run)
    out += ["", "## Targets", ""] + targets.gather(run.samples, run.repaints, run.sizes)
    out += ["", "## How the figures are taken", ""] + _method(run)
    for section in (_install, _uninstall, _scaling, report_breakdown.render, _repaints, _sizes, _rounds):
        out += section(run)
    return "\n".join(out) + "\n"


def _source():
    commit = subprocess.run(
        ["git", "-C", str(ROOT), "rev-parse", "--short", "HEAD"], capture_output=True, text=True, check=False
    ).stdout.strip()
    changed = subprocess.run(
        ["git", "-C", str(ROOT), "diff", "--quiet", "HEAD", "--", ".", ":!docs/BENCHMARKS.md"], check=False
    ).returncode
    return (commit or "unknown") + (" with uncommitted changes" if changed else "")


def _machine(run):
    cpu = "unknown"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    load_end = " ".join(f"{v:.2f}" for v in os.getloadavg())
    load_start = " ".join(f"{v:.2f}" for v in run.load_at_start)
    rows = [
        ("date", time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())),
        ("CPU", f"{cpu} ({os.cpu_count()} cores)"),
        ("load average (1, 5, 15 min)", f"{load_start} at the start, {load_end} at the end; each round's: section 7"),
        ("kernel", f"{platform.system()} {platform.release()}"),
        ("Wine", f"{run.wine_version}, {run.arch}" + (WIN64_NOTE if run.arch == "win64" else "")),
        ("source", _source()),
        ("rounds", f"{run.runs}: every case once a round; each ratio from the {run.runs} pairs of its two cases"),
    ]
    if run.note:
        rows.append(("note on the machine", f"{run.note} (PM_BENCH_NOTE, given by whoever ran it)"))
    if run.scale != 1:
        rows.append(("scale", TRIAL.format(run.scale)))
    rows.append(("duration", f"{(time.time() - run.started) / 60:.0f} min for the whole run, builds included"))
    return table(["", ""], rows)


def _method(run):
    lines = [
        "- Everything runs in one Wine prefix of its own on a virtual display (Xvfb), without a window",
        "  manager; the prefix's X11 driver leaves window management alone (`Managed`=N), since Wine",
        "  otherwise waits two seconds for every window it hides.",
        "- Setup.exe: QueryPerformanceCounter inside Wine, from just before its process is created until its",
        "  completion view appears (title \"安装完成!\", finish button shown), polled every 2 ms by a driver that",
        "  sends nothing to Setup (bench/BenchDriver.cpp). Included: process start, counting the files, copying,",
        "  the controls, the registry, the install record. Setup copies from its own folder into",
        "  C:\\Program Files\\Kelvora\\Pindlemark\\ and is removed by Uninstall.exe straight after.",
    ]
    if "breakdown" in run.parts:
        lines += [
            "- SetupTimed.exe, for the breakdown only: the same sources built with the timing switch, from an",
            "  add-on folder of its own (under the name Setup.exe, beside Uninstall.exe and the same files),",
            "  timed as Setup.exe is and removed by Uninstall.exe the same way. It writes its marks and the",
            "  time and calls of the per-file work to the file that `PM_SETUP_TIMINGS` names, when its process",
            "  ends; the driver passes that variable and reads the file.",
        ]
    lines += [
        "- Uninstall.exe: started from the install folder as the uninstall entry starts it; from the moment",
        "  its confirmation is answered Yes until its completion view appears. The self-removal batch that",
        "  runs after its end is waited for before the next case, and checked to leave nothing but the empty",
        "  C:\\Program Files\\Kelvora, which Setup makes without recording it (the benchmark removes it).",
        "- NSIS: built by Debian's makensis with the defaults (zlib, not solid), `File /r` of the four",
        f"  folders, target {payloads.nsis_target(run.arch)}, with `SetDatablockOptimize off` only because makensis's",
        "  search for duplicate data takes hours with 10 000 files (it does not change how the installer runs).",
        "  With its page: `Page instfiles`, `AutoCloseWindow true`. The uninstaller (`RMDir /r $INSTDIR`,",
        "  `SetAutoClose true`) runs in place with `_?=` so its process does the work.",
        "- NSIS, xcopy, cmd and the floor: the whole Windows process, from just before it is created until it",
        "  has ended, taken the same way inside Wine. Starting a process costs what the no-op `cmd /c exit`",
        "  shows; it is included in every process's figure (Setup's too) and subtracted from none.",
        "- The floor (bench/CopyFloor.cpp): per entry of the four folders walked depth first,",
        "  FindFirstFile/FindNextFile, CopyFileA, SetFileAttributesA(FILE_ATTRIBUTE_NORMAL) and one",
        "  SendMessage from the copying thread to a window of the main thread that does nothing; plus making",
        "  the target folders. It times each of those calls with QueryPerformanceCounter in every run, for",
        "  the breakdown, and its figures include that. Setup's ratio to it is Setup's own overhead. With",
        "  `--visible` its window is a plain top-level window of the size of Setup's dialog, shown while it",
        "  copies, instead of a message-only one: the floor of the 200 × 1 MiB case, where the dialog's",
        "  painting weighs more against the copying.",
        "- cp -r and rm -rf: the host's clock around the command, no Wine involved.",
        "- A case is one install and then its removal (by its own uninstaller where there is one, by",
        "  `rm -rf` on the host after the floor and, outside the 10 000 files, after xcopy), so every install",
        f"  folder is empty before the next install into it. There are {run.runs} rounds, after a warm-up round of",
        "  every kind of case on a tiny payload; every round runs each case once, in one order on odd rounds",
        "  and in the reverse order on even ones. Every timed step starts after `sync`, so that no case pays",
        "  for the write-back of the one before it.",
        "- **Ratios are taken pair by pair.** The two cases of every ratio with a target run back to back",
        "  in each round (Setup between the floor and NSIS with its page; at 20 000 files beside the floor;",
        "  at 200 × 1 MiB beside the floor with a window), so a round gives one pair of runs that met the",
        "  same load on the machine, and the reversed order of every other round lets each case of a pair",
        "  go first as often. A ratio is the median of its pair ratios, with their spread given as the",
        "  lowest–highest pair ratio. Ratios without a target pair the two cases' runs of the same round too,",
        "  further apart in it.",
        "- **Verdicts.** A target on a ratio is *met* when even the highest pair ratio is within it, *missed*",
        f"  when even the lowest is above it, and *undecided* when the spread straddles it, or with fewer than",
        f"  {stats.MIN_PAIRS} pairs. Setup's own spread (its slowest ÷ its fastest run, less one) is held against",
        "  the floor's in the same rounds: met when it is no wider with all rounds and with any one round left",
        "  out, missed when it is wider in all of these, undecided otherwise. Counts and sizes have no",
        "  spread: met or missed.",
        "- This machine is small and may be shared with other work: the spreads show what that did to the",
        "  runs, and a target the spread straddles is undecided rather than met or missed by chance.",
    ]
    return lines


def _row(run, label, key, reference=None, mark=""):
    """A case's row: its runs round by round, min, median and max, the reference ÷ this case pair
    by pair, and the target on that ratio, or mark ("reported, no target", or nothing)."""
    samples = run.samples
    if not samples.has(key):
        return None
    values = samples.values(key)
    ratio = samples.ratio(reference, key) if reference else None
    target = targets.target_of(reference, key) if reference else None
    if ratio is not None and target is not None:
        mark = f"≤ {target.limit:.2f}: {targets.shown(stats.ratio_verdict(ratio, target.limit))}"
    return (
        label,
        " ".join(ms(v) for v in values),
        ms(min(values)),
        ms(stats.median(values)),
        ms(max(values)),
        pair_ratio(ratio) if ratio else "",
        mark if ratio else "",
    )


def _case_table(run, ratio_header, rows):
    rows = [_row(run, *row) for row in rows]
    header = ["case", "runs, round by round (ms)", "min (ms)", "median (ms)", "max (ms)", ratio_header, "target"]
    return table(header, [row for row in rows if row])


REPORTED = "reported, no target"
WITH_WINDOW = "with a window of the dialog's size (--visible)"
RATIO_NOTE = "median of the rounds' pair ratios (lowest–highest)"


def _install(run):
    if "install" not in run.parts:
        return []
    s = run.samples
    subfolders, files, _ = payloads.shape("10k", run.scale)
    out = [
        "",
        "## 1. Install: 10 000 files of 4 KB",
        "",
        f"Four install folders (Support, Controls, Database, Dunmoor) × {subfolders} subfolders × {files} files",
        "of random bytes. The ratio column is Setup's run ÷ the case's run in the same round:",
        f"the {RATIO_NOTE}.",
        "",
    ]
    out += _case_table(
        run,
        "Setup ÷ case",
        [
            ("Setup.exe, start → completion view", "setup-10k"),
            ("floor (bench_floor.exe), start → exit", "floor-10k", "setup-10k"),
            ("NSIS, progress page, start → exit", "nsis-page-10k", "setup-10k"),
            ("NSIS, silent (/S), start → exit", "nsis-silent-10k", "setup-10k", REPORTED),
            ("xcopy /E /I /Q /Y, start → exit", "xcopy-10k", "setup-10k", REPORTED),
            (f"floor {WITH_WINDOW}, start → exit", "floor-visible-10k", "setup-10k", REPORTED),
            ("cp -r on the host", "cp-10k", "setup-10k"),
            ("no-op: cmd /c exit, start → exit", "noop-10k"),
        ],
    )
    comparison = s.compare_spreads(*targets.SPREAD_TARGET)
    if comparison:
        verdict = targets.shown(comparison.verdict)
        out += ["", f"{targets.spread_line(comparison)} (target: Setup's ≤ the floor's): {verdict}."]
    floor_xcopy = s.ratio("floor-10k", "xcopy-10k")
    if floor_xcopy:
        out += ["", f"The floor ÷ xcopy: {pair_ratio(floor_xcopy)}, what the per-file calls cost beyond xcopy's copy."]
    if s.has("peak-10k"):
        out += [
            "",
            "Peak working set of Setup.exe (GetProcessMemoryInfo at its completion view; under Wine this is",
            "the host process's peak resident memory, Wine's own libraries included): median",
            f"{mib(s.median('peak-10k'))} over {len(s.values('peak-10k'))} installs.",
        ]
    return out


def _uninstall(run):
    if "uninstall" not in run.parts:
        return []
    out = [
        "",
        "## 2. Uninstall: the same 10 000 files",
        "",
        "Each install of section 1 removed by its own uninstaller, straight after it. The ratio column is",
        "Uninstall's run ÷ the case's run in the same round:",
        f"the {RATIO_NOTE}.",
        "",
    ]
    out += _case_table(
        run,
        "Uninstall ÷ case",
        [
            ("Uninstall.exe, Yes → completion view", "uninstall-10k"),
            ("NSIS uninstaller, progress page, start → exit", "nsis-un-page-10k", "uninstall-10k"),
            ("NSIS uninstaller, silent (/S), start → exit", "nsis-un-silent-10k", "uninstall-10k", REPORTED),
            ("cmd /c rmdir /s /q, start → exit", "rmdir-10k", "uninstall-10k"),
            ("rm -rf on the host", "rm-10k", "uninstall-10k"),
        ],
    )
    if run.samples.has("batch-10k"):
        out += [
            "",
            "After the finish button, the self-removal batch took a median",
            f"{ms(run.samples.median('batch-10k'))} ms more to remove Uninstall.exe, the install folder and itself (it",
            "waits about a second between tries, at idle priority); not part of the figures above.",
        ]
    return out


def _scaling(run):
    if "scaling" not in run.parts:
        return []
    s = run.samples
    subfolders, files, _ = payloads.shape("20k", run.scale)
    out = [
        "",
        "## 3. Scaling",
        "",
        f"The same four folders × {subfolders} subfolders with {files} files in each: 20 000 files of 4 KB. The ratio",
        "column is Setup's run ÷ the case's run in the same round:",
        f"the {RATIO_NOTE}.",
        "",
    ]
    out += _case_table(
        run,
        "Setup ÷ case",
        [
            ("Setup.exe, start → completion view", "setup-20k"),
            ("floor (bench_floor.exe), start → exit", "floor-20k", "setup-20k"),
            ("xcopy /E /I /Q /Y, start → exit", "xcopy-20k", "setup-20k", REPORTED),
            ("Uninstall.exe, Yes → completion view", "uninstall-20k"),
        ],
    )
    growth = [
        f"{label} {s.median(f'{key}-20k') / s.median(f'{key}-10k'):.2f}"
        for label, key in (("Setup", "setup"), ("the floor", "floor"), ("xcopy", "xcopy"), ("Uninstall", "uninstall"))
        if s.has(f"{key}-20k", f"{key}-10k")
    ]
    if growth:
        out += ["", f"20 000 files ÷ 10 000, medians, reported: {', '.join(growth)}."]
    out += [
        "",
        "200 files of 1 MiB (the four folders × 10 subfolders × 5 files). The floor of this case is the one",
        "with a window of the dialog's size on the screen (`--visible`). The ratio column is Setup's run ÷ the",
        "case's run in the same round:",
        f"the {RATIO_NOTE}.",
        "",
    ]
    out += _case_table(
        run,
        "Setup ÷ case",
        [
            ("Setup.exe, start → completion view", "setup-1mb"),
            (f"floor {WITH_WINDOW}, start → exit", "floor-visible-1mb", "setup-1mb"),
            ("floor with its message-only window, start → exit", "floor-1mb", "setup-1mb", REPORTED),
            ("NSIS, progress page, start → exit", "nsis-page-1mb", "setup-1mb", REPORTED),
            ("NSIS, silent (/S), start → exit", "nsis-silent-1mb", "setup-1mb", REPORTED),
            ("xcopy /E /I /Q /Y, start → exit", "xcopy-1mb", "setup-1mb", REPORTED),
        ],
    )
    peaks = [
        f"{mib(s.median(f'peak-{name}'))} with {label}"
        for name, label in (("20k", "20 000 files"), ("1mb", "200 × 1 MiB"))
        if s.has(f"peak-{name}")
    ]
    if peaks:
        out += ["", f"Peak working set of Setup.exe: {', '.join(peaks)}."]
    return out


def _repaints(run):
    if not run.repaints:
        return []
    r = run.repaints
    limit = r["bar_width"] + targets.REPAINTS_OVER_WIDTH
    verdict = targets.shown(stats.count_verdict(r["bar_paints"], limit))
    out = [
        "",
        "## 5. Repaints of the progress bar",
        "",
        "WM_PAINT messages handled by the progress bar of the real Setup.exe during one install of the",
        "10 000 files, counted by a hook module (bench_paint_hook.dll) that the driver hooks into Setup's UI",
        "thread with SetWindowsHookEx (WH_GETMESSAGE for paints taken from the queue, WH_CALLWNDPROC for",
        "paints sent by UpdateWindow/RedrawWindow); Wine loads the module into Setup.exe, and the driver",
        "checks that it did. This install is not timed.",
        "",
    ]
    out += table(
        ["repaints", "of which sent", "of which from the queue", "bar width (px)", "target"],
        [
            (
                r["bar_paints"],
                r["bar_paints_sent"],
                r["bar_paints"] - r["bar_paints_sent"],
                r["bar_width"],
                f"≤ width + {targets.REPAINTS_OVER_WIDTH}: {verdict}",
            )
        ],
    )
    if run.samples.has("bd-10k-calls_bar_paint"):
        out += [
            "",
            "The timing build's own count of the bar's WM_PAINT handler, median over its installs of the same",
            f"payload: {ms(run.samples.median('bd-10k-calls_bar_paint'))}.",
        ]
    return out


def _sizes(run):
    if not run.sizes:
        return []
    setup, uninstall = run.sizes["Setup"], run.sizes["Uninstall"]
    without = setup["file"] - setup["bitmap_bytes"]
    rows = [("file", f"{setup['file']} ({kib(setup['file'])})", f"{uninstall['file']} ({kib(uninstall['file'])})")]
    keys = sorted({key for key in list(setup) + list(uninstall) if key.startswith("section_")})
    keys += sorted({key for key in list(setup) + list(uninstall) if key.startswith("resource_")})
    for key in keys:
        label = key.replace("section_", "section .", 1).replace("resource_", "resource: ", 1)
        rows.append((label, setup.get(key, 0), uninstall.get(key, 0)))
    rows.append(("file without bitmap 138", f"{without} ({kib(without)})", ""))
    out = ["", "## 6. Sizes of the shipped i686 programs (build/dist)", ""]
    out += table(["", "Setup.exe", "Uninstall.exe"], rows)
    out += [
        "",
        f"Bitmap 138 is {setup['bitmap_width']} × {setup['bitmap_height']} pixels, {setup['bitmap_bits']} bits per"
        f" pixel, {setup['bitmap_bytes']} bytes.",
        "Sections are given by their size in the file (.eh_fram is .eh_frame, its name cut to the 8 bytes",
        "a section name has in the file); resources by the size of their data.",
    ]
    return out


def _rounds(run):
    if not run.rounds or not run.rounds.rounds:
        return []
    out = [
        "",
        "## 7. The rounds",
        "",
        "Each round with the order it ran its cases in, how long it took (removals and checks included) and",
        f"the load average over one minute at its start (the machine has {os.cpu_count()} cores; the benchmark itself",
        "keeps about one of them busy).",
        "",
    ]
    out += table(
        ["round", "order", "took (s)", "load average at its start"],
        [
            (number, "as listed" if forward else "reversed", f"{seconds:.0f}", f"{load:.2f}")
            for number, forward, seconds, load in run.rounds.rounds
        ],
    )
    each = ", ".join(f"{case} {seconds / run.runs:.0f} s" for case, seconds in run.rounds.case_seconds.items())
    out += ["", f"Seconds a round, each case with its removal and checks, in the order listed: {each}."]
    return out
