// The setup program, run silently under Wine as a user would run it from a script:
// what it installs, what the installed program does from its shortcut, and what the
// uninstaller leaves behind.
//
// Arguments: the setup program, the exe it should install, the help file it should
// install.
#include <gtest/gtest.h>

#include "engine/Registry.h"
#include "shortcuts/ComPtr.h"
#include "tests/support/TestSupport.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

using testsupport::listFolder;
using testsupport::pathExists;

namespace {

constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brightsweep";
using testsupport::kSettingsKey;
constexpr char kCompanyKey[] = "Software\\Quellmoor Software";
constexpr char kShortcutName[] = "Brightsweep.lnk";

std::string setupProgram() {
    return testsupport::argumentEndingWith("-setup.exe");
}
std::string builtExe() {
    return testsupport::argumentEndingWith("\\brightsweep.exe");
}
std::string builtHelpFile() {
    return testsupport::argumentEndingWith(".hlp");
}

std::string shellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return "";
    return path;
}

std::string installDir() {
    return shellFolder(CSIDL_PROGRAM_FILES) + "\\Brightsweep";
}
std::string startMenuShortcut() {
    return shellFolder(CSIDL_COMMON_PROGRAMS) + "\\" + kShortcutName;
}
std::string startupFolder() {
    return shellFolder(CSIDL_STARTUP);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A value of the uninstall entry with its type; type 0 when it is missing.
struct RegValue {
    DWORD type = 0;
    std::string text;
    DWORD number = 0;
};

RegValue uninstallValue(const char* name) {
    const testsupport::StoredValue stored =
        testsupport::storedValue(kUninstallKey, name, HKEY_LOCAL_MACHINE);
    RegValue value;
    if (!stored.present)
        return value;
    value.type = stored.type;
    if (value.type == REG_DWORD)
        std::memcpy(&value.number, stored.data.data(), std::min<size_t>(4, stored.data.size()));
    else
        value.text = stored.data.substr(0, stored.data.find('\0'));
    return value;
}

struct ProcessRun {
    bool started = false;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
    bool showedWindow = false;
};

BOOL CALLBACK findVisibleWindow(HWND window, LPARAM param) {
    auto* run = reinterpret_cast<std::pair<DWORD, bool>*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == run->first && IsWindowVisible(window) && !IsIconic(window))
        run->second = true;
    return TRUE;
}

// Starts a command line and waits for it, watching for windows the process shows.
ProcessRun run(const std::string& commandLine, DWORD timeout = 60000) {
    ProcessRun result;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return result;
    result.started = true;
    result.finished = testsupport::waitUntil(
        [&] {
            std::pair<DWORD, bool> watch{process.dwProcessId, false};
            EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&watch));
            result.showedWindow = result.showedWindow || watch.second;
            return WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0;
        },
        timeout);
    if (!result.finished)
        TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

// A shortcut as the shell reads it.
struct Link {
    bool loaded = false;
    std::string target;
    std::string arguments;
    std::string workingDir;
};

Link readLink(const std::string& path) {
    Link link;
    shortcuts::ComInit com;
    {
        shortcuts::ComPtr<IShellLinkA> shellLink;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    shellLink.put())))
            return link;
        shortcuts::ComPtr<IPersistFile> file;
        if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.put())))
            return link;
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            constexpr int kTextSize = MAX_PATH * 2;
            char text[kTextSize] = {};
            link.loaded = SUCCEEDED(shellLink->GetPath(text, kTextSize, nullptr, SLGP_RAWPATH));
            link.target = text;
            text[0] = '\0';
            shellLink->GetArguments(text, kTextSize);
            link.arguments = text;
            text[0] = '\0';
            shellLink->GetWorkingDirectory(text, kTextSize);
            link.workingDir = text;
        }
    }
    return link;
}

std::set<std::string> names(const std::string& folder) {
    const auto list = listFolder(folder);
    return std::set<std::string>(list.begin(), list.end());
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pathExists(setupProgram())) << "pass the setup program as the first argument";
        ASSERT_FALSE(installDir().empty());
        // A run that died half-way must not decide this one.
        uninstallIfPresent();
        testsupport::removeTree(installDir());
        DeleteFileA(startMenuShortcut().c_str());
        DeleteFileA((startupFolder() + "\\" + kShortcutName).c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
        ASSERT_FALSE(pathExists(installDir()));
        startMenuBefore_ = names(shellFolder(CSIDL_COMMON_PROGRAMS));
        startupBefore_ = names(startupFolder());
    }

    void TearDown() override { uninstallIfPresent(); }

    void install(const std::string& options = "") {
        const ProcessRun setup = run("\"" + setupProgram() + "\" /S" + options);
        ASSERT_TRUE(setup.finished);
        ASSERT_EQ(setup.exitCode, 0u);
        ASSERT_TRUE(pathExists(installDir() + "\\brightsweep.exe"));
    }

    // Runs what Add/Remove Programs runs. The uninstaller copies itself to the temp folder
    // and goes on from there, so the work is done when the entry and the folder are gone.
    void uninstall(const std::string& options = "") {
        const RegValue command = uninstallValue("UninstallString");
        ASSERT_EQ(command.type, static_cast<DWORD>(REG_SZ));
        const ProcessRun uninstaller = run(command.text + " /S" + options);
        ASSERT_TRUE(uninstaller.finished);
        EXPECT_EQ(uninstaller.exitCode, 0u);
        EXPECT_TRUE(testsupport::waitUntil(
            [] {
                return !testsupport::keyExists(kUninstallKey, HKEY_LOCAL_MACHINE) &&
                       !pathExists(installDir());
            },
            60000));
    }

    void uninstallIfPresent() {
        if (pathExists(installDir() + "\\uninstall.exe"))
            run("\"" + installDir() + "\\uninstall.exe\" /S");
        testsupport::waitUntil([] { return !pathExists(installDir() + "\\uninstall.exe"); }, 60000);
    }

    std::set<std::string> startMenuBefore_;
    std::set<std::string> startupBefore_;
};

} // namespace

TEST_F(InstallerTest, SilentInstallPutsProgramShortcutAndUninstallEntry) {
    install();
    const std::string dir = installDir();
    const std::vector<std::string> expected = {"LICENSE.txt", "Tidyvane.hlp", "brightsweep.exe",
                                               "uninstall.exe"};
    EXPECT_EQ(listFolder(dir), expected);
    ASSERT_TRUE(pathExists(builtExe()));
    EXPECT_TRUE(readFile(dir + "\\brightsweep.exe") == readFile(builtExe()))
        << "not the exe of this build";
    EXPECT_TRUE(readFile(dir + "\\Tidyvane.hlp") == readFile(builtHelpFile()));

    const Link link = readLink(startMenuShortcut());
    ASSERT_TRUE(link.loaded) << startMenuShortcut();
    EXPECT_EQ(lower(link.target), lower(dir + "\\brightsweep.exe"));
    EXPECT_EQ(link.arguments, "");
    EXPECT_EQ(lower(link.workingDir), lower(dir));

    // Nothing in Startup unless asked for.
    EXPECT_EQ(names(startupFolder()), startupBefore_);

    EXPECT_EQ(uninstallValue("DisplayName").text, "Brightsweep");
    EXPECT_EQ(uninstallValue("DisplayVersion").text, BS_VERSION);
    EXPECT_EQ(uninstallValue("Publisher").text, "Quellmoor Software");
    EXPECT_EQ(lower(uninstallValue("InstallLocation").text), lower(dir));
    EXPECT_EQ(lower(uninstallValue("UninstallString").text),
              lower("\"" + dir + "\\uninstall.exe\""));
    const RegValue size = uninstallValue("EstimatedSize");
    ASSERT_EQ(size.type, static_cast<DWORD>(REG_DWORD));
    // In KiB: at least the exe, and not wildly more than what was installed.
    const DWORD exeKiB = static_cast<DWORD>(readFile(builtExe()).size() / 1024);
    EXPECT_GE(size.number, exeKiB);
    EXPECT_LE(size.number, exeKiB * 4 + 1024);
}

TEST_F(InstallerTest, StartMenuShortcutTargetRunsSilentCleanWithoutWindow) {
    testsupport::RegistryGuard settings(kSettingsKey, testsupport::RegistryGuard::Start::Empty);
    // Stored choices that clean one folder of this test's own and nothing else.
    testsupport::TempTree tree("installed-silent");
    const std::string folder = tree.mkdir("clutter");
    tree.file("clutter\\old.tmp");
    {
        engine::Registry registry;
        registry.createKey(kSettingsKey);
        ASSERT_TRUE(registry.openKey(kSettingsKey));
        registry.writeBool("WindowsTempFiles", false);
        registry.writeBool("WTFSubDir", false);
        registry.writeBool("RecycleBin", false);
        registry.writeBool("RecentDocs", false);
        registry.writeString("UserDirectories", "*" + folder + "\r\n");
        registry.writeBool("UserSubDir", false);
    }
    install();
    const Link link = readLink(startMenuShortcut());
    ASSERT_TRUE(link.loaded);
    const ProcessRun program = run("\"" + link.target + "\" /S", 30000);
    ASSERT_TRUE(program.started) << link.target;
    EXPECT_TRUE(program.finished) << "a silent clean must end by itself";
    EXPECT_EQ(program.exitCode, 0u);
    EXPECT_FALSE(program.showedWindow);
    // The installed program really cleaned: the listed folder is emptied, not removed.
    EXPECT_TRUE(pathExists(folder));
    EXPECT_TRUE(listFolder(folder).empty());
}

TEST_F(InstallerTest, SilentUninstallRemovesEverythingItInstalledAndKeepsStoredChoices) {
    testsupport::RegistryGuard settings(kSettingsKey);
    {
        engine::Registry registry;
        registry.createKey(kSettingsKey);
        ASSERT_TRUE(registry.openKey(kSettingsKey));
        registry.writeString("UserDirectories", "*C:\\kept\r\n");
    }
    install();
    uninstall();
    EXPECT_FALSE(pathExists(installDir()));
    EXPECT_FALSE(testsupport::keyExists(kUninstallKey, HKEY_LOCAL_MACHINE));
    EXPECT_EQ(names(shellFolder(CSIDL_COMMON_PROGRAMS)), startMenuBefore_);
    EXPECT_EQ(names(startupFolder()), startupBefore_);

    engine::Registry registry;
    ASSERT_TRUE(registry.openKey(kSettingsKey)) << "the user's choices were removed";
    EXPECT_EQ(registry.readString("UserDirectories"), "*C:\\kept\r\n");
}

TEST_F(InstallerTest, LogonChoiceAddsExactlyTheStartupShortcutAndUninstallRemovesIt) {
    install(" /LOGON");
    std::set<std::string> added;
    for (const auto& name : names(startupFolder()))
        if (!startupBefore_.count(name))
            added.insert(name);
    ASSERT_EQ(added, std::set<std::string>{kShortcutName});
    const Link startup = readLink(startupFolder() + "\\" + kShortcutName);
    ASSERT_TRUE(startup.loaded);
    EXPECT_EQ(lower(startup.target), lower(installDir() + "\\brightsweep.exe"));
    EXPECT_EQ(startup.arguments, "/S");
    EXPECT_TRUE(readLink(startMenuShortcut()).loaded);

    uninstall();
    EXPECT_EQ(names(startupFolder()), startupBefore_);
    EXPECT_EQ(names(shellFolder(CSIDL_COMMON_PROGRAMS)), startMenuBefore_);
}

TEST_F(InstallerTest, ReinstallWithoutLogonChoiceDropsTheEarlierStartupShortcut) {
    install(" /LOGON");
    ASSERT_TRUE(pathExists(startupFolder() + "\\" + kShortcutName));
    install();
    EXPECT_EQ(names(startupFolder()), startupBefore_);
    EXPECT_TRUE(readLink(startMenuShortcut()).loaded);
}

TEST_F(InstallerTest, PurgeSwitchAlsoRemovesStoredChoicesButNoOtherKeys) {
    testsupport::RegistryGuard company(kCompanyKey);
    const std::string sibling = std::string(kCompanyKey) + "\\Other Product";
    {
        engine::Registry registry;
        registry.createKey(kSettingsKey);
        registry.createKey(std::string(kSettingsKey) + "\\RecycleBin");
        registry.createKey(sibling);
    }
    install();
    uninstall(" /PURGE");
    EXPECT_FALSE(testsupport::keyExists(kSettingsKey));
    EXPECT_TRUE(testsupport::keyExists(sibling));
    EXPECT_FALSE(pathExists(installDir()));
}
