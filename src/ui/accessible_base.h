#pragma once
// What the accessible objects of the program's own controls share: reference counting and
// the least of IDispatch, the properties none of them has (help, shortcut, writable name and
// value), text and child-id helpers, and moving among children laid out in a line.
#include <windows.h>

#include <oleacc.h>

#include <string>

namespace orvan::ui {

BSTR MakeBstr(const std::wstring& text);
BSTR MakeBstr(const std::string& text); // UTF-8

// A child id (or CHILDID_SELF) as the interface passes it.
VARIANT ChildVariant(long id);

// Where a NAVDIR_ direction leads from `from` (-1 for the object itself, else a child's
// 0-based index) among `count` children laid out in a column (vertical) or in a row: the
// child's index, -1 when there is none that way, -2 for a direction that does not apply.
long NavigateAmongChildren(long direction, long from, long count, bool vertical);

class AccessibleBase : public IAccessible {
public:
    virtual ~AccessibleBase() = default;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: none beyond the minimum.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // The properties none of the controls has.
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

protected:
    // accNavigate among simple children by NavigateAmongChildren; `from` as there, -2 for an
    // invalid start.
    static HRESULT Navigate(long direction, long from, long count, bool vertical, VARIANT* end);

private:
    ULONG references_ = 1;
};

} // namespace orvan::ui
