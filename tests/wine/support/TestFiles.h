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
