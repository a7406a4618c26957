// The exchange sort of signed 32-bit integers that puts the pair spreads of a group in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace fendrel {

// Sorts values[0..lastIndex] in place by repeated adjacent exchanges; each pass stops at the
// place of the previous pass's last exchange. lastIndex defaults to the last element; an index
// beyond the end is taken as the last element. Descending order exchanges equal neighbours
// too, which changes nothing in the values but is how the passes shrink.
void sortLongs(std::vector<std::int32_t>& values, std::optional<std::size_t> lastIndex = {},
               bool descending = false);

} // namespace fendrel
