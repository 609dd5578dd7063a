#pragma once
// Scoped COM initialisation and interface ownership for the shell-link reads.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace shortcuts {

// Balances one CoInitialize on the calling thread. Only a successful call (S_OK, or
// S_FALSE when the thread already held COM) is undone: a refused one added no count.
class ComInit {
public:
    ComInit() : result_(CoInitialize(nullptr)) {}
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;
    ~ComInit() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

private:
    HRESULT result_;
};

// Owns one reference to an interface and releases it on every way out.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference handed out by a creating call (null holds nothing).
    explicit ComPtr(T* owned) : ptr_(owned) {}
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    // For the out parameter of CoCreateInstance / QueryInterface; drops what was held.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&ptr_);
    }
    void reset() {
        if (ptr_)
            std::exchange(ptr_, nullptr)->Release();
    }

private:
    T* ptr_ = nullptr;
};

} // namespace shortcuts
