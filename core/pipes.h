#pragma once

#include "core/failure.h"
#include "core/gases.h"
#include "core/sizing.h"

#include <numbers>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// From a computed inner diameter to a real pipe: the standard sizes on either side of it, the
// velocity each really gives, and how that compares with the usual velocities of the reference
// sheet.
namespace tovrik {

// The pipe series an engineer orders from: ASME B36.10M schedules 40 and 80, ASME B36.19M
// stainless schedules 10S and 40S, the metric series of Chinese piping standards (Φ159×4.5), and
// GB/T 3091 welded pipe for low-pressure water.
enum class PipeSeries { Asme40, Chinese, Asme80, Asme10S, Asme40S, Gb3091 };

// The bore's cross-section in m2, pi/4 (bore/1000)^2: with the flow in m3/h, v = (Q/3600)/area.
constexpr double flowArea(double bore)
{
    const double metres = bore / 1000.0;
    return std::numbers::pi / 4.0 * metres * metres;
}

struct PipeSize
{
    int dn; // nominal size
    double outside; // mm
    double wall; // mm
    double bore; // mm, outside - 2 wall, to the table's precision
    // Worked out once with the table: a line list asks for the velocity in a dozen sizes a row,
    // and writes the bore on every row.
    double area = flowArea(bore);
    int hundredths = static_cast<int>(bore * 100.0 + 0.5); // the bore as the table gives it
};

// The series' sizes from DN15 up, bores increasing.
std::span<const PipeSize> pipeTable(PipeSeries series);

// The pipe as engineers write it: "DN150（ASME B36.10M Sch40，内径 154.08 mm）" or
// "DN150（Φ159×4.5，内径 150 mm）".
std::string pipeName(const PipeSize &size, PipeSeries series);
// The pipe's size as it is ordered: "Φ159×4.5", or the schedule, "Sch40"; written in
// [first, last), which has room for 48 bytes, returning its end.
char *writeSizeText(char *first, char *last, const PipeSize &size, PipeSeries series);
// The bore as the table gives it: two decimals for ASME, as few as needed for the metric series.
std::string boreText(const PipeSize &size, PipeSeries series);
// The same written in [first, last); returns its end.
char *writeBoreText(char *first, char *last, const PipeSize &size, PipeSeries series);

// Which line of the reference sheet's compressed-air rows applies to a gas.
enum class GasService { Workshop, Site, NaturalGas }; // 车间, 厂区, 天然气

// Velocity in m/s of a volume flow in m3/h through a bore in mm, or through a size of a table.
inline double realVelocity(double flow, double bore)
{
    return (flow / 3600.0) / flowArea(bore);
}
inline double realVelocity(double flow, const PipeSize &size)
{
    return (flow / 3600.0) / size.area;
}

struct VelocityRange
{
    double low; // m/s; 0 where the sheet gives only an upper bound
    double high;
};

// A row of a table of usual velocities, and how a nominal size that the table's rows leave
// between them is read into it.
struct VelocityBand
{
    VelocityRange range;
    std::string_view section; // the table's section heading: 饱和蒸汽, 压缩空气, 热水、水
    std::string_view row; // the row's 公称管径 cell: "<32", "100~200", 车间
    std::string_view reading; // for a size between the rows, e.g. "DN32 归入此行"; else empty
    std::string_view source; // the table: 参考表 (the window's), or a cited one's title
    bool sheet() const { return source == referenceSheet; }
    static constexpr std::string_view referenceSheet = "参考表";
};

// Which rows judge the velocities: for steam, the cited tables of saturated and of superheated
// steam apart, where the reference sheet has one set of rows for both; the reference sheet's
// rows for everything else, or, chosen, for steam too.
enum class VelocityRows : unsigned char { Cited, Sheet };

// The usual velocities of the reference sheet for a medium in a nominal size.
const VelocityBand &sheetBand(Medium medium, int dn, GasService service = GasService::Workshop);
inline VelocityRange usualVelocity(Medium medium, int dn, GasService service = GasService::Workshop)
{
    return sheetBand(medium, dn, service).range;
}

enum class VelocityCheck {
    Below,
    Inside,
    Above,
    Governed, // no usual range holds: the gas's own standard limits its velocity
};
VelocityCheck checkVelocity(double velocity, VelocityRange range);

// Below every usual velocity for water on the sheet (0.5 m/s), whatever the size: the sheet
// gives large water pipes only an upper bound.
inline constexpr double lowestWaterVelocity = 0.5;

struct SizeCheck
{
    PipeSize size;
    double velocity; // m/s
    const VelocityBand *usual; // the table's row, which lives as long as the program
    VelocityCheck check;
};

struct AdviceOptions
{
    PipeSeries series = PipeSeries::Chinese; // the domestic series Chinese plants order from
    GasService service = GasService::Workshop;
    // Of the air panel: its density and viscosity for the aids. None: air, or natural gas for a
    // natural-gas line.
    std::optional<Gas> gas = std::nullopt;
    // DN90 (NPS 3½) is rarely stocked and is offered only when asked for.
    bool allSizes = false;
    VelocityRows rows = VelocityRows::Cited;
    // Of the steam, as its inputs say: with its temperature it is superheated.
    bool superheated = false;
};

// The usual velocities that judge a medium in a nominal size, as the options choose the rows.
const VelocityBand &usualBand(Medium medium, int dn, const AdviceOptions &options);

// The sizes of the series the advice offers, bores increasing: every size the choice of
// pipes may name, by velocity or by the allowable drop, and the sheet may chart.
std::span<const PipeSize> offeredSizes(const AdviceOptions &options);

// A size's real velocity for a flow in m3/h, and how it compares with its usual range.
SizeCheck checkSize(Medium medium, double flow, const PipeSize &size, const AdviceOptions &options);

// The gas the aids take: the one chosen, or natural gas on a natural-gas line, else air.
inline Gas effectiveGas(const AdviceOptions &options)
{
    if (options.gas)
        return *options.gas;
    return options.service == GasService::NaturalGas ? Gas::NaturalGas : Gas::Air;
}

// A state of a gas that is no gas: below its critical temperature and at or above its vapour
// pressure, or below it where the vapour pressure is not known.
struct NotAGas
{
    double pressure; // MPa absolute
    double temperature; // degrees C
    bool liquid; // else the phase could not be judged
    double vapourPressure; // MPa, where liquid
    double criticalTemperature; // degrees C
};

struct PipeAdvice
{
    enum class Status {
        Sized,
        NotPositive, // an input the velocity check needs is not physically meaningful
        BeyondTable, // larger than the series' largest bore
        NotGas, // the air panel's gas is not a gas in the pipe
    };
    Status status = Status::NotPositive;
    Medium medium = Medium::Water;
    double diameter = 0.0; // mm, as computed
    AdviceOptions options;
    // For NotPositive, the input at fault: a flow, velocity or specific volume that is not
    // positive, an absolute pressure not above zero or a temperature not above absolute zero.
    // None: the flow at working conditions itself is not positive.
    Operand unjudged = Operand::None;
    std::optional<NotAGas> notGas; // for NotGas
    // The nearest sizes below and at or above the diameter; either may be missing at the ends of
    // the table.
    std::optional<SizeCheck> smaller;
    std::optional<SizeCheck> larger;
    bool recommendSmaller = false;
    // When neither neighbour runs within its usual velocities: the nearest size of the series
    // that does, if any.
    bool bandSearched = false;
    std::optional<SizeCheck> inBand;
    // Sizing by allowable pressure drop as well, in kPa over the line or per 100 m: the smallest
    // size whose velocity is not above its usual range and whose drop is within the limit, which
    // is then the one recommended. None where no size of the series is.
    std::optional<double> maxDrop;
    bool maxDropOverLine = false;
    std::optional<SizeCheck> byDrop;

    // By the allowable drop where it found a size, else by velocity.
    const SizeCheck *recommended() const;
    // By velocity alone: the preset-velocity method's choice.
    const SizeCheck *velocitySized() const;
    const SizeCheck *alternative() const;
    // A water velocity in the recommended size below lowestWaterVelocity.
    bool slowWater() const;
};

// Advice for a sizing's flow (m3/h at working conditions) and diameter (mm). The size whose
// velocity lies in its usual range is recommended; where both do, the larger one, since a bore
// below the diameter runs faster than the velocity chosen. Where neither does, the one nearer
// the range: the smaller when both run too slow, else the larger; and the nearest size of the
// series that does run within its range is named beside them.
PipeAdvice advise(Medium medium, double flow, double diameter, const AdviceOptions &options = {});
// The same into an existing advice, as a line list remakes one every row.
void advise(PipeAdvice &advice, Medium medium, double flow, double diameter,
            const AdviceOptions &options);
// No advice, because an input the velocity check needs is not physically meaningful.
PipeAdvice unjudged(Medium medium, double diameter, Operand input, const AdviceOptions &options);
// No advice, because the gas is not a gas at its state.
PipeAdvice notAGas(double diameter, const NotAGas &state, const AdviceOptions &options);

// The series as engineers name it: "ASME B36.10M Sch40", "国内公制系列".
const char *seriesTitle(PipeSeries series);
// The standard and edition its sizes come from: "ASME B36.10M-2004，表 1".
const char *seriesCitation(PipeSeries series);
// As the command line and CSV name it: "asme40", "cn", "gb3091".
const char *seriesCode(PipeSeries series);
std::optional<PipeSeries> seriesFromCode(std::string_view name);

// "velocity" or "pressure-drop": the criterion that chose the recommended size.
std::string_view criterionName(const PipeAdvice &advice);

// "below", "inside", "above" or "governed", for CSV and JSON.
std::string_view checkName(VelocityCheck check);
// What a batch's v_check column and --json's v_check say: a check, or "not-positive",
// "beyond-table" or "not-gas".
std::string_view statusName(const PipeAdvice &advice);

} // namespace tovrik
