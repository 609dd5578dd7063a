#include "engine/Choices.h"

#include "engine/Registry.h"

#include <exception>

namespace engine {

namespace {

constexpr const wchar_t* kWindowsTempFiles = L"WindowsTempFiles";
constexpr const wchar_t* kWindowsTempSub = L"WTFSubDir";
constexpr const wchar_t* kRecycleBin = L"RecycleBin";
constexpr const wchar_t* kRecentDocs = L"RecentDocs";
constexpr const wchar_t* kUserDirectories = L"UserDirectories";
constexpr const wchar_t* kUserSub = L"UserSubDir";

// The empty sub-keys that make up the key's layout, in the order they are created.
constexpr const wchar_t* kSubKeys[] = {kWindowsTempFiles, kWindowsTempSub,  kRecentDocs,
                                       kRecycleBin,       kUserDirectories, kUserSub};

} // namespace

void Choices::Load() {
    Registry registry;
    if (!registry.openKey(kSettingsKey)) {
        CreateSettingsKey();
        return;
    }
    try {
        // Each value is taken as soon as it is read; the list is applied last, so a failure
        // anywhere leaves the folder list as it was.
        windowsTemp = registry.readBool(kWindowsTempFiles);
        windowsTempSubFolders = registry.readBool(kWindowsTempSub);
        recycleBin = registry.readBool(kRecycleBin);
        recentDocuments = registry.readBool(kRecentDocs);
        const auto lines = SplitListText(registry.readString(kUserDirectories));
        userSubFolders = registry.readBool(kUserSub);
        userFolders = SetUserFolderList(lines);
        registry.closeKey();
    } catch (const std::exception&) {
        // A missing or mistyped value: the layout is made again; what loaded stays loaded.
        registry.closeKey();
        CreateSettingsKey();
    }
}

void Choices::Save() const {
    const auto lines = GetUserFolderList(userFolders);
    Registry registry;
    if (!registry.openKey(kSettingsKey)) {
        CreateSettingsKey();
        return;
    }
    try {
        registry.writeBool(kWindowsTempFiles, windowsTemp);
        registry.writeBool(kWindowsTempSub, windowsTempSubFolders);
        registry.writeBool(kRecycleBin, recycleBin);
        registry.writeBool(kRecentDocs, recentDocuments);
        registry.writeString(kUserDirectories, JoinListText(lines));
        registry.writeBool(kUserSub, userSubFolders);
        registry.closeKey();
    } catch (const std::exception&) {
        registry.closeKey();
        CreateSettingsKey();
    }
}

void CreateSettingsKey() {
    Registry registry;
    registry.createKey(kSettingsKey);
    const std::wstring base = std::wstring(kSettingsKey) + L"\\";
    for (const wchar_t* subKey : kSubKeys)
        registry.createKey(base + subKey);
}

std::vector<std::wstring> GetUserFolderList(const std::vector<UserFolder>& folders) {
    std::vector<std::wstring> lines;
    lines.reserve(folders.size());
    for (const auto& folder : folders)
        lines.push_back(folder.ticked ? L"*" + folder.path : folder.path);
    return lines;
}

std::vector<UserFolder> SetUserFolderList(const std::vector<std::wstring>& lines) {
    std::vector<UserFolder> folders;
    for (const auto& line : lines) {
        const bool ticked = !line.empty() && line[0] == L'*';
        std::wstring path = ticked ? line.substr(1) : line;
        // The program never stores an empty entry; one from an edited value would be a
        // folder nobody can see or mean, so it is dropped.
        if (path.empty())
            continue;
        folders.push_back({std::move(path), ticked});
    }
    return folders;
}

std::wstring JoinListText(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text.append(line).append(L"\r\n");
    return text;
}

std::vector<std::wstring> SplitListText(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == L'\r' && start < text.size() && text[start] == L'\n')
            ++start;
    }
    return lines;
}

} // namespace engine
