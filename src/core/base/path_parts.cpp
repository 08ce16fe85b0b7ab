#include "core/base/path_parts.h"

namespace orvan {

// A plain loop: the catalog calls this for every entry it publishes.
std::size_t PathNameStart(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (path[i - 1] == '\\')
            return i;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive ? 2 : 0;
}

} // namespace orvan
