#include "core/sheet.h"

#include "base/conversion.h"
#include "base/text.h"
#include "core/fluid.h"
#include "core/gases.h"
#include "core/version.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace tovrik {

namespace {

// Text from the user, or anything that may hold a < or &, goes in as text, never as markup.
std::string escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

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
    case Medium::Steam:
        return line.inputs.steamTemperature && !line.inputs.steamTemperature->empty() ? "过热蒸汽"
                                                                                      : "饱和蒸汽";
    case Medium::Water: return "水";
    }
    return "";
}

const char *fluidTitle(const SheetLine &line)
{
    switch (line.inputs.medium) {
    case Medium::Air: return gasDef(effectiveGas(line.inputs.advice)).title;
    case Medium::Steam: return "水蒸气";
    case Medium::Water: return "水";
    }
    return "";
}

constexpr std::string_view style = R"(<style>
@page { size: A4; margin: 16mm 15mm 18mm 15mm; }
body { font-family: "SimSun", "宋体", "AR PL UMing CN", "Noto Serif CJK SC", serif;
       font-size: 10.5pt; line-height: 1.45; color: #000; max-width: 180mm; margin: 8mm auto; }
h1 { text-align: center; font-size: 20pt; letter-spacing: 0.4em; margin: 0 0 5mm; }
h2 { font-size: 12pt; margin: 5mm 0 2mm; border-bottom: 0.6pt solid #000; }
h3 { font-size: 11pt; margin: 3mm 0 1.5mm; }
table { border-collapse: collapse; width: 100%; margin: 1mm 0; }
th, td { border: 0.6pt solid #000; padding: 0.8mm 1.8mm; vertical-align: top; text-align: left; }
th { background: #eee; font-weight: normal; white-space: nowrap; }
td.n { text-align: right; white-space: nowrap; }
.particulars td { height: 6.5mm; min-width: 35mm; }
ol.steps { margin: 1mm 0 1mm 6mm; padding: 0; }
ol.steps li { margin: 0.8mm 0; }
.result { font-size: 13pt; margin: 2mm 0; }
.result b { color: #c00; font-weight: normal; }
.note { margin: 1mm 0; }
figure { margin: 3mm 0 0; }
figcaption { font-size: 9pt; text-align: center; }
svg { width: 100%; height: auto; }
section.line { break-before: page; }
.part { break-inside: avoid; }
tr, li, figure { break-inside: avoid; }
footer { margin-top: 6mm; padding-top: 1.5mm; border-top: 0.6pt solid #000; font-size: 9pt; }
</style>
)";

void openDocument(std::string &out, std::string_view title)
{
    out += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    out += escaped(title);
    out += "</title>\n";
    out += style;
    out += "</head>\n<body>\n";
}

// The particulars a sheet carries for the design it belongs to: the date filled in, the rest
// lines to fill by hand.
void appendParticulars(std::string &out, const SheetInfo &info, std::string_view title)
{
    out += "<h1>";
    out += escaped(title);
    out += "</h1>\n<table class=\"particulars\">\n"
           "<tr><th>工程名称</th><td colspan=\"3\"></td></tr>\n"
           "<tr><th>设计阶段</th><td></td><th>日期</th><td>";
    out += escaped(info.date);
    out += "</td></tr>\n<tr><th>计算</th><td></td><th>校核</th><td></td></tr>\n</table>\n";
}

void closeDocument(std::string &out, const SheetInfo &info)
{
    out += "<footer>Tovrik ";
    out += version;
    out += " · ";
    out += escaped(info.date);
    out += " · 内径按 d = 18.8 × √(q ÷ v) 计算，q 为工作状态体积流量（m³/h），v 为设计流速（m/s）。"
           "</footer>\n</body>\n</html>\n";
}

struct InputRow
{
    const char *name;
    const std::optional<std::string> *value;
    const char *unit;
    std::string note;
};

void appendInputs(std::string &out, const SheetLine &line)
{
    const KeptRequest &in = line.inputs;
    const SizingReport &report = line.report;
    const std::string absolute = report.absolutePressure
        ? "表压，即绝对压力 " + significant(*report.absolutePressure, 7) + " MPa"
        : std::string("绝对压力");
    std::vector<InputRow> rows;
    switch (in.medium) {
    case Medium::Air:
        rows = {{"流量 Q", &in.flow, in.flowBasis == FlowBasis::Mass ? "kg/h" : "m³/h",
                 in.flowBasis == FlowBasis::Standard
                     ? std::string("标准状态 0.1 MPa、273 K 下的体积流量")
                     : std::string("按") + flowBasisTitle(in.flowBasis) + "给出"},
                {"设计压力 P", &in.pressure, "MPa", absolute},
                {"设计温度 T", &in.temperature, "°C", {}},
                {"设计流速 v", &in.velocity, "m/s", {}}};
        break;
    case Medium::Steam:
        rows.push_back({"质量流量 Q", &in.flow, "t/h", {}});
        if (in.steamPressure) {
            rows.push_back({"蒸汽压力 p", &in.steamPressure, "MPa", absolute});
            if (in.steamTemperature && !in.steamTemperature->empty())
                rows.push_back({"过热蒸汽温度 Ts", &in.steamTemperature, "°C", {}});
        } else {
            rows.push_back({"比容 u", &in.specificVolume, "m³/kg", "按饱和蒸汽"});
        }
        rows.push_back({"设计流速 v", &in.velocity, "m/s", {}});
        break;
    case Medium::Water:
        rows = {{"流量 Q", &in.flow, "t/h", "管径公式中按 m³/h 计"},
                {"设计流速 v", &in.velocity, "m/s", {}}};
        rows.push_back(
            {"水温 T", &in.temperature, "°C",
             in.temperature ? std::string("流速校核和压降用") : std::string("未给出，按 20 °C")});
        rows.push_back({"压力 P", &in.pressure, "MPa",
                        in.pressure ? absolute : std::string("未给出，按绝对压力 0.101325 MPa")});
        break;
    }
    out += "<table>\n<tr><th>项目</th><th>输入</th><th>单位</th><th>说明</th></tr>\n";
    for (const InputRow &row : rows) {
        out += "<tr><td>";
        out += row.name;
        out += "</td><td>";
        out += *row.value ? escaped(**row.value) : std::string("—");
        out += "</td><td>";
        out += row.unit;
        out += "</td><td>";
        out += escaped(row.note);
        out += "</td></tr>\n";
    }
    out += "<tr><td>管子系列</td><td colspan=\"3\">";
    out += seriesTitle(in.advice.series);
    out += "</td></tr>\n";
    if (in.medium == Medium::Air) {
        out += "<tr><td>气体用途</td><td colspan=\"3\">参考表“压缩空气 ";
        out += usualBand(Medium::Air, 50, in.advice.service).row;
        out += "”一行的常用流速</td></tr>\n";
    }
    if (in.medium == Medium::Air) {
        out += "<tr><td>气体</td><td colspan=\"3\">";
        out += gasDef(effectiveGas(in.advice)).title;
        out += "</td></tr>\n";
    }
    out += "<tr><td>管壁绝对粗糙度</td><td>";
    out += in.roughness ? escaped(*in.roughness) : std::string("0.046");
    out += "</td><td>mm</td><td>";
    out += in.roughness ? "" : "商品钢管";
    out += "</td></tr>\n";
    const struct
    {
        const char *name;
        const std::optional<std::string> *value;
        const char *unit;
    } lineRows[] = {{"管长 L", &in.length, "m"},
                    {"管件阻力系数之和 ΣK", &in.fittings, ""},
                    {"管件当量长度 Le", &in.equivalentLength, "m"},
                    {"允许压降", &in.maxDrop, "kPa"}};
    for (const auto &row : lineRows) {
        if (!*row.value || row.value->value().empty())
            continue;
        out += "<tr><td>";
        out += row.name;
        out += "</td><td>";
        out += escaped(**row.value);
        out += "</td><td>";
        out += row.unit;
        out += "</td><td>";
        if (row.value == &in.maxDrop)
            out += in.length || in.fittings || in.equivalentLength ? "全线" : "每 100 m";
        out += "</td></tr>\n";
    }
    out += "</table>\n";
    if (report.standardFlow) {
        out += "<p class=\"note\">折算为标准状态（0.1 MPa、273 K）下的流量：Q = ";
        out += figure(*report.standardFlow, U'.');
        out += " m³/h，下式中的 Q 即此值。</p>\n";
    }
    if (report.specificVolume) {
        out += "<p class=\"note\">比容由 IAPWS-IF97 求得：u = ";
        out += figure(*report.specificVolume, U'.');
        out += " m³/kg。</p>\n";
    }
}

// The definition's formula, step by step in its order, each number as the formula had it.
void appendFormula(std::string &out, const SheetLine &line)
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
    out += "<p>d = 18.8 × √(q ÷ v)，各步依次为：</p>\n<ol class=\"steps\">\n";
    for (const std::string &step : steps) {
        out += "<li>";
        out += escaped(step);
        out += "</li>\n";
    }
    out += "</ol>\n<p class=\"result\">计算内径 d = <b>";
    out += escaped(line.report.text);
    out += "</b> mm，约 ";
    out += fixed(line.report.diameter, 2);
    out += " mm。</p>\n";
}

// "ASME B36.10M Sch40，Φ273×9.27": the series and the pipe as it is ordered.
std::string seriesAndSize(const PipeSize &size, PipeSeries series)
{
    return std::string(seriesTitle(series)) + "，Φ" + shortestText(size.outside) + "×"
        + shortestText(size.wall);
}

void appendCheckRow(std::string &out, const char *role, const SizeCheck &check,
                    const PipeAdvice &advice)
{
    out += "<tr><td>";
    out += role;
    out += "</td><td>DN";
    out += std::to_string(check.size.dn);
    out += "</td><td>";
    out += escaped(seriesAndSize(check.size, advice.options.series));
    out += "</td><td class=\"n\">";
    out += boreText(check.size, advice.options.series);
    out += "</td><td class=\"n\">";
    out += fixed(check.velocity, 2);
    out += "</td><td class=\"n\">";
    out += escaped(rangeText(check.usual->range));
    out += "</td><td>";
    out += check.usual->section;
    out += ' ';
    out += escaped(check.usual->row);
    if (!check.usual->reading.empty()) {
        out += "（";
        out += check.usual->reading;
        out += "）";
    }
    out += "</td><td>";
    out += verdictText(check.check);
    out += "</td></tr>\n";
}

void appendAdvice(std::string &out, const SheetLine &line)
{
    const SizingReport &report = line.report;
    const PipeAdvice &advice = report.advice;
    if (!report.basis.empty()) {
        out += "<p class=\"note\">";
        out += escaped(report.basis);
        out += "</p>\n";
    }
    if (advice.status != PipeAdvice::Status::Sized) {
        out += "<p>";
        out += escaped(adviceText(advice));
        out += "</p>\n";
        return;
    }
    out += "<table>\n<tr><th></th><th>公称直径</th><th>规格</th><th>内径 mm</th><th>实际流速 "
           "m/s</th>"
           "<th>常用流速 m/s</th><th>参考表</th><th>判断</th></tr>\n";
    appendCheckRow(out, advice.byDrop ? "★ 推荐（按允许压降）" : "★ 推荐", *advice.recommended(),
                   advice);
    if (advice.byDrop)
        appendCheckRow(out, "按预定流速", *advice.velocitySized(), advice);
    if (const SizeCheck *other = advice.alternative())
        appendCheckRow(out, advice.recommendSmaller ? "大一号" : "小一号", *other, advice);
    if (advice.inBand)
        appendCheckRow(out, "常用范围内最近", *advice.inBand, advice);
    out += "</table>\n";
    if (advice.recommendSmaller) {
        out += "<p class=\"note\">推荐管子的内径小于算得的内径，实际流速高于设计流速。</p>\n";
    }
    if (advice.maxDrop && !advice.byDrop)
        out += "<p class=\"note\">本系列没有流速不超过常用范围、压降又不超过允许值的管径，"
               "以上按预定流速选定。</p>\n";
    if (advice.bandSearched && !advice.inBand)
        out += "<p class=\"note\">本系列没有实际流速在常用流速范围内的管径。</p>\n";
    if (advice.slowWater()) {
        out += "<p class=\"note\">实际流速低于水的常用流速下限 0.5 m/s，请核对流量，"
               "或选用更小的管径。</p>\n";
    }
}

void appendDrop(std::string &out, const SheetLine &line)
{
    const SizingReport &report = line.report;
    if (!report.drop || !report.fluid) {
        out += "<p>无法估算压降：";
        out += escaped(report.dropNote.empty() ? "没有推荐的管子。" : report.dropNote);
        out += "</p>\n";
        return;
    }
    const FluidState &fluid = *report.fluid;
    const PressureDrop &drop = *report.drop;
    const Medium medium = line.inputs.medium;
    const Gas gas = effectiveGas(line.inputs.advice);
    const std::string density = medium == Medium::Air
        ? "理想气体，ρ = p ÷ (R·T)，R = " + significant(gasDef(gas).gasConstant, 5) + " J/(kg·K)"
        : medium == Medium::Water ? "IAPWS-IF97（1 区）"
                                  : "ρ = 1 ÷ u（IAPWS-IF97）";
    const char *viscosity = medium != Medium::Air ? "IAPWS 2008（R12-08）"
        : gas == Gas::NaturalGas
        ? "Sutherland 公式（CRC Handbook, 97th ed., 2016；Kaye & Laby, 16th ed., 1995）"
        : "Sutherland 公式（White, Viscous Fluid Flow, 3rd ed., 2006）";
    const SizeCheck &pipe = *report.advice.recommended();
    out += "<p>在推荐管子 DN";
    out += std::to_string(pipe.size.dn);
    out += " 中按 Darcy-Weisbach 公式 Δp = f · (L ÷ D) · ρv² ÷ 2 估算，L = 100 m；"
           "摩擦系数层流（Re &lt; 2300）取 64 ÷ Re，其余按 Colebrook-White 公式。</p>\n"
           "<table>\n<tr><th>项目</th><th>数值</th><th>单位</th><th>依据</th></tr>\n";
    const auto row
        = [&](const char *name, const std::string &value, const char *unit, const char *source) {
              out += "<tr><td>";
              out += name;
              out += "</td><td class=\"n\">";
              out += value;
              out += "</td><td>";
              out += unit;
              out += "</td><td>";
              out += source;
              out += "</td></tr>\n";
          };
    row("介质", fluidTitle(line), "", "");
    row("温度", fixed(fluid.temperature, 2), "°C", "");
    row("压力（绝对）", significant(fluid.pressure, 6), "MPa", "");
    row("密度 ρ", significant(fluid.density, 6), "kg/m³", density.c_str());
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
    out += "</table>\n";
}

// Real velocity against nominal size for the sizes of the series around the diameter: each
// size's usual band shaded, the design velocity dashed, the recommended size marked.
void appendFigure(std::string &out, const SheetLine &line)
{
    const SizingReport &report = line.report;
    const PipeAdvice &advice = report.advice;
    if (advice.status != PipeAdvice::Status::Sized)
        return;
    const std::span<const PipeSize> table = pipeTable(advice.options.series);
    const int recommended = advice.recommended()->size.dn;
    const auto at = std::find_if(table.begin(), table.end(),
                                 [&](const PipeSize &size) { return size.dn == recommended; });
    const std::ptrdiff_t centre = at - table.begin();
    const std::ptrdiff_t first = std::max<std::ptrdiff_t>(0, centre - 3);
    const std::ptrdiff_t last = std::min<std::ptrdiff_t>(std::ssize(table) - 1, centre + 3);
    struct Point
    {
        int dn;
        double velocity;
        VelocityRange band;
    };
    std::vector<Point> points;
    double top = report.steps.velocity;
    for (std::ptrdiff_t i = first; i <= last; ++i) {
        const PipeSize &size = table[std::size_t(i)];
        if (size.dn == 90 && !advice.options.allSizes)
            continue;
        const double velocity = realVelocity(report.aidFlow, size);
        const VelocityRange band = usualBand(advice.medium, size.dn, advice.options.service).range;
        points.push_back({size.dn, velocity, band});
        top = std::max({top, velocity, band.high});
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
    const auto number = [](double value) { return fixed(value, 1); };
    out += "<figure>\n<svg viewBox=\"0 0 680 250\" xmlns=\"http://www.w3.org/2000/svg\" "
           "font-family=\"SimSun, 宋体, AR PL UMing CN, serif\" font-size=\"11\">\n";
    for (int tick = 0; tick <= 5; ++tick) {
        const double value = axis * tick / 5.0;
        out += "<line x1=\"" + number(left) + "\" x2=\"" + number(right) + "\" y1=\""
            + number(y(value)) + "\" y2=\"" + number(y(value))
            + "\" stroke=\"#ccc\" stroke-width=\"0.5\"/>\n<text x=\"" + number(left - 6) + "\" y=\""
            + number(y(value) + 4) + "\" text-anchor=\"end\">" + significant(value, 3)
            + "</text>\n";
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point &p = points[i];
        const double x = left + width * (double(i) + 0.5);
        out += "<rect x=\"" + number(x - width * 0.35) + "\" y=\"" + number(y(p.band.high))
            + "\" width=\"" + number(width * 0.7) + "\" height=\""
            + number(y(p.band.low) - y(p.band.high)) + "\" fill=\"#ddd\"/>\n";
        const bool chosen = p.dn == recommended;
        out += "<circle cx=\"" + number(x) + "\" cy=\"" + number(y(p.velocity)) + "\" r=\""
            + (chosen ? "5" : "3.5") + "\" fill=\"" + (chosen ? "#c00" : "#000") + "\"/>\n";
        out += "<text x=\"" + number(x) + "\" y=\"" + number(lower + 16)
            + "\" text-anchor=\"middle\">DN" + std::to_string(p.dn) + "</text>\n";
        if (chosen) {
            out += "<text x=\"" + number(x + 8) + "\" y=\"" + number(y(p.velocity) - 6)
                + "\" fill=\"#c00\">推荐 " + fixed(p.velocity, 2) + " m/s</text>\n";
        }
    }
    const double design = report.steps.velocity;
    if (design > 0.0 && design <= axis) {
        out += "<line x1=\"" + number(left) + "\" x2=\"" + number(right) + "\" y1=\""
            + number(y(design)) + "\" y2=\"" + number(y(design))
            + "\" stroke=\"#000\" stroke-dasharray=\"5,3\" stroke-width=\"0.8\"/>\n<text x=\""
            + number(right) + "\" y=\"" + number(y(design) - 4) + "\" text-anchor=\"end\">设计流速 "
            + significant(design, 4) + " m/s</text>\n";
    }
    out += "<line x1=\"" + number(left) + "\" x2=\"" + number(left) + "\" y1=\"" + number(upper)
        + "\" y2=\"" + number(lower) + "\" stroke=\"#000\"/>\n<line x1=\"" + number(left)
        + "\" x2=\"" + number(right) + "\" y1=\"" + number(lower) + "\" y2=\"" + number(lower)
        + "\" stroke=\"#000\"/>\n<text x=\"12\" y=\"" + number((upper + lower) / 2)
        + "\" transform=\"rotate(-90 12 " + number((upper + lower) / 2)
        + ")\" text-anchor=\"middle\">实际流速 m/s</text>\n<text x=\"" + number((left + right) / 2)
        + "\" y=\"246\" text-anchor=\"middle\">公称直径（" + seriesTitle(advice.options.series)
        + "）</text>\n</svg>\n"
        + "<figcaption>实际流速与公称直径：灰色为参考表的常用流速范围，红点为推荐的管子。"
          "</figcaption>\n</figure>\n";
}

// A line's parts, each kept on one page; heading is h2 on a line's own sheet, h3 in a list's.
void appendDetails(std::string &out, const SheetLine &line, std::string_view heading)
{
    const auto part = [&](const char *title, auto &&append) {
        out += "<div class=\"part\">\n<";
        out += heading;
        out += '>';
        out += title;
        out += "</";
        out += heading;
        out += ">\n";
        append();
        out += "</div>\n";
    };
    const auto failed = [&] {
        out += "<p>未能计算：";
        out += escaped(line.report.error);
        out += "</p>\n";
    };
    if (!line.read) {
        failed();
        return;
    }
    part("一、介质与输入", [&] {
        out += "<p>介质：";
        out += mediumTitle(line);
        out += "</p>\n";
        appendInputs(out, line);
    });
    if (!line.report.ok) {
        part("二、计算", failed);
        return;
    }
    part("二、管径计算", [&] { appendFormula(out, line); });
    part("三、选管与流速校核", [&] { appendAdvice(out, line); });
    part("四、压降估算", [&] { appendDrop(out, line); });
    out += "<div class=\"part\">\n";
    appendFigure(out, line);
    out += "</div>\n";
}

} // namespace

std::string calculationSheet(const SheetLine &line, const SheetInfo &info)
{
    std::string out;
    openDocument(out, "管径计算书");
    appendParticulars(out, info, "管径计算书");
    if (!line.tag.empty()) {
        out += "<p>管线：";
        out += escaped(line.tag);
        out += "</p>\n";
    }
    appendDetails(out, line, "h2");
    closeDocument(out, info);
    return out;
}

std::string lineListSheet(std::span<const SheetLine> lines, const SheetInfo &info,
                          std::string_view name)
{
    const bool tags = std::any_of(lines.begin(), lines.end(),
                                  [](const SheetLine &line) { return !line.tag.empty(); });
    std::string out;
    openDocument(out, "管径计算书");
    appendParticulars(out, info, "管径计算书");
    out += "<p>管线表：";
    out += escaped(name);
    out += "，共 " + std::to_string(lines.size())
        + " 条。</p>\n<h2>汇总</h2>\n<table>\n<tr><th>序号</th>";
    if (tags)
        out += "<th>管线</th>";
    out += "<th>介质</th><th>计算内径 mm</th><th>推荐</th><th>实际流速 m/s</th><th>判断</th>"
           "<th>每 100 m 压降 kPa</th></tr>\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SheetLine &line = lines[i];
        const SizingReport &report = line.report;
        out += "<tr><td class=\"n\">" + std::to_string(i + 1) + "</td>";
        if (tags)
            out += "<td>" + escaped(line.tag) + "</td>";
        out += "<td>";
        out += mediumTitle(line);
        out += "</td>";
        if (!report.ok) {
            out += "<td colspan=\"5\">未能计算：" + escaped(report.error) + "</td></tr>\n";
            continue;
        }
        const SizeCheck *pipe = report.advice.recommended();
        out += "<td class=\"n\">" + fixed(report.diameter, 2) + "</td><td>"
            + (pipe ? "DN" + std::to_string(pipe->size.dn) : std::string("—"))
            + "</td><td class=\"n\">" + (pipe ? fixed(pipe->velocity, 2) : std::string("—"))
            + "</td><td>" + (pipe ? verdictText(pipe->check) : "—") + "</td><td class=\"n\">"
            + (report.drop ? significant(report.drop->kPaPer100m, 3) : std::string("—"))
            + "</td></tr>\n";
    }
    out += "</table>\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += "<section class=\"line\">\n<h2>" + std::to_string(i + 1) + ". "
            + (lines[i].tag.empty() ? std::string(mediumTitle(lines[i])) : escaped(lines[i].tag))
            + "</h2>\n";
        appendDetails(out, lines[i], "h3");
        out += "</section>\n";
    }
    closeDocument(out, info);
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
