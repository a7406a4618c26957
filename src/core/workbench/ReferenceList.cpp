// Reference lists of the main window.
#include "ReferenceList.h"

#include "core/common/TextFile.h"

#include <algorithm>

namespace fendrel {

namespace {
unsigned char fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
} // namespace

bool listOrderLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = fold(static_cast<unsigned char>(a[i]));
        unsigned char y = fold(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

size_t insertSorted(std::vector<std::string>& list, const std::string& entry) {
    auto at = std::upper_bound(list.begin(), list.end(), entry, listOrderLess);
    const auto placed = list.insert(at, entry);
    return static_cast<size_t>(placed - list.begin());
}

std::vector<std::string> loadReferenceList(const std::filesystem::path& file) {
    std::vector<std::string> list;
    auto reader = FieldReader::open(file);
    if (!reader)
        return list;
    while (!reader->atEnd())
        insertSorted(list, reader->readField());
    return list;
}

} // namespace fendrel
