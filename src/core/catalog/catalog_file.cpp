#include "core/catalog/catalog_file.h"

#include "core/base/utf.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <memory>

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
    explicit CatalogHandler(std::vector<CatalogItem>& items) : items_(items) {}

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
            CatalogItem item;
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
    std::vector<CatalogItem>& items_;
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

namespace {

constexpr std::size_t kPiece = 1 << 20;

// The file text in pieces of about a megabyte, so that a large catalog is never held as one
// string; false as soon as sink refuses a piece.
bool WriteCatalog(const std::vector<CatalogItem>& items, const UseCounts* counts,
                  const std::function<bool(std::string_view)>& sink) {
    std::string out;
    out.reserve(kPiece + 1024);
    out += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
    out += "<catalog xmlns=\"";
    out += CatalogNamespace;
    if (items.empty()) {
        out += "\"/>\r\n";
        return sink(out);
    }
    out += "\">\r\n";
    char number[16];
    for (const CatalogItem& item : items) {
        out += "  <item>\r\n    <path>";
        AppendEscaped(out, item.path);
        out += "</path>\r\n";
        if (!item.name.empty()) {
            out += "    <name>";
            AppendEscaped(out, item.name);
            out += "</name>\r\n";
        }
        out += "    <priority>";
        std::int32_t priority = item.priority;
        if (counts != nullptr) {
            const auto count = counts->find(item.path);
            priority = count == counts->end() ? 0 : count->second.count;
        }
        const auto end = std::to_chars(number, number + sizeof number, priority).ptr;
        out.append(number, end);
        out += "</priority>\r\n  </item>\r\n";
        if (out.size() >= kPiece) {
            if (!sink(out))
                return false;
            out.clear();
        }
    }
    out += "</catalog>\r\n";
    return sink(out);
}

// How many "<item" a text holds, counted piece by piece (a tag may straddle pieces).
class ItemTagCounter {
public:
    void Add(std::string_view piece) {
        for (std::size_t i = 0; blank_ && i < piece.size(); ++i)
            blank_ = piece[i] == ' ' || piece[i] == '\t' || piece[i] == '\r' || piece[i] == '\n';
        // Tags that start in the last four bytes before this piece end in it.
        const std::string window = tail_ + std::string(piece.substr(0, 4));
        for (std::size_t at = window.find("<item"); at < tail_.size();
             at = window.find("<item", at + 1))
            ++count_;
        for (std::size_t at = piece.find("<item"); at != std::string_view::npos;
             at = piece.find("<item", at + 5))
            ++count_;
        tail_ += piece.substr(piece.size() > 4 ? piece.size() - 4 : 0);
        if (tail_.size() > 4)
            tail_.erase(0, tail_.size() - 4);
    }
    std::size_t Count() const { return count_; }
    bool Blank() const { return blank_; }

private:
    std::string tail_; // the last four bytes so far
    std::size_t count_ = 0;
    bool blank_ = true;
};

CatalogReadResult ParseFrom(const XmlSource& read, std::size_t tags, const XmlReaderPort& xml) {
    CatalogReadResult result;
    // Room for as many entries as the document has item tags, so that a large catalog is
    // not moved from one block of memory to the next while it grows.
    result.items.reserve(tags);
    CatalogHandler handler(result.items);
    const XmlParseResult parsed = xml.ParseStream(read, handler);
    if (parsed.status == XmlParseResult::Status::Failed)
        result.status = FileResult::Failure(parsed.error.empty() ? "the document is not well-formed"
                                                                 : parsed.error);
    else if (parsed.status == XmlParseResult::Status::Stopped && !handler.error.empty())
        result.status = FileResult::Failure(handler.error); // none when the root was not ours
    return result;
}

} // namespace

std::string SerializeCatalog(const std::vector<CatalogItem>& items, const UseCounts* counts) {
    std::string out;
    WriteCatalog(items, counts, [&out](std::string_view piece) {
        out.append(piece);
        return true;
    });
    return out;
}

CatalogReadResult ParseCatalog(std::string_view document, const XmlReaderPort& xml) {
    ItemTagCounter tags;
    tags.Add(document);
    if (tags.Blank())
        return {}; // an empty document is an empty catalog
    return ParseFrom(
        [&document](char* buffer, std::size_t size) {
            const std::size_t n = std::min(size, document.size());
            std::memcpy(buffer, document.data(), n);
            document.remove_prefix(n);
            return n;
        },
        std::min(tags.Count(), document.size() / 16), xml);
}

CatalogReadResult ReadCatalogFile(const std::string& fileName, const FileStorePort& files,
                                  const XmlReaderPort& xml) {
    const FileResult unreadable = FileResult::Failure("Unable to read " + fileName);
    FileContent::Status status = FileContent::Status::Missing;
    std::unique_ptr<FileReader> reader = files.OpenFile(fileName, status);
    if (!reader) {
        if (status == FileContent::Status::Missing)
            return {{}, {}, CatalogReadOutcome::Missing};
        return {{}, unreadable, CatalogReadOutcome::Unreadable};
    }
    // A first pass counts the entries (so that their list is made once) and finds out
    // whether there is anything but blanks; the second parses.
    ItemTagCounter tags;
    std::string piece(kPiece, '\0');
    while (const std::size_t got = reader->Read(piece.data(), piece.size()))
        tags.Add(std::string_view(piece).substr(0, got));
    if (!reader->Failed() && tags.Blank())
        return {};
    const std::uint64_t size = reader->SizeHint();
    reader = reader->Failed() ? nullptr : files.OpenFile(fileName, status);
    if (!reader)
        return {{}, unreadable, CatalogReadOutcome::Unreadable};
    const std::size_t most =
        size / 16 < tags.Count() ? static_cast<std::size_t>(size / 16) : tags.Count();
    CatalogReadResult result = ParseFrom(
        [&reader](char* buffer, std::size_t bytes) { return reader->Read(buffer, bytes); }, most,
        xml);
    if (reader->Failed()) {
        result.status = unreadable;
        result.outcome = CatalogReadOutcome::Unreadable;
    } else if (!result.status.Ok()) {
        result.status = FileResult::Failure(fileName + ": " + result.status.Error());
        result.outcome = CatalogReadOutcome::Damaged;
    }
    return result;
}

FileResult WriteCatalogFile(const std::string& fileName, const std::vector<CatalogItem>& items,
                            const UseCounts* counts, const FileStorePort& files) {
    const bool written = files.ReplaceFileWith(fileName, [&items, counts](FileWriter& file) {
        return WriteCatalog(items, counts,
                            [&file](std::string_view piece) { return file.Write(piece); });
    });
    if (!written)
        return FileResult::Failure(UnableToWriteText(fileName));
    return {};
}

FileResult SaveCatalog(const SettingsOptions& options, const CatalogFileServices& services,
                       const UseCounts* counts) {
    return WriteCatalogFile(CatalogFileName(options.fileName), options.catalog.items.items(),
                            counts, services.files);
}

FileResult LoadCatalog(SettingsOptions& options, const CatalogFileServices& services) {
    options.catalog.items = CatalogItems();
    CatalogReadResult read =
        ReadCatalogFile(CatalogFileName(options.fileName), services.files, services.xml);
    options.catalog.items = CatalogItems(std::move(read.items));
    return read.status;
}

FileResult SaveOptionsAndCatalog(const SettingsOptions& options,
                                 const OptionsServices& optionsServices,
                                 const CatalogFileServices& catalogServices,
                                 const UseCounts* counts) {
    if (FileResult saved = SaveOptions(options, optionsServices); !saved)
        return saved;
    // The options store writes nothing where no options folder can be had; the record is
    // then not kept, and the catalog must not go to whatever folder its name leads to.
    if (!optionsServices.fileSystem.FileExists(options.fileName))
        return FileResult::Failure(UnableToWriteText(options.fileName));
    return SaveCatalog(options, catalogServices, counts);
}

} // namespace orvan
