"""Running the plan: one warm-up round, then the counted rounds, each case once a round."""

import os
import time

from . import plan


class Rounds:
    """What the rounds took: per round its seconds, direction and load average at its start, and
    per case its seconds over all rounds (removal and checks included)."""

    def __init__(self):
        self.rounds = []  # (number, forward, seconds, load average over 1 minute)
        self.case_seconds = {}


def warm_up(cases_runner, cases, note):
    """The first start of a windowed program in a fresh prefix takes seconds more (fonts, the
    display): every kind of case once on a tiny payload, not counted, which also proves the whole
    chain (the timing build's report included) before the long rounds."""
    note("warm-up round (not counted)")
    for kind in plan.warm_up_kinds(cases):
        cases_runner.run(f"{kind}:warm", None)


def run(cases_runner, cases, runs):
    done = Rounds()
    for number in range(1, runs + 1):
        order = plan.round_order(cases, number)
        forward = order == list(cases)
        load = os.getloadavg()[0]
        print(f"round {number} of {runs} ({'in order' if forward else 'in reverse order'})", flush=True)
        started = time.monotonic()
        for case in order:
            case_started = time.monotonic()
            cases_runner.run(case, number)
            done.case_seconds[case] = done.case_seconds.get(case, 0) + time.monotonic() - case_started
        seconds = time.monotonic() - started
        done.rounds.append((number, forward, seconds, load))
        print(f"  round {number} took {seconds:.0f} s", flush=True)
    if done.rounds:
        each = ", ".join(f"{case} {seconds / runs:.0f} s" for case, seconds in done.case_seconds.items())
        print(f"seconds per round, each case with its removal and checks: {each}", flush=True)
    return done
