#pragma once
// COM for the adapters: an interface pointer released at the end of its scope, and the
// calling thread made an apartment for as long as it is needed.
#include <windows.h>

#include <objbase.h>

namespace orvan::win32 {

template <typename Interface> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (pointer_ != nullptr)
            pointer_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // Where a call that hands out an interface puts it, typed or as QueryInterface wants.
    Interface** Address() { return &pointer_; }
    void** Out() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

// Makes the calling thread a COM apartment for as long as it lives, unless it is one
// already; the window program's thread is, a test's or a tool's need not be.
class ComApartment {
public:
    ComApartment()
        : initialized_(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialized_)
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

} // namespace orvan::win32
