#include "SampleAddOn.h"

#include <algorithm>

#include "ProgramDriver.h"
#include "record/ProductKeys.h"
#include "support/GbkText.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {

bool Left(const std::vector<std::string>& leaveOut, const std::string& top) {
    return std::find(leaveOut.begin(), leaveOut.end(), top) != leaveOut.end();
}

}  // namespace

SampleAddOn BuildSampleAddOn(const std::string& folder, const std::vector<std::string>& leaveOut,
                             int bulkFiles) {
    SampleAddOn addOn;
    addOn.sourceFolder = folder;
    auto dir = [&](const std::string& relative) {
        std::string top = relative.substr(0, relative.find('\\'));
        if (Left(leaveOut, top)) return;
        CreateDirectoryW(Wide(folder + relative).c_str(), NULL);
        if (relative.find('\\') != std::string::npos) addOn.subfolders.push_back(relative);
    };
    auto file = [&](const std::string& relative, const std::string& content, DWORD attributes = 0) {
        std::string top = relative.substr(0, relative.find('\\'));
        if (Left(leaveOut, top)) return;
        WriteBytes(folder + relative, content);
        if (attributes) SetFileAttributesW(Wide(folder + relative).c_str(), attributes);
        addOn.files.push_back(relative);
    };
    auto copy = [&](const std::string& from, const std::string& relative) {
        std::string top = relative.substr(0, relative.find('\\'));
        if (Left(leaveOut, top)) return;
        CopyFileW(Wide(from).c_str(), Wide(folder + relative).c_str(), FALSE);
        addOn.files.push_back(relative);
    };

    dir("Support");
    dir("Support\\2000-02");
    dir("Support\\2004-06");
    dir("Support\\2007-09");
    dir("Support\\空目录");
    file("Support\\2000-02\\Quorrel.arx", std::string(4096, 'a'));
    file("Support\\2004-06\\Quorrel.arx", std::string(4096, 'b'));
    file("Support\\2007-09\\Quorrel.arx", std::string(4096, 'c'));
    file("Support\\菜单.mnu", "菜单\r\n");
    file("Support\\隐藏.dat", "hidden", FILE_ATTRIBUTE_HIDDEN);
    file("Support\\只读.txt", "read-only", FILE_ATTRIBUTE_READONLY);
    file("Support\\系统.sys", "system", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);

    dir("Controls");
    dir("Controls\\old");
    copy(TestControlPath(), "Controls\\Grid.ocx");
    copy(TestControlPath(), "Controls\\Chart-sfalse.ocx");
    copy(SystemHhctrlPath(), "Controls\\hhctrl.ocx");
    copy(TestControlPath(), "Controls\\old\\Legacy.ocx");
    file("Controls\\说明.txt", "controls");

    dir("Database");
    dir("Database\\图库");
    dir("Database\\图库\\机械");
    file("Database\\图库\\机械\\螺栓.dwg", std::string(2048, 'd'));
    file("Database\\标准.mdb", std::string(8192, 'e'));

    if (bulkFiles > 0) {
        dir("Database\\批量");
        for (int i = 0; i < bulkFiles; ++i)
            file("Database\\批量\\" + std::to_string(i) + ".dat", std::string(512, 'f'));
    }

    dir("Dunmoor");
    file("Dunmoor\\readme.txt", "dunmoor");

    addOn.controls = Left(leaveOut, "Controls")
                         ? std::vector<std::string>{}
                         : std::vector<std::string>{"Chart-sfalse.ocx", "Grid.ocx", "hhctrl.ocx"};

    CopyFileW(Wide(DistFolder() + "Setup.exe").c_str(), Wide(folder + "Setup.exe").c_str(), FALSE);
    CopyFileW(Wide(DistFolder() + "Uninstall.exe").c_str(), Wide(folder + "Uninstall.exe").c_str(), FALSE);
    WriteBytes(folder + "安装说明.txt", "说明");
    addOn.looseFiles = {"Uninstall.exe", "安装说明.txt"};
    return addOn;
}

std::string InstallFolder() {
    return "C:\\Program Files\\Kelvora\\Pindlemark\\";
}

void RemoveEarlierInstall() {
    RemoveTree("C:\\Program Files\\Kelvora");
    DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kelvora");
    DeleteRegTree(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY);
}

namespace {
const char kCadKey[] = "SOFTWARE\\Autodesk";
}  // namespace

void AddCadRelease(HKEY root, const std::string& release, const std::string& currentVersion) {
    WriteRegString(root, std::string(kCadKey) + "\\AutoCAD\\" + release, "CurVer", currentVersion);
}

void RemoveCadReleases() {
    DeleteRegTree(HKEY_LOCAL_MACHINE, kCadKey);
    DeleteRegTree(HKEY_CURRENT_USER, kCadKey);
}
