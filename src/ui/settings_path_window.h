#pragma once
// TSettingsPath, the catalog path editor: a small modal tool window that edits one catalog
// source folder (folder, mask, depth, whether folders become entries, whether it takes part
// in scans). It is made for each edit and released at once; it shows what the editor model
// decides and stores exactly what the user typed.
#include "core/catalog/catalog.h"
#include "core/settings/path_editor_model.h"
#include "ui/controls.h"
#include "ui/gdi.h"
#include "ui/window.h"

#include <windows.h>

#include <array>

namespace orvan::ui {

inline constexpr const wchar_t* kSettingsPathClass = L"TSettingsPath";

namespace PathEditorId {
constexpr int Ok = IDOK;
constexpr int Cancel = IDCANCEL;
constexpr int PathLabel = 100;
constexpr int MaskLabel = 101;
constexpr int DepthLabel = 102;
constexpr int Path = 110;
constexpr int SpecialFolders = 111;
constexpr int Mask = 112;
constexpr int Depth = 113;
constexpr int DepthSpin = 114;
constexpr int UnlimitedDepth = 115;
constexpr int IncludeDirectories = 116;
constexpr int Active = 117;
constexpr int SpecialFolderMenu = 200; // + the item's position
} // namespace PathEditorId

// Edits `path` in place in the modal editor over `owner`; true when the user confirmed with
// OK. On any other end the path is left as it was.
bool EditCatalogPath(SettingsOptionsCatalogPath& path, HWND owner);

class SettingsPathWindow final : public Window {
public:
    explicit SettingsPathWindow(SettingsOptionsCatalogPath& path) : path_(path) {}

    // Creates the window hidden, with its texts and the path's values.
    HWND Create(HWND owner);
    // Shows it modally over the owner; true on OK, when the path has been stored.
    bool RunModal(HWND owner);

    HWND Control(int id) const { return ::GetDlgItem(Handle(), id); }
    // The special-folder menu as it pops up, and a choice from it (for tests and tools).
    HMENU SpecialFolderMenu() const { return menu_.Get(); }
    void InsertSpecialFolder(std::size_t item);
    // The state rules: OK needs a path, the depth edit needs Unlimited depth cleared.
    void UpdateState();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreate();
    void ApplyDpi(int dpi);
    void Layout();
    void OnCommand(int id, int code);
    bool OnNotify(const NMHDR& header);
    void OnOk();
    void OnCancel();
    void ShowSpecialFolders();
    void StepDepth(int step);
    void DropRefusedCharacters(HWND edit);
    bool HandleKey(const MSG& message);
    PathEditorControls ReadControls() const;

    SettingsOptionsCatalogPath& path_;
    enum class Result { Open, Ok, Cancel } result_ = Result::Open;
    int dpi_ = 96;
    UniqueFont font_;
    UniqueMenu menu_;
    std::array<FixedTailLabel, 3> labels_; // Path, Mask, Depth
};

} // namespace orvan::ui
