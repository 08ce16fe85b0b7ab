#include "core/config/path_convert.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(PathConvert, NativeToCore) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/a", "C:\\home\\a"},
        {"/", "C:\\"},
        {"/home/a/", "C:\\home\\a\\"},
        {"//home///a", "C:\\home\\a"},
        {"/tmp/a b/\xC3\xA9", "C:\\tmp\\a b\\\xC3\xA9"},
        {"relative/a", ""},
        {"", ""},
    };
    for (const auto& [native, core] : cases)
        EXPECT_EQ(NativeToCorePath(native), core) << native;
}

TEST(PathConvert, CoreToNative) {
    const std::pair<std::string, const char*> cases[] = {
        {"C:\\home\\a", "/home/a"},
        {"c:\\home\\a", "/home/a"},
        {"C:/home/a", "/home/a"},
        {"C:\\home/a\\", "/home/a/"},
        {"C:\\\\home\\\\a", "/home/a"},
        {"C:", "/"},
        {"C:\\", "/"},
        {"C:\\*.*", "/*.*"},
        {"D:\\home\\a", ""},
        {"C:home", ""},
        {"\\home\\a", ""},
        {"\\\\server\\share", ""},
        {"home", ""},
        {"", ""},
        {std::string("C:\\a\0b", 6), ""},
    };
    for (const auto& [core, native] : cases)
        EXPECT_EQ(CoreToNativePath(core), native) << core;
}

TEST(PathConvert, RoundTripsAbsolutePaths) {
    for (const char* native : {"/", "/home/a", "/x/y z/\xE2\x82\xAC.txt"})
        EXPECT_EQ(CoreToNativePath(NativeToCorePath(native)), native);
}

} // namespace
} // namespace orvan
