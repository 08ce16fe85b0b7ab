#include "core/catalog/icon_cache.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orvan {
namespace {

// A move-only icon like the Windows owner: a name, or empty.
struct FakeIcon {
    std::unique_ptr<std::string> picture;
    bool Empty() const { return !picture; }
};

struct Shell {
    std::vector<std::string> asked; // "path small" / "path large"
    std::vector<std::string> existing{"C:\\a.exe", "C:\\A.EXE"};

    FakeIcon Extract(const std::string& path, bool small) {
        asked.push_back(path + (small ? " small" : " large"));
        for (const std::string& e : existing)
            if (e == path)
                return {std::make_unique<std::string>(path + (small ? "/16" : "/32"))};
        return {};
    }
};

TEST(IconCache, FetchesBothSizesOnceAndKeysExactly) {
    Shell shell;
    IconCache<FakeIcon> cache(
        [&](const std::string& path, bool small) { return shell.Extract(path, small); });

    // Looking without asking: nothing is fetched and nothing is added.
    EXPECT_EQ(cache.Find("C:\\a.exe"), nullptr);
    EXPECT_TRUE(shell.asked.empty());

    // Asking for the large icon first fills the small one as well, small first.
    const FakeIcon& large = cache.GetFileIcon("C:\\a.exe", false);
    ASSERT_FALSE(large.Empty());
    EXPECT_EQ(*large.picture, "C:\\a.exe/32");
    EXPECT_EQ(shell.asked, (std::vector<std::string>{"C:\\a.exe small", "C:\\a.exe large"}));
    const FakeIcon& small = cache.GetFileIcon("C:\\a.exe", true);
    EXPECT_EQ(*small.picture, "C:\\a.exe/16");
    EXPECT_EQ(&cache.GetFileIcon("C:\\a.exe", false), &large); // the same object again
    ASSERT_NE(cache.Find("C:\\a.exe"), nullptr);
    EXPECT_EQ(&cache.Find("C:\\a.exe")->LargeIcon, &large);
    EXPECT_EQ(cache.Find("c:\\a.exe"), nullptr);
    EXPECT_EQ(shell.asked.size(), 2u);

    // Another letter case is another entry.
    cache.GetFileIcon("C:\\A.EXE", true);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(shell.asked.size(), 4u);

    // A missing path gives empty icons, kept and returned on every later request.
    const FakeIcon& none = cache.GetFileIcon("C:\\missing.exe", true);
    EXPECT_TRUE(none.Empty());
    EXPECT_TRUE(cache.GetFileIcon("C:\\missing.exe", false).Empty());
    EXPECT_EQ(shell.asked.size(), 6u);

    // References survive growth; entries keep the order of first request.
    for (int i = 0; i < 1000; ++i)
        cache.GetFileIcon("C:\\f" + std::to_string(i), true);
    EXPECT_EQ(*small.picture, "C:\\a.exe/16");
    EXPECT_EQ(cache.Entries()[0].FileName, "C:\\a.exe");
    EXPECT_EQ(cache.Entries()[2].FileName, "C:\\missing.exe");
}

} // namespace
} // namespace orvan
