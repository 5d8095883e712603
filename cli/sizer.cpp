#include "cli/sizer.h"

#include "cli/csv.h"
#include "core/messages.h"
#include "core/steam.h"
#include "runtime/conversion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace tovrik::cli {

namespace {

constexpr const char *version = "1.00";

enum MediaMask : unsigned { air = 1, steam = 2, water = 4, all = 7 };

// The inputs, in the order the window shows them. Steam's specific volume and pressure are
// alternatives: exactly one of them is needed.
struct InputDef
{
    Operand operand;
    char shortOption;
    const char *longOption;
    const char *column;
    std::optional<std::string_view> SizingInputs::*field;
    unsigned media;
    bool alternative;
};

constexpr InputDef allInputs[] = {
    {Operand::Flow, 'Q', "flow", "Q", &SizingInputs::flow, all, false},
    {Operand::Pressure, 'P', "pressure", "P", &SizingInputs::pressure, air, false},
    {Operand::Temperature, 'T', "temperature", "T", &SizingInputs::temperature, air, false},
    {Operand::SpecificVolume, 'u', "specific-volume", "u", &SizingInputs::specificVolume, steam,
     true},
    {Operand::Pressure, 'p', "steam-pressure", "p", &SizingInputs::steamPressure, steam, true},
    {Operand::Velocity, 'v', "velocity", "v", &SizingInputs::velocity, all, false},
};

unsigned maskOf(Medium medium)
{
    switch (medium) {
    case Medium::Air: return air;
    case Medium::Steam: return steam;
    case Medium::Water: return water;
    }
    return 0;
}

bool takes(Medium medium, const InputDef &input)
{
    return (input.media & maskOf(medium)) != 0;
}

std::string_view withoutBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string optionName(const InputDef &input)
{
    return std::string("-") + input.shortOption + "/--" + input.longOption;
}

// Two decimals, as printf("%.2f") writes them, without printf's cost on every row of a batch.
// Writes at most 32 characters; values too large for that are written as "inf".
char *writeFixed2(char *out, double value)
{
    const double scaled = value * 100.0;
    if (value >= 0.0 && value < 1e13) {
        auto cents = static_cast<std::uint64_t>(scaled);
        const double fraction = scaled - static_cast<double>(cents);
        // Exact cents unless the value lies on a half cent, where only printf knows which way
        // the exact binary value rounds.
        if (fraction < 0.499 || fraction > 0.501) {
            cents += fraction > 0.5;
            out = std::to_chars(out, out + 20, cents / 100).ptr;
            *out++ = '.';
            *out++ = static_cast<char>('0' + cents % 100 / 10);
            *out++ = static_cast<char>('0' + cents % 10);
            return out;
        }
    }
    char buf[400];
    const int length = std::snprintf(buf, sizeof buf, "%.2f", value);
    if (length <= 0 || length > 32)
        return std::copy_n("inf", 3, out);
    return std::copy_n(buf, length, out);
}

const char *const helpText
    = "用法：\n"
      "  tovrik-size air   -Q 流量 -P 压力 -T 温度 -v 流速 [--json]\n"
      "  tovrik-size steam -Q 质量流量 (-u 比容 | -p 压力 --gauge|--absolute) -v 流速 [--json]\n"
      "  tovrik-size water -Q 流量 -v 流速 [--json]\n"
      "  tovrik-size batch [--gauge|--absolute] [文件]\n"
      "\n"
      "由设计流量和流速计算管道内径（mm），结果与 Tovrik 窗口显示的完全相同；并给出\n"
      "可选用的公称直径（ASME B36.10M 40 号壁厚）、其内径、实际流速，以及实际流速\n"
      "是否在参考资料的常用流速范围内。\n"
      "\n"
      "选项：\n"
      "  -Q, --flow=值             流量：压缩空气为标态流量 m3/h，蒸汽为质量流量 t/h，水为 t/h\n"
      "  -P, --pressure=值         压缩空气设计压力 MPa\n"
      "  -T, --temperature=值      压缩空气设计温度 oC\n"
      "  -u, --specific-volume=值  蒸汽的比容 m3/kg\n"
      "  -p, --steam-pressure=值   饱和蒸汽压力 MPa，代替 -u，比容按 IAPWS-IF97 计算\n"
      "      --gauge               压力为表压（加 0.101325 MPa）\n"
      "      --absolute            压力为绝对压力\n"
      "  -v, --velocity=值         设计流速 m/s\n"
      "      --json                以 JSON 输出输入、结果文本和结果数值\n"
      "  -h, --help                显示本帮助\n"
      "      --version             显示版本\n"
      "\n"
      "batch 从文件（没有文件或为 - 时从标准输入）读取带表头的 CSV，列为\n"
      "medium,Q,P,T,u,v（顺序任意，其他列原样保留），medium 为 air/steam/water 或\n"
      "压缩空气/蒸汽/水；蒸汽可用压力列 p 代替 u（须给出 --gauge 或 --absolute）。\n"
      "输出同样的 CSV，并加上结果列 d、error、DN、ID、v_real 和 v_check。\n"
      "数值一律以 . 作小数点。\n"
      "\n"
      "退出状态：0 成功；1 有计算失败；2 用法或输入错误。\n";

int usageError(std::FILE *err, const std::string &message)
{
    std::fprintf(err, "tovrik-size：%s\n请用 tovrik-size --help 查看用法。\n", message.c_str());
    return 2;
}

void appendJsonString(std::string &out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

std::string shortestNumber(double value)
{
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::string(buf, end);
}

// Reads --gauge or --absolute; false when the argument is neither.
bool pressureKindOption(std::string_view arg, std::optional<PressureKind> &kind)
{
    if (arg == "--gauge")
        kind = PressureKind::Gauge;
    else if (arg == "--absolute")
        kind = PressureKind::Absolute;
    else
        return false;
    return true;
}

void appendAdviceJson(std::string &text, const SizingResult &result)
{
    if (result.specificVolume)
        text += ",\"u_from_p\":" + shortestNumber(*result.specificVolume);
    if (!result.ok)
        return;
    if (const auto &advice = result.advice) {
        text += ",\"DN\":" + std::to_string(advice->size.dn);
        text += ",\"ID_mm\":" + shortestNumber(advice->size.inside());
        text += ",\"v_real\":" + shortestNumber(advice->velocity);
        text += ",\"v_check\":\"" + std::string(checkName(advice->check)) + "\"";
    } else {
        text += ",\"DN\":null,\"v_check\":\"beyond-table\"";
    }
    text += ",\"advice\":";
    appendJsonString(text, adviceText(result.advice));
}

int runLine(Medium medium, std::span<const char *const> args, std::FILE *out, std::FILE *err)
{
    SizingInputs inputs;
    bool json = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--json") {
            json = true;
            continue;
        }
        if (pressureKindOption(arg, inputs.steamPressureKind)) {
            if (medium != Medium::Steam)
                return usageError(
                    err, std::string(mediumName(medium)) + " 没有选项 " + std::string(arg) + "。");
            continue;
        }
        const InputDef *input = nullptr;
        std::optional<std::string_view> value;
        for (const InputDef &candidate : allInputs) {
            const std::string longForm = std::string("--") + candidate.longOption;
            if (arg.size() == 2 && arg[0] == '-' && arg[1] == candidate.shortOption) {
                input = &candidate;
            } else if (arg == longForm) {
                input = &candidate;
            } else if (arg.size() > longForm.size() && arg.substr(0, longForm.size()) == longForm
                       && arg[longForm.size()] == '=') {
                input = &candidate;
                value = arg.substr(longForm.size() + 1);
            }
            if (input)
                break;
        }
        if (!input)
            return usageError(err, "不认识的参数“" + std::string(arg) + "”。");
        if (!takes(medium, *input))
            return usageError(
                err, std::string(mediumName(medium)) + " 没有选项 " + optionName(*input) + "。");
        if (!value) {
            if (i + 1 >= args.size())
                return usageError(err, "选项 " + optionName(*input) + " 缺少数值。");
            value = args[++i];
        }
        inputs.*(input->field) = value;
    }
    for (const InputDef &input : allInputs) {
        if (takes(medium, input) && !input.alternative && !(inputs.*(input.field))) {
            return usageError(err,
                              "缺少选项 " + optionName(input) + "（"
                                  + std::string(inputDescription(medium, input.operand)) + "）。");
        }
    }
    if (medium == Medium::Steam) {
        if (inputs.specificVolume.has_value() == inputs.steamPressure.has_value())
            return usageError(err,
                              "蒸汽须给出 -u/--specific-volume 或 -p/--steam-pressure 二者之一。");
        if (inputs.steamPressure && !inputs.steamPressureKind)
            return usageError(err, "蒸汽压力须注明是表压（--gauge）还是绝对压力（--absolute）。");
    }

    const SizingResult result = sizeLine(medium, inputs);
    if (json) {
        std::string text = "{\"medium\":";
        appendJsonString(text, mediumName(medium));
        for (const InputDef &input : allInputs) {
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
            text += ",\"diameter_mm\":" + shortestNumber(result.value);
        } else {
            text += ",\"error\":";
            appendJsonString(text, result.error);
        }
        appendAdviceJson(text, result);
        text += "}\n";
        std::fputs(text.c_str(), out);
    } else if (result.ok) {
        std::fprintf(out, "%s\n%s\n", result.text.c_str(), adviceText(result.advice).c_str());
    }
    if (!result.ok)
        std::fprintf(err, "tovrik-size：%s\n", result.error.c_str());
    return result.ok ? 0 : 1;
}

// The columns a batch adds, or fills in where the input already has them.
enum ResultColumn {
    ColumnD,
    ColumnError,
    ColumnDn,
    ColumnId,
    ColumnVelocity,
    ColumnCheck,
    ResultColumns
};
constexpr const char *resultColumnNames[ResultColumns]
    = {"d", "error", "DN", "ID", "v_real", "v_check"};

// Streams the batch: every record is sized and written before the next is read.
class Batch
{
public:
    Batch(std::FILE *in, std::FILE *out, std::FILE *err, std::optional<PressureKind> pressureKind)
        : m_reader(in)
        , m_out(out)
        , m_err(err)
        , m_pressureKind(pressureKind)
    {
        m_buffer.reserve(outputChunk + 4096);
    }

    int run();

private:
    static constexpr std::size_t outputChunk = 1 << 20;

    bool readHeader(CsvRecord &header);
    void writeRecord(const CsvRecord &record, const SizingResult &result);
    void appendResult(int column, const SizingResult &result);
    static char *writeResult(char *out, int column, const SizingResult &result);
    void endLine() { m_buffer += m_lineEnd; }
    bool flush();
    void sizeRecord(const CsvRecord &record, SizingResult &result) const;

    CsvReader m_reader;
    std::FILE *m_out;
    std::FILE *m_err;
    std::optional<PressureKind> m_pressureKind;
    std::string m_buffer;
    std::string_view m_lineEnd = "\n";
    std::size_t m_columns = 0;
    std::optional<std::size_t> m_medium;
    std::array<std::optional<std::size_t>, std::size(allInputs)> m_inputColumns;
    std::array<std::optional<std::size_t>, ResultColumns> m_resultColumns;
    bool m_resultsInPlace = false; // some result column is one of the input's own
};

bool Batch::flush()
{
    if (!m_buffer.empty()
        && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out) != m_buffer.size()) {
        std::fprintf(m_err, "tovrik-size：写出结果失败。\n");
        return false;
    }
    m_buffer.clear();
    return true;
}

bool Batch::readHeader(CsvRecord &header)
{
    if (!m_reader.next(header)) {
        std::fprintf(m_err, "tovrik-size：输入是空的，缺少表头行（medium,Q,P,T,u,v）。\n");
        return false;
    }
    if (m_reader.usesCrLf())
        m_lineEnd = "\r\n";
    m_columns = header.fields.size();
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string_view name = withoutBlanks(header.fields[i]);
        const auto claim = [&](std::optional<std::size_t> &slot) {
            if (!slot)
                slot = i;
        };
        if (name == "medium")
            claim(m_medium);
        for (std::size_t k = 0; k < std::size(allInputs); ++k) {
            if (name == allInputs[k].column)
                claim(m_inputColumns[k]);
        }
        for (int k = 0; k < ResultColumns; ++k) {
            if (name == resultColumnNames[k]) {
                claim(m_resultColumns[k]);
                m_resultsInPlace = true;
            }
        }
    }
    if (!m_medium) {
        std::fprintf(m_err, "tovrik-size：第 1 行的表头缺少 medium 列。\n");
        return false;
    }

    if (m_reader.hadByteOrderMark())
        m_buffer += "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        if (i > 0)
            m_buffer += ',';
        appendCsvField(m_buffer, header.fields[i]);
    }
    for (int k = 0; k < ResultColumns; ++k) {
        if (!m_resultColumns[k]) {
            m_buffer += ',';
            m_buffer += resultColumnNames[k];
        }
    }
    endLine();
    return true;
}

void Batch::sizeRecord(const CsvRecord &record, SizingResult &result) const
{
    const auto fail = [&](std::string message) {
        result.ok = false;
        result.text.clear();
        result.specificVolume.reset();
        result.advice.reset();
        result.error = std::move(message);
    };
    if (record.fields.size() > m_columns) {
        fail("这一行有 " + std::to_string(record.fields.size()) + " 列，多于表头的 "
             + std::to_string(m_columns) + " 列。");
        return;
    }
    const auto field = [&](std::size_t column) {
        return column < record.fields.size() ? record.fields[column] : std::string_view();
    };
    const std::string_view name = field(*m_medium);
    const std::optional<Medium> medium = mediumFromName(name);
    if (!medium) {
        fail("不认识的介质“" + std::string(name)
             + "”，应为 air、steam、water 或 压缩空气、蒸汽、水。");
        return;
    }
    SizingInputs inputs;
    for (std::size_t k = 0; k < std::size(allInputs); ++k) {
        const InputDef &input = allInputs[k];
        if (!takes(*medium, input))
            continue;
        if (m_inputColumns[k]) {
            inputs.*(input.field) = field(*m_inputColumns[k]);
        } else if (!input.alternative) {
            fail(std::string("表头缺少 ") + input.column + " 列（"
                 + std::string(inputDescription(*medium, input.operand)) + "）。");
            return;
        }
    }
    if (*medium == Medium::Steam) {
        // A row gives its steam either as u or as p; an empty u with a p given uses p.
        const bool hasVolume = inputs.specificVolume && !inputs.specificVolume->empty();
        const bool hasPressure = inputs.steamPressure && !inputs.steamPressure->empty();
        if (hasPressure && !hasVolume) {
            if (!m_pressureKind) {
                fail("使用压力列 p 时，请用 --gauge 或 --absolute 注明表压还是绝对压力。");
                return;
            }
            inputs.specificVolume.reset();
            inputs.steamPressureKind = m_pressureKind;
        } else {
            if (!inputs.specificVolume) {
                fail("表头缺少 u 列（蒸汽的比容u）或 p 列（蒸汽压力p）。");
                return;
            }
            inputs.steamPressure.reset();
        }
    }
    sizeLine(*medium, inputs, result);
}

// One of the pipe columns, at most 32 characters.
char *Batch::writeResult(char *out, int column, const SizingResult &result)
{
    const auto &advice = result.advice;
    switch (column) {
    case ColumnDn:
        if (advice)
            return std::to_chars(out, out + 12, advice->size.dn).ptr;
        break;
    case ColumnId:
        if (advice)
            return writeFixed2(out, advice->size.inside());
        break;
    case ColumnVelocity:
        if (advice)
            return writeFixed2(out, advice->velocity);
        break;
    case ColumnCheck: {
        const std::string_view check = advice ? checkName(advice->check)
            : result.ok                       ? "beyond-table"
                                              : "";
        return std::copy(check.begin(), check.end(), out);
    }
    }
    return out;
}

void Batch::appendResult(int column, const SizingResult &result)
{
    if (column == ColumnD) {
        m_buffer += result.text;
    } else if (column == ColumnError) {
        appendCsvField(m_buffer, result.error);
    } else {
        char buf[32];
        m_buffer.append(buf, static_cast<std::size_t>(writeResult(buf, column, result) - buf));
    }
}

void Batch::writeRecord(const CsvRecord &record, const SizingResult &result)
{
    if (!record.quoted && !m_resultsInPlace && record.fields.size() <= m_columns) {
        // The common case: the line as it was, padded to the header's width.
        m_buffer.append(record.raw);
        m_buffer.append(m_columns - record.fields.size(), ',');
    } else {
        for (std::size_t i = 0; i < m_columns; ++i) {
            if (i > 0)
                m_buffer += ',';
            int inPlace = -1;
            for (int k = 0; k < ResultColumns; ++k) {
                if (m_resultColumns[k] == i)
                    inPlace = k;
            }
            if (inPlace >= 0)
                appendResult(inPlace, result);
            else if (i < record.fields.size())
                appendCsvField(m_buffer, record.fields[i]);
        }
    }
    if (!m_resultsInPlace) {
        // The usual case, all result columns appended: one write for the four pipe columns.
        m_buffer += ',';
        m_buffer += result.text;
        m_buffer += ',';
        appendCsvField(m_buffer, result.error);
        char tail[128];
        char *end = tail;
        for (int k = ColumnDn; k < ResultColumns; ++k) {
            *end++ = ',';
            end = writeResult(end, k, result);
        }
        m_buffer.append(tail, static_cast<std::size_t>(end - tail));
    } else {
        for (int k = 0; k < ResultColumns; ++k) {
            if (!m_resultColumns[k]) {
                m_buffer += ',';
                appendResult(k, result);
            }
        }
    }
    // Fields past the header's width are kept, after the result columns so those stay aligned.
    for (std::size_t i = m_columns; i < record.fields.size(); ++i) {
        m_buffer += ',';
        appendCsvField(m_buffer, record.fields[i]);
    }
    endLine();
}

int Batch::run()
{
    bool anyFailed = false;
    try {
        CsvRecord record;
        SizingResult result; // reused, so a row costs no allocation
        if (!readHeader(record)) {
            flush();
            return 2;
        }
        while (m_reader.next(record)) {
            if (record.raw.empty())
                continue; // a blank line carries no row
            sizeRecord(record, result);
            anyFailed |= !result.ok;
            writeRecord(record, result);
            if (m_buffer.size() >= outputChunk && !flush())
                return 2;
        }
    } catch (const CsvError &error) {
        flush();
        std::fprintf(m_err, "tovrik-size：第 %ld 行%s。", error.line, error.what());
        if (std::strstr(error.what(), "UTF-8"))
            std::fprintf(
                m_err, "文件可能是 GBK 等编码，请另存为 UTF-8（如 iconv -f GBK -t UTF-8）后重试。");
        std::fputc('\n', m_err);
        return 2;
    }
    if (!flush())
        return 2;
    return anyFailed ? 1 : 0;
}

} // namespace

std::optional<Medium> mediumFromName(std::string_view name)
{
    // The usual spellings first: a batch asks once a row.
    if (name == "air")
        return Medium::Air;
    if (name == "steam")
        return Medium::Steam;
    if (name == "water")
        return Medium::Water;
    name = withoutBlanks(name);
    const auto is = [&](std::string_view english) {
        if (name.size() != english.size())
            return false;
        for (std::size_t i = 0; i < name.size(); ++i) {
            const char c = name[i];
            if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != english[i])
                return false;
        }
        return true;
    };
    if (is("air") || name == "压缩空气")
        return Medium::Air;
    if (is("steam") || name == "蒸汽")
        return Medium::Steam;
    if (is("water") || name == "水")
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

SizingResult sizeLine(Medium medium, const SizingInputs &inputs)
{
    SizingResult result;
    sizeLine(medium, inputs, result);
    return result;
}

void sizeLine(Medium medium, const SizingInputs &inputs, SizingResult &result)
{
    result.ok = false;
    result.value = 0.0;
    result.text.clear();
    result.error.clear();
    result.specificVolume.reset();
    result.advice.reset();
    const auto text = [](const std::optional<std::string_view> &input) {
        return input.value_or(std::string_view());
    };
    if (medium == Medium::Air) {
        // The window's own checks, in its order, before anything is computed.
        if (vbaStrCmp("", text(inputs.flow)) == 0)
            result.error += airFlowPrompt;
        if (vbaStrCmp("", text(inputs.pressure)) == 0)
            result.error += airPressurePrompt;
        if (!result.error.empty())
            return;
    }
    try {
        Sizing sizing {};
        switch (medium) {
        case Medium::Air:
            sizing = airSizing(text(inputs.flow), text(inputs.pressure), text(inputs.temperature),
                               text(inputs.velocity));
            break;
        case Medium::Steam:
            if (inputs.steamPressure) {
                const double pressure = vbaR8Str(*inputs.steamPressure, Operand::Pressure);
                result.specificVolume = saturatedSteamVolume(
                    pressure, inputs.steamPressureKind.value_or(PressureKind::Absolute));
                // The shortest text that reads back as the same double: the formula sees
                // exactly the volume found.
                const std::string volume = shortestNumber(*result.specificVolume);
                sizing = steamSizing(text(inputs.flow), volume, text(inputs.velocity));
            } else {
                sizing = steamSizing(text(inputs.flow), text(inputs.specificVolume),
                                     text(inputs.velocity));
            }
            break;
        case Medium::Water: sizing = waterSizing(text(inputs.flow), text(inputs.velocity)); break;
        }
        result.value = sizing.diameter;
        appendVbaStrR8(result.text, result.value);
        result.advice = advise(medium, sizing.flow, sizing.diameter);
        result.ok = true;
    } catch (const Failure &failure) {
        result.error = failureMessage(medium, failure);
    }
}

int run(int argc, const char *const argv[], std::FILE *in, std::FILE *out, std::FILE *err)
{
    const std::span<const char *const> args(argv, static_cast<std::size_t>(argc));
    if (args.empty())
        return usageError(err, "缺少介质（air、steam、water）或 batch。");
    const std::string_view command = args[0];
    if (command == "--help" || command == "-h") {
        std::fputs(helpText, out);
        return 0;
    }
    if (command == "--version") {
        std::fprintf(out, "tovrik-size %s\n", version);
        return 0;
    }
    if (command == "batch") {
        std::optional<PressureKind> pressureKind;
        const char *path = nullptr;
        for (const char *arg : args.subspan(1)) {
            if (pressureKindOption(arg, pressureKind))
                continue;
            if (path)
                return usageError(err, "batch 只接受一个文件。");
            path = arg;
        }
        std::FILE *input = in;
        if (path && std::string_view(path) != "-") {
            input = std::fopen(path, "rb");
            if (!input) {
                std::fprintf(err, "tovrik-size：无法打开文件“%s”：%s\n", path,
                             std::strerror(errno));
                return 2;
            }
        }
        const int status = Batch(input, out, err, pressureKind).run();
        if (input != in)
            std::fclose(input);
        return status;
    }
    if (const std::optional<Medium> medium = mediumFromName(command))
        return runLine(*medium, args.subspan(1), out, err);
    return usageError(err, "不认识的命令“" + std::string(command) + "”。");
}

} // namespace tovrik::cli
