// The textured buttons the button tests and the face-dump program build, and what they expect.
#pragma once
#include <windows.h>

#include "controls/DibImage.h"
#include "controls/TexturedButton.h"

// A push button from the "BUTTON" class, as a template would make it, subclassed.
BOOL AttachTexturedButton(CTexturedButton& button, HWND hParent, const char* pszText, int x, int y,
                          int nWidth, int nHeight, UINT nID, DWORD dwExtraStyle = 0);

// The colour a picture gives pixel (x, y) of its own, from the table.
COLORREF DibColor(const CDibImage& image, int x, int y);

// The normal and hot faces BuildFaces makes for a button of this size after srand(1).
struct CExpectedFaces {
    CDibImage face, pressed, disabled, hot, focusH, focusV;
    CExpectedFaces(int nWidth, int nHeight, UINT nPattern);
};
