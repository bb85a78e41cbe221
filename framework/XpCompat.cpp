// Windows XP has no GetTickCount64, yet the C++ run-time's thread support (linked statically)
// imports it. The MinGW link points that import at this pointer instead (see the --defsym in
// CMakeLists.txt), so the programs load on XP: it calls the real function where the system has
// one, and falls back to GetTickCount elsewhere.
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64() {
    typedef ULONGLONG(WINAPI * PFN_TICKCOUNT64)();
    PFN_TICKCOUNT64 pfnReal = reinterpret_cast<PFN_TICKCOUNT64>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    return pfnReal != NULL ? pfnReal() : ::GetTickCount();
}

}  // namespace

extern "C" {
ULONGLONG(WINAPI* pm_pfnGetTickCount64)() = &TickCount64;
}
