// The textured buttons the button tests and the face-dump program build, and what they expect.
#pragma once
#include <windows.h>

#include "controls/DibImage.h"
#include "controls/TexturedButton.h"

// A push button from the "BUTTON" class, as a template would make it, subclassed.
BOOL AttachTexturedButton(CTexturedButton& button, HWND parent, const char* text, int x, int y, int width,
                          int height, UINT id, DWORD extraStyle = 0);

// The colour a picture gives pixel (x, y) of its own, from the table.
COLORREF DibColor(const CDibImage& image, int x, int y);

// The normal and hot faces BuildFaces makes for a button of this size after srand(1).
struct ExpectedFaces {
    CDibImage face, pressed, disabled, hot, focusH, focusV;
    ExpectedFaces(int width, int height, UINT pattern);
};
