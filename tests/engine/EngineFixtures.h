#pragma once
// Fixtures for the engine's tests: links to folders, the current folder.
#include <windows.h>

#include <string>

namespace enginetest {

// A symbolic link `link` to the folder `target`, removed (the link only) at the end.
// Under Wine it is a Unix symbolic link, which Wine reports as a reparse-point folder.
class FolderLink {
public:
    FolderLink(const std::wstring& link, const std::wstring& target);
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;
    ~FolderLink();
    bool made() const { return made_; }

private:
    std::wstring link_;
    bool made_ = false;
};

// Wine's Unix name of a Windows path "X:\...", or "" when not running under Wine.
std::wstring unixPathOf(const std::wstring& windowsPath);

// Sets the process's current folder for the life of the object.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring& path);
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    ~CurrentFolder();

private:
    std::wstring previous_;
};

} // namespace enginetest
