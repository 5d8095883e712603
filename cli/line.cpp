#include "cli/line.h"

#include "cli/io.h"
#include "cli/json.h"
#include "cli/options.h"

namespace tovrik::cli {

namespace {

void appendPipe(std::string &out, const SizeCheck &check, bool recommended)
{
    JsonObject pipe(out);
    pipe.number("DN", check.size.dn)
        .number("ID_mm", check.size.bore)
        .number("v_real", check.velocity)
        .string("v_check", checkName(check.check))
        .boolean("recommended", recommended);
    pipe.close();
}

// Every key every time, null where there is no value, so that scripts can rely on them.
std::string json(const Invocation &invocation, const SizingResult &result)
{
    const SizingInputs &inputs = invocation.inputs;
    const PipeAdvice &advice = result.advice;
    const SizeCheck *recommended = result.ok ? advice.recommended() : nullptr;
    std::string text;
    JsonObject object(text);
    object.string("medium", mediumName(invocation.medium));
    for (const InputDef &input : sizingInputs) {
        if (input.operand != Operand::None)
            object.string(input.column, inputs.*(input.field));
    }
    std::optional<std::string_view> pressureKind;
    if (inputs.steamPressure)
        pressureKind = *inputs.steamPressureKind == PressureKind::Gauge ? "gauge" : "absolute";
    object.string("pressure_kind", pressureKind);
    std::optional<std::string_view> service;
    if (invocation.medium == Medium::Air)
        service = gasServiceName(advice.options.service);
    object.string("gas_service", service)
        .string("series", advice.options.series == PipeSeries::Chinese ? "cn" : "asme40");
    object.string("d", result.ok ? std::optional<std::string_view>(result.text) : std::nullopt)
        .number("diameter_mm", result.ok ? std::optional<double>(result.value) : std::nullopt)
        .string("error", result.ok ? std::nullopt : std::optional<std::string_view>(result.error))
        .number("u_from_p", result.specificVolume);
    object.number("DN", recommended ? std::optional<double>(recommended->size.dn) : std::nullopt)
        .number("ID_mm", recommended ? std::optional<double>(recommended->size.bore) : std::nullopt)
        .number("v_real", recommended ? std::optional<double>(recommended->velocity) : std::nullopt)
        .string("v_check",
                result.ok ? std::optional<std::string_view>(statusName(advice)) : std::nullopt);
    std::string &pipes = object.member("pipes");
    pipes += '[';
    if (recommended) {
        appendPipe(pipes, *recommended, true);
        if (const SizeCheck *other = advice.alternative()) {
            pipes += ',';
            appendPipe(pipes, *other, false);
        }
    }
    pipes += ']';
    const auto figure = []<typename T>(const std::optional<T> &source, double T::*member) {
        return source ? std::optional<double>((*source).*member) : std::nullopt;
    };
    object.number("roughness_mm", figure(result.drop, &PressureDrop::roughness))
        .number("fluid_T_C", figure(result.fluid, &FluidState::temperature))
        .number("fluid_p_MPa", figure(result.fluid, &FluidState::pressure))
        .number("density_kg_m3", figure(result.fluid, &FluidState::density))
        .number("viscosity_Pa_s", figure(result.fluid, &FluidState::viscosity))
        .number("Re", figure(result.drop, &PressureDrop::reynolds))
        .number("f", figure(result.drop, &PressureDrop::friction))
        .number("dp_kPa_100m", figure(result.drop, &PressureDrop::kPaPer100m))
        .string("dp_note",
                result.dropNote.empty() ? std::nullopt
                                        : std::optional<std::string_view>(result.dropNote));
    const std::string words = result.ok ? adviceLines(result) : std::string();
    object.string("advice", result.ok ? std::optional<std::string_view>(words) : std::nullopt);
    object.close();
    text += '\n';
    return text;
}

} // namespace

int runLine(const Invocation &invocation, Output &out, std::FILE *err)
{
    const SizingResult result = sizeLine(invocation.medium, invocation.inputs);
    if (invocation.json)
        out.write(json(invocation, result));
    else if (result.ok)
        out.write(result.text + '\n' + adviceLines(result) + '\n');
    if (!result.ok)
        std::fprintf(err, "tovrik-size：%s\n", result.error.c_str());
    return result.ok ? 0 : 1;
}

} // namespace tovrik::cli
