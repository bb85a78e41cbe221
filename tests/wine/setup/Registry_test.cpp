// The registry value helpers, the product and uninstall entries, and the CAD releases' keys, on the
// prefix's real registry.
#include "support/Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "InstallHarness.h"
#include "setup/RegistryValues.h"
#include "setup/SetupThread.h"
#include "support/TempFolder.h"

namespace {

// A private key below HKEY_LOCAL_MACHINE, removed at the end.
class SandboxKey {
public:
    SandboxKey() : m_path("SOFTWARE\\PindlemarkTests\\" + UniqueName("Values")) {}
    ~SandboxKey() {
        DeleteRegTree(HKEY_LOCAL_MACHINE, m_path);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\PindlemarkTests");  // only once it is empty
    }
    std::string operator/(const std::string& sub) const { return m_path + "\\" + sub; }

private:
    std::string m_path;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return text;
}

// Every value below a key as "key path (lower case)|name|type|data".
void ListTree(HKEY root, const std::string& key, std::set<std::string>& out) {
    for (const std::string& name : RegValueNames(root, key)) {
        const RegValue value = ReadRegValue(root, key, name);
        out.insert(Lower(key) + "|" + name + "|" + std::to_string(value.type) + "|" + value.data);
    }
    for (const std::string& sub : RegSubkeyNames(root, key)) ListTree(root, key + "\\" + sub, out);
}

const char kTarget[] = "C:\\Program Files\\Kelvora\\Pindlemark\\";

}  // namespace

TEST(RegistryValues, ReadsOfMissingKeysAndValuesFailWithEmptyText) {
    SandboxKey sandbox;
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, sandbox / "k", "present", REG_SZ, SzData("x")));
    CString text("stale");
    EXPECT_FALSE(GetMachineRegString((sandbox / "missing").c_str(), "present", text));
    EXPECT_TRUE(text.IsEmpty());
    text = "stale";
    EXPECT_FALSE(GetMachineRegString((sandbox / "k").c_str(), "absent", text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(GetUserRegString((sandbox / "k").c_str(), "present", text)) << "HKEY_CURRENT_USER only";
}

TEST(RegistryValues, WritesCreateTheWholePathAndReplaceValues) {
    SandboxKey sandbox;
    const std::string key = sandbox / "a\\b\\c";
    EXPECT_TRUE(SetMachineRegString(key.c_str(), "text", "较长的文本 long"));
    EXPECT_TRUE(SetMachineRegString(key.c_str(), "text", "短"));
    RegValue value = ReadRegValue(HKEY_LOCAL_MACHINE, key, "text");
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.data, SzData("短")) << "data length is the new text's bytes plus one";
    EXPECT_TRUE(SetMachineRegDword(key.c_str(), "number", 0x01020304));
    value = ReadRegValue(HKEY_LOCAL_MACHINE, key, "number");
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value.data, DwordData(0x01020304));
    CString text;
    EXPECT_TRUE(GetMachineRegString(key.c_str(), "text", text));
    EXPECT_EQ(std::string(text), "短");
}

TEST(RegistryValues, TextsAtTheBufferBound) {
    SandboxKey sandbox;
    const std::string key = sandbox / "bound";
    const std::string longest(REG_TEXT_BUFFER_SIZE - 1, 'a');
    CString text;
    EXPECT_TRUE(SetMachineRegString(key.c_str(), "fits", longest.c_str()));
    EXPECT_TRUE(GetMachineRegString(key.c_str(), "fits", text));
    EXPECT_EQ(std::string(text), longest);

    const std::string tooLong(REG_TEXT_BUFFER_SIZE, 'b');
    EXPECT_FALSE(SetMachineRegString((sandbox / "new").c_str(), "long", tooLong.c_str()));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, sandbox / "new")) << "refused before the key is made";

    // Data that fills the whole buffer without a zero is read no further than the data.
    ASSERT_TRUE(
        WriteRegValue(HKEY_LOCAL_MACHINE, key, "full", REG_BINARY, std::string(REG_TEXT_BUFFER_SIZE, 'c')));
    EXPECT_TRUE(GetMachineRegString(key.c_str(), "full", text));
    EXPECT_EQ(std::string(text), std::string(REG_TEXT_BUFFER_SIZE, 'c'));
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, key, "over", REG_BINARY,
                              std::string(REG_TEXT_BUFFER_SIZE + 1, 'd')));
    text = "stale";
    EXPECT_FALSE(GetMachineRegString(key.c_str(), "over", text));
    EXPECT_TRUE(text.IsEmpty());
}

TEST(WriteRegistry, ProductKeyAndUninstallEntryWithAQuotedCommand) {
    InstallKeys keys;
    const std::string product = "SOFTWARE\\Kelvora\\Pindlemark\\V5";
    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pindlemark V5";
    for (int round = 0; round < 2; ++round) {  // a second install replaces the values in place
        CSetupThread thread;
        thread.m_strTargetDir = kTarget;
        thread.WriteRegistry();
        EXPECT_EQ(std::string(thread.m_strRecord),
                  "RegDB Key: 2," + product + "\nRegDB Key: 2," + entry + "\n");
    }
    EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, product, "installPath").data, SzData(kTarget));
    EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, product, "Ver").data, SzData("5.00"));
    EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, entry, "DisplayName").data, SzData("Vennloft管理 V5"));
    EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, entry, "UninstallString").data,
              SzData("\"C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.exe\""));
    EXPECT_EQ(RegValueNames(HKEY_LOCAL_MACHINE, product).size(), 2u);
    EXPECT_EQ(RegValueNames(HKEY_LOCAL_MACHINE, entry).size(), 2u);
}

TEST(AcadRegistration, WritesTheKeysOfEachInstalledReleaseUnderTheMachine) {
    InstallKeys keys;
    const std::string acad = "SOFTWARE\\Autodesk\\AutoCAD\\";
    const std::string tooLongName(300, 'n');  // no key of that name can be made
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, acad + "R15.0", "CurVer", REG_SZ, SzData("ACAD-1:804")));
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, acad + "R16.0", "CurVer", REG_SZ, SzData(tooLongName)));
    ASSERT_TRUE(WriteRegValue(HKEY_LOCAL_MACHINE, acad + "R16.1", "CurVer", REG_SZ, SzData("ACAD-301:804")));
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, acad + "R17.2", "CurVer", REG_SZ, SzData("ACAD-7001:804")));
    ASSERT_TRUE(WriteRegValue(HKEY_CURRENT_USER, acad + "R16.1", "CurVer", REG_SZ, SzData("user-only")));
    CSetupThread thread;
    thread.m_strTargetDir = kTarget;
    thread.RegisterAcadReleases();

    const std::string sz = std::to_string(REG_SZ) + "|", dword = std::to_string(REG_DWORD) + "|";
    const std::string r15 = Lower(acad + "R15.0\\ACAD-1:804\\");
    const std::set<std::string> expected = {
        Lower(acad + "R15.0") + "|CurVer|" + sz + SzData("ACAD-1:804"),
        r15 + "applications\\quorrel|LOADCTRLS|" + dword + DwordData(2),
        r15 + "applications\\quorrel|REGPATH|" + sz +
            SzData("\\\\HKEY_LOCAL_MACHINE\\Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-1:"
                   "804\\AutodeskApps\\Quorrel"),
        r15 + "autodeskapps\\quorrel\\loader|MODULE|" + sz +
            SzData(std::string(kTarget) + "Support\\2000-02\\Quorrel.arx"),
        r15 + "autodeskapps\\quorrel\\name|Quorrel|" + sz + SzData("Quorrel"),
        Lower(acad + "R16.0") + "|CurVer|" + sz + SzData(tooLongName),
        Lower(acad + "R16.1") + "|CurVer|" + sz + SzData("ACAD-301:804"),
        Lower(acad + "R16.1\\ACAD-301:804\\Applications\\Quorrel") + "|LOADCTRLS|" + dword + DwordData(2),
        Lower(acad + "R16.1\\ACAD-301:804\\Applications\\Quorrel") + "|LOADER|" + sz +
            SzData(std::string(kTarget) + "Support\\2004-06\\Quorrel.arx"),
        Lower(acad + "R17.2\\ACAD-7001:804\\Applications\\Quorrel") + "|LOADCTRLS|" + dword + DwordData(2),
        Lower(acad + "R17.2\\ACAD-7001:804\\Applications\\Quorrel") + "|LOADER|" + sz +
            SzData(std::string(kTarget) + "Support\\2007-09\\Quorrel.arx"),
    };
    std::set<std::string> machine, user;
    ListTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk", machine);
    ListTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk", user);
    EXPECT_EQ(machine, expected);
    EXPECT_EQ(user.size(), 2u) << "nothing is written under HKEY_CURRENT_USER";
}
