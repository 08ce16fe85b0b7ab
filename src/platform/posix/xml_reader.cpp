// XML reading with expat. Names arrive as "uri\x01local\x01prefix" triplets; a document
// type declaration stops the parse before any of it is processed.
#include "platform/native.h"

#include <expat.h>

#include <climits>
#include <memory>

namespace orvan::platform {

namespace {

constexpr char kSeparator = '\x01';

struct ParserDeleter {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

struct Context {
    XML_Parser parser;
    XmlEventHandler* handler;
    bool stopped = false;
    bool refused = false;
};

void Stop(Context& context) {
    context.stopped = true;
    XML_StopParser(context.parser, XML_FALSE);
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** /*attributes*/) {
    auto& context = *static_cast<Context*>(data);
    if (context.stopped)
        return;
    const std::string_view full(name);
    XmlName xmlName;
    const std::size_t first = full.find(kSeparator);
    if (first == std::string_view::npos) {
        xmlName.localName = full;
    } else {
        xmlName.namespaceUri = full.substr(0, first);
        const std::string_view rest = full.substr(first + 1);
        const std::size_t second = rest.find(kSeparator);
        xmlName.localName = rest.substr(0, second);
        if (second != std::string_view::npos)
            xmlName.prefix = rest.substr(second + 1);
    }
    if (!context.handler->StartElement(xmlName))
        Stop(context);
}

void XMLCALL OnEnd(void* data, const XML_Char* /*name*/) {
    auto& context = *static_cast<Context*>(data);
    if (!context.stopped && !context.handler->EndElement())
        Stop(context);
}

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
    auto& context = *static_cast<Context*>(data);
    if (!context.stopped &&
        !context.handler->Text(std::string_view(text, static_cast<std::size_t>(length))))
        Stop(context);
}

void XMLCALL OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto& context = *static_cast<Context*>(data);
    context.refused = true;
    XML_StopParser(context.parser, XML_FALSE);
}

class ExpatReader final : public XmlReaderPort {
public:
    XmlParseResult ParseStream(const XmlSource& read, XmlEventHandler& handler) const override {
        const std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(
            XML_ParserCreateNS(nullptr, kSeparator));
        if (!parser)
            return {XmlParseResult::Status::Failed, "out of memory"};
        Context context{parser.get(), &handler};
        XML_SetUserData(parser.get(), &context);
        XML_SetReturnNSTriplet(parser.get(), 1);
        XML_SetElementHandler(parser.get(), OnStart, OnEnd);
        XML_SetCharacterDataHandler(parser.get(), OnText);
        XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
        XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);

        // Pieces go straight into expat's own buffer.
        constexpr int kPiece = 1 << 20;
        XML_Status status = XML_STATUS_OK;
        for (bool last = false; status == XML_STATUS_OK && !last;) {
            void* buffer = XML_GetBuffer(parser.get(), kPiece);
            if (buffer == nullptr)
                return {XmlParseResult::Status::Failed, "out of memory"};
            const std::size_t got = read(static_cast<char*>(buffer), kPiece);
            last = got == 0;
            status =
                XML_ParseBuffer(parser.get(), static_cast<int>(got), last ? XML_TRUE : XML_FALSE);
        }

        if (context.refused)
            return {XmlParseResult::Status::Failed,
                    "line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) +
                        ": document type declarations are not accepted"};
        if (context.stopped)
            return {XmlParseResult::Status::Stopped, {}};
        if (status != XML_STATUS_OK)
            return {XmlParseResult::Status::Failed,
                    "line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) + ", column " +
                        std::to_string(XML_GetCurrentColumnNumber(parser.get()) + 1) + ": " +
                        XML_ErrorString(XML_GetErrorCode(parser.get()))};
        return {};
    }
};

} // namespace

const XmlReaderPort& XmlReader() {
    static const ExpatReader reader;
    return reader;
}

} // namespace orvan::platform
