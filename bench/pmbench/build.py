"""Building the programs the benchmark runs, in the trees tools/test builds, through the same
helpers (tools/lib/build.sh): the programs for the Wine that runs here with the bench programs
and the timing build of Setup beside the tests, and the shipped i686 programs in build/dist."""

import os
import subprocess
import sys
from pathlib import Path

from . import BenchFailure

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("PM_BUILD") or ROOT / "build")
TOOLCHAINS = {"win32": "mingw-i686.cmake", "win64": "mingw-x86_64.cmake"}


def shell_library(script, function, *args, env=None, stdout=None):
    """Runs a function of one of tools/lib's bash libraries."""
    return subprocess.run(
        ["bash", "-c", 'source "$1"; shift; "$@"', "bash", str(ROOT / "tools/lib" / script), function, *args],
        env=env,
        stdout=stdout,
        stdin=subprocess.DEVNULL,
        text=True,
        check=False,
    )


def wine_arch():
    """win32 where the kernel runs 32-bit code, win64 otherwise (tools/lib/wine.sh)."""
    done = shell_library("wine.sh", "pm_wine_arch", stdout=subprocess.PIPE)
    return done.stdout.strip()


class Programs:
    """Where the programs of the given Wine architecture are once built."""

    def __init__(self, arch):
        self.arch = arch
        self.dist = BUILD / "dist" if arch == "win32" else BUILD / arch / "dist"
        self.bench_bin = BUILD / arch / "bench" / "bin"
        self.setup_timed = BUILD / arch / "test-programs" / "SetupTimed.exe"
        self.shipped = BUILD / "dist"  # the i686 programs, whose sizes count
        self.log = BUILD / "bench.build.log"

    def build(self, for_wine, timed, sizes, note):
        BUILD.mkdir(parents=True, exist_ok=True)
        self.log.write_text("")
        if sizes and self.arch != "win32":
            self._build_tree("win32", False, ["Setup", "Uninstall"], note)
        if for_wine or self.arch == "win32":
            targets = ["Setup", "Uninstall", "bench_programs"] + (["SetupTimed"] if timed else [])
            self._build_tree(self.arch, True, targets, note)

    def _build_tree(self, tree, tests, targets, note):
        note(f"building {' '.join(targets)} ({tree})")
        args = [
            f"-DCMAKE_TOOLCHAIN_FILE={ROOT / 'cmake' / TOOLCHAINS[tree]}",
            "-DCMAKE_BUILD_TYPE=Release",
            f"-DPM_BUILD_TESTS={'ON' if tests else 'OFF'}",
        ]
        if tree == "win32":
            args.append(f"-DPM_DIST_DIR={BUILD / 'dist'}")
        env = dict(os.environ, PM_BUILD=str(BUILD))
        if shell_library("build.sh", "pm_configure", tree, *args, env=env).returncode != 0:
            raise BenchFailure(f"configuring {tree}")
        jobs = os.environ.get("PM_JOBS") or str(os.cpu_count() or 1)
        with open(self.log, "a") as log:
            built = subprocess.run(
                ["cmake", "--build", str(BUILD / tree), "-j", jobs, "--target", *targets],
                stdout=log,
                stderr=subprocess.STDOUT,
                check=False,
            )
        if built.returncode != 0:
            print("\n".join(self.log.read_text().splitlines()[-40:]), file=sys.stderr)
            raise BenchFailure(f"build of {' '.join(targets)} ({tree})")
