"""The benchmark of Setup.exe and Uninstall.exe (bench/bench.py), one module a purpose."""


class BenchFailure(Exception):
    """A step that did not do its work, or a program that did not build: the run stops."""
