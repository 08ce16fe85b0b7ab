#include "core/ports/file_store.h"

namespace orvan {

FileContent FileStorePort::ReadWholeFile(const std::string& path) const {
    FileContent content;
    const std::unique_ptr<FileReader> reader = OpenFile(path, content.status);
    if (!reader)
        return content;
    const std::uint64_t hint = reader->SizeHint();
    if (hint < (std::uint64_t{1} << 32))
        content.bytes.reserve(static_cast<std::size_t>(hint));
    char buffer[1 << 16];
    while (const std::size_t got = reader->Read(buffer, sizeof buffer))
        content.bytes.append(buffer, got);
    if (reader->Failed())
        return {FileContent::Status::Unreadable, {}};
    return content;
}

bool FileStorePort::ReplaceWholeFile(const std::string& path, std::string_view content) const {
    return ReplaceFileWith(path, [content](FileWriter& writer) { return writer.Write(content); });
}

} // namespace orvan
