// The grid control in a window of its own: mouse, keys and typing reach the model, the
// painting shows what the model plans, the window text and the accessible table read the
// rows, and the scroll bar repeats while its arrow is held.
#include "ui/list_view.h"

#include "accessible_client.h"

#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace orvan::testing {
namespace {

long Role(IAccessible* accessible, long id) {
    VARIANT role;
    ::VariantInit(&role);
    return SUCCEEDED(accessible->get_accRole(Child(id), &role)) ? role.lVal : -1;
}

long State(IAccessible* accessible, long id) {
    VARIANT state;
    ::VariantInit(&state);
    return SUCCEEDED(accessible->get_accState(Child(id), &state)) ? state.lVal : -1;
}

Accessible RowObject(IAccessible* table, long id) {
    IDispatch* dispatch = nullptr;
    if (table->get_accChild(Child(id), &dispatch) != S_OK || !dispatch)
        return nullptr;
    IAccessible* row = nullptr;
    dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&row));
    dispatch->Release();
    return Accessible(row);
}

void Pump(int milliseconds = 0) {
    const ULONGLONG end = ::GetTickCount64() + ULONGLONG(milliseconds);
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (milliseconds > 0)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount64() < end);
}

// A 316 by 150 grid in a plain window: the client is 316 - 2 border pixels wide, the
// weights 20 : 100 : 200 share 300 pixels, so the columns span x 1-20, 21-120, 121-300;
// the header runs from y 1 to 19, rows of 17 from y 20.
class GridControlTest : public ::testing::Test {
protected:
    static constexpr int kRowsTop = 20;

    void SetUp() override {
        static ui::WindowClassRegistration hostClass =
            ui::RegisterWindowClass(L"OrvanGridTestHost", 0, ::LoadCursorW(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        host_.Reset(::CreateWindowExW(0, L"OrvanGridTestHost", L"Grid", WS_OVERLAPPEDWINDOW, 100,
                                      100, 400, 300, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                      nullptr));
        ASSERT_TRUE(host_);
        ASSERT_TRUE(grid_.Create(host_.Get(), 10, RECT{10, 10, 326, 160}));
        ::ShowWindow(host_.Get(), SW_SHOW);
        grid_.SetDpi(96, nullptr);
        Model().AddColumn("*", ColumnAlignment::Center, true, 20, ColumnKind::CheckBox);
        Model().AddColumn("Name", ColumnAlignment::Left, true, 100, ColumnKind::Text);
        Model().AddColumn("Value", ColumnAlignment::Left, true, 200, ColumnKind::Text);
        Model().SetOnChangeValue([this](int row, int cell) { changes_.emplace_back(row, cell); });
        Fill({{true, "beta", "2"}, {false, "alpha", "1"}, {2, "gamma", "3"}});
        Pump();
    }

    void TearDown() override {
        // The grid goes before its host.
        ::DestroyWindow(grid_.Handle());
        host_.Reset();
        Pump();
    }

    orvan::ListView& Model() { return grid_.Model(); }
    HWND Grid() const { return grid_.Handle(); }

    void Fill(const std::vector<std::vector<CellValue>>& rows) {
        Model().BeginUpdate();
        Model().ClearItems();
        for (std::size_t i = 0; i < rows.size(); ++i)
            Model().AddItem(rows[i], i == 0, 0, std::int32_t(i));
        Model().EndUpdate();
    }

    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const ListViewItem& item : Model().Items())
            names.push_back(std::get<std::string>(item.values[1].value));
        return names;
    }

    void Click(int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        ::SendMessageW(Grid(), down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON,
                       MAKELPARAM(x, y));
        ::SendMessageW(Grid(), up, 0, MAKELPARAM(x, y));
        Pump();
    }
    void Key(UINT key) {
        ::SendMessageW(Grid(), WM_KEYDOWN, key, 1);
        Pump();
    }
    void Type(const std::wstring& text) {
        for (const wchar_t c : text)
            ::SendMessageW(Grid(), WM_CHAR, c, 1);
        Pump();
    }

    std::wstring WindowText() const {
        const LRESULT length = ::SendMessageW(Grid(), WM_GETTEXTLENGTH, 0, 0);
        std::wstring text(std::size_t(length) + 1, L'\0');
        const LRESULT got = ::SendMessageW(Grid(), WM_GETTEXT, WPARAM(text.size()),
                                           reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::size_t(got));
        return text;
    }

    Accessible Table() const { return ClientObject(Grid()); }

    // The grid drawn into a bitmap as WM_PRINTCLIENT draws it; the pixel at a point.
    COLORREF PixelAt(int x, int y) const {
        RECT client;
        ::GetClientRect(Grid(), &client);
        ui::WindowDc screen(Grid());
        ui::UniqueMemoryDc dc(::CreateCompatibleDC(screen.Get()));
        ui::UniqueBitmap bitmap(
            ::CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
        ui::SelectGuard select(dc.Get(), bitmap.Get());
        ::SendMessageW(Grid(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
        return ::GetPixel(dc.Get(), x, y);
    }

    ui::UniqueWindow host_;
    ui::ListView grid_;
    std::vector<std::pair<int, int>> changes_;
};

TEST_F(GridControlTest, AHeaderClickCyclesTheSortAndTheWindowTextFollows) {
    EXPECT_EQ(WindowText(),
              L"*\tName\tValue\r\n[x]\tbeta\t2\r\n[ ]\talpha\t1\r\n[-]\tgamma\t3\r\n");
    Click(60, 10);
    EXPECT_EQ(Names(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(Model().ItemFocusedRow(), 1); // beta, selected when added, keeps the focus
    Click(60, 10);
    EXPECT_EQ(Names(), (std::vector<std::string>{"gamma", "beta", "alpha"}));
    Click(60, 10);
    EXPECT_EQ(Names(), (std::vector<std::string>{"beta", "alpha", "gamma"}));
    EXPECT_EQ(WindowText(),
              L"*\tName\tValue\r\n[x]\tbeta\t2\r\n[ ]\talpha\t1\r\n[-]\tgamma\t3\r\n");
    // Pressed on one header, released on another: no sort.
    ::SendMessageW(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 10));
    ::SendMessageW(Grid(), WM_LBUTTONUP, 0, MAKELPARAM(200, 10));
    EXPECT_EQ(Model().SortedColumn(), -1);
    EXPECT_NE(::GetCapture(), Grid());
}

TEST_F(GridControlTest, ClicksKeysAndTypingReachTheModel) {
    // A click on the second row's box focuses the row and flips the tick.
    Click(10, kRowsTop + 17 + 8);
    EXPECT_EQ(::GetFocus(), Grid());
    EXPECT_EQ(Model().ItemFocusedRow(), 1);
    EXPECT_EQ(Model().Items()[1].values[0], CellValue(true));
    // Space flips the focused row's tick; on the third state it does nothing.
    Key(VK_SPACE);
    EXPECT_EQ(Model().Items()[1].values[0], CellValue(false));
    Key(VK_DOWN);
    Key(VK_SPACE);
    EXPECT_EQ(Model().Items()[2].values[0], CellValue(2));
    EXPECT_EQ(changes_, (std::vector<std::pair<int, int>>{{1, 0}, {1, 0}}));

    // Typing finds rows by the start of their name, ignoring case, wrapping round.
    Type(L"B");
    EXPECT_EQ(Model().ItemFocusedRow(), 0);
    EXPECT_EQ(Model().SearchText(), "B");
    Type(L"x"); // no row starts with "bx": ignored
    EXPECT_EQ(Model().SearchText(), "B");
    // Esc belongs to the grid while a search runs, then to the window.
    MSG esc{Grid(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    EXPECT_TRUE(::SendMessageW(Grid(), WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&esc)) &
                DLGC_WANTMESSAGE);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Model().SearchActive());
    EXPECT_FALSE(::SendMessageW(Grid(), WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&esc)) &
                 DLGC_WANTMESSAGE);
    // A character beyond the BMP arrives as two messages and is searched whole.
    Fill({{true, "\xF0\x9F\x98\x80 smile", ""}, {true, "plain", ""}});
    Key(VK_END);
    Type(L"\xD83D\xDE00");
    EXPECT_EQ(Model().ItemFocusedRow(), 0);
    EXPECT_EQ(Model().SearchText(), "\xF0\x9F\x98\x80");
}

TEST_F(GridControlTest, TheAccessibleTableReadsRowsAndTicks) {
    const Accessible table = Table();
    ASSERT_TRUE(table);
    long count = 0;
    ASSERT_EQ(table->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Role(table.get(), CHILDID_SELF), ROLE_SYSTEM_TABLE);
    // By child id from the table...
    EXPECT_EQ(AccName(table.get(), 2), L"alpha\t1");
    EXPECT_EQ(Role(table.get(), 2), ROLE_SYSTEM_ROW);
    EXPECT_TRUE(State(table.get(), 1) & STATE_SYSTEM_SELECTED);
    EXPECT_TRUE(State(table.get(), 1) & STATE_SYSTEM_CHECKED);
    EXPECT_TRUE(State(table.get(), 3) & STATE_SYSTEM_MIXED);
    EXPECT_EQ(AccName(table.get(), 4), L"<none>");
    VARIANT selection;
    ASSERT_EQ(table->get_accSelection(&selection), S_OK);
    EXPECT_EQ(selection.lVal, 1);

    // ... and as row objects with their cells.
    const Accessible alpha = RowObject(table.get(), 2);
    ASSERT_TRUE(alpha);
    ASSERT_EQ(alpha->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(AccName(alpha.get(), CHILDID_SELF), L"alpha\t1");
    EXPECT_EQ(Role(alpha.get(), 1), ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_EQ(AccName(alpha.get(), 1), L"*");
    EXPECT_FALSE(State(alpha.get(), 1) & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED));
    EXPECT_EQ(Role(alpha.get(), 2), ROLE_SYSTEM_CELL);
    EXPECT_EQ(AccName(alpha.get(), 3), L"1");
    const Accessible gamma = RowObject(table.get(), 3);
    EXPECT_TRUE(State(gamma.get(), 1) & STATE_SYSTEM_MIXED);

    // Moving: the table's rows form a column, a row's cells a line.
    struct Move {
        IAccessible* object;
        long from;
        long direction;
        HRESULT result;
        long to;
    };
    const Move moves[] = {
        {table.get(), CHILDID_SELF, NAVDIR_LASTCHILD, S_OK, 3},
        {table.get(), 2, NAVDIR_DOWN, S_OK, 3},
        {table.get(), 1, NAVDIR_PREVIOUS, S_FALSE, 0},
        {table.get(), 1, NAVDIR_RIGHT, E_NOTIMPL, 0},
        {alpha.get(), CHILDID_SELF, NAVDIR_FIRSTCHILD, S_OK, 1},
        {alpha.get(), 1, NAVDIR_RIGHT, S_OK, 2},
        {alpha.get(), 3, NAVDIR_LEFT, S_OK, 2},
        {alpha.get(), 3, NAVDIR_NEXT, S_FALSE, 0},
        {alpha.get(), 1, NAVDIR_DOWN, E_NOTIMPL, 0},
    };
    for (const Move& move : moves) {
        VARIANT end;
        EXPECT_EQ(move.object->accNavigate(move.direction, Child(move.from), &end), move.result)
            << move.from << " " << move.direction;
        EXPECT_EQ(end.vt == VT_I4 ? end.lVal : 0, move.to) << move.from << " " << move.direction;
    }

    // The check button's default action is a click on it.
    ASSERT_EQ(alpha->accDoDefaultAction(Child(1)), S_OK);
    EXPECT_EQ(Model().Items()[1].values[0], CellValue(true));
    EXPECT_TRUE(State(alpha.get(), 1) & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(changes_, (std::vector<std::pair<int, int>>{{1, 0}}));
    // Selecting a row through the table focuses it in the grid.
    ASSERT_EQ(table->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Child(3)), S_OK);
    EXPECT_EQ(Model().ItemFocusedRow(), 2);
    EXPECT_EQ(::GetFocus(), Grid());

    // Row objects outlive neither rows nor the grid.
    Fill({});
    EXPECT_EQ(alpha->get_accChildCount(&count), RPC_E_DISCONNECTED);
    ::DestroyWindow(Grid());
    EXPECT_EQ(table->get_accChildCount(&count), RPC_E_DISCONNECTED);
}

TEST_F(GridControlTest, PaintingShowsTheSelectionTheSortColumnAndTheTicks) {
    ::SetFocus(Grid());
    Pump();
    // Far right in the value column, where no text reaches.
    EXPECT_EQ(PixelAt(290, kRowsTop + 8), ::GetSysColor(COLOR_HIGHLIGHT)); // selected, focused
    EXPECT_EQ(PixelAt(290, kRowsTop + 17 + 8), ::GetSysColor(COLOR_WINDOW));
    Click(200, 10); // sorted by value: alpha 1, beta 2, gamma 3
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF shaded =
        RGB(GetRValue(window) - GetRValue(window) / 16, GetGValue(window) - GetGValue(window) / 16,
            GetBValue(window) - GetBValue(window) / 16);
    EXPECT_EQ(PixelAt(290, kRowsTop + 8), shaded); // alpha
    EXPECT_EQ(PixelAt(100, kRowsTop + 8), window); // not the sort column
    EXPECT_EQ(PixelAt(290, kRowsTop + 17 + 8), ::GetSysColor(COLOR_HIGHLIGHT)); // beta
    // The ticked box differs from the empty one in its middle.
    EXPECT_NE(PixelAt(10, kRowsTop + 17 + 8), PixelAt(10, kRowsTop + 8));
    ::SetFocus(host_.Get());
    Pump();
    EXPECT_EQ(PixelAt(290, kRowsTop + 17 + 8), ::GetSysColor(COLOR_BTNFACE)); // no focus
}

TEST_F(GridControlTest, TheScrollBarRepeatsWhileItsArrowIsHeldAndTheWheelScrolls) {
    std::vector<std::vector<CellValue>> rows;
    for (int i = 0; i < 200; ++i)
        rows.push_back({true, "row " + std::to_string(i), ""});
    Fill(rows);
    Model().FocusRow(0);
    const ScrollBarGeometry bar = Model().ScrollBar();
    ASSERT_GT(bar.downArrow.height, 0);
    const POINT arrow{bar.downArrow.left + bar.downArrow.width / 2,
                      bar.downArrow.top + bar.downArrow.height / 2};
    POINT screen = arrow;
    ::ClientToScreen(Grid(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageW(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrow.x, arrow.y));
    EXPECT_EQ(Model().ScrollOffset(), 17); // the press itself steps once
    EXPECT_EQ(::GetCapture(), Grid());
    POINT now;
    ::GetCursorPos(&now);
    if (now.x == screen.x && now.y == screen.y) {
        Pump(450); // about five repeats of 86 ms
        EXPECT_GE(Model().ScrollOffset(), 3 * 17);
    }
    ::SendMessageW(Grid(), WM_LBUTTONUP, 0, MAKELPARAM(arrow.x, arrow.y));
    EXPECT_NE(::GetCapture(), Grid());
    const int stopped = Model().ScrollOffset();
    Pump(200);
    EXPECT_EQ(Model().ScrollOffset(), stopped);

    ::SendMessageW(Grid(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
    EXPECT_EQ(Model().ScrollOffset(), stopped + 17);
    ::SendMessageW(Grid(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(2 * WHEEL_DELTA)), 0);
    EXPECT_EQ(Model().ScrollOffset(), stopped - 17);
}

} // namespace
} // namespace orvan::testing
