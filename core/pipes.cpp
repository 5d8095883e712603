#include "core/pipes.h"

#include "base/text.h"
#include "core/servicelimits.h"
#include "core/velocitytables.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>
#include <vector>

namespace tovrik {

namespace {

// ASME B36.10M-2004, Welded and Seamless Wrought Steel Pipe, table 1: outside diameter and the
// schedule 40 wall, in mm, and the bore they leave. NPS 22 (DN550) has no schedule 40 and is not
// listed.
constexpr PipeSize asme40[] = {
    {15, 21.3, 2.77, 15.76},     {20, 26.7, 2.87, 20.96},     {25, 33.4, 3.38, 26.64},
    {32, 42.2, 3.56, 35.08},     {40, 48.3, 3.68, 40.94},     {50, 60.3, 3.91, 52.48},
    {65, 73.0, 5.16, 62.68},     {80, 88.9, 5.49, 77.92},     {90, 101.6, 5.74, 90.12},
    {100, 114.3, 6.02, 102.26},  {125, 141.3, 6.55, 128.20},  {150, 168.3, 7.11, 154.08},
    {200, 219.1, 8.18, 202.74},  {250, 273.0, 9.27, 254.46},  {300, 323.8, 10.31, 303.18},
    {350, 355.6, 11.13, 333.34}, {400, 406.4, 12.70, 381.00}, {450, 457.0, 14.27, 428.46},
    {500, 508.0, 15.09, 477.82}, {600, 610.0, 17.48, 575.04},
};

// The metric series of Chinese piping: the outside diameters of HG/T 20553-2011 (化工配管用无缝
// 及焊接钢管尺寸选用系列), series Ⅰb, which GB/T 17395 lists among its sizes, with the wall
// usual for carbon-steel process pipe of low and medium pressure, in mm.
constexpr PipeSize chinese[] = {
    {15, 18, 3.0, 12},    {20, 25, 3.0, 19},    {25, 32, 3.5, 25},     {32, 38, 3.5, 31},
    {40, 45, 3.5, 38},    {50, 57, 3.5, 50},    {65, 76, 4.0, 68},     {80, 89, 4.0, 81},
    {100, 108, 4.0, 100}, {125, 133, 4.0, 125}, {150, 159, 4.5, 150},  {200, 219, 6.0, 207},
    {250, 273, 7.0, 259}, {300, 325, 8.0, 309}, {350, 377, 9.0, 359},  {400, 426, 9.0, 408},
    {450, 480, 9.0, 462}, {500, 530, 9.0, 512}, {600, 630, 10.0, 610},
};

// ASME B36.10M-2004, table 1: the schedule 80 wall on the same outside diameters.
constexpr PipeSize asme80[] = {
    {15, 21.3, 3.73, 13.84},     {20, 26.7, 3.91, 18.88},     {25, 33.4, 4.55, 24.30},
    {32, 42.2, 4.85, 32.50},     {40, 48.3, 5.08, 38.14},     {50, 60.3, 5.54, 49.22},
    {65, 73.0, 7.01, 58.98},     {80, 88.9, 7.62, 73.66},     {90, 101.6, 8.08, 85.44},
    {100, 114.3, 8.56, 97.18},   {125, 141.3, 9.53, 122.24},  {150, 168.3, 10.97, 146.36},
    {200, 219.1, 12.70, 193.70}, {250, 273.0, 15.09, 242.82}, {300, 323.8, 17.48, 288.84},
    {350, 355.6, 19.05, 317.50}, {400, 406.4, 21.44, 363.52}, {450, 457.0, 23.83, 409.34},
    {500, 508.0, 26.19, 455.62}, {600, 610.0, 30.96, 548.08},
};

// ASME B36.19M-2004, Stainless Steel Pipe, table 1: the schedule 10S wall. Its outside diameters
// are B36.10M's but for NPS 10 and 12, which it gives as 273.1 and 323.9 mm (10.750 and 12.750
// in) where B36.10M-2004 has 273.0 and 323.8.
constexpr PipeSize asme10s[] = {
    {15, 21.3, 2.11, 17.08},    {20, 26.7, 2.11, 22.48},    {25, 33.4, 2.77, 27.86},
    {32, 42.2, 2.77, 36.66},    {40, 48.3, 2.77, 42.76},    {50, 60.3, 2.77, 54.76},
    {65, 73.0, 3.05, 66.90},    {80, 88.9, 3.05, 82.80},    {90, 101.6, 3.05, 95.50},
    {100, 114.3, 3.05, 108.20}, {125, 141.3, 3.40, 134.50}, {150, 168.3, 3.40, 161.50},
    {200, 219.1, 3.76, 211.58}, {250, 273.1, 4.19, 264.72}, {300, 323.9, 4.57, 314.76},
    {350, 355.6, 4.78, 346.04}, {400, 406.4, 4.78, 396.84}, {450, 457.0, 4.78, 447.44},
    {500, 508.0, 5.54, 496.92}, {600, 610.0, 6.35, 597.30},
};

// ASME B36.19M-2004, table 1: the schedule 40S wall, which is schedule 40's up to NPS 10 and
// 9.53 mm for NPS 12. The standard lists schedule 40S only to NPS 12 (DN300): its scope names
// NPS 12 as the one 40S wall that differs from B36.10M's schedule 40, which a 9.53 mm 40S at NPS
// 14 and up (schedule 40 there: 11.13 mm and more) would also be.
constexpr PipeSize asme40s[] = {
    {15, 21.3, 2.77, 15.76},    {20, 26.7, 2.87, 20.96},    {25, 33.4, 3.38, 26.64},
    {32, 42.2, 3.56, 35.08},    {40, 48.3, 3.68, 40.94},    {50, 60.3, 3.91, 52.48},
    {65, 73.0, 5.16, 62.68},    {80, 88.9, 5.49, 77.92},    {90, 101.6, 5.74, 90.12},
    {100, 114.3, 6.02, 102.26}, {125, 141.3, 6.55, 128.20}, {150, 168.3, 7.11, 154.08},
    {200, 219.1, 8.18, 202.74}, {250, 273.1, 9.27, 254.56}, {300, 323.9, 9.53, 304.84},
};

// GB/T 3091-2008, 低压流体输送用焊接钢管, table 1: the outside diameter of each 公称口径 and the
// wall of 普通钢管, DN15 to DN150, in mm.
constexpr PipeSize gb3091[] = {
    {15, 21.3, 2.8, 15.7},    {20, 26.9, 2.8, 21.3},    {25, 33.7, 3.2, 27.3},
    {32, 42.4, 3.5, 35.4},    {40, 48.3, 3.5, 41.3},    {50, 60.3, 3.8, 52.7},
    {65, 76.1, 4.0, 68.1},    {80, 88.9, 4.0, 80.9},    {100, 114.3, 4.0, 106.3},
    {125, 139.7, 4.0, 131.7}, {150, 168.3, 4.5, 159.3},
};

struct SeriesDef
{
    PipeSeries series;
    const char *name; // for the command line and CSV
    const char *title; // as engineers name it
    std::span<const PipeSize> sizes;
    bool byOutside; // named by Φ outside × wall, not by schedule; bores as few digits as needed
    const char *citation; // the standard and edition its sizes are typed from
};

constexpr SeriesDef seriesDefs[] = {
    {PipeSeries::Asme40, "asme40", "ASME B36.10M Sch40", asme40, false, "ASME B36.10M-2004，表 1"},
    {PipeSeries::Chinese, "cn", "国内公制系列", chinese, true,
     "HG/T 20553-2011 Ⅰb 系列外径，GB/T 17395"},
    {PipeSeries::Asme80, "asme80", "ASME B36.10M Sch80", asme80, false, "ASME B36.10M-2004，表 1"},
    {PipeSeries::Asme10S, "asme10s", "ASME B36.19M Sch10S", asme10s, false,
     "ASME B36.19M-2004，表 1"},
    {PipeSeries::Asme40S, "asme40s", "ASME B36.19M Sch40S", asme40s, false,
     "ASME B36.19M-2004，表 1"},
    {PipeSeries::Gb3091, "gb3091", "GB/T 3091 焊接钢管", gb3091, true, "GB/T 3091-2008，表 1"},
};

const SeriesDef &seriesDef(PipeSeries series)
{
    return seriesDefs[static_cast<std::size_t>(series)];
}

constexpr int rarelyStocked = 90; // NPS 3½

// The sizes a series offers, bores increasing: all of them, or all but the rarely stocked one.
// Worked out once, with the tables.
struct Offered
{
    std::array<PipeSize, 24> sizes {};
    std::size_t count = 0;
};

constexpr Offered offeredOf(std::span<const PipeSize> table, bool allSizes)
{
    Offered offered;
    for (const PipeSize &size : table) {
        if (allSizes || size.dn != rarelyStocked)
            offered.sizes[offered.count++] = size;
    }
    return offered;
}

} // namespace

const char *seriesTitle(PipeSeries series)
{
    return seriesDef(series).title;
}

const char *seriesCitation(PipeSeries series)
{
    return seriesDef(series).citation;
}

const char *seriesCode(PipeSeries series)
{
    return seriesDef(series).name;
}

std::optional<PipeSeries> seriesFromCode(std::string_view name)
{
    for (const SeriesDef &def : seriesDefs) {
        if (equalsIgnoringCase(name, def.name))
            return def.series;
    }
    return std::nullopt;
}

std::span<const PipeSize> pipeTable(PipeSeries series)
{
    return seriesDef(series).sizes;
}

std::span<const PipeSize> offeredSizes(const AdviceOptions &options)
{
    // Made once, on first use: clang 14 cannot evaluate this at compile time.
    static const auto offered = [] {
        std::array<std::array<Offered, 2>, std::size(seriesDefs)> all {};
        for (std::size_t i = 0; i < std::size(seriesDefs); ++i)
            all[i] = {offeredOf(seriesDefs[i].sizes, false), offeredOf(seriesDefs[i].sizes, true)};
        return all;
    }();
    const Offered &sizes
        = offered[static_cast<std::size_t>(options.series)][options.allSizes ? 1 : 0];
    return std::span(sizes.sizes.data(), sizes.count);
}

// Every bore has at most two decimals: the hundredths the table keeps are the bore itself.
static_assert(std::ranges::all_of(seriesDefs, [](const SeriesDef &def) {
    return std::ranges::all_of(
        def.sizes, [](const PipeSize &size) { return size.hundredths / 100.0 == size.bore; });
}));

char *writeBoreText(char *first, char *last, const PipeSize &size, PipeSeries series)
{
    // From the hundredths: "154.08", or for a series named by its outside diameters only the
    // decimals there are, "150" and "131.7".
    const int whole = size.hundredths / 100;
    const int fraction = size.hundredths % 100;
    char *out = std::to_chars(first, last, whole).ptr;
    if (last - out < 3)
        return out;
    const bool byOutside = seriesDef(series).byOutside;
    if (byOutside && fraction == 0)
        return out;
    *out++ = '.';
    *out++ = static_cast<char>('0' + fraction / 10);
    if (byOutside && fraction % 10 == 0)
        return out;
    *out++ = static_cast<char>('0' + fraction % 10);
    return out;
}

char *writeSizeText(char *first, char *last, const PipeSize &size, PipeSeries series)
{
    const SeriesDef &def = seriesDef(series);
    const auto put = [&](std::string_view text) {
        const std::size_t room = std::min(text.size(), std::size_t(last - first));
        first = std::copy_n(text.data(), room, first);
    };
    if (!def.byOutside) {
        const std::string_view title = def.title;
        put(title.substr(title.rfind(' ') + 1)); // "Sch40"
        return first;
    }
    put("Φ");
    first = std::to_chars(first, last, size.outside).ptr;
    put("×");
    return std::to_chars(first, last, size.wall).ptr;
}

std::string boreText(const PipeSize &size, PipeSeries series)
{
    char text[48];
    return std::string(text, writeBoreText(text, text + sizeof text, size, series));
}

std::string pipeName(const PipeSize &size, PipeSeries series)
{
    std::string name = "DN" + std::to_string(size.dn) + "（";
    if (series == PipeSeries::Gb3091)
        name += "GB/T 3091 ";
    if (seriesDef(series).byOutside) {
        name += "Φ";
        name += shortestText(size.outside);
        name += "×";
        name += shortestText(size.wall);
    } else {
        name += seriesDef(series).title;
    }
    name += "，内径 ";
    name += boreText(size, series);
    name += " mm）";
    return name;
}

namespace {

// The reference sheet's rows of usual velocities for steam and water, each with the largest
// nominal size read into it. The rows leave gaps and open ends between nominal sizes; each size
// is given to the row it is nearest to: DN32 to "<32", DN90 to "65~80", DN100 to ">100" for
// water, and DN100 and DN200 to "100~200" for steam, as the sheet writes them.
struct BandRow
{
    Medium medium;
    int largest;
    VelocityBand band;
};
constexpr int anySize = std::numeric_limits<int>::max();
constexpr BandRow bandRows[] = {
    {Medium::Steam, 99, {{20.0, 40.0}, "饱和蒸汽", "<100", {}, VelocityBand::referenceSheet}},
    {Medium::Steam, 200, {{30.0, 50.0}, "饱和蒸汽", "100~200", {}, VelocityBand::referenceSheet}},
    {Medium::Steam, anySize, {{40.0, 60.0}, "饱和蒸汽", ">200", {}, VelocityBand::referenceSheet}},
    {Medium::Water, 31, {{0.5, 0.7}, "热水、水", "<32", {}, VelocityBand::referenceSheet}},
    {Medium::Water,
     32,
     {{0.5, 0.7}, "热水、水", "<32", "DN32 归入此行", VelocityBand::referenceSheet}},
    {Medium::Water, 50, {{0.7, 1.0}, "热水、水", "40~50", {}, VelocityBand::referenceSheet}},
    {Medium::Water, 80, {{1.0, 1.6}, "热水、水", "65~80", {}, VelocityBand::referenceSheet}},
    {Medium::Water,
     99,
     {{1.0, 1.6}, "热水、水", "65~80", "DN90 归入此行", VelocityBand::referenceSheet}},
    {Medium::Water,
     100,
     {{0.0, 2.0}, "热水、水", ">100", "DN100 归入此行", VelocityBand::referenceSheet}},
    {Medium::Water, anySize, {{0.0, 2.0}, "热水、水", ">100", {}, VelocityBand::referenceSheet}},
};

// Compressed air's rows, by where it is used (GasService's order), whatever the size.
constexpr VelocityBand airBands[] = {
    {{8.0, 15.0}, "压缩空气", "车间", {}, VelocityBand::referenceSheet},
    {{8.0, 10.0}, "压缩空气", "厂区", {}, VelocityBand::referenceSheet},
    {{0.0, 25.0}, "压缩空气", "天然气", {}, VelocityBand::referenceSheet},
};

} // namespace

const VelocityBand &sheetBand(Medium medium, int dn, GasService service)
{
    if (medium == Medium::Air)
        return airBands[static_cast<std::size_t>(service)];
    for (const BandRow &row : bandRows) {
        if (row.medium == medium && dn <= row.largest)
            return row.band;
    }
    return bandRows[std::size(bandRows) - 1].band; // not reached: each medium ends in anySize
}

namespace {

// The cited tables' rows as bands, made once: a size's check points to its row for as long as the
// program runs.
const VelocityBand &citedSteamBand(const VelocityTable &table, int dn)
{
    struct Bands
    {
        std::vector<VelocityBand> bands;
        std::vector<std::size_t> first; // of each table
        Bands()
        {
            for (const VelocityTable &each : velocityTables()) {
                first.push_back(bands.size());
                for (const VelocityRow &row : each.rows)
                    bands.push_back({{row.low, row.high}, row.section, row.row, {}, each.title});
            }
        }
    };
    static const Bands cited;
    const std::span<const VelocityTable> tables = velocityTables();
    const std::size_t which = static_cast<std::size_t>(&table - tables.data());
    const VelocityRow &row = velocityRow(table, dn);
    return cited.bands[cited.first[which] + static_cast<std::size_t>(&row - table.rows.data())];
}

} // namespace

const VelocityBand &usualBand(Medium medium, int dn, const AdviceOptions &options)
{
    if (medium == Medium::Steam && options.rows == VelocityRows::Cited)
        return citedSteamBand(options.superheated ? superheatedSteamTable() : saturatedSteamTable(),
                              dn);
    return sheetBand(medium, dn, options.service);
}

namespace {

// The checks of one advice's sizes, each the same way: what judges them worked out once, as an
// advice checks a dozen sizes a row of a list.
class SizeJudge
{
public:
    SizeJudge(Medium medium, const AdviceOptions &options)
        : m_medium(medium)
        , m_service(options.service)
        // Oxygen's and hydrogen's velocities are their standards' to limit, not a usual range's.
        , m_governed(medium == Medium::Air && !velocityStandard(effectiveGas(options)).empty())
        , m_cited(medium == Medium::Steam && options.rows == VelocityRows::Cited
                      ? &(options.superheated ? superheatedSteamTable() : saturatedSteamTable())
                      : nullptr)
    {
    }

    SizeCheck operator()(double flow, const PipeSize &size) const
    {
        const double velocity = realVelocity(flow, size);
        const VelocityBand &usual
            = m_cited ? citedSteamBand(*m_cited, size.dn) : sheetBand(m_medium, size.dn, m_service);
        return SizeCheck {size, velocity, &usual,
                          m_governed ? VelocityCheck::Governed
                                     : checkVelocity(velocity, usual.range)};
    }

private:
    Medium m_medium;
    GasService m_service;
    bool m_governed;
    const VelocityTable *m_cited;
};

} // namespace

SizeCheck checkSize(Medium medium, double flow, const PipeSize &size, const AdviceOptions &options)
{
    return SizeJudge(medium, options)(flow, size);
}

// The sheet's bounds belong to the range: 20 m/s is a usual steam velocity in DN50.
VelocityCheck checkVelocity(double velocity, VelocityRange range)
{
    if (velocity < range.low)
        return VelocityCheck::Below;
    if (velocity > range.high)
        return VelocityCheck::Above;
    return VelocityCheck::Inside;
}

const SizeCheck *PipeAdvice::velocitySized() const
{
    if (status != Status::Sized)
        return nullptr;
    return recommendSmaller ? &*smaller : &*larger;
}

const SizeCheck *PipeAdvice::recommended() const
{
    return byDrop && status == Status::Sized ? &*byDrop : velocitySized();
}

std::string_view criterionName(const PipeAdvice &advice)
{
    return advice.byDrop ? "pressure-drop" : "velocity";
}

const SizeCheck *PipeAdvice::alternative() const
{
    if (status != Status::Sized || byDrop)
        return nullptr;
    const std::optional<SizeCheck> &other = recommendSmaller ? larger : smaller;
    return other ? &*other : nullptr;
}

bool PipeAdvice::slowWater() const
{
    const SizeCheck *check = recommended();
    return medium == Medium::Water && check && check->velocity < lowestWaterVelocity;
}

void advise(PipeAdvice &advice, Medium medium, double flow, double diameter,
            const AdviceOptions &options)
{
    static const PipeAdvice none; // copied, as a report's facts are
    advice = none;
    advice.medium = medium;
    advice.diameter = diameter;
    advice.options = options;
    // Two negatives give a real diameter but no velocity to judge: the flow itself is negative.
    if (!(flow > 0.0) || !(diameter > 0.0) || !std::isfinite(diameter) || !std::isfinite(flow))
        return;

    const SizeJudge judge(medium, options);
    const auto check = [&](const PipeSize &size) { return judge(flow, size); };
    const std::span<const PipeSize> sizes = offeredSizes(options);
    // The bores grow with the sizes: the first that holds the diameter, and the one before it.
    const std::size_t at = static_cast<std::size_t>(
        std::partition_point(sizes.begin(), sizes.end(),
                             [&](const PipeSize &size) { return size.bore < diameter; })
        - sizes.begin());
    if (at < sizes.size())
        advice.larger = check(sizes[at]);
    if (at > 0)
        advice.smaller = check(sizes[at - 1]);
    if (!advice.larger) {
        advice.status = PipeAdvice::Status::BeyondTable;
        return;
    }
    advice.status = PipeAdvice::Status::Sized;
    const auto is = [](const std::optional<SizeCheck> &size, VelocityCheck verdict) {
        return size && size->check == verdict;
    };
    if (is(advice.larger, VelocityCheck::Inside))
        return;
    // A smaller bore runs faster: it is the one nearer the range when both run too slow.
    advice.recommendSmaller = is(advice.smaller, VelocityCheck::Inside)
        || (is(advice.smaller, VelocityCheck::Below) && is(advice.larger, VelocityCheck::Below));
    if (advice.recommendSmaller && advice.smaller->check == VelocityCheck::Inside)
        return;
    // Where no usual range judges, the size at or above the diameter is the one, and no other
    // is nearer a range.
    if (advice.larger->check == VelocityCheck::Governed)
        return;

    // Neither runs within its range: the nearest size that does, looked for on both sides,
    // first on the side the velocities point to. Large water pipes have no lower bound on the
    // sheet, but water slower than any it gives is no answer.
    advice.bandSearched = true;
    const auto usual = [&](const SizeCheck &c) {
        return c.check == VelocityCheck::Inside
            && !(medium == Medium::Water && c.velocity < lowestWaterVelocity);
    };
    const bool downFirst = advice.recommendSmaller;
    // The next sizes to try below and above the two neighbours, outward one at a time.
    std::ptrdiff_t down = std::ptrdiff_t(at) - 2;
    std::size_t up = at + 1;
    while (down >= 0 || up < sizes.size()) {
        for (const bool downward : {downFirst, !downFirst}) {
            if (downward && down >= 0) {
                if (const SizeCheck c = check(sizes[std::size_t(down--)]); usual(c)) {
                    advice.inBand = c;
                    return;
                }
            }
            if (!downward && up < sizes.size()) {
                if (const SizeCheck c = check(sizes[up++]); usual(c)) {
                    advice.inBand = c;
                    return;
                }
            }
        }
    }
}

PipeAdvice advise(Medium medium, double flow, double diameter, const AdviceOptions &options)
{
    PipeAdvice advice;
    advise(advice, medium, flow, diameter, options);
    return advice;
}

PipeAdvice notAGas(double diameter, const NotAGas &state, const AdviceOptions &options)
{
    PipeAdvice advice;
    advice.status = PipeAdvice::Status::NotGas;
    advice.medium = Medium::Air;
    advice.diameter = diameter;
    advice.options = options;
    advice.notGas = state;
    return advice;
}

PipeAdvice unjudged(Medium medium, double diameter, Operand input, const AdviceOptions &options)
{
    PipeAdvice advice;
    advice.medium = medium;
    advice.diameter = diameter;
    advice.options = options;
    advice.unjudged = input;
    return advice;
}

std::string_view checkName(VelocityCheck check)
{
    switch (check) {
    case VelocityCheck::Below: return "below";
    case VelocityCheck::Inside: return "inside";
    case VelocityCheck::Above: return "above";
    case VelocityCheck::Governed: return "governed";
    }
    return "";
}

std::string_view statusName(const PipeAdvice &advice)
{
    switch (advice.status) {
    case PipeAdvice::Status::NotPositive: return "not-positive";
    case PipeAdvice::Status::BeyondTable: return "beyond-table";
    case PipeAdvice::Status::NotGas: return "not-gas";
    case PipeAdvice::Status::Sized: break;
    }
    return checkName(advice.recommended()->check);
}

} // namespace tovrik
