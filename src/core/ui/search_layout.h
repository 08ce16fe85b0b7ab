#pragma once
// The search window as designed at 96 DPI with Tahoma 8 pt: its client size, the page
// control and the controls of each tab with their anchors. The tab pages are laid out
// against a designed page size; at run time the page is as large as the page control's
// display area, and anchored controls keep their distances to its edges.
#include "core/ui/layout.h"

#include <array>
#include <string_view>

namespace orvan::search_layout {

inline constexpr UiSize kClient{315, 336};
inline constexpr DesignedControl kPageControl{{8, 8, 299, 318}, Anchor::All};
// The tab page inside the designed page control.
inline constexpr UiSize kPage{291, 290};

inline constexpr int kEditHeight = 21;

// The run tab.
inline constexpr DesignedControl kRunEdit{{6, 6, 277, kEditHeight}, Anchor::TopSides};
inline constexpr DesignedControl kRunIcon{{6, 33, 60, 60}, Anchor::TopLeft};
inline constexpr int kRunIconImageSize = 48;
inline constexpr DesignedControl kRunLabel{{76, 37, 207, 75}, Anchor::TopSides};
inline constexpr DesignedControl kRunExecute{{235, 118, 16, 16}, Anchor::TopRight};
inline constexpr DesignedControl kRunDetails{{251, 118, 16, 16}, Anchor::TopRight};
inline constexpr DesignedControl kRunCopy{{267, 118, 16, 16}, Anchor::TopRight};
inline constexpr DesignedControl kRunBevel{{6, 140, 277, 2}, Anchor::TopSides};
inline constexpr DesignedControl kAvailableList{{6, 150, 277, 133}, Anchor::All};
inline constexpr int kAvailableRowHeight = 20;

// The robot page fills its page.
inline constexpr DesignedControl kRobotPanel{{0, 0, kPage.width, kPage.height - kEditHeight},
                                             Anchor::All};
inline constexpr DesignedControl kRobotEdit{
    {0, kPage.height - kEditHeight, kPage.width, kEditHeight},
    Anchor::Left | Anchor::Right | Anchor::Bottom};
inline constexpr int kRobotLineHeight = 13;

// The about tab: the text, the program icon top right, the link bottom left.
inline constexpr DesignedControl kAboutText{{8, 8, 219, 250}, Anchor::All};
inline constexpr DesignedControl kAboutIcon{{235, 8, 48, 48}, Anchor::TopRight};
inline constexpr DesignedControl kAboutLink{{8, 266, 200, 16}, Anchor::BottomLeft};

// Tags of the flat buttons: the commands share one handler that dispatches on them.
inline constexpr int kTagDetails = 1;
inline constexpr int kTagCopy = 2;
inline constexpr int kTagExecute = 3;

// Tags of the search window's popup menu.
inline constexpr int kTagSettings = 1;
inline constexpr int kTagHide = 2;
inline constexpr int kTagClose = 3;
inline constexpr int kTagPin = 4;

enum class Tab { Run = 0, Quick = 1, Notes = 2, Clipboard = 3, Robot = 4, About = 5 };
inline constexpr int kTabCount = 6;
// Caption texts of the tabs, in tab order.
inline constexpr std::array<int, kTabCount> kTabCaptionIds{1010010, 1010011, 1010012,
                                                           1010013, 1010014, 1010015};
inline constexpr int kExecuteHintId = 2000013;
inline constexpr int kDetailsHintId = 2000020;
inline constexpr int kCopyHintId = 2000021;
inline constexpr int kOptionsCaptionId = 9000000;
inline constexpr int kHideCaptionId = 1000004;
inline constexpr int kExitCaptionId = 1000001;
inline constexpr int kStartedAtId = 300010;
inline constexpr int kApplicationErrorId = 102;

// The menu shortcuts as shortcut values.
inline constexpr int kSettingsShortCut = 123; // F12
inline constexpr int kHideShortCut = 27;      // Esc
inline constexpr int kCloseShortCut = 32883;  // Alt+F4

// The web link of the about page: the address it opens (held as its hint) and its caption.
inline constexpr std::string_view kWebAddress = "https://morvane.example/orvan/";
inline constexpr std::string_view kWebCaption = "morvane.example";

} // namespace orvan::search_layout
