#pragma once
// The details window as designed at 96 DPI with Tahoma 8 pt: a sizeable tool window whose
// tab control, grid and memo stretch with it while the two buttons keep to the bottom
// right. The pages' controls are laid out against a designed page size; at run time the
// page is as large as the tab control's display area.
#include "core/ui/layout.h"

namespace orvan::details_layout {

inline constexpr UiSize kClient{366, 320};
inline constexpr DesignedControl kPageControl{{8, 8, 350, 270}, Anchor::All};
// The tab page inside the designed tab control.
inline constexpr UiSize kPage{342, 244};

// The details tab: the icon, the heading beside it, the grid below.
inline constexpr DesignedControl kIcon{{8, 8, 32, 32}, Anchor::TopLeft};
inline constexpr DesignedControl kHeading{{48, 16, 286, 16}, Anchor::TopSides};
inline constexpr DesignedControl kGrid{{8, 48, 326, 188}, Anchor::All};
// The "As text" tab: the memo fills the page but for a margin.
inline constexpr DesignedControl kMemo{{8, 8, 326, 228}, Anchor::All};

inline constexpr DesignedControl kToClipboard{{176, 286, 88, 26}, Anchor::Right | Anchor::Bottom};
inline constexpr DesignedControl kClose{{270, 286, 88, 26}, Anchor::Right | Anchor::Bottom};

} // namespace orvan::details_layout
