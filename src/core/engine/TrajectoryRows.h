// The trajectory row arrays of the main window: range, height and velocity of each row of the
// last table, which the terminal ballistics step reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace fendrel {

struct TrajectoryRows {
    static constexpr std::size_t kPositions = 1002;  // positions 0..1001; rows start at 1
    std::array<std::int16_t, kPositions> range{};    // range units
    std::array<double, kPositions> height{};         // inches
    std::array<std::int16_t, kPositions> velocity{}; // ft/s
    std::size_t count = 0;                           // rows 1..count belong to the last table
};

} // namespace fendrel
