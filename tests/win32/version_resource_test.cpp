// Both programs carry the product's version resource and icon, which Explorer's properties
// page, the details window and the installer read.
#include "core/robot/version_defs.h"

#include <gtest/gtest.h>

#include <windows.h>
// shellapi.h needs the definitions of windows.h before it.
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// Test paths arrive as Linux paths from the build; Wine maps the Linux root to drive Z:.
std::wstring WindowsPath(const char* path) {
    std::wstring out = path[0] == '/' ? L"Z:" : L"";
    for (const char* p = path; *p; ++p)
        out.push_back(*p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return out;
}

std::wstring Widen(const char* text) {
    std::wstring out;
    for (const char* p = text; *p; ++p)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
    return out;
}

std::wstring VersionString(const std::vector<char>& block, const wchar_t* name) {
    std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0)
        return L"";
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

class VersionResource : public testing::TestWithParam<const char*> {};

TEST_P(VersionResource, NamesMakerProductAndVersion) {
    const std::wstring path = WindowsPath(GetParam());
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    EXPECT_EQ(VersionString(block, L"CompanyName"), Widen(ORVAN_MAKER));
    EXPECT_EQ(VersionString(block, L"ProductName"), Widen(ORVAN_PRODUCT_NAME));
    EXPECT_EQ(VersionString(block, L"FileVersion"), Widen(ORVAN_VERSION_TEXT));
    EXPECT_EQ(VersionString(block, L"ProductVersion"), Widen(ORVAN_VERSION_TEXT));
    EXPECT_EQ(VersionString(block, L"LegalCopyright"), Widen(ORVAN_RIGHTS_NOTICE));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
}

TEST_P(VersionResource, CarriesTheProgramIcon) {
    const std::wstring path = WindowsPath(GetParam());
    EXPECT_GE(ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0), 1u);
}

INSTANTIATE_TEST_SUITE_P(Programs, VersionResource,
                         testing::Values(ORVAN_EXE_PATH, ORVAN_CLI_PATH));

} // namespace
