// Print jobs: one job per copy, each on its own printer object, so that a printer that ignores
// copy counts still gives the user every copy.
#pragma once

#include "Prompts.h"

#include <functional>
#include <string>

class QPixmap;
class QPrinter;

namespace fendrel {

// Runs `paint` once per copy, each time on a fresh printer (one print job per copy). When the
// setup prints to a file, job 0 goes to that file and later jobs to "<name>-<n>.pdf" beside it,
// each written whole through the safe writer. Returns why the run stopped; empty when every
// job was printed.
std::string printCopies(const PrintSetup& setup, const std::function<void(QPrinter&)>& paint);

// Prints a picture of a window, one job per copy: at its size on screen, shrunk only when it
// does not fit the page. `logicalDpi` is the screen's, to size the picture on paper. False when
// the printer could not be started or the file not written.
bool printImage(const PrintSetup& setup, const QPixmap& image, int logicalDpi);

} // namespace fendrel
