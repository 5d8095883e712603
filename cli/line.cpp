#include "cli/line.h"

#include "cli/json.h"
#include "cli/options.h"
#include "cli/output.h"
#include "core/sheet.h"
#include "core/words.h"

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
std::string json(const Invocation &invocation, const SizingReport &report)
{
    const SizingRequest &inputs = invocation.inputs;
    const Medium medium = inputs.medium;
    const PipeAdvice &advice = report.advice;
    const bool sized = report.ok && advice.status == PipeAdvice::Status::Sized;
    const SizeCheck *recommended = sized ? advice.recommended() : nullptr;
    std::string text;
    JsonObject object(text);
    object.string("medium", mediumName(medium));
    for (const InputDef &input : inputDefs) {
        if (input.operand != Operand::None)
            object.string(input.column, inputs[input.input]);
    }
    const bool pressureGiven = medium == Medium::Steam ? inputs[Input::SteamPressure].has_value()
                                                       : inputs[Input::Pressure].has_value();
    std::optional<std::string_view> pressureKind;
    if (pressureGiven) {
        pressureKind = inputs.pressureKind.value_or(PressureKind::Absolute) == PressureKind::Gauge
            ? "gauge"
            : "absolute";
    }
    object.string("pressure_kind", pressureKind);
    std::optional<std::string_view> service;
    std::optional<std::string_view> gas;
    std::optional<std::string_view> basis;
    if (medium == Medium::Air) {
        service = gasServiceName(advice.options.service);
        gas = gasDef(effectiveGas(advice.options)).name;
        basis = flowBasisName(choicesOf(inputs).flowBasis);
    }
    object.string("gas_service", service)
        .string("gas", gas)
        .string("flow_basis", basis)
        .number("Q_standard_m3h", report.standardFlow)
        .string("series", seriesName(advice.options.series));
    object.string("d", report.ok ? std::optional<std::string_view>(report.text) : std::nullopt)
        .number("diameter_mm", report.ok ? std::optional<double>(report.diameter) : std::nullopt)
        .string("error", report.ok ? std::nullopt : std::optional<std::string_view>(report.error))
        .number("u_from_p", report.specificVolume)
        .number("p_abs_MPa", report.absolutePressure)
        .number("flow_m3h", sized ? std::optional<double>(report.aidFlow) : std::nullopt);
    object.number("DN", recommended ? std::optional<double>(recommended->size.dn) : std::nullopt)
        .number("ID_mm", recommended ? std::optional<double>(recommended->size.bore) : std::nullopt)
        .number("v_real", recommended ? std::optional<double>(recommended->velocity) : std::nullopt)
        .string("v_check",
                report.ok ? std::optional<std::string_view>(statusName(advice)) : std::nullopt);
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
    std::string &inBand = object.member("in_band");
    if (sized && advice.inBand)
        appendPipe(inBand, *advice.inBand, false);
    else
        inBand += "null";
    const auto figure = []<typename T>(const std::optional<T> &source, double T::*member) {
        return source ? std::optional<double>((*source).*member) : std::nullopt;
    };
    const auto words = [](const std::string &text) {
        return text.empty() ? std::nullopt : std::optional<std::string_view>(text);
    };
    const std::string dropWords = dropNote(report);
    const std::string lineWords = lineNote(report);
    const std::string basisWords = basisText(report);
    object.number("roughness_mm", figure(report.drop, &PressureDrop::roughness))
        .string("fluid", report.drop ? std::optional(report.fluidName()) : std::nullopt)
        .number("fluid_T_C", figure(report.fluid, &FluidState::temperature))
        .number("fluid_p_MPa", figure(report.fluid, &FluidState::pressure))
        .number("density_kg_m3", figure(report.fluid, &FluidState::density))
        .number("viscosity_Pa_s", figure(report.fluid, &FluidState::viscosity))
        .number("Re", figure(report.drop, &PressureDrop::reynolds))
        .number("f", figure(report.drop, &PressureDrop::friction))
        .number("dp_kPa_100m", figure(report.drop, &PressureDrop::kPaPer100m))
        .string("dp_note", words(dropWords));
    const std::optional<LineDrop> &line = report.lineDrop;
    const bool choked = line && line->method == DropMethod::Choked;
    static constexpr const char *methods[] = {"incompressible", "isothermal", "choked", "flashing"};
    const bool liquidDrop = line && !choked && line->method != DropMethod::Flashing;
    object.number("dp_kPa", liquidDrop ? std::optional<double>(line->kPa) : std::nullopt)
        .string(
            "dp_method",
            line ? std::optional<std::string_view>(methods[static_cast<std::size_t>(line->method)])
                 : std::nullopt)
        .string("line_note", words(lineWords))
        .number("max_drop_kPa", sized ? advice.maxDrop : std::nullopt)
        .string("criterion",
                recommended ? std::optional<std::string_view>(criterionName(advice)) : std::nullopt)
        .number("DN_velocity",
                recommended ? std::optional<double>(advice.velocitySized()->size.dn) : std::nullopt)
        .number("Z", report.compressibility)
        .string("dp_100m_method",
                report.drop ? std::optional<std::string_view>(
                    methods[static_cast<std::size_t>(report.drop->method)])
                            : std::nullopt)
        .number("dp_usual_kPa_100m",
                report.dropAboveUsual ? std::optional<double>(report.dropAboveUsual->kPaPer100m)
                                      : std::nullopt)
        .number("outlet_p_MPa",
                line && !choked ? std::optional<double>(line->outletPressure) : std::nullopt)
        .number("outlet_v",
                line && !choked && line->method != DropMethod::Flashing
                    ? std::optional<double>(line->outletVelocity)
                    : std::nullopt)
        .string("basis", words(basisWords));
    const std::string advice_ = report.ok ? reportText(report) : std::string();
    object.string("advice", report.ok ? std::optional<std::string_view>(advice_) : std::nullopt);
    object.close();
    text += '\n';
    return text;
}

} // namespace

int runLine(const Invocation &invocation, Output &out, std::FILE *err)
{
    const SizingRequest &request = invocation.inputs;
    const SizingReport report = sizePipe(request);
    const char *sheet = invocation.sheetPath();
    const bool sheetOnly = sheet && std::string_view(sheet) == "-";
    if (report.ok && sheet) {
        const std::optional<SheetInfo> info = sheetInfoFor(invocation, err);
        if (!info)
            return 2;
        SheetLine line {{}, KeptInputs(request), true, report};
        line.tag = (*info)[SheetField::Line];
        if (const int status = writeSheet(sheet, calculationSheet(line, *info), out, err))
            return status;
        if (const int status = printPdf(invocation, err))
            return status;
    }
    // A sheet on standard output is the whole of it.
    if (!sheetOnly && invocation.json)
        out.write(json(invocation, report));
    else if (!sheetOnly && report.ok)
        out.write(detailsText(report));
    if (!report.ok)
        say(err, "%s", detailsText(report).c_str());
    return report.ok ? 0 : 1;
}

} // namespace tovrik::cli
