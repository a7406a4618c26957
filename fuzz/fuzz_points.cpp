// Ladder and temperature files from arbitrary bytes: the points are read or refused with the
// line at fault, and whatever the statistics make of them is a finite number or a refusal.
#include "FuzzSupport.h"

#include "core/stats/PointFile.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

bool finite(const fendrel::ConfidenceInterval& i) {
    return std::isfinite(i.low) && std::isfinite(i.high) && i.low <= i.high;
}

bool finite(const fendrel::LineFit& line) {
    return std::isfinite(line.slope) && std::isfinite(line.intercept) &&
           std::isfinite(line.meanY) && finite(line.slopeInterval);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fendrel;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (PointColumns columns : {PointColumns::ChargeVelocity, PointColumns::TemperatureVelocity}) {
        const auto read = readPoints(bytes, columns);
        if (!read) {
            FUZZ_CHECK(read.refusal.rfind("Line ", 0) == 0 ||
                       read.refusal == "The file holds no shots.");
            continue;
        }
        for (const DataPoint& p : read.value)
            FUZZ_CHECK(std::isfinite(p.x) && p.y > 0 && p.y <= 20000);
        const double confidence = size % 2 ? 0.999 : 0.5;
        if (columns == PointColumns::ChargeVelocity) {
            if (const auto ladder = fitLadder(read.value, confidence)) {
                FUZZ_CHECK(finite(ladder.value.line));
                for (const ChargeEstimate& c : ladder.value.charges) {
                    FUZZ_CHECK(std::isfinite(c.string.statistics.meanFps));
                    FUZZ_CHECK(!c.string.sdIntervalFps || finite(*c.string.sdIntervalFps));
                    FUZZ_CHECK(!c.string.meanIntervalFps || finite(*c.string.meanIntervalFps));
                }
                for (const FlatSpot& f : ladder.value.flatSpots)
                    FUZZ_CHECK(f.fromGr < f.toGr && finite(f.slopeInterval));
            }
        } else if (const auto t = temperatureSensitivity(read.value, confidence)) {
            FUZZ_CHECK(finite(t.value.line) && std::isfinite(t.value.percentPer15F) &&
                       finite(t.value.percentIntervalPer15F));
        }
    }
    return 0;
}
