// The cleaning areas against the prefix's drives: C: and D: fixed, E: CD-ROM, F: removable,
// N: network.
#include <gtest/gtest.h>

#include "engine/Areas.h"
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
using Names = std::vector<std::string>;

namespace {

// Folders made at drive roots for one test, removed before and after it.
struct RootFolders : testsupport::RemoveAtEnd {
    explicit RootFolders(Names paths) : RemoveAtEnd(std::move(paths), Start::Cleared) {}
};

// Points the temporary path at a folder of the test for the life of the object.
class TempPathAt {
public:
    explicit TempPathAt(const std::string& folder) {
        for (const char* name : {"TMP", "TEMP"}) {
            char buffer[1024] = {};
            saved_.push_back(GetEnvironmentVariableA(name, buffer, sizeof buffer) ? buffer : "");
            SetEnvironmentVariableA(name, folder.c_str());
        }
    }
    ~TempPathAt() {
        SetEnvironmentVariableA("TMP", saved_[0].empty() ? nullptr : saved_[0].c_str());
        SetEnvironmentVariableA("TEMP", saved_[1].empty() ? nullptr : saved_[1].c_str());
    }

private:
    Names saved_;
};

} // namespace

TEST(FixedDrives, ListsTheFixedDrivesInLetterOrder) {
    Names drives = {"stale"};
    engine::GetFixedDrives(drives);
    EXPECT_EQ(drives, (Names{"C:", "D:"}));
}

TEST(RecycleBins, EmptiesTheOldRecycleFolderOfFixedDrivesOnly) {
    const Names roots = {"C:\\Recycled", "D:\\Recycled", "E:\\Recycled", "F:\\Recycled",
                         "N:\\Recycled"};
    RootFolders cleanup(roots);
    for (const auto& root : roots) {
        writeFile(root + "\\DC1.txt");
        writeFile(root + "\\desktop.ini");
        writeFile(root + "\\DC2\\inside.txt"); // a deleted folder
    }
    engine::EmptyRecycleBins();
    for (const char* fixed : {"C:\\Recycled", "D:\\Recycled"}) {
        EXPECT_EQ(listFolder(fixed), (Names{"DC2", "desktop.ini"})) << fixed;
        EXPECT_TRUE(pathExists(std::string(fixed) + "\\DC2\\inside.txt"));
    }
    for (const char* other : {"E:\\Recycled", "F:\\Recycled", "N:\\Recycled"})
        EXPECT_EQ(listFolder(other), (Names{"DC1.txt", "DC2", "desktop.ini"})) << other;
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
    TempTree tree("temp");
    tree.file("tmp\\a.tmp");
    tree.file("tmp\\sub\\b.tmp");
    tree.file("beside.txt");
    TempPathAt temp(tree.at("tmp"));
    engine::CleanWindowsTemp(false);
    EXPECT_EQ(listFolder(tree.at("tmp")), Names{"sub"});
    EXPECT_TRUE(tree.exists("tmp\\sub\\b.tmp"));
    engine::CleanWindowsTemp(true);
    EXPECT_TRUE(listFolder(tree.at("tmp")).empty());
    EXPECT_TRUE(tree.exists("beside.txt"));
}

TEST(TempArea, APathTooLongForTheBufferSkipsTheArea) {
    TempTree tree("temp");
    tree.file("parent.txt");
    // With its backslash this path needs 256 characters and a zero: one more than the buffer.
    const std::string folder = tree.path() + "\\" + std::string(255 - tree.path().size() - 1, 'l');
    ASSERT_EQ(folder.size(), 255u);
    writeFile(folder + "\\x.t");
    ASSERT_TRUE(pathExists(folder + "\\x.t"));
    TempPathAt temp(folder);
    engine::CleanWindowsTemp(true);
    EXPECT_TRUE(pathExists(folder + "\\x.t"));
    EXPECT_TRUE(tree.exists("parent.txt"));
}

TEST(UserFolders, WipesTickedEntriesOnlyAndIgnoresUnusablePaths) {
    TempTree tree("user");
    for (const char* name : {"one", "two", "three"}) {
        tree.file(std::string(name) + "\\f.txt");
        tree.file(std::string(name) + "\\sub\\g.txt");
    }
    tree.file("cwd\\here.txt");
    enginetest::CurrentFolder cwd(tree.at("cwd"));
    engine::CleanUserFolders({{tree.at("one"), true},
                              {tree.at("two"), false},
                              {tree.at("three") + "\\", true},
                              {tree.at("one"), true},
                              {"", true},
                              {".", true}},
                             true);
    EXPECT_TRUE(listFolder(tree.at("one")).empty());
    EXPECT_TRUE(listFolder(tree.at("three")).empty());
    EXPECT_EQ(listFolder(tree.at("two")), (Names{"f.txt", "sub"}));
    EXPECT_TRUE(tree.exists("cwd\\here.txt"));

    engine::CleanUserFolders({{tree.at("two"), true}}, false);
    EXPECT_EQ(listFolder(tree.at("two")), Names{"sub"});
    engine::CleanUserFolders({}, true);
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
