// Writing and reading group files.
#include "GroupFile.h"

#include "core/common/Numbers.h"
#include "core/common/TextFile.h"

#include <cmath>

namespace fendrel {

std::string groupFileBytes(const GroupFileData& data) {
    std::string out = plainLine(data.title);
    out += plainLine(data.caliber);
    out += plainLine(data.rounds);
    for (const auto& shot : data.shots)
        out += plainLine(generalNumber(shot.x) + "," + generalNumber(shot.y));
    out += plainLine(data.results);
    out += plainLine(printedNumber(data.displayed ? 1 : 0));
    return out;
}

bool GroupFileRead::displayed() const {
    return leadingNumber(lastLine) == 1;
}

GroupFileRead readGroupFile(const std::string& bytes) {
    GroupFileRead r;
    FieldReader reader(bytes);
    if (reader.atEnd())
        return r;
    r.title = reader.readLine();
    r.hasTitle = true;
    if (reader.atEnd())
        return r;
    r.caliber = reader.readField();
    r.hasCaliber = true;
    if (reader.atEnd())
        return r;
    // The number of rounds is converted to a whole number; it has to be one a group can hold.
    const auto value = numberText(reader.readField());
    if (!value || std::nearbyint(*value) < kMinimumRounds ||
        std::nearbyint(*value) > kMaximumRounds)
        return r;
    r.rounds = static_cast<int>(toInt16(*value));
    for (int i = 0; i < r.rounds; ++i) {
        if (reader.atEnd())
            return r;
        std::string x = reader.readField();
        if (reader.atEnd())
            return r;
        std::string y = reader.readField();
        r.cells.emplace_back(std::move(x), std::move(y));
    }
    while (!reader.atEnd())
        r.lastLine = reader.readLine();
    r.complete = true;
    return r;
}

std::string printedResults(const std::string& bytes) {
    std::vector<std::string> lines;
    FieldReader reader(bytes);
    while (!reader.atEnd())
        lines.push_back(reader.readLine());
    const size_t count = lines.size();
    const size_t first = count > 7 ? count - 7 : 0; // 0-based index of line L-6
    std::string out;
    for (size_t i = first; i + 1 < count; ++i)
        out += plainLine(lines[i]);
    return out;
}

} // namespace fendrel
