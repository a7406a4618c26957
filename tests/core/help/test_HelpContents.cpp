// The help file's lists, records and page names, and the help sources those lists point at.
#include "core/help/HelpContents.h"
#include "core/common/TextFile.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;
using namespace fendrel;

namespace {
std::string object(const std::string& name, const std::string& local) {
    return "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>\n";
}

// #SYSTEM: a version word, then records of code, length and data (little-endian words).
std::string systemFile(const std::vector<std::pair<int, std::string>>& records) {
    std::string bytes("\3\0\0\0", 4);
    for (const auto& [code, text] : records) {
        const std::string data = text + '\0';
        bytes += {static_cast<char>(code), '\0', static_cast<char>(data.size()), '\0'};
        bytes += data;
    }
    return bytes;
}

// Each topic as "depth name -> local", one a line.
std::string listed(const std::vector<HelpTopic>& topics) {
    std::string out;
    for (const HelpTopic& t : topics)
        out += std::to_string(t.depth) + " " + t.name + " -> " + t.local + "\n";
    return out;
}
} // namespace

TEST(HelpBook, ListsPagesTheFirstPageAndThePagesTheSourcesListExist) {
    EXPECT_EQ(helpFilePath("/guide.htm#part"), "/guide.htm");
    EXPECT_EQ(helpFilePath("images\\bearing.png"), "/images/bearing.png");
    EXPECT_EQ(helpFilePath("sub/./../a.htm?x=1"), "/a.htm");
    EXPECT_EQ(helpFilePath("../../a.htm"), "/a.htm");
    EXPECT_EQ(helpFilePath("#only"), "");
    // A page is UTF-8 only when its head says so.
    EXPECT_TRUE(declaresUtf8("<META CONTENT=\"text/html; charset=UTF-8\">"));
    EXPECT_TRUE(declaresUtf8("<meta charset='utf-8'>"));
    EXPECT_FALSE(declaresUtf8("<META CONTENT=\"text/html; charset=windows-1252\">"));
    EXPECT_FALSE(declaresUtf8(std::string(5000, ' ') + "charset=utf-8"));

    HelpFiles files;
    files.add("/Welcome.htm", "w");
    files.add("/images/Bearing.PNG", "png");
    files.add("/#SYSTEM", "sys");
    EXPECT_EQ(*files.find("WELCOME.HTM"), "w");
    EXPECT_EQ(*files.find("images\\bearing.png"), "png");
    EXPECT_EQ(*files.find("/#system"), "sys"); // a stored name, not a fragment
    EXPECT_EQ(files.find("/missing.htm"), nullptr);
    EXPECT_EQ(files.find(""), nullptr);
    // The lists and the first page: what the #SYSTEM record names, then fall-backs.
    files.add("/#SYSTEM", systemFile({{0, "toc.hhc"}, {1, "keys.hhk"}, {2, "start.htm"}}));
    files.add("/aaa.hhc", "<UL>" + object("Wrong list", "a.htm") + "</UL>");
    files.add("/toc.hhc", "<UL>" + object("Heading", "") + object("Gone", "gone.htm") +
                              object("Here", "here.htm#part") + "</UL>");
    files.add("/keys.hhk", "<UL>" + object("keyword", "start.htm") + "</UL>");
    files.add("/here.htm", "here");
    files.add("/start.htm", "start");
    HelpBook book = readHelpBook(files);
    EXPECT_EQ(listed(book.contents),
              "0 Heading -> \n0 Gone -> gone.htm\n0 Here -> here.htm#part\n");
    EXPECT_EQ(listed(book.index), "0 keyword -> start.htm\n");
    EXPECT_EQ(book.startPage, "/start.htm");

    // Without the default page: the first listed page that is stored.
    files.add("/#SYSTEM", systemFile({{0, "toc.hhc"}, {2, "missing.htm"}}));
    EXPECT_EQ(readHelpBook(files).startPage, "/here.htm");

    // Without lists: any page; without pages: nothing to show.
    HelpFiles bare;
    bare.add("/picture.png", "png");
    EXPECT_EQ(readHelpBook(bare).startPage, "");
    bare.add("/only.html", "page");
    EXPECT_EQ(readHelpBook(bare).startPage, "/only.html");
    // The #SYSTEM records are read up to a truncated one.
    // Contents, index, default page and title, each "" when not read.
    auto named = [](const std::string& bytes) {
        const HelpFileInfo i = parseHelpSystemFile(bytes);
        return i.contentsFile + "|" + i.indexFile + "|" + i.defaultTopic + "|" + i.title;
    };
    std::string bytes = systemFile({{10, "xxx"}, {2, "welcome.htm"}, {3, "Fen-drel Help"},
                                    {0, "contents.hhc"}, {1, "index.hhk"}});
    EXPECT_EQ(named(bytes), "contents.hhc|index.hhk|welcome.htm|Fen-drel Help");
    bytes.resize(bytes.size() - 3); // the index record now runs past the end
    EXPECT_EQ(named(bytes), "contents.hhc||welcome.htm|Fen-drel Help");
    EXPECT_EQ(named(std::string("\3\0", 2)), "|||");
    // The lists: nested lists give depths, attributes are read however written, bad markup passes.
    const std::string hhc = "<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" "
                            "value=\"0x800025\"></OBJECT><UL>" +
                            object("Top", "a.htm") + "<UL>" + object("Child", "b.htm") + "<UL>" +
                            object("Grandchild", "c.htm#x") + "</UL></UL>" +
                            object("Second top", "d.htm") + "</UL>";
    EXPECT_EQ(listed(parseSitemap(hhc)),
              "0 Top -> a.htm\n1 Child -> b.htm\n2 Grandchild -> c.htm#x\n0 Second top -> d.htm\n");
    // First Name and Local win; headings without a page stay; upper case, single quotes, bare
    // values, a ">" inside quotes, entities and comments are all understood.
    const std::string hhk =
        "<!-- <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"commented\"></OBJECT> -->"
        "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"keyword\">"
        "<param name=\"Name\" value=\"title\"><param name=\"Local\" value=\"first.htm\">"
        "<param name=\"Local\" value=\"second.htm\"></object>"
        "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Heading\"></object>"
        "<LI><OBJECT TYPE='text/sitemap'><PARAM NAME='Name' VALUE='W1 &amp; FP &gt; 0'>"
        "<PARAM NAME=Local VALUE=terminal.htm></OBJECT>"
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"a > b, 59&deg;F "
        "&#65;&#x42;\">"
        "</OBJECT></ul>";
    EXPECT_EQ(listed(parseSitemap(hhk)), "0 keyword -> first.htm\n0 Heading -> \n0 W1 & FP > 0 -> "
                                         "terminal.htm\n0 a > b, 59\u00B0F AB -> \n");
    // An object left open ends where the next begins; extra list ends, stray parameters and a
    // tag cut off at the end do no harm.
    const std::string bad = "</UL></UL><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                            "value=\"One\"><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
                            "value=\"Two\"></OBJECT><param name=\"Name\" value=\"stray\">"
                            "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Three";
    EXPECT_EQ(listed(parseSitemap(bad)), "0 One -> \n0 Two -> \n0 Three -> \n");
    EXPECT_TRUE(parseSitemap("no markup &amp; <").empty());

    // Every page the contents and the index of the help sources name exists, and every page is
    // reachable from the contents.
    const fs::path dir = fs::path(FENDREL_DATA_DIR).parent_path() / "help";
    std::set<std::string> inContents;
    for (const std::string list : {"contents.hhc", "index.hhk"}) {
        const auto sitemap = readFileBytes(dir / list);
        ASSERT_TRUE(sitemap) << list << " not found in " << dir;
        const auto topics = parseSitemap(*sitemap);
        EXPECT_GT(topics.size(), 10u);
        for (const auto& topic : topics) {
            const std::string page = helpFilePath(topic.local);
            EXPECT_TRUE(!page.empty() && fs::exists(dir / page.substr(1))) << topic.local;
            if (list == "contents.hhc")
                inContents.insert(page);
        }
    }
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".htm") {
            EXPECT_TRUE(inContents.count("/" + entry.path().filename().string()))
                << entry.path().filename() << " is not in the contents";
        }
    }
}
