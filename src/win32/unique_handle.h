#pragma once
// A move-only owner for one OS handle. Traits name the handle type, the value that means
// "none" and how to close it, so each kind of handle gets its own type and a find handle
// can never reach CloseHandle by mistake.
#include <utility>

namespace orvan::win32 {

template <typename Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    // Gives the handle up without closing it.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    // Closes the current handle (unless it is the one given) and takes the new one.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (handle == handle_)
            return;
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

} // namespace orvan::win32
