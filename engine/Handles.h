#pragma once
// Owning handle wrappers: one template for every kind of handle, and the kernel handles the
// engine uses. Non-copyable, movable.
#include <windows.h>

#include <utility>

namespace engine {

// One owned handle. `Traits` names the handle type, the value that means "none", which
// values hold something, and how to close one.
template <class Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, Traits::none())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.handle_, Traits::none()));
        return *this;
    }
    ~UniqueHandle() { close(); }

    bool valid() const { return Traits::holds(handle_); }
    explicit operator bool() const { return valid(); }
    Handle get() const { return handle_; }
    // Closes the handle now; returns whether that succeeded (true when there was none).
    bool close() {
        const Handle h = std::exchange(handle_, Traits::none());
        return !Traits::holds(h) || Traits::close(h);
    }
    void reset(Handle h = Traits::none()) {
        close();
        handle_ = h;
    }

private:
    Handle handle_ = Traits::none();
};

// A handle from CreateFile and friends; INVALID_HANDLE_VALUE and null both mean "none".
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle none() { return nullptr; }
    static bool holds(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool close(Handle h) { return CloseHandle(h) != FALSE; }
};
using FileHandle = UniqueHandle<KernelHandleTraits>;

} // namespace engine
