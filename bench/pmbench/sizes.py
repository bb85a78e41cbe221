"""The bytes of the shipped i686 programs and where they go (tools/lib/pe-sizes.py)."""

import subprocess
import sys

from . import BenchFailure
from .build import ROOT


def measure(dist):
    """{"Setup": {key: bytes}, "Uninstall": {...}} for the programs in dist."""
    sizes = {}
    for program in ("Setup", "Uninstall"):
        exe = dist / f"{program}.exe"
        if not exe.is_file():
            raise BenchFailure(f"no {exe}")
        options = ["--bitmap", "138"] if program == "Setup" else []
        done = subprocess.run(
            [sys.executable, str(ROOT / "tools" / "lib" / "pe-sizes.py"), str(exe), *options],
            capture_output=True,
            text=True,
            check=False,
        )
        if done.returncode != 0:
            raise BenchFailure(f"pe-sizes {exe.name}: {done.stderr.strip()}")
        sizes[program] = {key: int(value) for key, value in (line.split() for line in done.stdout.splitlines())}
    return sizes
