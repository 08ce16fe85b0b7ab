#include "ui/accessible_base.h"

#include "win32/wide_text.h"

namespace orvan::ui {

BSTR MakeBstr(const std::wstring& text) {
    return ::SysAllocStringLen(text.data(), UINT(text.size()));
}

BSTR MakeBstr(const std::string& text) {
    return MakeBstr(win32::Wide(text));
}

VARIANT ChildVariant(long id) {
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

long NavigateAmongChildren(long direction, long from, long count, bool vertical) {
    const long next = vertical ? NAVDIR_DOWN : NAVDIR_RIGHT;
    const long previous = vertical ? NAVDIR_UP : NAVDIR_LEFT;
    if (direction == NAVDIR_FIRSTCHILD)
        return from == -1 && count > 0 ? 0 : -1;
    if (direction == NAVDIR_LASTCHILD)
        return from == -1 && count > 0 ? count - 1 : -1;
    if (direction == NAVDIR_NEXT || direction == next)
        return from >= 0 && from + 1 < count ? from + 1 : -1;
    if (direction == NAVDIR_PREVIOUS || direction == previous)
        return from > 0 ? from - 1 : -1;
    return -2;
}

HRESULT STDMETHODCALLTYPE AccessibleBase::QueryInterface(REFIID riid, void** object) {
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AccessibleBase::Release() {
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE AccessibleBase::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleBase::get_accHelp(VARIANT, BSTR* help) {
    if (help)
        *help = nullptr;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleBase::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file)
        *file = nullptr;
    if (topic)
        *topic = 0;
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleBase::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
    if (shortcut)
        *shortcut = nullptr;
    return S_FALSE;
}

HRESULT AccessibleBase::Navigate(long direction, long from, long count, bool vertical,
                                 VARIANT* end) {
    const long target = NavigateAmongChildren(direction, from, count, vertical);
    if (target == -2)
        return E_NOTIMPL;
    if (target < 0)
        return S_FALSE;
    *end = ChildVariant(target + 1);
    return S_OK;
}

} // namespace orvan::ui
