#include "framework/AdminOnlySecurity.h"

CAdminOnlySecurity::CAdminOnlySecurity(ADMIN_ONLY_OBJECT nObject)
    : m_nInherit(nObject == ADMIN_ONLY_FOLDER ? OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE : 0),
      m_bValid(FALSE) {
    m_sa.nLength = sizeof m_sa;
    m_sa.lpSecurityDescriptor = &m_sd;
    m_sa.bInheritHandle = FALSE;
    m_bValid =
        InitSid(m_sidSystem, 1, SECURITY_LOCAL_SYSTEM_RID, 0) &&
        InitSid(m_sidAdmins, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS) &&
        InitSid(m_sidUsers, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS) &&
        ::InitializeAcl(reinterpret_cast<PACL>(m_acl), sizeof m_acl, ACL_REVISION) &&
        AddEntry(FILE_ALL_ACCESS, m_sidSystem) && AddEntry(FILE_ALL_ACCESS, m_sidAdmins) &&
        (nObject != ADMIN_ONLY_FOLDER || AddEntry(FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, m_sidUsers)) &&
        ::InitializeSecurityDescriptor(&m_sd, SECURITY_DESCRIPTOR_REVISION) &&
        ::SetSecurityDescriptorDacl(&m_sd, TRUE, reinterpret_cast<PACL>(m_acl), FALSE) &&
        ::SetSecurityDescriptorControl(&m_sd, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

BOOL CAdminOnlySecurity::InitSid(BYTE* pSid, BYTE nSubAuthorities, DWORD dwFirst, DWORD dwSecond) {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    if (!::InitializeSid(pSid, &ntAuthority, nSubAuthorities)) return FALSE;
    *::GetSidSubAuthority(pSid, 0) = dwFirst;
    if (nSubAuthorities > 1) *::GetSidSubAuthority(pSid, 1) = dwSecond;
    return TRUE;
}

// AddAccessAllowedAceEx, which takes the inheritance flags, is in advapi32 from Windows 2000 on.
BOOL CAdminOnlySecurity::AddEntry(DWORD dwAccess, BYTE* pSid) {
    return ::AddAccessAllowedAceEx(reinterpret_cast<PACL>(m_acl), ACL_REVISION, m_nInherit, dwAccess, pSid);
}
