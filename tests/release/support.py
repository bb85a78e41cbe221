"""What the release kit's tests share: where things are, a sample add-on, and modules made with the
MinGW compilers (DLLs exporting what a test asks, for either architecture)."""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
LIB = os.path.join(ROOT, "tools", "lib", "release")
BUILD = os.environ.get("PM_BUILD", os.path.join(ROOT, "build"))
sys.path.insert(0, LIB)

COMPILERS = {"i686": "i686-w64-mingw32-gcc", "x86_64": "x86_64-w64-mingw32-gcc"}
_modules = {}


def module(arch, exports, kind="dll"):
    """The path of a module built once per run: a DLL (or a program) for arch exporting exports."""
    key = (arch, tuple(exports), kind)
    if key not in _modules:
        folder = tempfile.mkdtemp(prefix="pm-release-module-")
        source = os.path.join(folder, "m.c")
        with open(source, "w") as f:
            f.write("#include <windows.h>\n")
            for name in exports:
                f.write("__declspec(dllexport) HRESULT WINAPI %s(void) { return S_OK; }\n" % name)
            f.write("int main(void) { return 0; }\n" if kind == "exe" else
                    "BOOL WINAPI DllMain(HINSTANCE i, DWORD r, LPVOID p) { return TRUE; }\n")
        out = os.path.join(folder, "m." + ("exe" if kind == "exe" else "dll"))
        flags = ["-shared", "-Wl,--kill-at"] if kind == "dll" else []
        subprocess.run([COMPILERS[arch], "-O1", "-s", *flags, "-o", out, source], check=True)
        _modules[key] = out
    return _modules[key]


CONTROL_EXPORTS = ("DllRegisterServer", "DllUnregisterServer")


def sample_addon(folder, control=None, name="Sample.ocx"):
    """The bundled sample add-on with one control (by default a 32-bit one exporting both entry
    points) in its Controls folder."""
    shutil.copytree(os.path.join(ROOT, "tools", "demo-addon"), folder)
    os.makedirs(os.path.join(folder, "Controls"), exist_ok=True)
    shutil.copyfile(control or module("i686", CONTROL_EXPORTS), os.path.join(folder, "Controls", name))
    return folder


def write(path, data=b"x"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
