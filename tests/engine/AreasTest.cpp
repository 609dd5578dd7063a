// The cleaning areas against the prefix's drives: C: and D: fixed, E: CD-ROM, F: removable,
// N: network.
#include <gtest/gtest.h>

#include "engine/Areas.h"
#include "engine/CleanRun.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TestSupport.h"

#include <shlobj.h>

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

TEST(RecycleBins, EmptiesTheCurrentUsersBinsOfTheNtFamily) {
    const std::string sid = enginetest::userSidText();
    ASSERT_FALSE(sid.empty());
    EXPECT_EQ(engine::CurrentUserSid(), sid);
    const Names roots = {"C:\\RECYCLER", "D:\\RECYCLER", "D:\\$Recycle.Bin", "E:\\$Recycle.Bin"};
    RootFolders cleanup(roots);
    const std::string otherUser = "S-1-5-21-1-2-3-4242";
    for (const auto& root : roots) {
        for (const std::string& user : {sid, otherUser}) {
            writeFile(root + "\\" + user + "\\$IABC.txt");
            writeFile(root + "\\" + user + "\\$RABC.txt");
            writeFile(root + "\\" + user + "\\desktop.ini");
            writeFile(root + "\\" + user + "\\$RDEF\\inside.txt");
        }
    }
    const std::string readOnly = "D:\\$Recycle.Bin\\" + sid + "\\$RRO.txt";
    writeFile(readOnly);
    enginetest::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    engine::EmptyRecycleBins();
    for (const char* fixed : {"C:\\RECYCLER", "D:\\RECYCLER", "D:\\$Recycle.Bin"}) {
        const std::string mine = std::string(fixed) + "\\" + sid;
        const Names kept = std::string(fixed) == "D:\\$Recycle.Bin"
                               ? Names{"$RDEF", "$RRO.txt", "desktop.ini"}
                               : Names{"$RDEF", "desktop.ini"};
        EXPECT_EQ(listFolder(mine), kept) << mine;
        EXPECT_TRUE(pathExists(mine + "\\$RDEF\\inside.txt"));
        EXPECT_EQ(listFolder(std::string(fixed) + "\\" + otherUser).size(), 4u);
    }
    EXPECT_EQ(listFolder("E:\\$Recycle.Bin\\" + sid).size(), 4u);
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

TEST(CleanRun, TheOrphanStepComesBeforeAnyDeletionAndTheChoicesAreStoredLast) {
    TempTree tree("run");
    tree.file("one\\f.txt");
    testsupport::RegistryGuard guard(testsupport::kSettingsKey,
                                     testsupport::RegistryGuard::Start::Empty);
    engine::CreateSettingsKey();
    engine::Choices choices;
    choices.userFolders = {{tree.at("one"), true}};
    bool fileThere = false, storedYet = true;
    engine::RunClean(choices, [&] {
        fileThere = tree.exists("one\\f.txt");
        storedYet = testsupport::storedValue(testsupport::kSettingsKey, "UserDirectories").present;
    });
    EXPECT_TRUE(fileThere);
    EXPECT_FALSE(storedYet);
    EXPECT_FALSE(tree.exists("one\\f.txt"));
    const std::string list = std::string(1, '*').append(tree.at("one")).append("\r\n", 3);
    EXPECT_EQ(testsupport::storedValue(testsupport::kSettingsKey, "UserDirectories").data, list);
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
