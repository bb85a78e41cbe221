// The trace of the failures that the programs pass over by design: a file not copied or not
// deleted, a key not written or not deleted, a control not registered, no removal batch. The user
// is not asked or told, but a maintainer can see each one: a debugger, a debug-output viewer, or
// Wine with WINEDEBUG=+debugstr shows one line per failure, such as
//
//     Setup: CopyFileW failed: C:\Program Files\Kelvora\Pindlemark\a.txt: error 32: <system text>
//
// Nothing goes to disk and no setting is read. On the paths that succeed nothing happens at all;
// a failure costs one FormatMessage and one OutputDebugStringW (UTF-16, so that a path reads the
// same on a Windows of any language), which returns at once when no one listens.
#pragma once
#include <windows.h>

// pszWhat names the operation (the system call, or what the program did), pszObject the path or
// key it was done on, dwError the error code (GetLastError, a registry call's result, or an
// HRESULT). The system's text for the code follows when it has one.
void AfxTraceFailure(LPCSTR pszWhat, LPCSTR pszObject, DWORD dwError);

// A call that returned another HRESULT than S_OK, such as a control's DllRegisterServer. The
// system's text follows for a failure code; S_FALSE and other successes have none.
void AfxTraceResult(LPCSTR pszWhat, LPCSTR pszObject, HRESULT hr);

// A deletion that failed, with GetLastError's code, unless what was to go is gone already (not
// found): nothing is left of it, so nothing failed.
void AfxTraceDeletionFailure(LPCSTR pszWhat, LPCSTR pszObject);
