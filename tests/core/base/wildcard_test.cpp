#include "core/base/wildcard.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(WildcardMatches, FollowsTheRulesOfAWindowsListing) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "readme", true}, // "*.*" takes names without a dot too
        {"*.*", "a.b.c", true},
        {"*.exe", "TOOL.EXE", true}, // letter case ignored
        {"*.exe", "tool.exe.bak", false},
        {"*.exe", "tool", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*x.*", "a.x", true}, // what comes before ".*" alone takes it
        {"orv*.tmp", "orv1A2B.tmp", true},
        {"orv*.tmp", "orv1A2B.tmpx", false},
        {"", "", true},
        {"", "a", false},
        {"*", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatches(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

} // namespace
} // namespace orvan
