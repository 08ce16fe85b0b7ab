#pragma once
// The about page: the product's texts, its icon and the web link.
#include "core/search/launch.h"
#include "ui/search_tab.h"

namespace orvan::ui {

namespace AboutId {
constexpr int Text = 1030;
constexpr int Icon = 1031;
constexpr int Link = 1032;
} // namespace AboutId

class AboutTab final : public SearchTab {
public:
    // The link opens through the launch services' shell.
    explicit AboutTab(LaunchServices launch) : launch_(launch) {}

    HWND CreatePage(HWND pageControl, const TabFonts& fonts) override;
    void Layout(const PagePlacer& place) override;
    void SetFonts(const TabFonts& fonts) override;
    void LocalizeCaptions() override;
    void ApplyColors(COLORREF body) override;

    HWND Link() const { return link_.Handle(); }

private:
    void OpenWebLink();

    LaunchServices launch_;
    HWND text_ = nullptr;
    ImageBox icon_;
    LinkLabel link_;
};

} // namespace orvan::ui
