"""The order of the cases (pmbench/plan.py) against the targets (pmbench/targets.py)."""

import itertools
import unittest

from pmbench import plan, targets


def every_choice_of_parts():
    for size in range(1, len(plan.PARTS) + 1):
        yield from itertools.combinations(plan.PARTS, size)


def target_cases(target):
    return plan.case_of(target.numerator), plan.case_of(target.denominator)


class PlanTest(unittest.TestCase):
    def test_a_full_run_measures_every_target(self):
        cases = plan.cases_for(plan.PARTS)
        for target in targets.RATIO_TARGETS:
            for case in target_cases(target):
                self.assertIn(case, cases, target.label)
        for key in targets.SPREAD_TARGET:
            self.assertIn(plan.case_of(key), cases)

    def test_the_cases_of_a_target_run_back_to_back_in_every_round(self):
        for parts in every_choice_of_parts():
            cases = plan.cases_for(parts)
            for target in targets.RATIO_TARGETS:
                a, b = target_cases(target)
                if a not in cases or b not in cases:
                    continue
                for round_number in (1, 2, 3):
                    order = plan.round_order(cases, round_number)
                    self.assertEqual(abs(order.index(a) - order.index(b)), 1, (parts, target.label, round_number))

    def test_rounds_run_each_case_once_and_alternate_their_order(self):
        cases = plan.cases_for(plan.PARTS)
        self.assertEqual(len(cases), len(set(cases)))
        self.assertEqual(plan.round_order(cases, 1), cases)
        self.assertEqual(plan.round_order(cases, 2), cases[::-1])
        self.assertEqual(plan.round_order(cases, 3), cases)
        self.assertEqual(sorted(plan.warm_up_kinds(cases)), sorted(plan.FIGURES))

    def test_every_figure_leads_back_to_its_case(self):
        for kind, figures in plan.FIGURES.items():
            for figure in figures:
                self.assertEqual(plan.case_of(f"{figure}-1mb"), f"{kind}:1mb")
        with self.assertRaises(KeyError):
            plan.case_of("peak-10k")

    def test_parts_choose_their_cases(self):
        self.assertEqual(plan.cases_for(["install"]), plan.cases_for(["uninstall"]))
        self.assertEqual(plan.cases_for(["repaints", "sizes"]), [])
        self.assertTrue(plan.uses(plan.cases_for(["scaling"]), "floor-visible", "1mb"))
        self.assertFalse(plan.uses(plan.cases_for(["scaling"]), "timed"))


if __name__ == "__main__":
    unittest.main()
