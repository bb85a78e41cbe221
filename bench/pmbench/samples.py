"""The samples of one benchmark run: for each key (a case's figure, "setup-10k", or a part of a
timed run, "bd-10k-copy_file"), the value measured in each round."""

from . import stats


class Samples:
    def __init__(self):
        self._by_key = {}

    def record(self, key, round_number, value):
        rounds = self._by_key.setdefault(key, {})
        if round_number in rounds:
            raise ValueError(f"{key} measured twice in round {round_number}")
        rounds[round_number] = float(value)

    def has(self, *keys):
        return all(key in self._by_key for key in keys)

    def by_round(self, key):
        return dict(self._by_key[key])

    def values(self, key):
        """In round order."""
        rounds = self._by_key[key]
        return [rounds[r] for r in sorted(rounds)]

    def median(self, key):
        return stats.median(self.values(key))

    def ratio(self, a, b):
        """a ÷ b pair by pair, as a stats.Spread; None when either was not measured."""
        if not self.has(a, b):
            return None
        ratios = stats.pair_ratios(self._by_key[a], self._by_key[b])
        return stats.Spread.of(ratios) if ratios else None

    def compare_spreads(self, a, b):
        if not self.has(a, b):
            return None
        return stats.compare_spreads(self._by_key[a], self._by_key[b])
