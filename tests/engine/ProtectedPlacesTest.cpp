// The protected places against the Wine prefix: C:\windows, C:\Program Files, C:\ProgramData,
// C:\users with the Public profile and the test user's, D: a second fixed drive. Links only
// the host can make are made by ProtectedLinks.sh, which passes the folder holding them.
#include <gtest/gtest.h>

#include "engine/FolderHandle.h"
#include "engine/ProtectedPlaces.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

using engine::IsProtectedFolder;
using engine::IsProtectedPath;
using engine::OpenWipeRoot;
using Paths = std::vector<std::wstring>;

namespace {

// The test user's profile, named after the user as Wine makes it.
std::wstring profile() {
    wchar_t name[256] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    GetUserNameW(name, &size);
    return std::wstring(L"C:\\users\\") + name;
}

// An empty folder C:\t\work\protect-<pid>-<n> with one empty sub-folder "sub".
class WorkFolder {
public:
    WorkFolder()
        : path_(L"C:\\t\\work\\protect-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++count_)) {
        CreateDirectoryW(L"C:\\t\\work", nullptr);
        CreateDirectoryW(path_.c_str(), nullptr);
        CreateDirectoryW(at(L"sub").c_str(), nullptr);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder() {
        RemoveDirectoryW(at(L"sub").c_str());
        RemoveDirectoryW(path_.c_str());
    }
    const std::wstring& path() const { return path_; }
    std::wstring at(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    static inline int count_ = 0;
    std::wstring path_;
};

// The folder ProtectedLinks.sh made, from the command line; "" when run without it.
std::wstring hostLinks() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring result;
    for (int i = 1; arguments && i < count; ++i)
        if (std::wstring_view(arguments[i]).starts_with(L"C:\\t\\work\\"))
            result = arguments[i];
    LocalFree(arguments);
    return result;
}

bool sameFolder(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

TEST(ProtectedPath, IsOrContainsAPlaceByWholeComponentsInAnyCase) {
    const Paths places = {L"C:\\Users", L"C:\\Users\\me\\AppData\\Roaming\\",
                          L"\\\\srv\\share\\Docs"};
    for (const wchar_t* path :
         {L"C:\\Users", L"c:\\USERS\\", L"C:\\Users\\me\\AppData",
          L"C:\\users\\ME\\appdata\\roaming", L"C:\\Users\\me\\AppData\\Roaming\\",
          L"\\\\SRV\\share\\docs", L"C:/Users/me"})
        EXPECT_TRUE(IsProtectedPath(path, places)) << path;
    // Inside a place, beside it, or a mere prefix of its text.
    for (const wchar_t* path :
         {L"C:\\Users\\me\\AppData\\Local\\Temp", L"C:\\Users\\me\\AppData\\Roaming\\Tool",
          L"C:\\Users2", L"C:\\Users\\me\\AppData\\Roam", L"\\\\srv\\share\\Doc", L"D:\\Users"})
        EXPECT_FALSE(IsProtectedPath(path, places)) << path;
}

TEST(ProtectedPath, RootsAndUnknownFormsAreProtectedWithoutAList) {
    for (const wchar_t* path :
         {L"C:\\", L"d:", L"\\\\srv\\share", L"\\\\srv\\share\\", L"\\\\srv", L"", L"C:x",
          L"relative\\x", L"\\\\?\\C:\\x", L"Volume{01234567-89ab-cdef-0123-456789abcdef}\\x"})
        EXPECT_TRUE(IsProtectedPath(path, {})) << path;
    EXPECT_FALSE(IsProtectedPath(L"C:\\x", {}));
    EXPECT_FALSE(IsProtectedPath(L"\\\\srv\\share\\x", {}));
}

TEST(WipeRoot, RefusesEveryProtectedPlaceOfThePrefix) {
    const std::wstring me = profile();
    const Paths places = {
        L"C:\\", L"D:\\", L"C:\\windows", L"C:\\WINDOWS\\System32", L"C:\\windows\\Fonts",
        L"C:\\Program Files", L"C:\\ProgramData", L"C:\\users", L"C:\\users\\Public", me,
        me + L"\\Desktop", me + L"\\Documents", me + L"\\Pictures", me + L"\\Music",
        me + L"\\Videos", me + L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu",
        me + L"\\AppData\\Roaming", me + L"\\AppData\\Local", me + L"\\AppData",
        // The same places reached through "..".
        me + L"\\Temp\\..\\..", me + L"\\Temp\\..", L"C:\\windows\\Temp\\..", L"C:\\t\\.."};
    for (const auto& place : places)
        EXPECT_FALSE(OpenWipeRoot(place)) << place;
}

TEST(WipeRoot, AcceptsFoldersInsideProtectedPlaces) {
    const std::wstring me = profile();
    wchar_t temp[MAX_PATH + 1] = {};
    ASSERT_NE(GetTempPathW(static_cast<DWORD>(std::size(temp)), temp), 0u);
    WorkFolder work;
    for (const std::wstring& folder :
         {std::wstring(temp), std::wstring(L"C:\\windows\\Temp"), me + L"\\Temp",
          me + L"\\Downloads", work.path(), work.at(L"sub\\..")})
        EXPECT_TRUE(OpenWipeRoot(folder)) << folder;
    // A folder it cannot open is kept as well.
    EXPECT_FALSE(OpenWipeRoot(work.at(L"missing")));
    EXPECT_FALSE(OpenWipeRoot(L""));
}

TEST(ProtectedFolder, ChecksWhereAFolderLeadsOrElseItsPathAsWritten) {
    WorkFolder work;
    EXPECT_TRUE(IsProtectedFolder(profile() + L"\\Temp\\..\\.."));
    EXPECT_TRUE(IsProtectedFolder(L"C:\\"));
    EXPECT_FALSE(IsProtectedFolder(work.path()));
    EXPECT_FALSE(IsProtectedFolder(work.at(L"missing")));
}

TEST(WipeRoot, ReadsWhereAHostLinkReallyLeads) {
    const std::wstring links = hostLinks();
    ASSERT_FALSE(links.empty()) << "run through ProtectedLinks.sh, which makes the links";
    for (const wchar_t* name : {L"drive", L"windows", L"users", L"profile", L"desktop"})
        EXPECT_FALSE(OpenWipeRoot(links + L"\\" + name)) << name;
    for (const wchar_t* name : {L"windows-temp", L"moved-temp"})
        EXPECT_TRUE(OpenWipeRoot(links + L"\\" + name)) << name;
    // A moved Temp folder: the handle is the folder the link leads to.
    const engine::FileHandle moved = OpenWipeRoot(links + L"\\moved-temp");
    ASSERT_TRUE(moved);
    EXPECT_TRUE(sameFolder(engine::FinalPathOf(moved.get()), links + L"\\elsewhere\\Temp"));
}
