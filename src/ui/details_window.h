#pragma once
// The details window: the selected candidate's details text as a table of name/value
// rows with ticks and, on a second tab, as plain "name=value" lines. From it the user
// copies one value or every ticked row, or saves the ticked rows to a text file. A
// sizeable tool window, shown modally over the search window and released when closed.
// What it shows and does is decided by the core's details model (core/ui/details_view.h);
// this is the window around it.
#include "core/fileinfo/text_file.h"
#include "core/ui/details_view.h"
#include "ui/controls.h"
#include "ui/list_view.h"
#include "ui/window.h"

#include <functional>
#include <string>

namespace orvan::ui {

// Control identifiers; Close is the cancel button, so Esc closes the window.
namespace DetailsId {
constexpr int PageControl = 100;
constexpr int Icon = 101;
constexpr int Heading = 102;
constexpr int Grid = 103;
constexpr int Memo = 104;
constexpr int ToClipboard = 105;
constexpr int Close = IDCANCEL;
} // namespace DetailsId

// The popup menu's commands: its base plus the command's tag.
inline constexpr int kDetailsMenuBase = 300;

// Asks where to save: the request's file name in, the chosen one out; true when confirmed.
using SaveDialogRunner = std::function<bool(HWND owner, SaveDialogRequest& request)>;

class DetailsWindow final : public Window {
public:
    explicit DetailsWindow(TextFileServices files);
    ~DetailsWindow() override;

    // Builds the window, hidden, for a details text and the picture to show (borrowed),
    // owned by `owner`. False when it cannot be created.
    bool Create(HWND owner, const std::string& detailsText, HICON picture);
    // Shows the window and runs its own message loop until it is closed; the owner is
    // disabled meanwhile. A quit message that arrives ends the loop and is posted again.
    void RunModal();
    // Shows it without a loop of its own (the tests' way).
    void Show();
    bool Visible() const;
    bool Closed() const { return closed_; }

    // The save dialog; by default the common one.
    void SetSaveDialog(SaveDialogRunner runner) { saveDialog_ = std::move(runner); }

    // The commands of the popup menu and the buttons.
    void Command(DetailsCommand command);
    void CopyAllToClipboard();
    // Writes the ticked rows to a file; a failure is shown in the message dialog.
    bool SaveToFile(const std::string& fileName);
    void Close();

    // Read by tests and tools.
    const DetailsContent& Content() const { return content_; }
    ListView& Grid() { return grid_; }
    HWND PageControl() const { return pageControl_; }
    HWND Heading() const { return heading_; }
    HWND Memo() const { return memo_; }
    HWND Button(int id) const { return ::GetDlgItem(Handle(), id); }
    HMENU PopupMenu() const { return popup_.Get(); }
    // Shows the details or the memo tab.
    void SelectTab(int tab);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreate();
    void OnSize();
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnCommand(int id);
    void ApplyDpi(int dpi);
    void LayoutPages();
    void Fill(const std::string& detailsText, HICON picture);
    void ShowPopup(POINT screen);
    void CopyText(const std::string& text);
    void SaveWithDialog();
    void ShowFailure(const std::string& errorText);

    TextFileServices files_;
    SaveDialogRunner saveDialog_;
    DetailsContent content_;
    int dpi_ = 96;
    bool closed_ = false;
    bool modal_ = false; // inside RunModal
    HWND owner_ = nullptr;
    HICON picture_ = nullptr;

    UniqueFont font_;
    UniqueMenu popup_;
    HWND pageControl_ = nullptr;
    Panel detailsPage_;
    Panel memoPage_;
    ImageBox icon_;
    HWND heading_ = nullptr;
    ListView grid_;
    HWND memo_ = nullptr;
    HWND toClipboard_ = nullptr;
    HWND close_ = nullptr;
};

// Builds the details window for a details text and picture, shows it modally over `owner`
// and returns when it is closed; the hourglass shows while it is built. `current` points
// at the window while it is up (for the search window's auto-hide).
void ShowDetails(HWND owner, const std::string& detailsText, HICON picture,
                 const TextFileServices& files, DetailsWindow** current = nullptr);

} // namespace orvan::ui
