#pragma once
// The launcher's windows in the test process: an application over a temporary
// application-data folder (so that options and catalog files are the test's own), and the
// helpers that type, press keys and pump messages the way the message loop does.
#include "core/catalog/catalog_file.h"
#include "core/config/options.h"
#include "platform/native.h"
#include "platform/system_services.h"
#include "ui/application.h"
#include "win32/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvan::testing {

// A fresh folder below the temporary folder, removed with everything in it at the end.
class UiTempFolder {
public:
    UiTempFolder();
    ~UiTempFolder();
    UiTempFolder(const UiTempFolder&) = delete;
    UiTempFolder& operator=(const UiTempFolder&) = delete;

    std::string Path(const std::string& relative = "") const {
        return relative.empty() ? root_ : root_ + "\\" + relative;
    }
    void Write(const std::string& path, const std::string& bytes) const;
    std::string Read(const std::string& path) const;

private:
    std::string root_;
};

// The platform's special folders, except that application data lives in the test's folder.
class TestFolders final : public SpecialFolderPort {
public:
    explicit TestFolders(std::string appData) : appData_(std::move(appData)) {}
    std::string GetSpecialFolder(int folderNumber) const override;

private:
    std::string appData_;
};

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest();
    ~LauncherTest() override;

    // The options file and the catalog file the application will load.
    std::string OptionsFile() const;
    void WriteOptions(const std::string& ini) const;
    void WriteCatalog(const std::vector<CatalogItem>& items) const;

    // Creates the start-up objects and starts in the mode.
    void Start(StartMode mode = StartMode::Resident);
    ui::SearchWindow& Search() { return app_->Search(); }
    ui::RunTab& Run() { return app_->Search().Run(); }
    ui::MainWindow& Main() { return app_->Main(); }
    ui::Application& App() { return *app_; }

    // Handles the messages waiting (and those they cause) for at least `milliseconds`;
    // false when the quit message came.
    bool Pump(int milliseconds = 0);
    bool QuitPosted() const { return quit_; }

    void Type(HWND edit, const std::wstring& text);
    void SetInput(const std::wstring& text);
    // A key press posted to `target` with the modifiers held, handled as the loop does.
    void Press(HWND target, UINT virtualKey, bool ctrl = false, bool alt = false,
               bool shift = false);

    std::wstring Text(HWND window) const;
    std::vector<std::wstring> Rows() const;
    int RowCount() const;
    // A control's rectangle in its parent's client coordinates.
    RECT InParent(HWND window) const;

    UiTempFolder temp_;
    TestFolders folders_;
    ProgramServices services_;
    std::unique_ptr<ui::Application> app_;
    bool quit_ = false;
};

// Arms a timer that waits for a dialog with the title to come up inside a modal loop of
// this thread, then calls `act` with it once. Returns the timer; kill it when done.
UINT_PTR WhenDialogAppears(const std::wstring& title, std::function<void(HWND)> act);
// The same for a window of a class, with any title when `title` is empty.
UINT_PTR WhenWindowAppears(const std::wstring& className, const std::wstring& title,
                           std::function<void(HWND)> act);

// Steps that run inside the modal loops the test's call into the program blocks in: one
// step per tick of a thread timer, so that every loop handles what a step posted (timer
// messages come last) before the next step runs. A step answers false to be tried again on
// the next tick, for waiting until something is shown or done. Past the deadline the
// script fails the test and closes the program's dialogs, so that a stuck test ends.
class ModalScript {
public:
    using Step = std::function<bool()>;
    explicit ModalScript(std::vector<Step> steps, int deadlineMilliseconds = 30000);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Whether every step has run.
    bool Finished() const { return next_ >= steps_.size(); }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    ULONGLONG deadline_;
    UINT_PTR timer_ = 0;
};

// A step that does something once.
ModalScript::Step Do(std::function<void()> action);

// The first visible top-level window of the class (and title) in this process.
HWND VisibleWindow(const wchar_t* className, const wchar_t* title = nullptr);

// The text of an options file, which is written as UTF-16LE with a byte-order mark; the
// keys and values the tests look for are ASCII.
std::string IniText(const std::string& bytes);

// A tab's caption in a tab control.
std::wstring TabCaption(HWND tabs, int index);

// A menu's items as shown: "-" for a separator, " (grey)" after a disabled item's text.
std::vector<std::wstring> MenuItems(HMENU menu);

// Skips a test when the display is not at the designed 96 DPI.
bool At96Dpi(HWND window);

} // namespace orvan::testing
