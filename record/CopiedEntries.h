// Which entries of a source folder Setup copies, and so records; the install dialog counts the
// same ones. Free of the platform: it takes the attributes that FindFirstFileW gives.
#pragma once
#include "framework/BaseTypes.h"

enum COPIED_ENTRY {
    COPIED_ENTRY_NONE,         // "." and ".."
    COPIED_ENTRY_FILE,         // copied and recorded
    COPIED_ENTRY_FOLDER,       // made, recorded and copied in turn
    COPIED_ENTRY_LINK,         // a reparse point (junction, symbolic link, mount point): passed over
    COPIED_ENTRY_NO_GBK_NAME,  // a name the record cannot hold: passed over
};

// A junction or link would make the elevated Setup copy whatever it points at into Program Files,
// and one that points at its own parent would copy the tree again and again until the path limit;
// so whatever is a reparse point is passed over, before its name is looked at. The release kit's
// preflight refuses links for the same reason.
COPIED_ENTRY CopiedEntryOf(unsigned long dwAttributes, BOOL bDots, BOOL bGbkName);
