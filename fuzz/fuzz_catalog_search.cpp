// The catalog step against the rules written out plainly: a catalog and a typed text made
// from the input must give exactly the rows the plain algorithm gives.
#include "core/base/utf.h"
#include "core/search/run_available.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <tuple>

namespace {

struct Row {
    std::string name;
    std::string path;
    bool operator<(const Row& o) const { return std::tie(name, path) < std::tie(o.name, o.path); }
    bool operator==(const Row& o) const = default;
};

// A file's name: after the last backslash, else after a drive letter's colon ("C:x").
std::string FileName(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    if (slash != std::string::npos)
        return path.substr(slash + 1);
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
                       static_cast<unsigned char>(path[0]) < 0x80;
    return drive ? path.substr(2) : path;
}

std::vector<Row> Plain(std::string_view text, const std::vector<orvan::CatalogItem>& items) {
    std::vector<Row> rows;
    const std::string q = orvan::AsciiUpper(text);
    for (const orvan::CatalogItem& item : items) {
        // The file's name, "&" and the display name; a display name with a backslash or
        // colon counts only after the last of them, unless it starts the file's name.
        const std::string file = FileName(item.path);
        std::string k = file + "&" + item.name;
        const std::size_t cut = item.name.find_last_of("\\:");
        if (cut != std::string::npos && file.rfind(item.name, 0) != 0)
            k = item.name.substr(cut + 1);
        if (orvan::AsciiUpper(k).find(q) == std::string::npos)
            continue;
        const std::string name = item.name.empty() ? file : item.name;
        Row row{name, item.path};
        if (std::find(rows.begin(), rows.end(), row) == rows.end())
            rows.push_back(row);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return orvan::Utf8ToUtf16(a.name) < orvan::Utf8ToUtf16(b.name);
    });
    return rows;
}

} // namespace

// Input: the typed text, a 0xFF byte, then entries as "path 0xFE name 0xFD count", where
// count (one byte) repeats the entry to make catalogs large enough for the block scan.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\xFF');
    const std::string text = input.substr(0, split);
    std::vector<orvan::CatalogItem> items;
    for (std::size_t at = split == std::string::npos ? input.size() : split + 1;
         at < input.size();) {
        const std::size_t nameAt = input.find('\xFE', at);
        const std::size_t end = input.find('\xFD', at);
        const std::size_t stop = std::min(end, input.size());
        orvan::CatalogItem item;
        if (nameAt < stop) {
            item.path = input.substr(at, nameAt - at);
            item.name = input.substr(nameAt + 1, stop - nameAt - 1);
        } else {
            item.path = input.substr(at, stop - at);
        }
        int repeat = 1;
        if (end != std::string::npos && end + 1 < input.size())
            repeat = 1 + static_cast<unsigned char>(input[end + 1]) % 16;
        for (int i = 0; i < repeat && items.size() < 4000; ++i)
            items.push_back(item);
        at = end == std::string::npos ? input.size() : end + 2;
    }

    const orvan::CatalogItems catalog(items);
    orvan::RunAvailableList list;
    list.AddCatalogMatches(text, catalog);
    list.Sort();
    std::vector<Row> got;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].kind != orvan::RunKind::Catalog || !list[i].description.empty())
            std::abort();
        got.push_back({std::string(list[i].name), std::string(list[i].path)});
    }
    std::vector<Row> want = Plain(text, items);
    if (got.size() != want.size())
        std::abort();
    for (std::size_t i = 0; i < got.size(); ++i) // equal names may come in any order
        if (orvan::Utf8ToUtf16(got[i].name) != orvan::Utf8ToUtf16(want[i].name))
            std::abort();
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    if (got != want)
        std::abort();
    return 0;
}
