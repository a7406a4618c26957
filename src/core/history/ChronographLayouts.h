// The readers of the layouts readChronographExport recognises, one file each. Every reader is
// given the file's lines (ChronographText.h) once its own test says the layout is its.
#pragma once

#include "ChronographExport.h"
#include "ChronographText.h"

#include <string>
#include <vector>

namespace fendrel::exportread {

using Lines = std::vector<TextLine>;
using Read = Result<ChronographExport>;

// The non-blank line after `index`, or lines.size().
size_t nextFilled(const Lines& lines, size_t index);

// One to nine digits and nothing else (a shot or series number), and their value.
bool allDigits(std::string_view text);
int digitsNumber(std::string_view digits);

// Adds a shot to a series; the reason when the series is full.
std::string addShot(ChronographSeries& series, ChronographShot shot);
std::string addSpeed(ChronographSeries& series, double fps);

// A text as the file writes a name or note: blanks around it dropped, and the quotes of a text
// quoted whole removed (two quotes inside are one).
std::string unquoted(std::string_view text);

// The rest of a line after its first field: a note written after its label, without the
// empty fields that pad the row.
std::string afterFirstField(std::string_view line, char separator);

bool isGarminXero(const Lines& lines);
Read readGarminXero(const Lines& lines);

bool isLabRadar(const Lines& lines);
Read readLabRadar(const Lines& lines);

bool isMagnetoSpeedLog(const Lines& lines);
Read readMagnetoSpeedLog(const Lines& lines);
bool isMagnetoSpeedXfr(const Lines& lines);
Read readMagnetoSpeedXfr(const Lines& lines);

bool isShotMarker(const Lines& lines);
Read readShotMarker(const Lines& lines);

bool isProChrono(const Lines& lines);
Read readProChrono(const Lines& lines);

// The plain export of readChronographCsv, with the title line it skipped (when it had one).
Result<std::vector<double>> readPlainExport(std::string_view bytes, std::string* title);

} // namespace fendrel::exportread
