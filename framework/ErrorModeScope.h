// Keeps the system from showing its own error boxes ("cannot find module", "no disk in drive")
// while foreign modules load, and puts the previous error mode back on every path.
#pragma once
#include <windows.h>

class CErrorModeScope {
public:
    CErrorModeScope() : m_uPrevious(::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~CErrorModeScope() { ::SetErrorMode(m_uPrevious); }

    CErrorModeScope(const CErrorModeScope&) = delete;
    CErrorModeScope& operator=(const CErrorModeScope&) = delete;

private:
    UINT m_uPrevious;
};
