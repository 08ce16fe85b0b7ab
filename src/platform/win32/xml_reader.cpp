// XML reading with XmlLite, the parser that ships with Windows (and Wine). xmllite.dll is
// loaded from the system folder when first needed, since MinGW has no import library for
// it. Document type definitions are prohibited, which also rules out every entity beyond
// the predefined ones.
#include "platform/native.h"
#include "win32/com.h"
#include "win32/wide_text.h"

#include <windows.h>

#include <objidl.h>
#include <xmllite.h>

#include <atomic>
#include <cstring>

namespace orvan::platform {

namespace {

using win32::ComPtr;

// A read-only stream that pulls the document from the caller's source.
class SourceStream final : public ISequentialStream {
public:
    explicit SourceStream(const XmlSource& read) : read_(read) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == __uuidof(IUnknown) || riid == __uuidof(ISequentialStream)) {
            *object = static_cast<ISequentialStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
        std::size_t n = 0;
        while (n < size) { // a short piece is not the end; only 0 is
            const std::size_t got = read_(static_cast<char*>(buffer) + n, size - n);
            if (got == 0)
                break;
            n += got;
        }
        if (read != nullptr)
            *read = static_cast<ULONG>(n);
        return n < size ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override {
        return STG_E_ACCESSDENIED;
    }

private:
    ~SourceStream() = default;
    const XmlSource& read_;
    std::atomic<ULONG> references_{1};
};

using CreateXmlReaderFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

CreateXmlReaderFunction LoadCreateXmlReader() {
    static const CreateXmlReaderFunction function = [] {
        HMODULE module = LoadLibraryExW(L"xmllite.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module == nullptr)
            module = LoadLibraryW(L"xmllite.dll");
        if (module == nullptr)
            return CreateXmlReaderFunction{};
        return reinterpret_cast<CreateXmlReaderFunction>(
            reinterpret_cast<void*>(GetProcAddress(module, "CreateXmlReader")));
    }();
    return function;
}

std::string ErrorText(HRESULT result, IXmlReader* reader) {
    UINT line = 0;
    UINT column = 0;
    reader->GetLineNumber(&line);
    reader->GetLinePosition(&column);
    char code[16];
    wsprintfA(code, "%08lX", static_cast<unsigned long>(result));
    std::string text =
        "line " + std::to_string(line) + ", column " + std::to_string(column) + ": error 0x" + code;
    if (result == static_cast<HRESULT>(WC_E_DTDPROHIBITED))
        text += " (document type declarations are not accepted)";
    return text;
}

std::string Narrowed(const WCHAR* text, UINT length) {
    return length == 0 ? std::string() : win32::Narrow(text, length);
}

class XmlLiteReader final : public XmlReaderPort {
public:
    XmlParseResult ParseStream(const XmlSource& read, XmlEventHandler& handler) const override {
        const CreateXmlReaderFunction create = LoadCreateXmlReader();
        if (create == nullptr)
            return {XmlParseResult::Status::Failed, "xmllite.dll is not available"};
        ComPtr<IXmlReader> reader;
        if (FAILED(create(__uuidof(IXmlReader), reader.Out(), nullptr)))
            return {XmlParseResult::Status::Failed, "CreateXmlReader failed"};
        reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
        auto* stream = new SourceStream(read);
        const HRESULT input = reader->SetInput(stream);
        stream->Release();
        if (FAILED(input))
            return {XmlParseResult::Status::Failed, "SetInput failed"};

        XmlNodeType type = XmlNodeType_None;
        HRESULT result = S_OK;
        UINT lastLine = 0;
        UINT lastColumn = 0;
        int stuck = 0;
        while ((result = reader->Read(&type)) == S_OK) {
            // Wine's XmlLite reports the same text node over and over at the end of a
            // truncated document; a reader that stops moving has failed.
            UINT line = 0;
            UINT column = 0;
            reader->GetLineNumber(&line);
            reader->GetLinePosition(&column);
            stuck = line == lastLine && column == lastColumn ? stuck + 1 : 0;
            lastLine = line;
            lastColumn = column;
            if (stuck > 64)
                return {XmlParseResult::Status::Failed,
                        "line " + std::to_string(line) + ", column " + std::to_string(column) +
                            ": the document ends before it is complete"};
            bool go = true;
            const WCHAR* text = nullptr;
            UINT length = 0;
            switch (type) {
            case XmlNodeType_Element: {
                std::string uri;
                std::string local;
                std::string prefix;
                if (SUCCEEDED(reader->GetNamespaceUri(&text, &length)))
                    uri = Narrowed(text, length);
                if (SUCCEEDED(reader->GetLocalName(&text, &length)))
                    local = Narrowed(text, length);
                if (SUCCEEDED(reader->GetPrefix(&text, &length)))
                    prefix = Narrowed(text, length);
                const bool empty = reader->IsEmptyElement() != FALSE;
                go = handler.StartElement({uri, local, prefix});
                if (go && empty)
                    go = handler.EndElement();
                break;
            }
            case XmlNodeType_EndElement:
                go = handler.EndElement();
                break;
            case XmlNodeType_Text:
            case XmlNodeType_CDATA:
            case XmlNodeType_Whitespace:
                if (SUCCEEDED(reader->GetValue(&text, &length)))
                    go = handler.Text(Narrowed(text, length));
                break;
            default:
                break;
            }
            if (!go)
                return {XmlParseResult::Status::Stopped, {}};
        }
        if (FAILED(result))
            return {XmlParseResult::Status::Failed, ErrorText(result, reader.Get())};
        return {};
    }
};

} // namespace

const XmlReaderPort& XmlReader() {
    static const XmlLiteReader reader;
    return reader;
}

} // namespace orvan::platform
