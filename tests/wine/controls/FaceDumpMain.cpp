// Builds the uninstall dialog's two textured buttons in a fresh process, the way the dialog
// does (IDOK with pattern 7, then IDCANCEL with pattern 6), and writes the pixels they
// show to the file named on the command line. Run twice, it must write the same bytes.
#include <windows.h>

#include <cstdio>

#include "FaceDump.h"
#include "support/WindowTestSupport.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    ::SetCursorPos(0, 0);  // no hover from a cursor left over the buttons
    TestParent parent(300, 200);
    std::string bytes;
    if (!DumpDialogButtonFaces(parent, bytes)) return 3;
    FILE* file = std::fopen(argv[1], "wb");
    if (file == NULL) return 4;
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return written == bytes.size() ? 0 : 5;
}
