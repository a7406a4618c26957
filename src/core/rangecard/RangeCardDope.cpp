// The range card window's field card: the wind brackets' and the danger space's columns, the
// maximum point-blank zero, and the DOPE card laid out, previewed and saved as PDF.
#include "RangeCardSession.h"

#include "RangeCardColumns.h"
#include "core/common/Dates.h"
#include "core/common/Numbers.h"
#include "core/common/PdfWriter.h"
#include "core/common/Strings.h"
#include "core/common/UserFiles.h"

#include <cmath>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

// The card's rows that get a danger space: the rows of a longer card would take long to compute
// as the user types.
constexpr std::size_t kMostDangerRows = 300;


} // namespace

void RangeCardSession::computeDanger(const RangeCardInput& input) {
    m_danger.clear();
    const std::string height = trimmed(m_form[CardField::DangerHeight]);
    if (!m_card || height.empty() || !isDecimalNumber(height) ||
        m_card->rows.size() > kMostDangerRows)
        return;
    for (const RangeCardRow& r : m_card->rows) {
        std::optional<DangerSpace> space; // none at the muzzle, or where it cannot be had
        if (r.range > 0)
            if (const auto d = dangerSpace(input, r.range, leadingNumber(height)))
                space = d.value;
        m_danger.push_back(space);
    }
}

TextTable RangeCardSession::extraColumns() const {
    TextTable t;
    if (!m_card)
        return t;
    const bool metric = m_card->metric, mil = m_input.clickUnit == ClickUnit::Mil;
    for (double speed : m_card->windBrackets)
        t.headers.push_back(generalNumber(speed) + (metric ? " m/s\n" : " mph\n") +
                            (mil ? "mil" : "MOA"));
    if (!m_danger.empty())
        t.headers.push_back(std::string("Danger\n") + (metric ? "m" : "yd"));
    for (std::size_t i = 0; i < m_card->rows.size(); ++i) {
        const RangeCardRow& r = m_card->rows[i];
        std::vector<std::string> cells;
        for (std::size_t b = 0; b < m_card->windBrackets.size(); ++b) {
            const auto& w = b < r.brackets.size() ? (mil ? r.brackets[b].mil : r.brackets[b].moa)
                                                  : std::nullopt;
            cells.push_back(w ? roundedText(*w, "0.00") : "-");
        }
        if (!m_danger.empty())
            cells.push_back(i < m_danger.size() && m_danger[i]
                                ? roundedText(m_danger[i]->length, "0")
                                : "-");
        t.rows.push_back(std::move(cells));
    }
    return t;
}

void RangeCardSession::pointBlank(SessionHost& host) {
    constexpr const char* kTitle = "Maximum point-blank range";
    RangeCardInput input;
    if (std::string refusal = m_form.cardInput(m_programFolder, input); !refusal.empty()) {
        host.tell(refusal, kTitle, MessageIcon::Exclamation);
        return;
    }
    const bool metric = m_form.metric;
    const std::string typed = host.input(
        std::string("The vital zone's diameter, in ") + (metric ? "cm" : "inches") +
            ": the card is zeroed so that the path never leaves it up to the longest range.",
        kTitle, metric ? "15.24" : "6");
    if (trimmed(typed).empty())
        return;
    if (!isDecimalNumber(trimmed(typed))) {
        host.tell("The vital zone's diameter must be a number, not '" + trimmed(typed) + "'.",
                  kTitle, MessageIcon::Exclamation);
        return;
    }
    const auto zone = pointBlankRange(input, leadingNumber(trimmed(typed)));
    if (!zone) {
        host.tell(zone.refusal, kTitle, MessageIcon::Exclamation);
        return;
    }
    setText(CardField::Zero, fieldNumber(zone.value.zeroRange, 5));
    m_pointBlank = zone.value;
    m_pointBlankZero = m_form[CardField::Zero];
    const std::string unit = metric ? " m" : " yd";
    host.tell("Maximum point-blank range " + roundedText(zone.value.maximum, "0") + unit +
                  " for a vital zone " + generalNumber(zone.value.vital) +
                  (metric ? " cm" : " in") + " across: the card is now zeroed at " +
                  roundedText(zone.value.zeroRange, "0") + unit + ". Hold dead on from " +
                  roundedText(zone.value.nearRange, "0") + " to " +
                  roundedText(zone.value.maximum, "0") + unit + "; the path is highest at " +
                  roundedText(zone.value.peakRange, "0") + unit + ".",
              kTitle, MessageIcon::Information);
}

const std::optional<PointBlankRange>& RangeCardSession::pointBlankZone() const {
    static const std::optional<PointBlankRange> none;
    return m_pointBlank && m_form[CardField::Zero] == m_pointBlankZero ? m_pointBlank : none;
}

RangeCardSession::DopeFields RangeCardSession::dopeDefaults() const {
    DopeFields f;
    f.every = trimmed(m_form[CardField::Step]).empty() ? "100" : trimmed(m_form[CardField::Step]);
    f.from = f.every;
    f.to = trimmed(m_form[CardField::Maximum]).empty() ? "1000"
                                                        : trimmed(m_form[CardField::Maximum]);
    return f;
}

Result<DopeCardLayout> RangeCardSession::dopeCard(const DopeFields& fields,
                                                  const std::optional<RoundTexts>& round) const {
    using R = Result<DopeCardLayout>;
    DopeCardInput in;
    if (std::string refusal = m_form.cardInput(m_programFolder, in.card); !refusal.empty())
        return R::refused(refusal);
    const std::pair<const std::string*, double*> numbers[] = {
        {&fields.from, &in.from}, {&fields.to, &in.to}, {&fields.every, &in.every}};
    const char* names[] = {"first range", "last range", "step"};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string t = trimmed(*numbers[i].first);
        if (!isDecimalNumber(t))
            return R::refused(std::string("The DOPE card's ") + names[i] +
                              " must be a number, not '" + t + "'.");
        *numbers[i].second = leadingNumber(t);
    }
    in.size = fields.size;
    in.columns = fields.columns;
    in.load = round ? round->description : std::string();
    in.date = fields.date.empty() ? todayIso() : fields.date;
    return dopeCardLayout(in);
}

std::optional<fs::path> RangeCardSession::saveDopePdf(const DopeFields& fields,
                                                      const std::optional<RoundTexts>& round,
                                                      SessionHost& host) const {
    const auto card = dopeCard(fields, round);
    if (!card) {
        host.tell(card.refusal, "DOPE card", MessageIcon::Exclamation);
        return std::nullopt;
    }
    const auto chosen =
        host.saveFile({"Save the DOPE card as PDF", "PDF file (*.pdf)|*.pdf|", 1,
                       userDataFolder(m_programFolder), "DOPE card.pdf"});
    if (!chosen)
        return std::nullopt;
    const fs::path file = withSuffix(*chosen, "pdf");
    const std::string title = round ? round->description : std::string("DOPE card");
    if (const Status saved = saveUserFile(m_programFolder, file, pdfDocument(card.value.page, title));
        !saved) {
        host.tell(file.string() + " could not be written: " + saved.refusal, "DOPE card",
                  MessageIcon::Exclamation);
        return std::nullopt;
    }
    return file;
}

} // namespace fendrel
