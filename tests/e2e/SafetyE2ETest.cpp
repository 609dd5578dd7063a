// "/S" against names and places built to lead a clean astray: every file outside the
// places chosen is a canary that must survive the run.
#include "tests/e2e/Driver.h"
#include "tests/e2e/ProgramTest.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

using testsupport::listFolder;
using testsupport::pathExists;
using testsupport::TempTree;
using Names = std::vector<std::wstring>;

constexpr const wchar_t* kKey = testsupport::kSettingsKey;
// Fullwidth full stops and reverse solidus: an ANSI program sees "..\" in their place.
constexpr const wchar_t* kDotsUp = L"\xFF0E\xFF0E\xFF3C";

// Points TMP and TEMP, which the program inherits, at `folder` for the object's life.
class TempPathAt {
public:
    explicit TempPathAt(const std::wstring& folder) {
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            wchar_t buffer[2048] = {};
            const DWORD n = GetEnvironmentVariableW(name, buffer, 2048);
            saved_.push_back(n > 0 && n < 2048 ? buffer : L"");
            SetEnvironmentVariableW(name, folder.c_str());
        }
    }
    TempPathAt(const TempPathAt&) = delete;
    TempPathAt& operator=(const TempPathAt&) = delete;
    ~TempPathAt() {
        SetEnvironmentVariableW(L"TMP", saved_[0].empty() ? nullptr : saved_[0].c_str());
        SetEnvironmentVariableW(L"TEMP", saved_[1].empty() ? nullptr : saved_[1].c_str());
    }

private:
    Names saved_;
};

struct Stored {
    DWORD temp = 0, tempSub = 0, userSub = 0;
    std::wstring folders;
};

void store(const Stored& s) {
    testsupport::deleteKeyTree(kKey);
    testsupport::setDword(kKey, L"WindowsTempFiles", s.temp);
    testsupport::setDword(kKey, L"WTFSubDir", s.tempSub);
    testsupport::setDword(kKey, L"RecycleBin", 0);
    testsupport::setDword(kKey, L"RecentDocs", 0);
    testsupport::setText(kKey, L"UserDirectories", s.folders);
    testsupport::setDword(kKey, L"UserSubDir", s.userSub);
}

std::wstring storedList() {
    const std::wstring text = testsupport::storedValue(kKey, L"UserDirectories").text();
    return text.substr(0, text.find(L'\0'));
}

std::wstring shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

struct Safety : e2e::ProgramTest {
    TempTree tree{L"safety"};

    void runSilently() {
        e2e::Process process(exe, L"/S");
        const auto code = process.waitForExit(120000);
        ASSERT_TRUE(code.has_value()) << "the silent run did not end";
        EXPECT_EQ(*code, 0u);
    }
};

} // namespace

TEST_F(Safety, FullwidthDotsNeverLeadOutOfTheTempFolderOrAListedFolder) {
    for (DWORD subFolders : {0u, 1u}) {
        SCOPED_TRACE(subFolders);
        // profile\Temp is the temp folder, profile\list a listed one; "..\" from either
        // reaches profile, where the canaries wait.
        const std::wstring profile = tree.mkdir(L"profile");
        tree.file(L"profile\\x.txt");
        tree.file(L"profile\\canary.txt");
        tree.file(L"canary.txt");
        for (const wchar_t* place : {L"profile\\Temp", L"profile\\list"}) {
            const std::wstring base = std::wstring(place) + L"\\";
            tree.file(base + kDotsUp + L"x.txt");     // a file "．．＼x.txt"
            tree.mkdir(base + kDotsUp);               // an empty folder "．．＼"
            tree.file(base + kDotsUp + L"x\\in.txt"); // and one with a file in it
        }
        const TempPathAt temp(tree.at(L"profile\\Temp"));
        store({1, subFolders, subFolders, L"*" + tree.at(L"profile\\list") + L"\r\n"});
        runSilently();

        for (const wchar_t* canary : {L"profile\\x.txt", L"profile\\canary.txt", L"canary.txt"})
            EXPECT_TRUE(tree.exists(canary)) << canary;
        const Names left =
            subFolders ? Names{} : Names{std::wstring(kDotsUp), kDotsUp + std::wstring(L"x")};
        EXPECT_EQ(listFolder(tree.at(L"profile\\Temp")), left);
        EXPECT_EQ(listFolder(tree.at(L"profile\\list")), left);
        testsupport::removeTree(profile);
        testsupport::removeTree(tree.at(L"canary.txt"));
    }
}

TEST_F(Safety, APolishNameIsStoredShownAndWipedAsItIs) {
    // "Zdjęcia" (pictures) and its look-alike without the ogonek are two folders.
    tree.file(L"Zdj\x0119"
              L"cia\\photo.jpg");
    tree.file(L"Zdjecia\\photo.jpg");
    const std::wstring list = L"*" +
                              tree.at(L"Zdj\x0119"
                                      L"cia") +
                              L"\r\n";
    store({0, 0, 1, list});
    runSilently();
    EXPECT_EQ(listFolder(tree.at(L"Zdj\x0119"
                                 L"cia")),
              Names{});
    EXPECT_EQ(listFolder(tree.at(L"Zdjecia")), Names{L"photo.jpg"});
    EXPECT_EQ(storedList(), list);
}

TEST_F(Safety, ProtectedPlacesAreRefusedAsListEntriesAndAsTheTempFolder) {
    const std::wstring tag = L"bs-canary-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    const std::wstring profile = shellFolder(CSIDL_PROFILE);
    const std::wstring windows = shellFolder(CSIDL_WINDOWS);
    const Names places = {L"C:\\",
                          windows,
                          profile,
                          shellFolder(CSIDL_DESKTOPDIRECTORY),
                          shellFolder(CSIDL_PERSONAL),
                          shellFolder(CSIDL_APPDATA)};
    Names canaries;
    for (const auto& place : places)
        canaries.push_back(place + (place.back() == L'\\' ? L"" : L"\\") + tag);
    const testsupport::RemoveAtEnd cleanup(canaries);
    for (const auto& canary : canaries)
        testsupport::writeFile(canary);

    // The same places again through ".." and through a link.
    tree.mkdir(L"a\\b");
    const enginetest::FolderLink link(tree.at(L"to-windows"), windows);
    ASSERT_TRUE(link.made());
    std::wstring list;
    for (const auto& place : places)
        list += L"*" + place + L"\r\n";
    list += L"*" + tree.at(L"a\\b\\..\\..\\..\\..\\..") + L"\r\n"; // C:\ (the tree is 3 deep)
    list += L"*" + tree.at(L"to-windows") + L"\r\n";

    // Sub-folders off: a failure here costs the files lying directly in those places, not
    // the whole prefix.
    const TempPathAt temp(profile + L"\\Desktop\\..\\..\\..");
    store({1, 0, 0, list});
    runSilently();
    for (const auto& canary : canaries)
        EXPECT_TRUE(pathExists(canary)) << canary;
    // A refused entry stays in the list.
    EXPECT_EQ(storedList(), list);
}

TEST_F(Safety, SettingsWrittenByTheAnsiProgramReadRunAndSaveBackUnchanged) {
    // The earlier program wrote its values through the ANSI registry calls.
    const std::string folder = "C:\\t\\work\\bs-ansi-" + std::to_string(GetCurrentProcessId());
    const std::wstring wideFolder =
        L"C:\\t\\work\\bs-ansi-" + std::to_wstring(GetCurrentProcessId());
    const testsupport::RemoveAtEnd cleanup({wideFolder});
    testsupport::writeFile(wideFolder + L"\\a.txt");
    const std::string list = "*" + folder + "\r\nD:\\elsewhere\r\n";
    testsupport::deleteKeyTree(kKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quellmoor Software\\Brightsweep", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD one = 1, zero = 0;
    for (const char* name : {"WindowsTempFiles", "WTFSubDir", "RecycleBin", "RecentDocs"})
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), 4);
    RegSetValueExA(key, "UserDirectories", 0, REG_SZ, reinterpret_cast<const BYTE*>(list.c_str()),
                   static_cast<DWORD>(list.size() + 1));
    RegSetValueExA(key, "UserSubDir", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
    RegCloseKey(key);
    const testsupport::KeyValues before = testsupport::keyValues(kKey);

    runSilently();
    EXPECT_EQ(listFolder(wideFolder), Names{});
    EXPECT_EQ(testsupport::keyValues(kKey), before);
}
