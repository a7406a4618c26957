// The winds of the trajectory computation: whole miles per hour as the run settings hold
// them, turned into the whole feet per second that the integration uses. Shared by the
// calculation run and the range simulator.
#pragma once

#include "core/common/Numbers.h"

#include <cstdint>
#include <limits>

namespace fendrel {

// mph x 22 as a 16-bit product, over 15, rounded halves to even (10 mph -> 15 ft/s). False when
// the product leaves the 16-bit range, that is beyond 1489 mph either way.
inline bool windFeetPerSecond(std::int16_t mph, std::int16_t& feetPerSecond) {
    const int product = mph * 22;
    if (product < std::numeric_limits<std::int16_t>::min() ||
        product > std::numeric_limits<std::int16_t>::max())
        return false;
    feetPerSecond = toInt16(product / 15.0);
    return true;
}

} // namespace fendrel
