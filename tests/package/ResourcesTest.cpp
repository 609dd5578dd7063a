// The exe says who made it and which version it is, names the oldest Windows it runs on,
// carries exactly one manifest that Windows accepts, and has its icon in every size
// Explorer asks for.
#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The exe under test: the first program argument naming an .exe (its path inside the prefix).
std::wstring exePath() {
    return testsupport::argumentEndingWith(L".exe");
}

std::wstring queryString(const std::vector<wchar_t>& block, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        length == 0)
        return L"<missing>";
    return std::wstring(value);
}

class ExeResources : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(exePath().empty()) << L"pass the exe to check as the first argument";
        module_ = LoadLibraryExW(exePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
};

BOOL CALLBACK countName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<ULONG_PTR>*>(param);
    names->push_back(IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : ~ULONG_PTR{0});
    return TRUE;
}

BOOL CALLBACK countLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR param) {
    ++*reinterpret_cast<int*>(param);
    return TRUE;
}

} // namespace

TEST(VersionResource, NamesProductCompanyAndTheProjectVersion) {
    const std::wstring exe = exePath();
    ASSERT_FALSE(exe.empty());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << L"no version resource";
    std::vector<wchar_t> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD ms = MAKELONG(BS_VERSION_MINOR, BS_VERSION_MAJOR);
    const DWORD ls = MAKELONG(0, BS_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, ms);
    EXPECT_EQ(fixed->dwFileVersionLS, ls);
    EXPECT_EQ(fixed->dwProductVersionMS, ms);
    EXPECT_EQ(fixed->dwProductVersionLS, ls);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & VS_FF_DEBUG, 0u);

    // The string table Explorer reads is the one the translation list names.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1252);

    EXPECT_EQ(queryString(block, L"ProductName"), L"Brightsweep");
    EXPECT_EQ(queryString(block, L"CompanyName"), L"Quellmoor Software");
    EXPECT_EQ(queryString(block, L"FileVersion"), L"" BS_VERSION);
    EXPECT_EQ(queryString(block, L"ProductVersion"), L"" BS_VERSION);
    EXPECT_EQ(queryString(block, L"OriginalFilename"), L"brightsweep.exe");
    // Task Manager lists the running program by its description.
    EXPECT_EQ(queryString(block, L"FileDescription"), L"Brightsweep");
    EXPECT_EQ(queryString(block, L"LegalCopyright"),
              L"Copyright \u00A9 " BS_COPYRIGHT_YEAR L" Quellmoor Software");
}

TEST(ExeHeader, NamesVistaAsTheOldestWindowsAndCarriesNoSymbols) {
    std::ifstream in(exePath().c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    IMAGE_DOS_HEADER dos{};
    ASSERT_GE(bytes.size(), sizeof dos);
    std::memcpy(&dos, bytes.data(), sizeof dos);
    IMAGE_NT_HEADERS32 nt{};
    ASSERT_GE(bytes.size(), static_cast<size_t>(dos.e_lfanew) + sizeof nt);
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
    ASSERT_EQ(nt.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));

    // The program uses Vista's entry points: an older Windows must refuse it outright rather
    // than start it and fail on a missing import.
    EXPECT_EQ(nt.OptionalHeader.MajorSubsystemVersion, 6);
    EXPECT_EQ(nt.OptionalHeader.MinorSubsystemVersion, 0);
    EXPECT_EQ(nt.OptionalHeader.MajorOperatingSystemVersion, 6);
    EXPECT_EQ(nt.OptionalHeader.MinorOperatingSystemVersion, 0);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(nt.FileHeader.PointerToSymbolTable, 0u) << L"not stripped";
    EXPECT_EQ(nt.FileHeader.NumberOfSymbols, 0u);
}

TEST_F(ExeResources, CarryOneManifestForTheLoader) {
    // A second manifest (for instance the toolchain's default one) would make the
    // loader's choice a matter of luck.
    std::vector<ULONG_PTR> names;
    EnumResourceNamesW(module_, RT_MANIFEST, countName, reinterpret_cast<LONG_PTR>(&names));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], ULONG_PTR{1});
    int languages = 0;
    EnumResourceLanguagesW(module_, RT_MANIFEST, MAKEINTRESOURCEW(1), countLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, 1);
}

TEST_F(ExeResources, ManifestRunsAsInvokerClassicLookAndPerMonitorDpiAware) {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    HGLOBAL loaded = LoadResource(module_, found);
    ASSERT_NE(loaded, nullptr);
    // The manifest is UTF-8 text.
    const std::string text(static_cast<const char*>(LockResource(loaded)),
                           SizeofResource(module_, found));

    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(text.find("requireAdministrator"), std::string::npos);
    EXPECT_EQ(text.find("highestAvailable"), std::string::npos);
    // Vista, 7, 8, 8.1 and 10/11.
    for (const char* id :
         {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(text.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos)
            << id;
    EXPECT_EQ(text.find("Microsoft.Windows.Common-Controls"), std::string::npos)
        << "visual styles switched on";
    // Per-monitor aware: version 2 where Windows has it, else version 1, else system aware.
    EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(text.find("SMI/2016/WindowsSettings\">PerMonitorV2,PerMonitor</dpiAwareness>"),
              std::string::npos);
    EXPECT_NE(text.find("version=\"" BS_VERSION ".0\""), std::string::npos);
}

TEST(Manifest, IsAcceptedByTheActivationContextParser) {
    // The loader parses the same resource when the program starts; a malformed manifest
    // stops the program from starting at all on Windows.
    const std::wstring exe = exePath();
    ACTCTXW context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = exe.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE handle = CreateActCtxW(&context);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE) << GetLastError();
    if (handle != INVALID_HANDLE_VALUE)
        ReleaseActCtx(handle);
}

TEST_F(ExeResources, IconComesInEverySizeWindowsAsksForWithTheLargestAsPng) {
    HRSRC group = FindResourceW(module_, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr) << L"the program icon must be the first icon group";
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, group)));
    ASSERT_NE(data, nullptr);
    // GRPICONDIR: reserved, type, count; then 14-byte entries (width 0 means 256).
    const WORD count = *reinterpret_cast<const WORD*>(data + 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = data + 6 + 14 * i;
        EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32) << L"bits per pixel";
        const int size = entry[0] == 0 ? 256 : entry[0];
        sizes.push_back(size);
        // Windows reads the 256-pixel image as PNG; stored as a bitmap it takes 256 KiB.
        const WORD id = *reinterpret_cast<const WORD*>(entry + 12);
        HRSRC image = FindResourceW(module_, MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_NE(image, nullptr) << size;
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module_, image)));
        EXPECT_EQ(std::memcmp(bytes, "\x89PNG", 4) == 0, size == 256) << size;
    }
    const std::vector<int> expected = {16, 20, 24, 32, 40, 48, 64, 256};
    EXPECT_EQ(sizes, expected);

    for (int size : expected) {
        HICON icon =
            static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size;
        if (icon)
            DestroyIcon(icon);
    }
    // What Explorer shows for the file.
    EXPECT_GE(ExtractIconExW(exePath().c_str(), -1, nullptr, nullptr, 0), 1u);
}
