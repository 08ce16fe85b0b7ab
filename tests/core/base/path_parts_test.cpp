#include "core/base/path_parts.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(PathParts, SplitAfterTheLastBackslashOrTheDrivesColon) {
    struct Case {
        std::string_view path, folder, name;
    };
    const Case cases[] = {
        {"C:\\Tools\\x.exe", "C:\\Tools\\", "x.exe"},
        {"C:\\Tools\\", "C:\\Tools\\", ""},
        {"C:x.exe", "C:", "x.exe"},
        {"c:", "c:", ""},
        {"\\\\server\\share\\a", "\\\\server\\share\\", "a"},
        {"x.exe", "", "x.exe"},
        {"", "", ""},
        {"1:x", "", "1:x"}, // not a drive letter
        // A Linux name in the Windows form keeps its colons.
        {"C:\\usr\\man3\\Algorithm::Diff.3pm.gz", "C:\\usr\\man3\\", "Algorithm::Diff.3pm.gz"},
        {"C:\\a::b", "C:\\", "a::b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PathFolderPart(c.path), c.folder) << c.path;
        EXPECT_EQ(PathNamePart(c.path), c.name) << c.path;
    }
}

} // namespace
} // namespace orvan
