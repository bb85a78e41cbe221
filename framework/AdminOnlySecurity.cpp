#include "framework/AdminOnlySecurity.h"

CAdminOnlySecurity::CAdminOnlySecurity() : m_bValid(FALSE) {
    m_sa.nLength = sizeof m_sa;
    m_sa.lpSecurityDescriptor = &m_sd;
    m_sa.bInheritHandle = FALSE;
    PACL pAcl = reinterpret_cast<PACL>(m_acl);
    m_bValid = InitSid(m_sidSystem, 1, SECURITY_LOCAL_SYSTEM_RID, 0) &&
               InitSid(m_sidAdmins, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS) &&
               ::InitializeAcl(pAcl, sizeof m_acl, ACL_REVISION) &&
               ::AddAccessAllowedAce(pAcl, ACL_REVISION, FILE_ALL_ACCESS, m_sidSystem) &&
               ::AddAccessAllowedAce(pAcl, ACL_REVISION, FILE_ALL_ACCESS, m_sidAdmins) &&
               ::InitializeSecurityDescriptor(&m_sd, SECURITY_DESCRIPTOR_REVISION) &&
               ::SetSecurityDescriptorDacl(&m_sd, TRUE, pAcl, FALSE) &&
               ::SetSecurityDescriptorControl(&m_sd, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

BOOL CAdminOnlySecurity::InitSid(BYTE* pSid, BYTE nSubAuthorities, DWORD dwFirst, DWORD dwSecond) {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    if (!::InitializeSid(pSid, &ntAuthority, nSubAuthorities)) return FALSE;
    *::GetSidSubAuthority(pSid, 0) = dwFirst;
    if (nSubAuthorities > 1) *::GetSidSubAuthority(pSid, 1) = dwSecond;
    return TRUE;
}
