// The answer of every load history operation: a value, or a message for the user saying why
// the operation was refused. Nothing in the history throws to its callers.
#pragma once

#include <string>
#include <utility>

namespace fendrel {

struct HistoryStatus {
    std::string refusal; // empty when the operation was done

    bool ok() const { return refusal.empty(); }
    explicit operator bool() const { return ok(); }
};

template <typename T> struct HistoryResult : HistoryStatus {
    T value{};

    static HistoryResult refused(std::string message) {
        HistoryResult r;
        r.refusal = std::move(message);
        return r;
    }
    static HistoryResult done(T v) {
        HistoryResult r;
        r.value = std::move(v);
        return r;
    }
};

} // namespace fendrel
