// The setup program, run silently under Wine as a user would run it from a script, for
// all users and for the current user only: what it installs, what the installed program
// does from its shortcut, and what the uninstaller leaves behind.
//
// Arguments: the setup program, the exe it should install, then every file it should
// install beside the exe (help files, README.txt, LICENSE.txt).
#include <gtest/gtest.h>

#include "engine/Registry.h"
#include "shortcuts/ComPtr.h"
#include "tests/e2e/Driver.h"
#include "tests/support/TestSupport.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
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

constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Brightsweep";
using testsupport::kSettingsKey;
constexpr wchar_t kCompanyKey[] = L"Software\\Quellmoor Software";
constexpr wchar_t kShortcutName[] = L"Brightsweep.lnk";

std::wstring setupProgram() {
    return testsupport::argumentEndingWith(L"-setup.exe");
}
std::wstring builtExe() {
    return testsupport::argumentEndingWith(L"\\brightsweep.exe");
}
// The files that go with the exe: the arguments other than the setup program, the exe and
// GoogleTest's own options (which CTest puts first).
std::vector<std::wstring> companionFiles() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> files;
    for (int i = 1; args && i < count; ++i) {
        const std::wstring arg = args[i];
        if (arg.rfind(L"--", 0) != 0 && arg != setupProgram() && arg != builtExe())
            files.push_back(arg);
    }
    LocalFree(args);
    return files;
}

std::wstring fileName(const std::wstring& path) {
    return path.substr(path.find_last_of(L'\\') + 1);
}

std::wstring shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return L"";
    return path;
}

std::wstring startupFolder() {
    return shellFolder(CSIDL_STARTUP);
}

// Where each kind of installation puts things.
struct InstallKind {
    const char* name;
    const wchar_t* option; // the setup program's switch
    HKEY root;             // of the uninstall entry
    int folderBase;        // CSIDL of the folder holding Brightsweep's folder
    const wchar_t* folderTail;
    int startMenu; // CSIDL of the Start Menu's programs
    std::wstring installDir() const { return shellFolder(folderBase) + folderTail; }
    std::wstring startMenuShortcut() const {
        return shellFolder(startMenu) + L"\\" + kShortcutName;
    }
};
const InstallKind kAllUsers = {"AllUsers",          L" /ALLUSERS",    HKEY_LOCAL_MACHINE,
                               CSIDL_PROGRAM_FILES, L"\\Brightsweep", CSIDL_COMMON_PROGRAMS};
const InstallKind kCurrentUser = {
    "CurrentUser",       L" /CURRENTUSER",           HKEY_CURRENT_USER,
    CSIDL_LOCAL_APPDATA, L"\\Programs\\Brightsweep", CSIDL_PROGRAMS};

void PrintTo(const InstallKind* kind, std::ostream* out) {
    *out << kind->name;
}

std::wstring lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

// The bytes of a file.
std::string readFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A value of the uninstall entry with its type; type 0 when it is missing.
struct RegValue {
    DWORD type = 0;
    std::wstring text;
    DWORD number = 0;
};

RegValue uninstallValue(const wchar_t* name, HKEY root = HKEY_LOCAL_MACHINE) {
    const testsupport::StoredValue stored = testsupport::storedValue(kUninstallKey, name, root);
    RegValue value;
    if (!stored.present)
        return value;
    value.type = stored.type;
    if (value.type == REG_DWORD)
        std::memcpy(&value.number, stored.data.data(), std::min<size_t>(4, stored.data.size()));
    else
        value.text = stored.text().substr(0, stored.text().find(L'\0'));
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
ProcessRun run(const std::wstring& commandLine, DWORD timeout = 60000) {
    ProcessRun result;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
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
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDir;
};

Link readLink(const std::wstring& path) {
    Link link;
    shortcuts::ComInit com;
    {
        shortcuts::ComPtr<IShellLinkW> shellLink;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    shellLink.put())))
            return link;
        shortcuts::ComPtr<IPersistFile> file;
        if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.put())))
            return link;
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            constexpr int kTextSize = MAX_PATH * 2;
            wchar_t text[kTextSize] = {};
            link.loaded = SUCCEEDED(shellLink->GetPath(text, kTextSize, nullptr, SLGP_RAWPATH));
            link.target = text;
            text[0] = L'\0';
            shellLink->GetArguments(text, kTextSize);
            link.arguments = text;
            text[0] = L'\0';
            shellLink->GetWorkingDirectory(text, kTextSize);
            link.workingDir = text;
        }
    }
    return link;
}

std::set<std::wstring> names(const std::wstring& folder) {
    const auto list = listFolder(folder);
    return std::set<std::wstring>(list.begin(), list.end());
}

// The wizard's next page: a new inner page whose button for going on (id 1: "Next",
// "I Agree", "Install", "Finish") reads `label` and can be pressed; null if none came.
HWND waitForPage(HWND wizard, HWND previous, const std::wstring& label) {
    HWND page = nullptr;
    const bool came = testsupport::waitUntil(
        [&] {
            page = FindWindowExW(wizard, nullptr, L"#32770", nullptr);
            HWND next = GetDlgItem(wizard, IDOK);
            return page && page != previous && next && e2e::windowText(next) == label &&
                   e2e::isEnabled(next);
        },
        60000);
    return came ? page : nullptr;
}

// Looks among the top-level windows for one of a process running `exe`.
struct ProgramSearch {
    std::wstring exe;
    DWORD found = 0;
};

BOOL CALLBACK findProgramWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ProgramSearch*>(param);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return TRUE;
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameW(process, 0, path, &size) && lower(path) == search->exe)
        search->found = id;
    CloseHandle(process);
    return search->found ? FALSE : TRUE;
}

// The id of a process running `exe` that has a window, waited for; 0 if none came.
DWORD waitForProgram(const std::wstring& exe) {
    ProgramSearch search{lower(exe)};
    testsupport::waitUntil(
        [&] {
            EnumWindows(findProgramWindow, reinterpret_cast<LPARAM>(&search));
            return search.found != 0;
        },
        30000);
    return search.found;
}

void endProcess(DWORD id) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (!process)
        return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
}

// Everything outside the settings that an installation could touch, to compare before
// and after.
struct Traces {
    std::set<std::wstring> programFiles, localAppData, commonPrograms, programs, startup;
    bool machineEntry = false, userEntry = false;
    bool operator==(const Traces&) const = default;
};

Traces traces() {
    Traces t;
    t.programFiles = names(shellFolder(CSIDL_PROGRAM_FILES));
    t.localAppData = names(shellFolder(CSIDL_LOCAL_APPDATA));
    t.commonPrograms = names(shellFolder(CSIDL_COMMON_PROGRAMS));
    t.programs = names(shellFolder(CSIDL_PROGRAMS));
    t.startup = names(startupFolder());
    t.machineEntry = testsupport::keyExists(kUninstallKey, HKEY_LOCAL_MACHINE);
    t.userEntry = testsupport::keyExists(kUninstallKey, HKEY_CURRENT_USER);
    return t;
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pathExists(setupProgram())) << L"pass the setup program as the first argument";
        // A run that died half-way must not decide this one.
        for (const InstallKind* kind : {&kAllUsers, &kCurrentUser}) {
            uninstallIfPresent(*kind);
            testsupport::removeTree(kind->installDir());
            DeleteFileW(kind->startMenuShortcut().c_str());
            RegDeleteKeyW(kind->root, kUninstallKey);
            ASSERT_FALSE(pathExists(kind->installDir()));
        }
        DeleteFileW((startupFolder() + L"\\" + kShortcutName).c_str());
        // As on a machine where no program was installed for one user yet (only if empty).
        RemoveDirectoryW((shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs").c_str());
        before_ = traces();
    }

    void TearDown() override {
        uninstallIfPresent(kAllUsers);
        uninstallIfPresent(kCurrentUser);
    }

    void install(const InstallKind& kind, const std::wstring& options = L"") {
        const ProcessRun setup = run(L"\"" + setupProgram() + L"\" /S" + options);
        ASSERT_TRUE(setup.finished);
        ASSERT_EQ(setup.exitCode, 0u);
        ASSERT_TRUE(pathExists(kind.installDir() + L"\\brightsweep.exe"));
    }

    // Runs what Add/Remove Programs runs. The uninstaller copies itself to the temp folder
    // and goes on from there, so the work is done when the entry and the folder are gone.
    void uninstall(const InstallKind& kind, const std::wstring& options = L"") {
        const RegValue command = uninstallValue(L"UninstallString", kind.root);
        ASSERT_EQ(command.type, static_cast<DWORD>(REG_SZ));
        const ProcessRun uninstaller = run(command.text + L" /S" + options);
        ASSERT_TRUE(uninstaller.finished);
        EXPECT_EQ(uninstaller.exitCode, 0u);
        EXPECT_TRUE(testsupport::waitUntil(
            [&] {
                return !testsupport::keyExists(kUninstallKey, kind.root) &&
                       !pathExists(kind.installDir());
            },
            60000));
    }

    static void uninstallIfPresent(const InstallKind& kind) {
        const std::wstring uninstaller = kind.installDir() + L"\\uninstall.exe";
        if (pathExists(uninstaller))
            run(L"\"" + uninstaller + L"\" /S");
        testsupport::waitUntil([&] { return !pathExists(uninstaller); }, 60000);
    }

    std::set<std::wstring> addedToStartup() const {
        std::set<std::wstring> added;
        for (const auto& name : names(startupFolder()))
            if (!before_.startup.count(name))
                added.insert(name);
        return added;
    }

    Traces before_;
};

class EachInstallKind : public InstallerTest,
                        public ::testing::WithParamInterface<const InstallKind*> {
protected:
    const InstallKind& kind() const { return *GetParam(); }
};

} // namespace

TEST_P(EachInstallKind, SilentInstallPutsProgramShortcutAndUninstallEntryInItsOwnPlaces) {
    install(kind(), kind().option);
    const std::wstring dir = kind().installDir();
    std::vector<std::wstring> expected = {L"brightsweep.exe", L"uninstall.exe"};
    for (const auto& file : companionFiles())
        expected.push_back(fileName(file));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listFolder(dir), expected);
    ASSERT_TRUE(pathExists(builtExe()));
    EXPECT_TRUE(readFile(dir + L"\\brightsweep.exe") == readFile(builtExe()))
        << L"not the exe of this build";
    for (const auto& file : companionFiles())
        EXPECT_TRUE(readFile(dir + L"\\" + fileName(file)) == readFile(file)) << file;

    const Link link = readLink(kind().startMenuShortcut());
    ASSERT_TRUE(link.loaded) << kind().startMenuShortcut();
    EXPECT_EQ(lower(link.target), lower(dir + L"\\brightsweep.exe"));
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(lower(link.workingDir), lower(dir));

    // Nothing in Startup unless asked for, and nothing in the other kind's places.
    EXPECT_TRUE(addedToStartup().empty());
    const InstallKind& other = &kind() == &kAllUsers ? kCurrentUser : kAllUsers;
    EXPECT_FALSE(pathExists(other.installDir()));
    EXPECT_FALSE(pathExists(other.startMenuShortcut()));
    EXPECT_FALSE(testsupport::keyExists(kUninstallKey, other.root));

    EXPECT_EQ(uninstallValue(L"DisplayName", kind().root).text, L"Brightsweep");
    EXPECT_EQ(uninstallValue(L"DisplayVersion", kind().root).text, L"" BS_VERSION);
    EXPECT_EQ(uninstallValue(L"Publisher", kind().root).text, L"Quellmoor Software");
    EXPECT_EQ(lower(uninstallValue(L"InstallLocation", kind().root).text), lower(dir));
    EXPECT_EQ(lower(uninstallValue(L"UninstallString", kind().root).text),
              lower(L"\"" + dir + L"\\uninstall.exe\""));
    const RegValue size = uninstallValue(L"EstimatedSize", kind().root);
    ASSERT_EQ(size.type, static_cast<DWORD>(REG_DWORD));
    // In KiB: at least the exe, and not wildly more than what was installed.
    const DWORD exeKiB = static_cast<DWORD>(readFile(builtExe()).size() / 1024);
    EXPECT_GE(size.number, exeKiB);
    EXPECT_LE(size.number, exeKiB * 4 + 1024);
}

TEST_P(EachInstallKind, SilentUninstallLeavesNothingButTheStoredChoices) {
    testsupport::RegistryGuard settings(kSettingsKey);
    {
        engine::Registry registry;
        registry.createKey(kSettingsKey);
        ASSERT_TRUE(registry.openKey(kSettingsKey));
        registry.writeString(L"UserDirectories", L"*C:\\kept\r\n");
    }
    install(kind(), kind().option + std::wstring(L" /LOGON"));
    uninstall(kind());
    EXPECT_TRUE(traces() == before_) << L"something of the installation is left";

    engine::Registry registry;
    ASSERT_TRUE(registry.openKey(kSettingsKey)) << L"the user's choices were removed";
    EXPECT_EQ(registry.readString(L"UserDirectories"), L"*C:\\kept\r\n");
}

TEST_P(EachInstallKind, LogonChoiceAddsExactlyTheUsersStartupShortcut) {
    install(kind(), kind().option + std::wstring(L" /LOGON"));
    ASSERT_EQ(addedToStartup(), std::set<std::wstring>{kShortcutName});
    const Link startup = readLink(startupFolder() + L"\\" + kShortcutName);
    ASSERT_TRUE(startup.loaded);
    EXPECT_EQ(lower(startup.target), lower(kind().installDir() + L"\\brightsweep.exe"));
    EXPECT_EQ(startup.arguments, L"/S");
    EXPECT_TRUE(readLink(kind().startMenuShortcut()).loaded);
}

INSTANTIATE_TEST_SUITE_P(Installer, EachInstallKind, ::testing::Values(&kAllUsers, &kCurrentUser),
                         [](const auto& info) { return std::string(info.param->name); });

TEST_F(InstallerTest, PlainSilentInstallIsForAllUsersWithAdministratorRights) {
    // Wine runs every program with administrator rights.
    install(kAllUsers);
    EXPECT_TRUE(testsupport::keyExists(kUninstallKey, HKEY_LOCAL_MACHINE));
    EXPECT_FALSE(testsupport::keyExists(kUninstallKey, HKEY_CURRENT_USER));
}

TEST_F(InstallerTest, PlainSilentInstallUpdatesAnEarlierInstallationForTheCurrentUser) {
    install(kCurrentUser, kCurrentUser.option);
    install(kCurrentUser);
    EXPECT_FALSE(pathExists(kAllUsers.installDir()));
    EXPECT_FALSE(testsupport::keyExists(kUninstallKey, HKEY_LOCAL_MACHINE));
}

TEST_F(InstallerTest, StartMenuShortcutTargetRunsSilentCleanWithoutWindow) {
    testsupport::RegistryGuard settings(kSettingsKey, testsupport::RegistryGuard::Start::Empty);
    // Stored choices that clean one folder of this test's own and nothing else.
    testsupport::TempTree tree(L"installed-silent");
    const std::wstring folder = tree.mkdir(L"clutter");
    tree.file(L"clutter\\old.tmp");
    {
        engine::Registry registry;
        registry.createKey(kSettingsKey);
        ASSERT_TRUE(registry.openKey(kSettingsKey));
        registry.writeBool(L"WindowsTempFiles", false);
        registry.writeBool(L"WTFSubDir", false);
        registry.writeBool(L"RecycleBin", false);
        registry.writeBool(L"RecentDocs", false);
        registry.writeString(L"UserDirectories", L"*" + folder + L"\r\n");
        registry.writeBool(L"UserSubDir", false);
    }
    install(kCurrentUser, kCurrentUser.option);
    const Link link = readLink(kCurrentUser.startMenuShortcut());
    ASSERT_TRUE(link.loaded);
    const ProcessRun program = run(L"\"" + link.target + L"\" /S", 30000);
    ASSERT_TRUE(program.started) << link.target;
    EXPECT_TRUE(program.finished) << L"a silent clean must end by itself";
    EXPECT_EQ(program.exitCode, 0u);
    EXPECT_FALSE(program.showedWindow);
    // The installed program really cleaned: the listed folder is emptied, not removed.
    EXPECT_TRUE(pathExists(folder));
    EXPECT_TRUE(listFolder(folder).empty());
}

TEST_F(InstallerTest, ReinstallWithoutLogonChoiceDropsTheEarlierStartupShortcut) {
    install(kAllUsers, L" /LOGON");
    ASSERT_TRUE(pathExists(startupFolder() + L"\\" + kShortcutName));
    install(kAllUsers);
    EXPECT_TRUE(addedToStartup().empty());
    EXPECT_TRUE(readLink(kAllUsers.startMenuShortcut()).loaded);
}

TEST_F(InstallerTest, PurgeSwitchAlsoRemovesStoredChoicesButNoOtherKeys) {
    testsupport::RegistryGuard company(kCompanyKey);
    const std::wstring sibling = std::wstring(kCompanyKey) + L"\\Other Product";
    {
        engine::Registry registry;
        registry.createKey(kSettingsKey);
        registry.createKey(std::wstring(kSettingsKey) + L"\\RecycleBin");
        registry.createKey(sibling);
    }
    install(kAllUsers);
    uninstall(kAllUsers, L" /PURGE");
    // The uninstaller removes the stored choices after its entry and folder.
    EXPECT_TRUE(
        testsupport::waitUntil([] { return !testsupport::keyExists(kSettingsKey); }, 60000));
    EXPECT_TRUE(testsupport::keyExists(sibling));
    EXPECT_FALSE(pathExists(kAllUsers.installDir()));
}

TEST_F(InstallerTest, WizardInstallsForMeOnlyAndItsLastPageStartsTheProgram) {
    e2e::Process setup(setupProgram(), L"");
    HWND wizard =
        e2e::waitForWindow(setup.id(), L"#32770", L"Brightsweep " BS_VERSION L" Setup", 30000);
    ASSERT_TRUE(wizard);
    const auto goOn = [&](HWND page, const wchar_t* label) {
        HWND next = waitForPage(wizard, page, label);
        EXPECT_TRUE(next) << L"no page with " << label;
        return next;
    };
    HWND page = goOn(nullptr, L"&Next >"); // welcome
    e2e::press(GetDlgItem(wizard, IDOK));
    ASSERT_TRUE(page = goOn(page, L"I &Agree"));
    e2e::press(GetDlgItem(wizard, IDOK));
    ASSERT_TRUE(page = goOn(page, L"&Next >")); // for whom
    HWND meOnly = e2e::findControlByText(page, L"Button", L"For &me only");
    HWND allUsers = e2e::findControlByText(page, L"Button", L"For &all users of this computer");
    ASSERT_TRUE(meOnly && allUsers);
    EXPECT_TRUE(e2e::findControlByText(page, L"Static",
                                       L"Into " + kCurrentUser.installDir() +
                                           L". No administrator rights needed."))
        << L"the page names another folder than setup uses";
    e2e::send(allUsers, BM_SETCHECK, BST_UNCHECKED);
    e2e::send(meOnly, BM_SETCHECK, BST_CHECKED);
    e2e::press(GetDlgItem(wizard, IDOK));
    ASSERT_TRUE(page = goOn(page, L"&Next >")); // components
    e2e::press(GetDlgItem(wizard, IDOK));
    ASSERT_TRUE(page = goOn(page, L"&Install")); // folder
    e2e::press(GetDlgItem(wizard, IDOK));
    ASSERT_TRUE(page = goOn(page, L"&Next >")); // files copied
    e2e::press(GetDlgItem(wizard, IDOK));
    ASSERT_TRUE(page = goOn(page, L"&Finish"));
    HWND start = e2e::findControlByText(page, L"Button", L"&Start Brightsweep now");
    ASSERT_TRUE(start);
    EXPECT_TRUE(e2e::isChecked(start));
    e2e::press(GetDlgItem(wizard, IDOK));
    EXPECT_EQ(setup.waitForExit(30000), std::optional<DWORD>(0));

    EXPECT_TRUE(testsupport::keyExists(kUninstallKey, HKEY_CURRENT_USER));
    EXPECT_FALSE(testsupport::keyExists(kUninstallKey, HKEY_LOCAL_MACHINE));
    const DWORD program = waitForProgram(kCurrentUser.installDir() + L"\\brightsweep.exe");
    EXPECT_NE(program, 0u) << L"the installed program did not start";
    endProcess(program);
}
