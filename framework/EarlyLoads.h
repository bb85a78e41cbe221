// The system DLLs that the programs' imports, the common controls and the controls' registration
// load by bare name after start-up, and that are no known DLLs: where the search cannot be limited
// to System32 (XP, Vista and 7 without their loader update), the system would take a copy beside
// the program before System32's. Loaded by full path first, each is found loaded from then on.
// Free of the platform.
#pragma once

extern const char* const EARLY_LOADED_DLLS[];
extern const int EARLY_LOADED_DLL_COUNT;
