// Chronograph and e-target exports from arbitrary bytes: every layout is read or refused with
// the line at fault, every speed and position read is one the history can store, and every
// series becomes entries the history accepts.
#include "FuzzSupport.h"

#include "core/history/ChronographCsv.h"
#include "core/history/ChronographExport.h"
#include "core/history/HistoryEntry.h"
#include "core/history/SeriesImport.h"
#include "core/history/VelocityStatistics.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

bool isRefusalOfAFile(const std::string& refusal) {
    return refusal.rfind("Line ", 0) == 0 || refusal == "The file holds no shots." ||
           refusal.rfind("The file is in UTF-16", 0) == 0 ||
           refusal.rfind("The file holds no shots: every shot", 0) == 0 ||
           refusal.rfind("The file holds more than", 0) == 0;
}

void checkSpeeds(const std::vector<double>& shots) {
    FUZZ_CHECK(!shots.empty() && shots.size() <= fendrel::kMaximumShots);
    for (double v : shots)
        FUZZ_CHECK(std::isfinite(v) && v > 0 && v <= fendrel::kMaximumSpeedFps);
    const auto s = fendrel::velocityStatistics(shots);
    FUZZ_CHECK(std::isfinite(s.sdFps) && s.sdFps >= 0 && s.sdFps <= s.esFps);
    FUZZ_CHECK(s.minFps <= s.meanFps && s.meanFps <= s.maxFps);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto read = fendrel::readChronographCsv(bytes);
    if (!read) {
        FUZZ_CHECK(read.value.empty());
        FUZZ_CHECK(isRefusalOfAFile(read.refusal));
    } else {
        checkSpeeds(read.value);
    }
    (void)fendrel::readTypedShots(bytes);

    const auto file = fendrel::readChronographExport(bytes);
    if (!file) {
        FUZZ_CHECK(isRefusalOfAFile(file.refusal));
        return 0;
    }
    FUZZ_CHECK(!file.value.series.empty() && file.value.series.size() <= fendrel::kMaximumSeries);
    fendrel::SeriesImportOptions options;
    options.fallbackDate = "2024-05-10";
    for (const auto& series : file.value.series) {
        checkSpeeds(series.speedsFps());
        FUZZ_CHECK(series.date.empty() || fendrel::isIsoDate(series.date));
        for (const auto& shot : series.shots) {
            FUZZ_CHECK(shot.time.empty() || fendrel::isClockTime(shot.time));
            if (shot.position)
                FUZZ_CHECK(std::isfinite(shot.position->xIn) && std::isfinite(shot.position->yIn));
        }
        if (series.distanceYd)
            FUZZ_CHECK(*series.distanceYd > 0 && *series.distanceYd <= fendrel::kMaximumDistanceYd);
        // With a date to fall back on, every series read can be stored.
        const auto entries = fendrel::entriesOf(series, options);
        FUZZ_CHECK(entries && fendrel::checkString(entries.value.string).empty());
        if (entries.value.group)
            FUZZ_CHECK(fendrel::checkGroup(*entries.value.group).empty());
    }
    return 0;
}
