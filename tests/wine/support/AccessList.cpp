#include "support/AccessList.h"

#include <sddl.h>
#include <stdio.h>

#include <algorithm>

std::string SidText(const void* sid) {
    char* buffer = NULL;
    if (!ConvertSidToStringSidA(const_cast<void*>(sid), &buffer)) return "?";
    std::string text = buffer;
    LocalFree(buffer);
    return text;
}

std::vector<BYTE> CurrentUserSid() {
    std::vector<BYTE> user(512);
    HANDLE token = NULL;
    DWORD size = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return user;
    GetTokenInformation(token, TokenUser, user.data(), static_cast<DWORD>(user.size()), &size);
    CloseHandle(token);
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    return std::vector<BYTE>(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
}

std::string DescribeAce(const ACCESS_ALLOWED_ACE* ace) {
    std::string text = ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE ? "allow " : "other ";
    text += SidText(&ace->SidStart);
    char mask[16];
    snprintf(mask, sizeof mask, " %08lx", ace->Mask);
    text += mask;
    if (ace->Header.AceFlags & INHERITED_ACE) text += " inherited";
    return text;
}

std::string EntriesForOthers(const ACL* dacl) {
    const std::vector<std::string> allowed = {"S-1-5-18", "S-1-5-32-544", SidText(CurrentUserSid().data())};
    std::string others;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = NULL;
        if (!GetAce(const_cast<ACL*>(dacl), i, reinterpret_cast<void**>(&ace))) return "unreadable entry";
        const bool ok = ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
                        std::find(allowed.begin(), allowed.end(), SidText(&ace->SidStart)) != allowed.end() &&
                        (ace->Header.AceFlags & INHERITED_ACE) == 0;
        if (!ok) others += DescribeAce(ace) + "\n";
    }
    return others;
}
