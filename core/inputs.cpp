#include "core/inputs.h"

#include "base/text.h"
#include "base/utf8.h"

#include <algorithm>
#include <cstring>

namespace tovrik {

namespace {

// A name as typed with a Chinese input method: full-width letters, digits and brackets count as
// their ASCII twins, and ASCII or ideographic blanks around it do not count.
std::string plainName(std::string_view name)
{
    std::string plain;
    plain.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t start = pos;
        char32_t cp;
        if (!decodeUtf8(name, pos, cp)) {
            plain += name[start];
            pos = start + 1;
            continue;
        }
        if (cp >= 0xFF01 && cp <= 0xFF5E)
            cp -= 0xFEE0;
        else if (cp == 0x3000)
            cp = U' ';
        appendUtf8(plain, cp);
    }
    return std::string(withoutBlanks(plain));
}

} // namespace

std::optional<Medium> mediumFromName(std::string_view name)
{
    // The usual spellings first, compared at their known lengths: a batch asks once a row.
    const auto is = [&](std::string_view usual) {
        return name.size() == usual.size()
            && std::memcmp(name.data(), usual.data(), usual.size()) == 0;
    };
    if (is("air"))
        return Medium::Air;
    if (is("steam"))
        return Medium::Steam;
    if (is("water"))
        return Medium::Water;
    const std::string plain = plainName(name);
    const auto isNamed
        = [&](std::string_view english) { return equalsIgnoringCase(plain, english); };
    const auto any = [&](std::initializer_list<std::string_view> names) {
        return std::find(names.begin(), names.end(), plain) != names.end();
    };
    // The panels' own captions and the reference sheet's headings too.
    if (isNamed("air") || any({"压缩空气", "压缩空气(各种气体)", "空气"}))
        return Medium::Air;
    if (isNamed("steam") || any({"蒸汽", "饱和蒸汽", "过热蒸汽"}))
        return Medium::Steam;
    if (isNamed("water") || any({"水", "热水"}))
        return Medium::Water;
    return std::nullopt;
}

std::string_view mediumName(Medium medium)
{
    switch (medium) {
    case Medium::Air: return "air";
    case Medium::Steam: return "steam";
    case Medium::Water: return "water";
    }
    return {};
}

std::optional<GasService> gasServiceFromName(std::string_view name)
{
    const std::string plain = plainName(name);
    name = plain;
    const auto is = [&](std::string_view english) { return equalsIgnoringCase(name, english); };
    if (is("workshop") || name == "车间")
        return GasService::Workshop;
    if (is("site") || name == "厂区")
        return GasService::Site;
    if (is("natural-gas") || name == "天然气")
        return GasService::NaturalGas;
    return std::nullopt;
}

std::optional<PipeSeries> seriesFromName(std::string_view name)
{
    return seriesFromCode(plainName(name));
}

std::string_view seriesName(PipeSeries series)
{
    return seriesCode(series);
}

std::string_view gasServiceName(GasService service)
{
    switch (service) {
    case GasService::Workshop: return "workshop";
    case GasService::Site: return "site";
    case GasService::NaturalGas: return "natural-gas";
    }
    return {};
}

std::optional<Gas> gasFromTypedName(std::string_view name)
{
    return gasFromName(plainName(name));
}

std::optional<VelocityRows> velocityRowsFromName(std::string_view name)
{
    const std::string plain = plainName(name);
    if (equalsIgnoringCase(plain, "cited") || plain == "标准")
        return VelocityRows::Cited;
    if (equalsIgnoringCase(plain, "sheet") || plain == "参考表")
        return VelocityRows::Sheet;
    return std::nullopt;
}

std::optional<DropLimitBasis> dropLimitBasisFromName(std::string_view name)
{
    std::string plain = plainName(name);
    std::erase(plain, ' ');
    if (equalsIgnoringCase(plain, "line") || plain == "全线")
        return DropLimitBasis::Line;
    if (equalsIgnoringCase(plain, "100m") || plain == "每100m")
        return DropLimitBasis::Per100m;
    return std::nullopt;
}

std::string_view velocityRowsName(VelocityRows rows)
{
    return rows == VelocityRows::Sheet ? "sheet" : "cited";
}

Choices choicesOf(const SizingRequest &request)
{
    Choices choices;
    choices.advice = request.advice;
    // The first name not known, in this order, is the one reported.
    const auto chosen = [&](Input input, auto fromName, auto &into) {
        const std::optional<std::string_view> &name = request[input];
        if (choices.unknown || !name || withoutBlanks(*name).empty())
            return;
        if (const auto value = fromName(*name))
            into = *value;
        else
            choices.unknown = input;
    };
    chosen(Input::Service, gasServiceFromName, choices.advice.service);
    chosen(Input::Series, seriesFromName, choices.advice.series);
    chosen(Input::FlowBasis, flowBasisFromName, choices.flowBasis);
    chosen(Input::Gas, gasFromTypedName, choices.advice.gas);
    chosen(Input::VelocityRows, velocityRowsFromName, choices.advice.rows);
    DropLimitBasis basis = DropLimitBasis::Line;
    chosen(Input::MaxDropBasis, dropLimitBasisFromName, basis);
    return choices;
}

} // namespace tovrik
