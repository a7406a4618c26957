// The range card window's truing: the fits over the card as typed, and their result given to
// the card.
#include "RangeCardSession.h"

#include "DropScale.h"
#include "MetricUnits.h"
#include "core/common/Dates.h"
#include "core/common/Numbers.h"
#include "core/common/Strings.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/HistoryTables.h"


namespace fendrel {

namespace {

constexpr const char* kTruingTitle = "Truing";

std::string signedNumber(double value, const char* pattern) {
    return (value >= 0 ? "+" : "") + formatPattern(value, pattern);
}


} // namespace

void RangeCardSession::setObservations(std::vector<RangeCardForm::Observation> rows) {
    if (rows == m_form.observations)
        return;
    m_form.observations = std::move(rows);
    m_dirty = true;
    m_truing.reset();
}

bool RangeCardSession::fitTruing(TruingKind kind, SessionHost& host) {
    const auto tell = [&](const std::string& why) {
        host.tell(why, kTruingTitle, MessageIcon::Exclamation);
        return false;
    };
    RangeCardInput input;
    if (std::string refusal = m_form.cardInput(m_programFolder, input); !refusal.empty())
        return tell(refusal);
    const bool metric = m_form.metric;
    const std::string speed = metric ? " m/s" : " ft/s";
    TruingOutcome out;
    out.kind = kind;
    out.kept.kind = kind;
    out.kept.metric = metric;
    out.kept.unit = m_form.clickUnit;
    if (kind == TruingKind::BallisticCoefficient) {
        const auto pair = m_form.measuredVelocities();
        if (!pair)
            return tell(pair.refusal);
        const auto fit = trueBallisticCoefficient(input, pair.value.first, pair.value.second);
        if (!fit)
            return tell(fit.refusal);
        out.kept.nearVelocity = pair.value.first;
        out.kept.farVelocity = pair.value.second;
        out.kept.ballisticCoefficient =
            TruedBallisticCoefficient{fit.value.ballisticCoefficient, fit.value.standardError};
        out.fieldText = fieldNumber(fit.value.ballisticCoefficient, 4);
        out.result = "BC " + formatPattern(fit.value.ballisticCoefficient, "0.000") + " \u00B1 " +
                     formatPattern(fit.value.standardError, "0.000") + " (" +
                     signedNumber(fit.value.changePercent, "0.0") + " % from the card's)";
        m_truing = std::move(out);
        return true;
    }
    const auto observed = m_form.observedCorrections();
    if (!observed)
        return tell(observed.refusal);
    if (observed.value.empty())
        return tell("Type the observed corrections first: the range, and the elevation that "
                    "centred the group there.");
    const ClickUnit unit = m_form.clickUnit;
    const auto before = cardResiduals(input, unit, observed.value);
    if (!before)
        return tell(before.refusal);
    out.before = before.value;
    out.kept.observations = observed.value;
    if (kind == TruingKind::Velocity) {
        const auto fit = trueVelocity(input, unit, observed.value);
        if (!fit)
            return tell(fit.refusal);
        out.after = fit.value.residuals;
        out.fieldText = fieldNumber(fit.value.inputVelocity, 6);
        out.kept.velocity = TruedVelocity{fit.value.velocity, fit.value.standardError,
                                          fit.value.inputVelocity};
        out.result = "Muzzle velocity " + formatPattern(fit.value.velocity, "0.0") + speed +
                     " \u00B1 " + formatPattern(fit.value.standardError, "0.0") + " (" +
                     signedNumber(fit.value.change, "0.0") + " from the card's)";
    } else {
        const auto fit = trueDropScale(input, unit, observed.value);
        if (!fit)
            return tell(fit.refusal);
        out.after = fit.value.residuals;
        out.knots = fit.value.knots;
        out.kept.knots = fit.value.knots;
        out.kept.factorErrors = fit.value.factorErrors;
        out.result = "Drop scale ";
        for (std::size_t i = 0; i < fit.value.knots.size(); ++i)
            out.result += (i ? ", " : "") + std::string("Mach ") +
                          formatPattern(fit.value.knots[i].mach, "0.000") + " \u00D7 " +
                          formatPattern(fit.value.knots[i].factor, "0.000") + " \u00B1 " +
                          formatPattern(fit.value.factorErrors[i], "0.000");
    }
    m_truing = std::move(out);
    return true;
}

void RangeCardSession::useTruing() {
    // The fit stays on show: it is what the card now holds.
    if (m_truing && takeTruing(m_truing->kept)) {
        m_dirty = true;
        m_current = false;
    }
}

void RangeCardSession::clearDropScale() {
    if (m_form.dropScale.empty())
        return;
    m_form.dropScale.clear();
    changed();
}

std::string RangeCardSession::truedText() const {
    std::vector<std::string> parts;
    const auto trued = [&](CardField f, const std::string& mark) {
        return !mark.empty() && trimmed(m_form[f]) == mark;
    };
    if (trued(CardField::Velocity, m_form.truedVelocity))
        parts.push_back("velocity");
    if (trued(CardField::BallisticCoefficient, m_form.truedBallisticCoefficient))
        parts.push_back("BC");
    if (!m_form.dropScale.empty())
        parts.push_back("drop scale (" + DropScale(m_form.dropScale).text() + ")");
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i ? ", " : "Trued: ") + parts[i];
    return out;
}

bool RangeCardSession::saveTruing(const std::optional<RoundTexts>& round, SessionHost& host) {
    const auto tell = [&](const std::string& why, MessageIcon icon = MessageIcon::Exclamation) {
        host.tell(why, kTruingTitle, icon);
        return false;
    };
    if (!m_truing)
        return tell("Fit first: the truing kept is the last fit's.");
    if (!round || !checkDescription(roundKeyOf(*round).description).empty())
        return tell("A truing is kept with the load of the round on the main window, by its "
                    "description: show the round there first.");
    const RoundKey key = roundKeyOf(*round);
    const std::string date =
        trimmed(host.input("The date the observations were made (YYYY-MM-DD):", kTruingTitle,
                           todayIso()));
    if (date.empty())
        return false;
    if (!isIsoDate(date))
        return tell("The date must be a calendar date written YYYY-MM-DD (for example "
                    "2024-05-10).");
    TruingSession kept = m_truing->kept;
    kept.date = date;
    kept.card = m_form.settingsText();
    kept.round = key.round;
    auto opened = HistoryDatabase::open(m_programFolder);
    if (!opened.database)
        return tell(opened.refusal);
    if (const auto added = opened.database->addTruing(key.description, kept); !added)
        return tell(added.refusal);
    tell("The truing is kept with the load \"" + key.description + "\" of " + date + ".",
         MessageIcon::Information);
    return true;
}

std::string describeTruing(const TruingSession& t, bool metric) {
    const auto speed = [&](double v) {
        const double shown = t.metric == metric ? v
                             : metric          ? v * metric::kMetresPerFoot
                                               : v / metric::kMetresPerFoot;
        return formatPattern(shown, "0.0") + (metric ? " m/s" : " ft/s");
    };
    switch (t.kind) {
    case TruingKind::Velocity:
        return t.velocity ? "muzzle velocity " + speed(t.velocity->velocity) + " \u00B1 " +
                                formatPattern(t.velocity->standardError, "0.0")
                          : std::string();
    case TruingKind::BallisticCoefficient:
        return t.ballisticCoefficient
                   ? "BC " + formatPattern(t.ballisticCoefficient->ballisticCoefficient, "0.000") +
                         " \u00B1 " +
                         formatPattern(t.ballisticCoefficient->standardError, "0.000")
                   : std::string();
    case TruingKind::DropScale:
        return "drop scale " + DropScale(t.knots).text();
    }
    return {};
}

bool RangeCardSession::takeTruing(const TruingSession& t) {
    switch (t.kind) {
    case TruingKind::Velocity: {
        if (!t.velocity)
            return false;
        double v = t.velocity->inputVelocity;
        if (t.metric != m_form.metric)
            v = m_form.metric ? v * metric::kMetresPerFoot : v / metric::kMetresPerFoot;
        m_form[CardField::Velocity] = m_form.truedVelocity = fieldNumber(v, 6);
        return true;
    }
    case TruingKind::BallisticCoefficient:
        if (!t.ballisticCoefficient)
            return false;
        m_form[CardField::BallisticCoefficient] = m_form.truedBallisticCoefficient =
            fieldNumber(t.ballisticCoefficient->ballisticCoefficient, 4);
        return true;
    case TruingKind::DropScale:
        if (!DropScale::refusal(t.knots).empty())
            return false;
        m_form.dropScale = t.knots;
        return true;
    }
    return false;
}

} // namespace fendrel
