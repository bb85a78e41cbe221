// The system's list of files to rename or delete at the next restart (the Session Manager's
// "PendingFileRenameOperations", which MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT fills), as
// Uninstall uses it for what no removal batch could take and Setup for the files in use it replaces
// at the restart. Setup clears it of its folder before it installs again, so that a restart after
// a new install can neither take the new files nor put an older copy over them. Free of the
// platform.
#pragma once
#include <string>
#include <vector>

// The list as stored: UTF-16 texts, each ended by a NUL, in pairs of a source and a target (an
// empty target deletes the source); the registry value adds a NUL at the end.
//
// Returns the list without the deletions whose source is strFolder (with or without its trailing
// backslash) or lies below it, and without the renames whose target lies there, the "\??\"
// prefix and a target's "!" (MOVEFILE_REPLACE_EXISTING) aside and ASCII letters compared without
// case (the fixed install folder is ASCII). Renames out of the folder and everything of other
// folders stay as they were, in their order. A list that does not parse as pairs comes back
// unchanged. An empty result means that nothing is left.
std::u16string WithoutRemovalsUnder(const std::u16string& strList, const std::u16string& strFolder);

// The sources, without "\??\", of the renames that WithoutRemovalsUnder drops whose source lies
// below strFolder too: the temporary files an earlier Setup left beside the files it could not
// replace, which nothing would take once their renames are gone. In list order; none when the list
// does not parse.
std::vector<std::u16string> RenameSourcesInto(const std::u16string& strList, const std::u16string& strFolder);
