// Where this process looks for the modules it loads. Both programs run elevated, Setup from a
// download folder that others can write to and Uninstall beside the add-on's loose files, so a
// module asked for by bare name must never come from the program's own folder or the current one.
#pragma once
#include <windows.h>

// The first thing WinMain does, before anything can load a module by bare name. Where the system
// has the restricted search (Windows 8 and later; Vista and 7 with the loader update), every later
// load by bare name, the system's own included, looks in System32 only. Elsewhere the current
// folder is taken out of the search; the program's folder stays first there, which is why the
// programs load what they load themselves by full path, and why the system DLLs that others load
// by bare name are loaded early there (AfxLoadEarlyDlls).
void AfxLimitDllSearch();

// Loads the DLLs of EarlyLoads.h from System32 by their full paths, those the system has, for the
// process's life: a later load by bare name, by the system's own DLLs too, finds them loaded and
// never looks beside the program.
void AfxLoadEarlyDlls();

// Loads the module at a full path. What it imports is looked for in its own folder and in
// System32, and nowhere else; where the system lacks the restricted search, its own folder comes
// first and the standard order follows.
HMODULE AfxLoadLibraryFrom(LPCSTR pszPath);

// Loads a DLL of System32 (a name such as "comctl32.dll") by its full path.
HMODULE AfxLoadSystemLibrary(LPCSTR pszName);

// For its lifetime, modules loaded by bare name are also looked for in one more folder (a full
// path), before System32. It extends the search that AfxLimitDllSearch set and does nothing where
// that could not be set. The search belongs to the process: other threads see the folder too.
class CDllDirectoryScope {
public:
    explicit CDllDirectoryScope(LPCSTR pszFolder);
    ~CDllDirectoryScope();

    CDllDirectoryScope(const CDllDirectoryScope&) = delete;
    CDllDirectoryScope& operator=(const CDllDirectoryScope&) = delete;

private:
    void* m_pCookie;
};
