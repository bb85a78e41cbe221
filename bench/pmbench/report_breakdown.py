"""Section 4 of the report: where Setup's time goes, from its timing build (SetupTimed.exe), beside
the floor's timing of the same calls; what a window on the screen costs the floor; and where the
spread between Setup's fastest and slowest timed run goes."""

from .format import ms, share, table, tenths

PAYLOADS = (("10k", "10 000 files of 4 KB"), ("20k", "20 000 files of 4 KB"), ("1mb", "200 files of 1 MiB"))

INTRODUCTION = [
    "From SetupTimed.exe, Setup built with its timing switch (framework/Timings.h; never shipped), run in",
    "every round beside the untimed Setup.exe, whose figures are the ones in the sections above and",
    "the targets. It marks moments of the install on the QueryPerformanceCounter clock that the driver",
    "reads too, and adds up the time and calls of the per-file work; each figure is the median over the",
    "rounds of that part alone, so the parts need not add up to the median total. The UI thread's",
    "StepIt runs while the worker waits in SendMessage, and the bar's WM_PAINT inside StepIt when the",
    "repaint is synchronous (a paint from the queue is counted there too). \"The rest of the loop\" is",
    "the copy's time less the timed calls inside it. The driver's detection lag can come out below",
    "zero: the driver may see the completion view before the UI thread has marked it shown. The last",
    "two rows are the threads' processor time (GetThreadTimes), not parts of the total: what is left of",
    "a thread's wall time is waiting.",
    "",
    "Beside it, the floor's own timing of the same calls (it times them in every run, with",
    "QueryPerformanceCounter around each, and writes them to the file that `PM_FLOOR_TIMINGS` names):",
    "CreateDirectoryA for \"making target folders\", and its SendMessage to a window that does nothing.",
]

# label, part, flags: "c" a timed call (its calls shown), "f" the floor has the same figure.
PARTS = (
    ("**total: start → completion view seen by the driver (the floor: start → exit)**", "total", "f"),
    (None, None, None),  # the untimed Setup.exe
    ("start-up: driver's start → worker's start", "startup", ""),
    ("· process start → InitInstance", "process_start", ""),
    ("· InitInstance → OnInitDialog", "dialog_start", ""),
    ("· counting the files (UI thread)", "count_files", "c"),
    ("· the rest: dialog set-up, starting the worker", "startup_rest", ""),
    ("copying the install folders: worker's start → folders done", "copying", ""),
    ("· CopyFileA", "copy_file", "cf"),
    ("· SetFileAttributesA", "set_attributes", "cf"),
    ("· SendMessage of the step message: waiting for the UI thread", "send_wait", "cf"),
    ("· · of which the UI thread's StepIt", "step_it", "c"),
    ("· · · of which painting the bar (its WM_PAINT)", "bar_paint", "c"),
    ("· making target folders", "make_folder", "cf"),
    ("· appending to the install record in memory", "add_record", "c"),
    ("· the rest of the loop (finding files, paths, the calls' own timing)", "loop_rest", ""),
    ("loose files", "loose", ""),
    ("controls", "controls", ""),
    ("registry", "registry", ""),
    ("install record written", "record", ""),
    ("completion view: record written → view shown", "view", ""),
    ("driver's detection lag: view shown → seen", "lag", ""),
    ("processor time of the worker thread, user and kernel, until the record is written", "cpu_worker", "f"),
    ("processor time of the UI thread, user and kernel, until the dialog has closed", "cpu_ui", "f"),
)

WINDOW_PARTS = (
    ("**total**", "total"),
    ("CopyFileA", "copy_file"),
    ("SetFileAttributesA", "set_attributes"),
    ("SendMessage: waiting for the UI thread", "send_wait"),
    ("making target folders", "make_folder"),
    ("processor time of the worker thread", "cpu_worker"),
    ("processor time of the UI thread", "cpu_ui"),
)

# label, part, flags: "f" the floor's too, "t" a thread's time (no share of the total).
SPREAD_PARTS = (
    ("**total**", "total", "f"),
    ("start-up: driver's start → worker's start", "startup", ""),
    ("CopyFileA", "copy_file", "f"),
    ("SetFileAttributesA", "set_attributes", "f"),
    ("SendMessage of the step message: waiting for the UI thread", "send_wait", "f"),
    ("· of which the UI thread's StepIt", "step_it", ""),
    ("making target folders", "make_folder", "f"),
    ("appending to the install record in memory", "add_record", ""),
    ("the rest of the loop", "loop_rest", ""),
    ("loose files, controls, registry, record, view, lag", "after_copy", ""),
    ("processor time of the worker thread (not a part of the total)", "cpu_worker", "ft"),
    ("processor time of the UI thread (not a part of the total)", "cpu_ui", "ft"),
)


def render(run):
    if "breakdown" not in run.parts:
        return []
    s = run.samples
    out = ["", "## 4. Where Setup's time goes", ""] + INTRODUCTION
    for name, title in PAYLOADS:
        out += _breakdown_of(s, name, title)
    for name, title in PAYLOADS:
        out += _window_cost(s, name, title)
    out += _spread_of(s, "10k", "10 000 files of 4 KB")
    return out


def _breakdown_of(s, name, title):
    if not s.has(f"bd-{name}-total"):
        return []
    timed = s.median(f"bd-{name}-total")
    rows = []
    for label, part, flags in PARTS:
        if part is None:
            if s.has(f"setup-{name}"):
                untimed = s.median(f"setup-{name}")
                label = "untimed Setup.exe, same payload, same rounds (the instrumentation's cost is the difference)"
                rows.append((label, tenths(untimed), share(untimed, timed), "", "", ""))
            continue
        key, floor = f"bd-{name}-{part}", f"bd-floor-{name}-{part}"
        if not s.has(key):
            continue
        calls = ms(s.median(f"bd-{name}-calls_{part}")) if "c" in flags else ""
        floor_ms = floor_calls = ""
        if "f" in flags and s.has(floor):
            floor_ms = tenths(s.median(floor))
            if "c" in flags:
                floor_calls = ms(s.median(f"bd-floor-{name}-calls_{part}"))
        rows.append((label, tenths(s.median(key)), share(s.median(key), timed), calls, floor_ms, floor_calls))
    header = ["part", "Setup, median (ms)", "of Setup's total", "calls", "floor, median (ms)", "floor's calls"]
    return ["", f"### {title}", ""] + table(header, rows)


def _window_cost(s, name, title):
    """The floor with its message-only window, the same floor with a window of the dialog's size
    shown, and SetupTimed.exe: medians of the same rounds."""
    if not s.has(f"bd-floor-{name}-total", f"bd-floorvis-{name}-total"):
        return []
    rows = []
    for label, part in WINDOW_PARTS:
        plain, shown, timed = f"bd-floor-{name}-{part}", f"bd-floorvis-{name}-{part}", f"bd-{name}-{part}"
        if not s.has(plain, shown):
            continue
        rows.append(
            (
                label,
                tenths(s.median(plain)),
                tenths(s.median(shown)),
                tenths(s.median(shown) - s.median(plain)),
                tenths(s.median(timed)) if s.has(timed) else "",
            )
        )
    return (
        [
            "",
            f"### The floor with a window on the screen: {title}",
            "",
            "The floor's message-only window against a plain top-level window of the size of Setup's dialog,",
            "shown while it copies (bench_floor.exe --visible); its handler still does nothing. Medians of",
            "the same rounds; Setup beside them from its timing build.",
            "",
        ]
        + table(
            ["part", "floor (ms)", "floor with a visible window (ms)", "difference", "SetupTimed.exe (ms)"],
            rows,
        )
    )


def _extreme_rounds(s, key):
    by_round = s.by_round(key)
    return min(by_round, key=by_round.get), max(by_round, key=by_round.get)


def _spread_of(s, name, title):
    """Each part in the fastest and in the slowest timed run (by its total), and the floor's calls
    in its own fastest and slowest run. A round records every part of its run at once, so each
    column is one run."""
    if not s.has(f"bd-{name}-total"):
        return []
    fast, slow = _extreme_rounds(s, f"bd-{name}-total")
    floor_total = f"bd-floor-{name}-total"
    floor_fast, floor_slow = _extreme_rounds(s, floor_total) if s.has(floor_total) else (None, None)
    total = s.by_round(f"bd-{name}-total")
    total_difference = total[slow] - total[fast]
    rows = []
    for label, part, flags in SPREAD_PARTS:
        key, floor = f"bd-{name}-{part}", f"bd-floor-{name}-{part}"
        if not s.has(key):
            continue
        runs = s.by_round(key)
        difference = runs[slow] - runs[fast]
        part_share = "" if "t" in flags or total_difference == 0 else share(difference, total_difference)
        floor_cells = ("", "", "")
        if "f" in flags and floor_fast is not None and s.has(floor):
            f = s.by_round(floor)
            floor_cells = (tenths(f[floor_fast]), tenths(f[floor_slow]), tenths(f[floor_slow] - f[floor_fast]))
        rows.append((label, tenths(runs[fast]), tenths(runs[slow]), tenths(difference), part_share, *floor_cells))
    out = [
        "",
        f"### Where the spread goes: {title}",
        "",
        "The fastest and the slowest of SetupTimed.exe's runs, part by part, and how much of the",
        "difference between their totals each part holds; beside them the floor's own fastest and slowest",
        "run (by its total) and the same calls in them. A round's parts are those of one run, so each",
        "column is one run.",
    ]
    if s.has(f"setup-{name}"):
        setup = s.values(f"setup-{name}")
        out.append(f"Setup.exe itself: fastest {ms(min(setup))} ms, slowest {ms(max(setup))} ms.")
    header = [
        "part",
        "fastest run (ms)",
        "slowest run (ms)",
        "slowest − fastest",
        "of the total's difference",
        "floor, fastest",
        "floor, slowest",
        "floor's difference",
    ]
    return out + [""] + table(header, rows)
