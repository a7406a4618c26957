// Today's date on this computer (its local time), written YYYY-MM-DD.
#pragma once

#include <ctime>
#include <string>

namespace fendrel {

inline std::string todayIso() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    return std::to_string(local.tm_year + 1900) + "-" + two(local.tm_mon + 1) + "-" +
           two(local.tm_mday);
}

} // namespace fendrel
