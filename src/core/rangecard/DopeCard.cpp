#include "DopeCard.h"

#include "MetricUnits.h"
#include "MoistAir.h"
#include "RangeCard.h"
#include "RangeCardColumns.h"
#include "core/common/FontMetrics.h"
#include "core/common/Numbers.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace fendrel {

namespace {

// Text smaller than this cannot be read off a card at arm's length.
constexpr double kSmallestText = 4;

struct DopeStyle {
    double width, height; // points
    double margin, gap;   // around the page, between two blocks
    double title, header, table; // the largest text sizes
    std::size_t rows;
};

DopeStyle dopeStyle(DopeCardSize size) {
    switch (size) {
    case DopeCardSize::Card:
        return {252, 144, 8, 6, 7, 5.5, 6.5, 12};
    case DopeCardSize::HalfPage:
        return {396, 612, 27, 12, 12, 8, 9, 30};
    case DopeCardSize::Page:
        break;
    }
    return {612, 792, 36, 18, 14, 9, 10, 60};
}

// The size at which `text` fits `room` points: `size`, or smaller to a tenth of a point; none
// below kSmallestText.
std::optional<double> fittedSize(const std::string& text, double size, bool bold, double room) {
    const double width = textWidth(text, size, bold);
    if (width <= room)
        return size;
    const double smaller = std::floor(size * room / width * 10) / 10;
    if (smaller < kSmallestText)
        return std::nullopt;
    return smaller;
}

std::string rangeText(double range) {
    return generalNumber(std::round(range * 10) / 10);
}

// The load and the day in two lines: the bullet and the zero, then the air and the wind's
// side.
std::pair<std::string, std::string> headerLines(const DopeCardInput& in,
                                                 const RangeCardResult& summary) {
    const RangeCardInput& c = in.card;
    const bool m = c.metric;
    const std::string dot = " \xC2\xB7 "; // a middle dot between the items
    std::string bc;
    for (const BcBand& band : c.bcBands)
        bc += (bc.empty() ? "" : "/") + generalNumber(band.ballisticCoefficient);
    if (c.bcBands.empty())
        bc = generalNumber(c.ballisticCoefficient);
    const char* drag = c.dragModel == DragModel::G1   ? "G1 "
                       : c.dragModel == DragModel::G7 ? "G7 "
                                                      : "";
    std::string first = std::string(drag) + "BC " + bc + dot +
                        roundedText(summary.muzzleVelocity, "0") + (m ? " m/s" : " ft/s") + dot +
                        "zero " + generalNumber(c.zeroRange) + (m ? " m" : " yd") + dot +
                        "sight " + generalNumber(c.sightHeight) + (m ? " cm" : " in") + dot +
                        "click " + generalNumber(c.click) +
                        (c.clickUnit == ClickUnit::Mil ? " mil" : " MOA");
    const RangeCardInput imperial = c.imperial();
    const MoistAir air(imperial.pressure, imperial.temperature, imperial.humidity,
                       imperial.altitude);
    std::string second =
        m ? roundedText(air.pressureInHg() * metric::kHpaPerInHg, "0") + " hPa" + dot +
                roundedText((air.temperatureF() - 32) / 1.8, "0") + " \xC2\xB0" "C"
          : roundedText(air.pressureInHg(), "0.00") + " inHg" + dot +
                roundedText(air.temperatureF(), "0") + " \xC2\xB0" "F";
    second += dot + generalNumber(c.humidity) + " % RH" + dot + "alt " +
              generalNumber(c.altitude) + (m ? " m" : " ft");
    if (!c.windBrackets.empty())
        second += dot + "wind from the right: dial right";
    return {first, second};
}

struct DopeCell {
    std::string text;
    bool bold = false;
    TextAlign align = TextAlign::Right;
};

} // namespace

std::size_t dopeCardRowLimit(DopeCardSize size, int columns) {
    const std::size_t rows = dopeStyle(size).rows;
    return size == DopeCardSize::Card && columns == 2 ? 2 * rows : rows;
}

double dopeCardWidth(DopeCardSize size) {
    return dopeStyle(size).width;
}

double dopeCardHeight(DopeCardSize size) {
    return dopeStyle(size).height;
}

Result<DopeCardLayout> dopeCardLayout(const DopeCardInput& in) {
    using Answer = Result<DopeCardLayout>;
    const bool m = in.card.metric;
    const double farthest = m ? 4572 : 5000;
    const std::string unit = m ? " m" : " yd";
    if (in.columns != 1 && in.columns != 2)
        return Answer::refused("A DOPE card has one or two columns.");
    if (!(in.every > 0))
        return Answer::refused("The step between the rows must be above 0.");
    if (!(in.from >= 0 && in.to >= in.from && in.to <= farthest))
        return Answer::refused("The rows must run from 0 or more to at most " +
                               generalNumber(farthest) + unit + ", the first not past the last.");
    const std::size_t limit = dopeCardRowLimit(in.size, in.columns);
    const double steps = std::floor((in.to - in.from) / in.every * (1 + 1e-12));
    const bool closing = in.from + steps * in.every < in.to * (1 - 1e-12);
    if (steps + 1 + (closing ? 1 : 0) > static_cast<double>(limit))
        return Answer::refused(
            "The " + std::string(in.size == DopeCardSize::Card       ? "card"
                                 : in.size == DopeCardSize::HalfPage ? "half page"
                                                                     : "page") +
            " holds at most " + std::to_string(limit) + " rows" +
            (in.size == DopeCardSize::Card && in.columns == 1 ? " (24 in two columns)" : "") +
            ": choose a larger step or a larger size.");
    DopeCardLayout layout;
    for (double k = 0; k <= steps; ++k)
        layout.ranges.push_back(std::round((in.from + k * in.every) * 1e9) / 1e9);
    if (closing)
        layout.ranges.push_back(in.to);

    RangeCard card;
    std::vector<RangeCardRow> rows;
    std::string refusal = card.prepare(in.card);
    if (refusal.empty())
        refusal = card.rows(layout.ranges, rows);
    if (!refusal.empty())
        return Answer::refused(refusal);

    const DopeStyle style = dopeStyle(in.size);
    PageDrawing& page = layout.page;
    page.width = style.width;
    page.height = style.height;
    const double inner = style.width - 2 * style.margin;
    auto refuseText = [&](const std::string& what) {
        return Answer::refused(what + " does not fit the " +
                               (in.size == DopeCardSize::Card ? "card" : "page") +
                               " in letters of 4 points or more: choose a larger size" +
                               (in.columns == 2 ? " or one column." : "."));
    };

    // The header: the load (bold) with the date at the right, then two lines of the load and
    // the day, each shrunk to the width when it must.
    const std::string title = in.load.empty() ? std::string("DOPE card") : in.load;
    const double dateWidth = in.date.empty() ? 0 : textWidth(in.date, style.header, false);
    const std::optional<double> titleSize =
        fittedSize(title, style.title, true, inner - dateWidth - (in.date.empty() ? 0 : 6));
    if (!titleSize)
        return refuseText("The load's name");
    double y = style.margin + style.title * 0.75;
    page.texts.push_back({style.margin, y, *titleSize, true, TextAlign::Left, title});
    if (!in.date.empty())
        page.texts.push_back({style.width - style.margin, y, style.header, false,
                              TextAlign::Right, in.date});
    const auto [first, second] = headerLines(in, card.summary());
    for (const std::string& line : {first, second}) {
        const std::optional<double> size = fittedSize(line, style.header, false, inner);
        if (!size)
            return refuseText("The header");
        y += style.header * 1.3;
        page.texts.push_back({style.margin, y, *size, false, TextAlign::Left, line});
    }
    const double top = y + style.header * 0.6;

    // The table's columns: range, elevation and clicks, then one for each wind bracket, in
    // blocks side by side.
    const bool mil = in.card.clickUnit == ClickUnit::Mil;
    const double tenths = in.card.click * 10;
    const char* pattern = std::abs(tenths - std::round(tenths)) < 1e-9 ? "0.0" : "0.00";
    std::vector<double> weights = {1, 1.15, 0.95};
    std::vector<DopeCell> units = {{m ? "m" : "yd", true, TextAlign::Center},
                               {mil ? "mil" : "MOA", true, TextAlign::Center},
                               {"clicks", true, TextAlign::Center}};
    for (const double speed : in.card.windBrackets) {
        weights.push_back(1);
        units.push_back({generalNumber(speed) + (m ? " m/s" : " mph"), true, TextAlign::Center});
    }
    std::vector<std::vector<DopeCell>> body;
    for (const RangeCardRow& r : rows) {
        const std::optional<double> elevation = mil ? r.elevationMil : r.elevationMoa;
        std::vector<DopeCell> cells = {
            {rangeText(r.range)},
            {elevation ? roundedText(*elevation, pattern) : "-"},
            {r.elevationClicks ? roundedText(*r.elevationClicks, "0") : "-"}};
        for (const BracketWindage& w : r.brackets)
            cells.push_back({w.moa ? roundedText(mil ? *w.mil : *w.moa, pattern) : "-"});
        body.push_back(std::move(cells));
    }
    const std::size_t perBlock = (body.size() + in.columns - 1) / in.columns;
    const double blockWidth = (inner - style.gap * (in.columns - 1)) / in.columns;
    const double rowHeight =
        std::min(style.table * 1.6, (style.height - style.margin - top) / (perBlock + 2));
    double weightSum = 0;
    for (const double w : weights)
        weightSum += w;
    std::vector<double> left = {0}; // within a block
    for (const double w : weights)
        left.push_back(left.back() + blockWidth * w / weightSum);
    const double pad = std::max(1.5, rowHeight * 0.2);

    // One text size for the whole table: the largest at which every cell fits.
    struct Span {
        std::string text;
        std::size_t first, last; // columns
    };
    std::vector<Span> groups = {{"Range", 0, 0}, {"Elevation", 1, 2}};
    if (!in.card.windBrackets.empty())
        groups.push_back({"Wind", 3, weights.size() - 1});
    double size = std::min(style.table, rowHeight / 1.3);
    for (const Span& g : groups)
        if (const auto s = fittedSize(g.text, size, true, left[g.last + 1] - left[g.first] - 2 * pad))
            size = *s;
        else
            return refuseText("The table's headings");
    for (std::size_t c = 0; c < weights.size(); ++c) {
        const double room = left[c + 1] - left[c] - 2 * pad;
        std::optional<double> s = fittedSize(units[c].text, size, true, room);
        for (const std::vector<DopeCell>& row : body)
            if (s)
                s = fittedSize(row[c].text, *s, false, room);
        if (!s)
            return refuseText("The table");
        size = *s;
    }

    const double baseline = rowHeight / 2 + size * 0.36; // the digits' middle on the row's
    for (int b = 0; b < in.columns; ++b) {
        const double x0 = style.margin + b * (blockWidth + style.gap);
        const std::size_t begin = b * perBlock, end = std::min(body.size(), begin + perBlock);
        if (begin >= end)
            break;
        const double bottom = top + rowHeight * (2 + (end - begin));
        for (std::size_t i = begin; i < end; ++i)
            if ((i - begin) % 2 == 1)
                page.boxes.push_back({x0, top + rowHeight * (2 + (i - begin)), blockWidth,
                                      rowHeight, 0.88});
        for (const Span& g : groups)
            page.texts.push_back({x0 + (left[g.first] + left[g.last + 1]) / 2, top + baseline,
                                  size, true, TextAlign::Center, g.text});
        for (std::size_t c = 0; c < units.size(); ++c)
            page.texts.push_back({x0 + (left[c] + left[c + 1]) / 2, top + rowHeight + baseline,
                                  size, true, TextAlign::Center, units[c].text});
        for (std::size_t i = begin; i < end; ++i)
            for (std::size_t c = 0; c < body[i].size(); ++c)
                page.texts.push_back({x0 + left[c + 1] - pad,
                                      top + rowHeight * (2 + (i - begin)) + baseline, size, false,
                                      TextAlign::Right, body[i][c].text});
        // The frame, the rule under the headings, and the lines between the columns: full
        // height between the groups, below the group headings within one.
        const double right = x0 + blockWidth;
        page.lines.push_back({x0, top, right, top, 0.75});
        page.lines.push_back({x0, bottom, right, bottom, 0.75});
        page.lines.push_back({x0, top, x0, bottom, 0.75});
        page.lines.push_back({right, top, right, bottom, 0.75});
        page.lines.push_back({x0, top + 2 * rowHeight, right, top + 2 * rowHeight, 0.75});
        page.lines.push_back({x0 + left[1], top + rowHeight, right, top + rowHeight, 0.25});
        for (std::size_t c = 1; c < weights.size(); ++c) {
            const bool between = c == 1 || c == 3;
            page.lines.push_back({x0 + left[c], between ? top : top + rowHeight, x0 + left[c],
                                  bottom, between ? 0.5 : 0.25});
        }
    }
    return Answer::done(std::move(layout));
}

} // namespace fendrel
