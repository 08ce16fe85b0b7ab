#include "ui/about_tab.h"

#include "core/ui/search_layout.h"
#include "core/ui/search_texts.h"
#include "ui/pictures.h"
#include "win32/wide_text.h"

namespace orvan::ui {

namespace layout = search_layout;

HWND AboutTab::CreatePage(HWND pageControl, const TabFonts& fonts) {
    const HWND page = CreatePanel(pageControl);
    if (!page)
        return nullptr;
    text_ = CreateChild(L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, page, AboutId::Text);
    icon_.Create(page, AboutId::Icon, RECT{});
    link_.Create(page, AboutId::Link, RECT{}, win32::Wide(layout::kWebCaption));
    link_.SetHint(win32::Wide(layout::kWebAddress));
    link_.OnClick([this] { OpenWebLink(); });
    SetFonts(fonts);
    return page;
}

void AboutTab::SetFonts(const TabFonts& fonts) {
    ::SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.text), TRUE);
    link_.SetFont(fonts.link);
    const int size = ScaleForDpi(48, fonts.dpi);
    icon_.SetIcon(ProgramPictures().ProgramIcon(size), size);
}

void AboutTab::Layout(const PagePlacer& place) {
    MoveTo(text_, place(layout::kAboutText));
    MoveTo(icon_.Handle(), place(layout::kAboutIcon));
    MoveTo(link_.Handle(), place(layout::kAboutLink));
}

void AboutTab::LocalizeCaptions() {
    ::SetWindowTextW(text_, win32::Wide(AboutText()).c_str());
}

void AboutTab::ApplyColors(COLORREF body) {
    SetBackground(body);
    icon_.SetBackground(body);
    link_.SetBackground(body);
}

void AboutTab::OpenWebLink() {
    ShellOpen(launch_, std::string(layout::kWebAddress), "", "", SW_SHOWNORMAL);
}

} // namespace orvan::ui
