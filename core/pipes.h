#pragma once

#include "core/sizing.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// From a computed inner diameter to a real pipe: the standard sizes on either side of it, the
// velocity each really gives, and how that compares with the usual velocities of the reference
// sheet.
namespace tovrik {

// The pipe series an engineer orders from: ASME B36.10M schedule 40, or the metric series of
// Chinese piping standards (Φ159×4.5).
enum class PipeSeries { Asme40, Chinese };

struct PipeSize
{
    int dn; // nominal size
    double outside; // mm
    double wall; // mm
    double bore; // mm, outside - 2 wall, to the table's precision
};

// The series' sizes from DN15 up, bores increasing.
std::span<const PipeSize> pipeTable(PipeSeries series);

// The pipe as engineers write it: "DN150（ASME B36.10M Sch40，内径 154.08 mm）" or
// "DN150（Φ159×4.5，内径 150 mm）".
std::string pipeName(const PipeSize &size, PipeSeries series);
// The bore as the table gives it: two decimals for ASME, as few as needed for the metric series.
std::string boreText(const PipeSize &size, PipeSeries series);

// Which line of the reference sheet's compressed-air rows applies to a gas.
enum class GasService { Workshop, Site, NaturalGas }; // 车间, 厂区, 天然气

// Velocity in m/s of a volume flow in m3/h through a bore in mm.
double realVelocity(double flow, double bore);

struct VelocityRange
{
    double low; // m/s; 0 where the sheet gives only an upper bound
    double high;
};

// The usual velocities of the reference sheet for a medium in a nominal size.
VelocityRange usualVelocity(Medium medium, int dn, GasService service = GasService::Workshop);

enum class VelocityCheck { Below, Inside, Above };
VelocityCheck checkVelocity(double velocity, VelocityRange range);

// Below every usual velocity for water on the sheet (0.5 m/s), whatever the size: the sheet
// gives large water pipes only an upper bound.
inline constexpr double lowestWaterVelocity = 0.5;

struct SizeCheck
{
    PipeSize size;
    double velocity; // m/s
    VelocityRange usual;
    VelocityCheck check;
};

struct AdviceOptions
{
    PipeSeries series = PipeSeries::Asme40;
    GasService service = GasService::Workshop;
    // DN90 (NPS 3½) is rarely stocked and is offered only when asked for.
    bool allSizes = false;
};

struct PipeAdvice
{
    enum class Status {
        Sized,
        NotPositive, // the velocity check needs a positive flow and velocity
        BeyondTable, // larger than the series' largest bore
    };
    Status status = Status::NotPositive;
    Medium medium = Medium::Water;
    double diameter = 0.0; // mm, as computed
    AdviceOptions options;
    // The nearest sizes below and at or above the diameter; either may be missing at the ends of
    // the table.
    std::optional<SizeCheck> smaller;
    std::optional<SizeCheck> larger;
    bool recommendSmaller = false;

    const SizeCheck *recommended() const;
    const SizeCheck *alternative() const;
    // A water velocity in the recommended size below lowestWaterVelocity.
    bool slowWater() const;
};

// Advice for a sizing's flow (m3/h at working conditions) and diameter (mm). The size whose
// velocity lies in its usual range is recommended; where both or neither do, the larger one,
// since a bore below the diameter runs faster than the velocity chosen.
PipeAdvice advise(Medium medium, double flow, double diameter, const AdviceOptions &options = {});

// The advice in Simplified Chinese, as the window's tooltip and the sizer's advice lines say it.
std::string adviceText(const PipeAdvice &advice);

// "below", "inside" or "above", for CSV and JSON.
const char *checkName(VelocityCheck check);
// What a batch's v_check column and --json's v_check say: a check, or "not-positive" or
// "beyond-table".
const char *statusName(const PipeAdvice &advice);

} // namespace tovrik
