"""The report of a whole run from made-up samples (pmbench/report.py): every section renders, and
the verdicts it states follow the pairs."""

import time
import unittest

from pmbench import plan, report, timings
from pmbench.rounds import Rounds
from pmbench.samples import Samples

from .test_timings import setup_lines

RUNS = 5
LOAD = [1.0, 1.25, 0.9, 1.2, 1.1]  # the machine's pace, round by round, for every case alike
# Medians in ms; Setup/NSIS straddles 0.35 from round to round, Uninstall/NSIS is above it.
BASE = {"setup-10k": 10000, "floor-10k": 9500, "nsis-page-10k": 29000}
BASE.update({"uninstall-10k": 8000, "nsis-un-page-10k": 20000})


def made_up_run():
    samples = Samples()
    floor_lines = ["run_ms 100", "t_cpu_worker 1", "t_cpu_ui 1"]
    floor_lines = "\n".join(floor_lines + [f"t_time_{c} 1\nt_calls_{c} 1" for c in timings.FLOOR_CALLS])
    for case in plan.cases_for(plan.PARTS):
        kind, name = case.split(":")
        for r, pace in enumerate(LOAD, start=1):
            for figure in plan.FIGURES[kind]:
                key = f"{figure}-{name}"
                value = BASE.get(key, 1000) * pace
                if key == "nsis-page-10k":
                    value *= (1.0, 0.9, 1.1, 0.95, 1.05)[r - 1]
                samples.record(key, r, value)
            if kind == "setup":
                samples.record(f"peak-{name}", r, 30e6)
                samples.record(f"batch-{name}", r, 80)
            if kind == "timed":
                for part, value in timings.setup_parts(timings.parse_fields(setup_lines())).items():
                    samples.record(f"bd-{name}-{part}", r, value * pace)
            if kind.startswith("floor"):
                prefix = "bd-floorvis" if kind == "floor-visible" else "bd-floor"
                for part, value in timings.floor_parts(timings.parse_fields(floor_lines)).items():
                    samples.record(f"{prefix}-{name}-{part}", r, value * pace)
    rounds = Rounds()
    rounds.rounds = [(r, r % 2 == 1, 400.0, 1.5) for r in range(1, RUNS + 1)]
    rounds.case_seconds = {case: 60.0 for case in plan.cases_for(plan.PARTS)}
    section = {"file": 900000, "bitmap_bytes": 621040, "bitmap_bits": 24, "bitmap_width": 600, "bitmap_height": 345}
    return report.Run(
        parts=set(plan.PARTS),
        runs=RUNS,
        scale=10,
        arch="win64",
        samples=samples,
        rounds=rounds,
        repaints={"bar_paints": 602, "bar_paints_sent": 601, "bar_width": 599},
        sizes={"Setup": dict(section, section_text=1000), "Uninstall": {"file": 300000, "section_text": 900}},
        wine_version="wine-8.0",
        load_at_start=(1.0, 1.0, 1.0),
        started=time.time(),
        note="",
    )


class ReportTest(unittest.TestCase):
    def test_a_whole_report(self):
        text = report.render(made_up_run())
        for title in ("## Targets", "## 1.", "## 2.", "## 3.", "## 4.", "### Where the spread goes", "## 5."):
            self.assertIn(title, text)
        for title in ("## 6.", "## 7."):
            self.assertIn(title, text)
        self.assertIn("a trial run, not the real figures", text)
        lines = {line.split(":")[0]: line for line in text.splitlines() if line.startswith("- ")}
        self.assertTrue(lines["- Setup ÷ floor, 10 000 files"].endswith(": met"))
        self.assertIn("1.053 (1.053–1.053 over 5 pairs)", lines["- Setup ÷ floor, 10 000 files"])
        self.assertTrue(lines["- Setup ÷ NSIS with its page, 10 000 files"].endswith(": undecided"))
        self.assertTrue(lines["- Uninstall ÷ NSIS uninstaller with its page, 10 000 files"].endswith(": **missed**"))
        # Both spread alike, round by round: Setup's spread is within the floor's.
        self.assertTrue(lines["- Setup's spread against the floor's, 10 000 files, same rounds"].endswith(": met"))
        self.assertTrue(lines["- repaints of the progress bar in one install of 10 000 files"].endswith(": met"))
        self.assertIn("| floor (bench_floor.exe), start → exit | 9500 11875 8550 11400 10450 |", text)


if __name__ == "__main__":
    unittest.main()
