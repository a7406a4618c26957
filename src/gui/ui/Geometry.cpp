// Twips to pixels.
#include "Geometry.h"

#include <QCoreApplication>
#include <cmath>

namespace fendrel {

namespace {
constexpr double kTwipsPerPixel = 12.0;
}

int twips(int value) { return static_cast<int>(std::lround(value / kTwipsPerPixel)); }

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

int toTwips(int pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

void letEventsRun() { QCoreApplication::processEvents(); }

} // namespace fendrel
