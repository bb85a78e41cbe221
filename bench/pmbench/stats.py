"""Pairs, medians, spreads and verdicts.

Every case runs once in each round, so a case's samples are keyed by the round they come from.
A ratio between two cases is taken pair by pair: the two runs of the same round, which the plan
(plan.py) puts back to back, so that a slow phase of the shared machine touches both halves of a
pair alike. A ratio is reported as the median of its pair ratios with their spread, the lowest
and the highest pair ratio (min–max), and a target on it is decided only when the whole spread
lies on one side of the limit.
"""

from dataclasses import dataclass

MET = "met"
MISSED = "missed"
UNDECIDED = "undecided"

# Fewer pairs than this decide nothing: one or two pairs show no spread worth the name.
MIN_PAIRS = 3


def median(values):
    ordered = sorted(values)
    if not ordered:
        raise ValueError("the median of nothing")
    middle = len(ordered) // 2
    if len(ordered) % 2:
        return ordered[middle]
    return (ordered[middle - 1] + ordered[middle]) / 2


def paired_rounds(a, b):
    """The rounds in which both cases ran, in order; a and b map round -> value."""
    return sorted(set(a) & set(b))


def pair_ratios(a, b):
    """a's value ÷ b's value, round by round, over the rounds both ran in."""
    return [a[r] / b[r] for r in paired_rounds(a, b)]


@dataclass(frozen=True)
class Spread:
    """The median of some values and their range."""

    median: float
    low: float
    high: float
    count: int

    @classmethod
    def of(cls, values):
        values = list(values)
        return cls(median(values), min(values), max(values), len(values))


def ratio_verdict(spread, limit):
    """A "≤ limit" target on a ratio: met when even the highest pair ratio is within the limit,
    missed when even the lowest is above it, undecided otherwise or with too few pairs."""
    if spread.count < MIN_PAIRS:
        return UNDECIDED
    if spread.high <= limit:
        return MET
    if spread.low > limit:
        return MISSED
    return UNDECIDED


def count_verdict(value, limit):
    """A "≤ limit" target on a count or a size, which has no spread."""
    return MET if value <= limit else MISSED


def run_spread(values):
    """How far a case's runs spread: its slowest ÷ its fastest, less one (0.25 is 25 %)."""
    return max(values) / min(values) - 1


@dataclass(frozen=True)
class SpreadComparison:
    """One case's spread against another's over the rounds both ran in (run_spread of each), and
    the range of their difference (a's less b's) over all those rounds and with each round left
    out in turn."""

    a: float
    b: float
    low: float
    high: float
    count: int
    verdict: str


def compare_spreads(a, b):
    """Whether a (round -> value) spreads no wider than b in the same rounds. The verdict must
    not rest on one round: met when a's spread is within b's with every round, and with any one
    round left out; missed when it is wider in all of these; undecided otherwise or with too few
    rounds."""
    rounds = paired_rounds(a, b)
    if not rounds:
        raise ValueError("no round in which both cases ran")

    def difference(kept):
        return run_spread([a[r] for r in kept]) - run_spread([b[r] for r in kept])

    differences = [difference(rounds)]
    if len(rounds) > 1:
        differences += [difference([r for r in rounds if r != left]) for left in rounds]
    low, high = min(differences), max(differences)
    if len(rounds) < MIN_PAIRS:
        verdict = UNDECIDED
    elif high <= 0:
        verdict = MET
    elif low > 0:
        verdict = MISSED
    else:
        verdict = UNDECIDED
    return SpreadComparison(
        run_spread([a[r] for r in rounds]), run_spread([b[r] for r in rounds]), low, high, len(rounds), verdict
    )
