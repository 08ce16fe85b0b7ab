#pragma once
// In-memory stand-ins for what the input steps, the details area and launching reach
// through besides the disk (tests/fakes/memory_file_system.h): the shell, version
// resources, volumes, the clock, the message dialog and the search window; plus a guard
// that sets the locale for one test.
#include "core/ports/clock.h"
#include "core/ports/locale.h"
#include "core/ports/message_dialog.h"
#include "core/ports/search_window.h"
#include "core/ports/shell.h"
#include "core/ports/version_info.h"
#include "core/ports/volume.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvan::testing {

class FixedClock final : public ClockPort {
public:
    explicit FixedClock(double now) : now_(now) {}
    double Now() const override { return now_; }
    void Set(double now) { now_ = now; }

private:
    double now_;
};

class FakeVersionInfo final : public VersionInfoPort {
public:
    std::map<std::string, ShellFileFacts> facts;
    std::map<std::string, VersionResource> resources;

    ShellFileFacts ShellFacts(const std::string& path) const override {
        const auto it = facts.find(path);
        return it == facts.end() ? ShellFileFacts{} : it->second;
    }
    std::optional<VersionResource> ReadVersionResource(const std::string& path) const override {
        const auto it = resources.find(path);
        if (it == resources.end())
            return std::nullopt;
        return it->second;
    }
};

class FakeVolumes final : public VolumePort {
public:
    std::map<char32_t, std::string> labels; // by letter as asked
    std::map<int, DiskFigures> disks;       // by drive number
    mutable std::vector<char32_t> labelRequests;

    std::string VolumeLabel(char32_t letter) const override {
        labelRequests.push_back(letter);
        const auto it = labels.find(letter);
        return it == labels.end() ? std::string() : it->second;
    }
    DiskFigures Disk(int driveNumber, const std::string&) const override {
        const auto it = disks.find(driveNumber);
        return it == disks.end() ? DiskFigures{} : it->second;
    }
};

class FakeShell final : public ShellPort {
public:
    struct OpenCall {
        std::string file;
        std::string parameters;
        std::string directory;
        int showCommand;
        bool operator==(const OpenCall&) const = default;
    };
    std::intptr_t answer = 42;
    mutable std::vector<OpenCall> opened;

    std::intptr_t Open(const std::string& file, const std::string& parameters,
                       const std::string& directory, int showCommand) const override {
        opened.push_back({file, parameters, directory, showCommand});
        return answer;
    }
    bool RunAs(std::uintptr_t, const std::string&, const std::string&) const override {
        return false;
    }
};

class RecordingMessages final : public MessageDialogPort {
public:
    std::vector<std::pair<std::string, std::string>> shown; // title, text
    void ShowMessageDialog(const std::string& title, const std::string& text) override {
        shown.emplace_back(title, text);
    }
};

class RecordingWindow final : public SearchWindowPort {
public:
    int closeRequests = 0;
    void RequestClose() override { ++closeRequests; }
};

// Sets the current locale for the lifetime of the guard.
class LocaleScope {
public:
    explicit LocaleScope(const LocaleSettings& settings) : saved_(CurrentLocale()) {
        SetCurrentLocale(settings);
    }
    ~LocaleScope() { SetCurrentLocale(saved_); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    LocaleSettings saved_;
};

inline LocaleSettings UsLocale() {
    LocaleSettings l;
    l.decimalSeparator = ".";
    l.thousandSeparator = ",";
    l.shortDateFormat = "M/d/yyyy";
    l.longTimeFormat = "h:mm:ss tt";
    return l;
}

inline LocaleSettings GermanLocale() {
    LocaleSettings l;
    l.decimalSeparator = ",";
    l.thousandSeparator = ".";
    l.shortDateFormat = "dd.MM.yyyy";
    l.longTimeFormat = "HH:mm:ss";
    return l;
}

} // namespace orvan::testing
