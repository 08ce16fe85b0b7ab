#pragma once
// The settings dialog and the catalog path editor as designed at 96 DPI with Tahoma 8 pt:
// client sizes, the controls with their anchors, and the page the dialog's tabs lay out
// against. As in the search window, a page is as large as the page control's display area
// at run time and anchored controls keep their distances to its edges.
#include "core/ui/layout.h"

namespace orvan::settings_layout {

// --- the settings dialog ------------------------------------------------------------------

inline constexpr UiSize kClient{446, 291};
inline constexpr DesignedControl kPageControl{{8, 8, 430, 242}, Anchor::All};
// The display area of the designed page control.
inline constexpr UiSize kPage{422, 214};
inline constexpr DesignedControl kOk{{282, 258, 75, 25}, Anchor::Right | Anchor::Bottom};
inline constexpr DesignedControl kCancel{{363, 258, 75, 25}, Anchor::Right | Anchor::Bottom};

// General tab: two columns of four check boxes, the order box under the left one with the
// Forget button beside it, a separator, the language and the hot key.
inline constexpr int kCheckTop = 12;
inline constexpr int kCheckPitch = 23;
inline constexpr int kCheckHeight = 17;
inline constexpr UiRect kLeftColumn{12, kCheckTop, 195, kCheckHeight};
inline constexpr UiRect kRightColumn{215, kCheckTop, 195, kCheckHeight};
inline constexpr DesignedControl kForget{{215, 101, 90, 23}, Anchor::TopLeft};
inline constexpr DesignedControl kGeneralBevel{{12, 133, 398, 2}, Anchor::TopSides};
inline constexpr DesignedControl kLanguageLabel{{12, 150, 94, 13}, Anchor::TopLeft};
inline constexpr DesignedControl kLanguage{{110, 146, 200, 21}, Anchor::TopLeft};
inline constexpr int kLanguageDropHeight = 240; // the open list below the box
inline constexpr DesignedControl kHotKeyLabel{{12, 180, 94, 13}, Anchor::TopLeft};
inline constexpr DesignedControl kHotKey{{110, 176, 200, 21}, Anchor::TopLeft};

// Catalog tab: the path grid fills it.
inline constexpr DesignedControl kPathGrid{{6, 6, 410, 202}, Anchor::All};

// Status tab: the progress text, a separator, the Rebuild button and the sweeping band.
inline constexpr DesignedControl kProgress{{12, 12, 398, 142}, Anchor::All};
inline constexpr DesignedControl kStatusBevel{{12, 162, 398, 2},
                                              Anchor::Left | Anchor::Right | Anchor::Bottom};
inline constexpr DesignedControl kRescan{{12, 176, 90, 25}, Anchor::BottomLeft};
inline constexpr DesignedControl kWaiter{{110, 176, 300, 25},
                                         Anchor::Left | Anchor::Right | Anchor::Bottom};

// --- the catalog path editor --------------------------------------------------------------

inline constexpr UiSize kPathClient{376, 209};
inline constexpr DesignedControl kPathLabel{{8, 12, 80, 13}, Anchor::TopLeft};
inline constexpr DesignedControl kMaskLabel{{8, 41, 80, 13}, Anchor::TopLeft};
inline constexpr DesignedControl kDepthLabel{{8, 70, 80, 13}, Anchor::TopLeft};
inline constexpr DesignedControl kPathEdit{{90, 8, 253, 21}, Anchor::TopSides};
inline constexpr DesignedControl kSpecialFolders{{345, 8, 23, 21}, Anchor::TopRight};
inline constexpr int kSpecialFoldersGlyph = 8;
inline constexpr DesignedControl kMaskEdit{{90, 37, 278, 21}, Anchor::TopSides};
// The depth edit with its spin buttons, 121 wide together.
inline constexpr DesignedControl kDepthEdit{{90, 66, 104, 21}, Anchor::TopLeft};
inline constexpr DesignedControl kDepthSpin{{194, 66, 17, 21}, Anchor::TopLeft};
inline constexpr DesignedControl kUnlimitedDepth{{90, 95, 278, 17}, Anchor::TopSides};
inline constexpr DesignedControl kIncludeDirectories{{90, 117, 278, 17}, Anchor::TopSides};
inline constexpr DesignedControl kActive{{90, 139, 278, 17}, Anchor::TopSides};
inline constexpr DesignedControl kPathOk{{212, 176, 75, 25}, Anchor::Right | Anchor::Bottom};
inline constexpr DesignedControl kPathCancel{{293, 176, 75, 25}, Anchor::Right | Anchor::Bottom};

} // namespace orvan::settings_layout
