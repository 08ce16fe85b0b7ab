#include "core/robot/version.h"

#include <gtest/gtest.h>

#include <string>

namespace orvan {
namespace {

TEST(Version, IdentityLines) {
    EXPECT_EQ(ApplicationTitle, "Orvan! @ morvane.example");
    EXPECT_EQ(ProductTitle, ApplicationTitle);
    EXPECT_EQ(VersionText, "0.1 Beta 1");
    // Both texts come from the version's parts: a package manager orders betas below the
    // release they lead to only in this form.
    EXPECT_EQ(PackageVersion, "0.1.0-beta.1");
    EXPECT_NE(RightsNotice.find("Morvane"), std::string_view::npos);
    EXPECT_FALSE(AuthorCredit.empty());
}

TEST(Version, RobotBannerIsTheBoldProductTitle) {
    EXPECT_EQ(RobotBanner, ".#B1" + std::string(ProductTitle) + "#B0");
}

TEST(Version, AboutPageClosesWithTheWebDomain) {
    bool namesDomain = false;
    for (std::string_view line : AboutClosingLines) {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find('\r'), std::string_view::npos); // each entry is one line
        namesDomain = namesDomain || line.find("morvane.example") != std::string_view::npos;
    }
    EXPECT_TRUE(namesDomain);
}

} // namespace
} // namespace orvan
