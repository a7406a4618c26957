// Garmin Xero exports (ShotView app), one session a file, in any of the app's languages:
//
//   <the session's name>
//   #,<speed (UNIT)>,<difference>,...,<time>,<clean bore>,<cold bore>,<shot notes>
//   1,2808.2,...                      one row a shot
//   -,,,
//   <summary rows: averages, SD, spread, projectile weight (GRAINS), session note last>
//   -,,,
//   <date row>,"JULY 05, 2026 13:30"
//
// The words change with the language, so the rows are told apart by their place and the units
// in parentheses, never by a word. iOS writes a blank before each field and the time with a
// narrow no-break space before PM; Android quotes decimal commas (German) and thousands groups
// (English).
#include "ChronographLayouts.h"

#include "HistoryEntry.h"
#include "core/common/Strings.h"

namespace fendrel::exportread {

namespace {

// The text in the parentheses that end a field ("Speed (FPS)" -> "FPS"), or nullopt.
std::optional<std::string> unitInParentheses(std::string_view field) {
    const std::string_view t = trimmedView(field);
    const size_t open = t.rfind('(');
    if (t.empty() || t.back() != ')' || open == std::string_view::npos)
        return std::nullopt;
    std::string unit = trimmed(t.substr(open + 1, t.size() - open - 2));
    if (unit.empty())
        return std::nullopt;
    return unit;
}

size_t garminHeader(const Lines& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& t = lines[i].text;
        if (!trimmedView(t).starts_with('#'))
            continue;
        const auto f = splitFields(t, separatorOf(t));
        if (f.size() >= 2 && f[0] == "#" && unitInParentheses(f[1]))
            return i;
    }
    return lines.size();
}

std::string fieldAt(const std::vector<std::string>& fields, size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}

bool endsSection(const std::string& line, char separator) {
    const auto f = splitFields(line, separator);
    return f[0] == "-";
}

// The rows between the shots and the date: the projectile weight is the row whose label ends
// with a unit in grains (GRAINS, GRAN, GRANI, ... but not grams); the session note is the last
// row, unless it holds a number.
void readSummary(const Lines& lines, size_t from, size_t to, char separator,
                 ChronographSeries& s) {
    size_t last = lines.size();
    for (size_t i = from; i < to; ++i) {
        if (trimmedView(lines[i].text).empty())
            continue;
        last = i;
        const auto f = splitFields(lines[i].text, separator);
        const auto unit = unitInParentheses(f[0]);
        if (!unit)
            continue;
        const std::string u = asciiLower(*unit);
        const auto weight = deviceNumber(fieldAt(f, 1));
        if (u.starts_with("gr") && !u.starts_with("gram") && weight && *weight > 0 &&
            *weight <= kMaximumRoundNumber)
            s.projectileWeightGr = *weight;
    }
    if (last == lines.size() || unitInParentheses(splitFields(lines[last].text, separator)[0]))
        return;
    std::string note = afterFirstField(lines[last].text, separator);
    if (!deviceNumber(note))
        s.sessionNote = std::move(note);
}

} // namespace

bool isGarminXero(const Lines& lines) {
    return garminHeader(lines) < lines.size();
}

Read readGarminXero(const Lines& lines) {
    const size_t h = garminHeader(lines);
    const char separator = separatorOf(lines[h].text);
    const auto header = splitFields(lines[h].text, separator);
    const std::string unit = *unitInParentheses(header[1]);
    const auto metric = metricSpeedUnit(unit);
    if (!metric)
        return Read::refused(lineRefusal(lines[h].number, "the speed unit " + shownField(unit) +
                                                              " is not FPS, ft/s, MPS or m/s"));
    ChronographExport e;
    e.layout = ChronographLayout::GarminXero;
    ChronographSeries s;
    for (size_t k = h; k-- > 0;) {
        if (!trimmedView(lines[k].text).empty()) {
            s.name = unquoted(lines[k].text);
            break;
        }
    }
    // Time, clean bore, cold bore and shot notes are the last four columns.
    const size_t n = header.size();
    const bool details = n >= 7;
    size_t i = h + 1;
    for (; i < lines.size(); ++i) {
        const TextLine& l = lines[i];
        if (trimmedView(l.text).empty())
            continue;
        const auto f = splitFields(l.text, separator);
        if (f[0] == "-")
            break;
        const Speed speed = speedOf(fieldAt(f, 1), *metric);
        if (!speed.refusal.empty())
            return Read::refused(lineRefusal(l.number, speed.refusal));
        ChronographShot shot;
        shot.fps = speed.fps;
        if (details) {
            shot.time = clockTimeOf(fieldAt(f, n - 4));
            shot.cleanBore = !fieldAt(f, n - 3).empty();
            shot.coldBore = !fieldAt(f, n - 2).empty();
            shot.note = fieldAt(f, n - 1);
        }
        if (const std::string why = addShot(s, std::move(shot)); !why.empty())
            return Read::refused(lineRefusal(l.number, why));
    }
    if (s.shots.empty())
        return Read::refused(lineRefusal(lines[h].number, "the header is followed by no shots"));
    size_t end = i + 1;
    while (end < lines.size() && !endsSection(lines[end].text, separator))
        ++end;
    if (i < lines.size())
        readSummary(lines, i + 1, end, separator, s);
    if (const size_t date = nextFilled(lines, end); date < lines.size())
        s.date = dateOf(fieldAt(splitFields(lines[date].text, separator), 1));
    e.series.push_back(std::move(s));
    return Read::done(std::move(e));
}

} // namespace fendrel::exportread
