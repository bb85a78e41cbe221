// Reading back the access lists the programs give what they make.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// "S-1-5-18" for a SID, "?" when it cannot be written.
std::string SidText(const void* sid);
// This program's own user.
std::vector<BYTE> CurrentUserSid();
// "allow S-1-5-18 001f01ff": the kind, the account and the access of an entry; "inherited" when
// the entry came from the folder.
std::string DescribeAce(const ACCESS_ALLOWED_ACE* ace);
// The entries of an access list that let anyone but SYSTEM and the Administrators in, or are
// inherited, one per line; empty when there are none. Wine keeps a file's access as Unix modes and
// gives it back as entries for SYSTEM and the owner (this elevated test program's own user), so
// that user stands in for the Administrators.
std::string EntriesForOthers(const ACL* dacl);
