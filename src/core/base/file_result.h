#pragma once
// How reading or writing a file went: done, or the text that says what failed, as the user
// sees it ("Unable to write to C:\...\Orvan.ini"). Every file operation of the core answers
// with one, so that callers report failures the same way whatever the file.
#include <string>
#include <string_view>
#include <utility>

namespace orvan {

class [[nodiscard]] FileResult {
public:
    FileResult() = default; // done

    static FileResult Failure(std::string error) {
        FileResult result;
        // A failure always says something, so that it can never pass for success.
        result.error_ = error.empty() ? "Unable to access a file" : std::move(error);
        return result;
    }

    bool Ok() const { return error_.empty(); }
    explicit operator bool() const { return Ok(); }
    // "" when the operation was done.
    const std::string& Error() const { return error_; }

private:
    std::string error_;
};

// "Unable to write to C:\...\Orvan.ini" in the language shown: what every file that could
// not be written is reported with.
std::string UnableToWriteText(std::string_view fileName);

} // namespace orvan
