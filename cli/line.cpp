#include "cli/line.h"

#include "cli/io.h"
#include "cli/json.h"
#include "cli/options.h"

namespace tovrik::cli {

namespace {

void appendAdvice(std::string &text, const SizingResult &result)
{
    if (result.specificVolume) {
        text += ",\"u_from_p\":";
        appendJsonNumber(text, *result.specificVolume);
    }
    if (!result.ok)
        return;
    if (const auto &advice = result.advice) {
        text += ",\"DN\":" + std::to_string(advice->size.dn);
        text += ",\"ID_mm\":";
        appendJsonNumber(text, advice->size.inside());
        text += ",\"v_real\":";
        appendJsonNumber(text, advice->velocity);
        text += ",\"v_check\":\"" + std::string(checkName(advice->check)) + "\"";
    } else {
        text += ",\"DN\":null,\"v_check\":\"beyond-table\"";
    }
    text += ",\"advice\":";
    appendJsonString(text, adviceText(result.advice));
}

std::string json(const Invocation &invocation, const SizingResult &result)
{
    const SizingInputs &inputs = invocation.inputs;
    std::string text = "{\"medium\":";
    appendJsonString(text, mediumName(invocation.medium));
    for (const InputDef &input : sizingInputs) {
        if (const auto &given = inputs.*(input.field)) {
            text += ",\"";
            text += input.column;
            text += "\":";
            appendJsonString(text, *given);
        }
    }
    if (inputs.steamPressure) {
        text += ",\"pressure_kind\":";
        text += *inputs.steamPressureKind == PressureKind::Gauge ? "\"gauge\"" : "\"absolute\"";
    }
    if (result.ok) {
        text += ",\"d\":";
        appendJsonString(text, result.text);
        text += ",\"diameter_mm\":";
        appendJsonNumber(text, result.value);
    } else {
        text += ",\"error\":";
        appendJsonString(text, result.error);
    }
    appendAdvice(text, result);
    text += "}\n";
    return text;
}

} // namespace

int runLine(const Invocation &invocation, Output &out, std::FILE *err)
{
    const SizingResult result = sizeLine(invocation.medium, invocation.inputs);
    if (invocation.json)
        out.write(json(invocation, result));
    else if (result.ok)
        out.write(result.text + '\n' + adviceText(result.advice) + '\n');
    if (!result.ok)
        std::fprintf(err, "tovrik-size：%s\n", result.error.c_str());
    return result.ok ? 0 : 1;
}

} // namespace tovrik::cli
