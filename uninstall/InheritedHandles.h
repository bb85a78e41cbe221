// Hands a new process only the inheritable handles it is meant to have. Where the system can say
// which (PROC_THREAD_ATTRIBUTE_HANDLE_LIST, Windows Vista and later), the process gets exactly
// those, whatever else of ours, or of a foreign module loaded into us, is inheritable; elsewhere it
// gets every inheritable handle, as CreateProcess always did.
#pragma once
#include <windows.h>

class CInheritedHandles {
public:
    // si is the start-up information to extend; the handles must stay open until the process is
    // created. At most MAX_HANDLES are listed.
    CInheritedHandles(const STARTUPINFOW& si, const HANDLE* phHandles, int nHandles);
    ~CInheritedHandles();

    CInheritedHandles(const CInheritedHandles&) = delete;
    CInheritedHandles& operator=(const CInheritedHandles&) = delete;

    // What CreateProcessA takes: the start-up information and the flags to add to its own.
    STARTUPINFOW* StartupInfo() { return &m_si.StartupInfo; }
    DWORD CreationFlags() const;

    enum { MAX_HANDLES = 4 };

private:
    struct CStartupInfoEx {  // STARTUPINFOEXW, which older headers lack
        STARTUPINFOW StartupInfo;
        void* lpAttributeList;
    };

    CStartupInfoEx m_si;
    HANDLE m_ahHandles[MAX_HANDLES];
    BYTE* m_pListBlock;  // the attribute list, when the system has one
    BOOL m_bListed;
};
