"""One case: an install and then its removal, each timed and checked.

Every install is checked (files copied, install record, the program's keys) and removed (by its
own uninstaller where there is one), so every install folder is empty before the next install
into it; the run stops at the first broken step. The Windows side is timed inside Wine by
bench_driver.exe (bench/BenchDriver.cpp); cp -r and rm -rf by the host's clock around them.
Every timed step starts with the disk's write-back done (sync), so that no case pays for the
writes and deletions of the one before it.
"""

import os
import shutil
import subprocess
import time

from . import BenchFailure, timings

DRIVER = "C:\\bench\\tools\\bench_driver.exe"
OUT = "C:\\bench\\out"
SETUP_TIMINGS = "C:\\bench\\timings.txt"
FLOOR_TIMINGS = "C:\\bench\\floor-timings.txt"
HOOK_MODULE = "C:\\bench\\tools\\bench_paint_hook.dll"


class Fields(dict):
    """The driver's "key value" lines; a missing one stops the run, naming the step."""

    def __init__(self, fields, step):
        super().__init__(fields)
        self.step = step

    def __missing__(self, key):
        raise BenchFailure(f"{self.step} printed no {key}")


def count_files(folder):
    return sum(len(files) for _, _, files in os.walk(folder))


class Cases:
    def __init__(self, wine, files, samples, rmdir_10k):
        """files: payload name -> its number of files; rmdir_10k: whether xcopy's copy of the
        10 000 files is removed by rmdir /s /q, timed (the uninstall part's reference), or
        untimed on the host (where rmdir would only cost time)."""
        self.wine = wine
        self.bench = os.path.join(wine.drive_c, "bench")
        self.install_dir = os.path.join(wine.drive_c, "Program Files", "Kelvora", "Pindlemark")
        self.files = files
        self.samples = samples
        self.rmdir_10k = rmdir_10k
        self._round = None

    # --- the cases ----------------------------------------------------------------------------

    def run(self, case, round_number):
        """Runs the case; round_number None is the warm-up, which records nothing."""
        kind, name = case.split(":")
        self._round = round_number
        n = self.files[name]
        if kind == "setup":
            fields = self._setup(name, f"addon-{name}")
            self._record("setup", name, fields["setup_ms"])
            self._record("peak", name, fields["peak_working_set"], quiet=True)
            self._uninstall(name, timed=True)
        elif kind == "timed":
            fields = self._setup(name, f"addon-{name}-timed", "--timings", SETUP_TIMINGS)
            self._record("timed", name, fields["setup_ms"])
            self._record_parts(f"bd-{name}", self._parts(timings.setup_parts, fields, f"SetupTimed.exe ({name})"))
            os.remove(os.path.join(self.bench, "timings.txt"))
            self._uninstall(name, timed=False)
        elif kind in ("nsis-page", "nsis-silent"):
            self._nsis(kind, name, n)
        elif kind == "xcopy":
            copy = os.path.join(self.bench, "out", "xcopy")
            copied = self._run(f"xcopy /E /I /Q /Y C:\\bench\\payload-{name} {OUT}\\xcopy")
            self._record("xcopy", name, copied["run_ms"])
            self._expect_files(copy, n, "xcopy")
            if self.rmdir_10k and name in ("10k", "warm"):
                self._record("rmdir", name, self._run(f"cmd /c rmdir /s /q {OUT}\\xcopy")["run_ms"])
            else:
                shutil.rmtree(copy)
            self._expect_gone(copy, "removing xcopy's copy")
        elif kind in ("floor", "floor-visible"):
            self._floor(kind, name, n)
        elif kind == "cp":
            copy = os.path.join(self.bench, "out", "cp")
            self._record("cp", name, self._host("cp", "-r", os.path.join(self.bench, f"payload-{name}"), copy))
            self._expect_files(copy, n, "cp -r")
            self._record("rm", name, self._host("rm", "-rf", copy))
            self._expect_gone(copy, "rm -rf")
        elif kind == "noop":
            self._record("noop", name, self._run("cmd /c exit")["run_ms"])
        else:
            raise BenchFailure(f"no case {kind}")

    def count_repaints(self):
        """The progress bar's repaints in one install of the 10 000 files, not timed: the hook
        module runs inside Setup for every message of its UI thread."""
        self._round = None
        fields = self._setup("10k", "addon-10k", "--count-paints", HOOK_MODULE)
        self._uninstall("10k", timed=False)
        return {key: int(fields[key]) for key in ("bar_paints", "bar_paints_sent", "bar_width")}

    def _nsis(self, kind, name, n):
        # The NSIS uninstaller runs in place (_?=), so its own file stays; nothing else may.
        page = kind.split("-")[1]
        silent = "/S " if page == "silent" else ""
        folder = os.path.join(self.bench, "out", kind)
        self._record(kind, name, self._run(f"C:\\bench\\nsis-{name}.exe {silent}/D={OUT}\\{kind}")["run_ms"])
        self._expect_files(folder, n + 1, f"NSIS ({page})")
        removed = self._run(f"{OUT}\\{kind}\\uninst.exe {silent}_?={OUT}\\{kind}")
        self._record(f"nsis-un-{page}", name, removed["run_ms"])
        left = sorted(os.listdir(folder))
        if left != ["uninst.exe"]:
            raise BenchFailure(f"the NSIS uninstaller ({page}) left {', '.join(left[:5])} in out\\{kind}")
        shutil.rmtree(folder)

    def _floor(self, kind, name, n):
        # The floor times its calls in every run; the file costs it one write at its end. With
        # --visible its window is one of the dialog's size on the screen.
        visible = " --visible" if kind == "floor-visible" else ""
        copy = os.path.join(self.bench, "out", "floor")
        fields = self._run(
            f"C:\\bench\\tools\\bench_floor.exe C:\\bench\\addon-{name}\\ {OUT}\\floor\\{visible}",
            timings_in=("PM_FLOOR_TIMINGS", FLOOR_TIMINGS),
        )
        self._record(kind, name, fields["run_ms"])
        self._expect_files(copy, n, f"the floor{visible}")
        prefix = "bd-floorvis" if visible else "bd-floor"
        parts = self._parts(timings.floor_parts, fields, f"the floor{visible} ({name})")
        self._record_parts(f"{prefix}-{name}", parts)
        os.remove(os.path.join(self.bench, "floor-timings.txt"))
        shutil.rmtree(copy)

    # --- the steps ----------------------------------------------------------------------------

    def _driver(self, *args):
        os.sync()
        output = self.wine.run(DRIVER, *args, stderr_file=os.path.join(self.bench, "driver.err"))
        return Fields(timings.parse_fields(output), f"bench_driver {args[0]}")

    def _setup(self, name, addon, *options):
        """Setup.exe from an add-on folder of the payload into the fixed install folder: every
        file, Uninstall.exe beside them and the install record, every copy recorded, the record
        too."""
        fields = self._driver("setup", f"C:\\bench\\{addon}\\", *options)
        expected = self.files[name] + 2
        self._expect_files(self.install_dir, expected, f"Setup.exe ({addon})")
        with open(os.path.join(self.install_dir, "Uninstall.log"), "rb") as record:
            recorded = sum(1 for line in record if line.startswith(b"File Copy: "))
        if recorded != expected:
            raise BenchFailure(f"Setup.exe ({addon}): {recorded} files in the install record, expected {expected}")
        return fields

    def _uninstall(self, name, timed):
        """The installed Uninstall.exe; the driver waits for the self-removal batch too."""
        fields = self._driver("uninstall")
        self._expect_gone(self.install_dir, "Uninstall.exe")
        self._expect_gone(os.path.join(self.wine.drive_c, "DelUS.bat"), "Uninstall.exe")
        # Setup makes the maker's folder above the install folder without recording it, so it
        # stays, empty; removed here so that every install starts from nothing, as the first.
        maker = os.path.dirname(self.install_dir)
        left = os.listdir(maker) if os.path.isdir(maker) else []
        if left:
            raise BenchFailure(f"Uninstall.exe left {' '.join(left[:3])} in Program Files\\Kelvora")
        shutil.rmtree(maker, ignore_errors=True)
        if timed:
            self._record("uninstall", name, fields["uninstall_ms"])
            self._record("batch", name, fields["batch_ms"], quiet=True)

    def _run(self, command_line, timings_in=None):
        """A whole Windows process, timed by the driver."""
        if timings_in:
            return self._driver("run", "--timings", *timings_in, command_line)
        return self._driver("run", command_line)

    def _host(self, *command):
        """A host command, timed by the host's clock; milliseconds."""
        os.sync()
        start = time.perf_counter()
        done = subprocess.run(command, stdin=subprocess.DEVNULL, check=False)
        elapsed = (time.perf_counter() - start) * 1000
        if done.returncode != 0:
            raise BenchFailure(f"{' '.join(command)}: exit code {done.returncode}")
        return elapsed

    def _parts(self, parse, fields, what):
        try:
            return parse(fields)
        except timings.TimingsError as error:
            raise BenchFailure(f"the timings of {what}: {error}") from None

    # --- checks and records -------------------------------------------------------------------

    def _expect_files(self, folder, expected, what):
        found = count_files(folder) if os.path.isdir(folder) else 0
        if found != expected:
            raise BenchFailure(f"{what}: {found} files in {os.path.relpath(folder, self.bench)}, expected {expected}")

    def _expect_gone(self, path, what):
        if os.path.lexists(path):
            raise BenchFailure(f"{what}: {os.path.relpath(path, self.wine.drive_c)} is still there")

    def _record(self, figure, name, value, quiet=False):
        if self._round is None:
            return
        self.samples.record(f"{figure}-{name}", self._round, float(value))
        if not quiet:
            print(f"  {figure + '-' + name:<34} {float(value):8.0f} ms", flush=True)

    def _record_parts(self, prefix, parts):
        if self._round is None:
            return
        for key, value in parts.items():
            self.samples.record(f"{prefix}-{key}", self._round, value)
