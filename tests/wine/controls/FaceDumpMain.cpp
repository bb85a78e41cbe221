// Builds the uninstall dialog's two textured buttons in a fresh process, the way the dialog
// does (button 1 with pattern 7, then button 2 with pattern 6), and writes the pixels they
// show to the file named on the command line. Run twice, it must write the same bytes.
#include <windows.h>

#include <cstdio>

#include "FaceDump.h"
#include "support/WindowTestSupport.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    ::SetCursorPos(0, 0);  // no hover from a cursor left over the buttons
    CTestParent parent(300, 200);
    std::string bytes;
    if (!DumpDialogButtonFaces(parent, bytes)) return 3;
    FILE* pFile = std::fopen(argv[1], "wb");
    if (pFile == NULL) return 4;
    size_t nWritten = std::fwrite(bytes.data(), 1, bytes.size(), pFile);
    std::fclose(pFile);
    return nWritten == bytes.size() ? 0 : 5;
}
