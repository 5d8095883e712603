#include "core/sheet.h"

#include "base/conversion.h"
#include "base/text.h"
#include "core/fluid.h"
#include "core/gases.h"
#include "core/html.h"
#include "core/realgas.h"
#include "core/sheetstyle.h"
#include "core/velocitytables.h"
#include "core/version.h"
#include "core/words.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace tovrik {

namespace {

constexpr SheetFieldDef fieldDefs[] = {
    {SheetField::Project, "project", "工程名称"},
    {SheetField::ProjectNumber, "project-no", "工程号"},
    {SheetField::Unit, "unit", "装置/单元"},
    {SheetField::Line, "line-no", "管线号"},
    {SheetField::Document, "document-no", "文件编号"},
    {SheetField::Revision, "revision", "版次"},
    {SheetField::Designer, "designer", "设计"},
    {SheetField::DesignDate, "design-date", "设计日期"},
    {SheetField::Checker, "checker", "校核"},
    {SheetField::CheckDate, "check-date", "校核日期"},
    {SheetField::Reviewer, "reviewer", "审核"},
    {SheetField::ReviewDate, "review-date", "审核日期"},
    {SheetField::Approver, "approver", "审定"},
    {SheetField::ApprovalDate, "approval-date", "审定日期"},
};
static_assert(std::size(fieldDefs) == std::size_t(SheetField::Count));

} // namespace

std::span<const SheetFieldDef> sheetFieldDefs()
{
    return fieldDefs;
}

const SheetFieldDef *sheetFieldNamed(std::string_view name)
{
    for (const SheetFieldDef &def : fieldDefs) {
        if (name == def.title || equalsIgnoringCase(name, def.key))
            return &def;
    }
    return nullptr;
}

std::string readSheetInfo(std::string_view text, std::string_view source, SheetInfo &info)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        line = withoutBlanks(line);
        if (line.empty() || line.front() == '#')
            continue;
        const std::string where = std::string(source) + "第 " + std::to_string(number) + " 行";
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return where + "不是“项目 = 内容”的形式。";
        const std::string_view key = withoutBlanks(line.substr(0, equals));
        const SheetFieldDef *def = sheetFieldNamed(key);
        if (!def) {
            std::string known;
            for (const SheetFieldDef &each : fieldDefs)
                known += std::string(known.empty() ? "" : "、") + each.key;
            std::string fault = where;
            fault += "的“";
            fault += key;
            fault += "”不是计算书信息的项目，可用的有：";
            return fault + known + "。";
        }
        info[def->field] = std::string(withoutBlanks(line.substr(equals + 1)));
    }
    return {};
}

std::optional<SheetDetail> sheetDetailNamed(std::string_view name)
{
    if (name == "none")
        return SheetDetail::None;
    if (name == "failed")
        return SheetDetail::Failed;
    if (name == "all")
        return SheetDetail::All;
    return std::nullopt;
}

namespace {

// The drop the allowable drop is judged by, kPa: over the line or per 100 m, as it was given.
std::optional<double> judgedDrop(const SizingReport &report)
{
    if (report.advice.maxDropOverLine) {
        if (report.lineDrop && report.lineDrop->method != DropMethod::Choked
            && report.lineDrop->method != DropMethod::Flashing)
            return report.lineDrop->kPa;
        return std::nullopt;
    }
    if (report.drop)
        return report.drop->kPaPer100m;
    return std::nullopt;
}

// A size made larger than the velocity's for the allowable drop, which may then run below its
// usual velocities.
bool enlargedForDrop(const PipeAdvice &advice)
{
    const SizeCheck *byVelocity = advice.velocitySized();
    return advice.byDrop && byVelocity && advice.byDrop->size.dn > byVelocity->size.dn;
}

} // namespace

bool checksHold(const SizingReport &report)
{
    if (!report.ok || report.advice.status != PipeAdvice::Status::Sized)
        return false;
    const SizeCheck *pipe = report.advice.recommended();
    if (!pipe || pipe->check == VelocityCheck::Above)
        return false;
    if (pipe->check == VelocityCheck::Below && !enlargedForDrop(report.advice))
        return false;
    if (report.advice.maxDrop) {
        const std::optional<double> drop = judgedDrop(report);
        if (!drop || *drop > *report.advice.maxDrop)
            return false;
    }
    if (report.lineDrop
        && (report.lineDrop->method == DropMethod::Choked
            || report.lineDrop->method == DropMethod::Flashing))
        return false;
    return report.dropAboveUsual == nullptr;
}

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

// So many significant figures at most, without the zeros that end it: 0.901325, not 0.9013250.
std::string trimmed(double value, int figures)
{
    std::string text = significant(value, figures);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

// "0.2 mm（蒸汽管网，CJJ 34-2010）": the wall's roughness with what it stands for.
std::string roughnessWords(const std::optional<std::string> &typed)
{
    if (!typed)
        return shortestText(commercialSteelRoughness) + " mm（未给出，按商品钢管，"
            + roughnessNames()[0].source + "）";
    if (const RoughnessDef *named = roughnessNamed(withoutBlanks(*typed)))
        return shortestText(named->mm) + " mm（" + named->title + "，" + named->source + "）";
    return *typed + " mm";
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

// Text as a CSS string: the user's text in a page's margin boxes stays text, and cannot end
// the style sheet it stands in.
std::string cssString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '<': out += "\\3c "; break;
        case '\n':
        case '\r': out += ' '; break;
        default: out += c;
        }
    }
    return out + '"';
}

// "工程：… 管线号：…", as every page's head says whose sheet it is.
std::string pageHead(const SheetInfo &info, std::string_view line)
{
    std::string head;
    const auto add = [&](const char *title, std::string_view value) {
        if (value.empty())
            return;
        head += (head.empty() ? "" : "　") + std::string(title) + "：" + std::string(value);
    };
    add("工程", info[SheetField::Project]);
    add("工程号", info[SheetField::ProjectNumber]);
    add("管线号", line);
    add("文件编号", info[SheetField::Document]);
    add("版次", info[SheetField::Revision]);
    return head;
}

// The page's own head and its number "第 x 页 共 y 页", in the margin boxes, where a browser's
// header and footer would otherwise stand.
void openDocument(Html &html, std::string_view title, const SheetInfo &info, std::string_view line)
{
    html.markup("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n")
        .element("title", title)
        .newline()
        .markup("<style>\n")
        .markup(sheetStyle)
        .markup("@page { @top-left { content: ")
        .markup(cssString(std::string(title)))
        .markup("; } @top-right { content: ")
        .markup(cssString(pageHead(info, line)))
        .markup("; } }\n</style>\n</head>\n<body>\n");
}

// The title block and its sign-off; a cell left empty is there to be filled in by hand.
void appendTitleBlock(Html &html, const SheetInfo &info, std::string_view line)
{
    const auto cell = [&](SheetField which, const char *span = nullptr) {
        const std::string_view value
            = which == SheetField::Line && !line.empty() ? line : std::string_view(info[which]);
        if (span)
            html.element("td", value, {{"colspan", span}});
        else
            html.element("td", value);
    };
    html.open("table", {{"class", "particulars"}}).newline();
    html.markup("<tr><th>工程名称</th>");
    cell(SheetField::Project, "3");
    html.markup("<th>工程号</th>");
    cell(SheetField::ProjectNumber);
    html.markup("</tr>\n<tr><th>装置/单元</th>");
    cell(SheetField::Unit, "3");
    html.markup("<th>管线号</th>");
    cell(SheetField::Line);
    html.markup("</tr>\n<tr><th>文件编号</th>");
    cell(SheetField::Document);
    html.markup("<th>版次</th>");
    cell(SheetField::Revision);
    html.markup("<th>日期</th>").element("td", info.date).markup("</tr>\n</table>\n");

    const bool approval
        = !info[SheetField::Approver].empty() || !info[SheetField::ApprovalDate].empty();
    const SheetField names[]
        = {SheetField::Designer, SheetField::Checker, SheetField::Reviewer, SheetField::Approver};
    const std::size_t roles = approval ? 4 : 3;
    html.open("table", {{"class", "signoff"}}).newline().markup("<tr><th></th>");
    for (std::size_t i = 0; i < roles; ++i)
        html.element("th", sheetFieldDefs()[std::size_t(names[i])].title);
    html.markup("</tr>\n<tr><th>签名</th>");
    for (std::size_t i = 0; i < roles; ++i)
        cell(names[i]);
    html.markup("</tr>\n<tr><th>日期</th>");
    for (std::size_t i = 0; i < roles; ++i)
        cell(SheetField(std::size_t(names[i]) + 1));
    html.markup("</tr>\n</table>\n");
}

void appendFooter(Html &html, const SheetInfo &info)
{
    html.open("footer")
        .text("Tovrik ")
        .text(version)
        .text(" · ")
        .text(info.date)
        .text(" · 内径按 d = 18.8 × √(q ÷ v) 计算，q 为工作状态体积流量（m³/h），v "
              "为设计流速（m/s）。")
        .close("footer");
}

void closeDocument(Html &html, const SheetInfo &info)
{
    appendFooter(html, info);
    html.markup("\n</body>\n</html>\n");
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
        ? "表压，即绝对压力 " + trimmed(*report.absolutePressure, 7) + " MPa"
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
    case Input::Roughness: return InputRow {"管壁绝对粗糙度", roughnessWords(typed), "", {}, true};
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
    case Input::FlowBasis: // the flow's row says it
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
std::string sizeText(const PipeSize &size)
{
    return "Φ" + shortestText(size.outside) + "×" + shortestText(size.wall);
}

std::string seriesAndSize(const PipeSize &size, PipeSeries series)
{
    return std::string(seriesTitle(series)) + "，" + sizeText(size);
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

// The viscosity's source for the drop, as the drop's table and the basis cite it.
const char *viscositySource(const SheetLine &line)
{
    if (line.inputs.medium != Medium::Air)
        return "IAPWS 2008（R12-08）";
    return effectiveGas(line.report.advice.options) == Gas::NaturalGas
        ? "Sutherland 公式（CRC Handbook, 97th ed., 2016；Kaye & Laby, 16th ed., 1995）"
        : "Sutherland 公式（White, Viscous Fluid Flow, 3rd ed., 2006）";
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
    const char *viscosity = viscositySource(line);
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
    row("压力（绝对）", trimmed(fluid.pressure, 7), "MPa", "");
    row("密度 ρ", significant(fluid.density, 6), "kg/m³", density);
    row("动力粘度 μ", significant(fluid.viscosity * 1e6, 4), "μPa·s", viscosity);
    row("管壁绝对粗糙度", shortestText(drop.roughness), "mm",
        roughnessWords(line.inputs[Input::Roughness]));
    row("雷诺数 Re", significant(drop.reynolds, 6), "", "");
    row("摩擦系数 f", fixed(drop.friction, 5), "", "Darcy");
    row("每 100 m 压降", significant(drop.kPaPer100m, 3), "kPa", "");
    if (const std::optional<LineDrop> &over = report.lineDrop) {
        const char *method = over->method == DropMethod::Isothermal
            ? "等温可压缩流动：p₁² − p₂² = G²(p₁/ρ₁)[f(L+Le)/D + ΣK + 2 ln(p₁/p₂)]"
            : "Δp = [f(L+Le)/D + ΣK] · ρv² ÷ 2";
        const bool through = over->method != DropMethod::Choked
            && over->method != DropMethod::Flashing && std::isfinite(over->outletPressure);
        row("全线压降",
            over->method == DropMethod::Choked         ? std::string("阻塞")
                : over->method == DropMethod::Flashing ? std::string("汽化")
                                                       : significant(over->kPa, 3),
            through ? "kPa" : "", method);
        if (through) {
            row("出口压力（绝对）", trimmed(over->outletPressure, 6), "MPa", "");
            if (medium != Medium::Water)
                row("出口流速", fixed(over->outletVelocity, 2), "m/s", "");
        }
    }
    // What the drop assumes (air, water at 20 °C) the rows above already say.
    html.markup("</table>\n");
}

// The citation of the table whose row judged the pipe.
std::string velocitySource(const VelocityBand &band)
{
    if (band.sheet())
        return "本程序参考表（窗口左侧的常用流速表）";
    for (const VelocityTable &table : velocityTables()) {
        if (table.title == band.source && !table.rows.empty()
            && table.rows.front().section == band.section)
            return std::string(table.citation);
    }
    return std::string(band.source);
}

// The standards and sources a line was sized by, one a line, in the order the sizing used them.
std::vector<std::string> basisLines(const SheetLine &line)
{
    const SizingReport &report = line.report;
    const Medium medium = line.inputs.medium;
    std::vector<std::string> lines {
        "管径：d = 18.8 × √(q ÷ v)，由 q = π d² v ÷ 4 取 d 为 mm、q 为 m³/h、v 为 m/s 得出。"};
    switch (medium) {
    case Medium::Air:
        lines.emplace_back("工作状态流量：q = Q × (T + 273) × 0.1 ÷ (P × 273)，由标准状态（0.1 "
                           "MPa、273 K）按理想气体换算，P 为绝对压力。");
        break;
    case Medium::Steam:
        lines.emplace_back("蒸汽体积流量：q = u × Q × 1000；由压力求比容按 IAPWS-IF97。");
        break;
    case Medium::Water: lines.emplace_back("水的体积流量按 1 t/h = 1 m³/h 计。"); break;
    }
    if (!report.ok || report.advice.status != PipeAdvice::Status::Sized)
        return lines;
    const PipeSeries series = report.advice.options.series;
    lines.push_back(std::string("管子规格：") + seriesTitle(series) + "（" + seriesCitation(series)
                    + "）。");
    lines.push_back("常用流速：" + velocitySource(*report.advice.recommended()->usual) + "。");
    if (!report.fluid)
        return lines;
    if (medium == Medium::Air) {
        lines.push_back(std::string("气体密度：") + realGasModel
                        + "，临界参数取自各气体的参考状态方程（J. Phys. Chem. Ref. Data）；粘度："
                        + viscositySource(line) + "。");
    } else {
        lines.emplace_back("水和水蒸气的密度：IAPWS-IF97；粘度：IAPWS 2008（R12-08）。");
    }
    lines.push_back("压降：Darcy–Weisbach 公式，摩擦系数按 Colebrook–White 公式（层流 64 ÷ "
                    "Re）；管壁粗糙度 "
                    + roughnessWords(line.inputs[Input::Roughness]) + "。");
    if (report.lineDrop && report.lineDrop->method == DropMethod::Isothermal)
        lines.emplace_back("可压缩流体全线压降：等温流动，理想气体。");
    if (report.dropAboveUsual)
        lines.push_back("常用最大压降：" + std::string(report.dropAboveUsual->citation) + "。");
    return lines;
}

void appendBasis(Html &html, const SheetLine &line)
{
    html.open("ol", {{"class", "basis"}}).newline();
    for (const std::string &basis : basisLines(line))
        html.element("li", basis).newline();
    html.close("ol").newline();
}

// What is recommended and whether each check holds, with the figures, one sentence a line.
std::vector<std::string> conclusionLines(const SheetLine &line)
{
    const SizingReport &report = line.report;
    const PipeAdvice &advice = report.advice;
    if (!line.read || !report.ok)
        return {"未能计算：" + report.error};
    std::vector<std::string> lines;
    if (advice.status != PipeAdvice::Status::Sized) {
        lines.push_back("计算内径 " + fixed(report.diameter, 2) + " mm；未能选管：");
        const std::string words = pipeAdviceText(advice);
        lines.back() += words.substr(0, words.find('\n'));
        return lines;
    }
    const SizeCheck &pipe = *advice.recommended();
    const VelocityBand &band = *pipe.usual;
    lines.push_back("计算内径 " + fixed(report.diameter, 2) + " mm，"
                    + (advice.byDrop ? "按允许压降" : "") + "选用 DN" + std::to_string(pipe.size.dn)
                    + "（" + seriesAndSize(pipe.size, advice.options.series) + "，内径 "
                    + boreText(pipe.size, advice.options.series) + " mm）。");
    lines.push_back("实际流速 " + fixed(pipe.velocity, 2) + " m/s，常用流速 "
                    + rangeText(band.range) + " m/s（" + std::string(band.section) + " "
                    + std::string(band.row) + "），" + std::string(statusWords(advice))
                    + (enlargedForDrop(advice) && pipe.check == VelocityCheck::Below
                           ? "，为满足允许压降而选大，可以接受。"
                           : "。"));
    if (advice.maxDrop) {
        const char *over = advice.maxDropOverLine ? "全线压降 " : "每 100 m 压降 ";
        const std::string limit = trimmed(*advice.maxDrop, 6) + " kPa";
        if (const std::optional<double> drop = judgedDrop(report)) {
            const bool holds = *drop <= *advice.maxDrop;
            lines.push_back(over + significant(*drop, 3) + (holds ? " kPa ≤ " : " kPa > ") + limit
                            + (holds ? "，满足。" : "，不满足。"));
        } else {
            lines.push_back(std::string("无法按允许压降 ") + limit + " 校核：" + dropNote(report));
        }
    } else if (report.drop && !report.lineDrop) {
        lines.push_back(pressureDropText(report) + "。");
    }
    // The line's drop with its outlet, or why it chokes or flashes, as the advice says it.
    if (report.lineDrop && report.line)
        lines.push_back(lineDropText(*report.lineDrop, *report.line));
    if (const std::string usual = usualDropNote(report); !usual.empty())
        lines.push_back(usual);
    lines.emplace_back(checksHold(report) ? "结论：各项校核均满足。"
                                          : "结论：有校核未满足，须调整后再用。");
    return lines;
}

void appendConclusion(Html &html, const SheetLine &line)
{
    for (const std::string &sentence : conclusionLines(line))
        html.element("p", sentence, {{"class", "conclusion"}}).newline();
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
    // The bands first, then every point and label over all of them: a label reaching into the
    // next size's band is not hidden by it.
    const auto centreOf = [&](std::size_t i) { return left + width * (double(i) + 0.5); };
    for (std::size_t i = 0; i < points.size(); ++i) {
        const VelocityRange band = points[i].usual->range;
        const double x = centreOf(i);
        html.empty("rect",
                   {{"x", n(x - width * 0.35)},
                    {"y", n(y(band.high))},
                    {"width", n(width * 0.7)},
                    {"height", n(y(band.low) - y(band.high))},
                    {"fill", "#ddd"}})
            .newline();
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SizeCheck &p = points[i];
        const double x = centreOf(i);
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
                         {{"x", n(x + 8)},
                          {"y", n(y(p.velocity) - 6)},
                          {"fill", "#c00"},
                          {"stroke", "#fff"},
                          {"stroke-width", "3"},
                          {"paint-order", "stroke"}})
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

// A line's parts, each kept on one page: on a line's own sheet with its sources and figure; in
// a list, where each line has one page, without them (the summary cites the sources once).
void appendDetails(Html &html, const SheetLine &line, bool own)
{
    const std::string_view heading = own ? "h2" : "h3";
    int number = 0;
    const auto part = [&](const char *title, auto &&append) {
        static constexpr const char *numbers[] = {"一", "二", "三", "四", "五", "六", "七"};
        html.open("div", {{"class", "part"}})
            .newline()
            .element(heading, std::string(numbers[number++]) + "、" + title)
            .newline();
        append();
        html.close("div").newline();
    };
    const auto failed = [&] { html.element("p", "未能计算：" + line.report.error).newline(); };
    if (!line.read) {
        failed();
        return;
    }
    if (own && line.report.ok)
        part("计算依据", [&] { appendBasis(html, line); });
    part("介质与输入", [&] {
        html.element("p", std::string("介质：") + mediumTitle(line)).newline();
        appendInputs(html, line);
    });
    if (!line.report.ok) {
        part("计算", failed);
        return;
    }
    part("管径计算", [&] { appendFormula(html, line); });
    part("选管与流速校核", [&] { appendAdvice(html, line); });
    part("压降估算", [&] { appendDrop(html, line); });
    part("结论", [&] { appendConclusion(html, line); });
    if (own) {
        html.open("div", {{"class", "part"}}).newline();
        appendFigure(html, line);
        html.close("div").newline();
    }
}

// The drop a list's summary gives: the one judged against the allowable drop, else the line's,
// else that per 100 m.
std::optional<double> summaryDrop(const SizingReport &report)
{
    if (report.advice.maxDrop)
        return judgedDrop(report);
    if (report.lineDrop && std::isfinite(report.lineDrop->kPa))
        return report.lineDrop->kPa;
    if (report.drop)
        return report.drop->kPaPer100m;
    return std::nullopt;
}

constexpr std::string_view sheetTitle = "管径计算书";
// As many lines as an A4 landscape page holds below the title block, each of one line of text.
constexpr std::size_t summaryRowsPerPage = 25;

} // namespace

std::string calculationSheet(const SheetLine &line, const SheetInfo &info)
{
    std::string out;
    Html html(out);
    openDocument(html, sheetTitle, info, line.tag);
    html.element("h1", sheetTitle).newline();
    appendTitleBlock(html, info, line.tag);
    appendDetails(html, line, true);
    closeDocument(html, info);
    return out;
}

LineListSheet::LineListSheet(const SheetInfo &info, std::string_view name, SheetDetail detail,
                             Sink summary, Sink details)
    : m_info(info)
    , m_detail(detail)
    , m_summary(std::move(summary))
    , m_details(std::move(details))
{
    Html head(m_head);
    // A table a page, each with the title block in its head: a browser lays out a few dozen
    // rows at a time, where one table of thousands costs it minutes and gigabytes to print.
    head.open("table", {{"class", "summary"}})
        .markup("\n<colgroup><col style=\"width:5%\"><col style=\"width:14%\"><col "
                "style=\"width:13%\"><col style=\"width:9%\"><col style=\"width:8%\"><col "
                "style=\"width:15%\"><col style=\"width:8%\"><col style=\"width:10%\"><col "
                "style=\"width:9%\"><col style=\"width:9%\"></colgroup>")
        .markup("\n<thead>\n<tr><td colspan=\"10\" class=\"block\">\n")
        .element("h1", "管径计算汇总表")
        .newline();
    appendTitleBlock(head, info, {});
    head.element("p", "管线表：" + std::string(name))
        .markup("\n</td></tr>\n<tr><th>序号</th><th>管线号</th><th>介质</th><th>流量</th>"
                "<th>计算内径 mm</th><th>选用管子</th><th>实际流速 m/s</th><th>判断</th>"
                "<th>压降 kPa</th><th>结论</th></tr>\n</thead>\n<tbody>\n");
    Html html(m_buffer);
    openDocument(html, sheetTitle, info, {});
    html.open("section", {{"class", "summary"}}).newline().markup(m_head);
    m_summary(m_buffer);
    m_buffer.clear();
}

void LineListSheet::add(const SheetLine &line)
{
    const SizingReport &report = line.report;
    const bool sized = line.read && report.ok;
    const bool holds = sized && checksHold(report);
    if (m_count > 0 && m_count % summaryRowsPerPage == 0) {
        m_summary("</tbody>\n</table>\n");
        m_summary(m_head);
    }
    ++m_count;
    m_failing += holds ? 0 : 1;
    if (sized) {
        for (std::string &basis : basisLines(line)) {
            if (std::find(m_basis.begin(), m_basis.end(), basis) == m_basis.end())
                m_basis.push_back(std::move(basis));
        }
    }
    const Attribute number {"class", "n"};
    const std::string index = std::to_string(m_count);
    Html html(m_buffer);
    html.open("tr")
        .element("td", index, {number})
        .element("td", line.tag)
        .element("td", mediumTitle(line));
    if (!sized) {
        html.element("td", "未能计算：" + report.error, {{"colspan", "7"}}).close("tr").newline();
    } else {
        const SizeCheck *pipe = report.advice.recommended();
        const std::optional<std::string> &flow = line.inputs[Input::Flow];
        const std::optional<double> drop = summaryDrop(report);
        const char *unit = line.inputs.medium != Medium::Air ? " t/h"
            : report.flowBasis == FlowBasis::Mass            ? " kg/h"
                                                             : " m³/h";
        html.element("td", flow ? *flow + unit : std::string("—"), {number})
            .element("td", fixed(report.diameter, 2), {number})
            .element("td",
                     pipe ? "DN" + std::to_string(pipe->size.dn) + " " + sizeText(pipe->size)
                          : std::string("—"))
            .element("td", pipe ? fixed(pipe->velocity, 2) : std::string("—"), {number})
            .element("td", statusWords(report.advice))
            .element("td", drop ? significant(*drop, 3) : std::string("—"), {number})
            .element("td", holds ? "满足" : "未满足")
            .close("tr")
            .newline();
    }
    m_summary(m_buffer);
    m_buffer.clear();
    if (m_detail == SheetDetail::None || (m_detail == SheetDetail::Failed && holds))
        return;
    m_detailed = true;
    html.open("section", {{"class", "line"}})
        .newline()
        .element("h2",
                 index + ". " + (line.tag.empty() ? std::string(mediumTitle(line)) : line.tag))
        .newline();
    // The page's head names the project and the document, the heading the line; the sign-off
    // is the summary's, for the whole list.
    appendDetails(html, line, false);
    html.close("section").newline();
    m_details(m_buffer);
    m_buffer.clear();
}

void LineListSheet::finishSummary()
{
    Html html(m_buffer);
    html.markup("</tbody>\n</table>\n")
        .element("p",
                 "共 " + std::to_string(m_count) + " 条，其中 " + std::to_string(m_failing)
                     + " 条有校核未满足或未能计算。")
        .newline()
        .element("h2", "计算依据")
        .newline()
        .open("ol", {{"class", "basis summary"}})
        .newline();
    for (const std::string &basis : m_basis)
        html.element("li", basis).newline();
    html.close("ol").newline();
    // Without detail pages the sheet ends on the summary's own page.
    if (!m_detailed)
        appendFooter(html, m_info);
    html.close("section").newline();
    m_summary(m_buffer);
    m_buffer.clear();
}

std::string LineListSheet::end() const
{
    std::string out;
    Html html(out);
    if (m_detailed)
        closeDocument(html, m_info);
    else
        html.markup("\n</body>\n</html>\n");
    return out;
}

std::string lineListSheet(std::span<const SheetLine> lines, const SheetInfo &info,
                          std::string_view name, SheetDetail detail)
{
    std::string summary, details;
    LineListSheet sheet(
        info, name, detail, [&](std::string_view text) { summary += text; },
        [&](std::string_view text) { details += text; });
    for (const SheetLine &line : lines)
        sheet.add(line);
    sheet.finishSummary();
    return summary + details + sheet.end();
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
