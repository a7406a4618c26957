// What the help file holds and says about itself: its files kept in memory, its contents and
// index lists (the sitemap pages, .hhc and .hhk) and the #SYSTEM record that names them and
// the page to show first.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

// One entry of a contents or index list. `depth` is 0 for the top level, 1 for the entries of
// a sub-list, and so on. `local` is the page inside the help file, as written ("guide.htm",
// "images/x.htm#part"); it is empty for a heading that only groups other entries.
struct HelpTopic {
    std::string name;  // UTF-8
    std::string local; // UTF-8
    int depth = 0;
};

// The entries of a sitemap page in document order. Only "text/sitemap" objects count; the
// first Name and the first Local of each are taken, entities decoded. Lenient: unclosed
// objects and lists, stray text and comments are passed over.
std::vector<HelpTopic> parseSitemap(std::string_view html);

// The names the #SYSTEM record of a compiled help file gives.
struct HelpFileInfo {
    std::string contentsFile; // the .hhc page
    std::string indexFile;    // the .hhk page
    std::string defaultTopic; // the page shown first
    std::string title;
};

// Reads the records of #SYSTEM (a 4-byte version, then code/length/data records). A record
// that runs past the end ends the reading; what was read before stays.
HelpFileInfo parseHelpSystemFile(std::string_view bytes);

// The path inside the help file for a page named in a list: the fragment and any query
// dropped, backslashes turned into slashes, "./" and "x/../" steps removed and a leading "/"
// added ("guide.htm#a" -> "/guide.htm"). Empty when nothing is left.
std::string helpFilePath(std::string_view local);

// True when an HTML page declares UTF-8 in its head; otherwise the page is windows-1252.
bool declaresUtf8(std::string_view page);

// The files of a help file, read whole, found by path without regard to case. The help window
// reads the file once and closes it, so the file can be replaced while the window is open.
class HelpFiles {
public:
    void add(std::string_view path, std::string bytes);
    // The bytes stored at a path ("/guide.htm", "guide.htm", "/GUIDE.HTM"), or nullptr.
    const std::string* find(std::string_view path) const;
    bool empty() const { return m_files.empty(); }
    std::size_t size() const { return m_files.size(); }
    // The stored paths, in the case they were added with, in order of their lower-case names.
    std::vector<std::string> paths() const;

private:
    struct Entry {
        std::string path;
        std::string bytes;
    };
    std::map<std::string, Entry> m_files; // keyed by the lower-case path
};

// The lists and the first page of a help file.
struct HelpBook {
    std::vector<HelpTopic> contents;
    std::vector<HelpTopic> index;
    std::string startPage; // a path stored in the file; empty when the file has no page to show
    std::string title;
};

// Finds the contents and index lists (named by #SYSTEM, else the first .hhc / .hhk in the
// order of paths()) and the first page: the default topic when it is stored, else the first
// contents entry whose page is stored, else the first page (.htm, .html) in that order.
HelpBook readHelpBook(const HelpFiles& files);

// A page of the help file as text: UTF-8 when it says so, windows-1252 otherwise, in UTF-8.
std::string helpPageText(const std::string& bytes);

} // namespace fendrel
