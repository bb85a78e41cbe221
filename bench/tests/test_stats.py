"""Pairing, medians, spreads and verdicts (pmbench/stats.py, pmbench/samples.py)."""

import unittest

from pmbench import stats
from pmbench.samples import Samples


def by_round(*values):
    return {number: value for number, value in enumerate(values, start=1)}


class PairingTest(unittest.TestCase):
    def test_pairs_are_the_runs_of_the_same_round(self):
        setup = {1: 10.0, 2: 20.0, 3: 30.0}
        floor = {2: 10.0, 3: 10.0, 4: 5.0}  # round 1 has no floor, round 4 no Setup
        self.assertEqual(stats.pair_ratios(setup, floor), [2.0, 3.0])

    def test_drift_between_rounds_cancels_in_the_pairs(self):
        # The machine slows by a quarter from round to round; Setup stays 5 % above the floor in
        # each round. Medians of each case would not show it any better than the pairs do, and
        # the pairs' spread is nil.
        load = [1.0, 1.25, 1.0, 1.25, 0.8]
        setup = by_round(*(10500 * f for f in load))
        floor = by_round(*(10000 * f for f in load))
        spread = stats.Spread.of(stats.pair_ratios(setup, floor))
        self.assertAlmostEqual(spread.low, 1.05)
        self.assertAlmostEqual(spread.high, 1.05)
        self.assertEqual(stats.ratio_verdict(spread, 1.10), stats.MET)

    def test_median(self):
        self.assertEqual(stats.median([3, 1, 2]), 2)
        self.assertEqual(stats.median([4, 1, 3, 2]), 2.5)
        with self.assertRaises(ValueError):
            stats.median([])

    def test_samples_keep_rounds_apart(self):
        samples = Samples()
        samples.record("setup-10k", 2, 20)
        samples.record("setup-10k", 1, 10)
        samples.record("floor-10k", 1, 5)
        self.assertEqual(samples.values("setup-10k"), [10.0, 20.0])
        self.assertEqual(samples.ratio("setup-10k", "floor-10k"), stats.Spread(2.0, 2.0, 2.0, 1))
        self.assertIsNone(samples.ratio("setup-10k", "xcopy-10k"))
        with self.assertRaises(ValueError):
            samples.record("setup-10k", 1, 11)


class RatioVerdictTest(unittest.TestCase):
    def verdict(self, ratios, limit):
        return stats.ratio_verdict(stats.Spread.of(ratios), limit)

    def test_the_whole_spread_must_clear_the_limit(self):
        self.assertEqual(self.verdict([1.02, 1.04, 1.10], 1.10), stats.MET)  # the limit itself is within
        self.assertEqual(self.verdict([1.11, 1.20, 1.30], 1.10), stats.MISSED)
        self.assertEqual(self.verdict([1.10, 1.20, 1.30], 1.10), stats.UNDECIDED)
        # The median alone is under the limit: one pair above it leaves the verdict open.
        self.assertEqual(self.verdict([1.00, 1.04, 1.05, 1.06, 1.13], 1.10), stats.UNDECIDED)

    def test_too_few_pairs_decide_nothing(self):
        self.assertEqual(self.verdict([0.5, 0.5], 1.10), stats.UNDECIDED)
        self.assertEqual(self.verdict([0.5, 0.5, 0.5], 1.10), stats.MET)


class SpreadComparisonTest(unittest.TestCase):
    def test_steadier_than_the_floor_is_met(self):
        setup = by_round(100, 104, 102, 101, 103)
        floor = by_round(100, 120, 110, 105, 115)
        comparison = stats.compare_spreads(setup, floor)
        self.assertAlmostEqual(comparison.a, 0.04)
        self.assertAlmostEqual(comparison.b, 0.20)
        self.assertEqual(comparison.verdict, stats.MET)

    def test_wider_with_every_round_left_out_is_missed(self):
        setup = by_round(100, 150, 100, 150, 125)
        floor = by_round(100, 101, 102, 101, 100)
        self.assertEqual(stats.compare_spreads(setup, floor).verdict, stats.MISSED)

    def test_a_verdict_that_rests_on_one_round_is_undecided(self):
        # Setup is wider than the floor only because of round 3.
        setup = by_round(100, 102, 140, 101, 103)
        floor = by_round(100, 110, 105, 108, 104)
        comparison = stats.compare_spreads(setup, floor)
        self.assertGreater(comparison.high, 0)
        self.assertLessEqual(comparison.low, 0)
        self.assertEqual(comparison.verdict, stats.UNDECIDED)

    def test_only_the_rounds_both_ran_in_count(self):
        setup = {1: 100, 2: 101, 3: 102, 4: 500}
        floor = {1: 100, 2: 110, 3: 120}
        comparison = stats.compare_spreads(setup, floor)
        self.assertEqual(comparison.count, 3)
        self.assertEqual(comparison.verdict, stats.MET)

    def test_too_few_rounds_decide_nothing(self):
        self.assertEqual(stats.compare_spreads(by_round(100, 101), by_round(100, 150)).verdict, stats.UNDECIDED)
        with self.assertRaises(ValueError):
            stats.compare_spreads({1: 100}, {2: 100})


if __name__ == "__main__":
    unittest.main()
