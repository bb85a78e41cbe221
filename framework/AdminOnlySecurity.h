// Security attributes for what an elevated program makes now and reads or runs later: full access
// for SYSTEM and the Administrators group, and no entry inherited from the folder above (a drive
// root lets authenticated users change what is made in it). A file gets nothing for anyone else; a
// folder lets the users read and run what it holds, and hands its entries down to it.
#pragma once
#include <windows.h>

enum ADMIN_ONLY_OBJECT { ADMIN_ONLY_FILE, ADMIN_ONLY_FOLDER };

class CAdminOnlySecurity {
public:
    explicit CAdminOnlySecurity(ADMIN_ONLY_OBJECT nObject = ADMIN_ONLY_FILE);

    CAdminOnlySecurity(const CAdminOnlySecurity&) = delete;
    CAdminOnlySecurity& operator=(const CAdminOnlySecurity&) = delete;

    // Null when the descriptor could not be built: then nothing may be created with it.
    SECURITY_ATTRIBUTES* Get() { return m_bValid ? &m_sa : NULL; }

private:
    BOOL InitSid(BYTE* pSid, BYTE nSubAuthorities, DWORD dwFirst, DWORD dwSecond);
    BOOL AddEntry(DWORD dwAccess, BYTE* pSid);

    // Room for a SID of two sub-authorities (SECURITY_MAX_SID_SIZE is 68), and for the list of
    // three entries that names them.
    BYTE m_sidSystem[68];
    BYTE m_sidAdmins[68];
    BYTE m_sidUsers[68];
    BYTE m_acl[256];
    SECURITY_DESCRIPTOR m_sd;
    SECURITY_ATTRIBUTES m_sa;
    BYTE m_nInherit;
    BOOL m_bValid;
};
