#pragma once
// The program's fixed identity lines. They are not translatable and bypass the text table.
#include <array>
#include <string_view>

#include "core/robot/version_defs.h"

namespace orvan {

// The application's title, the search window's caption and the installer's title.
inline constexpr std::string_view ApplicationTitle = ORVAN_APPLICATION_TITLE;
inline constexpr std::string_view VersionText = ORVAN_VERSION_TEXT;
// The same version as package managers compare versions ("0.1.0-beta.1"): the release's file
// names and manifests and the Apps & features entry carry it.
inline constexpr std::string_view PackageVersion = ORVAN_PACKAGE_VERSION;
// The same text as ApplicationTitle, held apart for the robot's version line and the installer.
inline constexpr std::string_view ProductTitle = ORVAN_APPLICATION_TITLE;
inline constexpr std::string_view RightsNotice = ORVAN_RIGHTS_NOTICE;
inline constexpr std::string_view AuthorCredit = ORVAN_AUTHOR_CREDIT;

// The bold product title that the robot writes when its display is cleared, as a formatted
// display line (".#B1" switches bold on, "#B0" off).
extern const std::string_view RobotBanner;

// The closing lines of the "about" page.
extern const std::array<std::string_view, 3> AboutClosingLines;

} // namespace orvan
