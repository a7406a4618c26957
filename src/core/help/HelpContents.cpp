// The help file in memory: its lists, its #SYSTEM record and the page to start with.
#include "HelpContents.h"

#include "core/common/Encoding.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace fendrel {
namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// "&amp;", "&#176;", "&#xB0;" and the few named entities a list page uses. Characters beyond
// one byte become '?', since the lists are single-byte text.
std::string decodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t semi = text.find(';', i + 1);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += '&';
            continue;
        }
        const std::string_view name = text.substr(i + 1, semi - i - 1);
        int code = -1;
        if (!name.empty() && name[0] == '#') {
            const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            const std::string_view digits = name.substr(hex ? 2 : 1);
            int value = 0;
            auto [end, ec] =
                std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
            if (ec == std::errc() && end == digits.data() + digits.size() && !digits.empty())
                code = value;
        } else if (sameText(name, "amp")) {
            code = '&';
        } else if (sameText(name, "lt")) {
            code = '<';
        } else if (sameText(name, "gt")) {
            code = '>';
        } else if (sameText(name, "quot")) {
            code = '"';
        } else if (sameText(name, "apos")) {
            code = '\'';
        } else if (sameText(name, "nbsp")) {
            code = 0xA0;
        } else if (sameText(name, "deg")) {
            code = 0xB0;
        }
        if (code < 0) {
            out += '&';
            continue;
        }
        out += code > 0 && code < 256 ? static_cast<char>(code) : '?';
        i = semi;
    }
    return out;
}

// One tag: its name in lower case, whether it closes, and its attributes.
struct Tag {
    std::string name;
    bool closing = false;
    std::vector<std::pair<std::string, std::string>> attributes;

    std::string attribute(std::string_view key) const {
        for (const auto& [k, v] : attributes)
            if (k == key)
                return v;
        return {};
    }
};

// Parses the inside of "<...>" (without the brackets).
Tag parseTag(std::string_view body) {
    Tag tag;
    std::size_t i = 0;
    if (i < body.size() && body[i] == '/') {
        tag.closing = true;
        ++i;
    }
    while (i < body.size() && !isSpace(body[i]) && body[i] != '/')
        tag.name += lower(body[i++]);
    while (i < body.size()) {
        while (i < body.size() && (isSpace(body[i]) || body[i] == '/'))
            ++i;
        std::string key;
        while (i < body.size() && !isSpace(body[i]) && body[i] != '=' && body[i] != '/')
            key += lower(body[i++]);
        while (i < body.size() && isSpace(body[i]))
            ++i;
        std::string value;
        if (i < body.size() && body[i] == '=') {
            ++i;
            while (i < body.size() && isSpace(body[i]))
                ++i;
            if (i < body.size() && (body[i] == '"' || body[i] == '\'')) {
                const char quote = body[i++];
                const std::size_t end = body.find(quote, i);
                const std::size_t stop = end == std::string_view::npos ? body.size() : end;
                value = std::string(body.substr(i, stop - i));
                i = stop == body.size() ? stop : stop + 1;
            } else {
                while (i < body.size() && !isSpace(body[i]))
                    value += body[i++];
            }
        }
        if (!key.empty())
            tag.attributes.emplace_back(std::move(key), decodeEntities(value));
    }
    return tag;
}

std::uint16_t word(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// The text of a record up to its first NUL.
std::string recordText(std::string_view data) {
    const std::size_t nul = data.find('\0');
    return std::string(nul == std::string_view::npos ? data : data.substr(0, nul));
}

// Slashes for backslashes, "." and ".." steps resolved, one leading "/".
std::string normalPath(std::string_view path) {
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&] {
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    };
    for (char c : path) {
        if (c == '/' || c == '\\')
            flush();
        else
            part += c;
    }
    flush();
    std::string out;
    for (const auto& p : parts)
        out += "/" + p;
    return out;
}

std::string lowerText(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

// Stored names keep their "#" ("/#SYSTEM"): only the names of pages carry fragments.
std::string storageKey(std::string_view path) {
    return lowerText(normalPath(path));
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && sameText(text.substr(text.size() - tail.size()), tail);
}

// The list a #SYSTEM record names when it is stored, else the first stored file of that kind.
const std::string* findList(const HelpFiles& files, const std::string& named,
                            std::string_view extension) {
    if (!named.empty())
        if (const std::string* bytes = files.find(helpFilePath(named)))
            return bytes;
    for (const auto& path : files.paths())
        if (endsWith(path, extension))
            return files.find(path);
    return nullptr;
}

} // namespace

std::vector<HelpTopic> parseSitemap(std::string_view html) {
    std::vector<HelpTopic> topics;
    int lists = 0;
    bool inObject = false;
    bool isSitemap = false;
    HelpTopic current;
    bool haveName = false;
    bool haveLocal = false;

    auto finishObject = [&] {
        if (inObject && isSitemap && haveName)
            topics.push_back(current);
        inObject = false;
    };

    std::size_t i = 0;
    while (i < html.size()) {
        const std::size_t open = html.find('<', i);
        if (open == std::string_view::npos)
            break;
        if (html.substr(open, 4) == "<!--") {
            const std::size_t end = html.find("-->", open + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        // A quoted ">" inside an attribute does not end the tag.
        std::size_t close = open + 1;
        char quote = 0;
        while (close < html.size() && (quote || html[close] != '>')) {
            if (quote && html[close] == quote)
                quote = 0;
            else if (!quote && (html[close] == '"' || html[close] == '\''))
                quote = html[close];
            ++close;
        }
        const Tag tag = parseTag(html.substr(open + 1, close - open - 1));
        i = close < html.size() ? close + 1 : html.size();

        if (tag.name == "ul") {
            lists = tag.closing ? std::max(0, lists - 1) : lists + 1;
        } else if (tag.name == "object") {
            if (tag.closing) {
                finishObject();
            } else {
                finishObject(); // an object left open ends where the next begins
                inObject = true;
                isSitemap = sameText(tag.attribute("type"), "text/sitemap");
                current = HelpTopic{};
                current.depth = std::max(0, lists - 1);
                haveName = haveLocal = false;
            }
        } else if (tag.name == "param" && inObject) {
            const std::string key = tag.attribute("name");
            if (sameText(key, "Name") && !haveName) {
                current.name = cp1252ToUtf8(tag.attribute("value"));
                haveName = true;
            } else if (sameText(key, "Local") && !haveLocal) {
                current.local = cp1252ToUtf8(tag.attribute("value"));
                haveLocal = true;
            }
        }
    }
    finishObject();
    return topics;
}

HelpFileInfo parseHelpSystemFile(std::string_view bytes) {
    HelpFileInfo info;
    std::size_t at = 4; // the version number
    while (at + 4 <= bytes.size()) {
        const std::uint16_t code = word(bytes, at);
        const std::uint16_t length = word(bytes, at + 2);
        at += 4;
        if (at + length > bytes.size())
            break;
        const std::string_view data = bytes.substr(at, length);
        switch (code) {
        case 0:
            info.contentsFile = recordText(data);
            break;
        case 1:
            info.indexFile = recordText(data);
            break;
        case 2:
            info.defaultTopic = recordText(data);
            break;
        case 3:
            info.title = recordText(data);
            break;
        default:
            break;
        }
        at += length;
    }
    return info;
}

std::string helpFilePath(std::string_view local) {
    const std::size_t cut = local.find_first_of("#?");
    return normalPath(cut == std::string_view::npos ? local : local.substr(0, cut));
}

bool declaresUtf8(std::string_view page) {
    const std::size_t head = std::min<std::size_t>(page.size(), 2048);
    std::string start(page.substr(0, head));
    std::transform(start.begin(), start.end(), start.begin(), lower);
    const std::size_t at = start.find("charset");
    if (at == std::string::npos)
        return false;
    std::size_t i = at + 7;
    while (i < start.size() &&
           (isSpace(start[i]) || start[i] == '=' || start[i] == '"' || start[i] == '\''))
        ++i;
    return start.compare(i, 5, "utf-8") == 0 || start.compare(i, 4, "utf8") == 0;
}

void HelpFiles::add(std::string_view path, std::string bytes) {
    const std::string key = storageKey(path);
    if (key.empty())
        return;
    m_files[key] = Entry{normalPath(path), std::move(bytes)};
}

const std::string* HelpFiles::find(std::string_view path) const {
    const auto it = m_files.find(storageKey(path));
    return it == m_files.end() ? nullptr : &it->second.bytes;
}

std::vector<std::string> HelpFiles::paths() const {
    std::vector<std::string> list;
    list.reserve(m_files.size());
    for (const auto& [key, entry] : m_files)
        list.push_back(entry.path);
    return list;
}

HelpBook readHelpBook(const HelpFiles& files) {
    HelpBook book;
    HelpFileInfo info;
    if (const std::string* system = files.find("/#SYSTEM"))
        info = parseHelpSystemFile(*system);
    book.title = info.title;
    if (const std::string* contents = findList(files, info.contentsFile, ".hhc"))
        book.contents = parseSitemap(*contents);
    if (const std::string* index = findList(files, info.indexFile, ".hhk"))
        book.index = parseSitemap(*index);

    auto stored = [&](const std::string& local) {
        const std::string path = helpFilePath(local);
        return !path.empty() && files.find(path) != nullptr;
    };
    if (stored(info.defaultTopic)) {
        book.startPage = helpFilePath(info.defaultTopic);
        return book;
    }
    for (const auto& topic : book.contents) {
        if (stored(topic.local)) {
            book.startPage = helpFilePath(topic.local);
            return book;
        }
    }
    for (const auto& path : files.paths()) {
        if (endsWith(path, ".htm") || endsWith(path, ".html")) {
            book.startPage = path;
            return book;
        }
    }
    return book;
}

std::string helpPageText(const std::string& bytes) {
    return declaresUtf8(bytes) ? bytes : cp1252ToUtf8(bytes);
}

} // namespace fendrel
