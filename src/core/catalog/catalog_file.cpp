#include "core/catalog/catalog_file.h"

#include "core/base/utf.h"

#include <algorithm>
#include <charconv>

namespace orvan {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Text content with the escapes it needs. Characters that XML 1.0 cannot carry at all (most
// control characters, U+FFFE, U+FFFF, bytes that are not UTF-8) would make the whole file
// unreadable, so they become U+FFFD; CR is written as a reference, since a raw one would be
// read back as LF.
void AppendEscaped(std::string& out, std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\r':
                out += "&#13;";
                break;
            case '\t':
            case '\n':
                out.push_back(static_cast<char>(c));
                break;
            default:
                if (c < 0x20)
                    out += kReplacement;
                else
                    out.push_back(static_cast<char>(c));
            }
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        const char32_t cp = DecodeUtf8(text, pos);
        if ((cp == 0xFFFD && pos == start + 1) || cp == 0xFFFE || cp == 0xFFFF)
            out += kReplacement;
        else
            out.append(text.substr(start, pos - start));
    }
}

// CR LF first becomes LF, then every LF becomes CR LF.
// A copy of exactly the text's size: the buffer the parser filled keeps its capacity for the
// next entry.
std::string NormaliseLineBreaks(const std::string& text) {
    bool breaks = false;
    for (const char c : text)
        breaks = breaks || c == '\r' || c == '\n';
    if (!breaks)
        return text;
    std::string lf;
    lf.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        lf.push_back(text[i]);
    }
    std::string out;
    out.reserve(lf.size() + lf.size() / 8);
    for (const char c : lf) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::string_view TrimXmlSpace(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::int32_t ReadPriority(std::string_view text) {
    text = TrimXmlSpace(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return 0;
    return value;
}

class CatalogHandler final : public XmlEventHandler {
public:
    explicit CatalogHandler(std::vector<TCatalogItem>& items) : items_(items) {}

    std::string error;

    bool StartElement(const XmlName& name) override {
        ++depth_;
        if (skip_ > 0) {
            ++skip_;
            return true;
        }
        switch (depth_) {
        case 1: // the document element must be "catalog" in the catalog's namespace
            return name.prefix.empty() && name.localName == "catalog" &&
                   name.namespaceUri == CatalogNamespace;
        case 2:
            if (name.prefix.empty() && name.localName == "item") {
                seen_[0] = seen_[1] = seen_[2] = false;
                text_[0].clear();
                text_[1].clear();
                text_[2].clear();
            } else {
                skip_ = 1;
            }
            return true;
        case 3:
            field_ = -1;
            if (name.namespaceUri == CatalogNamespace) {
                static constexpr std::string_view kFields[3] = {"path", "name", "priority"};
                for (int f = 0; f < 3; ++f)
                    if (name.localName == kFields[f] && !seen_[f])
                        field_ = f;
            }
            if (field_ < 0) // another element, or a later occurrence: the first one counts
                skip_ = 1;
            else
                seen_[field_] = true;
            return true;
        default:
            error = "an element inside a text element of an item";
            return false;
        }
    }

    bool Text(std::string_view text) override {
        if (skip_ == 0 && depth_ == 3 && field_ >= 0)
            text_[field_].append(text);
        return true;
    }

    bool EndElement() override {
        if (skip_ > 0) {
            --skip_;
        } else if (depth_ == 3) {
            field_ = -1;
        } else if (depth_ == 2 && seen_[0]) {
            TCatalogItem item;
            item.path = NormaliseLineBreaks(text_[0]);
            if (seen_[1])
                item.name = NormaliseLineBreaks(text_[1]);
            if (seen_[2])
                item.priority = ReadPriority(text_[2]);
            items_.push_back(std::move(item));
        }
        --depth_;
        return true;
    }

private:
    std::vector<TCatalogItem>& items_;
    int depth_ = 0;
    int skip_ = 0;   // depth inside a subtree that is ignored
    int field_ = -1; // 0 path, 1 name, 2 priority while inside one
    bool seen_[3] = {};
    std::string text_[3];
};

} // namespace

std::string CatalogFileName(std::string_view optionsFileName) {
    return ChangeFileExtension(optionsFileName, "_Catalog.xml");
}

std::string SerializeCatalog(const std::vector<TCatalogItem>& items) {
    std::string out;
    std::size_t estimate = 128;
    for (const TCatalogItem& item : items)
        estimate += 96 + item.path.size() + item.name.size();
    out.reserve(estimate);
    out += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
    out += "<catalog xmlns=\"";
    out += CatalogNamespace;
    if (items.empty()) {
        out += "\"/>\r\n";
        return out;
    }
    out += "\">\r\n";
    char number[16];
    for (const TCatalogItem& item : items) {
        out += "  <item>\r\n    <path>";
        AppendEscaped(out, item.path);
        out += "</path>\r\n";
        if (!item.name.empty()) {
            out += "    <name>";
            AppendEscaped(out, item.name);
            out += "</name>\r\n";
        }
        out += "    <priority>";
        const auto end = std::to_chars(number, number + sizeof number, item.priority).ptr;
        out.append(number, end);
        out += "</priority>\r\n  </item>\r\n";
    }
    out += "</catalog>\r\n";
    return out;
}

CatalogReadResult ParseCatalog(std::string_view document, const XmlReaderPort& xml) {
    CatalogReadResult result;
    if (TrimXmlSpace(document).empty())
        return result; // an empty document is an empty catalog
    // Room for as many entries as the document has item tags, so that a large catalog is
    // not moved from one block of memory to the next while it grows.
    std::size_t tags = 0;
    for (std::size_t at = document.find("<item"); at != std::string_view::npos;
         at = document.find("<item", at + 5))
        ++tags;
    result.items.reserve(std::min(tags, document.size() / 16));
    CatalogHandler handler(result.items);
    const XmlParseResult parsed = xml.Parse(document, handler);
    if (parsed.status == XmlParseResult::Status::Failed)
        result.error = parsed.error;
    else if (parsed.status == XmlParseResult::Status::Stopped)
        result.error = handler.error; // "" when the root was not ours
    return result;
}

CatalogReadResult ReadCatalogFile(const std::string& fileName, const FileStorePort& files,
                                  const XmlReaderPort& xml) {
    const FileContent content = files.ReadWholeFile(fileName);
    if (content.status == FileContent::Status::Missing) {
        CatalogReadResult result;
        result.missing = true;
        return result;
    }
    if (content.status == FileContent::Status::Unreadable) {
        CatalogReadResult result;
        result.error = "Unable to read " + fileName;
        return result;
    }
    CatalogReadResult result = ParseCatalog(content.bytes, xml);
    if (!result.error.empty())
        result.error = fileName + ": " + result.error;
    return result;
}

CatalogSaveResult SaveCatalog(const TSettingsOptions& options,
                              const CatalogFileServices& services) {
    const std::string fileName = CatalogFileName(options.fileName);
    if (!services.files.ReplaceWholeFile(fileName, SerializeCatalog(options.catalog.items.items())))
        return {false, "Unable to write to " + fileName};
    return {};
}

std::string LoadCatalog(TSettingsOptions& options, const CatalogFileServices& services) {
    options.catalog.items = TCatalogItems();
    CatalogReadResult read =
        ReadCatalogFile(CatalogFileName(options.fileName), services.files, services.xml);
    options.catalog.items = TCatalogItems(std::move(read.items));
    return read.error;
}

} // namespace orvan
