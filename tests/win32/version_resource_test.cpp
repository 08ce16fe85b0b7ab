#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Win32Smoke, RunsUnderWindowsApi) { EXPECT_NE(GetCurrentProcessId(), 0u); }

} // namespace
