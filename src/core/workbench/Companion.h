// The companion calculator that lies beside the program, and the message shown when it cannot
// be started.
#pragma once

#include <string>

namespace fendrel {

inline constexpr const char* kCompanionFileName = "orrin.exe";
inline constexpr const char* kCompanionDownloadAddress = "https://fendrel.example.org/orrin/";

// Two lines: what is missing, then where to get it.
std::string companionMissingMessage();

} // namespace fendrel
