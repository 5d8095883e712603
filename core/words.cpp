#include "core/words.h"

#include "base/text.h"
#include "core/gases.h"
#include "core/realgas.h"
#include "core/servicelimits.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tovrik {

std::string_view mediumTitle(Medium medium)
{
    switch (medium) {
    case Medium::Air: return "压缩空气";
    case Medium::Steam: return "蒸汽";
    case Medium::Water: return "水";
    }
    return {};
}

std::string_view inputDescription(Medium medium, Operand operand)
{
    switch (medium) {
    case Medium::Air:
        switch (operand) {
        case Operand::Flow: return "压缩空气标态流量Q";
        case Operand::Pressure: return "压缩空气设计压力P";
        case Operand::Temperature: return "压缩空气设计温度T";
        case Operand::Velocity: return "压缩空气设计流速v";
        default: break;
        }
        break;
    case Medium::Steam:
        switch (operand) {
        case Operand::Flow: return "蒸汽质量流量Q";
        case Operand::SpecificVolume: return "蒸汽的比容u";
        case Operand::Pressure: return "蒸汽压力p";
        case Operand::Temperature: return "蒸汽温度Ts";
        case Operand::Velocity: return "蒸汽设计流速v";
        default: break;
        }
        break;
    case Medium::Water:
        switch (operand) {
        case Operand::Flow: return "水流量Q";
        case Operand::Pressure: return "水的压力P";
        case Operand::Temperature: return "水温T";
        case Operand::Velocity: return "水的设计流速v";
        default: break;
        }
        break;
    }
    switch (operand) {
    case Operand::Roughness: return "管壁粗糙度";
    case Operand::Length: return "管长";
    case Operand::Fittings: return "管件阻力系数之和ΣK";
    case Operand::EquivalentLength: return "管件当量长度";
    case Operand::MaxDrop: return "允许压降";
    case Operand::Elevation: return "管线高差Δz";
    default: return {};
    }
}

std::string_view inputDescription(const InputDef &input)
{
    switch (input.input) {
    case Input::Service: return "气体用途";
    case Input::Gas: return "气体";
    case Input::FlowBasis: return "流量基准";
    case Input::Series: return "管子系列";
    case Input::VelocityRows: return "常用流速表";
    case Input::MaxDropBasis: return "允许压降基准";
    default: break;
    }
    for (const Medium medium : {Medium::Air, Medium::Steam, Medium::Water}) {
        if (takes(medium, input))
            return inputDescription(medium, input.operand);
    }
    return {};
}

namespace {

std::string degrees(double celsius)
{
    std::string text;
    appendFixed(text, celsius, 2);
    return text + " °C";
}

// Where a correlation stops: IAPWS-IF97's regions, the friction of a wall.
std::string_view outOfRange(Medium medium, Operand operand)
{
    switch (operand) {
    case Operand::Pressure:
        if (medium == Medium::Water)
            return "不能超过 100 MPa（IAPWS-IF97 液态水的适用范围）。";
        if (medium == Medium::Air)
            return "不能超过 100 MPa（实际气体密度的适用范围）。";
        return "超出了 IAPWS-IF97 的适用范围（饱和蒸汽绝对压力 0.000611～16.5 MPa，过热蒸汽不超过 "
               "100 MPa）。";
    case Operand::Temperature:
        if (medium == Medium::Water)
            return "超出了 IAPWS-IF97 液态水的适用范围（0～350 °C）。";
        return "超出了 IAPWS-IF97 过热蒸汽的适用范围（0.01～800 °C）。";
    case Operand::SpecificVolume:
        return "不在饱和蒸汽的范围内（绝对压力 0.000611～16.5 MPa 时的比容）。";
    case Operand::Roughness: return "须是不小于零、小于管内径的数值（mm）。";
    case Operand::Length:
    case Operand::Fittings:
    case Operand::EquivalentLength: return "须是不小于零的数值。";
    default: break;
    }
    return "超出了适用范围。";
}

std::string_view notPositive(Operand operand)
{
    switch (operand) {
    case Operand::Pressure: return "须为正的绝对压力。";
    case Operand::Temperature: return "须高于绝对零度（-273.15 °C）。";
    default: return "须为正数。";
    }
}

} // namespace

std::string failureMessage(Medium medium, const Reason &reason)
{
    const std::string input(inputDescription(medium, reason.operand));
    switch (reason.problem) {
    case Problem::NotANumber: return input + "不是有效的数字。";
    case Problem::ZeroDivisor: return input + "不能为零。";
    case Problem::Overflow:
        if (!input.empty())
            return input + "超出了可以计算的范围。";
        return "计算结果超出了可以计算的范围，请检查输入的数值。";
    case Problem::NegativeRoot: return "算得的流量与流速之比为负数，无法开平方，请检查输入的数值。";
    case Problem::InvalidOperation: break;
    case Problem::OutOfRange: return input + std::string(outOfRange(medium, reason.operand));
    case Problem::NotPositive: return input + std::string(notPositive(reason.operand));
    case Problem::NotSuperheated:
        return input + "须高于该压力下的饱和温度 " + degrees(reason.detail)
            + "，否则不是过热蒸汽。";
    case Problem::BelowRegion2:
        return input + "须高于 " + degrees(reason.detail)
            + "：该压力下更低温度的状态不在 IAPWS-IF97 的过热蒸汽区（2 区）内。";
    case Problem::NotLiquid:
        return input + "须低于该压力下的沸点 " + degrees(reason.detail) + "；热水请给出"
            + std::string(inputDescription(Medium::Water, Operand::Pressure))
            + "（绝对压力），须高于该水温的饱和压力。";
    case Problem::NoLiquid: return input + "低于水的三相点压力 0.000612 MPa，没有液态水。";
    case Problem::NeedsPressure:
        return input + "须与" + std::string(inputDescription(Medium::Steam, Operand::Pressure))
            + "一起给出：给出比容u时，蒸汽的状态已由比容定出。";
    case Problem::Reynolds: return "管内的雷诺数不在 1～10⁹ 之间，流量过小或过大。";
    case Problem::Choked:
        return "管内流速将在 100 m 内达到声速（阻塞），给不出每 100 m 压降，请选用更大的管径。";
    case Problem::UnknownRoughness: {
        std::string message = input + "须是数值（mm），或 ";
        const std::span<const RoughnessDef> names = roughnessNames();
        for (const RoughnessDef &def : names) {
            if (&def != &names.front())
                message += &def == &names.back() ? " 或 " : "、";
            message += def.name;
            message += "（";
            message += shortestText(def.mm);
            message += " mm）";
        }
        return message + "。";
    }
    case Problem::BelowFormulaZero:
        return input + "须高于 -273 °C：工况流量按 T + 273 折算为标态流量。";
    }
    return "无法计算，请检查输入的数值。";
}

std::string unknownNameMessage(Input input, std::string_view name)
{
    const std::string quoted = "“" + std::string(name) + "”";
    switch (input) {
    case Input::Service:
        return "不认识的气体用途" + quoted
            + "，应为 workshop（车间）、site（厂区）或 natural-gas（天然气）。";
    case Input::Series:
        return "不认识的管子系列" + quoted
            + "，应为 asme40、asme80（ASME B36.10M Sch40、Sch80）、asme10s、asme40s（ASME "
              "B36.19M Sch10S、Sch40S）、cn（国内公制系列）或 gb3091（GB/T 3091 焊接钢管）。";
    case Input::Gas: {
        std::string message = "不认识的气体" + quoted + "，应为 ";
        const std::span<const GasDef> gases = gasDefs();
        for (const GasDef &def : gases) {
            if (&def != &gases.front())
                message += &def == &gases.back() ? " 或 " : "、";
            message += def.name;
        }
        return message + "。";
    }
    case Input::MaxDropBasis:
        return "不认识的允许压降基准" + quoted + "，应为 line（全线）或 100m（每 100 m）。";
    case Input::VelocityRows:
        return "不认识的常用流速表" + quoted
            + "，应为 cited（蒸汽按所引的饱和、过热蒸汽推荐流速表，默认）或 "
              "sheet（窗口左侧参考表）。";
    case Input::FlowBasis:
        return "不认识的流量基准" + quoted
            + "，应为 standard（标态 0.1 MPa、273 K）、normal（101.325 kPa、0 "
              "°C）、fad（自由空气量 "
              "0.1 MPa、20 °C）、actual（工况）或 mass（kg/h）。";
    default: break;
    }
    return "不认识的" + std::string(inputDescription(inputDef(input))) + quoted + "。";
}

namespace {

// "GB 16912-2008": a standard's number, without its title.
std::string_view standardNumber(Gas gas)
{
    const std::string_view standard = velocityStandard(gas);
    return standard.substr(0, standard.find("《"));
}

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

std::string_view statusWords(const PipeAdvice &advice)
{
    switch (advice.status) {
    case PipeAdvice::Status::NotPositive: return "不作判断";
    case PipeAdvice::Status::BeyondTable: return "超出管子表";
    case PipeAdvice::Status::NotGas: return "不是气态";
    case PipeAdvice::Status::Sized: break;
    }
    return verdictText(advice.recommended()->check);
}

std::string_view criterionWords(const PipeAdvice &advice)
{
    return advice.byDrop ? "按允许压降" : "按流速";
}

std::string_view fluidWords(const SizingReport &report)
{
    switch (report.advice.medium) {
    case Medium::Air: return gasDef(effectiveGas(report.advice.options)).title;
    case Medium::Steam: return "蒸汽";
    case Medium::Water: return "水";
    }
    return {};
}

std::string rangeText(VelocityRange range)
{
    std::string text;
    appendRange(text, range);
    return text;
}

const char *verdictText(VelocityCheck check)
{
    switch (check) {
    case VelocityCheck::Below: return "偏低";
    case VelocityCheck::Inside: return "合适";
    case VelocityCheck::Above: return "偏高";
    case VelocityCheck::Governed: return "按专门标准校核";
    }
    return "";
}

namespace {

// A velocity to two decimals, or to three figures where two decimals would show nothing of it.
void appendVelocity(std::string &out, double velocity)
{
    if (velocity > 0.0 && velocity < 0.005)
        appendSignificant(out, velocity, 3);
    else
        appendFixed(out, velocity, 2);
}

// "DN150（…）：实际流速 1.57 m/s，常用流速 <2.0 m/s（参考表：热水、水 >100），合适"
void appendCheck(std::string &out, const SizeCheck &check, const PipeAdvice &advice)
{
    out += pipeName(check.size, advice.options.series);
    out += "：实际流速 ";
    appendVelocity(out, check.velocity);
    out += " m/s，常用流速 ";
    appendRange(out, check.usual->range);
    out += " m/s（";
    out += check.usual->source;
    out += "：";
    out += check.usual->section;
    out += ' ';
    out += check.usual->row;
    if (!check.usual->reading.empty()) {
        out += "，";
        out += check.usual->reading;
    }
    out += "），";
    if (check.check == VelocityCheck::Governed) {
        out += "须按 ";
        out += standardNumber(effectiveGas(advice.options));
        out += " 校核";
        return;
    }
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

// The gas in words, as a sentence names it: 二氧化碳, 天然气.
std::string_view gasName(Gas gas)
{
    const std::string_view title = gasDef(gas).title;
    return title.substr(0, title.find("（"));
}

// "5 kPa（每 100 m）": the allowable drop and what it is over.
void appendLimit(std::string &out, const PipeAdvice &advice)
{
    out += shortestText(*advice.maxDrop);
    out += advice.maxDropOverLine ? " kPa（全线）" : " kPa（每 100 m）";
}

} // namespace

std::string smallerBoreNote(const PipeAdvice &advice)
{
    if (advice.status != PipeAdvice::Status::Sized || advice.byDrop || !advice.recommendSmaller)
        return {};
    std::string note = "内径小于算得的 ";
    appendFixed(note, advice.diameter, 2);
    note += " mm，实际流速高于设计流速";
    return note;
}

std::vector<std::string> adviceNotes(const PipeAdvice &advice)
{
    std::vector<std::string> notes;
    if (advice.status != PipeAdvice::Status::Sized)
        return notes;
    const SizeCheck &pipe = *advice.recommended();
    if (pipe.check == VelocityCheck::Governed) {
        const Gas gas = effectiveGas(advice.options);
        notes.push_back(
            std::string(gasName(gas)) + "管道的流速由 " + std::string(velocityStandard(gas))
            + "按压力和管材限定，本程序未录入其限值，以上不按常用流速判断，请按该标准校核。");
    } else if (!pipe.usual->sheet()) {
        // The reference sheet's row, where the cited table's differs from it.
        const VelocityBand &sheet = sheetBand(advice.medium, pipe.size.dn, advice.options.service);
        if (sheet.range.low != pipe.usual->range.low
            || sheet.range.high != pipe.usual->range.high) {
            std::string note = "按窗口左侧参考表的蒸汽 ";
            note += sheet.row;
            note += " 一行（";
            appendRange(note, sheet.range);
            note += " m/s，不分饱和、过热蒸汽），推荐管子的流速";
            note += verdictText(checkVelocity(pipe.velocity, sheet.range));
            note += "。";
            notes.push_back(std::move(note));
        }
    }
    if (advice.byDrop)
        return notes;
    if (!advice.inBand && advice.bandSearched)
        notes.emplace_back("本系列没有实际流速在常用流速范围内的管径。");
    if (advice.maxDrop) {
        std::string note = "本系列没有流速不超过常用范围、压降又不超过 ";
        appendLimit(note, advice);
        note += "的管径，以上按预定流速选定。";
        notes.push_back(std::move(note));
    }
    if (advice.slowWater()) {
        std::string note = "提示：实际流速低于水的常用流速下限 ";
        appendFixed(note, lowestWaterVelocity, 1);
        note += " m/s，请核对流量，或选用更小的管径。";
        notes.push_back(std::move(note));
    }
    return notes;
}

std::string pipeAdviceText(const PipeAdvice &advice)
{
    std::string text;
    switch (advice.status) {
    case PipeAdvice::Status::NotPositive: appendUnjudged(text, advice); return text;
    case PipeAdvice::Status::NotGas: {
        const NotAGas &state = *advice.notGas;
        text += gasName(effectiveGas(advice.options));
        text += "在绝对压力 ";
        appendSignificant(text, state.pressure, 4);
        text += " MPa、";
        appendSignificant(text, state.temperature, 4);
        text += " °C 时";
        if (state.liquid) {
            text += "是液体（该温度的饱和蒸气压 ";
            appendFixed(text, state.vapourPressure, 2);
            text += " MPa）";
        } else {
            text += "低于其临界温度 ";
            appendFixed(text, state.criticalTemperature, 1);
            text += " °C，无法判断是否为气态";
        }
        text += "，不能按气体校核流速，也不估算压降。";
        return text;
    }
    case PipeAdvice::Status::BeyondTable: {
        const PipeSize &largest = pipeTable(advice.options.series).back();
        text += "管径超出 ";
        text += pipeName(largest, advice.options.series);
        text += "，请选用更大管径或多根并联。";
        return text;
    }
    case PipeAdvice::Status::Sized: break;
    }
    if (advice.byDrop) {
        // Both methods: the allowable drop decides, the preset velocity's choice beside it.
        const SizeCheck &velocity = *advice.velocitySized();
        text += "按允许压降 ";
        appendLimit(text, advice);
        text += "推荐 ";
        appendCheck(text, *advice.byDrop, advice);
        text += "。\n按预定流速";
        text += velocity.size.dn == advice.byDrop->size.dn ? "选定的相同：" : "则选 ";
        appendCheck(text, velocity, advice);
        text += "。";
        return text;
    }
    text += "推荐 ";
    appendCheck(text, *advice.recommended(), advice);
    if (const std::string note = smallerBoreNote(advice); !note.empty()) {
        text += "；";
        text += note;
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
    }
    for (const std::string &note : adviceNotes(advice)) {
        text += '\n';
        text += note;
    }
    return text;
}

namespace {

// "0.101325" MPa, "20" degrees C, "100.18" m3/h: as few digits as the figure has, at most so
// many decimals, or four significant figures for a figure too small or too large for them.
void appendFigure(std::string &out, double value, int decimals = 6)
{
    const double scale = std::pow(10.0, decimals);
    if (value != 0.0 && (std::fabs(value) * scale < 1000.0 || std::fabs(value) >= 1e15)) {
        appendSignificant(out, value, 4);
        return;
    }
    const double rounded = std::round(value * scale) / scale;
    out += shortestText(rounded == 0.0 ? 0.0 : rounded);
}

// Three significant figures: 123, 12.3, 1.23, 0.123.
void appendKPa(std::string &text, double kPa)
{
    if (!(kPa > 0.0) || !std::isfinite(kPa)) {
        appendSignificant(text, kPa, 3);
        return;
    }
    const int decimals = std::clamp(2 - int(std::floor(std::log10(kPa))), 0, 5);
    appendFixed(text, kPa, decimals);
}

} // namespace

std::string basisText(const SizingReport &report)
{
    std::string basis;
    if (!report.ok || !report.judged)
        return basis;
    switch (report.advice.medium) {
    case Medium::Air:
        if (report.standardFlow) {
            basis = "流量按";
            basis += flowBasisTitle(report.flowBasis);
            basis += "给出，即标态（0.1 MPa、273 K）流量 ";
            appendFigure(basis, *report.standardFlow, 3);
            basis += " m³/h；";
        }
        if (report.absolutePressure) {
            basis += "设计压力P按表压，即绝对压力 ";
            appendFigure(basis, report.steps.pressure);
            basis += " MPa";
        } else {
            basis += "设计压力P按绝对压力";
        }
        basis += "。";
        if (report.compressibility && report.fluid) {
            // Where the real gas meets the formula's ideal one.
            basis += "流速校核和压降按实际气体，";
            basis += realGasModel;
            basis += "取压缩因子 Z = ";
            appendFixed(basis, *report.compressibility, 4);
            basis += "，密度 ";
            appendFigure(basis, report.fluid->density, 3);
            basis += " kg/m³，工作状态体积流量 ";
            std::string real;
            appendFigure(real, report.aidFlow, 2);
            std::string ideal;
            appendFigure(ideal, report.steps.q, 2);
            basis += real;
            basis += " m³/h";
            if (real != ideal) {
                basis += "（管径公式按理想气体折算为 ";
                basis += ideal;
                basis += " m³/h）";
            }
            basis += "。";
        }
        break;
    case Medium::Steam:
        if (report.specificVolume) {
            basis = "比容按 IAPWS-IF97 取 ";
            appendFixed(basis, *report.specificVolume, 5);
            basis += " m³/kg（";
            basis += report.superheated ? "过热蒸汽" : "饱和蒸汽";
            basis += "，绝对压力 ";
            appendFigure(basis, report.fluid ? report.fluid->pressure : 0.0);
            basis += " MPa）。";
        }
        break;
    case Medium::Water:
        if (report.waterVolumeKnown) {
            const FluidState &water = *report.fluid;
            basis = "水的密度按 ";
            appendFigure(basis, water.temperature);
            basis += report.waterTemperatureGiven ? " °C、绝对压力 " : " °C（未给水温）、绝对压力 ";
            appendFigure(basis, water.pressure);
            basis += " MPa 取 ";
            appendFixed(basis, water.density, 2);
            basis += " kg/m³：";
            appendFigure(basis, report.steps.flow);
            basis += " t/h 即 ";
            appendFigure(basis, report.aidFlow, 2);
            basis += " m³/h，据此校核流速。";
        } else {
            basis = "水的密度无法确定，流速按 1 t/h 即 1 m³/h 校核。";
        }
        break;
    }
    return basis;
}

std::string pressureDropText(const SizingReport &report)
{
    const PressureDrop &drop = *report.drop;
    // Three significant figures: 123, 12.3, 1.23, 0.123; below a pascal, only that.
    const double value = drop.kPaPer100m;
    std::string text = "每 100 m 压降";
    if (value < 0.001) {
        text += "不足 0.001 kPa（粗糙度 ";
    } else {
        text += "约 ";
        appendKPa(text, value);
        text += " kPa（粗糙度 ";
    }
    text += shortestText(drop.roughness);
    text += " mm";
    // What the figure assumes beyond its inputs: the gas, or the usual water temperature.
    if (report.advice.medium == Medium::Air) {
        text += "，";
        text += gasDef(effectiveGas(report.advice.options)).title;
    } else if (report.advice.medium == Medium::Water && !report.waterTemperatureGiven) {
        text += "，水温按 20 °C";
    }
    text += "）";
    if (drop.method == DropMethod::Isothermal)
        text += "，超过压力的一成，已按 100 m 管长的等温可压缩流动计算";
    return text;
}

std::string lineDropText(const LineDrop &drop, const LineSpec &line)
{
    std::string text = "全线（";
    std::string parts;
    const auto part = [&](const char *name, double value, const char *unit) {
        if (value == 0.0)
            return;
        if (!parts.empty())
            parts += "，";
        parts += name;
        parts += shortestText(value);
        parts += unit;
    };
    part("管长 ", line.length, " m");
    part("ΣK ", line.fittings, "");
    part("管件当量长度 ", line.equivalentLength, " m");
    part("终点高出起点 ", line.rise, " m");
    text += parts.empty() ? "无管长" : parts;
    text += "）";
    const auto outlet = [&] {
        text += "出口压力约 ";
        appendFigure(text, drop.outletPressure, 4);
        text += " MPa";
    };
    switch (drop.method) {
    case DropMethod::Choked:
        text += "：管内流速将达到声速（阻塞），给不出压降，请选用更大的管径或缩短管线。";
        return text;
    case DropMethod::Flashing:
        text += "：";
        outlet();
        text += "，低于该水温的饱和压力 ";
        appendFigure(text, drop.vapourPressure, 4);
        text += " MPa，水将在管线中闪蒸（汽化），不能按液体计算全线压降。";
        return text;
    case DropMethod::Isothermal:
        text += "压降约 ";
        appendKPa(text, drop.kPa);
        text += " kPa，占进口绝对压力的 ";
        appendFixed(text, drop.share * 100.0, 0);
        text += "%，超过一成，已按等温可压缩流动计算；";
        outlet();
        text += "，出口流速约 ";
        appendVelocity(text, drop.outletVelocity);
        text += " m/s。";
        return text;
    case DropMethod::Incompressible: break;
    }
    text += "压降";
    if (drop.kPa < 0.001)
        text += "不足 0.001 kPa";
    else {
        text += "约 ";
        appendKPa(text, drop.kPa);
        text += " kPa";
    }
    if (drop.staticKPa != 0.0) {
        text += drop.staticKPa > 0.0 ? "，另需克服静压 " : "，另得静压 ";
        appendKPa(text, std::fabs(drop.staticKPa));
        text += " kPa；";
        outlet();
    }
    text += "。";
    return text;
}

std::string usualDropNote(const SizingReport &report)
{
    const DropLimit *usual = report.dropAboveUsual;
    if (!usual)
        return {};
    std::string text = "提示：每 100 m 压降超过";
    text += usual->row;
    text += "管道常用的 ";
    appendKPa(text, usual->kPaPer100m);
    text += " kPa，宜选用更大的管径。依据：";
    text += usual->citation;
    text += "。";
    return text;
}

std::string dropNote(const SizingReport &report)
{
    return report.dropReason ? failureMessage(report.advice.medium, *report.dropReason)
                             : std::string();
}

std::string lineNote(const SizingReport &report)
{
    return report.lineReason ? failureMessage(report.advice.medium, *report.lineReason)
                             : std::string();
}

std::string aidsNote(const SizingReport &report)
{
    std::string note;
    const auto add = [&](std::string_view sentence) {
        if (!note.empty())
            note += ' ';
        note += sentence;
    };
    if (report.advice.status == PipeAdvice::Status::NotGas)
        add(pipeAdviceText(report.advice));
    if (report.dropReason)
        add("无法估算压降：" + dropNote(report));
    if (report.lineReason)
        add("全线压降和允许压降未计：" + lineNote(report));
    if (report.lineWithoutLength)
        add("管长、管件和高差都为零：压降和允许压降均按每 100 m 计。");
    return note;
}

std::string reportText(const SizingReport &report)
{
    std::string text = pipeAdviceText(report.advice);
    if (const std::string basis = basisText(report); !basis.empty()) {
        text += '\n';
        text += basis;
    }
    const bool sized = report.advice.status == PipeAdvice::Status::Sized;
    if (report.drop) {
        text += '\n';
        text += pressureDropText(report);
        if (const std::string usual = usualDropNote(report); !usual.empty()) {
            text += '\n';
            text += usual;
        }
        if (report.lineDrop) {
            text += '\n';
            text += lineDropText(*report.lineDrop, *report.line);
        }
    } else if (report.dropReason && sized) {
        text += "\n无法估算压降：";
        text += dropNote(report);
    }
    if (report.lineReason && sized) {
        text += "\n全线压降和允许压降未计：";
        text += lineNote(report);
    }
    if (report.lineWithoutLength && sized)
        text += "\n管长、管件和高差都为零，不是一条管线：压降和允许压降均按每 100 m 计。";
    return text;
}

std::string detailsText(const SizingReport &report)
{
    if (!report.ok)
        return report.error + '\n';
    return report.text + '\n' + reportText(report) + '\n';
}

} // namespace tovrik
