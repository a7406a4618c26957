#include "Json.h"

#include "core/rangecard/RangeCardColumns.h"

namespace fendrel::cli {

// Quotes and backslashes escaped, control characters as \u00XX.
std::string jsonText(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20) {
            static const char* const kHex = "0123456789abcdef";
            out += "\\u00";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out + "\"";
}

std::string jsonRange(const std::optional<ConfidenceInterval>& interval) {
    if (!interval)
        return "null";
    return "[" + jsonNumber(interval->low) + ", " + jsonNumber(interval->high) + "]";
}

std::string jsonBool(bool value) {
    return value ? "true" : "false";
}

} // namespace fendrel::cli
