// Drag table loading and checking.
#include "DragTable.h"

#include "core/common/Numbers.h"
#include "core/common/SafeFile.h"
#include "core/common/TextFile.h"

#include <cerrno>
#include <cmath>

namespace fendrel {

std::string DragTable::load(const std::filesystem::path& path, std::size_t capacity,
                            DragTable& table) {
    Status error;
    auto bytes = readInputFile(path, kDefaultInputLimit, &error);
    if (!bytes)
        return "The drag table " + path.filename().string() + " is missing or cannot be read" +
               (error.code == ENOENT ? std::string(".") : " (" + error.refusal + ").");
    std::string reason = parse(std::move(*bytes), capacity, table);
    if (!reason.empty())
        return "The drag table " + path.filename().string() + " " + reason;
    return {};
}

std::string DragTable::parse(std::string bytes, std::size_t capacity, DragTable& table) {
    // Blank lines and blanks after the last record end the file; they are no record.
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n' || bytes.back() == ' ' ||
                              bytes.back() == '\t' || bytes.back() == 0x1A))
        bytes.pop_back();
    FieldReader reader(std::move(bytes));
    DragTable loaded;
    std::vector<std::string> fields;
    while (!reader.atEnd()) {
        if (!reader.readRecord(2, fields))
            return "ends in the middle of a record.";
        const double m = leadingNumber(fields[0]);
        const double g = leadingNumber(fields[1]);
        if (!std::isfinite(m) || !std::isfinite(g))
            return "holds a number too large to use (record " +
                   std::to_string(loaded.m_mach.size()) + ").";
        if (g < 0)
            return "holds a negative drag value (record " + std::to_string(loaded.m_mach.size()) +
                   "): drag always slows the bullet.";
        if (loaded.m_mach.size() > capacity)
            return "holds more than " + std::to_string(capacity) + " records.";
        loaded.m_mach.push_back(m);
        loaded.m_drag.push_back(g);
    }
    if (loaded.m_mach.size() < 2)
        return "holds no records.";
    loaded.m_mach.back() = std::fabs(loaded.m_mach.back());
    for (std::size_t i = 1; i < loaded.m_mach.size(); ++i) {
        // The first record may share the origin's Mach number 0; after it they must rise.
        const bool inOrder =
            i == 1 ? loaded.m_mach[i] >= 0 : loaded.m_mach[i] > loaded.m_mach[i - 1];
        if (!inOrder)
            return "is out of order: its Mach numbers must increase (record " + std::to_string(i) +
                   ").";
    }
    table = std::move(loaded);
    return {};
}

} // namespace fendrel
