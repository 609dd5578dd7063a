#pragma once
// Read access to shortcut files (".lnk") through the shell's own shell-link object.
// Only the file's structure is checked here (LinkFormat.h), before the shell sees it;
// what the shortcut holds is read by the shell alone, and it is never resolved.
#include "shortcuts/FileIcon.h"
#include "shortcuts/Persistent.h"
#include "shortcuts/ShellFolders.h"

#include <array>
#include <cstdint>
#include <string>

namespace shortcuts {

class EPBShellLink : public Exception {
public:
    using Exception::Exception;
};

enum TShellFolder : std::uint8_t {
    sfNone,
    sfDesktop,
    sfFavorites,
    sfFonts,
    sfPersonal,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates,
};

// Value names under the current user's "Shell Folders" key; sfNone has none.
inline constexpr std::array<const wchar_t*, 11> ShellFolderValueNames = {
    L"",       L"Desktop", L"Favorites",  L"Fonts",   L"Personal",  L"Programs",
    L"Recent", L"SendTo",  L"Start Menu", L"Startup", L"Templates",
};

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Key code in the low byte plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
using TShortCut = std::uint16_t;

// The fixed failure messages.
inline constexpr const char* LinkNotFoundMessage = "Link not found.";
inline constexpr const char* CreateFailedMessage = "\"CoCreateInstance\" failed.";
inline constexpr const char* QueryFailedMessage = "\"PersistFile QueryInterface\" failed.";
inline constexpr const char* ReadErrorMessage = "Read error.";

class TPBShellLink {
public:
    TPBShellLink() = default;
    TPBShellLink(const TPBShellLink&) = delete;
    TPBShellLink& operator=(const TPBShellLink&) = delete;
    virtual ~TPBShellLink() = default;

    // Loads the shortcut named by FileName; "Link not found." when that is no file.
    void Load();
    // Loads the named shortcut without touching FileName. On failure nothing changes.
    void LoadFromFile(const std::wstring& fileName);

    const std::wstring& Arguments() const { return arguments_; }
    void SetArguments(const std::wstring& value) { arguments_ = value; }
    const std::wstring& Description() const { return description_; }
    void SetDescription(const std::wstring& value) { description_ = value; }
    TFileIcon& FileIcon() { return fileIcon_; }
    const TFileIcon& FileIcon() const { return fileIcon_; }
    void SetFileIcon(const TPersistent& source) { fileIcon_.Assign(source); }
    TShortCut HotKey() const;
    // A key code above 255 cannot be stored in a shortcut: such a write changes nothing.
    void SetHotKey(TShortCut value);
    const std::wstring& FileName() const { return fileName_; }
    // Normalises to a ".lnk" name, re-based into ShellFolder when one is set.
    void SetFileName(const std::wstring& value);
    const std::wstring& Target() const { return target_; }
    void SetTarget(const std::wstring& value) { target_ = value; }
    // Show codes other than 1, 3 and 7 read as their nearest state (see the .cpp).
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    const std::wstring& WorkingDir() const { return workingDir_; }
    void SetWorkingDir(const std::wstring& value) { workingDir_ = value; }
    TShellFolder ShellFolder() const { return shellFolder_; }
    void SetShellFolder(TShellFolder value);

    int ShowCmd() const { return showCmd_; }
    std::uint16_t HotKeyCode() const { return hotKeyCode_; }

private:
    std::wstring fileName_;
    std::wstring target_;
    std::wstring workingDir_;
    std::wstring description_;
    std::wstring arguments_;
    int showCmd_ = 0;
    std::uint16_t hotKeyCode_ = 0;
    TFileIcon fileIcon_;
    TShellFolder shellFolder_ = sfNone;
};

// Path helpers shared with the scan: the text after the last "\" or ":", and the text
// from the last "." when no "\" or ":" follows it.
std::wstring ExtractFileName(const std::wstring& path);
std::wstring ExtractFileExt(const std::wstring& path);
std::wstring AsciiUpper(std::wstring text);
std::wstring AsciiLower(std::wstring text);
// The path stored under "Shell Folders" for `folder` ("" when missing); a value of the
// wrong type raises the registry's "Invalid data type for '%s'".
std::wstring ShellFolderPath(TShellFolder folder);

} // namespace shortcuts
