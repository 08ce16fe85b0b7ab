#include "captions.h"

#include "ui_fixture.h"

#include "core/language/language_file.h"
#include "core/robot/version.h"
#include "win32/wide_text.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvan::testing {

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    const LRESULT length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(std::size_t(length) + 1, L'\0');
    ::SendMessageW(window, WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

void AddControl(HWND window, const std::wstring& name, std::vector<ShownText>& out) {
    const std::wstring kind = ClassOf(window);
    const std::wstring where =
        name + L" / " + kind + L" " + std::to_wstring(::GetDlgCtrlID(window));
    if (kind == L"Edit" || kind == L"msctls_hotkey32" || kind == L"ListBox" ||
        kind == L"ComboLBox" || kind == L"RICHEDIT50W")
        return;
    if (kind == L"ComboBox") {
        const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
        if ((style & 3) != CBS_DROPDOWNLIST)
            return; // an edit box: the user's text
        const LRESULT count = ::SendMessageW(window, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring item(
                std::size_t(::SendMessageW(window, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
            ::SendMessageW(window, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(item.data()));
            item.resize(std::wcslen(item.c_str()));
            out.push_back({where + L" item " + std::to_wstring(i), item, window});
        }
        return;
    }
    if (kind == WC_TABCONTROLW) {
        const LRESULT count = ::SendMessageW(window, TCM_GETITEMCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i)
            out.push_back(
                {where + L" tab " + std::to_wstring(i), TabCaption(window, int(i)), window});
        return;
    }
    if (kind == L"TZel_ListView") {
        // The grid's text is its header captions, then its rows: data.
        const std::wstring text = TextOf(window);
        const std::wstring header = text.substr(0, text.find(L"\r\n"));
        std::size_t start = 0;
        for (int column = 0; start <= header.size(); ++column) {
            const std::size_t end = std::min(header.find(L'\t', start), header.size());
            out.push_back({where + L" column " + std::to_wstring(column),
                           header.substr(start, end - start), window});
            start = end + 1;
        }
        return;
    }
    out.push_back({where, TextOf(window), window});
}

} // namespace

std::vector<ShownText> WindowTexts(HWND root, const std::wstring& name) {
    std::vector<ShownText> out;
    out.push_back({name + L" caption", TextOf(root), root});
    struct Walk {
        const std::wstring* name;
        std::vector<ShownText>* out;
    } walk{&name, &out};
    ::EnumChildWindows(
        root,
        [](HWND child, LPARAM context) -> BOOL {
            const auto* seen = reinterpret_cast<const Walk*>(context);
            AddControl(child, *seen->name, *seen->out);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    return out;
}

std::vector<ShownText> MenuTexts(HMENU menu, const std::wstring& name) {
    std::vector<ShownText> out;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 256;
        if (!::GetMenuItemInfoW(menu, UINT(i), TRUE, &info) || (info.fType & MFT_SEPARATOR))
            continue;
        const std::wstring where = name + L" item " + std::to_wstring(i);
        out.push_back({where, text, nullptr});
        if (info.hSubMenu) {
            const std::vector<ShownText> below = MenuTexts(info.hSubMenu, where);
            out.insert(out.end(), below.begin(), below.end());
        }
    }
    return out;
}

std::vector<ShownText> ToolTipTexts() {
    std::vector<ShownText> out;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM context) -> BOOL {
            if (ClassOf(window) != TOOLTIPS_CLASSW)
                return TRUE;
            auto& tips = *reinterpret_cast<std::vector<ShownText>*>(context);
            const LRESULT count = ::SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                wchar_t text[512] = {};
                TTTOOLINFOW tool{};
                tool.cbSize = sizeof(tool);
                if (!::SendMessageW(window, TTM_ENUMTOOLSW, WPARAM(i),
                                    reinterpret_cast<LPARAM>(&tool)))
                    continue;
                tool.lpszText = text;
                ::SendMessageW(window, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
                const HWND control =
                    (tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId) : nullptr;
                tips.push_back({L"tool tip of control " + std::to_wstring(::GetDlgCtrlID(control)),
                                text, control});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

bool PseudoTranslated(const std::wstring& text) {
    const std::size_t open = text.find(L"[[");
    return open != std::wstring::npos && text.find(L"]]", open) != std::wstring::npos;
}

bool NotTranslatable(const ShownText& shown) {
    const std::wstring title = win32::Wide(std::string(ApplicationTitle));
    return shown.text.rfind(title, 0) == 0 || shown.text == L"*" ||
           (shown.window != nullptr && ClassOf(shown.window) == L"TZel_LinkLabel");
}

std::vector<std::wstring> Untranslated(const std::vector<ShownText>& texts,
                                       const std::function<bool(const ShownText&)>& isData) {
    std::vector<std::wstring> found;
    for (const ShownText& shown : texts)
        if (!shown.text.empty() && !PseudoTranslated(shown.text) && !NotTranslatable(shown) &&
            !(isData && isData(shown)))
            found.push_back(shown.where + L": " + shown.text);
    return found;
}

std::vector<std::wstring> ClippedCaptions(HWND root, const std::wstring& name) {
    std::vector<std::wstring> clipped;
    for (const ShownText& shown : WindowTexts(root, name)) {
        const HWND control = shown.window;
        if (control == root || shown.text.empty())
            continue;
        wchar_t kind[32] = {};
        ::GetClassNameW(control, kind, 32);
        const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
        const bool button = std::wstring(kind) == L"Button" && (style & BS_TYPEMASK) != BS_GROUPBOX;
        const bool box = button && ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX ||
                                    (style & BS_TYPEMASK) == BS_CHECKBOX ||
                                    (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON ||
                                    (style & BS_TYPEMASK) == BS_RADIOBUTTON);
        const bool label = std::wstring(kind) == L"Static" && (style & SS_TYPEMASK) == SS_LEFT &&
                           (style & SS_ELLIPSISMASK) == 0;
        if (!button && !label)
            continue;
        RECT client{};
        ::GetClientRect(control, &client);
        const HDC dc = ::GetDC(control);
        const HGDIOBJ old = ::SelectObject(
            dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        std::wstring text = shown.text;
        std::erase(text, L'&');
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
        // A label taller than two lines wraps its text: it has room enough.
        if (label && client.bottom >= 2 * metrics.tmHeight)
            continue;
        const int room = client.right - (box ? ::GetSystemMetrics(SM_CXMENUCHECK) + 6 : 0) -
                         (button && !box ? 6 : 0);
        if (size.cx > room)
            clipped.push_back(shown.where + L": " + shown.text + L" (" + std::to_wstring(size.cx) +
                              L" px in " + std::to_wstring(room) + L")");
    }
    return clipped;
}

std::string ShippedLanguageBytes(const ShippedLanguage& language) {
    std::ifstream file(std::filesystem::path(ORVAN_LANGUAGES_DIR) / language.file,
                       std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WritePseudoLanguage(const std::string& programFileName, int code) {
    const std::filesystem::path folder = win32::Wide(LanguagesFolder(programFileName));
    std::filesystem::create_directories(folder);
    std::ofstream file(folder / L"Pseudo.lng", std::ios::binary);
    file << PseudoLanguageFile(code);
}

} // namespace orvan::testing
