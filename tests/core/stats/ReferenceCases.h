// The reference cases of tests/data/stats, written by tools/make_stats_reference.py from an
// independent implementation: cases apart by blank lines, each line a name and its numbers.
#pragma once

#include "TestFolder.h"
#include "core/common/Numbers.h"
#include "core/common/SafeFile.h"
#include "core/stats/Estimates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

namespace fendrel::test {

using ReferenceCase = std::map<std::string, std::vector<double>>;

inline std::vector<ReferenceCase> referenceCases(const std::string& file) {
    std::istringstream lines(readInputFile(fixture("stats/" + file)).value_or(""));
    std::vector<ReferenceCase> cases(1);
    for (std::string line, name, word; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            if (!cases.back().empty())
                cases.emplace_back();
            continue;
        }
        std::istringstream words(line);
        words >> name;
        for (auto& values = cases.back()[name]; words >> word;)
            values.push_back(leadingNumber(word));
    }
    if (cases.back().empty())
        cases.pop_back();
    EXPECT_GE(cases.size(), 30u) << file;
    return cases;
}

// Agreement to 1e-6 of the reference, or of `scale` for values near zero (interval ends).
inline ::testing::AssertionResult agrees(double actual, double expected, double scale = 0) {
    if (std::abs(actual - expected) <= 1e-6 * std::max(std::abs(expected), scale))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " differs from " << expected;
}

inline ::testing::AssertionResult agrees(const ConfidenceInterval& i,
                                         const std::vector<double>& ends, std::size_t at = 0) {
    const double scale = ends.at(at + 1) - ends.at(at);
    if (auto r = agrees(i.low, ends[at], scale); !r)
        return r << " (low end)";
    return agrees(i.high, ends[at + 1], scale) << " (high end)";
}

} // namespace fendrel::test
