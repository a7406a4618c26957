#include "PointFile.h"

#include "core/common/Numbers.h"
#include "core/common/SafeFile.h"
#include "core/common/Strings.h"

namespace fendrel {

namespace {

constexpr std::size_t kPointFileLimit = 1 << 20;

struct ColumnRange {
    const char* name;
    const char* unit;
    double low, high;
    bool aboveLow; // the low end itself is refused
};

constexpr ColumnRange kCharge{"charge", "gr", 0, 1000, true};
constexpr ColumnRange kTemperature{"temperature", "F", -100, 200, false};
constexpr ColumnRange kVelocity{"velocity", "ft/s", 0, 20000, true};

std::string rangeRefusal(const ColumnRange& c, std::string_view text) {
    return "the " + std::string(c.name) + " " + std::string(text) + " is out of range (" +
           (c.aboveLow ? "above " : "from ") + generalNumber(c.low) +
           (c.aboveLow ? " up to " : " to ") + generalNumber(c.high) + " " + c.unit + ")";
}

} // namespace

Result<std::vector<DataPoint>> readPoints(std::string_view bytes, PointColumns columns) {
    using R = Result<std::vector<DataPoint>>;
    const ColumnRange& first = columns == PointColumns::ChargeVelocity ? kCharge : kTemperature;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    std::vector<DataPoint> points;
    bool anyLine = false;
    int number = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = trimmedView(line);
        if (line.empty())
            continue;
        const bool header = !anyLine;
        anyLine = true;
        const std::size_t comma = line.find(',');
        const std::string_view x = trimmedView(line.substr(0, comma));
        const std::string_view y = comma == std::string_view::npos
                                       ? std::string_view()
                                       : trimmedView(line.substr(comma + 1));
        const bool numbers = isDecimalNumber(x) && isDecimalNumber(y);
        if (header && !numbers)
            continue;
        const std::string at = "Line " + std::to_string(number) + ": ";
        if (comma == std::string_view::npos || y.find(',') != std::string_view::npos)
            return R::refused(at + "give two numbers separated by a comma, " + first.name +
                              " and velocity.");
        for (std::string_view field : {x, y})
            if (!isDecimalNumber(field))
                return R::refused(at + "'" + std::string(field) + "' is not a number.");
        const DataPoint p{leadingNumber(x), leadingNumber(y)};
        if (!(first.aboveLow ? p.x > first.low : p.x >= first.low) || !(p.x <= first.high))
            return R::refused(at + rangeRefusal(first, x) + ".");
        if (!(p.y > kVelocity.low && p.y <= kVelocity.high))
            return R::refused(at + rangeRefusal(kVelocity, y) + ".");
        points.push_back(p);
    }
    if (points.empty())
        return R::refused("The file holds no shots.");
    return R::done(std::move(points));
}

Result<std::vector<DataPoint>> readPointFile(const std::filesystem::path& file,
                                             PointColumns columns) {
    Status error;
    const auto bytes = readInputFile(file, kPointFileLimit, &error);
    if (!bytes)
        return Result<std::vector<DataPoint>>::refused("Cannot read '" + file.string() +
                                                       "': " + error.refusal + ".");
    return readPoints(*bytes, columns);
}

} // namespace fendrel
