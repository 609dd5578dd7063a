// The structural check of shell-link files, against real shortcuts, damaged copies of
// them and the shell's own loader.
#include <gtest/gtest.h>

#include "shortcuts/ComPtr.h"
#include "shortcuts/LinkFormat.h"
#include "shortcuts/ShellLnk.h"
#include "tests/shortcuts/LinkCorpus.h"
#include "tests/support/TestSupport.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <functional>
#include <string_view>

using namespace shortcuts;
using linkcorpus::Bytes;

namespace {

// Whether the shell's own loader takes `bytes` when nothing checks them first.
bool shellLoads(const Bytes& bytes) {
    const ComInit com;
    ComPtr<IPersistStream> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream,
                                link.put())))
        return false;
    const ComPtr<IStream> stream(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
    return stream && SUCCEEDED(link->Load(stream.get()));
}

const std::vector<linkcorpus::Shortcut>& corpus() {
    static const std::vector<linkcorpus::Shortcut> shortcuts = linkcorpus::load();
    return shortcuts;
}

// A real shortcut with every part: item IDs, link information with a volume, Unicode
// strings and extra blocks (a property store among them).
Bytes fullLink() {
    for (const auto& shortcut : corpus())
        if (shortcut.name == "Win7\\Internet Explorer (No Add-ons).lnk")
            return shortcut.bytes;
    throw std::runtime_error("the full shortcut is missing from the corpus");
}

using linkcorpus::findField;
using linkcorpus::getField;
using linkcorpus::setField;

void setNamed(Bytes& link, const char* name, std::uint32_t value) {
    setField(link, findField(link, name), value);
}

void put32(Bytes& bytes, std::size_t at, std::size_t value) {
    setField(bytes, {"", at, 4}, static_cast<std::uint32_t>(value));
}
Bytes words(std::initializer_list<std::uint32_t> values) {
    Bytes bytes(4 * values.size());
    std::size_t at = 0;
    for (std::uint32_t value : values)
        put32(bytes, (at++) * 4, value);
    return bytes;
}
void appendAnsi(Bytes& to, std::string_view text) {
    to.insert(to.end(), text.begin(), text.end());
    to.push_back(0);
}
void appendWide(Bytes& to, std::wstring_view text) {
    for (wchar_t c : text)
        to.insert(to.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8)});
    to.insert(to.end(), {0, 0});
}

// Link information of a file in a shared folder of the machine itself, as Windows writes
// it: a volume and a local path, the share with its device and its Unicode names, and
// the long header with the Unicode offsets. The corpus has no such shortcut.
Bytes sharedFolderLinkInfo() {
    // Size, flags (device, provider), share, device, provider, Unicode share and device.
    Bytes share = words({0, 3, 0x1C, 0, 0x00020000, 0, 0});
    put32(share, 8, share.size());
    appendAnsi(share, "\\\\SERVER\\SHARED");
    put32(share, 12, share.size());
    appendAnsi(share, "Z:");
    put32(share, 20, share.size());
    appendWide(share, L"\\\\SERVER\\SHARED");
    put32(share, 24, share.size());
    appendWide(share, L"Z:");
    put32(share, 0, share.size());

    Bytes info = words({0, 0x24, 3, 0, 0, 0, 0, 0, 0});
    put32(info, 12, info.size());
    const Bytes volume = words({0x11, 3, 0x1234, 0x10}); // the empty label follows it
    info.insert(info.end(), volume.begin(), volume.end());
    info.push_back(0);
    put32(info, 16, info.size());
    appendAnsi(info, "C:\\Shared\\");
    put32(info, 20, info.size());
    info.insert(info.end(), share.begin(), share.end());
    put32(info, 24, info.size());
    appendAnsi(info, "tool.exe");
    put32(info, 28, info.size());
    appendWide(info, L"C:\\Shared\\");
    put32(info, 32, info.size());
    appendWide(info, L"tool.exe");
    put32(info, 0, info.size());
    return info;
}

} // namespace

TEST(LinkFormat, EveryCorpusLinkTheShellLoadsPasses) {
    int loaded = 0;
    for (const auto& shortcut : corpus()) {
        if (shortcut.name.rfind("Bad\\", 0) == 0) {
            EXPECT_FALSE(IsWellFormedLink(shortcut.bytes)) << shortcut.name;
        } else if (shellLoads(shortcut.bytes)) {
            ++loaded;
            EXPECT_TRUE(IsWellFormedLink(shortcut.bytes)) << shortcut.name;
        }
    }
    EXPECT_GE(loaded, 500);
}

TEST(LinkFormat, SharedFolderLinkInformationPasses) {
    Bytes link = fullLink();
    const auto info = findField(link, "LinkInfoSize");
    const auto begin = link.begin() + static_cast<std::ptrdiff_t>(info.offset);
    link.erase(begin, begin + getField(link, info));
    const Bytes shared = sharedFolderLinkInfo();
    link.insert(link.begin() + static_cast<std::ptrdiff_t>(info.offset), shared.begin(),
                shared.end());
    ASSERT_TRUE(shellLoads(link));
    EXPECT_TRUE(IsWellFormedLink(link));
}

TEST(LinkFormat, DamagedSizesFail) {
    ASSERT_TRUE(IsWellFormedLink(fullLink()));
    // The first two crash the shell's own loader on this very file; the next two are the
    // other kinds of damage that crashed it in damaged copies of the corpus.
    const std::pair<const char*, std::function<void(Bytes&)>> cases[] = {
        {"an item ID past the list", [](Bytes& b) { setNamed(b, "ItemIDSize", 0xFFFF); }},
        {"the volume moved into the path that follows it",
         [](Bytes& b) {
             setNamed(b, "VolumeIDOffset", getField(b, findField(b, "VolumeIDOffset")) + 8);
         }},
        {"the ID list ending inside an item", [](Bytes& b) { setNamed(b, "IDListSize", 10); }},
        {"the file cut inside the ID list", [](Bytes& b) { b.resize(0x4C + 40); }},
        {"an item ID of one byte", [](Bytes& b) { setNamed(b, "ItemIDSize", 1); }},
        {"the volume label past the volume",
         [](Bytes& b) { setNamed(b, "VolumeLabelOffset", 0xFFFF); }},
        {"link information smaller than its size field",
         [](Bytes& b) { setNamed(b, "LinkInfoSize", 3); }},
        {"a string past the file", [](Bytes& b) { setNamed(b, "CountCharacters", 0xFFFF); }},
        {"an extra block too small for its signature",
         [](Bytes& b) { setNamed(b, "BlockSize", 5); }},
        {"no terminal block", [](Bytes& b) { b.resize(b.size() - 4); }},
        {"more than the size read", [](Bytes& b) { b.resize(MaxLinkFileSize + 1); }},
    };
    for (const auto& [what, damage] : cases) {
        Bytes link = fullLink();
        damage(link);
        EXPECT_FALSE(IsWellFormedLink(link)) << what;
    }
    // Bytes after the terminal block are nobody's business, up to the size read.
    Bytes padded = fullLink();
    padded.resize(MaxLinkFileSize);
    EXPECT_TRUE(IsWellFormedLink(padded));
}

TEST(LinkFormat, WhatFailsNeverReachesTheShell) {
    // Cut short of its terminal block: a shortcut the shell alone would still load.
    Bytes cut = fullLink();
    cut.resize(cut.size() - 4);
    ASSERT_TRUE(shellLoads(cut));
    testsupport::TempTree tree(L"linkformat");
    testsupport::writeFile(tree.at(L"cut.lnk"), std::string(cut.begin(), cut.end()));
    try {
        TPBShellLink().LoadFromFile(tree.at(L"cut.lnk"));
        FAIL() << "the damaged shortcut loaded";
    } catch (const EPBShellLink& e) {
        EXPECT_STREQ(e.what(), "Read error.");
    }
}
