#pragma once
// The handle of a FindFirstFileExW search, closed with FindClose.
#include "win32/unique_handle.h"

#include <windows.h>

namespace orvan::platform {

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { FindClose(handle); }
};
using UniqueFindHandle = win32::UniqueHandle<FindHandleTraits>;

} // namespace orvan::platform
