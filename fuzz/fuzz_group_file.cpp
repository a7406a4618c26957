// Group files from arbitrary bytes: the reader stops where the file stops fitting, a group that
// reads through is measured as the window measures it, and a written group reads back.
#include "FuzzSupport.h"

#include "core/groups/GroupFile.h"
#include "core/groups/GroupStatistics.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

// Measuring sorts N*N spreads with an exchange sort; a few dozen rounds are plenty to reach
// every branch, and larger groups only slow the run.
constexpr int kMeasuredRounds = 24;

void measure(const fendrel::GroupFileRead& read) {
    fendrel::GroupEntry entry{read.caliber, std::to_string(read.rounds), read.cells};
    const auto evaluation = fendrel::evaluateGroup(entry);
    if (!evaluation.refusal.empty())
        return;
    const auto& m = evaluation.measurement;
    FUZZ_CHECK(m.radii.size() == static_cast<std::size_t>(read.rounds));
    FUZZ_CHECK(m.spreads.size() == static_cast<std::size_t>(read.rounds));
    // The median comes from spreads rounded to 0.0001 inch.
    FUZZ_CHECK(m.medianSpread <= m.extremeSpread + 0.0001);
    FUZZ_CHECK(!evaluation.results.empty());

    // Saved and opened again, the group reads through with the same coordinates. The caliber is
    // written as typed, so only a text that one field can hold comes back as a field.
    const std::string& c = read.caliber;
    if (c.find_first_of("\",\r\n") != std::string::npos ||
        (!c.empty() && (c.front() == ' ' || c.front() == '\t' || c.back() == ' ' || c.back() == '\t')))
        return;
    fendrel::GroupFileData saved;
    saved.title = read.title;
    saved.caliber = read.caliber;
    saved.rounds = std::to_string(read.rounds);
    for (const auto& cell : read.cells)
        saved.shots.push_back({*fendrel::numberText(cell.first), *fendrel::numberText(cell.second)});
    saved.results = evaluation.results;
    saved.displayed = true;
    const auto back = fendrel::readGroupFile(fendrel::groupFileBytes(saved));
    FUZZ_CHECK(back.complete);
    FUZZ_CHECK(back.rounds == read.rounds);
    FUZZ_CHECK(back.displayed());
    for (std::size_t i = 0; i < back.cells.size(); ++i) {
        const auto x = fendrel::numberText(back.cells[i].first);
        const auto y = fendrel::numberText(back.cells[i].second);
        FUZZ_CHECK(x && y);
        // Coordinates are written with 15 significant digits.
        const auto& shot = saved.shots[i];
        FUZZ_CHECK(std::fabs(*x - shot.x) <= 1e-14 * std::fabs(shot.x));
        FUZZ_CHECK(std::fabs(*y - shot.y) <= 1e-14 * std::fabs(shot.y));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const fendrel::GroupFileRead read = fendrel::readGroupFile(bytes);

    FUZZ_CHECK(read.hasTitle == !bytes.empty());
    FUZZ_CHECK(read.cells.size() <= static_cast<std::size_t>(read.rounds));
    if (read.complete) {
        FUZZ_CHECK(read.rounds >= fendrel::kMinimumRounds);
        FUZZ_CHECK(read.rounds <= fendrel::kMaximumRounds);
        FUZZ_CHECK(read.cells.size() == static_cast<std::size_t>(read.rounds));
    }
    (void)read.displayed();

    const std::string block = fendrel::printedResults(bytes);
    FUZZ_CHECK(block.size() <= bytes.size() + 2 * 6);

    if (read.complete && read.rounds <= kMeasuredRounds)
        measure(read);
    return 0;
}
