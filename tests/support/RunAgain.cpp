#include "tests/support/TestSupport.h"

#include <cstdio>
#include <vector>

namespace testsupport {

namespace {
// An inheritable copy of one of our standard handles, closed at the end.
struct InheritedHandle {
    HANDLE handle = nullptr;
    explicit InheritedHandle(DWORD which) {
        const HANDLE own = GetStdHandle(which);
        if (own && own != INVALID_HANDLE_VALUE)
            DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &handle, 0, TRUE,
                            DUPLICATE_SAME_ACCESS);
    }
    InheritedHandle(const InheritedHandle&) = delete;
    InheritedHandle& operator=(const InheritedHandle&) = delete;
    ~InheritedHandle() {
        if (handle)
            CloseHandle(handle);
    }
};
} // namespace

int runThisProgramAgain(const std::wstring& arguments, DWORD timeoutMs) {
    std::vector<wchar_t> exe(MAX_PATH * 4, L'\0');
    GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    std::wstring commandLine = L"\"" + std::wstring(exe.data()) + L"\" " + arguments;
    // Our own output first, so the two do not interleave.
    std::fflush(stdout);
    std::fflush(stderr);
    InheritedHandle input(STD_INPUT_HANDLE), output(STD_OUTPUT_HANDLE), error(STD_ERROR_HANDLE);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.handle;
    startup.hStdOutput = output.handle;
    startup.hStdError = error.handle;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.data(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 255);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace testsupport
