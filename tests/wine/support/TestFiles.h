// Files built for the tests and placed next to the test programs.
#pragma once
#include <string>

// The folder of the running test program, ending in a backslash.
std::string TestProgramFolder();
// TestControl.ocx: see tests/wine/testcontrol/TestControl.cpp for its behaviour.
std::string TestControlPath();
// NoEntry.ocx: a loadable module without the self-registration entry points.
std::string NoEntryControlPath();
// What TestControl.ocx recorded for a module path: "registered", "unregistered",
// "unregistered-without-file", or "" when it was never called for that path.
std::string ControlMarker(const std::string& modulePath);

// LoadMarker.dll (see tests/wine/testcontrol/LoadMarker.cpp), to be planted under other names.
std::string LoadMarkerPath();
// The program that loaded the copy of LoadMarker.dll at modulePath, or "" when none did.
std::string LoadedBy(const std::string& modulePath);
// SearchControl.ocx and SearchImport.dll, which it imports (see testcontrol/SearchControl.cpp).
std::string SearchControlPath();
std::string SearchImportPath();
// Where SearchControl.ocx's entry point ("DllRegisterServer", "DllUnregisterServer") was given
// the module it asked for by bare name: its full path, "not found", or "" when it never asked.
std::string SearchControlFound(const std::string& entry, const std::string& moduleName);
// Forgets what LoadMarker.dll and SearchControl.ocx recorded.
void ForgetSearchMarkers();
