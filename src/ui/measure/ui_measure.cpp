// Measures the launcher under Wine (or Windows): the start-up of Orvan.exe to an idle
// message loop and its working set with a large catalog, the time from a keystroke in
// the input line to the repainted candidate list, and the settings dialog while it rebuilds
// a catalog of 100 000 files. Not a test: it prints numbers.
//
//   orvan_ui_measure.exe PATH\TO\Orvan.exe
//   orvan_ui_measure.exe --rebuild
//   orvan_ui_measure.exe --grid      (the grid with 100 000 rows only)
//   orvan_ui_measure.exe --auto-update [FILES]   (the catalog's automatic update)
#include "core/catalog/catalog_file.h"
#include "core/catalog/catalog_keeper.h"
#include "core/catalog/scanner.h"
#include "core/config/options.h"
#include "core/ports/clock.h"
#include "platform/native.h"
#include "platform/system_services.h"
#include "ui/application.h"
#include "ui/list_view.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace orvan;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Entries as a start menu gives them: a path, a display name.
std::vector<CatalogItem> MakeCatalog(int count) {
    std::vector<CatalogItem> items;
    items.reserve(std::size_t(count));
    const char* words[] = {"Editor", "Viewer", "Player", "Manager", "Studio", "Tool", "Setup"};
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        const std::string name = std::string(words[i % 7]) + " " + number;
        items.push_back(
            {"C:\\Program Files\\Vendor " + std::to_string(i % 500) + "\\app" + number + ".exe",
             name, 0});
    }
    return items;
}

struct ProcessResult {
    double idleMs = 0;
    SIZE_T workingSet = 0;
};

bool MeasureStart(const std::wstring& exe, ProcessResult& result) {
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const double begin = Now();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return false;
    ::WaitForInputIdle(info.hProcess, 60000);
    result.idleMs = Now() - begin;
    // The catalog is read after the idle point, on a thread of its own: the memory is read
    // once that is done.
    ::Sleep(3000);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    ::GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory));
    result.workingSet = memory.WorkingSetSize;
    if (HWND main = ::FindWindowW(L"TzorMain", L"Orvan!"))
        ::PostMessageW(main, WM_QUIT, 0, 0);
    if (::WaitForSingleObject(info.hProcess, 20000) != WAIT_OBJECT_0)
        ::TerminateProcess(info.hProcess, 1);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return true;
}

void MeasureStartUp(const std::wstring& exe, int entries) {
    const ProgramServices services = platform::SystemServices();
    const std::string optionsFile = DefaultOptions(services.options).fileName;
    const std::string catalogFile = CatalogFileName(optionsFile);
    const FileContent savedCatalog = platform::FileStore().ReadWholeFile(catalogFile);
    platform::FileStore().CreateFolders(ExtractFilePath(catalogFile));
    platform::FileStore().ReplaceWholeFile(catalogFile, SerializeCatalog(MakeCatalog(entries)));

    // The catalog file's share of it: the same file loaded in this process.
    {
        SettingsOptions record = DefaultOptions(services.options);
        const double begin = Now();
        const FileResult loaded = LoadCatalog(record, services.catalog);
        if (!loaded)
            std::printf("loading the catalog file failed: %s\n", loaded.Error().c_str());
        else if (entries > 0)
            std::printf("loading the catalog file of %zu entries alone: %.0f ms\n",
                        record.catalog.items.size(), Now() - begin);
    }

    const RegistryPort& registry = *services.registry;
    const bool installed =
        registry.KeyExists(RegistryRoot::CurrentUser, "Software\\Morvane\\Orvan");
    if (!installed)
        registry.WriteString(RegistryRoot::CurrentUser, "Software\\Morvane\\Orvan", "Path", "C:\\");

    std::vector<double> idle;
    std::vector<double> working;
    for (int run = 0; run < 5; ++run) {
        ProcessResult result;
        if (!MeasureStart(exe, result)) {
            std::printf("could not start %ls\n", exe.c_str());
            break;
        }
        idle.push_back(result.idleMs);
        working.push_back(double(result.workingSet) / 1048576.0);
    }
    std::printf("start-up to idle message loop, %d entries: median %.0f ms (of %zu runs)\n",
                entries, Median(idle), idle.size());
    std::printf("working set after start, %d entries: median %.1f MB\n", entries, Median(working));

    if (!installed)
        registry.DeleteKeyTree(RegistryRoot::CurrentUser, "Software\\Morvane\\Orvan");
    if (savedCatalog.status == FileContent::Status::Read)
        platform::FileStore().ReplaceWholeFile(catalogFile, savedCatalog.bytes);
    else
        ::DeleteFileW(win32::Wide(catalogFile).c_str());
}

// Handles every waiting message, the paints included, as the message loop would, except the
// timers: they come only when nothing else waits, after the list has been repainted (the
// rows' icons are fetched on one), so they are not part of a keystroke's time.
void Settle(ui::Application& app) {
    MSG message{};
    for (;;) {
        if (!::PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE) &&
            !::PeekMessageW(&message, nullptr, WM_TIMER + 1, 0xFFFFFFFF, PM_REMOVE))
            break;
        app.TranslateAndDispatch(message);
    }
    ::GdiFlush();
}

// Application data in a temporary folder, so that the user's options stay untouched.
class TempFolders final : public SpecialFolderPort {
public:
    explicit TempFolders(std::string appData) : appData_(std::move(appData)) {}
    std::string GetSpecialFolder(int folderNumber) const override {
        if (folderNumber == Csidl::AppData || folderNumber == Csidl::LocalAppData)
            return appData_;
        return platform::SpecialFolders().GetSpecialFolder(folderNumber);
    }

private:
    std::string appData_;
};

void MeasureKeystrokes(int entries, ResultOrder order = ResultOrder::Name) {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const TempFolders folders(win32::Narrow(temp) + "orvan-measure");
    const ProgramServices services = WithSpecialFolders(platform::SystemServices(), folders);
    ui::Application app(services);
    app.CreateStartupObjects();
    app.Start(StartMode::ShowSearch);
    app.Search().WaitForCatalog();
    CurrentOptions().catalog.items = CatalogItems(MakeCatalog(entries));
    CurrentOptions().order = order;
    if (order == ResultOrder::Relevance)
        CurrentOptions().catalog.items.Relevance(); // made where the catalog is published
    Settle(app);
    const HWND edit = app.Search().Run().Edit();

    struct Step {
        const wchar_t* name;
        const wchar_t* keys; // typed one by one; \b is Backspace
    };
    // "e", "ex", "exe": every entry matches; "edit": a seventh; "1234": a few.
    const Step steps[] = {{L"all entries match (e, ex, exe)", L"exe\b\b\b"},
                          {L"a seventh matches (e, ed, edi, edit)", L"edit\b\b\b\b"},
                          {L"a few match (1, 12, 123, 1234)", L"1234\b\b\b\b"}};
    std::printf("keystroke to repainted list, %d entries, %s order:\n", entries,
                order == ResultOrder::Relevance ? "relevance" : "name");
    for (const Step& step : steps) {
        std::vector<double> typed;
        for (int round = 0; round < 8; ++round)
            for (const wchar_t* key = step.keys; *key; ++key) {
                const bool back = *key == L'\b';
                const double begin = Now();
                if (back) {
                    ::PostMessageW(edit, WM_KEYDOWN, VK_BACK, 1);
                    ::PostMessageW(edit, WM_CHAR, L'\b', 1);
                } else {
                    ::PostMessageW(edit, WM_CHAR, *key, 1);
                }
                Settle(app);
                ::UpdateWindow(app.Search().Run().ListBox());
                if (!back)
                    typed.push_back(Now() - begin);
                // The pause between two keystrokes, in which the idle work (the rows'
                // icons) runs.
                const double pause = Now();
                while (Now() - pause < 60) {
                    app.PumpPending();
                    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                }
            }
        // The same texts through the candidate list alone, and a repaint alone.
        std::vector<double> built;
        std::vector<double> painted;
        std::wstring text;
        long rows = 0;
        RunAvailableList list;
        for (const wchar_t* key = step.keys; *key && *key != L'\b'; ++key) {
            text += *key;
            const double begin = Now();
            RunBuildEnvironment build = services.build;
            build.order = order;
            BuildRunAvailableList(win32::Narrow(text.c_str()), CurrentOptions().catalog.items, list,
                                  build);
            built.push_back(Now() - begin);
            rows = long(list.size());
        }
        ::SetWindowTextW(edit, text.c_str());
        Settle(app);
        for (int round = 0; round < 5; ++round) {
            const double begin = Now();
            ::InvalidateRect(app.Search().Run().ListBox(), nullptr, TRUE);
            ::UpdateWindow(app.Search().Run().ListBox());
            ::GdiFlush();
            painted.push_back(Now() - begin);
        }
        ::SetWindowTextW(edit, L"");
        Settle(app);
        std::printf("  %-40ls median %6.1f ms, slowest %6.1f ms; list alone %5.1f ms, "
                    "repaint alone %4.1f ms; %ld rows for the whole text\n",
                    step.name, Median(typed), *std::max_element(typed.begin(), typed.end()),
                    Median(built), Median(painted), rows);
    }
}

// --- the settings dialog rebuilding a large tree ------------------------------------------

// 10 x 10 x 10 folders with 100 files each: 100 000 files, made once and kept for later runs.
std::wstring MakeRebuildTree(const std::wstring& root) {
    const std::wstring done = root + L"\\made";
    if (::GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES)
        return root;
    const double begin = Now();
    ::CreateDirectoryW(root.c_str(), nullptr);
    for (int a = 0; a < 10; ++a) {
        const std::wstring first = root + L"\\" + std::to_wstring(a);
        ::CreateDirectoryW(first.c_str(), nullptr);
        for (int b = 0; b < 10; ++b) {
            const std::wstring second = first + L"\\" + std::to_wstring(b);
            ::CreateDirectoryW(second.c_str(), nullptr);
            for (int c = 0; c < 10; ++c) {
                const std::wstring third = second + L"\\" + std::to_wstring(c);
                ::CreateDirectoryW(third.c_str(), nullptr);
                for (int f = 0; f < 100; ++f) {
                    const std::wstring file = third + L"\\file" + std::to_wstring(f) + L".txt";
                    ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
                }
            }
        }
    }
    ::CloseHandle(::CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    std::printf("made the tree of 100 000 files in %.0f s\n", (Now() - begin) / 1000);
    return root;
}

std::wstring StoredText(HWND window) {
    wchar_t text[1024] = {};
    // Read without a message, as a screen reader would, from the measuring thread.
    ::InternalGetWindowText(window, text, 1024);
    return text;
}

// Answers the measuring thread on the dialog's thread: 1 while the dialog's scan, a stopped
// one still ending included, runs.
const CatalogKeeper* rebuildKeeper = nullptr;
LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP)
        return rebuildKeeper && rebuildKeeper->DialogRebuilding() ? 1 : 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

struct RebuildFigures {
    std::vector<double> gaps;      // between two changes of the progress text
    std::vector<double> rates;     // changes per second in one observation
    std::vector<double> stopShown; // Stop clicked to "Rebuild" shown again
    std::vector<double> stopEnded; // Stop clicked to the scan ended
    std::vector<double> filesPerSecond;
};

// The measuring thread: starts a rebuild, watches the progress text for `observeMs`, clicks
// Stop and times how soon the caption changes and the scan has ended; `rounds` times.
void WatchRebuilds(HWND progress, HWND rescan, HWND probe, HWND dialog, int rounds,
                   double observeMs, RebuildFigures& figures) {
    for (int round = 0; round < rounds; ++round) {
        ::PostMessageW(rescan, BM_CLICK, 0, 0);
        while (StoredText(rescan) != L"Stop")
            ::Sleep(1);
        const double begin = Now();
        double last = begin;
        double firstChange = 0;
        int changes = 0;
        std::wstring shown = StoredText(progress);
        long firstFiles = -1, lastFiles = 0;
        while (Now() - begin < observeMs) {
            const std::wstring text = StoredText(progress);
            if (text != shown && text.rfind(L"Rebuilding", 0) == 0) {
                const double now = Now();
                if (changes > 0)
                    figures.gaps.push_back(now - last);
                else
                    firstChange = now;
                last = now;
                ++changes;
                shown = text;
                const std::size_t files = text.find(L"Files: ");
                if (files != std::wstring::npos) {
                    lastFiles = std::wcstol(text.c_str() + files + 7, nullptr, 10);
                    if (firstFiles < 0)
                        firstFiles = lastFiles;
                }
            }
            ::Sleep(1);
        }
        if (changes > 1) {
            figures.rates.push_back((changes - 1) * 1000.0 / (last - firstChange));
            figures.filesPerSecond.push_back((lastFiles - firstFiles) * 1000.0 /
                                             (last - firstChange));
        }
        const double stop = Now();
        ::PostMessageW(rescan, BM_CLICK, 0, 0);
        while (StoredText(rescan) != L"Rebuild")
            ::Sleep(0);
        figures.stopShown.push_back(Now() - stop);
        // Asked on the dialog's thread until the stopped scan has ended.
        while (::SendMessageW(probe, WM_APP, 0, 0) != 0)
            ::Sleep(0);
        figures.stopEnded.push_back(Now() - stop);
        ::Sleep(300);
    }
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

struct RebuildRun {
    ui::Application* app = nullptr;
    HWND probe = nullptr;
    RebuildFigures figures;
    std::thread watcher;
};
RebuildRun* rebuildRun = nullptr;

void CALLBACK StartWatching(HWND, UINT, UINT_PTR timer, DWORD) {
    ui::SettingsWindow& dialog = rebuildRun->app->SettingsDialog();
    if (!dialog.Visible())
        return;
    ::KillTimer(nullptr, timer);
    dialog.SelectPage(ui::SettingsPage::Status);
    rebuildKeeper = &rebuildRun->app->Catalog();
    rebuildRun->watcher = std::thread(WatchRebuilds, dialog.Control(ui::SettingsId::Progress),
                                      dialog.Control(ui::SettingsId::Rescan), rebuildRun->probe,
                                      dialog.Handle(), 5, 4000.0, std::ref(rebuildRun->figures));
}

void MeasureSettingsRebuild() {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring tree = MakeRebuildTree(std::wstring(temp) + L"orvan-measure-tree");
    const TempFolders folders(win32::Narrow(temp) + "orvan-measure");
    const ProgramServices services = WithSpecialFolders(platform::SystemServices(), folders);
    SettingsOptions options = DefaultOptions(services.options);
    SettingsOptionsCatalogPath path;
    path.path = win32::Narrow(tree.c_str());
    path.mask = "*.*";
    path.depth = UnlimitedDepth;
    path.includeDirectories = false;
    path.active = true;
    options.catalog.paths = {path};
    platform::FileStore().CreateFolders(ExtractFilePath(options.fileName));
    if (const FileResult saved = SaveOptions(options, services.options); !saved) {
        std::fprintf(stderr, "%s\n", saved.Error().c_str());
        return;
    }

    ui::Application app(services);
    app.CreateStartupObjects();
    app.Start(StartMode::Resident);
    app.Search().WaitForCatalog();
    WNDCLASSW probeClass{};
    probeClass.lpfnWndProc = ProbeProc;
    probeClass.hInstance = ::GetModuleHandleW(nullptr);
    probeClass.lpszClassName = L"OrvanMeasureProbe";
    ::RegisterClassW(&probeClass);
    RebuildRun run;
    run.app = &app;
    run.probe = ::CreateWindowW(L"OrvanMeasureProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                probeClass.hInstance, nullptr);
    rebuildRun = &run;
    ::SetTimer(nullptr, 0, 50, StartWatching);
    app.Settings().show(); // returns when the watcher has cancelled the dialog
    if (run.watcher.joinable())
        run.watcher.join();
    rebuildRun = nullptr;
    rebuildKeeper = nullptr;
    ::DestroyWindow(run.probe);

    const RebuildFigures& f = run.figures;
    std::printf("settings dialog rebuilding a tree of 100 000 files (1000 folders of 100), "
                "%zu rounds of 4 s:\n",
                f.stopEnded.size());
    if (!f.gaps.empty())
        std::printf("  progress text: median %.1f updates/s (lowest %.1f); gap between updates "
                    "median %.0f ms, longest %.0f ms\n",
                    Median(f.rates), *std::min_element(f.rates.begin(), f.rates.end()),
                    Median(f.gaps), *std::max_element(f.gaps.begin(), f.gaps.end()));
    if (!f.filesPerSecond.empty())
        std::printf("  scanned: median %.0f files/s\n", Median(f.filesPerSecond));
    if (!f.stopEnded.empty())
        std::printf(
            "  Stop click to \"Rebuild\" shown: median %.1f ms, longest %.1f ms; to the scan "
            "ended: median %.1f ms, longest %.1f ms\n",
            Median(f.stopShown), *std::max_element(f.stopShown.begin(), f.stopShown.end()),
            Median(f.stopEnded), *std::max_element(f.stopEnded.begin(), f.stopEnded.end()));
}

// The grid with a large number of rows in a window of its own: filling it, a repaint at
// the top, the middle and the end, a page down with its repaint, a header click that sorts
// and repaints, and typing a character that no row starts with (the whole search).
void MeasureGrid(int rows) {
    static ui::WindowClassRegistration hostClass =
        ui::RegisterWindowClass(L"OrvanMeasureGridHost", 0, ::LoadCursorW(nullptr, IDC_ARROW),
                                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    ui::UniqueWindow host(
        ::CreateWindowExW(0, L"OrvanMeasureGridHost", L"Grid", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                          50, 640, 480, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    RECT client;
    ::GetClientRect(host.Get(), &client);
    ui::ListView grid;
    grid.Create(host.Get(), 1, client);
    orvan::ListView& model = grid.Model();
    model.AddColumn("*", ColumnAlignment::Center, true, 10, ColumnKind::CheckBox);
    model.AddColumn("Path", ColumnAlignment::Left, true, 140, ColumnKind::Text);
    model.AddColumn("Name", ColumnAlignment::Left, true, 50, ColumnKind::Text);
    const std::vector<CatalogItem> items = MakeCatalog(rows);
    double begin = Now();
    model.BeginUpdate();
    for (std::size_t i = 0; i < items.size(); ++i)
        model.AddItem({i % 7 != 0, items[i].path, items[i].name}, i == 0, 0, std::int32_t(i));
    model.EndUpdate();
    const double filled = Now() - begin;
    ::SetFocus(grid.Handle());
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);

    auto repaint = [&] {
        const double start = Now();
        ::InvalidateRect(grid.Handle(), nullptr, FALSE);
        ::UpdateWindow(grid.Handle());
        ::GdiFlush();
        return Now() - start;
    };
    std::printf("grid of %d rows in a %ld x %ld window:\n", rows, client.right, client.bottom);
    std::printf("  filling it (inside one update): %.0f ms\n", filled);
    repaint(); // the first paint makes the fonts' and the theme's caches
    const int offsets[] = {0, model.MaxScrollOffset() / 2, model.MaxScrollOffset()};
    const char* places[] = {"top", "middle", "end"};
    for (int place = 0; place < 3; ++place) {
        model.SetScrollOffset(offsets[place]);
        std::vector<double> times;
        for (int round = 0; round < 21; ++round)
            times.push_back(repaint());
        std::printf("  repaint at the %-6s median %5.2f ms, slowest %5.2f ms\n", places[place],
                    Median(times), *std::max_element(times.begin(), times.end()));
    }
    model.FocusRow(0);
    std::vector<double> pages;
    for (int round = 0; round < 21; ++round) {
        const double start = Now();
        ::SendMessageW(grid.Handle(), WM_KEYDOWN, VK_NEXT, 1);
        ::UpdateWindow(grid.Handle());
        ::GdiFlush();
        pages.push_back(Now() - start);
    }
    std::printf("  Page Down and its repaint: median %5.2f ms\n", Median(pages));
    const UiRect header = model.CellRect(0, 1);
    const LPARAM at = MAKELPARAM(header.left + header.width / 2, model.HeaderRect().top + 5);
    std::vector<double> sorts;
    for (int round = 0; round < 5; ++round) {
        model.SetSort(-1, false);
        const double start = Now();
        ::SendMessageW(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(grid.Handle(), WM_LBUTTONUP, 0, at);
        ::UpdateWindow(grid.Handle());
        ::GdiFlush();
        sorts.push_back(Now() - start);
    }
    std::printf("  header click that sorts by path, with its repaint: median %.0f ms\n",
                Median(sorts));
    std::vector<double> searches;
    for (int round = 0; round < 5; ++round) {
        const double start = Now();
        ::SendMessageW(grid.Handle(), WM_CHAR, L'#', 1); // no path starts with it
        ::UpdateWindow(grid.Handle());
        searches.push_back(Now() - start);
    }
    std::printf("  a typed character that no row starts with: median %.1f ms\n", Median(searches));
}

// The process's CPU time (user and kernel, all threads) in milliseconds.
double ProcessCpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

void WriteFileAt(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ::CloseHandle(file);
}

// Pumps messages as the loop does for `milliseconds`, sleeping in the system between them.
void PumpFor(ui::Application& app, double milliseconds) {
    const double begin = Now();
    while (Now() - begin < milliseconds) {
        app.PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void MeasureAutoUpdateRun(const std::string& appData, const std::string& tree, int files) {
    double begin = 0;
    {
        // What the scan of the tree costs, with the shell's display names and without.
        struct FileNames final : ShellNamePort {
            std::string DisplayName(const std::string& path) const override {
                return std::string(FileNamePart(path));
            }
        } fileNames;
        SettingsOptions options;
        options.catalog.paths = {{tree, UnlimitedDepth, false, "*.*", true}};
        // The shell's names cost milliseconds a file under Wine: a large tree is not worth it.
        std::vector<const ShellNamePort*> namings = {&fileNames};
        if (files <= 10000)
            namings.insert(namings.begin(), &platform::ShellNames());
        for (const ShellNamePort* names : namings) {
            const double start = Now();
            CatalogScan scan;
            scan.Rebuild(options, {platform::FileSystem(),
                                   platform::SpecialFolders(),
                                   *names,
                                   platform::Clock(),
                                   {}});
            std::printf("  rebuild on the interface thread, %s: %.0f ms\n",
                        names == &fileNames ? "file names" : "shell display names", Now() - start);
        }
    }
    const TempFolders folders(appData);
    const ProgramServices services = WithSpecialFolders(platform::SystemServices(), folders);
    ui::Application app(services);
    app.CreateStartupObjects();
    app.Start(StartMode::ShowSearch);
    const double started = Now();
    app.Search().WaitForCatalog();
    CurrentOptions().autoHide = false;
    Settle(app);
    const HWND edit = app.Search().Run().Edit();
    const CatalogKeeper& update = *app.Search().AutoUpdate();

    // Keystrokes while a background update runs and its catalog is published and saved,
    // against the same keystrokes without one.
    double updateEnded = 0;
    const auto keystrokes = [&](bool duringRebuild) {
        std::vector<double> typed;
        int key = 0;
        while (duringRebuild || typed.size() < 40) {
            // Typing goes on for 2 s after the update ended: the catalog file is saved then.
            if (duringRebuild && updateEnded == 0 && !update.Rebuilding())
                updateEnded = Now();
            if (duringRebuild && updateEnded != 0 && Now() - updateEnded > 2000)
                break;
            const double start = Now();
            ::PostMessageW(edit, WM_CHAR, L"app1"[key % 4], 1);
            Settle(app);
            ::UpdateWindow(app.Search().Run().ListBox());
            typed.push_back(Now() - start);
            if (++key % 4 == 0)
                ::SetWindowTextW(edit, L"");
            PumpFor(app, 30);
        }
        return typed;
    };

    // The catch-up a while after start: a full background rebuild of the tree, with
    // keystrokes all through it.
    while (!update.Rebuilding() && Now() - started < 60000)
        PumpFor(app, 5);
    const double catchUpBegin = Now();
    const std::vector<double> duringFull = keystrokes(true);
    std::printf("  full background rebuild (the catch-up %.0f s after start): %.0f ms; keystrokes "
                "during it and 2 s after, median %.1f ms, slowest %.1f ms, %zu keystrokes\n",
                (catchUpBegin - started) / 1000.0, updateEnded - catchUpBegin,
                duringFull.empty() ? 0.0 : Median(duringFull),
                duringFull.empty() ? 0.0 : *std::max_element(duringFull.begin(), duringFull.end()),
                duringFull.size());
    updateEnded = 0;

    // Found: from the file's creation to its row in the list for the text already typed.
    for (int round = 0; round < 3; ++round) {
        const std::wstring name = L"zzfound" + std::to_wstring(round);
        ::SetWindowTextW(edit, name.c_str());
        Settle(app);
        begin = Now();
        WriteFileAt(win32::Wide(tree) + L"\\Vendor 0\\" + name + L".exe");
        double rebuildStarted = 0;
        while (app.Search().Run().Available().size() == 0 && Now() - begin < 60000) {
            if (rebuildStarted == 0 && update.Rebuilding())
                rebuildStarted = Now() - begin;
            PumpFor(app, 5);
        }
        const double found = Now() - begin;
        std::printf("  new file found after %6.0f ms (update started after %5.0f ms, the quiet "
                    "period being %.0f ms; update and publishing %5.0f ms)\n",
                    found, rebuildStarted, AutoUpdateSchedule::kQuietSeconds * 1000.0,
                    found - rebuildStarted);
    }

    {
        // What a save of the catalog file costs, which the interface thread no longer waits
        // for.
        app.Search().WaitForCatalogSave();
        const double start = Now();
        const FileResult saved = SaveCatalog(CurrentOptions(), services.catalog);
        std::printf(
            "  saving the catalog file (%zu entries, now on a thread of its own): %.0f ms%s\n",
            CurrentOptions().catalog.items.size(), Now() - start, saved ? "" : " (failed)");
    }

    ::SetWindowTextW(edit, L"");
    Settle(app);
    const std::vector<double> quiet = keystrokes(false);
    WriteFileAt(win32::Wide(tree) + L"\\Vendor 1\\trigger.exe");
    begin = Now();
    while (!update.Rebuilding() && Now() - begin < 10000)
        PumpFor(app, 5);
    const double scanBegin = Now();
    const std::vector<double> busy = keystrokes(true);
    const double scanTime = updateEnded - scanBegin;
    std::printf("  keystroke to repainted list: idle median %.1f ms, slowest %.1f ms; during "
                "the update (%.0f ms) and 2 s after it, median %.1f ms, slowest %.1f ms, "
                "%zu keystrokes\n",
                Median(quiet), *std::max_element(quiet.begin(), quiet.end()), scanTime,
                busy.empty() ? 0.0 : Median(busy),
                busy.empty() ? 0.0 : *std::max_element(busy.begin(), busy.end()), busy.size());

    // Idle: a minute of the message loop with the watches running and nothing changing.
    PumpFor(app, 3000);
    const double cpuBefore = ProcessCpuMilliseconds();
    begin = Now();
    while (Now() - begin < 60000) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(60000 - (Now() - begin)) + 1,
                                    QS_ALLINPUT);
        app.PumpPending();
    }
    std::printf("  CPU time idle over %.0f s: %.1f ms\n", (Now() - begin) / 1000.0,
                ProcessCpuMilliseconds() - cpuBefore);
}

// The automatic catalog update: how soon a new file is found, what a background rebuild
// of a large tree does to keystrokes, and the CPU time of the launcher idling a minute.
void MeasureAutoUpdate(int files) {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::string base = win32::Narrow(temp) + "orvan-measure-auto";
    const std::string tree = base + "\\Tree";
    const std::string appData = base + "\\AppData";
    platform::FileStore().CreateFolders(tree);
    platform::FileStore().CreateFolders(appData + "\\Morvane\\Orvan");
    double begin = Now();
    // 100 files a folder, as installed programs have them.
    // The launcher had rebuilt its catalog from the tree before: the catalog file holds it.
    std::vector<CatalogItem> catalog;
    for (int folder = 0; folder * 100 < files; ++folder) {
        const std::string dir = tree + "\\Vendor " + std::to_string(folder);
        ::CreateDirectoryW(win32::Wide(dir).c_str(), nullptr);
        for (int i = 0; i < 100 && folder * 100 + i < files; ++i) {
            const std::string name = "app" + std::to_string(folder * 100 + i) + ".exe";
            WriteFileAt(win32::Wide(dir + "\\" + name));
            catalog.push_back({dir + "\\" + name, name, 0});
        }
    }
    const std::string catalogText = SerializeCatalog(catalog);
    const HANDLE catalogFile =
        ::CreateFileW(win32::Wide(appData + "\\Morvane\\Orvan\\Orvan_Catalog.xml").c_str(),
                      GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD catalogWritten = 0;
    ::WriteFile(catalogFile, catalogText.data(), DWORD(catalogText.size()), &catalogWritten,
                nullptr);
    ::CloseHandle(catalogFile);
    std::printf("auto update over a tree of %d files (made in %.0f ms)\n", files, Now() - begin);
    const std::string ini = "[Catalog]\r\nAutoUpdate=True\r\n[Paths]\r\nCount=1\r\nPath_1=" + tree +
                            "|*.*|-1|False|True\r\n";
    const HANDLE file =
        ::CreateFileW(win32::Wide(appData + "\\Morvane\\Orvan\\Orvan.ini").c_str(), GENERIC_WRITE,
                      0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, ini.data(), DWORD(ini.size()), &written, nullptr);
    ::CloseHandle(file);

    MeasureAutoUpdateRun(appData, tree, files);
    // The launcher has ended; its files and the tree go.
    SHFILEOPSTRUCTW remove{};
    std::wstring from = win32::Wide(base);
    from.push_back(L'\0');
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&remove);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    platform::UseSystemLocaleAndClock();
    if (argc > 1 && std::wstring(argv[1]) == L"--rebuild") {
        MeasureSettingsRebuild();
        ::CoUninitialize();
        return 0;
    }
    if (argc > 1 && std::wstring(argv[1]) == L"--grid") {
        MeasureGrid(100000);
        ::CoUninitialize();
        return 0;
    }
    if (argc > 1 && std::wstring(argv[1]) == L"--relevance") {
        MeasureKeystrokes(100000, ResultOrder::Name);
        MeasureKeystrokes(100000, ResultOrder::Relevance);
        ::CoUninitialize();
        return 0;
    }
    if (argc > 1 && std::wstring(argv[1]) == L"--auto-update") {
        MeasureAutoUpdate(argc > 2 ? _wtoi(argv[2]) : 100000);
        ::CoUninitialize();
        return 0;
    }
    if (argc > 1) {
        MeasureStartUp(argv[1], 0); // what Wine and the windows cost without a catalog
        MeasureStartUp(argv[1], 100000);
    }
    MeasureKeystrokes(100000);
    MeasureKeystrokes(1000000);
    ::CoUninitialize();
    return 0;
}
