#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it at the
// end of the test. Paths are offered both ways: native ("/tmp/x") and core ("C:\tmp\x").
#include "core/config/path_convert.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace orvan::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvan-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        native_ = pattern;
    }
    ~TempFolder() {
        std::error_code error;
        // Give write permission back first, or a read-only folder would keep its contents.
        for (auto it = std::filesystem::recursive_directory_iterator(native_, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
            if (!it->is_symlink())
                chmod(it->path().c_str(), 0700);
        std::filesystem::remove_all(native_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Native(const std::string& relative = "") const {
        return relative.empty() ? native_ : native_ + "/" + relative;
    }
    std::string Core(const std::string& relative = "") const {
        return NativeToCorePath(Native(relative));
    }
    void File(const std::string& relative, const std::string& content = "") const {
        std::ofstream(Native(relative), std::ios::binary) << content;
    }
    void Folder(const std::string& relative) const {
        std::filesystem::create_directories(Native(relative));
    }

private:
    std::string native_;
};

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value == nullptr)
            unsetenv(name);
        else
            setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

} // namespace orvan::testing
