// The candidate list at any size and through assistive technology: a million rows, thumb
// scrolling past 65 535, the rows' accessible names and the texts of the custom controls.
#include "accessible_client.h"
#include "ui_fixture.h"

#include "core/ui/search_layout.h"

namespace orvan::testing {
namespace {

class ListAccessTest : public LauncherTest {
protected:
    void SetUp() override {
        WriteCatalog({{"C:\\Apps\\one.exe", "One", 0}, {"C:\\Apps\\two.exe", "Two & more", 0}});
        Start(StartMode::ShowSearch);
    }
};

TEST_F(ListAccessTest, EveryRowIsReadByItsName) {
    SetInput(L"o");
    ASSERT_EQ(RowCount(), 2);
    const Accessible accessible = ClientObject(Run().ListBox());
    ASSERT_TRUE(accessible);
    long count = 0;
    ASSERT_EQ(accessible->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(AccName(accessible.get(), 1), L"One");
    EXPECT_EQ(AccName(accessible.get(), 2), L"Two & more");
    EXPECT_EQ(AccName(accessible.get(), 3), L"<none>"); // beyond the rows: an invalid child
    VARIANT role;
    ASSERT_EQ(accessible->get_accRole(Child(1), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LISTITEM);
    VARIANT state;
    ASSERT_EQ(accessible->get_accState(Child(1), &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_SELECTED);
    VARIANT selection;
    ASSERT_EQ(accessible->get_accSelection(&selection), S_OK);
    EXPECT_EQ(selection.lVal, 1);

    // Moving among the rows: a column, so left and right lead nowhere.
    struct Move {
        long from;
        long direction;
        HRESULT result;
        long to;
    };
    const Move moves[] = {
        {CHILDID_SELF, NAVDIR_FIRSTCHILD, S_OK, 1},
        {CHILDID_SELF, NAVDIR_LASTCHILD, S_OK, 2},
        {1, NAVDIR_NEXT, S_OK, 2},
        {1, NAVDIR_DOWN, S_OK, 2},
        {2, NAVDIR_PREVIOUS, S_OK, 1},
        {2, NAVDIR_UP, S_OK, 1},
        {2, NAVDIR_DOWN, S_FALSE, 0},
        {1, NAVDIR_UP, S_FALSE, 0},
        {1, NAVDIR_FIRSTCHILD, S_FALSE, 0},
        {1, NAVDIR_RIGHT, E_NOTIMPL, 0},
    };
    for (const Move& move : moves) {
        VARIANT end;
        EXPECT_EQ(accessible->accNavigate(move.direction, Child(move.from), &end), move.result)
            << move.from << " " << move.direction;
        EXPECT_EQ(end.vt == VT_I4 ? end.lVal : 0, move.to) << move.from << " " << move.direction;
    }

    // The object follows the list: a new query, new rows.
    SetInput(L"two");
    ASSERT_EQ(accessible->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(AccName(accessible.get(), 1), L"Two & more");
}

TEST_F(ListAccessTest, CustomControlsAnswerWithTheirTexts) {
    SetInput(L"2+3");
    const std::wstring label = Text(Run().Label());
    EXPECT_EQ(label.rfind(L"5\r", 0), 0u);
    EXPECT_EQ(::SendMessageW(Run().Label(), WM_GETTEXTLENGTH, 0, 0), LRESULT(label.size()));
    // A short buffer gets a terminated prefix.
    wchar_t small[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(
        ::SendMessageW(Search().Robot().Display(), WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)),
        3);
    EXPECT_STREQ(small, L".#B");
}

TEST_F(ListAccessTest, AMillionRowsFillInOneStepAndScrollPastSixteenBits) {
    std::vector<CatalogItem> items;
    items.reserve(1000000);
    for (int i = 0; i < 1000000; ++i)
        items.push_back({"C:\\Data\\file" + std::to_string(i) + ".txt", "", 0});
    CurrentOptions().catalog.items = CatalogItems(std::move(items));
    SetInput(L"file");
    ASSERT_EQ(RowCount(), 1000000);
    const HWND list = Run().ListBox();

    // A thumb drag reports its position in 16 bits; the list box must take the 32-bit one.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(::GetScrollInfo(list, SB_VERT, &info));
    EXPECT_GE(info.nMax, 999999 - int(info.nPage) + 1);
    info.fMask = SIF_POS;
    info.nPos = 70000;
    ::SetScrollInfo(list, SB_VERT, &info, FALSE);
    ::SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 70000 & 0xFFFF), 0);
    EXPECT_EQ(::SendMessageW(list, LB_GETTOPINDEX, 0, 0), 70000);

    // Keyboard selection and the accessible names far down the list.
    ::SendMessageW(list, LB_SETCURSEL, 999999, 0);
    EXPECT_EQ(Run().SelectedRowNumber(), 999999);
    const Accessible accessible = ClientObject(list);
    ASSERT_TRUE(accessible);
    long count = 0;
    accessible->get_accChildCount(&count);
    EXPECT_EQ(count, 1000000);
    const std::wstring last = AccName(accessible.get(), 1000000);
    EXPECT_EQ(last.rfind(L"file", 0), 0u);

    // Refilling a million rows again is one LB_SETCOUNT; the selection keeps its row.
    SetInput(L"file9");
    EXPECT_EQ(RowCount(), 111111);
    EXPECT_EQ(Run().SelectedRowNumber(), -1); // row 999999 is beyond the new last row
}

} // namespace
} // namespace orvan::testing
