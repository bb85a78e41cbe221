// A sample add-on source folder as an install disk holds it: the four install folders with nested
// files (GBK names, hidden and read-only files, an empty folder), controls, loose files, and
// Setup.exe beside Uninstall.exe.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct SampleAddOn {
    std::string sourceFolder;             // ends with a backslash
    std::vector<std::string> files;       // every file below the install folders, relative
    std::vector<std::string> subfolders;  // every folder below the install folders, relative
    std::vector<std::string> looseFiles;  // files next to Setup.exe except Setup.exe
    std::vector<std::string> controls;    // *.ocx directly in Controls
};

// Builds the add-on in `folder` (which must exist). Folders named in `leaveOut` ("Controls",
// "Support", ...) are not made. `bulkFiles` small files more go to Database\批量, so that the
// programs work long enough to be seen working.
SampleAddOn BuildSampleAddOn(const std::string& folder, const std::vector<std::string>& leaveOut = {},
                             int bulkFiles = 0);

// The fixed target folder on the prefix's system drive.
std::string InstallFolder();
// Removes an earlier install: the target folder, the product key and the uninstall entry.
void RemoveEarlierInstall();

// An installed CAD release as CAD itself registers it, under HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER: its release key ("R16.2") with the current version ("ACAD-4001:804").
void AddCadRelease(HKEY root, const std::string& release, const std::string& currentVersion);
// Removes every CAD release's keys, with what Setup registered under them.
void RemoveCadReleases();
