// Security attributes for a file that an elevated program writes now and runs later: full access
// for SYSTEM and the Administrators group, nothing for anyone else, and no entry inherited from the
// folder (the drive root lets authenticated users change the files made in it).
#pragma once
#include <windows.h>

class CAdminOnlySecurity {
public:
    CAdminOnlySecurity();

    CAdminOnlySecurity(const CAdminOnlySecurity&) = delete;
    CAdminOnlySecurity& operator=(const CAdminOnlySecurity&) = delete;

    // Null when the descriptor could not be built: then nothing may be created with it.
    SECURITY_ATTRIBUTES* Get() { return m_bValid ? &m_sa : NULL; }

private:
    BOOL InitSid(BYTE* pSid, BYTE nSubAuthorities, DWORD dwFirst, DWORD dwSecond);

    // Room for a SID of two sub-authorities (SECURITY_MAX_SID_SIZE is 68), and for the list of
    // two entries that names them.
    BYTE m_sidSystem[68];
    BYTE m_sidAdmins[68];
    BYTE m_acl[256];
    SECURITY_DESCRIPTOR m_sd;
    SECURITY_ATTRIBUTES m_sa;
    BOOL m_bValid;
};
