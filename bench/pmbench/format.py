"""How the report writes numbers and tables."""


def ms(value):
    return f"{value:.0f}"


def tenths(value):
    text = f"{value:.1f}"
    return "0.0" if text == "-0.0" else text


def share(part, total):
    return f"{tenths(100 * part / total)} %"


def kib(value):
    return f"{value / 1024:.1f} KB"


def mib(value):
    return f"{value / 1048576:.1f} MB"


def pair_ratio(spread):
    """A ratio in a table: the median of the pair ratios and their lowest–highest."""
    return f"{spread.median:.2f} ({spread.low:.2f}–{spread.high:.2f})"


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(str(cell) for cell in row) + " |" for row in rows]
    return lines
