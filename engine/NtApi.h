#pragma once
// The few native (ntdll) calls and structures the folder wipe needs to open, list and delete
// entries relative to an open folder. Declared here under names of their own, so that they
// clash with no SDK header, and looked up in ntdll once, at first use.
#include <windows.h>

#include <cstddef>

namespace engine::nt {

using Status = LONG;
constexpr Status kSuccess = 0;
constexpr Status kNoMoreFiles = static_cast<Status>(0x80000006L);

struct UnicodeString {
    USHORT length; // in bytes, without a terminator
    USHORT maximumLength;
    PWSTR buffer;
};

struct ObjectAttributes {
    ULONG length;
    HANDLE rootDirectory;
    UnicodeString* objectName;
    ULONG attributes;
    PVOID securityDescriptor;
    PVOID securityQualityOfService;
};

struct IoStatusBlock {
    union {
        Status status;
        PVOID pointer;
    };
    ULONG_PTR information;
};

// NtCreateFile's disposition and options.
constexpr ULONG kFileOpen = 1;
constexpr ULONG kDirectoryFile = 0x00000001;
constexpr ULONG kSynchronousIoNonAlert = 0x00000020;
constexpr ULONG kNonDirectoryFile = 0x00000040;
constexpr ULONG kOpenReparsePoint = 0x00200000;

// Information classes.
constexpr ULONG kObjectNameInformation = 1; // NtQueryObject's
constexpr ULONG kFileInternalInformation = 6;
constexpr ULONG kFileDispositionInformation = 13;
constexpr ULONG kFileAttributeTagInformation = 35;
constexpr ULONG kFileIdFullDirectoryInformation = 38;

struct FileIdFullDirInformation {
    ULONG nextEntryOffset;
    ULONG fileIndex;
    LARGE_INTEGER creationTime;
    LARGE_INTEGER lastAccessTime;
    LARGE_INTEGER lastWriteTime;
    LARGE_INTEGER changeTime;
    LARGE_INTEGER endOfFile;
    LARGE_INTEGER allocationSize;
    ULONG fileAttributes;
    ULONG fileNameLength; // in bytes
    ULONG eaSize;
    LARGE_INTEGER fileId;
    WCHAR fileName[1];
};
static_assert(offsetof(FileIdFullDirInformation, fileId) == 72);
static_assert(offsetof(FileIdFullDirInformation, fileName) == 80);

struct FileInternalInformation {
    LARGE_INTEGER indexNumber;
};

struct FileAttributeTagInformation {
    ULONG fileAttributes;
    ULONG reparseTag;
};

struct FileDispositionInformation {
    BOOLEAN deleteFile;
};

// The calls, as ntdll exports them; null when ntdll lacks one.
struct Api {
    Status(NTAPI* createFile)(PHANDLE handle, ACCESS_MASK access, ObjectAttributes* attributes,
                              IoStatusBlock* io, PLARGE_INTEGER allocationSize,
                              ULONG fileAttributes, ULONG shareAccess, ULONG disposition,
                              ULONG options, PVOID eaBuffer, ULONG eaLength);
    Status(NTAPI* queryDirectoryFile)(HANDLE handle, HANDLE event, PVOID apcRoutine,
                                      PVOID apcContext, IoStatusBlock* io, PVOID buffer,
                                      ULONG length, ULONG informationClass,
                                      BOOLEAN returnSingleEntry, UnicodeString* fileName,
                                      BOOLEAN restartScan);
    Status(NTAPI* queryInformationFile)(HANDLE handle, IoStatusBlock* io, PVOID buffer,
                                        ULONG length, ULONG informationClass);
    Status(NTAPI* setInformationFile)(HANDLE handle, IoStatusBlock* io, PVOID buffer, ULONG length,
                                      ULONG informationClass);
    // Fills a UnicodeString followed by the text it points to.
    Status(NTAPI* queryObject)(HANDLE handle, ULONG informationClass, PVOID buffer, ULONG length,
                               PULONG returnedLength);
    // Wine's ntdll exports wine_get_version; Windows' does not.
    bool wine;

    bool complete() const {
        return createFile && queryDirectoryFile && queryInformationFile && setInformationFile &&
               queryObject;
    }
};

// The calls, looked up once.
const Api& Ntdll();

} // namespace engine::nt
