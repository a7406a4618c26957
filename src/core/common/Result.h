// The answer of every core operation that can be refused: done, with a value, or refused with
// the reason in words for the user (UTF-8, ready to show). Nothing in the core throws to its
// callers.
#pragma once

#include "MessageIcon.h"

#include <string>
#include <utility>

namespace fendrel {

struct Status {
    std::string refusal; // empty when the operation was done
    int code = 0;        // the system's error number behind a failed file operation, else 0
    // The message box a window shows the refusal in, where the program gives it one of its
    // own; empty: the window's usual title.
    std::string title;
    MessageIcon icon = MessageIcon::Exclamation;

    Status() = default;
    // A refusal in these words (none when empty).
    Status(std::string why, int errorNumber = 0) : refusal(std::move(why)), code(errorNumber) {}

    bool ok() const { return refusal.empty(); }
    explicit operator bool() const { return ok(); }

    static Status done() { return {}; }
    static Status refused(std::string message, int code = 0) {
        Status s;
        s.refusal = std::move(message);
        s.code = code;
        return s;
    }
    // A refusal shown in a message box of its own title and icon.
    static Status refused(std::string message, std::string title, MessageIcon icon) {
        Status s;
        s.refusal = std::move(message);
        s.title = std::move(title);
        s.icon = icon;
        return s;
    }
};

template <typename T> struct Result : Status {
    T value{};

    static Result refused(std::string message, int code = 0) {
        Result r;
        r.refusal = std::move(message);
        r.code = code;
        return r;
    }
    // The refusal of an operation this one rests on.
    static Result refused(const Status& why) {
        Result r;
        static_cast<Status&>(r) = why;
        return r;
    }
    static Result done(T v) {
        Result r;
        r.value = std::move(v);
        return r;
    }
};

} // namespace fendrel
