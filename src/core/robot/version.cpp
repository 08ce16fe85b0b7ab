#include "core/robot/version.h"

namespace orvan {

constexpr std::string_view RobotBanner = ".#B1" ORVAN_APPLICATION_TITLE "#B0";

constexpr std::array<std::string_view, 3> AboutClosingLines{
    "Thank you for using " ORVAN_PRODUCT_NAME,
    "News, updates and help: " ORVAN_MAKER_DOMAIN,
    "Made with care by " ORVAN_MAKER ".",
};

} // namespace orvan
