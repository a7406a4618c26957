// The range card: from one RangeCardInput, the zero, the stability and the rows of heights,
// drifts and corrections to dial. The prepared card also flies shots that differ from the
// card's in velocity and wind, for the hit probability.
#pragma once

#include "DragCurve.h"
#include "MoistAir.h"
#include "PointMassSolver.h"
#include "RangeCardInput.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

// One row, in the input's units: imperial, or metric in brackets.
// The windage to dial for a full-value crosswind from the right (from the left: the negative),
// wind drift alone, + right.
struct BracketWindage {
    double speed = 0; // mph (m/s)
    std::optional<double> moa, mil, clicks; // none at range 0
};

struct RangeCardRow {
    double range = 0;     // yd (m)
    double height = 0;    // in (cm), + above the line of sight
    double windage = 0;   // in (cm), + right: wind, spin drift and Coriolis together
    double spinDrift = 0; // in (cm)
    // The corrections to dial, + up and + right, in true MOA (1/60 degree) and milliradians,
    // and in whole clicks (halves away from zero). None at range 0.
    std::optional<double> elevationMoa, elevationMil, windageMoa, windageMil;
    std::optional<double> elevationClicks, windageClicks;
    double velocity = 0;          // ft/s (m/s) over the ground
    double mach = 0;              // speed relative to the air over the local speed of sound
    std::optional<double> energy; // ft-lb (J); none without the weight
    double time = 0;              // s
    std::vector<BracketWindage> brackets; // one for each of the input's wind brackets
};

struct RangeCardResult {
    bool metric = false;
    double muzzleVelocity = 0;       // ft/s (m/s), after the powder temperature
    double zeroAngleMoa = 0;         // the bore above the line of sight
    std::optional<double> stability; // Miller's Sg; none without length and twist
    double densityRatio = 0;         // at the firing point
    double speedOfSound = 0;         // ft/s (m/s) at the firing point
    std::vector<double> windBrackets; // mph (m/s), as given
    std::vector<RangeCardRow> rows;
};

// Computes the card. Returns an empty string, or the reason the input is refused in words for
// the user, leaving `result` unchanged. Never throws for any input.
std::string computeRangeCard(const RangeCardInput& input, RangeCardResult& result);

class RangeCard {
public:
    // Checks the input and prepares the flight: the air, the drag curve, the muzzle velocity,
    // the zero and the stability. Returns "" or the refusal.
    std::string prepare(const RangeCardInput& input);

    // The card's ranges in the input's units: 0, step, 2 step, ... to the maximum, which
    // closes the card even when it is not a whole number of steps.
    std::vector<double> cardRanges() const;
    // Rows at ranges in the input's units, ascending.
    std::string rows(const std::vector<double>& ranges, std::vector<RangeCardRow>& out) const;
    // The header values of the card.
    RangeCardResult summary() const;

    // For a shot that differs from the card's, under the card's zero: where it crosses the
    // planes at ranges in yards (ascending), for a muzzle velocity in ft/s and a wind speed in
    // mph; the windage includes the spin drift at that velocity.
    std::string shots(const std::vector<double>& rangesYd, double velocity, double windMph,
                      std::vector<FlightPoint>& out) const;

    // Level fire in calm air without the earth's rotation, with the card's bullet, air and
    // muzzle velocity (its zero, wind, look angle and Coriolis left out), for the point-blank
    // range and the danger space. The bore's angle (radians above the line of sight) that puts
    // the bullet back on the line of sight at `yards`, the lower of the two; "" or the refusal.
    std::string levelZero(double yards, double& angle) const;
    // Follows that flight at a bore `angle`: `visit(yards, heightIn)` at the muzzle and every
    // yard after it until it returns false. "" or why the bullet could not be followed to
    // where `visit` stopped it.
    std::string levelPath(double angle, const std::function<bool(double, double)>& visit) const;

    bool metric() const { return m_metric; }
    double muzzleVelocity() const { return m_velocity; } // ft/s
    double windSpeed() const { return m_in.windSpeed; }  // mph
    // A distance in yards as the user reads it ("300 yd", "274.32 m").
    std::string distanceText(double yards) const;

private:
    std::optional<double> stabilityAt(double velocity) const;
    std::string flightFailure(const FlightFailure& failure, double yards) const;
    std::string bracketWindages(const std::vector<double>& yards,
                                std::vector<RangeCardRow>& rows) const;

    RangeCardInput m_in; // imperial
    bool m_metric = false;
    double m_userStep = 100, m_userMaximum = 1000; // in the input's units
    std::shared_ptr<const DragCurve> m_curve;
    std::optional<MoistAir> m_air;
    std::optional<PointMassSolver> m_solver;
    double m_velocity = 0;
    double m_angle = 0;
    std::optional<double> m_millerSg; // Miller's factor before the velocity correction
    std::vector<double> m_userBrackets; // the wind brackets in the input's units
    std::optional<PointMassSolver> m_bracketSolver; // a crosswind from the right, no Coriolis
};

} // namespace fendrel
