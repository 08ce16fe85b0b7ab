#include "core/ui/search_texts.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(SearchTexts, StartMessageAboutTextAndErrorLine) {
    LocaleSettings locale;
    locale.shortDateFormat = "dd.MM.yyyy";
    locale.longTimeFormat = "H:mm:ss";
    // 2 January 2024 is day 45293; 13:05:09 as a fraction.
    const double afternoon = 45293 + (13 * 3600 + 5 * 60 + 9) / 86400.0;
    EXPECT_EQ(StartedAtText(afternoon, locale), "Started at 02.01.2024 13:05:09");
    EXPECT_EQ(StartedAtText(45293, locale), "Started at 02.01.2024"); // midnight: date only

    EXPECT_EQ(ApplicationErrorText("List index out of bounds (0)"),
              "Application error raised! [List index out of bounds (0)]");

    const std::string about = AboutText();
    EXPECT_EQ(about.rfind("Orvan! @ morvane.example\r\n0.1 Beta 1\r\n\r\n", 0), 0u) << about;
}

} // namespace
} // namespace orvan
