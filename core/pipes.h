#pragma once

#include "core/sizing.h"

#include <optional>
#include <span>
#include <string>

// From a computed inner diameter to a real pipe: the standard size that holds it, the velocity
// that size really gives, and how that compares with the usual velocities of the reference sheet.
namespace tovrik {

struct PipeSize
{
    int dn; // nominal size
    double outside; // mm
    double wall; // mm, schedule 40
    double inside() const { return outside - 2.0 * wall; }
};

// Seamless and welded steel pipe, schedule 40, DN15 to DN600.
std::span<const PipeSize> schedule40();

// The smallest size whose inner diameter is at least the given one; none past the table.
std::optional<PipeSize> nominalSize(double diameter);

// Velocity in m/s of a volume flow in m3/h through an inner diameter in mm.
double realVelocity(double flow, double inside);

struct VelocityRange
{
    double low; // m/s; 0 where the sheet gives only an upper bound
    double high;
};

// The usual velocities of the reference sheet for a medium in a nominal size; compressed air
// takes the workshop line.
VelocityRange usualVelocity(Medium medium, int dn);

enum class VelocityCheck { Below, Inside, Above };
VelocityCheck checkVelocity(double velocity, VelocityRange range);

struct PipeAdvice
{
    PipeSize size;
    double velocity;
    VelocityRange usual;
    VelocityCheck check;
};

// Advice for a sizing's flow (m3/h at working conditions) and diameter (mm); none when the
// diameter is beyond the table.
std::optional<PipeAdvice> advise(Medium medium, double flow, double diameter);

// The advice in Simplified Chinese, as the window's tooltip and the sizer's second line say it.
std::string adviceText(const std::optional<PipeAdvice> &advice);

// "below", "inside" or "above", for CSV and JSON.
const char *checkName(VelocityCheck check);

} // namespace tovrik
