// The range card window's logic: the fields as typed, the card and the chance of a hit computed
// from them, the values taken from the last group and the load history, the CSV and the settings
// kept in rangecard.ini. The window shows what this holds and passes on what the user does; it
// computes nothing itself.
//
// Texts are UTF-8. A change marks the card out of date; `recompute` brings it up to date (the
// window calls it when the user pauses in typing, and before any command that uses the card).
#pragma once

#include "HitProbability.h"
#include "RangeCard.h"
#include "DopeCard.h"
#include "PointBlank.h"
#include "RangeCardForm.h"
#include "Truing.h"
#include "core/history/HistoryTables.h"
#include "core/common/Result.h"
#include "core/common/SessionHost.h"
#include "core/common/SharedState.h"
#include "core/engine/RoundTexts.h"
#include "core/history/HistoryEntry.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

// A truing kept in the history in words, in the form's units: "muzzle velocity 2711.1 ft/s ± 4.3".
std::string describeTruing(const TruingSession& truing, bool metric);

class RangeCardSession {
public:
    // The ranges of the chance of a hit, from the zero to the maximum.
    static constexpr int kHitRanges = 20;

    // The fields remembered in rangecard.ini, with the BC, velocity, weight and diameter of the
    // round on the main window when there is one.
    RangeCardSession(std::filesystem::path programFolder, const std::optional<RoundTexts>& round);

    const RangeCardForm& form() const { return m_form; }
    const std::string& text(CardField f) const { return m_form[f]; }
    // The unit a field is typed in, in the form's units.
    std::string unit(CardField f) const;

    void setText(CardField f, const std::string& text);
    void setDragModel(DragModel model);
    void setDragFile(const std::string& path);
    void setShape(TargetShape shape);
    // Converts every number to the other units, or to the other click unit.
    void setMetric(bool metric);
    void setClickUnit(ClickUnit unit);

    // The card and the chance of a hit for the fields as they are now.
    void recompute();
    bool current() const { return m_current; }
    // The card, or nothing with the reason in `refusal`.
    const std::optional<RangeCardResult>& card() const { return m_card; }
    const std::string& refusal() const { return m_refusal; }
    const std::vector<HitRow>& hitRows() const { return m_hit; }
    const std::string& hitRefusal() const { return m_hitRefusal; }

    // The card's texts: the summary line, the readable card, what the chance of a hit assumes,
    // and the CSV. Empty without a card (or without hit rows).
    std::string summary() const;
    std::string cardText() const;
    std::string hitAssumptions() const;
    std::string csv() const;

    // File > Save as CSV: asks for the file and writes the card; the file written, or nothing
    // (cancelled, refused and told).
    std::optional<std::filesystem::path> saveCsv(SessionHost& host);
    // File > Save as PDF: asks for the file; the file to print the card to, or nothing.
    std::optional<std::filesystem::path> choosePdf(SessionHost& host);
    // The drag file chosen with the file dialog.
    void chooseDragFile(SessionHost& host);
    // The dispersion of the group the shot group window measured last, at a distance asked.
    void takeLastGroup(const std::optional<LastGroup>& group, SessionHost& host);
    // The velocity and its SD of a string, and the dispersion pooled from groups, of the load
    // history of the round on the main window (read only).
    void takeFromHistory(const std::optional<RoundTexts>& round, SessionHost& host);

    // Truing: the card's values from where the bullets went (Truing.h). The observations are
    // typed in the form's units and click unit; each fit tells what stops it.
    using TruingKind = fendrel::TruingKind;
    struct TruingOutcome {
        TruingKind kind = TruingKind::Velocity;
        // What the history keeps of it (without its date, card and round).
        TruingSession kept;
        std::string result; // the fitted value with its standard error, in words
        // The observations' residuals with the card as it is, and with the fit (velocity and
        // drop scale); in the click unit.
        std::vector<TruingResidual> before, after;
        // What Use gives the card: a velocity or BC text for its field, or the drop scale.
        std::string fieldText;
        std::vector<DropScaleKnot> knots;
    };
    void setObservations(std::vector<RangeCardForm::Observation> rows);
    bool fitTruing(TruingKind kind, SessionHost& host);
    const std::optional<TruingOutcome>& truing() const { return m_truing; }
    // Use: the last fit into the card (and the summary says the card is trued).
    void useTruing();
    // Drops a drop scale in use.
    void clearDropScale();
    // "Trued: velocity, drop scale (Mach 0.95 x 1.071)", or empty when nothing trued is in use.
    std::string truedText() const;
    // Save to history: the last fit, with the card's conditions and what was observed, kept
    // with the load of the round on the main window. True when it was stored.
    bool saveTruing(const std::optional<RoundTexts>& round, SessionHost& host);
    // A truing kept in the history given to the card, as Use gives a fit; false when it holds
    // nothing the card can take.
    bool takeTruing(const TruingSession& truing);

    // The columns the card gets beyond its own: the windage of each wind bracket (in the click
    // unit) and, with a target height, the danger space at each row's range. Headings, then
    // one row of cells for each of the card's rows.
    TextTable extraColumns() const;

    // MPBR: asks the vital zone's diameter and zeroes the card for the maximum point-blank
    // range; the zone stands on the path chart while the zero is the one it gave.
    void pointBlank(SessionHost& host);
    const std::optional<PointBlankRange>& pointBlankZone() const;

    // The DOPE card: its rows and size as the dialog has them, laid out for the card as it is.
    struct DopeFields {
        std::string from, to, every;
        DopeCardSize size = DopeCardSize::Card;
        int columns = 1;
        std::string date; // empty: today
    };
    DopeFields dopeDefaults() const;
    Result<DopeCardLayout> dopeCard(const DopeFields& fields,
                                    const std::optional<RoundTexts>& round) const;
    // Save as PDF: asks for the file and writes the card; the file written, or nothing.
    std::optional<std::filesystem::path> saveDopePdf(const DopeFields& fields,
                                                     const std::optional<RoundTexts>& round,
                                                     SessionHost& host) const;

    // Keeps the fields in rangecard.ini when they changed since it was last written.
    Status saveSettings();

    // The window title's word for the messages of the commands.
    static constexpr const char* kTitle = "Range Card";

private:
    void changed();
    void computeDanger(const RangeCardInput& input);

    std::filesystem::path m_programFolder;
    RangeCardForm m_form;
    bool m_dirty = false;   // changed since rangecard.ini was written
    bool m_current = false; // the card stands for the fields as they are
    RangeCardInput m_input;
    std::optional<RangeCardResult> m_card;
    std::string m_refusal;
    HitInput m_hitInput;
    std::vector<HitRow> m_hit;
    std::string m_hitRefusal;
    std::optional<TruingOutcome> m_truing;
    std::optional<PointBlankRange> m_pointBlank;
    std::string m_pointBlankZero; // the zero field's text the point-blank range gave
    std::vector<std::optional<DangerSpace>> m_danger; // one a card row, with a target height
};

} // namespace fendrel
