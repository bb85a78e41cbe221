"""The Wine prefix of the benchmark, through the harness that tools/test uses (tools/lib/wine.sh):
started once for the run, stopped at its end, and the Windows programs run in it."""

import os
import subprocess

from . import BenchFailure
from .build import ROOT

HARNESS = ROOT / "tools" / "lib" / "wine.sh"
# What the harness exports for the programs in the prefix.
EXPORTED = ("LANG", "LC_ALL", "WINEDEBUG", "WINEDLLOVERRIDES", "PM_WINE", "WINESERVER", "WINEARCH", "WINEPREFIX")
EXPORTED += ("DISPLAY",)


def _harness(script, *args, env=None, stdout=None):
    return subprocess.run(
        ["bash", "-c", f'source "$0"; {script}', str(HARNESS), *args],
        env=env,
        stdin=subprocess.DEVNULL,
        stdout=stdout,
        text=True,
        check=False,
    )


class Wine:
    def __init__(self, folder):
        self.folder = folder
        self.env = None
        self._xvfb_pid = ""

    def start(self):
        """A fresh prefix in folder/wineprefix, on a virtual display of its own (Xvfb)."""
        started = _harness(
            'pm_wine_start "$1" >&2 || exit 1; echo "PM_XVFB_PID=$PM_XVFB_PID"; env',
            str(self.folder),
            stdout=subprocess.PIPE,
        )
        values = dict(line.split("=", 1) for line in started.stdout.splitlines() if "=" in line)
        self._xvfb_pid = values.get("PM_XVFB_PID", "")
        self.env = dict(os.environ)
        self.env.update({key: values[key] for key in EXPORTED if key in values})
        if started.returncode != 0 or "WINEPREFIX" not in values:
            self.stop()
            raise BenchFailure("cannot start Wine")

    def stop(self):
        """Ends the prefix's wineserver and the virtual display that start() started. Safe to
        call twice."""
        if self.env is None:
            return
        _harness('PM_XVFB_PID=$1; pm_wine_stop', self._xvfb_pid, env=self.env)
        self.env, self._xvfb_pid = None, ""

    @property
    def drive_c(self):
        return os.path.join(self.env["WINEPREFIX"], "drive_c")

    def version(self):
        done = subprocess.run(
            [self.env["PM_WINE"], "--version"],
            env=self.env,
            stdin=subprocess.DEVNULL,
            capture_output=True,
            text=True,
            check=False,
        )
        return done.stdout.strip() or "unknown"

    def run(self, *args, stderr_file):
        """Runs a Windows program: its output, carriage returns dropped; a failure carries what
        it wrote to its error stream."""
        with open(stderr_file, "w") as err:
            done = subprocess.run(
                [self.env["PM_WINE"], *args],
                env=self.env,
                stdin=subprocess.DEVNULL,
                stdout=subprocess.PIPE,
                stderr=err,
                check=False,
            )
        if done.returncode != 0:
            with open(stderr_file, errors="replace") as err:
                said = err.read().replace("\r", "").strip()
            raise BenchFailure(f"{' '.join(args)}: {said}")
        return done.stdout.decode("utf-8", "replace").replace("\r", "")
