"""Which cases a run needs and the order they run in.

A case is one install and then its removal, written "kind:payload" ("setup:10k"). Every round
runs each case of the run once, in ORDER on odd rounds and in the reverse order on even rounds:
the two cases of every ratio with a target sit side by side in ORDER, so each round gives one
pair of them run back to back, and neither case of a pair always goes first. A ratio is taken
pair by pair, within each round (stats.py).
"""

PARTS = ("install", "uninstall", "scaling", "breakdown", "repaints", "sizes")

ORDER = (
    # 10 000 files of 4 KB: Setup between the floor and NSIS with its page.
    "noop:10k",
    "cp:10k",
    "nsis-silent:10k",
    "xcopy:10k",
    "floor-visible:10k",
    "floor:10k",
    "setup:10k",
    "nsis-page:10k",
    "timed:10k",
    # 20 000 files of 4 KB: Setup beside the floor.
    "xcopy:20k",
    "floor:20k",
    "setup:20k",
    "timed:20k",
    # 200 files of 1 MiB: Setup beside the floor with a window of the dialog's size.
    "nsis-silent:1mb",
    "nsis-page:1mb",
    "xcopy:1mb",
    "floor:1mb",
    "floor-visible:1mb",
    "setup:1mb",
    "timed:1mb",
)

_FILES = {"setup:10k", "nsis-page:10k", "nsis-silent:10k", "xcopy:10k", "floor:10k", "cp:10k", "noop:10k"}
NEEDS = {
    "install": _FILES,
    "uninstall": _FILES,  # each install is removed by its own uninstaller: the two go together
    "scaling": {
        "floor:20k",
        "setup:20k",
        "xcopy:20k",
        "setup:1mb",
        "floor-visible:1mb",
        "floor:1mb",
        "xcopy:1mb",
        "nsis-page:1mb",
        "nsis-silent:1mb",
    },
    "breakdown": {
        "setup:10k",
        "timed:10k",
        "floor:10k",
        "floor-visible:10k",
        "setup:20k",
        "timed:20k",
        "floor:20k",
        "setup:1mb",
        "timed:1mb",
        "floor:1mb",
    },
    "repaints": set(),
    "sizes": set(),
}

# The timed figures that one case of each kind records, each as "<figure>-<payload>": the install
# first, then its removal where that is timed.
FIGURES = {
    "setup": ("setup", "uninstall"),
    "timed": ("timed",),
    "nsis-page": ("nsis-page", "nsis-un-page"),
    "nsis-silent": ("nsis-silent", "nsis-un-silent"),
    "xcopy": ("xcopy", "rmdir"),
    "floor": ("floor",),
    "floor-visible": ("floor-visible",),
    "cp": ("cp", "rm"),
    "noop": ("noop",),
}


def cases_for(parts):
    """The cases the parts need, in ORDER."""
    wanted = set().union(*(NEEDS[part] for part in parts))
    return [case for case in ORDER if case in wanted]


def round_order(cases, round_number):
    """The cases of round 1, 2, ...: as given in odd rounds, reversed in even ones."""
    return list(cases) if round_number % 2 else list(reversed(cases))


def warm_up_kinds(cases):
    """Every kind of case once, in the order of their first case."""
    kinds = []
    for case in cases:
        kind = case.split(":")[0]
        if kind not in kinds:
            kinds.append(kind)
    return kinds


def case_of(key):
    """The case that records a figure: "uninstall-10k" -> "setup:10k"."""
    figure, _, payload = key.rpartition("-")
    for kind, figures in FIGURES.items():
        if figure in figures:
            return f"{kind}:{payload}"
    raise KeyError(key)


def uses(cases, kind="*", payload="*"):
    """Whether some case matches the kind and the payload ("*" matches any)."""
    for case in cases:
        k, p = case.split(":")
        if kind in ("*", k) and payload in ("*", p):
            return True
    return False
