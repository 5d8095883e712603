#include "core/pipes.h"

#include "core/messages.h"
#include "core/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <numbers>

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

constexpr int rarelyStocked = 90; // NPS 3½

void appendRange(std::string &out, VelocityRange range)
{
    const int decimals = range.high < 5.0 ? 1 : 0;
    if (range.low <= 0.0) {
        out += '<';
        appendFixed(out, range.high, decimals);
        return;
    }
    appendFixed(out, range.low, decimals);
    out += '~';
    appendFixed(out, range.high, decimals);
}

} // namespace

const char *verdictText(VelocityCheck check)
{
    switch (check) {
    case VelocityCheck::Below: return "偏低";
    case VelocityCheck::Inside: return "合适";
    case VelocityCheck::Above: return "偏高";
    }
    return "";
}

std::string rangeText(VelocityRange range)
{
    std::string text;
    appendRange(text, range);
    return text;
}

const char *seriesTitle(PipeSeries series)
{
    return series == PipeSeries::Chinese ? "国内公制系列" : "ASME B36.10M Sch40";
}

namespace {

// "DN150（…）：实际流速 1.57 m/s，常用流速 <2.0 m/s（参考表：热水、水 >100），合适"
void appendCheck(std::string &out, const SizeCheck &check, const PipeAdvice &advice)
{
    out += pipeName(check.size, advice.options.series);
    out += "：实际流速 ";
    appendFixed(out, check.velocity, 2);
    out += " m/s，常用流速 ";
    appendRange(out, check.usual.range);
    out += " m/s（参考表：";
    out += check.usual.section;
    out += ' ';
    out += check.usual.row;
    if (!check.usual.reading.empty()) {
        out += "，";
        out += check.usual.reading;
    }
    out += "），";
    out += verdictText(check.check);
}

// Why a velocity check cannot be judged: "蒸汽的比容u须为正数，才能校核流速。"
void appendUnjudged(std::string &out, const PipeAdvice &advice)
{
    if (advice.unjudged == Operand::None) {
        out += "流速校核需要正的流量和流速。";
        return;
    }
    out += inputDescription(advice.medium, advice.unjudged);
    switch (advice.unjudged) {
    case Operand::Pressure: out += "须为正的绝对压力"; break;
    case Operand::Temperature: out += "须高于绝对零度（-273.15 °C）"; break;
    default: out += "须为正数"; break;
    }
    out += "，才能校核流速。";
}

} // namespace

std::span<const PipeSize> pipeTable(PipeSeries series)
{
    if (series == PipeSeries::Chinese)
        return chinese;
    return asme40;
}

std::string boreText(const PipeSize &size, PipeSeries series)
{
    if (series == PipeSeries::Chinese)
        return shortestText(size.bore);
    std::string text;
    appendFixed(text, size.bore, 2);
    return text;
}

std::string pipeName(const PipeSize &size, PipeSeries series)
{
    std::string name = "DN" + std::to_string(size.dn) + "（";
    if (series == PipeSeries::Chinese) {
        name += "Φ";
        name += shortestText(size.outside);
        name += "×";
        name += shortestText(size.wall);
    } else {
        name += "ASME B36.10M Sch40";
    }
    name += "，内径 ";
    name += boreText(size, series);
    name += " mm）";
    return name;
}

double realVelocity(double flow, double bore)
{
    const double metres = bore / 1000.0;
    return (flow / 3600.0) / (std::numbers::pi / 4.0 * metres * metres);
}

// The sheet's rows leave gaps and open ends between nominal sizes; each size is given to the
// row it is nearest to: DN32 to "<32", DN90 to "65~80", DN100 to ">100" for water, and DN100
// and DN200 to "100~200" for steam, as the sheet writes them.
VelocityBand usualBand(Medium medium, int dn, GasService service)
{
    switch (medium) {
    case Medium::Steam:
        if (dn < 100)
            return {{20.0, 40.0}, "饱和蒸汽", "<100", {}};
        if (dn <= 200)
            return {{30.0, 50.0}, "饱和蒸汽", "100~200", {}};
        return {{40.0, 60.0}, "饱和蒸汽", ">200", {}};
    case Medium::Water:
        if (dn < 32)
            return {{0.5, 0.7}, "热水、水", "<32", {}};
        if (dn == 32)
            return {{0.5, 0.7}, "热水、水", "<32", "DN32 归入此行"};
        if (dn <= 50)
            return {{0.7, 1.0}, "热水、水", "40~50", {}};
        if (dn <= 80)
            return {{1.0, 1.6}, "热水、水", "65~80", {}};
        if (dn < 100)
            return {{1.0, 1.6}, "热水、水", "65~80", "DN90 归入此行"};
        if (dn == 100)
            return {{0.0, 2.0}, "热水、水", ">100", "DN100 归入此行"};
        return {{0.0, 2.0}, "热水、水", ">100", {}};
    case Medium::Air: break;
    }
    switch (service) {
    case GasService::Site: return {{8.0, 10.0}, "压缩空气", "厂区", {}};
    case GasService::NaturalGas: return {{0.0, 25.0}, "压缩空气", "天然气", {}};
    case GasService::Workshop: break;
    }
    return {{8.0, 15.0}, "压缩空气", "车间", {}};
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

const SizeCheck *PipeAdvice::recommended() const
{
    if (status != Status::Sized)
        return nullptr;
    return recommendSmaller ? &*smaller : &*larger;
}

const SizeCheck *PipeAdvice::alternative() const
{
    if (status != Status::Sized)
        return nullptr;
    const std::optional<SizeCheck> &other = recommendSmaller ? larger : smaller;
    return other ? &*other : nullptr;
}

bool PipeAdvice::slowWater() const
{
    const SizeCheck *check = recommended();
    return medium == Medium::Water && check && check->velocity < lowestWaterVelocity;
}

PipeAdvice advise(Medium medium, double flow, double diameter, const AdviceOptions &options)
{
    PipeAdvice advice;
    advice.medium = medium;
    advice.diameter = diameter;
    advice.options = options;
    // Two negatives give a real diameter but no velocity to judge: the flow itself is negative.
    if (!(flow > 0.0) || !(diameter > 0.0) || !std::isfinite(diameter) || !std::isfinite(flow))
        return advice;

    const auto check = [&](const PipeSize &size) {
        const double velocity = realVelocity(flow, size.bore);
        const VelocityBand usual = usualBand(medium, size.dn, options.service);
        return SizeCheck {size, velocity, usual, checkVelocity(velocity, usual.range)};
    };
    const std::span<const PipeSize> table = pipeTable(options.series);
    const auto offered
        = [&](const PipeSize &size) { return options.allSizes || size.dn != rarelyStocked; };
    // The bores grow with the sizes: the first that holds the diameter, and the one before it.
    const auto at = std::partition_point(
        table.begin(), table.end(), [&](const PipeSize &size) { return size.bore < diameter; });
    auto larger = std::find_if(at, table.end(), offered);
    auto smaller = std::find_if(std::make_reverse_iterator(at), table.rend(), offered);
    if (larger != table.end())
        advice.larger = check(*larger);
    if (smaller != table.rend())
        advice.smaller = check(*smaller);
    if (!advice.larger) {
        advice.status = PipeAdvice::Status::BeyondTable;
        return advice;
    }
    advice.status = PipeAdvice::Status::Sized;
    const auto is = [](const std::optional<SizeCheck> &size, VelocityCheck verdict) {
        return size && size->check == verdict;
    };
    if (is(advice.larger, VelocityCheck::Inside))
        return advice;
    // A smaller bore runs faster: it is the one nearer the range when both run too slow.
    advice.recommendSmaller = is(advice.smaller, VelocityCheck::Inside)
        || (is(advice.smaller, VelocityCheck::Below) && is(advice.larger, VelocityCheck::Below));
    if (advice.recommendSmaller && advice.smaller->check == VelocityCheck::Inside)
        return advice;

    // Neither runs within its range: the nearest size that does, looked for on both sides,
    // first on the side the velocities point to. Large water pipes have no lower bound on the
    // sheet, but water slower than any it gives is no answer.
    advice.bandSearched = true;
    const auto usual = [&](const SizeCheck &c) {
        return c.check == VelocityCheck::Inside
            && !(medium == Medium::Water && c.velocity < lowestWaterVelocity);
    };
    const bool downFirst = advice.recommendSmaller;
    auto down = smaller;
    auto up = larger;
    while (down != table.rend() || up != table.end()) {
        for (const bool downward : {downFirst, !downFirst}) {
            if (downward && down != table.rend() && ++down != table.rend() && offered(*down)) {
                if (const SizeCheck c = check(*down); usual(c)) {
                    advice.inBand = c;
                    return advice;
                }
            }
            if (!downward && up != table.end() && ++up != table.end() && offered(*up)) {
                if (const SizeCheck c = check(*up); usual(c)) {
                    advice.inBand = c;
                    return advice;
                }
            }
        }
    }
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

std::string adviceText(const PipeAdvice &advice)
{
    std::string text;
    switch (advice.status) {
    case PipeAdvice::Status::NotPositive: appendUnjudged(text, advice); return text;
    case PipeAdvice::Status::BeyondTable: {
        const PipeSize &largest = pipeTable(advice.options.series).back();
        text += "管径超出 ";
        text += pipeName(largest, advice.options.series);
        text += "，请选用更大管径或多根并联。";
        return text;
    }
    case PipeAdvice::Status::Sized: break;
    }
    text += "推荐 ";
    appendCheck(text, *advice.recommended(), advice);
    if (advice.recommendSmaller) {
        text += "；内径小于算得的 ";
        appendFixed(text, advice.diameter, 2);
        text += " mm，实际流速高于设计流速";
    }
    text += "。";
    if (const SizeCheck *other = advice.alternative()) {
        text += advice.recommendSmaller ? "\n大一号 " : "\n小一号 ";
        appendCheck(text, *other, advice);
        text += "。";
    }
    if (advice.inBand) {
        text += "\n常用流速范围内最近的管径：";
        appendCheck(text, *advice.inBand, advice);
        text += "。";
    } else if (advice.bandSearched) {
        text += "\n本系列没有实际流速在常用流速范围内的管径。";
    }
    if (advice.slowWater()) {
        text += "\n提示：实际流速低于水的常用流速下限 ";
        appendFixed(text, lowestWaterVelocity, 1);
        text += " m/s，请核对流量，或选用更小的管径。";
    }
    return text;
}

const char *checkName(VelocityCheck check)
{
    switch (check) {
    case VelocityCheck::Below: return "below";
    case VelocityCheck::Inside: return "inside";
    case VelocityCheck::Above: return "above";
    }
    return "";
}

const char *statusName(const PipeAdvice &advice)
{
    switch (advice.status) {
    case PipeAdvice::Status::NotPositive: return "not-positive";
    case PipeAdvice::Status::BeyondTable: return "beyond-table";
    case PipeAdvice::Status::Sized: break;
    }
    return checkName(advice.recommended()->check);
}

} // namespace tovrik
