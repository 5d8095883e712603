#include "core/sheet.h"

#include "base/conversion.h"
#include "base/text.h"
#include "core/fluid.h"
#include "core/gases.h"
#include "core/html.h"
#include "core/realgas.h"
#include "core/sheetstyle.h"
#include "core/version.h"
#include "core/words.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace tovrik {

namespace {

// A formula's number as the result field writes it: at most 15 significant digits.
std::string figure(double value, char32_t separator)
{
    if (!std::isfinite(value))
        return "—";
    return vbaStrR8(value, separator);
}

std::string fixed(double value, int decimals)
{
    std::string text;
    appendFixed(text, value, decimals);
    return text;
}

// So many significant figures, trailing zeros kept, never an exponent: a column of them reads
// alike whatever the size of each.
std::string significant(double value, int figures)
{
    if (!std::isfinite(value))
        return "—";
    const double magnitude = value == 0.0 ? 0.0 : std::floor(std::log10(std::fabs(value)));
    return fixed(value, int(std::clamp(figures - 1 - magnitude, 0.0, 9.0)));
}

const char *mediumTitle(const SheetLine &line)
{
    if (!line.read)
        return "—";
    switch (line.inputs.medium) {
    case Medium::Air: return "压缩空气（各种气体）";
    case Medium::Steam: return line.inputs.given(Input::SteamTemperature) ? "过热蒸汽" : "饱和蒸汽";
    case Medium::Water: return "水";
    }
    return "";
}

const char *fluidTitle(const SheetLine &line)
{
    switch (line.inputs.medium) {
    case Medium::Air: return gasDef(effectiveGas(line.report.advice.options)).title;
    case Medium::Steam: return "水蒸气";
    case Medium::Water: return "水";
    }
    return "";
}

void openDocument(Html &html, std::string_view title)
{
    html.markup("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n")
        .element("title", title)
        .newline()
        .markup("<style>\n")
        .markup(sheetStyle)
        .markup("</style>\n</head>\n<body>\n");
}

// The particulars a sheet carries for the design it belongs to: the date filled in, the rest
// lines to fill by hand.
void appendParticulars(Html &html, const SheetInfo &info, std::string_view title)
{
    html.element("h1", title).newline().open("table", {{"class", "particulars"}}).newline();
    html.markup("<tr><th>工程名称</th><td colspan=\"3\"></td></tr>\n"
                "<tr><th>设计阶段</th><td></td><th>日期</th>")
        .element("td", info.date)
        .markup("</tr>\n<tr><th>计算</th><td></td><th>校核</th><td></td></tr>\n</table>\n");
}

void closeDocument(Html &html, const SheetInfo &info)
{
    html.open("footer")
        .text("Tovrik ")
        .text(version)
        .text(" · ")
        .text(info.date)
        .text(" · 内径按 d = 18.8 × √(q ÷ v) 计算，q 为工作状态体积流量（m³/h），v "
              "为设计流速（m/s）。")
        .close("footer")
        .markup("\n</body>\n</html>\n");
}

// A row of the inputs' table: the input, as typed, its unit and what the aids made of it.
struct InputRow
{
    const char *name;
    std::string value;
    const char *unit;
    std::string note;
    bool wide = false; // a choice, written across the value, unit and note
};

// How the sheet shows an input of a line, if at all: every input the medium takes, in the
// catalogue's order, those not given only where the aids assumed something for them.
std::optional<InputRow> inputRow(const InputDef &def, const SheetLine &line)
{
    const KeptInputs &in = line.inputs;
    const SizingReport &report = line.report;
    const Medium medium = in.medium;
    const std::optional<std::string> &typed = in[def.input];
    const std::string value = typed ? *typed : std::string("—");
    const std::string absolute = report.absolutePressure
        ? "表压，即绝对压力 " + significant(*report.absolutePressure, 7) + " MPa"
        : std::string("绝对压力");
    const bool air = medium == Medium::Air;
    switch (def.input) {
    case Input::Flow:
        if (air) {
            const FlowBasis basis = report.flowBasis;
            return InputRow {"流量 Q", value, basis == FlowBasis::Mass ? "kg/h" : "m³/h",
                             basis == FlowBasis::Standard
                                 ? std::string("标准状态 0.1 MPa、273 K 下的体积流量")
                                 : std::string("按") + flowBasisTitle(basis) + "给出"};
        }
        if (medium == Medium::Steam)
            return InputRow {"质量流量 Q", value, "t/h", {}};
        return InputRow {"流量 Q", value, "t/h", "管径公式中按 m³/h 计"};
    case Input::Pressure:
        if (air)
            return InputRow {"设计压力 P", value, "MPa", absolute};
        return InputRow {"压力 P", value, "MPa",
                         typed ? absolute : std::string("未给出，按绝对压力 0.101325 MPa")};
    case Input::Temperature:
        if (air)
            return InputRow {"设计温度 T", value, "°C", {}};
        return InputRow {"水温 T", value, "°C",
                         typed ? std::string("流速校核和压降用") : std::string("未给出，按 20 °C")};
    case Input::SpecificVolume:
        if (!typed)
            return std::nullopt;
        return InputRow {"比容 u", value, "m³/kg", "按饱和蒸汽"};
    case Input::SteamPressure:
        if (!typed)
            return std::nullopt;
        return InputRow {"蒸汽压力 p", value, "MPa", absolute};
    case Input::Velocity: return InputRow {"设计流速 v", value, "m/s", {}};
    case Input::SteamTemperature:
        if (!in.given(Input::SteamTemperature))
            return std::nullopt;
        return InputRow {"过热蒸汽温度 Ts", value, "°C", {}};
    case Input::Roughness:
        return InputRow {"管壁绝对粗糙度", typed ? *typed : std::string("0.046"), "mm",
                         typed ? std::string() : std::string("商品钢管")};
    case Input::Series:
        return InputRow {"管子系列", seriesTitle(report.advice.options.series), "", {}, true};
    case Input::Service:
        return InputRow {
            "气体用途",
            std::string("参考表“压缩空气 ")
                + std::string(sheetBand(Medium::Air, 50, report.advice.options.service).row)
                + "”一行的常用流速",
            "",
            {},
            true};
    case Input::Gas:
        return InputRow {"气体", gasDef(effectiveGas(report.advice.options)).title, "", {}, true};
    case Input::FlowBasis: return std::nullopt; // the flow's row says it
    case Input::MaxDropBasis: return std::nullopt; // the allowable drop's row says it
    case Input::VelocityRows:
        return InputRow {"常用流速表",
                         report.advice.options.rows == VelocityRows::Sheet
                             ? std::string("窗口左侧参考表")
                             : std::string("蒸汽按所引的饱和、过热蒸汽推荐流速表，其余按参考表"),
                         "",
                         {},
                         true};
    case Input::Length:
    case Input::Fittings:
    case Input::EquivalentLength:
    case Input::Elevation:
    case Input::MaxDrop: {
        if (!in.given(def.input))
            return std::nullopt;
        const bool lineGiven
            = in[Input::Length] || in[Input::Fittings] || in[Input::EquivalentLength];
        switch (def.input) {
        case Input::Length: return InputRow {"管长 L", value, "m", {}};
        case Input::Fittings: return InputRow {"管件阻力系数之和 ΣK", value, "", {}};
        case Input::EquivalentLength: return InputRow {"管件当量长度 Le", value, "m", {}};
        case Input::Elevation: return InputRow {"高差 Δz", value, "m", "终点高出起点为正"};
        default:
            return InputRow {"允许压降", value, "kPa",
                             report.advice.maxDropOverLine || (lineGiven && !report.advice.maxDrop)
                                 ? "全线"
                                 : "每 100 m"};
        }
    }
    case Input::Count: break;
    }
    return std::nullopt;
}

void appendInputs(Html &html, const SheetLine &line)
{
    const SizingReport &report = line.report;
    html.markup("<table>\n<tr><th>项目</th><th>输入</th><th>单位</th><th>说明</th></tr>\n");
    for (const InputDef &def : inputDefs) {
        if (!takes(line.inputs.medium, def))
            continue;
        const std::optional<InputRow> row = inputRow(def, line);
        if (!row)
            continue;
        html.open("tr").element("td", row->name);
        if (row->wide) {
            html.element("td", row->value, {{"colspan", "3"}});
        } else {
            html.element("td", row->value).element("td", row->unit).element("td", row->note);
        }
        html.close("tr").newline();
    }
    html.markup("</table>\n");
    if (report.standardFlow) {
        html.open("p", {{"class", "note"}})
            .text("折算为标准状态（0.1 MPa、273 K）下的流量：Q = ")
            .text(figure(*report.standardFlow, U'.'))
            .text(" m³/h，下式中的 Q 即此值。")
            .close("p")
            .newline();
    }
    if (report.specificVolume) {
        html.open("p", {{"class", "note"}})
            .text("比容由 IAPWS-IF97 求得：u = ")
            .text(figure(*report.specificVolume, U'.'))
            .text(" m³/kg。")
            .close("p")
            .newline();
    }
}

// The definition's formula, step by step in its order, each number as the formula had it.
void appendFormula(Html &html, const SheetLine &line)
{
    const FormulaSteps &s = line.report.steps;
    const char32_t sep = line.inputs.decimalSeparator;
    const auto f = [&](double value) { return figure(value, sep); };
    std::vector<std::string> steps;
    switch (line.inputs.medium) {
    case Medium::Air:
        steps = {"a = T + 273 = " + f(s.temperature) + " + 273 = " + f(s.a),
                 "b = (Q × a) × 0.1 = (" + f(s.flow) + " × " + f(s.a) + ") × 0.1 = " + f(s.b),
                 "c = P × 273 = " + f(s.pressure) + " × 273 = " + f(s.c),
                 "q = b ÷ c = " + f(s.b) + " ÷ " + f(s.c) + " = " + f(s.q)
                     + " m³/h（工作状态下的体积流量）",
                 "q′ = q ÷ v = " + f(s.q) + " ÷ " + f(s.velocity) + " = " + f(s.perVelocity)};
        break;
    case Medium::Steam:
        steps = {"a = Q × 1000 = " + f(s.flow) + " × 1000 = " + f(s.a) + " kg/h",
                 "q = u × a = " + f(s.specificVolume) + " × " + f(s.a) + " = " + f(s.b)
                     + " m³/h（工作状态下的体积流量）",
                 "q′ = q ÷ v = " + f(s.b) + " ÷ " + f(s.velocity) + " = " + f(s.perVelocity)};
        break;
    case Medium::Water:
        steps = {"q′ = Q ÷ v = " + f(s.flow) + " ÷ " + f(s.velocity) + " = " + f(s.perVelocity)};
        break;
    }
    steps.push_back("d = √q′ × 18.8 = " + f(s.root) + " × 18.8 = " + line.report.text + " mm");
    html.element("p", "d = 18.8 × √(q ÷ v)，各步依次为：").newline();
    html.open("ol", {{"class", "steps"}}).newline();
    for (const std::string &step : steps)
        html.element("li", step).newline();
    html.close("ol").newline();
    html.open("p", {{"class", "result"}})
        .text("计算内径 d = ")
        .element("b", line.report.text)
        .text(" mm，约 ")
        .text(fixed(line.report.diameter, 2))
        .text(" mm。")
        .close("p")
        .newline();
}

// "ASME B36.10M Sch40，Φ273×9.27": the series and the pipe as it is ordered.
std::string seriesAndSize(const PipeSize &size, PipeSeries series)
{
    return std::string(seriesTitle(series)) + "，Φ" + shortestText(size.outside) + "×"
        + shortestText(size.wall);
}

void appendCheckRow(Html &html, const char *role, const SizeCheck &check, const PipeAdvice &advice)
{
    const Attribute number {"class", "n"};
    std::string row = std::string(check.usual->section) + ' ' + std::string(check.usual->row);
    if (!check.usual->reading.empty())
        row += "（" + std::string(check.usual->reading) + "）";
    html.open("tr")
        .element("td", role)
        .element("td", "DN" + std::to_string(check.size.dn))
        .element("td", seriesAndSize(check.size, advice.options.series))
        .element("td", boreText(check.size, advice.options.series), {number})
        .element("td", fixed(check.velocity, 2), {number})
        .element("td", rangeText(check.usual->range), {number})
        .element("td", row)
        .element("td", verdictText(check.check))
        .close("tr")
        .newline();
}

void appendNote(Html &html, std::string_view note)
{
    html.element("p", note, {{"class", "note"}}).newline();
}

void appendAdvice(Html &html, const SheetLine &line)
{
    const SizingReport &report = line.report;
    const PipeAdvice &advice = report.advice;
    if (const std::string basis = basisText(report); !basis.empty())
        appendNote(html, basis);
    if (advice.status != PipeAdvice::Status::Sized) {
        html.element("p", pipeAdviceText(advice)).newline();
        return;
    }
    html.markup("<table>\n<tr><th></th><th>公称直径</th><th>规格</th><th>内径 mm</th><th>实际流速 "
                "m/s</th><th>常用流速 m/s</th><th>参考表</th><th>判断</th></tr>\n");
    appendCheckRow(html, advice.byDrop ? "★ 推荐（按允许压降）" : "★ 推荐", *advice.recommended(),
                   advice);
    if (advice.byDrop)
        appendCheckRow(html, "按预定流速", *advice.velocitySized(), advice);
    if (const SizeCheck *other = advice.alternative())
        appendCheckRow(html, advice.recommendSmaller ? "大一号" : "小一号", *other, advice);
    if (advice.inBand)
        appendCheckRow(html, "常用范围内最近", *advice.inBand, advice);
    html.markup("</table>\n");
    if (const std::string note = smallerBoreNote(advice); !note.empty())
        appendNote(html, "推荐管子的" + note + "。");
    for (const std::string &note : adviceNotes(advice))
        appendNote(html, note);
}

void appendDrop(Html &html, const SheetLine &line)
{
    const SizingReport &report = line.report;
    if (!report.drop || !report.fluid) {
        const std::string note = dropNote(report);
        html.open("p")
            .text("无法估算压降：")
            .text(note.empty() ? std::string("没有推荐的管子。") : note)
            .close("p")
            .newline();
        return;
    }
    const FluidState &fluid = *report.fluid;
    const PressureDrop &drop = *report.drop;
    const Medium medium = line.inputs.medium;
    const Gas gas = effectiveGas(report.advice.options);
    const std::string density = medium == Medium::Air ? std::string("ρ = p ÷ (Z·R·T)，")
            + realGasModel + "，Z = " + fixed(report.compressibility.value_or(1.0), 4)
            + "，R = " + significant(gasDef(gas).gasConstant, 5) + " J/(kg·K)"
        : medium == Medium::Water ? "IAPWS-IF97（1 区）"
                                  : "ρ = 1 ÷ u（IAPWS-IF97）";
    const char *viscosity = medium != Medium::Air ? "IAPWS 2008（R12-08）"
        : gas == Gas::NaturalGas
        ? "Sutherland 公式（CRC Handbook, 97th ed., 2016；Kaye & Laby, 16th ed., 1995）"
        : "Sutherland 公式（White, Viscous Fluid Flow, 3rd ed., 2006）";
    const SizeCheck &pipe = *report.advice.recommended();
    html.open("p")
        .text("在推荐管子 DN" + std::to_string(pipe.size.dn)
              + " 中按 Darcy-Weisbach 公式 Δp = f · (L ÷ D) · ρv² ÷ 2 估算，L = 100 m；"
                "摩擦系数层流（Re < 2300）取 64 ÷ Re，其余按 Colebrook-White 公式。")
        .close("p")
        .newline();
    html.markup("<table>\n<tr><th>项目</th><th>数值</th><th>单位</th><th>依据</th></tr>\n");
    const auto row = [&](const char *name, const std::string &value, const char *unit,
                         std::string_view source) {
        html.open("tr")
            .element("td", name)
            .element("td", value, {{"class", "n"}})
            .element("td", unit)
            .element("td", source)
            .close("tr")
            .newline();
    };
    row("介质", fluidTitle(line), "", "");
    row("温度", fixed(fluid.temperature, 2), "°C", "");
    row("压力（绝对）", significant(fluid.pressure, 6), "MPa", "");
    row("密度 ρ", significant(fluid.density, 6), "kg/m³", density);
    row("动力粘度 μ", significant(fluid.viscosity * 1e6, 4), "μPa·s", viscosity);
    row("管壁绝对粗糙度", shortestText(drop.roughness), "mm", "");
    row("雷诺数 Re", significant(drop.reynolds, 6), "", "");
    row("摩擦系数 f", fixed(drop.friction, 5), "", "Darcy");
    row("每 100 m 压降", significant(drop.kPaPer100m, 3), "kPa", "");
    if (const std::optional<LineDrop> &over = report.lineDrop) {
        const char *method = over->method == DropMethod::Isothermal
            ? "等温可压缩流动：p₁² − p₂² = G²(p₁/ρ₁)[f(L+Le)/D + ΣK + 2 ln(p₁/p₂)]"
            : "Δp = [f(L+Le)/D + ΣK] · ρv² ÷ 2";
        row("全线压降",
            over->method == DropMethod::Choked ? std::string("阻塞") : significant(over->kPa, 3),
            over->method == DropMethod::Choked ? "" : "kPa", method);
    }
    // What the drop assumes (air, water at 20 °C) the rows above already say.
    html.markup("</table>\n");
}

// Real velocity against nominal size for the offered sizes around the recommended one: each
// size's usual band shaded, the design velocity dashed, the recommended size marked.
void appendFigure(Html &html, const SheetLine &line)
{
    const SizingReport &report = line.report;
    const PipeAdvice &advice = report.advice;
    if (advice.status != PipeAdvice::Status::Sized)
        return;
    const std::span<const PipeSize> sizes = offeredSizes(advice.options);
    const int recommended = advice.recommended()->size.dn;
    const auto at = std::find_if(sizes.begin(), sizes.end(),
                                 [&](const PipeSize &size) { return size.dn == recommended; });
    const std::ptrdiff_t centre = at - sizes.begin();
    const std::ptrdiff_t first = std::max<std::ptrdiff_t>(0, centre - 3);
    const std::ptrdiff_t last = std::min<std::ptrdiff_t>(std::ssize(sizes) - 1, centre + 3);
    std::vector<SizeCheck> points;
    double top = report.steps.velocity;
    for (std::ptrdiff_t i = first; i <= last; ++i) {
        const SizeCheck check
            = checkSize(advice.medium, report.aidFlow, sizes[std::size_t(i)], advice.options);
        points.push_back(check);
        top = std::max({top, check.velocity, check.usual->range.high});
    }
    if (!(top > 0.0) || !std::isfinite(top))
        return;
    // A round top for the axis: 1, 2 or 5 times a power of ten, with room above.
    const double magnitude = std::pow(10.0, std::floor(std::log10(top * 1.1)));
    double axis = magnitude;
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        axis = step * magnitude;
        if (axis >= top * 1.1)
            break;
    }
    constexpr double left = 52, right = 660, upper = 14, lower = 214; // the plot, in SVG units
    const double width = (right - left) / double(points.size());
    const auto y = [&](double velocity) { return lower - (lower - upper) * velocity / axis; };
    const auto n = [](double value) { return fixed(value, 1); };
    html.markup("<figure>\n<svg viewBox=\"0 0 680 250\" xmlns=\"http://www.w3.org/2000/svg\" "
                "font-family=\"SimSun, 宋体, AR PL UMing CN, serif\" font-size=\"11\">\n");
    const auto hline
        = [&](double at, std::string_view stroke, std::string_view width, std::string_view dash) {
              const std::string height = n(y(at));
              if (dash.empty()) {
                  html.empty("line",
                             {{"x1", n(left)},
                              {"x2", n(right)},
                              {"y1", height},
                              {"y2", height},
                              {"stroke", stroke},
                              {"stroke-width", width}});
              } else {
                  html.empty("line",
                             {{"x1", n(left)},
                              {"x2", n(right)},
                              {"y1", height},
                              {"y2", height},
                              {"stroke", stroke},
                              {"stroke-dasharray", dash},
                              {"stroke-width", width}});
              }
              html.newline();
          };
    for (int tick = 0; tick <= 5; ++tick) {
        const double value = axis * tick / 5.0;
        hline(value, "#ccc", "0.5", {});
        html.element("text", significant(value, 3),
                     {{"x", n(left - 6)}, {"y", n(y(value) + 4)}, {"text-anchor", "end"}})
            .newline();
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SizeCheck &p = points[i];
        const VelocityRange band = p.usual->range;
        const double x = left + width * (double(i) + 0.5);
        html.empty("rect",
                   {{"x", n(x - width * 0.35)},
                    {"y", n(y(band.high))},
                    {"width", n(width * 0.7)},
                    {"height", n(y(band.low) - y(band.high))},
                    {"fill", "#ddd"}})
            .newline();
        const bool chosen = p.size.dn == recommended;
        html.empty("circle",
                   {{"cx", n(x)},
                    {"cy", n(y(p.velocity))},
                    {"r", chosen ? "5" : "3.5"},
                    {"fill", chosen ? "#c00" : "#000"}})
            .newline();
        html.element("text", "DN" + std::to_string(p.size.dn),
                     {{"x", n(x)}, {"y", n(lower + 16)}, {"text-anchor", "middle"}})
            .newline();
        if (chosen) {
            html.element("text", "推荐 " + fixed(p.velocity, 2) + " m/s",
                         {{"x", n(x + 8)}, {"y", n(y(p.velocity) - 6)}, {"fill", "#c00"}})
                .newline();
        }
    }
    const double design = report.steps.velocity;
    if (design > 0.0 && design <= axis) {
        hline(design, "#000", "0.8", "5,3");
        html.element("text", "设计流速 " + significant(design, 4) + " m/s",
                     {{"x", n(right)}, {"y", n(y(design) - 4)}, {"text-anchor", "end"}})
            .newline();
    }
    html.empty("line",
               {{"x1", n(left)},
                {"x2", n(left)},
                {"y1", n(upper)},
                {"y2", n(lower)},
                {"stroke", "#000"}})
        .newline();
    html.empty("line",
               {{"x1", n(left)},
                {"x2", n(right)},
                {"y1", n(lower)},
                {"y2", n(lower)},
                {"stroke", "#000"}})
        .newline();
    const std::string middle = n((upper + lower) / 2);
    html.element("text", "实际流速 m/s",
                 {{"x", "12"},
                  {"y", middle},
                  {"transform", "rotate(-90 12 " + middle + ")"},
                  {"text-anchor", "middle"}})
        .newline();
    html.element("text", std::string("公称直径（") + seriesTitle(advice.options.series) + "）",
                 {{"x", n((left + right) / 2)}, {"y", "246"}, {"text-anchor", "middle"}})
        .newline();
    html.markup("</svg>\n")
        .element("figcaption", "实际流速与公称直径：灰色为参考表的常用流速范围，红点为推荐的管子。")
        .markup("\n</figure>\n");
}

// A line's parts, each kept on one page; heading is h2 on a line's own sheet, h3 in a list's.
void appendDetails(Html &html, const SheetLine &line, std::string_view heading)
{
    const auto part = [&](const char *title, auto &&append) {
        html.open("div", {{"class", "part"}}).newline().element(heading, title).newline();
        append();
        html.close("div").newline();
    };
    const auto failed = [&] { html.element("p", "未能计算：" + line.report.error).newline(); };
    if (!line.read) {
        failed();
        return;
    }
    part("一、介质与输入", [&] {
        html.element("p", std::string("介质：") + mediumTitle(line)).newline();
        appendInputs(html, line);
    });
    if (!line.report.ok) {
        part("二、计算", failed);
        return;
    }
    part("二、管径计算", [&] { appendFormula(html, line); });
    part("三、选管与流速校核", [&] { appendAdvice(html, line); });
    part("四、压降估算", [&] { appendDrop(html, line); });
    html.open("div", {{"class", "part"}}).newline();
    appendFigure(html, line);
    html.close("div").newline();
}

} // namespace

std::string calculationSheet(const SheetLine &line, const SheetInfo &info)
{
    std::string out;
    Html html(out);
    openDocument(html, "管径计算书");
    appendParticulars(html, info, "管径计算书");
    if (!line.tag.empty())
        html.element("p", "管线：" + line.tag).newline();
    appendDetails(html, line, "h2");
    closeDocument(html, info);
    return out;
}

std::string lineListSheet(std::span<const SheetLine> lines, const SheetInfo &info,
                          std::string_view name)
{
    const bool tags = std::any_of(lines.begin(), lines.end(),
                                  [](const SheetLine &line) { return !line.tag.empty(); });
    std::string out;
    Html html(out);
    openDocument(html, "管径计算书");
    appendParticulars(html, info, "管径计算书");
    html.element("p",
                 "管线表：" + std::string(name) + "，共 " + std::to_string(lines.size()) + " 条。")
        .newline()
        .element("h2", "汇总")
        .newline()
        .markup("<table>\n<tr><th>序号</th>");
    if (tags)
        html.markup("<th>管线</th>");
    html.markup("<th>介质</th><th>计算内径 mm</th><th>推荐</th><th>实际流速 m/s</th><th>判断</th>"
                "<th>每 100 m 压降 kPa</th></tr>\n");
    const Attribute number {"class", "n"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SheetLine &line = lines[i];
        const SizingReport &report = line.report;
        html.open("tr").element("td", std::to_string(i + 1), {number});
        if (tags)
            html.element("td", line.tag);
        html.element("td", mediumTitle(line));
        if (!report.ok) {
            html.element("td", "未能计算：" + report.error, {{"colspan", "5"}})
                .close("tr")
                .newline();
            continue;
        }
        const SizeCheck *pipe = report.advice.recommended();
        html.element("td", fixed(report.diameter, 2), {number})
            .element("td", pipe ? "DN" + std::to_string(pipe->size.dn) : std::string("—"))
            .element("td", pipe ? fixed(pipe->velocity, 2) : std::string("—"), {number})
            .element("td", pipe ? verdictText(pipe->check) : "—")
            .element("td", report.drop ? significant(report.drop->kPaPer100m, 3) : std::string("—"),
                     {number})
            .close("tr")
            .newline();
    }
    html.markup("</table>\n");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        html.open("section", {{"class", "line"}}).newline();
        html.element(
                "h2",
                std::to_string(i + 1) + ". "
                    + (lines[i].tag.empty() ? std::string(mediumTitle(lines[i])) : lines[i].tag))
            .newline();
        appendDetails(html, lines[i], "h3");
        html.close("section").newline();
    }
    closeDocument(html, info);
    return out;
}

std::string sheetDate()
{
    std::time_t now = std::time(nullptr);
    std::tm parts {};
    if (const char *epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        now = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
#ifdef _WIN32
        gmtime_s(&parts, &now);
#else
        gmtime_r(&now, &parts);
#endif
    } else {
#ifdef _WIN32
        localtime_s(&parts, &now);
#else
        localtime_r(&now, &parts);
#endif
    }
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

std::string sheetFileName(Medium medium, const std::string &date)
{
    const char *name = medium == Medium::Air ? "压缩空气" : medium == Medium::Steam ? "蒸汽" : "水";
    return std::string("管径计算书-") + name + "-" + date + ".html";
}

} // namespace tovrik
