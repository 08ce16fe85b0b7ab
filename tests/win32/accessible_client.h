#pragma once
// The tests' side of assistive technology: an accessible object held as a client holds it,
// child ids, and the properties the tests read.
#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <string>

namespace orvan::testing {

struct ComRelease {
    void operator()(IUnknown* object) const {
        if (object)
            object->Release();
    }
};
using Accessible = std::unique_ptr<IAccessible, ComRelease>;

inline VARIANT Child(long id) {
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// A child's name, "<none>" when it has none or the id is not a child.
inline std::wstring AccName(IAccessible* accessible, long id) {
    BSTR name = nullptr;
    if (FAILED(accessible->get_accName(Child(id), &name)) || !name)
        return L"<none>";
    std::wstring text(name, ::SysStringLen(name));
    ::SysFreeString(name);
    return text;
}

// The object of a window's client area, as a screen reader asks for it.
inline Accessible ClientObject(HWND window) {
    IAccessible* raw = nullptr;
    if (::AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                     reinterpret_cast<void**>(&raw)) != S_OK)
        return nullptr;
    return Accessible(raw);
}

} // namespace orvan::testing
