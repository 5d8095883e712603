#include "core/pipes.h"

#include "core/text.h"

#include <algorithm>
#include <iterator>
#include <numbers>

namespace tovrik {

namespace {

// ASME B36.10M-2004, Welded and Seamless Wrought Steel Pipe, table 1: outside diameter and the
// schedule 40 wall, in mm. NPS 22 (DN550) has no schedule 40 and is not listed.
constexpr PipeSize table[] = {
    {15, 21.3, 2.77},    {20, 26.7, 2.87},    {25, 33.4, 3.38},    {32, 42.2, 3.56},
    {40, 48.3, 3.68},    {50, 60.3, 3.91},    {65, 73.0, 5.16},    {80, 88.9, 5.49},
    {90, 101.6, 5.74},   {100, 114.3, 6.02},  {125, 141.3, 6.55},  {150, 168.3, 7.11},
    {200, 219.1, 8.18},  {250, 273.0, 9.27},  {300, 323.8, 10.31}, {350, 355.6, 11.13},
    {400, 406.4, 12.70}, {450, 457.0, 14.27}, {500, 508.0, 15.09}, {600, 610.0, 17.48},
};

void appendRange(std::string &out, VelocityRange range)
{
    if (range.low <= 0.0) {
        out += '<';
        appendFixed(out, range.high, 1);
        return;
    }
    const int decimals = range.high < 5.0 ? 1 : 0;
    appendFixed(out, range.low, decimals);
    out += '~';
    appendFixed(out, range.high, decimals);
}

} // namespace

std::span<const PipeSize> schedule40()
{
    return table;
}

std::optional<PipeSize> nominalSize(double diameter)
{
    // The bores grow with the nominal size, so the first that holds the diameter is the one.
    const auto found
        = std::partition_point(std::begin(table), std::end(table),
                               [&](const PipeSize &size) { return size.inside() < diameter; });
    if (found == std::end(table))
        return std::nullopt;
    return *found;
}

double realVelocity(double flow, double inside)
{
    const double metres = inside / 1000.0;
    return (flow / 3600.0) / (std::numbers::pi / 4.0 * metres * metres);
}

// The sheet's rows leave gaps and open ends between nominal sizes; each size is given to the
// row it is nearest to: DN32 to "<32", DN90 to "65~80", DN100 to ">100" for water, and DN100
// and DN200 to "100~200" for steam, as the sheet writes them.
VelocityRange usualVelocity(Medium medium, int dn)
{
    switch (medium) {
    case Medium::Steam:
        if (dn < 100)
            return {20.0, 40.0};
        if (dn <= 200)
            return {30.0, 50.0};
        return {40.0, 60.0};
    case Medium::Water:
        if (dn <= 32)
            return {0.5, 0.7};
        if (dn <= 50)
            return {0.7, 1.0};
        if (dn <= 90)
            return {1.0, 1.6};
        return {0.0, 2.0};
    case Medium::Air: break;
    }
    return {8.0, 15.0};
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

std::optional<PipeAdvice> advise(Medium medium, double flow, double diameter)
{
    const std::optional<PipeSize> size = nominalSize(diameter);
    if (!size)
        return std::nullopt;
    const double velocity = realVelocity(flow, size->inside());
    const VelocityRange usual = usualVelocity(medium, size->dn);
    return PipeAdvice {*size, velocity, usual, checkVelocity(velocity, usual)};
}

std::string adviceText(const std::optional<PipeAdvice> &advice)
{
    std::string text;
    if (!advice) {
        text += "管径超出 DN600（ASME B36.10M 40 号壁厚，内径 ";
        appendFixed(text, table[std::size(table) - 1].inside(), 2);
        text += " mm），请选用多根管道或更大的管子。";
        return text;
    }
    const char *verdict = advice->check == VelocityCheck::Below ? "偏低"
        : advice->check == VelocityCheck::Above                 ? "偏高"
                                                                : "合适";
    text += "选用 DN";
    text += std::to_string(advice->size.dn);
    text += "（ASME B36.10M 40 号壁厚，内径 ";
    appendFixed(text, advice->size.inside(), 2);
    text += " mm）\n实际流速 ";
    appendFixed(text, advice->velocity, 2);
    text += " m/s，常用流速 ";
    appendRange(text, advice->usual);
    text += " m/s，";
    text += verdict;
    text += "。";
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

} // namespace tovrik
