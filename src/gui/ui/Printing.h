// Print jobs: one job per copy, each on its own printer object, so that a printer that ignores
// copy counts still gives the user every copy.
#pragma once

#include "Prompts.h"

#include <functional>
#include <memory>

class QPixmap;
class QPrinter;

namespace fendrel {

// A printer set up for job `jobIndex` (0-based) of a print run. When the setup prints to a file,
// job 0 goes to that file and later jobs to "<name>-<n>.pdf" beside it.
std::unique_ptr<QPrinter> makePrinter(const PrintSetup& setup, int jobIndex);

// Runs `paint` once per copy, each time on a fresh printer (one print job per copy).
// Returns the number of jobs printed.
int printCopies(const PrintSetup& setup, const std::function<void(QPrinter&)>& paint);

// Prints a picture of a window, one job per copy: at its size on screen, shrunk only when it
// does not fit the page. `logicalDpi` is the screen's, to size the picture on paper. False when
// the printer could not be started.
bool printImage(const PrintSetup& setup, const QPixmap& image, int logicalDpi);

} // namespace fendrel
