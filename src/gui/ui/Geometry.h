// Window geometry given in twips (1/1440 inch), placed in pixels.
#pragma once

#include <QRect>

class QWidget;

namespace fendrel {

// Pixels for a length in twips. The program's layouts were drawn for a small 8-point font at
// 96 dots per inch; our default font is larger, so every layout is scaled up by the same factor
// to keep captions from clipping.
int twips(int value);
QRect twipsRect(int left, int top, int width, int height);
// Twips for a length in pixels (for layouts computed from a window's size).
int toTwips(int pixels);

// Lets pending events run (repaints, timers, input) in the middle of a long command.
void letEventsRun();

} // namespace fendrel
