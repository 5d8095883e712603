#include "core/friction.h"

#include "base/text.h"
#include "core/failure.h"
#include "core/pipes.h"

#include <algorithm>
#include <cmath>

namespace tovrik {

namespace {

// Absolute roughness of pipe walls. new-steel and galvanised: L. F. Moody, "Friction factors for
// pipe flow", Trans. ASME 66 (1944), commercial steel 0.00015 ft and galvanized iron 0.0005 ft.
// steam-network and water-network: CJJ 34-2010, 城镇供热管网设计规范, 7.3.1: 0.2 mm for steam
// pipes and 0.5 mm for hot-water pipes. stainless: 0.015 mm, as Chinese process design manuals
// tabulate stainless pipe (no edition of one was at hand to cite).
constexpr RoughnessDef roughnesses[] = {
    {"new-steel", commercialSteelRoughness, "新钢管", "Moody, Trans. ASME 66, 1944"},
    {"steam-network", 0.2, "蒸汽管网", "CJJ 34-2010"},
    {"water-network", 0.5, "热水管网", "CJJ 34-2010"},
    {"stainless", 0.015, "不锈钢管", "化工工艺设计手册常用值"},
    {"galvanised", 0.15, "镀锌钢管", "Moody, Trans. ASME 66, 1944"},
};

} // namespace

std::span<const RoughnessDef> roughnessNames()
{
    return roughnesses;
}

const RoughnessDef *roughnessNamed(std::string_view name)
{
    for (const RoughnessDef &def : roughnesses) {
        if (equalsIgnoringCase(name, def.name))
            return &def;
    }
    return nullptr;
}

std::optional<double> roughnessFromName(std::string_view name)
{
    if (const RoughnessDef *def = roughnessNamed(name))
        return def->mm;
    return std::nullopt;
}

double colebrook(double reynolds, double relativeRoughness)
{
    // In x = 1/sqrt(f): g(x) = x + k ln(a + b x) = 0 with k = 2/ln 10, which is increasing, so
    // Halley's method, Newton's with the curvature that costs no second logarithm, converges
    // from the smooth-pipe start, and cubically: with c = kb/inner <= k/x, g'' = -c^2/k and
    // g''' = 2c^3/k^2, the error after a step s is about (k^2/4x^4 + k/3x^3) s^3. Once a step
    // moves x by less than 1e-5 of it, that is below 4e-16 for any x >= 2 (f <= 0.25), less than
    // the rounding of the step itself, so the step that would only show it is not taken.
    const double a = relativeRoughness / 3.7;
    const double b = 2.51 / reynolds;
    const double k = 2.0 / std::log(10.0);
    double x = 8.0;
    for (int step = 0; step < 50; ++step) {
        const double inner = a + b * x;
        const double g = x + k * std::log(inner);
        const double r = b / inner;
        const double c = k * r; // so that c^2/k = c r, with no second division
        const double slope = 1.0 + c;
        const double next = x - g * slope / (slope * slope + 0.5 * g * c * r);
        const bool done = std::fabs(next - x) <= 1e-5 * next;
        x = next;
        if (done)
            break;
    }
    return 1.0 / (x * x);
}

double frictionFactor(double reynolds, double relativeRoughness)
{
    if (reynolds < laminarLimit)
        return 64.0 / reynolds;
    return colebrook(reynolds, relativeRoughness);
}

PressureDrop pressureDrop(const FluidState &fluid, double flow, double bore, double roughness)
{
    if (!(roughness >= 0.0) || !(roughness < bore))
        throw SizingFailure(Problem::OutOfRange, Operand::Roughness);
    roughness += 0.0; // a wall of -0 mm is a smooth one
    constexpr double length = 100.0; // m
    const double diameter = bore / 1000.0;
    const double velocity = realVelocity(flow, bore);
    const double reynolds = fluid.density * velocity * diameter / fluid.viscosity;
    // Below a Reynolds number of 1 the flow is too small for a drop worth a figure (and 64/Re
    // runs to infinity); far above the Moody chart no friction factor is known.
    if (!(reynolds >= lowestReynolds && reynolds <= highestReynolds))
        throw SizingFailure(Problem::Reynolds);
    const double friction = frictionFactor(reynolds, roughness / bore);
    const double pascals
        = friction * (length / diameter) * fluid.density * velocity * velocity / 2.0;
    return {reynolds, friction, pascals / 1000.0, roughness};
}

LineDrop lineDrop(const FluidState &inlet, bool compressible, double friction, double flow,
                  double bore, const LineSpec &line, double vapourPressure)
{
    const double diameter = bore / 1000.0;
    const double velocity = realVelocity(flow, bore);
    const double resistance
        = friction * (line.length + line.equivalentLength) / diameter + line.fittings;
    const double pascals = resistance * inlet.density * velocity * velocity / 2.0;
    const double p1 = inlet.pressure * 1.0e6;
    if (!compressible) {
        constexpr double gravity = 9.80665; // m/s2, standard
        const double head = inlet.density * gravity * line.rise;
        const double p2 = p1 - pascals - head;
        const bool flashes = p2 < vapourPressure * 1.0e6;
        return {flashes ? DropMethod::Flashing : DropMethod::Incompressible,
                pascals / 1000.0,
                pascals / p1,
                head / 1000.0,
                p2 / 1.0e6,
                velocity,
                vapourPressure};
    }
    if (pascals <= compressibleShare * p1) {
        const double p2 = p1 - pascals;
        return {DropMethod::Incompressible, pascals / 1000.0, pascals / p1, 0.0, p2 / 1.0e6,
                velocity * p1 / p2};
    }

    // Isothermal: the mass flux G and p/ρ stay as they are at the inlet. The left side less the
    // right rises as p2 falls from p1, until p2 = G √(p/ρ), where the gas would reach its
    // isothermal sonic speed: past that the line is choked.
    const double flux = inlet.density * velocity;
    const double pv = p1 / inlet.density;
    const auto excess = [&](double p2) {
        return p1 * p1 - p2 * p2 - flux * flux * pv * (resistance + 2.0 * std::log(p1 / p2));
    };
    const double sonic = flux * std::sqrt(pv);
    const double none = std::nan("");
    if (!(sonic < p1) || excess(sonic) < 0.0)
        return {DropMethod::Choked, none, 1.0, 0.0, none, none};
    double low = sonic; // excess >= 0
    double high = p1; // excess < 0
    for (int step = 0; step < 200 && high - low > 1e-12 * p1; ++step) {
        const double middle = (low + high) / 2.0;
        (excess(middle) >= 0.0 ? low : high) = middle;
    }
    const double p2 = (low + high) / 2.0;
    return {DropMethod::Isothermal, (p1 - p2) / 1000.0, (p1 - p2) / p1, 0.0, p2 / 1.0e6,
            velocity * p1 / p2};
}

PressureDrop dropPer100m(const FluidState &fluid, bool compressible, double flow, double bore,
                         double roughness)
{
    PressureDrop drop = pressureDrop(fluid, flow, bore, roughness);
    if (!compressible || drop.kPaPer100m * 1000.0 <= compressibleShare * fluid.pressure * 1.0e6)
        return drop;
    const LineDrop over = lineDrop(fluid, true, drop.friction, flow, bore, LineSpec {100.0});
    if (over.method == DropMethod::Choked)
        throw SizingFailure(Problem::Choked);
    drop.kPaPer100m = over.kPa;
    drop.method = DropMethod::Isothermal;
    return drop;
}

} // namespace tovrik
