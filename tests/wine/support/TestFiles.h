// Files built for the tests and placed next to the test programs, what they record, and the
// system's help control, which the tests borrow as a real control of the prefix.
#pragma once
#include <windows.h>

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
// Forgets what TestControl.ocx recorded for one module path, leaving other tests' markers alone.
void ForgetControlMarker(const std::string& modulePath);

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

// Loads the module, calls its entry point ("DllRegisterServer", ...) and frees it again. What
// the entry point returned; kNoModule or kNoEntry when there was nothing to call.
const HRESULT kNoModule = 0x7fffffff;
const HRESULT kNoEntry = 0x7ffffffe;
HRESULT CallEntryPoint(const std::string& modulePath, const char* entry);

// Wine's help control, a real third-party control of the prefix.
std::string SystemHhctrlPath();
// Registering a copy points the prefix's help control at the copy; this points it back.
void RegisterSystemHhctrl();
