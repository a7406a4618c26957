// The exchange sort of signed 32-bit integers.
#include "LongSorts.h"

namespace fendrel {

void sortLongs(std::vector<std::int32_t>& values, std::optional<std::size_t> lastIndex,
               bool descending) {
    if (values.empty())
        return;
    std::size_t n = values.size() - 1;
    if (lastIndex && *lastIndex < n)
        n = *lastIndex;
    const std::size_t first = 0;
    std::size_t lastSwap;
    do {
        // One pass of adjacent exchanges. The element being carried along stays in `carried`
        // and each place is written once; the choices are plain selections, so a group's
        // thousands of spreads sort without a mispredicted branch per comparison.
        lastSwap = 0;
        std::int32_t carried = values[first];
        for (std::size_t i = first; i < n; ++i) {
            const std::int32_t next = values[i + 1];
            const bool exchange = (carried > next) != descending;
            values[i] = exchange ? next : carried;
            carried = exchange ? carried : next;
            lastSwap = exchange ? i : lastSwap;
        }
        values[n] = carried;
        n = lastSwap;
    } while (lastSwap != 0);
}

} // namespace fendrel
