#include "core/catalog/launch_memory.h"

#include "core/base/utf.h"
#include "core/catalog/catalog.h"
#include "core/config/options.h"

#include <algorithm>

namespace orvan {

std::string LaunchMemory::TextKey(std::string_view text) {
    return AsciiUpper(text);
}

void LaunchMemory::Record(std::string_view text, std::string_view name, std::string_view path) {
    if (path.empty())
        return;
    auto counts = std::make_shared<UseCounts>(*counts_);
    UseCount& count = (*counts)[std::string(path)];
    if (count.count < INT32_MAX)
        ++count.count;
    count.name = std::string(name);
    counts_ = std::move(counts);
    ++version_;

    std::string key = TextKey(text);
    if (key.empty())
        return;
    if (const auto it = byText_.find(key); it != byText_.end()) {
        texts_.erase(it->second);
        byText_.erase(it);
    }
    texts_.push_front({std::string(text), std::string(name), std::string(path)});
    byText_.emplace(std::move(key), texts_.begin());
    while (texts_.size() > kTextLimit) {
        byText_.erase(TextKey(texts_.back().text));
        texts_.pop_back();
    }
}

void LaunchMemory::Forget() {
    counts_ = std::make_shared<const UseCounts>();
    texts_.clear();
    byText_.clear();
    ++version_;
}

void LaunchMemory::SeedCounts(const UseCounts& counts) {
    if (counts.empty())
        return;
    auto merged = std::make_shared<UseCounts>(*counts_);
    bool changed = false;
    for (const auto& [path, count] : counts)
        changed = merged->emplace(path, count).second || changed;
    if (!changed)
        return;
    counts_ = std::move(merged);
    ++version_;
}

std::int32_t LaunchMemory::CountOf(std::string_view path) const {
    const auto it = counts_->find(path);
    return it == counts_->end() ? 0 : it->second.count;
}

std::vector<TypedChoice> LaunchMemory::Texts() const {
    return {texts_.rbegin(), texts_.rend()};
}

void LaunchMemory::SetTexts(const std::vector<TypedChoice>& texts) {
    texts_.clear();
    byText_.clear();
    for (const TypedChoice& choice : texts) { // oldest first: each goes to the front
        std::string key = TextKey(choice.text);
        if (key.empty() || choice.path.empty())
            continue;
        if (const auto it = byText_.find(key); it != byText_.end()) {
            texts_.erase(it->second);
            byText_.erase(it);
        }
        texts_.push_front(choice);
        byText_.emplace(std::move(key), texts_.begin());
    }
    while (texts_.size() > kTextLimit) {
        byText_.erase(TextKey(texts_.back().text));
        texts_.pop_back();
    }
    ++version_;
}

std::string LaunchMemoryFileName(std::string_view optionsFileName) {
    return ChangeFileExtension(optionsFileName, "_Learned.txt");
}

namespace {

constexpr std::string_view kHeader = "; Orvan! typed texts and the entries started for them";

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

} // namespace

std::string SerializeTypedChoices(const std::vector<TypedChoice>& texts) {
    std::string out(kHeader);
    out += "\r\n";
    for (const TypedChoice& choice : texts) {
        if (HasControl(choice.text) || HasControl(choice.path) || HasControl(choice.name))
            continue; // a tab or line end would split the line; such a text is not kept
        out += choice.text;
        out += '\t';
        out += choice.path;
        out += '\t';
        out += choice.name;
        out += "\r\n";
    }
    return out;
}

std::vector<TypedChoice> ParseTypedChoices(std::string_view text) {
    std::vector<TypedChoice> texts;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3); // an editor may have added a byte-order mark
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == ';')
            continue;
        const std::size_t first = line.find('\t');
        const std::size_t second =
            first == std::string_view::npos ? first : line.find('\t', first + 1);
        if (second == std::string_view::npos)
            continue;
        TypedChoice choice{std::string(line.substr(0, first)), std::string(line.substr(second + 1)),
                           std::string(line.substr(first + 1, second - first - 1))};
        if (choice.text.empty() || choice.path.empty() || HasControl(line.substr(second + 1)) ||
            HasControl(choice.path) || HasControl(choice.text))
            continue;
        texts.push_back(std::move(choice));
    }
    if (texts.size() > LaunchMemory::kTextLimit)
        texts.erase(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(
                                                       texts.size() - LaunchMemory::kTextLimit));
    return texts;
}

bool LoadTypedChoices(LaunchMemory& memory, const std::string& fileName,
                      const FileStorePort& files) {
    const FileContent content = files.ReadWholeFile(fileName);
    if (content.status == FileContent::Status::Missing)
        return true;
    if (content.status != FileContent::Status::Read)
        return false;
    memory.SetTexts(ParseTypedChoices(content.bytes));
    return true;
}

bool SaveTypedChoices(const LaunchMemory& memory, const std::string& fileName,
                      const FileStorePort& files) {
    return files.ReplaceWholeFile(fileName, SerializeTypedChoices(memory.Texts()));
}

UseCounts CountsFromCatalog(const std::vector<CatalogItem>& items) {
    UseCounts counts;
    for (const CatalogItem& item : items)
        if (item.priority > 0) {
            UseCount& count = counts[item.path];
            if (item.priority > count.count)
                count = {item.priority, std::string(CatalogDisplayName(item))};
        }
    return counts;
}

} // namespace orvan
