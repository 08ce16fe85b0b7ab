#pragma once
// The Quick, Notes and Clipboard pages as designed at 96 DPI against the search window's
// designed page (search_layout::kPage), and the numbers of their texts.
#include "core/ui/layout.h"
#include "core/ui/search_layout.h"

namespace orvan::page_layout {

namespace layout = search_layout;
inline constexpr int kRowHeight = 20;

// The Quick and Clipboard pages: a filter line over the list, the list, notes at the foot.
inline constexpr DesignedControl kFilterLabel{{6, 10, 40, 13}, Anchor::TopLeft};
inline constexpr DesignedControl kFilterEdit{{48, 6, 235, layout::kEditHeight}, Anchor::TopSides};
inline constexpr DesignedControl kQuickList{{6, 33, 277, 226}, Anchor::All};
inline constexpr DesignedControl kQuickHint{{6, 262, 277, 26},
                                            Anchor::Left | Anchor::Right | Anchor::Bottom};
inline constexpr DesignedControl kClipboardList{{6, 33, 277, 198}, Anchor::All};
inline constexpr DesignedControl kClipboardKeep{{6, 238, 205, 17}, Anchor::BottomLeft};
inline constexpr DesignedControl kClipboardClear{{215, 236, 68, 21},
                                                 Anchor::Right | Anchor::Bottom};
inline constexpr DesignedControl kClipboardHint{{6, 262, 277, 26},
                                                Anchor::Left | Anchor::Right | Anchor::Bottom};

// The Notes page: the edit fills the page; a read-only page says why above it.
inline constexpr DesignedControl kNotesEdit{{0, 0, layout::kPage.width, layout::kPage.height},
                                            Anchor::All};
inline constexpr DesignedControl kNotesReason{{6, 4, 279, 40}, Anchor::TopSides};
inline constexpr DesignedControl kNotesEditBelowReason{
    {0, 48, layout::kPage.width, layout::kPage.height - 48}, Anchor::All};

inline constexpr int kPinMenuId = 8000100;
inline constexpr int kFilterLabelId = 8000101;
inline constexpr int kQuickHintId = 8000102;
inline constexpr int kQuickEmptyId = 8000103;
inline constexpr int kNotesTooLargeId = 8000104;
inline constexpr int kNotesUnreadableId = 8000105;
inline constexpr int kClipboardKeepId = 8000106;
inline constexpr int kClipboardClearId = 8000107;
inline constexpr int kClipboardCutMarkId = 8000108;
inline constexpr int kClipboardHintId = 8000109;

} // namespace orvan::page_layout
