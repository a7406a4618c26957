// Recoil energy and the interior ballistics lines.
#include "Recoil.h"

#include "core/common/Numbers.h"
#include "core/common/TextFile.h"

#include <cmath>

namespace fendrel {

std::optional<double> recoilEnergy(double muzzleVelocity, double bulletWeight, double powderCharge,
                                   double firearmWeight) {
    const double impulse = muzzleVelocity * bulletWeight + powderCharge * 4700;
    const double divisor = firearmWeight * 7000;
    if (divisor == 0)
        return std::nullopt;
    const double recoilVelocity = impulse / divisor;
    const double mass = firearmWeight / 32.16;
    const double energy = std::pow(recoilVelocity, 2) * mass * 0.5;
    if (!std::isfinite(energy))
        return std::nullopt;
    return energy;
}

std::string interiorLines(std::string_view description, double energy) {
    return plainLine(upperCase1252(description)) +
           plainLine("Recoil for this round is " + formatPattern(energy, "###0.00") + " ft. lbs.");
}

std::string upperCase1252(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        unsigned char u = c;
        if (c >= 'a' && c <= 'z')
            u = c - 32;
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) // à..þ except the division sign
            u = c - 32;
        else if (c == 0x9A || c == 0x9C || c == 0x9E) // š œ ž
            u = c - 16;
        else if (c == 0xFF) // ÿ
            u = 0x9F;
        ch = static_cast<char>(u);
    }
    return out;
}

} // namespace fendrel
