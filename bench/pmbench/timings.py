"""The "key value" lines that bench_driver.exe prints, and the parts of one timed install.

SetupTimed.exe and the floor write their own "key value" lines, which the driver prints again
with "t_" before the key (bench/BenchDriver.cpp). Times in those are microseconds, marks are
QueryPerformanceCounter values on the clock the driver reads too; the parts below are
milliseconds.
"""

MARKS = (
    "app_init",
    "dialog_init",
    "count_done",
    "worker_start",
    "folders_done",
    "loose_done",
    "controls_done",
    "registry_done",
    "record_done",
    "view_shown",
)
SETUP_CALLS = (
    "count_files",
    "make_folder",
    "copy_file",
    "set_attributes",
    "add_record",
    "send_wait",
    "step_it",
    "bar_paint",
)
FLOOR_CALLS = ("make_folder", "copy_file", "set_attributes", "send_wait")


class TimingsError(Exception):
    pass


def parse_fields(text):
    """A dict of the "key value" lines of the driver's output (carriage returns dropped)."""
    fields = {}
    for line in text.replace("\r", "").splitlines():
        key, _, value = line.strip().partition(" ")
        if key:
            fields[key] = value.strip()
    return fields


def _numbers(fields, keys):
    missing = [key for key in keys if key not in fields]
    if missing:
        raise TimingsError("no " + " ".join(missing))
    return {key: float(fields[key]) for key in keys}


def _calls(v, calls):
    parts = {}
    for call in calls:
        parts[call] = v["t_time_" + call] / 1000
        parts["calls_" + call] = v["t_calls_" + call]
    return parts


def setup_parts(fields):
    """The parts of one SetupTimed.exe install. Checks that every mark and call is there, that
    the two processes read one clock, and that the marks come in the order the install passes
    them."""
    keys = ["start_qpc", "view_qpc", "qpc_frequency", "t_qpc_frequency", "t_cpu_worker", "t_cpu_ui"]
    keys += ["t_mark_" + mark for mark in MARKS]
    keys += [f"t_{what}_{call}" for call in SETUP_CALLS for what in ("time", "calls")]
    v = _numbers(fields, keys)
    if v["qpc_frequency"] != v["t_qpc_frequency"]:
        raise TimingsError(
            f"the driver counts {fields['qpc_frequency']} ticks a second, Setup {fields['t_qpc_frequency']}"
        )
    last, before = v["start_qpc"], "the process start"
    for mark in MARKS:
        if v["t_mark_" + mark] < last:
            raise TimingsError(f"mark {mark} comes before {before}")
        last, before = v["t_mark_" + mark], mark

    tick = v["qpc_frequency"] / 1000
    at = {mark: (v["t_mark_" + mark] - v["start_qpc"]) / tick for mark in MARKS}
    parts = _calls(v, SETUP_CALLS)
    total = (v["view_qpc"] - v["start_qpc"]) / tick
    copying = at["folders_done"] - at["worker_start"]
    timed_in_loop = ("copy_file", "set_attributes", "send_wait", "make_folder", "add_record")
    parts.update(
        total=total,
        startup=at["worker_start"],
        process_start=at["app_init"],
        dialog_start=at["dialog_init"] - at["app_init"],
        startup_rest=at["worker_start"] - at["dialog_init"] - parts["count_files"],
        copying=copying,
        loop_rest=copying - sum(parts[call] for call in timed_in_loop),
        loose=at["loose_done"] - at["folders_done"],
        controls=at["controls_done"] - at["loose_done"],
        registry=at["registry_done"] - at["controls_done"],
        record=at["record_done"] - at["registry_done"],
        view=at["view_shown"] - at["record_done"],
        lag=total - at["view_shown"],
        after_copy=total - at["folders_done"],
        cpu_worker=v["t_cpu_worker"] / 1000,
        cpu_ui=v["t_cpu_ui"] / 1000,
    )
    return parts


def floor_parts(fields):
    """The same for one run of the floor: its whole run and the calls it times."""
    keys = ["run_ms", "t_cpu_worker", "t_cpu_ui"]
    keys += [f"t_{what}_{call}" for call in FLOOR_CALLS for what in ("time", "calls")]
    v = _numbers(fields, keys)
    parts = _calls(v, FLOOR_CALLS)
    parts.update(total=v["run_ms"], cpu_worker=v["t_cpu_worker"] / 1000, cpu_ui=v["t_cpu_ui"] / 1000)
    return parts
