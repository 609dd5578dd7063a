#pragma once
// Fixtures for the engine's tests: files held open, attribute bits, links to folders.
#include <windows.h>

#include <string>

namespace enginetest {

// Keeps a file open, with every kind of sharing, for the life of the object.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path);
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    ~HeldOpen();
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

DWORD attributesOf(const std::wstring& path);
void setAttributes(const std::wstring& path, DWORD attributes);

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

// Wine's Unix name of a Windows path, or "" when not running under Wine.
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
