// The DOPE card: a compact card of chosen rows to keep on the rifle or in the log book, with
// the elevation to dial in the click's unit and in clicks, the windage for each wind bracket,
// and the load, zero, air and date in its header. Laid out here once as a PageDrawing, which
// the command line writes as a PDF and the window paints.
#pragma once

#include "RangeCardInput.h"
#include "core/common/PageDrawing.h"
#include "core/common/Result.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fendrel {

enum class DopeCardSize {
    Card,     // 3.5 x 2 in, landscape
    HalfPage, // 5.5 x 8.5 in
    Page      // US Letter, 8.5 x 11 in
};

struct DopeCardInput {
    // The load and the day. Its wind brackets are the card's wind columns (none: no wind
    // columns); its step and maximum do not enter.
    RangeCardInput card;
    double from = 100, to = 1000, every = 100; // the rows, yd (m); `to` closes the card
    DopeCardSize size = DopeCardSize::Card;
    int columns = 1; // 1 or 2: the rows in two blocks side by side
    std::string load; // the load's name, UTF-8; empty: "DOPE card"
    std::string date; // as the caller writes it; empty: none
};

// The most rows a size holds: 12 on the card (24 in two columns), 30 on the half page and 60
// on the page whatever the columns.
std::size_t dopeCardRowLimit(DopeCardSize size, int columns);

// The page size in points, width first.
double dopeCardWidth(DopeCardSize size);
double dopeCardHeight(DopeCardSize size);

struct DopeCardLayout {
    PageDrawing page;
    std::vector<double> ranges; // the rows, in the input's units
};

// The card laid out: every text measured with the Helvetica widths and shrunk to fit its cell.
// Refused when the card's input is, for a step not above 0, rows beyond 5000 yd (4572 m), more
// rows than the size holds, and text that would have to be smaller than 4 points to fit.
Result<DopeCardLayout> dopeCardLayout(const DopeCardInput& input);

} // namespace fendrel
