#include "win32/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvan::win32 {
namespace {

std::vector<int> closed;

struct CountingTraits {
    using Handle = int;
    static Handle Invalid() noexcept { return -1; }
    static void Close(Handle handle) noexcept { closed.push_back(handle); }
};
using Owner = UniqueHandle<CountingTraits>;

TEST(UniqueHandle, ClosesEachHandleExactlyOnce) {
    closed.clear();
    {
        Owner none;
        EXPECT_FALSE(none);
        Owner a(1);
        EXPECT_TRUE(a);
        Owner b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), 1);
        Owner c(2);
        c = std::move(b); // 2 closes, 1 moves on
        EXPECT_EQ(closed, std::vector<int>{2});
        Owner& alias = c;
        c = std::move(alias); // self-move keeps the handle
        EXPECT_EQ(c.Get(), 1);
        c.Reset(1); // the same handle again is not closed
        EXPECT_EQ(closed, std::vector<int>{2});
        c.Reset(3);
        EXPECT_EQ(closed, (std::vector<int>{2, 1}));
        Owner d(4);
        EXPECT_EQ(d.Release(), 4); // given up, never closed
    }
    EXPECT_EQ(closed, (std::vector<int>{2, 1, 3}));
}

} // namespace
} // namespace orvan::win32
