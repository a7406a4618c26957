#pragma once

namespace fendrel {
constexpr int kVersionMajor = 6;
constexpr int kVersionMinor = 0;
constexpr const char* kVersionText = "6.0";
} // namespace fendrel
