#include "core/ports/folder_listing.h"

namespace orvan {

bool StartsWithAsciiFolded(std::string_view name, std::string_view upperPrefix) {
    if (name.size() < upperPrefix.size())
        return false;
    for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upperPrefix[i])
            return false;
    }
    return true;
}

} // namespace orvan
