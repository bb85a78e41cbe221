// Drives a real program of ours the way a user would: starts it, finds its windows, reads them,
// presses their buttons, and photographs them.
#pragma once
#include <windows.h>

#include <string>

#include "support/RunningProgram.h"
#include "support/WindowHelpers.h"

// Where the programs under test were built (Setup.exe and Uninstall.exe side by side).
std::string DistFolder();
// Where the test builds of the programs are (UninstallSeams.exe).
std::string TestProgramsFolder();

// The captions of the programs' dialogs.
extern const char kSetupInstallingTitle[];  // the install dialog while it works
extern const char kSetupCompletedTitle[];   // the install dialog in its completion view
extern const char kUninstallTitle[];        // the uninstall dialog

// The dialog base units of the programs' dialog font ("宋体", 9 points) in this prefix, read from a
// dialog of this process made with that font: x is the average character width, y the height,
// so that a dialog unit is x / 4 pixels wide and y / 8 high.
SIZE DialogFontBaseUnits();
// The pixels of units horizontal (vertical) dialog units, rounded as the system rounds them.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
// Saves what the screen shows of the window as a 24-bit BMP in build/screenshots (tools/test
// turns them into PNG). Returns the path written, or "" on failure.
std::string SaveScreenshot(HWND window, const std::string& name);
