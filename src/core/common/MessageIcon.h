// The icon of a message the core asks a window to show.
#pragma once

namespace fendrel {

enum class MessageIcon { Error, Question, Exclamation, Information };

} // namespace fendrel
