#include "core/inputs.h"

#include "base/utf8.h"
#include "core/messages.h"
#include "core/renew.h"

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

std::string_view mediumTitle(Medium medium)
{
    switch (medium) {
    case Medium::Air: return "压缩空气";
    case Medium::Steam: return "蒸汽";
    case Medium::Water: return "水";
    }
    return {};
}

std::string_view columnDescription(const InputDef &input)
{
    if (input.operand == Operand::None) {
        if (input.field == &SizingInputs::service)
            return "气体用途";
        if (input.field == &SizingInputs::gas)
            return "气体";
        if (input.field == &SizingInputs::flowBasis)
            return "流量基准";
        return "管子系列";
    }
    for (const Medium medium : {Medium::Air, Medium::Steam, Medium::Water}) {
        if (takes(medium, input))
            return inputDescription(medium, input.operand);
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

std::string unknownServiceMessage(std::string_view name)
{
    return "不认识的气体用途“" + std::string(name)
        + "”，应为 workshop（车间）、site（厂区）或 natural-gas（天然气）。";
}

std::optional<PipeSeries> seriesFromName(std::string_view name)
{
    return seriesFromCode(plainName(name));
}

std::string unknownSeriesMessage(std::string_view name)
{
    return "不认识的管子系列“" + std::string(name)
        + "”，应为 asme40、asme80（ASME B36.10M Sch40、Sch80）、asme10s、asme40s（ASME B36.19M "
          "Sch10S、Sch40S）、cn（国内公制系列）或 gb3091（GB/T 3091 焊接钢管）。";
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

SizingReport sizeLine(Medium medium, const SizingInputs &inputs)
{
    SizingReport report;
    sizeLine(medium, inputs, report);
    return report;
}

void sizeLine(Medium medium, const SizingInputs &inputs, SizingReport &report)
{
    SizingRequest request;
    std::string error;
    if (!requestOf(medium, inputs, request, error)) {
        report.reset();
        report.error = std::move(error);
        return;
    }
    sizePipe(request, report);
}

bool requestOf(Medium medium, const SizingInputs &inputs, SizingRequest &request,
               std::string &error)
{
    // Made whole in place of the last one, every member not named here as a new request has it.
    renew(request, [&] {
        return SizingRequest {
            .medium = medium,
            .flow = inputs.flow,
            .pressure = inputs.pressure,
            .temperature = inputs.temperature,
            .specificVolume = inputs.specificVolume,
            .velocity = inputs.velocity,
            .steamPressure = inputs.steamPressure,
            .steamTemperature = inputs.steamTemperature,
            .roughness = inputs.roughness,
            .length = inputs.length,
            .fittings = inputs.fittings,
            .equivalentLength = inputs.equivalentLength,
            .maxDrop = inputs.maxDrop,
            .pressureKind = inputs.pressureKind.value_or(PressureKind::Absolute),
            .advice = inputs.advice,
        };
    });
    const auto chosen = [&](const std::optional<std::string_view> &name, auto fromName,
                            auto unknownMessage, auto &into) {
        if (!name || withoutBlanks(*name).empty())
            return true;
        const auto value = fromName(*name);
        if (!value) {
            error = unknownMessage(*name);
            return false;
        }
        into = *value;
        return true;
    };
    return chosen(inputs.service, gasServiceFromName, unknownServiceMessage, request.advice.service)
        && chosen(inputs.series, seriesFromName, unknownSeriesMessage, request.advice.series)
        && chosen(inputs.flowBasis, flowBasisFromName, unknownFlowBasisMessage, request.flowBasis)
        && chosen(
               inputs.gas, [](std::string_view name) { return gasFromName(plainName(name)); },
               unknownGasMessage, request.advice.gas);
}

} // namespace tovrik
