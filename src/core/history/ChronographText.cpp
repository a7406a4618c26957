// Lines, fields, numbers, units, dates and times of chronograph exports.
#include "ChronographText.h"

#include "HistoryEntry.h"
#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/common/Strings.h"

namespace fendrel::exportread {

namespace {

constexpr double kMetresInAFoot = 0.3048;

// The blanks that are not spaces (no-break, narrow no-break, thin) become spaces.
std::string withPlainBlanks(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\xC2\xA0") == 0) {
            out.push_back(' ');
            i += 1;
        } else if (text.compare(i, 3, "\xE2\x80\xAF") == 0 ||
                   text.compare(i, 3, "\xE2\x80\x89") == 0) {
            out.push_back(' ');
            i += 2;
        } else {
            out.push_back(text[i] == '\t' ? ' ' : text[i]);
        }
    }
    return out;
}

// Capitals made small: ASCII, Latin-1 and Latin Extended-A (the letters of the month names).
std::string foldedCase(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out.push_back(static_cast<char>(c + 32));
        } else if (c >= 0xC3 && c <= 0xC5 && i + 1 < text.size()) {
            unsigned code = (c & 0x1Fu) << 6 | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            if (code >= 0xC0 && code <= 0xDE && code != 0xD7)
                code += 0x20;
            else if ((code >= 0x100 && code <= 0x137) || (code >= 0x14A && code <= 0x177))
                code |= 1;
            else if (((code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E)) &&
                     (code & 1))
                code += 1;
            out.push_back(static_cast<char>(0xC0 | code >> 6));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
            ++i;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitsValue(std::string_view digits) {
    int v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

std::string twoDigits(int v) {
    return std::string(1, static_cast<char>('0' + v / 10 % 10)) +
           static_cast<char>('0' + v % 10);
}

std::string isoFrom(int year, int month, int day) {
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return {};
    const std::string date = std::to_string(year) + "-" + twoDigits(month) + "-" + twoDigits(day);
    return isIsoDate(date) ? date : std::string();
}

// The month names, small letters, by month. A name after '*' is matched whole or with an
// ending (tammikuuta), never shortened: the Finnish and Czech names share their first letters
// with other months.
const char* const kMonthNames[12] = {
    "january januar j\xC3\xA4nner janvier enero gennaio januari janeiro *tammikuu "
    "stycze\xC5\x84 stycznia *leden *ledna",
    "february februar f\xC3\xA9vrier fevrier febrero febbraio februari fevereiro *helmikuu luty "
    "lutego *\xC3\xBAnor *\xC3\xBAnora",
    "march m\xC3\xA4rz maerz mars marzo maart marts mar\xC3\xA7o marzec marca *maaliskuu "
    "*b\xC5\x99""ezen *b\xC5\x99""ezna",
    "april avril abril aprile *huhtikuu kwiecie\xC5\x84 kwietnia *duben *dubna",
    "may mai mayo maggio mei maj maio *toukokuu maja *kv\xC4\x9Bten *kv\xC4\x9Btna",
    "june juni juin junio giugno junho *kes\xC3\xA4kuu czerwiec czerwca *\xC4\x8D""erven "
    "*\xC4\x8D""ervna",
    "july juli juillet julio luglio julho *hein\xC3\xA4kuu lipiec lipca *\xC4\x8D""ervenec "
    "*\xC4\x8D""ervence",
    "august ao\xC3\xBBt aout agosto augustus augusti *elokuu sierpie\xC5\x84 sierpnia *srpen "
    "*srpna",
    "september septembre septiembre setiembre settembre setembro *syyskuu wrzesie\xC5\x84 "
    "wrze\xC5\x9Bnia *z\xC3\xA1\xC5\x99\xC3\xAD",
    "october oktober octobre octubre ottobre outubro *lokakuu pa\xC5\xBA""dziernik "
    "pa\xC5\xBA""dziernika *\xC5\x99\xC3\xAD""jen *\xC5\x99\xC3\xAD""jna",
    "november novembre noviembre novembro *marraskuu listopad listopada *listopadu",
    "december dezember d\xC3\xA9""cembre decembre diciembre dicembre dezembro *joulukuu "
    "grudzie\xC5\x84 grudnia *prosinec *prosince",
};

// The month a word names (1 to 12), or 0: a whole name first, else the one month whose name
// the word shortens (at least three letters) or extends.
int monthOfWord(std::string_view word) {
    int found = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int m = 0; m < 12; ++m) {
            std::string_view names = kMonthNames[m];
            while (!names.empty()) {
                const size_t end = std::min(names.find(' '), names.size());
                std::string_view name = names.substr(0, end);
                names.remove_prefix(std::min(end + 1, names.size()));
                const bool whole = name.front() == '*';
                if (whole)
                    name.remove_prefix(1);
                if (pass == 0 && word == name)
                    return m + 1;
                const bool shortened = !whole && word.size() >= 3 && name.starts_with(word);
                const bool extended = name.size() >= 4 && word.starts_with(name);
                if (pass == 1 && (shortened || extended)) {
                    if (found != 0 && found != m + 1)
                        return 0;
                    found = m + 1;
                }
            }
        }
    }
    return found;
}

// A date of three numbers joined by one mark (-, / or .), or empty.
std::string numericDate(std::string_view t, DayMonth order) {
    for (size_t i = 0; i < t.size(); ++i) {
        if (!isDigit(t[i]) || (i > 0 && isDigit(t[i - 1])))
            continue;
        std::string_view parts[3];
        size_t at = i;
        char mark = 0;
        bool ok = true;
        for (int p = 0; p < 3 && ok; ++p) {
            const size_t start = at;
            while (at < t.size() && isDigit(t[at]))
                ++at;
            parts[p] = t.substr(start, at - start);
            ok = !parts[p].empty() && parts[p].size() <= 4;
            if (ok && p < 2) {
                ok = at < t.size() && (t[at] == '-' || t[at] == '/' || t[at] == '.') &&
                     (mark == 0 || t[at] == mark);
                mark = ok ? t[at++] : mark;
            }
        }
        if (!ok || (at < t.size() && isDigit(t[at])))
            continue;
        const int a = digitsValue(parts[0]), b = digitsValue(parts[1]), c = digitsValue(parts[2]);
        if (parts[0].size() == 4)
            return isoFrom(a, b, c);
        if (parts[2].size() != 4)
            continue;
        const bool dayFirst =
            mark == '.' || (order == DayMonth::DayFirst ? b <= 12 : a > 12);
        return dayFirst ? isoFrom(c, b, a) : isoFrom(c, a, b);
    }
    return {};
}

// A date of words and numbers: a month name, a day and a year in any order, or the
// year-month-day characters of Chinese, Japanese and Korean. Numbers beside ':' are a time.
std::string wordDate(std::string_view t) {
    int year = 0, month = 0, day = 0;
    auto isLetter = [](char c) {
        return (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
    };
    size_t i = 0;
    while (i < t.size()) {
        const size_t start = i;
        if (isDigit(t[i])) {
            while (i < t.size() && isDigit(t[i]))
                ++i;
            const std::string_view digits = t.substr(start, i - start);
            const bool time = (start > 0 && t[start - 1] == ':') || (i < t.size() && t[i] == ':');
            if (time || digits.size() > 4)
                continue;
            const int value = digitsValue(digits);
            const std::string_view after = t.substr(i, 3);
            if (after == "\xE5\xB9\xB4" || after == "\xEB\x85\x84") // 年 년
                year = value, i += 3;
            else if (after == "\xE6\x9C\x88" || after == "\xEC\x9B\x94") // 月 월
                month = value, i += 3;
            else if (after == "\xE6\x97\xA5" || after == "\xEC\x9D\xBC") // 日 일
                day = value, i += 3;
            else if (digits.size() == 4 && year == 0)
                year = value;
            else if (digits.size() <= 2 && day == 0)
                day = value;
        } else if (isLetter(t[i])) {
            while (i < t.size() && isLetter(t[i]))
                ++i;
            if (month == 0)
                month = monthOfWord(t.substr(start, i - start));
        } else {
            ++i;
        }
    }
    return isoFrom(year, month, day);
}

} // namespace

Result<std::vector<TextLine>> textLines(std::string_view bytes) {
    using R = Result<std::vector<TextLine>>;
    if (const std::string encoding = utf16Encoding(bytes); !encoding.empty())
        return R::refused("The file is in " + encoding + "; save it as UTF-8 or plain text.");
    std::string withoutNul;
    withoutNul.reserve(bytes.size());
    for (char c : bytes)
        if (c != '\0')
            withoutNul.push_back(c);
    // A mark that closes once another is taken out goes too.
    std::string clean;
    clean.reserve(withoutNul.size());
    for (char c : withoutNul) {
        clean.push_back(c);
        if (clean.size() >= 3 && std::string_view(clean).substr(clean.size() - 3) == kUtf8PathMark)
            clean.resize(clean.size() - 3);
    }
    R r;
    int number = 0;
    for (size_t start = 0; start <= clean.size();) {
        size_t end = clean.find('\n', start);
        if (end == std::string::npos)
            end = clean.size();
        std::string_view text = std::string_view(clean).substr(start, end - start);
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        ++number;
        if (!isUtf8(text))
            return R::refused(lineRefusal(number, "the text is not UTF-8"));
        r.value.push_back({number, std::string(text)});
        start = end + 1;
    }
    return r;
}

std::string lineRefusal(int line, const std::string& why) {
    return "Line " + std::to_string(line) + ": " + why + ".";
}

std::vector<std::string> splitFields(std::string_view line, char separator) {
    std::vector<std::string> fields(1);
    bool quoted = false, wasQuoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        std::string& f = fields.back();
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                f.push_back('"'), ++i;
            else if (c == '"')
                quoted = false;
            else
                f.push_back(c);
        } else if (c == separator) {
            if (!wasQuoted)
                f = std::string(trimmedView(f));
            fields.emplace_back();
            wasQuoted = false;
        } else if (c == '"' && trimmedView(f).empty() && !wasQuoted) {
            f.clear();
            quoted = wasQuoted = true;
        } else if (!(wasQuoted && (c == ' ' || c == '\t'))) {
            f.push_back(c);
        }
    }
    if (!wasQuoted)
        fields.back() = std::string(trimmedView(fields.back()));
    return fields;
}

char separatorOf(std::string_view line) {
    return line.find(';') != std::string_view::npos ? ';' : ',';
}

std::string shownField(std::string_view text) {
    const bool cut = text.size() > 40;
    std::string out = "'";
    for (unsigned char c : text.substr(0, cut ? 37 : text.size())) {
        if (c < 0x20 || c == 0x7F) {
            static const char* const kHex = "0123456789ABCDEF";
            out += "\\x";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out + (cut ? "...'" : "'");
}

std::string asciiLower(std::string_view text) {
    return lowered(std::string(text));
}

std::optional<double> deviceNumber(std::string_view field) {
    std::string_view t = trimmedView(field);
    std::string plain;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        if (t.front() == '-')
            plain.push_back('-');
        t.remove_prefix(1);
    }
    size_t points = 0, commas = 0, lastPoint = 0, lastComma = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '.')
            ++points, lastPoint = i;
        else if (t[i] == ',')
            ++commas, lastComma = i;
        else if (!isDigit(t[i]))
            return std::nullopt;
    }
    char decimal = '.', group = 0;
    if (commas == 0 && points <= 1) {
        decimal = '.';
    } else if (points == 0 && commas == 1) {
        decimal = ',';
    } else if (points > 0 && commas > 0) {
        decimal = lastPoint > lastComma ? '.' : ',';
        group = decimal == '.' ? ',' : '.';
        if ((decimal == '.' ? points : commas) != 1)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    const size_t mark = t.find(decimal);
    const std::string_view whole = t.substr(0, mark);
    const std::string_view fraction =
        mark == std::string_view::npos ? std::string_view() : t.substr(mark + 1);
    if (group != 0) {
        // Groups of three after the first, which holds one to three digits.
        size_t start = 0;
        for (bool first = true;; first = false) {
            const size_t end = std::min(whole.find(group, start), whole.size());
            const size_t length = end - start;
            if (first ? (length < 1 || length > 3) : length != 3)
                return std::nullopt;
            plain.append(whole.substr(start, length));
            if (end == whole.size())
                break;
            start = end + 1;
        }
        if (fraction.find(group) != std::string_view::npos)
            return std::nullopt;
    } else {
        plain.append(whole);
    }
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    if (!fraction.empty())
        plain.append(".").append(fraction);
    return leadingNumber(plain);
}

std::optional<bool> metricSpeedUnit(std::string_view unit) {
    const std::string u = asciiLower(trimmedView(unit));
    if (u == "fps" || u == "ft/s")
        return false;
    if (u == "m/s" || u == "mps")
        return true;
    return std::nullopt;
}

Speed speedOf(std::string_view field, bool metric) {
    const std::string_view t = trimmedView(field);
    const auto value = deviceNumber(t);
    if (!value)
        return {0, t.empty() ? "no speed" : shownField(t) + " is not a number"};
    if (!(*value > 0))
        return {0, "the speed " + shownField(t) + " is not a positive number"};
    const double fps = metric ? *value / kMetresInAFoot : *value;
    if (!(fps <= kMaximumSpeedFps))
        return {0, "the speed " + shownField(t) + " is above 20000 ft/s"};
    return {fps, {}};
}

std::string dateOf(std::string_view text, DayMonth order) {
    const std::string t = foldedCase(withPlainBlanks(text));
    const std::string numeric = numericDate(t, order);
    return numeric.empty() ? wordDate(t) : numeric;
}

std::string clockTimeOf(std::string_view text) {
    std::string t = trimmed(foldedCase(withPlainBlanks(text)));
    static const struct {
        const char* mark;
        int half; // 1 morning, 2 afternoon
    } kMarks[] = {{"a.m.", 1}, {"p.m.", 2}, {"am", 1}, {"pm", 2},
                  {"\xE5\x8D\x88\xE5\x89\x8D", 1}, {"\xE5\x8D\x88\xE5\xBE\x8C", 2},  // 午前 午後
                  {"\xE4\xB8\x8A\xE5\x8D\x88", 1}, {"\xE4\xB8\x8B\xE5\x8D\x88", 2},  // 上午 下午
                  {"\xEC\x98\xA4\xEC\xA0\x84", 1}, {"\xEC\x98\xA4\xED\x9B\x84", 2}}; // 오전 오후
    int half = 0;
    for (const auto& m : kMarks) {
        const std::string_view mark = m.mark;
        if (t.size() > mark.size() && t.ends_with(mark))
            t.resize(t.size() - mark.size());
        else if (t.size() > mark.size() && t.starts_with(mark))
            t.erase(0, mark.size());
        else
            continue;
        half = m.half;
        t = trimmed(t);
        break;
    }
    // H:MM or H:MM:SS
    size_t i = 0;
    int parts[3] = {0, 0, 0}, count = 0;
    while (count < 3) {
        const size_t start = i;
        while (i < t.size() && isDigit(t[i]))
            ++i;
        const size_t length = i - start;
        if (length == 0 || length > 2 || (count > 0 && length != 2))
            return {};
        parts[count++] = digitsValue(std::string_view(t).substr(start, length));
        if (i == t.size())
            break;
        if (count == 3 || t[i++] != ':')
            return {};
    }
    if (count < 2 || parts[1] > 59 || parts[2] > 59)
        return {};
    int hour = parts[0];
    if (half != 0) {
        if (hour < 1 || hour > 12)
            return {};
        hour = hour % 12 + (half == 2 ? 12 : 0);
    } else if (hour > 23) {
        return {};
    }
    return twoDigits(hour) + ":" + twoDigits(parts[1]) + ":" + twoDigits(parts[2]);
}

} // namespace fendrel::exportread
