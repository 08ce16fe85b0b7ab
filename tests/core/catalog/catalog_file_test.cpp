#include "core/catalog/catalog_file.h"

#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <variant>

namespace orvan {
namespace {

CatalogItem Item(std::string path, std::string name = {}, std::int32_t priority = 0) {
    CatalogItem item;
    item.path = std::move(path);
    item.name = std::move(name);
    item.priority = priority;
    return item;
}

TEST(CatalogFile, NameSitsBesideTheOptionsFile) {
    EXPECT_EQ(CatalogFileName("C:\\Users\\u\\Morvane\\Orvan\\Orvan.ini"),
              "C:\\Users\\u\\Morvane\\Orvan\\Orvan_Catalog.xml");
    EXPECT_EQ(CatalogFileName("C:\\a.b\\Options"), "C:\\a.b\\Options_Catalog.xml");
    EXPECT_EQ(std::string(CatalogNamespace), "morvane.example/XMLSchema/Orvan/");
}

TEST(CatalogFile, WritesTheExactLayout) {
    EXPECT_EQ(SerializeCatalog({}), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                                    "<catalog xmlns=\"morvane.example/XMLSchema/Orvan/\"/>\r\n");
    EXPECT_EQ(
        SerializeCatalog({Item("C:\\A & B\\<x>.lnk", "A & B", 3), Item("C:\\folder", "", -7)}),
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        "<catalog xmlns=\"morvane.example/XMLSchema/Orvan/\">\r\n"
        "  <item>\r\n"
        "    <path>C:\\A &amp; B\\&lt;x&gt;.lnk</path>\r\n"
        "    <name>A &amp; B</name>\r\n"
        "    <priority>3</priority>\r\n"
        "  </item>\r\n"
        "  <item>\r\n"
        "    <path>C:\\folder</path>\r\n"
        "    <priority>-7</priority>\r\n"
        "  </item>\r\n"
        "</catalog>\r\n");
}

TEST(CatalogFile, WritesOnlyCharactersXmlCanHold) {
    const std::string text = SerializeCatalog({Item(std::string("a\x01"
                                                                "b\r\nc\td\xFF"
                                                                "e\xEF\xBF\xBF"
                                                                "f\0g",
                                                                16),
                                                    "\xC3\xA9")});
    EXPECT_NE(text.find("<path>a\xEF\xBF\xBD"
                        "b&#13;\nc\td\xEF\xBF\xBD"
                        "e\xEF\xBF\xBD"
                        "f\xEF\xBF\xBDg</path>"),
              std::string::npos);
    EXPECT_NE(text.find("<name>\xC3\xA9</name>"), std::string::npos);
}

// Replays a fixed list of parser events, so that the reading rules are tested apart from any
// XML library.
struct Start {
    std::string uri;
    std::string local;
    std::string prefix;
};
struct Text {
    std::string text;
};
struct End {};
struct Fail {
    std::string error;
};
using Event = std::variant<Start, Text, End, Fail>;

class ScriptedXml final : public XmlReaderPort {
public:
    std::vector<Event> events;
    XmlParseResult ParseStream(const XmlSource&, XmlEventHandler& handler) const override {
        for (const Event& e : events) {
            bool go = true;
            if (const auto* s = std::get_if<Start>(&e))
                go = handler.StartElement({s->uri, s->local, s->prefix});
            else if (const auto* t = std::get_if<Text>(&e))
                go = handler.Text(t->text);
            else if (std::holds_alternative<End>(e))
                go = handler.EndElement();
            else
                return {XmlParseResult::Status::Failed, std::get<Fail>(e).error};
            if (!go)
                return {XmlParseResult::Status::Stopped, {}};
        }
        return {};
    }
};

const std::string kNs = CatalogNamespace;

Start S(const std::string& local, const std::string& uri = kNs, const std::string& prefix = "") {
    return {uri, local, prefix};
}

std::vector<Event> Leaf(const std::string& local, const std::string& text,
                        const std::string& uri = kNs) {
    return {S(local, uri), Text{text}, End{}};
}

std::vector<Event> Join(std::initializer_list<std::vector<Event>> parts) {
    std::vector<Event> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

CatalogReadResult Read(std::vector<Event> events) {
    ScriptedXml xml;
    xml.events = std::move(events);
    return ParseCatalog("<x/>", xml);
}

TEST(CatalogFileReading, FollowsTheItemRules) {
    const CatalogReadResult r = Read(Join({
        {S("catalog")},
        // name before path, priority with blanks, a duplicate path: the first one counts
        {S("item")},
        Leaf("name", "N1"),
        Leaf("path", "C:\\one"),
        Leaf("priority", " 5 "),
        Leaf("path", "C:\\ignored"),
        Leaf("icon", "9"),
        Leaf("description", "d"),
        {End{}},
        // no path: skipped
        {S("item")},
        Leaf("name", "lost"),
        {End{}},
        // a path in another namespace does not count
        {S("item")},
        Leaf("path", "C:\\elsewhere", "other"),
        {End{}},
        // empty path, unreadable priority, empty name
        {S("item")},
        {S("path"), End{}},
        Leaf("priority", "high"),
        {S("name"), End{}},
        {End{}},
        // not an item
        {S("entry")},
        Leaf("path", "C:\\entry"),
        {End{}},
        // a prefixed item is not named "item"
        {S("item", kNs, "c")},
        Leaf("path", "C:\\prefixed"),
        {End{}},
        // a prefixed path in the right namespace counts; text in pieces; line breaks
        {S("item")},
        {S("path", kNs, "c"), Text{"C:\\a\nb"}, Text{"\r\nc\rd"}, End{}},
        Leaf("priority", "2147483648"),
        {End{}},
        {End{}},
    }));
    EXPECT_EQ(r.status.Error(), "");
    ASSERT_EQ(r.items.size(), 3u);
    EXPECT_EQ(r.items[0].path, "C:\\one");
    EXPECT_EQ(r.items[0].name, "N1");
    EXPECT_EQ(r.items[0].priority, 5);
    EXPECT_EQ(r.items[1].path, "");
    EXPECT_EQ(r.items[1].priority, 0);
    EXPECT_EQ(r.items[2].path, "C:\\a\r\nb\r\nc\rd");
    EXPECT_EQ(r.items[2].priority, 0);
}

TEST(CatalogFileReading, WrongRootOrNamespaceGivesAnEmptyCatalog) {
    for (const Start& root : {S("catalog", "morvane.example/XMLSchema/Orvan"), S("catalog", ""),
                              S("Catalog"), S("catalog", kNs, "c"), S("items")}) {
        const CatalogReadResult r =
            Read(Join({{root}, {S("item")}, Leaf("path", "C:\\x"), {End{}, End{}}}));
        EXPECT_TRUE(r.items.empty()) << root.local << " " << root.uri;
        EXPECT_EQ(r.status.Error(), "");
    }
}

TEST(CatalogFileReading, FailureKeepsTheItemsCompletedBefore) {
    const CatalogReadResult childInText = Read(Join({
        {S("catalog")},
        {S("item")},
        Leaf("path", "C:\\kept"),
        {End{}},
        {S("item")},
        Leaf("path", "C:\\dropped"),
        {S("name"), S("b")},
        {End{}, End{}, End{}},
        {S("item")},
        Leaf("path", "C:\\never"),
        {End{}},
    }));
    ASSERT_EQ(childInText.items.size(), 1u);
    EXPECT_EQ(childInText.items[0].path, "C:\\kept");
    EXPECT_NE(childInText.status.Error(), "");

    // An element inside an ignored element is no fault.
    const CatalogReadResult ignored = Read(Join({
        {S("catalog")},
        {S("item")},
        Leaf("path", "C:\\a"),
        {S("icon"), S("b"), End{}, End{}},
        {S("path"), S("deep"), End{}, End{}},
        {End{}, End{}},
    }));
    EXPECT_EQ(ignored.status.Error(), "");
    ASSERT_EQ(ignored.items.size(), 1u);

    const CatalogReadResult malformed = Read(Join({
        {S("catalog")},
        {S("item")},
        Leaf("path", "C:\\a"),
        {End{}},
        {S("item")},
        Leaf("path", "C:\\b"),
        {Fail{"line 9: mismatched tag"}},
    }));
    ASSERT_EQ(malformed.items.size(), 1u);
    EXPECT_EQ(malformed.status.Error(), "line 9: mismatched tag");
}

class FixedXml final : public XmlReaderPort {
public:
    XmlParseResult ParseStream(const XmlSource&, XmlEventHandler&) const override {
        ADD_FAILURE() << "an empty document needs no parser";
        return {};
    }
};

TEST(CatalogFile, SaveAndLoadGoThroughTheFileStore) {
    testing::MemoryFileSystem disk;
    FixedXml xml;
    const CatalogFileServices services{disk, xml};
    SettingsOptions options;
    options.fileName = "C:\\opt\\Orvan.ini";
    options.catalog.items = CatalogItems({Item("C:\\x")});

    // The folder is missing: nothing is written, the error names the file.
    const FileResult failed = SaveCatalog(options, services);
    EXPECT_FALSE(failed.Ok());
    EXPECT_EQ(failed.Error(), "Unable to write to C:\\opt\\Orvan_Catalog.xml");

    disk.AddFolder("C:\\opt");
    EXPECT_TRUE(SaveCatalog(options, services).Ok());
    EXPECT_EQ(*disk.Content("C:\\opt\\Orvan_Catalog.xml"),
              SerializeCatalog(options.catalog.items.items()));

    // Loading empties the catalog first; a missing or blank file leaves it empty, quietly.
    disk.AddFile("C:\\opt\\Orvan_Catalog.xml", " \r\n");
    EXPECT_EQ(LoadCatalog(options, services).Error(), "");
    EXPECT_TRUE(options.catalog.items.empty());
    options.fileName = "C:\\nowhere\\Orvan.ini";
    EXPECT_EQ(LoadCatalog(options, services).Error(), "");
    disk.AddFile("C:\\opt\\Orvan_Catalog.xml", "x");
    disk.MakeUnreadable("C:\\opt\\Orvan_Catalog.xml");
    options.fileName = "C:\\opt\\Orvan.ini";
    EXPECT_EQ(LoadCatalog(options, services).Error(), "Unable to read C:\\opt\\Orvan_Catalog.xml");
}

TEST(CatalogFile, SavingARecordWritesTheOptionsThenTheCatalogAndStopsAtTheFirstFailure) {
    constexpr const char* kOptions = "C:\\opt\\Orvan.ini";
    constexpr const char* kCatalog = "C:\\opt\\Orvan_Catalog.xml";
    struct Case {
        const char* unwritable; // the file whose replacement fails, if any
        bool noFolder;          // the options folder cannot be created
        const char* error;
        bool optionsWritten;
        bool catalogWritten;
    };
    const Case cases[] = {
        {nullptr, false, "", true, true},
        {kOptions, false, "Unable to write to C:\\opt\\Orvan.ini", false, false},
        {kCatalog, false, "Unable to write to C:\\opt\\Orvan_Catalog.xml", true, false},
        // The options store quietly writes nothing without its folder; the record is lost
        // all the same, so that is the failure, and the catalog is not tried.
        {nullptr, true, "Unable to write to C:\\opt\\Orvan.ini", false, false},
    };
    for (const Case& c : cases) {
        testing::MemoryFileSystem disk;
        testing::FakeFolders folders;
        FixedXml xml;
        if (c.unwritable)
            disk.MakeUnwritable(c.unwritable);
        disk.failCreateFolders = c.noFolder;
        const OptionsServices optionsServices{folders, disk, disk, "C:\\opt\\Orvan.exe"};
        SettingsOptions options = DefaultOptions(optionsServices);
        options.fileName = kOptions; // the folder does not exist yet: the save makes it
        options.catalog.items = CatalogItems({Item("C:\\x")});

        const FileResult saved = SaveOptionsAndCatalog(options, optionsServices, {disk, xml});
        const std::string label = c.unwritable ? c.unwritable : c.noFolder ? "no folder" : "none";
        EXPECT_EQ(saved.Ok(), c.error[0] == '\0') << label;
        EXPECT_EQ(saved.Error(), c.error) << label;
        EXPECT_EQ(disk.FileExists(kOptions), c.optionsWritten) << label;
        EXPECT_EQ(disk.FileExists(kCatalog), c.catalogWritten) << label;
    }
}

} // namespace
} // namespace orvan
