"""The targets and their verdicts, from whatever a run measured.

A ratio's target is decided on the spread of its pair ratios (stats.ratio_verdict): met when the
highest pair ratio is within the limit, missed when the lowest is above it, undecided otherwise.
The two cases of every ratio target run back to back in each round (plan.py).
"""

from dataclasses import dataclass

from . import stats


@dataclass(frozen=True)
class RatioTarget:
    label: str
    numerator: str  # sample keys
    denominator: str
    limit: float


RATIO_TARGETS = (
    RatioTarget("Setup ÷ floor, 10 000 files", "setup-10k", "floor-10k", 1.10),
    RatioTarget("Setup ÷ floor, 20 000 files", "setup-20k", "floor-20k", 1.10),
    RatioTarget(
        "Setup ÷ the floor with a window of the dialog's size, 200 files of 1 MiB",
        "setup-1mb",
        "floor-visible-1mb",
        1.3,
    ),
    RatioTarget("Setup ÷ NSIS with its page, 10 000 files", "setup-10k", "nsis-page-10k", 0.35),
    RatioTarget("Uninstall ÷ NSIS uninstaller with its page, 10 000 files", "uninstall-10k", "nsis-un-page-10k", 0.35),
)
# Setup's runs spread no wider than the floor's in the same rounds.
SPREAD_TARGET = ("setup-10k", "floor-10k")
REPAINTS_OVER_WIDTH = 4
SETUP_WITHOUT_BITMAP_BYTES = 300 * 1024
UNINSTALL_BYTES = 400 * 1024


def shown(verdict):
    return "**missed**" if verdict == stats.MISSED else verdict


def ratio_text(spread):
    """A ratio as the report gives it: the median of the pair ratios and their min–max."""
    return f"{spread.median:.3f} ({spread.low:.3f}–{spread.high:.3f} over {spread.count} pairs)"


def target_of(numerator, denominator):
    for target in RATIO_TARGETS:
        if (target.numerator, target.denominator) == (numerator, denominator):
            return target
    return None


def percent(fraction):
    return f"{100 * fraction:.1f} %"


def spread_line(comparison):
    return (
        f"Setup {percent(comparison.a)}, the floor {percent(comparison.b)} (slowest ÷ fastest − 1); Setup's less the "
        f"floor's from {100 * comparison.low:+.1f} to {100 * comparison.high:+.1f} points over all {comparison.count} "
        "rounds and with each one left out"
    )


def gather(samples, repaints, sizes):
    """The list of targets as Markdown lines."""
    lines = []
    for target in RATIO_TARGETS:
        spread = samples.ratio(target.numerator, target.denominator)
        if spread is not None:
            verdict = stats.ratio_verdict(spread, target.limit)
            lines.append(f"- {target.label}: {ratio_text(spread)} (target ≤ {target.limit:.2f}): {shown(verdict)}")
    comparison = samples.compare_spreads(*SPREAD_TARGET)
    if comparison is not None:
        lines.append(
            f"- Setup's spread against the floor's, 10 000 files, same rounds: {spread_line(comparison)} "
            f"(target: Setup's ≤ the floor's): {shown(comparison.verdict)}"
        )
    if repaints:
        limit = repaints["bar_width"] + REPAINTS_OVER_WIDTH
        lines.append(
            f"- repaints of the progress bar in one install of 10 000 files: {repaints['bar_paints']} "
            f"(target ≤ its width + {REPAINTS_OVER_WIDTH} = {limit}): "
            f"{shown(stats.count_verdict(repaints['bar_paints'], limit))}"
        )
    xcopy = samples.ratio("setup-10k", "xcopy-10k")
    if xcopy is not None:
        line = f"- Setup ÷ xcopy, 10 000 files of 4 KB: {ratio_text(xcopy)}, reported, no target"
        floor = samples.ratio("floor-10k", "xcopy-10k")
        if floor is not None:
            if floor.median > 1:
                line += (
                    ": the floor, which makes the per-file calls that Setup's design fixes, is itself above xcopy"
                    f" (floor ÷ xcopy {ratio_text(floor)})"
                )
            else:
                line += (
                    " (the floor, which makes the per-file calls that Setup's design fixes:"
                    f" floor ÷ xcopy {ratio_text(floor)})"
                )
        lines.append(line)
    if sizes:
        bitmap = sizes["Setup"]["bitmap_bytes"]
        without = sizes["Setup"]["file"] - bitmap
        lines.append(
            f"- Setup.exe without bitmap 138 (which alone is {bitmap} bytes and stays a 24-bit bitmap), bytes: "
            f"{without} (target ≤ {SETUP_WITHOUT_BITMAP_BYTES}): "
            f"{shown(stats.count_verdict(without, SETUP_WITHOUT_BITMAP_BYTES))}"
        )
        lines.append(f"- Setup.exe, bytes: {sizes['Setup']['file']}, reported, no target")
        uninstall = sizes["Uninstall"]["file"]
        lines.append(
            f"- Uninstall.exe, bytes: {uninstall} (target ≤ {UNINSTALL_BYTES}): "
            f"{shown(stats.count_verdict(uninstall, UNINSTALL_BYTES))}"
        )
        if sizes["Setup"]["bitmap_bits"] != 24:
            lines.append("- bitmap 138 is not 24 bits per pixel: **missed**")
    return lines
