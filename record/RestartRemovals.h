// The system's list of files to rename or delete at the next restart (the Session Manager's
// "PendingFileRenameOperations", which MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT fills), as
// Uninstall uses it for what no removal batch could take and Setup clears it before it installs
// again, so that a restart after a new install cannot take the new files. Free of the platform.
#pragma once
#include <string>

// The list as stored: UTF-16 texts, each ended by a NUL, in pairs of a source and a target (an
// empty target deletes the source); the registry value adds a NUL at the end.
//
// Returns the list without the deletions whose source is strFolder (with or without its trailing
// backslash) or lies below it, the source's "\??\" prefix aside and ASCII letters compared without case (the
// fixed install folder is ASCII). Renames and the deletions of other files stay as they were, in
// their order. A list that does not parse as pairs comes back unchanged. An empty result means
// that nothing is left.
std::u16string WithoutRemovalsUnder(const std::u16string& strList, const std::u16string& strFolder);
