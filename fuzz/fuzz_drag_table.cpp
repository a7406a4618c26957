// Drag tables and parameters.ini from arbitrary bytes: a table that loads keeps its Mach
// numbers in order within its capacity, and a lookup gives the same drag value whatever
// position its search starts from.
#include "FuzzSupport.h"

#include "core/engine/DragTable.h"
#include "core/engine/Parameters.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

void checkTable(const fendrel::DragTable& table, std::size_t capacity) {
    FUZZ_CHECK(table.positions() >= 2);
    FUZZ_CHECK(table.positions() <= capacity + 1);
    FUZZ_CHECK(table.mach(1) == 0 && table.drag(1) == 0);
    FUZZ_CHECK(table.mach(2) >= 0);
    for (std::size_t p = 3; p <= table.positions(); ++p)
        FUZZ_CHECK(table.mach(p) > table.mach(p - 1));
    FUZZ_CHECK(table.lastMach() == table.mach(table.positions()));
}

// Mach numbers at and between the table's own, and beyond its end, in a flight's order
// (falling speed) and then rising again, each searched from the last position found.
void checkLookups(const fendrel::DragTable& table) {
    std::size_t hint = 0;
    auto probe = [&](double m) {
        double carried = 0, fresh = 0;
        std::size_t start = 0;
        const bool a = table.lookup(m, hint, carried);
        const bool b = table.lookup(m, start, fresh);
        FUZZ_CHECK(a == b);
        FUZZ_CHECK(hint == start || std::isnan(m));
        if (a)
            FUZZ_CHECK(carried == fresh || (std::isnan(carried) && std::isnan(fresh)));
        if (m >= table.lastMach())
            FUZZ_CHECK(!a);
    };
    const std::size_t n = table.positions();
    for (std::size_t p = n; p >= 1; --p) {
        probe(table.mach(p));
        if (p > 1)
            probe((table.mach(p) + table.mach(p - 1)) / 2);
    }
    for (std::size_t p = 1; p <= n; p += 7)
        probe(table.mach(p));
    probe(table.lastMach() * 2 + 1);
    probe(std::nan(""));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    for (std::size_t capacity :
         {fendrel::DragTable::kRunCapacity, fendrel::DragTable::kSimulatorCapacity}) {
        fendrel::DragTable table;
        const std::string reason = fendrel::DragTable::parse(bytes, capacity, table);
        if (!reason.empty()) {
            // A refused table leaves the one it was given as it was: the origin alone.
            FUZZ_CHECK(table.positions() == 1);
            continue;
        }
        checkTable(table, capacity);
        checkLookups(table);
    }

    // The run reads the table through the file that parameters.ini names.
    fendrel::DragTable fromFile;
    const auto path = fuzz::writeScratch("DragFuzz.txt", bytes);
    const std::string loadReason =
        fendrel::DragTable::load(path, fendrel::DragTable::kRunCapacity, fromFile);
    fendrel::DragTable parsed;
    const std::string parseReason =
        fendrel::DragTable::parse(bytes, fendrel::DragTable::kRunCapacity, parsed);
    FUZZ_CHECK(loadReason.empty() == parseReason.empty());
    FUZZ_CHECK(fromFile.positions() == parsed.positions());

    // The same bytes as parameters.ini.
    fuzz::writeScratch("parameters.ini", bytes);
    fendrel::Parameters fromFolder;
    const std::string paramsReason = fendrel::loadParameters(fuzz::scratchFolder(), fromFolder);
    fendrel::Parameters params;
    FUZZ_CHECK(fendrel::parseParameters(bytes, params) == paramsReason);
    if (paramsReason.empty()) {
        FUZZ_CHECK(std::isfinite(params.sightHeight) && std::isfinite(params.departureAngle) &&
                   std::isfinite(params.airDensity) && std::isfinite(params.temperature));
        FUZZ_CHECK(params.dragFunction == fromFolder.dragFunction);
    }
    return 0;
}
