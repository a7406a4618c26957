// Small text helpers shared by the readers of the program's files.
#pragma once

#include <string>
#include <string_view>

namespace fendrel {

inline bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// `s` with its ASCII capitals made small; every other byte as it is.
inline std::string lowered(std::string s) {
    for (char& c : s)
        c = lowerAscii(c);
    return s;
}

// `text` without the blanks and tabs at either end: a view into `text`, and a copy.
inline std::string_view trimmedView(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
inline std::string trimmed(std::string_view text) { return std::string(trimmedView(text)); }

} // namespace fendrel
