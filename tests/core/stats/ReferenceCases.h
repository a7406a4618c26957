// The reference cases of tests/data/stats, written by tools/make_stats_reference.py from an
// independent implementation: cases apart by blank lines, each line a name and its numbers.
#pragma once

#include "TestFolder.h"
#include "core/common/Numbers.h"
#include "core/common/SafeFile.h"
#include "core/stats/Estimates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fendrel::test {

using ReferenceCase = std::map<std::string, std::vector<double>>;

inline std::vector<ReferenceCase> referenceCases(const std::string& file) {
    const auto bytes = readInputFile(fixture("stats/" + file));
    EXPECT_TRUE(bytes) << file;
    std::vector<ReferenceCase> cases(1);
    std::istringstream lines(bytes.value_or(""));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            if (!cases.back().empty())
                cases.emplace_back();
            continue;
        }
        std::istringstream words(line);
        std::string name, word;
        words >> name;
        auto& values = cases.back()[name];
        while (words >> word)
            values.push_back(leadingNumber(word));
    }
    if (cases.back().empty())
        cases.pop_back();
    EXPECT_GE(cases.size(), 30u) << file;
    return cases;
}

// Agreement to 1e-6 of the reference, or of `scale` for values near zero (interval ends).
inline ::testing::AssertionResult agrees(double actual, double expected, double scale = 0) {
    const double tolerance = 1e-6 * std::max(std::abs(expected), scale);
    if (std::isfinite(actual) && std::abs(actual - expected) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " differs from " << expected;
}

inline ::testing::AssertionResult agrees(const ConfidenceInterval& actual, double low,
                                         double high) {
    const double scale = high - low;
    if (auto r = agrees(actual.low, low, scale); !r)
        return r << " (low end)";
    return agrees(actual.high, high, scale) << " (high end)";
}

} // namespace fendrel::test
