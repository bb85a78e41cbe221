"""The parts of a timed install from the driver's lines (pmbench/timings.py)."""

import unittest

from pmbench import timings

FREQUENCY = 10_000_000  # ticks a second, as Wine's QueryPerformanceCounter counts


def setup_lines(**changes):
    """A timed install: marks 1 ms apart from the driver's start, view seen at 20 ms."""
    fields = {"start_qpc": 0, "view_qpc": 20 * FREQUENCY // 1000}
    fields.update(qpc_frequency=FREQUENCY, t_qpc_frequency=FREQUENCY)
    for n, mark in enumerate(timings.MARKS, start=1):
        fields[f"t_mark_{mark}"] = n * FREQUENCY // 1000
    for call in timings.SETUP_CALLS:
        fields[f"t_time_{call}"] = 100  # microseconds
        fields[f"t_calls_{call}"] = 7
    fields.update(t_cpu_worker=3000, t_cpu_ui=2000)
    fields.update(changes)
    return "\r\n".join(f"{key} {value}" for key, value in fields.items() if value is not None) + "\r\n"


class SetupPartsTest(unittest.TestCase):
    def test_parts_in_milliseconds(self):
        parts = timings.setup_parts(timings.parse_fields(setup_lines()))
        self.assertAlmostEqual(parts["total"], 20.0)
        self.assertAlmostEqual(parts["startup"], 4.0)  # worker_start is the fourth mark
        self.assertAlmostEqual(parts["copy_file"], 0.1)
        self.assertEqual(parts["calls_copy_file"], 7)
        self.assertAlmostEqual(parts["copying"], 1.0)
        self.assertAlmostEqual(parts["loop_rest"], 1.0 - 5 * 0.1)
        self.assertAlmostEqual(parts["lag"], 10.0)
        self.assertAlmostEqual(parts["cpu_worker"], 3.0)

    def test_a_broken_report_stops_the_run(self):
        cases = {
            "no t_mark_loose_done t_calls_bar_paint": setup_lines(t_mark_loose_done=None, t_calls_bar_paint=None),
            "the driver counts": setup_lines(t_qpc_frequency=FREQUENCY // 2),
            "mark dialog_init comes before app_init": setup_lines(t_mark_dialog_init=0),
            "mark app_init comes before the process start": setup_lines(start_qpc=5 * FREQUENCY),
        }
        for message, lines in cases.items():
            with self.assertRaises(timings.TimingsError) as caught:
                timings.setup_parts(timings.parse_fields(lines))
            self.assertIn(message, str(caught.exception))


class FloorPartsTest(unittest.TestCase):
    def test_floor_parts(self):
        lines = ["run_ms 1500.5", "t_cpu_worker 1000", "t_cpu_ui 500"]
        lines += [f"t_time_{call} 2000\nt_calls_{call} 44" for call in timings.FLOOR_CALLS]
        parts = timings.floor_parts(timings.parse_fields("\n".join(lines)))
        self.assertEqual(parts["total"], 1500.5)
        self.assertEqual(parts["make_folder"], 2.0)
        self.assertEqual(parts["calls_send_wait"], 44)
        with self.assertRaises(timings.TimingsError):
            timings.floor_parts(timings.parse_fields("run_ms 1"))


if __name__ == "__main__":
    unittest.main()
