// The test bench itself: no test may reach the host's file system through a drive.
#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

#include <windows.h>

#include <cstdio>

TEST(Sandbox, NoDriveMapsTheHostRoot) {
    // The prefix's z: drive (the host's /) is removed, and no other letter maps it.
    EXPECT_EQ(GetLogicalDrives() & (1u << (L'Z' - L'A')), 0u);
    wchar_t path[MAX_PATH];
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        std::swprintf(path, std::size(path), L"%lc:\\etc\\passwd", letter);
        EXPECT_FALSE(testsupport::pathExists(path)) << path;
    }
}

TEST(Sandbox, HostSystemFoldersCannotBeWritten) {
    // Wine still knows the host's files by their Unix names; the ordinary test user may
    // not change them.
    HANDLE h = CreateFileW(L"\\\\?\\unix\\etc\\brightsweep-probe", GENERIC_WRITE, 0, nullptr,
                           CREATE_NEW, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        DeleteFileW(L"\\\\?\\unix\\etc\\brightsweep-probe");
    }
}

TEST(Sandbox, DriveTypesAreConfigured) {
    EXPECT_EQ(GetDriveTypeW(L"c:\\"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(GetDriveTypeW(L"d:\\"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(GetDriveTypeW(L"e:\\"), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_EQ(GetDriveTypeW(L"f:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_EQ(GetDriveTypeW(L"n:\\"), static_cast<UINT>(DRIVE_REMOTE));
}

TEST(Sandbox, ReadOnlyFilesRefuseExclusiveWriting) {
    // Wine runs as an ordinary user: as root it would open read-only files for writing.
    testsupport::TempTree tree(L"sandbox");
    const std::wstring file = tree.file(L"ro.txt");
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
}
