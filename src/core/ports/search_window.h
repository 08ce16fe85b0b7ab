#pragma once
// What the launching code asks of the search window.
namespace orvan {

class SearchWindowPort {
public:
    virtual ~SearchWindowPort() = default;
    // The window's close request without the quit flag: it only hides the window.
    virtual void RequestClose() = 0;
};

} // namespace orvan
