#include "shortcuts/ShellLnk.h"

#include "shortcuts/ComPtr.h"
#include "shortcuts/LinkFile.h"
#include "shortcuts/ShellFolders.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace shortcuts {

std::wstring ExtractFileName(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\:");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring ExtractFileExt(const std::wstring& path) {
    const auto dot = path.find_last_of(L".\\:");
    if (dot == std::wstring::npos || path[dot] != L'.')
        return {};
    return path.substr(dot);
}

std::wstring AsciiUpper(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

std::wstring AsciiLower(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

std::wstring ShellFolderPath(TShellFolder folder) {
    return ReadShellFolder(ShellFolderValueNames.at(folder));
}

void TPBShellLink::SetFileName(const std::wstring& value) {
    if (value == fileName_)
        return;
    std::wstring name = value;
    if (shellFolder_ != sfNone)
        name = ShellFolderPath(shellFolder_) + L"\\" + ExtractFileName(name);
    if (AsciiUpper(ExtractFileExt(name)) != L".LNK")
        name += L".lnk";
    if (AsciiUpper(ExtractFileName(name)) == L".LNK")
        name.clear();
    fileName_ = std::move(name);
}

void TPBShellLink::SetShellFolder(TShellFolder value) {
    if (value == shellFolder_)
        return;
    shellFolder_ = value;
    if (value != sfNone)
        fileName_ = ShellFolderPath(value) + L"\\" + ExtractFileName(fileName_);
}

TShortCut TPBShellLink::HotKey() const {
    const unsigned modifiers = hotKeyCode_ >> 8;
    unsigned result = hotKeyCode_ & 0xFF;
    if (modifiers & HOTKEYF_SHIFT)
        result += 0x2000;
    if (modifiers & HOTKEYF_CONTROL)
        result += 0x4000;
    if (modifiers & HOTKEYF_ALT)
        result += 0x8000;
    return static_cast<TShortCut>(result);
}

void TPBShellLink::SetHotKey(TShortCut value) {
    const unsigned key = value & ~0xE000u;
    // A shortcut stores a one-byte key code; truncating would silently bind another key.
    if (key > 0xFF)
        return;
    unsigned modifiers = 0;
    if (value & 0x2000)
        modifiers |= HOTKEYF_SHIFT;
    if (value & 0x4000)
        modifiers |= HOTKEYF_CONTROL;
    if (value & 0x8000)
        modifiers |= HOTKEYF_ALT;
    hotKeyCode_ = static_cast<std::uint16_t>((modifiers << 8) | key);
}

TWindowState TPBShellLink::WindowState() const {
    switch (showCmd_) {
    case SW_SHOWMAXIMIZED:
        return wsMaximized;
    // Every code that shows the window minimised reads as minimised; anything else
    // (0 of a never-loaded component, SW_SHOW, SW_RESTORE...) opens a normal window.
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        return wsMinimized;
    default:
        return wsNormal;
    }
}

void TPBShellLink::SetWindowState(TWindowState value) {
    switch (value) {
    case wsNormal:
        showCmd_ = SW_SHOWNORMAL;
        break;
    case wsMinimized:
        showCmd_ = SW_SHOWMINNOACTIVE;
        break;
    case wsMaximized:
        showCmd_ = SW_SHOWMAXIMIZED;
        break;
    }
}

void TPBShellLink::Load() {
    const DWORD attributes =
        fileName_.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(fileName_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw EPBShellLink(LinkNotFoundMessage);
    LoadFromFile(fileName_);
}

namespace {

// Reads one text of the shortcut into a buffer of `size` characters.
template <class Read> std::wstring readSized(Read read, int size) {
    std::vector<wchar_t> buffer(static_cast<size_t>(size) + 1, L'\0');
    read(buffer.data(), size);
    buffer.back() = L'\0';
    return buffer.data();
}

// The usual MAX_PATH buffer first; a text that fills it may have been cut, so it is read
// again into a buffer large enough for any path.
template <class Read> std::wstring readText(Read read) {
    std::wstring text = readSized(read, MAX_PATH);
    if (text.size() < static_cast<size_t>(MAX_PATH) - 1)
        return text;
    return readSized(read, 32768);
}

} // namespace

void TPBShellLink::LoadFromFile(const std::wstring& fileName) {
    const ComInit com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put())))
        throw EPBShellLink(CreateFailedMessage);
    // The object is loaded from a stream of checked bytes rather than by file name.
    ComPtr<IPersistStream> persist;
    if (FAILED(link->QueryInterface(IID_IPersistStream, persist.put())))
        throw EPBShellLink(QueryFailedMessage);

    // The shell's loader trusts the file's sizes: a damaged shortcut must never reach it.
    if (!LoadCheckedLink(persist.get(), fileName))
        throw EPBShellLink(ReadErrorMessage);

    // Everything is read into locals first, so a failure while reading changes nothing.
    std::wstring description =
        readText([&](wchar_t* text, int size) { link->GetDescription(text, size); });
    // No find-data record: its contents would be discarded, and filling it costs Wine a
    // look-up of the target that takes most of the time of a load.
    std::wstring target = readText(
        [&](wchar_t* text, int size) { link->GetPath(text, size, nullptr, SLGP_UNCPRIORITY); });
    std::wstring workingDir =
        readText([&](wchar_t* text, int size) { link->GetWorkingDirectory(text, size); });
    std::wstring arguments =
        readText([&](wchar_t* text, int size) { link->GetArguments(text, size); });
    int showCmd = 0;
    link->GetShowCmd(&showCmd);
    WORD hotKey = 0;
    link->GetHotkey(&hotKey);
    int iconIndex = 0;
    std::wstring iconFile = readText([&](wchar_t* text, int size) {
        int index = 0;
        link->GetIconLocation(text, size, &index);
        iconIndex = index;
    });

    description_ = std::move(description);
    target_ = std::move(target);
    workingDir_ = std::move(workingDir);
    arguments_ = std::move(arguments);
    showCmd_ = showCmd;
    hotKeyCode_ = hotKey;
    fileIcon_.SetFileName(iconFile);
    fileIcon_.SetIconIndex(iconIndex);
}

} // namespace shortcuts
