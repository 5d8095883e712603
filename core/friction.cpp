#include "core/friction.h"

#include "core/failure.h"
#include "core/messages.h"
#include "core/pipes.h"
#include "core/text.h"

#include <algorithm>
#include <cmath>

namespace tovrik {

double colebrook(double reynolds, double relativeRoughness)
{
    // In x = 1/sqrt(f): g(x) = x + 2 log10(e/3.7 + 2.51 x / Re) = 0, which is increasing, so
    // Newton's method from the smooth-pipe start converges in a few steps.
    const double a = relativeRoughness / 3.7;
    const double b = 2.51 / reynolds;
    const double k = 2.0 / std::log(10.0);
    double x = 8.0;
    for (int step = 0; step < 50; ++step) {
        const double inner = a + b * x;
        const double g = x + k * std::log(inner);
        const double next = x - g / (1.0 + k * b / inner);
        const bool done = std::fabs(next - x) <= 1e-14 * next;
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

std::optional<PressureDrop> recommendedPipeDrop(Medium medium, const PipeAdvice &advice,
                                                double flow, double roughness,
                                                const FluidState &fluid, std::string &note)
{
    const SizeCheck *pipe = advice.recommended();
    if (!pipe)
        return std::nullopt;
    try {
        return pressureDrop(fluid, flow, pipe->size.bore, roughness);
    } catch (const SizingFailure &failure) {
        note = failureMessage(medium, failure);
        return std::nullopt;
    }
}

std::string pressureDropText(const PressureDrop &drop, std::string_view condition)
{
    // Three significant figures: 123, 12.3, 1.23, 0.123; below a pascal, only that.
    const double value = drop.kPaPer100m;
    std::string text = "每 100 m 压降";
    if (value < 0.001) {
        text += "不足 0.001 kPa（粗糙度 ";
    } else {
        const int decimals = std::clamp(2 - int(std::floor(std::log10(value))), 0, 5);
        text += "约 ";
        appendFixed(text, value, decimals);
        text += " kPa（粗糙度 ";
    }
    text += shortestText(drop.roughness);
    text += " mm";
    if (!condition.empty()) {
        text += "，";
        text += condition;
    }
    text += "）";
    return text;
}

} // namespace tovrik
