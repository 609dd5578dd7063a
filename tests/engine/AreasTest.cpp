// The cleaning areas against the prefix's drives: C: and D: fixed, E: CD-ROM, F: removable,
// N: network.
#include <gtest/gtest.h>

#include "engine/Areas.h"
#include "engine/CleanRun.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TestSupport.h"

#include <shellapi.h>
#include <shlobj.h>

#include <initializer_list>
#include <string>

using engine::UserFolder;
using testsupport::listFolder;
using testsupport::pathExists;
using testsupport::TempTree;
using testsupport::writeFile;
using Names = std::vector<std::wstring>;

namespace {

// Folders made at drive roots for one test, removed before and after it.
struct RootFolders : testsupport::RemoveAtEnd {
    explicit RootFolders(Names paths) : RemoveAtEnd(std::move(paths), Start::Cleared) {}
};

// Points the temporary path at a folder of the test for the life of the object.
class TempPathAt {
public:
    explicit TempPathAt(const std::wstring& folder) {
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            wchar_t buffer[1024] = {};
            saved_.push_back(
                GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)))
                    ? buffer
                    : L"");
            SetEnvironmentVariableW(name, folder.c_str());
        }
    }
    ~TempPathAt() {
        SetEnvironmentVariableW(L"TMP", saved_[0].empty() ? nullptr : saved_[0].c_str());
        SetEnvironmentVariableW(L"TEMP", saved_[1].empty() ? nullptr : saved_[1].c_str());
    }

private:
    Names saved_;
};

} // namespace

TEST(FixedDrives, ListsTheFixedDrivesInLetterOrder) {
    Names drives = {L"stale"};
    engine::GetFixedDrives(drives);
    EXPECT_EQ(drives, (Names{L"C:", L"D:"}));
}

TEST(RecycleBins, EmptiesTheOldRecycleFolderOfFixedDrivesOnly) {
    const Names roots = {L"C:\\Recycled", L"D:\\Recycled", L"E:\\Recycled", L"F:\\Recycled",
                         L"N:\\Recycled"};
    RootFolders cleanup(roots);
    for (const auto& root : roots) {
        writeFile(root + L"\\DC1.txt");
        writeFile(root + L"\\desktop.ini");
        writeFile(root + L"\\DC2\\inside.txt"); // a deleted folder
    }
    engine::EmptyRecycleBins();
    for (const wchar_t* fixed : {L"C:\\Recycled", L"D:\\Recycled"}) {
        EXPECT_EQ(listFolder(fixed), (Names{L"DC2", L"desktop.ini"})) << fixed;
        EXPECT_TRUE(pathExists(std::wstring(fixed) + L"\\DC2\\inside.txt"));
    }
    for (const wchar_t* other : {L"E:\\Recycled", L"F:\\Recycled", L"N:\\Recycled"})
        EXPECT_EQ(listFolder(other), (Names{L"DC1.txt", L"DC2", L"desktop.ini"})) << other;
}

namespace {

// Items in the current user's Recycle Bin as the shell counts them; -1 when there is no bin.
long long binItems() {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    return SUCCEEDED(SHQueryRecycleBinW(nullptr, &info)) ? info.i64NumItems : -1;
}

// Files made in a folder of the test and deleted into the Recycle Bin, as Explorer does.
class FilesInTheBin {
public:
    explicit FilesInTheBin(std::initializer_list<const wchar_t*> names)
        : folder_(L"C:\\t\\work\\bin-" + std::to_wstring(GetCurrentProcessId())) {
        CreateDirectoryW(L"C:\\t\\work", nullptr);
        CreateDirectoryW(folder_.c_str(), nullptr);
        for (const wchar_t* name : names) {
            const std::wstring file = folder_ + L"\\" + name;
            CloseHandle(
                CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            from_ += file + L'\0';
        }
    }
    FilesInTheBin(const FilesInTheBin&) = delete;
    FilesInTheBin& operator=(const FilesInTheBin&) = delete;
    ~FilesInTheBin() { RemoveDirectoryW(folder_.c_str()); }
    // True when the shell took every file.
    bool send() {
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from_.c_str(); // the list ends in two zeros
        operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
    }

private:
    std::wstring folder_;
    std::wstring from_;
};

} // namespace

TEST(RecycleBins, EmptiesTheCurrentUsersBinThroughTheShell) {
    // Under Wine the bin is the freedesktop trash of XDG_DATA_HOME, which tools/wine-env keeps
    // in the prefix; without it Wine deletes outright and the shell has no bin.
    engine::EmptyRecycleBins();
    const long long kept = binItems(); // Wine's emptying leaves deleted folders behind
    ASSERT_GE(kept, 0) << "the shell has no Recycle Bin";
    FilesInTheBin files({L"one.txt", L"two.txt"});
    ASSERT_TRUE(files.send());
    ASSERT_EQ(binItems(), kept + 2);
    engine::EmptyRecycleBins();
    EXPECT_EQ(binItems(), kept);
}

TEST(TempArea, WipesTheTemporaryFolderWithOrWithoutItsSubFolders) {
    TempTree tree(L"temp");
    tree.file(L"tmp\\a.tmp");
    tree.file(L"tmp\\sub\\b.tmp");
    tree.file(L"beside.txt");
    TempPathAt temp(tree.at(L"tmp"));
    engine::CleanWindowsTemp(false);
    EXPECT_EQ(listFolder(tree.at(L"tmp")), Names{L"sub"});
    EXPECT_TRUE(tree.exists(L"tmp\\sub\\b.tmp"));
    engine::CleanWindowsTemp(true);
    EXPECT_TRUE(listFolder(tree.at(L"tmp")).empty());
    EXPECT_TRUE(tree.exists(L"beside.txt"));
}

TEST(TempArea, APathTooLongForTheBufferSkipsTheArea) {
    TempTree tree(L"temp");
    tree.file(L"parent.txt");
    // With its backslash this path needs 256 characters and a zero: one more than the buffer.
    const std::wstring folder =
        tree.path() + L"\\" + std::wstring(255 - tree.path().size() - 1, L'l');
    ASSERT_EQ(folder.size(), 255u);
    writeFile(folder + L"\\x.t");
    ASSERT_TRUE(pathExists(folder + L"\\x.t"));
    TempPathAt temp(folder);
    engine::CleanWindowsTemp(true);
    EXPECT_TRUE(pathExists(folder + L"\\x.t"));
    EXPECT_TRUE(tree.exists(L"parent.txt"));
}

TEST(UserFolders, WipesTickedEntriesOnlyAndIgnoresUnusablePaths) {
    TempTree tree(L"user");
    for (const wchar_t* name : {L"one", L"two", L"three"}) {
        tree.file(std::wstring(name) + L"\\f.txt");
        tree.file(std::wstring(name) + L"\\sub\\g.txt");
    }
    tree.file(L"cwd\\here.txt");
    enginetest::CurrentFolder cwd(tree.at(L"cwd"));
    engine::CleanUserFolders({{tree.at(L"one"), true},
                              {tree.at(L"two"), false},
                              {tree.at(L"three") + L"\\", true},
                              {tree.at(L"one"), true},
                              {L"", true},
                              {L".", true}},
                             true);
    EXPECT_TRUE(listFolder(tree.at(L"one")).empty());
    EXPECT_TRUE(listFolder(tree.at(L"three")).empty());
    EXPECT_EQ(listFolder(tree.at(L"two")), (Names{L"f.txt", L"sub"}));
    EXPECT_TRUE(tree.exists(L"cwd\\here.txt"));

    engine::CleanUserFolders({{tree.at(L"two"), true}}, false);
    EXPECT_EQ(listFolder(tree.at(L"two")), Names{L"sub"});
    engine::CleanUserFolders({}, true);
}

TEST(CleanRun, TheOrphanStepComesBeforeAnyDeletionAndTheChoicesAreStoredLast) {
    TempTree tree(L"run");
    tree.file(L"one\\f.txt");
    testsupport::RegistryGuard guard(testsupport::kSettingsKey,
                                     testsupport::RegistryGuard::Start::Empty);
    engine::CreateSettingsKey();
    engine::Choices choices;
    choices.userFolders = {{tree.at(L"one"), true}};
    bool fileThere = false, storedYet = true;
    engine::RunClean(choices, [&] {
        fileThere = tree.exists(L"one\\f.txt");
        storedYet = testsupport::storedValue(testsupport::kSettingsKey, L"UserDirectories").present;
    });
    EXPECT_TRUE(fileThere);
    EXPECT_FALSE(storedYet);
    EXPECT_FALSE(tree.exists(L"one\\f.txt"));
    const std::wstring list = std::wstring(1, L'*').append(tree.at(L"one")).append(L"\r\n", 3);
    EXPECT_EQ(testsupport::storedValue(testsupport::kSettingsKey, L"UserDirectories").text(), list);
}

namespace {
struct ShellCall {
    unsigned int flags;
    const void* item;
};
std::vector<ShellCall> shellCalls;
void recordShellCall(unsigned int flags, const void* item) {
    shellCalls.push_back({flags, item});
}
} // namespace

TEST(RecentDocuments, AsksTheShellToEmptyTheList) {
    shellCalls.clear();
    const auto previous = engine::SetRecentDocsCall(recordShellCall);
    engine::ClearRecentDocuments();
    engine::SetRecentDocsCall(previous);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].flags, static_cast<unsigned>(SHARD_PATH));
    EXPECT_EQ(shellCalls[0].item, nullptr);
    // The real shell call is back in place and returns normally.
    engine::ClearRecentDocuments();
    EXPECT_EQ(shellCalls.size(), 1u);
}
