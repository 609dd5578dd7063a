#pragma once
// Owning wrappers for the kernel handles the engine uses. Non-copyable, movable.
#include <windows.h>

#include <utility>

namespace engine {

// A handle from CreateFile and friends; INVALID_HANDLE_VALUE and null both mean "none".
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : handle_(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~FileHandle() { reset(); }

    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, nullptr); }
    // Closes the handle now; returns what CloseHandle said (true when there was none).
    bool close() {
        if (!valid()) {
            handle_ = nullptr;
            return true;
        }
        return CloseHandle(std::exchange(handle_, nullptr)) != FALSE;
    }
    void reset(HANDLE h = nullptr) {
        close();
        handle_ = h;
    }

private:
    HANDLE handle_ = nullptr;
};

// A directory enumeration. The first entry comes with the start, as the API gives it.
class FindHandle {
public:
    FindHandle() = default;
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    FindHandle(FindHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    FindHandle& operator=(FindHandle&& other) noexcept {
        if (this != &other) {
            close();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    ~FindHandle() { close(); }

    // Starts listing `pattern`; false when nothing can be listed (then there is nothing to close).
    bool first(const char* pattern, WIN32_FIND_DATAA& entry) {
        close();
        handle_ = FindFirstFileA(pattern, &entry);
        return handle_ != INVALID_HANDLE_VALUE;
    }
    bool next(WIN32_FIND_DATAA& entry) {
        return handle_ != INVALID_HANDLE_VALUE && FindNextFileA(handle_, &entry) != FALSE;
    }
    bool open() const { return handle_ != INVALID_HANDLE_VALUE; }
    void close() {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(std::exchange(handle_, INVALID_HANDLE_VALUE));
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

} // namespace engine
