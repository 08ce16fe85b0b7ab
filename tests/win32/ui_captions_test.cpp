// Every window of the launcher under a pseudo-language in which each text of the table reads
// "[[Text]]": a caption, tab, drop-down item, menu item or tool tip without the brackets was
// written past the table and would stay English in every translation. The test names it.
#include "captions.h"
#include "ui_fixture.h"

#include "core/language/language.h"
#include "core/language/language_file.h"
#include "ui/details_window.h"
#include "ui/message_dialog.h"
#include "ui/settings_path_window.h"
#include "ui/settings_window.h"

namespace orvan::testing {
namespace {

constexpr int kPseudoCode = 1031;

std::string Joined(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const std::wstring& line : lines)
        text += win32::Narrow(line.c_str()) + "\n";
    return text;
}

void Append(std::vector<ShownText>& to, const std::vector<ShownText>& texts) {
    to.insert(to.end(), texts.begin(), texts.end());
}

class CaptionsTest : public LauncherTest {
protected:
    void SetUp() override { StartIn(kPseudoCode); }
    void StartIn(int code) {
        services_.options.programFileName = temp_.Path("Program\\Orvan.exe");
        WritePseudoLanguage(services_.options.programFileName, kPseudoCode);
        WriteOptions("[Global]\r\nLanguage=" + std::to_string(code) +
                     "\r\nAutoHide=0\r\n"
                     "[Paths]\r\nCount=1\r\nPath_1=C:\\One|*.lnk|-1|True|True\r\n");
        Start();
        ASSERT_EQ(CurrentLanguageCode(), code);
    }
    std::vector<ShownText> SearchWindowTexts() {
        std::vector<ShownText> texts = WindowTexts(Search().Handle(), L"search window");
        Append(texts, MenuTexts(Search().PopupMenu(), L"search menu"));
        Append(texts, MenuTexts(Main().PrepareTrayMenu(), L"tray menu"));
        Append(texts, ToolTipTexts());
        return texts;
    }
    void TearDown() override { ClearTranslations(); }
};

TEST_F(CaptionsTest, TheSearchWindowWithEveryPageItsMenuAndTheTrayMenu) {
    Search().ShowSearch();
    Pump();
    const std::vector<ShownText> texts = SearchWindowTexts();
    EXPECT_EQ(Untranslated(texts), std::vector<std::wstring>{}) << Joined(Untranslated(texts));
}

// The same window made in English and switched as the settings dialog's OK switches it:
// every caption is read again, none stays as it was made.
class CaptionsSwitchTest : public CaptionsTest {
protected:
    void SetUp() override { StartIn(1); }
};

TEST_F(CaptionsSwitchTest, AnotherLanguageReachesEveryCaptionOfTheSearchWindowAtOnce) {
    Search().ShowSearch();
    Pump();
    SettingsOptions options = CurrentOptions();
    options.language = kPseudoCode;
    ApplyOptions(options);
    ASSERT_EQ(Languages::Text(0), "[[Error]]");
    // The robot's display is a log: what it said before the switch stays as it was said.
    const auto robotLog = [](const ShownText& shown) {
        wchar_t kind[32] = {};
        ::GetClassNameW(shown.window, kind, 32);
        return std::wstring(kind) == L"RobotMemo";
    };
    const std::vector<ShownText> texts = SearchWindowTexts();
    EXPECT_EQ(Untranslated(texts, robotLog), std::vector<std::wstring>{})
        << Joined(Untranslated(texts, robotLog));
}

TEST_F(CaptionsTest, TheMessageAndQuestionDialogs) {
    std::vector<ShownText> texts;
    const std::wstring title = win32::Wide(Languages::Text(0));
    UINT_PTR timer = WhenDialogAppears(title, [&](HWND dialog) {
        Append(texts, WindowTexts(dialog, L"message dialog"));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    ui::ShowMessageDialog(Languages::Text(0), Languages::Text(7));
    ::KillTimer(nullptr, timer);
    const std::wstring question = win32::Wide(Languages::Text(6));
    timer = WhenDialogAppears(question, [&](HWND dialog) {
        Append(texts, WindowTexts(dialog, L"question dialog"));
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ui::AskYesNoCancel(Languages::Text(6), Languages::Text(7));
    ::KillTimer(nullptr, timer);
    ASSERT_GE(texts.size(), 6u); // two captions, two texts, OK, Yes, No, Cancel
    EXPECT_EQ(Untranslated(texts), std::vector<std::wstring>{}) << Joined(Untranslated(texts));
}

TEST_F(CaptionsTest, TheDetailsWindowOfAFile) {
    temp_.Write(temp_.Path("report.exe"), "not a program, but a file");
    Search().ShowSearch();
    Pump();
    SetInput(win32::Wide(temp_.Path("report.exe")));
    const std::wstring shown = Text(Run().Label());
    ui::DetailsWindow window(services_.textFiles);
    ASSERT_TRUE(
        window.Create(Search().Handle(), win32::Narrow(shown.c_str()), Run().IconPicture()));
    window.Show();
    Pump();
    std::vector<ShownText> texts = WindowTexts(window.Handle(), L"details window");
    Append(texts, MenuTexts(window.PopupMenu(), L"details menu"));
    EXPECT_EQ(Untranslated(texts), std::vector<std::wstring>{}) << Joined(Untranslated(texts));
}

TEST_F(CaptionsTest, TheSettingsDialogWithEveryPageItsMenusAndThePathEditor) {
    std::vector<ShownText> texts;
    ui::SettingsWindow& dialog = App().SettingsDialog();
    ModalScript script({
        [] { return VisibleWindow(ui::kSettingsClass) != nullptr; },
        Do([&] {
            Append(texts, WindowTexts(dialog.Handle(), L"settings"));
            Append(texts, MenuTexts(dialog.PathMenu(), L"path menu"));
            dialog.SelectPage(ui::SettingsPage::Catalog);
        }),
        Do([&] {
            ::PostMessageW(dialog.Handle(), WM_COMMAND,
                           WPARAM(ui::SettingsId::PathMenu + PathMenuTag::Add), 0);
        }),
        [] { return VisibleWindow(ui::kSettingsPathClass) != nullptr; },
        Do([&] {
            const HWND editor = VisibleWindow(ui::kSettingsPathClass);
            Append(texts, WindowTexts(editor, L"path editor"));
            ::PostMessageW(::GetDlgItem(editor, ui::PathEditorId::Cancel), BM_CLICK, 0, 0);
        }),
        [] { return VisibleWindow(ui::kSettingsPathClass) == nullptr; },
        Do([&] {
            Append(texts, ToolTipTexts());
            ::PostMessageW(dialog.Control(ui::SettingsId::Cancel), BM_CLICK, 0, 0);
        }),
    });
    Main().TrayCommand(2);
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(Untranslated(texts), std::vector<std::wstring>{}) << Joined(Untranslated(texts));
}

// The shipped translations run longer than English. Every check box, radio button, push
// button and one-line label of the settings dialog and the path editor must show its whole
// caption in each of them.
class ShippedLanguageFitTest : public LauncherTest,
                               public ::testing::WithParamInterface<ShippedLanguage> {
protected:
    void SetUp() override {
        services_.options.programFileName = temp_.Path("Program\\Orvan.exe");
        const std::string bytes = ShippedLanguageBytes(GetParam());
        ASSERT_FALSE(bytes.empty()) << GetParam().file;
        temp_.Write(temp_.Path("Program\\Languages\\") + GetParam().file, bytes);
        WriteOptions("[Global]\r\nLanguage=" + std::to_string(GetParam().code) + "\r\n");
        Start();
        ASSERT_EQ(CurrentLanguageCode(), GetParam().code);
    }
    void TearDown() override { ClearTranslations(); }
};

TEST_P(ShippedLanguageFitTest, TheSettingsDialogAndThePathEditorShowWholeCaptions) {
    std::vector<std::wstring> clipped;
    ui::SettingsWindow& dialog = App().SettingsDialog();
    ModalScript script({
        [] { return VisibleWindow(ui::kSettingsClass) != nullptr; },
        Do([&] {
            const std::vector<std::wstring> found = ClippedCaptions(dialog.Handle(), L"settings");
            clipped.insert(clipped.end(), found.begin(), found.end());
            ::PostMessageW(dialog.Handle(), WM_COMMAND,
                           WPARAM(ui::SettingsId::PathMenu + PathMenuTag::Add), 0);
        }),
        [] { return VisibleWindow(ui::kSettingsPathClass) != nullptr; },
        Do([&] {
            const HWND editor = VisibleWindow(ui::kSettingsPathClass);
            const std::vector<std::wstring> found = ClippedCaptions(editor, L"path editor");
            clipped.insert(clipped.end(), found.begin(), found.end());
            ::PostMessageW(::GetDlgItem(editor, ui::PathEditorId::Cancel), BM_CLICK, 0, 0);
        }),
        [] { return VisibleWindow(ui::kSettingsPathClass) == nullptr; },
        Do([&] { ::PostMessageW(dialog.Control(ui::SettingsId::Cancel), BM_CLICK, 0, 0); }),
    });
    Main().TrayCommand(2);
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(clipped, std::vector<std::wstring>{}) << Joined(clipped);
}

INSTANTIATE_TEST_SUITE_P(Shipped, ShippedLanguageFitTest, ::testing::ValuesIn(kShippedLanguages),
                         [](const auto& shipped) { return std::to_string(shipped.param.code); });

} // namespace
} // namespace orvan::testing
