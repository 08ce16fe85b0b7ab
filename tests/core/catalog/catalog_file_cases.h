#pragma once
// The catalog file against the platform's XML reader (expat on Linux, XmlLite on Windows):
// included by the posix and the win32 suites, so both readers meet the same documents.
#include "core/catalog/catalog_file.h"
#include "platform/native.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvan {
namespace catalog_file_cases {

// Wine's XmlLite differs from the Windows one in a few places: character references to
// white space (&#13;) arrive as blanks, only UTF-8 and UTF-16 declarations are understood,
// undefined entities and some garbage pass without an error (and a truncated document
// would never end, which the adapter itself stops). Those checks run where the reader
// follows the XML rules: expat, and XmlLite on Windows itself.
inline bool StrictReader() {
#ifdef _WIN32
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
#else
    return true;
#endif
}

inline CatalogItem Item(std::string path, std::string name = {}, std::int32_t priority = 0) {
    CatalogItem item;
    item.path = std::move(path);
    item.name = std::move(name);
    item.priority = priority;
    return item;
}

inline CatalogReadResult Parse(const std::string& document) {
    return ParseCatalog(document, platform::XmlReader());
}

inline std::string
Doc(const std::string& body,
    const std::string& root = "<catalog xmlns=\"morvane.example/XMLSchema/Orvan/\">") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n" + root + body + "</catalog>";
}

TEST(CatalogFileXml, SavedCatalogLoadsBackUnchanged) {
    const std::vector<CatalogItem> items = {
        Item("C:\\A & B\\<x> \"q\" 'a'.lnk", "A & B <x>", 3),
        Item("C:\\folder"),
        Item("C:\\folder"),
        Item("C:\\\xC3\xBC\\\xE4\xB8\xAD\\\xF0\x9F\x98\x80.exe", "\xE2\x82\xAC", -2147483647 - 1),
        Item("C:\\line\r\nbreak", "a\rb"),
        Item("  C:\\spaced  ", " name\t", 2147483647),
    };
    const CatalogReadResult r = Parse(SerializeCatalog(items));
    EXPECT_EQ(r.status.Error(), "");
    ASSERT_EQ(r.items.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!StrictReader() && (items[i].path + items[i].name).find('\r') != std::string::npos)
            continue;
        EXPECT_EQ(r.items[i].path, items[i].path) << i;
        EXPECT_EQ(r.items[i].name, items[i].name) << i;
        EXPECT_EQ(r.items[i].priority, items[i].priority) << i;
    }
    const CatalogReadResult empty = Parse(SerializeCatalog({}));
    EXPECT_EQ(empty.status.Error(), "");
    EXPECT_TRUE(empty.items.empty());
}

TEST(CatalogFileXml, HandWrittenFilesLoad) {
    const CatalogReadResult r =
        Parse("\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-8'?>\n"
              "<!-- by hand -->\n"
              "<catalog xmlns='morvane.example/XMLSchema/Orvan/'><item><name>Caf&#233;</name>"
              "<priority>\n  4\n</priority><path><![CDATA[C:\\a&b<c>]]></path></item>\n"
              "<item><path>C:\\x<!-- note -->y</path><name/></item>"
              "<c:item xmlns:c='morvane.example/XMLSchema/Orvan/'><c:path>C:\\p</c:path></c:item>"
              "<item xmlns='other'><path>C:\\other</path></item>"
              "<item><o:path xmlns:o='morvane.example/XMLSchema/Orvan/'>C:\\o</o:path></item>"
              "<item>\n  <path>C:\\multi\nline</path>\n</item>"
              "</catalog>");
    EXPECT_EQ(r.status.Error(), "");
    ASSERT_EQ(r.items.size(), 4u);
    EXPECT_EQ(r.items[0].path, "C:\\a&b<c>");
    EXPECT_EQ(r.items[0].name, "Caf\xC3\xA9");
    EXPECT_EQ(r.items[0].priority, 4);
    EXPECT_EQ(r.items[1].path, "C:\\xy");
    EXPECT_EQ(r.items[1].name, "");
    EXPECT_EQ(r.items[2].path, "C:\\o");
    EXPECT_EQ(r.items[3].path, "C:\\multi\r\nline");
}

TEST(CatalogFileXml, LatinOneDeclarationIsHonoured) {
    if (!StrictReader())
        GTEST_SKIP() << "Wine's XmlLite decodes only UTF-8 and UTF-16";
    const CatalogReadResult r = Parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                      "<catalog xmlns=\"morvane.example/XMLSchema/Orvan/\">"
                                      "<item><path>C:\\\xE9</path></item></catalog>");
    EXPECT_EQ(r.status.Error(), "");
    ASSERT_EQ(r.items.size(), 1u);
    EXPECT_EQ(r.items[0].path, "C:\\\xC3\xA9");
}

TEST(CatalogFileXml, ForeignRootsGiveAnEmptyCatalog) {
    const std::string item = "<item><path>C:\\x</path></item>";
    for (const std::string& root :
         {std::string("<catalog>"),
          std::string("<catalog xmlns=\"http://morvane.example/XMLSchema/Orvan/\">"),
          std::string("<catalog xmlns=\"MORVANE.EXAMPLE/XMLSchema/Orvan/\">"),
          std::string("<c:catalog xmlns:c=\"morvane.example/XMLSchema/Orvan/\">")}) {
        std::string doc = Doc(item, root);
        if (root.rfind("<c:", 0) == 0)
            doc.replace(doc.rfind("</catalog>"), 10, "</c:catalog>");
        const CatalogReadResult r = Parse(doc);
        EXPECT_TRUE(r.items.empty()) << root;
        EXPECT_EQ(r.status.Error(), "") << root;
    }
}

TEST(CatalogFileXml, DocumentTypesAndEntitiesAreRefused) {
    for (const std::string& dtd :
         {std::string("<!DOCTYPE catalog [<!ENTITY x \"y\">]>"),
          std::string("<!DOCTYPE catalog SYSTEM \"file:///etc/passwd\">"),
          std::string("<!DOCTYPE catalog [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;"
                      "&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                      "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>")}) {
        const CatalogReadResult r =
            Parse("<?xml version=\"1.0\"?>" + dtd +
                  "<catalog xmlns=\"morvane.example/XMLSchema/Orvan/\"><item><path>&d;</path>"
                  "</item></catalog>");
        EXPECT_TRUE(r.items.empty()) << dtd;
        EXPECT_NE(r.status.Error(), "") << dtd;
    }
    const CatalogReadResult undefined = Parse(Doc("<item><path>&x;</path></item>"));
    if (StrictReader()) {
        EXPECT_TRUE(undefined.items.empty());
        EXPECT_NE(undefined.status.Error(), "");
    }
}

TEST(CatalogFileXml, DamagedFilesKeepWhatWasReadBefore) {
    const std::string whole = SerializeCatalog({Item("C:\\1"), Item("C:\\2"), Item("C:\\3")});
    const std::string truncated = whole.substr(0, whole.find("C:\\3") + 2);
    const CatalogReadResult r = Parse(truncated);
    EXPECT_NE(r.status.Error(), "");
    ASSERT_EQ(r.items.size(), 2u);
    EXPECT_EQ(r.items[1].path, "C:\\2");

    const CatalogReadResult garbage = Parse(std::string("\x00\xFF\xFE<<&&\x01", 8));
    EXPECT_TRUE(garbage.items.empty());
    if (StrictReader()) {
        EXPECT_NE(garbage.status.Error(), "");
    }

    const CatalogReadResult child = Parse(Doc("<item><path>C:\\1</path></item>"
                                              "<item><path>C:\\<b>2</b></path></item>"
                                              "<item><path>C:\\3</path></item>"));
    EXPECT_NE(child.status.Error(), "");
    ASSERT_EQ(child.items.size(), 1u);
}

TEST(CatalogFileXml, DeepNestingNeitherCrashesNorHangs) {
    std::string open;
    std::string close;
    for (int i = 0; i < 20000; ++i) {
        open += "<d>";
        close += "</d>";
    }
    // Deep inside an ignored element, then deep inside a path.
    const CatalogReadResult ignored =
        Parse(Doc("<item><path>C:\\1</path><icon>" + open + close + "</icon></item>"));
    EXPECT_LE(ignored.items.size(), 1u);
    const CatalogReadResult inPath = Parse(Doc("<item><path>" + open + close + "</path></item>"));
    EXPECT_TRUE(inPath.items.empty());
    EXPECT_NE(inPath.status.Error(), "");
}

} // namespace catalog_file_cases
} // namespace orvan
