// Chronograph exports from arbitrary bytes: a string is read or refused with the line at fault,
// and every speed read is one the history can store.
#include "FuzzSupport.h"

#include "core/history/ChronographCsv.h"
#include "core/history/HistoryEntry.h"
#include "core/history/VelocityStatistics.h"

#include <cmath>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto read = fendrel::readChronographCsv(bytes);
    if (!read) {
        FUZZ_CHECK(read.value.empty());
        FUZZ_CHECK(read.refusal.rfind("Line ", 0) == 0 ||
                   read.refusal == "The file holds no shots." ||
                   read.refusal.rfind("The file is in UTF-16", 0) == 0);
        return 0;
    }
    FUZZ_CHECK(!read.value.empty() && read.value.size() <= fendrel::kMaximumShots);
    for (double v : read.value)
        FUZZ_CHECK(std::isfinite(v) && v > 0 && v <= fendrel::kMaximumSpeedFps);
    const auto s = fendrel::velocityStatistics(read.value);
    FUZZ_CHECK(std::isfinite(s.sdFps) && s.sdFps >= 0 && s.sdFps <= s.esFps);
    FUZZ_CHECK(s.minFps <= s.meanFps && s.meanFps <= s.maxFps);
    (void)fendrel::readTypedShots(bytes);
    return 0;
}
