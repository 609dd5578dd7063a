#pragma once
// Read access to shortcut files (".lnk") through the shell's own shell-link object.
// Only the file's structure is checked here (LinkFormat.h), before the shell sees it;
// what the shortcut holds is read by the shell alone, and it is never resolved.
#include "shortcuts/FileIcon.h"
#include "shortcuts/Persistent.h"

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
inline constexpr std::array<const char*, 11> ShellFolderValueNames = {
    "",       "Desktop", "Favorites",  "Fonts",   "Personal",  "Programs",
    "Recent", "SendTo",  "Start Menu", "Startup", "Templates",
};
inline constexpr const char* ShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

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
    void LoadFromFile(const std::string& fileName);

    const std::string& Arguments() const { return arguments_; }
    void SetArguments(const std::string& value) { arguments_ = value; }
    const std::string& Description() const { return description_; }
    void SetDescription(const std::string& value) { description_ = value; }
    TFileIcon& FileIcon() { return fileIcon_; }
    const TFileIcon& FileIcon() const { return fileIcon_; }
    void SetFileIcon(const TPersistent& source) { fileIcon_.Assign(source); }
    TShortCut HotKey() const;
    // A key code above 255 cannot be stored in a shortcut: such a write changes nothing.
    void SetHotKey(TShortCut value);
    const std::string& FileName() const { return fileName_; }
    // Normalises to a ".lnk" name, re-based into ShellFolder when one is set.
    void SetFileName(const std::string& value);
    const std::string& Target() const { return target_; }
    void SetTarget(const std::string& value) { target_ = value; }
    // Show codes other than 1, 3 and 7 read as their nearest state (see the .cpp).
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    const std::string& WorkingDir() const { return workingDir_; }
    void SetWorkingDir(const std::string& value) { workingDir_ = value; }
    TShellFolder ShellFolder() const { return shellFolder_; }
    void SetShellFolder(TShellFolder value);

    int ShowCmd() const { return showCmd_; }
    std::uint16_t HotKeyCode() const { return hotKeyCode_; }

private:
    std::string fileName_;
    std::string target_;
    std::string workingDir_;
    std::string description_;
    std::string arguments_;
    int showCmd_ = 0;
    std::uint16_t hotKeyCode_ = 0;
    TFileIcon fileIcon_;
    TShellFolder shellFolder_ = sfNone;
};

// Path helpers shared with the scan: the text after the last "\" or ":", and the text
// from the last "." when no "\" or ":" follows it.
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);
std::string AsciiUpper(std::string text);
std::string AsciiLower(std::string text);
// The path stored under "Shell Folders" for `folder` ("" when missing); a value of the
// wrong type raises the registry's "Invalid data type for '%s'".
std::string ShellFolderPath(TShellFolder folder);

} // namespace shortcuts
