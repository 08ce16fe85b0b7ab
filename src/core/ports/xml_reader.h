#pragma once
// Reading XML through the platform's own parser (XmlLite on Windows, expat on Linux), as a
// stream of events. Document type declarations, and with them every entity beyond the five
// predefined ones, are refused: a catalog file never needs them, and they are the door for
// entity expansion bombs and external fetches.
#include <cstddef>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace orvan {

struct XmlName {
    std::string_view namespaceUri; // "" when the element is in no namespace
    std::string_view localName;
    std::string_view prefix; // "" for an unprefixed name
};

class XmlEventHandler {
public:
    virtual ~XmlEventHandler() = default;
    // Each returns false to stop reading; the parse then ends as stopped.
    virtual bool StartElement(const XmlName& name) = 0;
    // Character data inside elements, CDATA included, possibly in several pieces. Line ends
    // arrive as the XML rules normalise them (LF).
    virtual bool Text(std::string_view text) = 0;
    virtual bool EndElement() = 0;
};

struct XmlParseResult {
    enum class Status { Complete, Stopped, Failed };
    Status status = Status::Complete;
    std::string error; // for Failed: what the parser found wrong and where
};

// Where a document comes from, piece by piece: fills up to size bytes of buffer and returns
// how many; 0 at the end.
using XmlSource = std::function<std::size_t(char* buffer, std::size_t size)>;

class XmlReaderPort {
public:
    virtual ~XmlReaderPort() = default;
    // Reads a whole document (UTF-8 or whatever its declaration names) and reports its
    // elements in document order. Events already delivered stand when a later part of the
    // document turns out malformed.
    virtual XmlParseResult ParseStream(const XmlSource& read, XmlEventHandler& handler) const = 0;

    XmlParseResult Parse(std::string_view document, XmlEventHandler& handler) const {
        return ParseStream(
            [&document](char* buffer, std::size_t size) {
                const std::size_t n = size < document.size() ? size : document.size();
                std::memcpy(buffer, document.data(), n);
                document.remove_prefix(n);
                return n;
            },
            handler);
    }
};

} // namespace orvan
