#!/usr/bin/env python3
"""Benchmarks of the real Setup.exe and Uninstall.exe against what a user would pick instead, all
in one Wine prefix of their own and one run. Prints every run, the ratios of each pair of cases
with their spread and the targets' verdicts; a full run writes docs/BENCHMARKS.md.

    tools/bench                 everything below (tools/bench runs this file)
    tools/bench install         10 000 files of 4 KB: Setup.exe against an NSIS installer (with its
    tools/bench uninstall       progress page, and silent), xcopy, a floor program and cp -r; then
                                Uninstall.exe against the NSIS uninstaller, rmdir /s /q and rm -rf
                                (the two go together: each install is removed by its uninstall)
    tools/bench scaling         Setup.exe, the floor and xcopy with 20 000 files; 200 files of 1 MiB
                                for Setup.exe against the floor with a window of the dialog's size,
                                the plain floor, NSIS and xcopy
    tools/bench breakdown       the timing build of Setup (SetupTimed.exe) on 10 000 and 20 000
                                files and 200 × 1 MiB: where Setup's time goes, beside the
                                untimed Setup.exe and the floor's timing of the same calls
    tools/bench repaints        WM_PAINT handled by Setup's progress bar during one install
    tools/bench sizes           bytes of the shipped i686 programs, and where they go

PM_BENCH_RUNS (5) is the number of rounds: every round runs each case once, so each ratio comes
from that many pairs (pmbench/plan.py, pmbench/stats.py). One warm-up round with a tiny payload
goes first and is not counted.

PM_BENCH_SCALE=N (1) divides the numbers of 4 KB files by N, to try the benchmark out in minutes:
the figures are then not the ones the targets are about, the labels still say 10 000 and 20 000,
and the run never writes docs/BENCHMARKS.md.

PM_BENCH_NOTE, when set, is a note on the machine that the report's machine table carries (for
instance that it was shared with other work during the run).

Without a window manager Wine waits two seconds for every visible window it hides; the harness's
prefix leaves window management alone (X11 Driver "Managed"=N, tools/lib/wine.sh), so that a
program that closes its window when done, like NSIS's progress page, is timed by its work.
"""

import os
import shutil
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from pmbench import BenchFailure, build, payloads, plan, report, rounds, sizes  # noqa: E402
from pmbench.cases import Cases  # noqa: E402
from pmbench.samples import Samples  # noqa: E402
from pmbench.wine import Wine  # noqa: E402

DOC = build.ROOT / "docs" / "BENCHMARKS.md"
USAGE = "usage: tools/bench [install|uninstall|scaling|breakdown|repaints|sizes]..."


def note(text):
    print(f"bench: {text}", file=sys.stderr, flush=True)


def number_from_env(name, default, highest):
    text = os.environ.get(name, "") or str(default)
    if not text.isdigit() or not 1 <= int(text) <= highest:
        raise SystemExit(f"bench: {name} must be a number from 1 to {highest}")
    return int(text)


def parse_parts(args):
    if not args:
        return set(plan.PARTS), True
    for arg in args:
        if arg not in plan.PARTS:
            raise SystemExit(USAGE)
    parts = set(args)
    if parts & {"install", "uninstall"}:
        parts |= {"install", "uninstall"}
    return parts, False


def measure_in_wine(run, programs, cases):
    """The payloads, the warm-up, the rounds and the repaints, in a fresh prefix."""
    wine = Wine(build.BUILD / "bench-wine")
    note(f"starting Wine ({run.arch}) in {wine.folder}")
    wine.start()
    try:
        run.wine_version = wine.version()
        bench = os.path.join(wine.drive_c, "bench")
        shutil.rmtree(bench, ignore_errors=True)
        os.makedirs(os.path.join(bench, "tools"))
        os.makedirs(os.path.join(bench, "out"))
        for tool in ("bench_driver.exe", "bench_floor.exe", "bench_paint_hook.dll"):
            shutil.copy(programs.bench_bin / tool, os.path.join(bench, "tools"))
        if run.scale != 1:
            note(f"PM_BENCH_SCALE={run.scale}: the 4 KB payloads have 1/{run.scale} of their files (a trial run)")

        setup, uninstall = programs.dist / "Setup.exe", programs.dist / "Uninstall.exe"
        names = ["warm"] + [n for n in ("10k", "20k", "1mb") if plan.uses(cases, "*", n)]
        if "repaints" in run.parts and "10k" not in names:
            names.append("10k")
        files = {name: payloads.make_payload(bench, name, run.scale, setup, uninstall, note) for name in names}
        if plan.uses(cases, "nsis-page") or plan.uses(cases, "nsis-silent"):
            for name in names:
                if name == "warm" or plan.uses(cases, "nsis-page", name) or plan.uses(cases, "nsis-silent", name):
                    payloads.make_nsis(bench, name, run.arch, note)
        if plan.uses(cases, "timed"):
            if not programs.setup_timed.is_file():
                raise BenchFailure(f"no {programs.setup_timed}")
            for name in names:
                if name == "warm" or plan.uses(cases, "timed", name):
                    payloads.make_addon(bench, name, f"addon-{name}-timed", programs.setup_timed, uninstall)

        runner = Cases(wine, files, run.samples, rmdir_10k="install" in run.parts)
        if cases:
            rounds.warm_up(runner, cases, note)
            run.rounds = rounds.run(runner, cases, run.runs)
        if "repaints" in run.parts:
            note("counting the progress bar's repaints (10k)")
            run.repaints = runner.count_repaints()
            paints, width = run.repaints["bar_paints"], run.repaints["bar_width"]
            print(f"  repaints of the progress bar: {paints} (bar {width} px wide)")
        shutil.rmtree(bench, ignore_errors=True)
    finally:
        wine.stop()


def main(args):
    parts, full = parse_parts(args)
    run = report.Run(
        parts=parts,
        runs=number_from_env("PM_BENCH_RUNS", 5, 1000),
        scale=number_from_env("PM_BENCH_SCALE", 1, 250),
        arch="",
        samples=Samples(),
        rounds=None,
        repaints=None,
        sizes=None,
        wine_version="none",
        load_at_start=os.getloadavg(),
        started=time.time(),
        note=os.environ.get("PM_BENCH_NOTE", ""),
    )
    if subprocess.run([str(build.ROOT / "tools" / "bootstrap")], stdout=sys.stderr, check=False).returncode != 0:
        raise BenchFailure("tools/bootstrap")
    run.arch = build.wine_arch()
    cases = plan.cases_for(parts)
    for_wine = bool(cases) or "repaints" in parts
    programs = build.Programs(run.arch)
    programs.build(for_wine, timed=plan.uses(cases, "timed"), sizes="sizes" in parts, note=note)
    if for_wine:
        measure_in_wine(run, programs, cases)
    if "sizes" in parts:
        run.sizes = sizes.measure(programs.shipped)
        setup, uninstall = run.sizes["Setup"]["file"], run.sizes["Uninstall"]["file"]
        print(f"sizes: Setup.exe {setup} bytes, Uninstall.exe {uninstall} bytes")

    text = report.render(run)
    print()
    print(text, end="")
    if full and run.scale == 1:
        DOC.write_text(text)
        print("\nbench: written to docs/BENCHMARKS.md")


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        main(sys.argv[1:])
    except BenchFailure as failure:
        sys.exit(f"bench: FAILED: {failure}")
    except KeyboardInterrupt:
        sys.exit(130)
