#include "cli/sizer.h"

#include "cli/csv.h"
#include "core/messages.h"
#include "runtime/conversion.h"

#include <array>
#include <charconv>
#include <cstring>
#include <span>
#include <vector>

namespace tovrik::cli {

namespace {

constexpr const char *version = "1.00";

// The inputs a medium takes, in the order the window shows them.
struct InputSpec
{
    Operand operand;
    char shortOption;
    const char *longOption;
    const char *column;
    std::optional<std::string_view> SizingInputs::*field;
};

constexpr InputSpec allInputs[] = {
    {Operand::Flow, 'Q', "flow", "Q", &SizingInputs::flow},
    {Operand::Pressure, 'P', "pressure", "P", &SizingInputs::pressure},
    {Operand::Temperature, 'T', "temperature", "T", &SizingInputs::temperature},
    {Operand::SpecificVolume, 'u', "specific-volume", "u", &SizingInputs::specificVolume},
    {Operand::Velocity, 'v', "velocity", "v", &SizingInputs::velocity},
};

bool takes(Medium medium, Operand operand)
{
    switch (operand) {
    case Operand::Flow:
    case Operand::Velocity: return true;
    case Operand::Pressure:
    case Operand::Temperature: return medium == Medium::Air;
    case Operand::SpecificVolume: return medium == Medium::Steam;
    case Operand::None: break;
    }
    return false;
}

const char *const helpText =
        "用法：\n"
        "  tovrik-size air   -Q 流量 -P 压力 -T 温度 -v 流速 [--json]\n"
        "  tovrik-size steam -Q 质量流量 -u 比容 -v 流速 [--json]\n"
        "  tovrik-size water -Q 流量 -v 流速 [--json]\n"
        "  tovrik-size batch [文件]\n"
        "\n"
        "由设计流量和流速计算管道内径（mm），结果与 Tovrik 窗口显示的完全相同。\n"
        "\n"
        "选项：\n"
        "  -Q, --flow=值             流量：压缩空气为标态流量 m3/h，蒸汽为质量流量 t/h，水为 t/h\n"
        "  -P, --pressure=值         压缩空气设计压力 MPa\n"
        "  -T, --temperature=值      压缩空气设计温度 oC\n"
        "  -u, --specific-volume=值  蒸汽的比容 m3/kg\n"
        "  -v, --velocity=值         设计流速 m/s\n"
        "      --json                以 JSON 输出输入、结果文本和结果数值\n"
        "  -h, --help                显示本帮助\n"
        "      --version             显示版本\n"
        "\n"
        "batch 从文件（没有文件或为 - 时从标准输入）读取带表头的 CSV，列为\n"
        "medium,Q,P,T,u,v（顺序任意，其他列原样保留），medium 为 air/steam/water 或\n"
        "压缩空气/蒸汽/水；输出同样的 CSV，并加上结果列 d 和错误列 error。\n"
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
        const InputSpec *spec = nullptr;
        std::optional<std::string_view> value;
        for (const InputSpec &candidate : allInputs) {
            const std::string longForm = std::string("--") + candidate.longOption;
            if (arg.size() == 2 && arg[0] == '-' && arg[1] == candidate.shortOption) {
                spec = &candidate;
            } else if (arg == longForm) {
                spec = &candidate;
            } else if (arg.size() > longForm.size() && arg.substr(0, longForm.size()) == longForm
                       && arg[longForm.size()] == '=') {
                spec = &candidate;
                value = arg.substr(longForm.size() + 1);
            }
            if (spec)
                break;
        }
        if (!spec)
            return usageError(err, "不认识的参数“" + std::string(arg) + "”。");
        const std::string optionName = std::string("-") + spec->shortOption + "/--" + spec->longOption;
        if (!takes(medium, spec->operand)) {
            return usageError(err, std::string(mediumName(medium)) + " 没有选项 " + optionName
                                           + "。");
        }
        if (!value) {
            if (i + 1 >= args.size())
                return usageError(err, "选项 " + optionName + " 缺少数值。");
            value = args[++i];
        }
        inputs.*(spec->field) = value;
    }
    for (const InputSpec &spec : allInputs) {
        if (takes(medium, spec.operand) && !(inputs.*(spec.field))) {
            return usageError(err, "缺少选项 -" + std::string(1, spec.shortOption) + "/--"
                                           + spec.longOption + "（"
                                           + std::string(inputDescription(medium, spec.operand))
                                           + "）。");
        }
    }

    const SizingResult result = sizeLine(medium, inputs);
    if (json) {
        std::string text = "{\"medium\":";
        appendJsonString(text, mediumName(medium));
        for (const InputSpec &spec : allInputs) {
            if (const auto &input = inputs.*(spec.field)) {
                text += ",\"";
                text += spec.column;
                text += "\":";
                appendJsonString(text, *input);
            }
        }
        if (result.ok) {
            text += ",\"d\":";
            appendJsonString(text, result.text);
            text += ",\"diameter_mm\":" + shortestNumber(result.value);
        } else {
            text += ",\"error\":";
            appendJsonString(text, result.error);
        }
        text += "}\n";
        std::fputs(text.c_str(), out);
    } else if (result.ok) {
        std::fprintf(out, "%s\n", result.text.c_str());
    }
    if (!result.ok)
        std::fprintf(err, "tovrik-size：%s\n", result.error.c_str());
    return result.ok ? 0 : 1;
}

// Streams the batch: every record is sized and written before the next is read.
class Batch
{
public:
    Batch(std::FILE *in, std::FILE *out, std::FILE *err) : m_reader(in), m_out(out), m_err(err)
    {
        m_buffer.reserve(outputChunk + 4096);
    }

    int run();

private:
    static constexpr std::size_t outputChunk = 1 << 20;

    bool readHeader(CsvRecord &header);
    void writeRecord(const CsvRecord &record, const SizingResult &result);
    void endLine() { m_buffer += m_lineEnd; }
    bool flush();
    void sizeRecord(const CsvRecord &record, SizingResult &result) const;

    CsvReader m_reader;
    std::FILE *m_out;
    std::FILE *m_err;
    std::string m_buffer;
    std::string_view m_lineEnd = "\n";
    std::size_t m_columns = 0;
    std::optional<std::size_t> m_medium;
    std::array<std::optional<std::size_t>, std::size(allInputs)> m_inputColumns;
    std::optional<std::size_t> m_dColumn, m_errorColumn;
};

bool Batch::flush()
{
    if (!m_buffer.empty() && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_out) != m_buffer.size()) {
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
        std::string_view name = header.fields[i];
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
            name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
            name.remove_suffix(1);
        const auto claim = [&](std::optional<std::size_t> &slot) {
            if (!slot)
                slot = i;
        };
        if (name == "medium")
            claim(m_medium);
        else if (name == "d")
            claim(m_dColumn);
        else if (name == "error")
            claim(m_errorColumn);
        for (std::size_t k = 0; k < std::size(allInputs); ++k) {
            if (name == allInputs[k].column)
                claim(m_inputColumns[k]);
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
    if (!m_dColumn)
        m_buffer += ",d";
    if (!m_errorColumn)
        m_buffer += ",error";
    endLine();
    return true;
}

void Batch::sizeRecord(const CsvRecord &record, SizingResult &result) const
{
    const auto fail = [&](std::string message) {
        result.ok = false;
        result.text.clear();
        result.error = std::move(message);
    };
    if (record.fields.size() > m_columns) {
        fail( "这一行有 " + std::to_string(record.fields.size()) + " 列，多于表头的 "
                + std::to_string(m_columns) + " 列。");
        return;
    }
    const auto field = [&](std::size_t column) {
        return column < record.fields.size() ? record.fields[column] : std::string_view();
    };
    const std::string_view name = field(*m_medium);
    const std::optional<Medium> medium = mediumFromName(name);
    if (!medium) {
        fail("不认识的介质“" + std::string(name) + "”，应为 air、steam、water 或 压缩空气、蒸汽、水。");
        return;
    }
    SizingInputs inputs;
    for (std::size_t k = 0; k < std::size(allInputs); ++k) {
        const InputSpec &spec = allInputs[k];
        if (!takes(*medium, spec.operand))
            continue;
        if (!m_inputColumns[k]) {
            fail(std::string("表头缺少 ") + spec.column + " 列（"
                 + std::string(inputDescription(*medium, spec.operand)) + "）。");
            return;
        }
        inputs.*(spec.field) = field(*m_inputColumns[k]);
    }
    sizeLine(*medium, inputs, result);
}

void Batch::writeRecord(const CsvRecord &record, const SizingResult &result)
{
    if (!record.quoted && !m_dColumn && !m_errorColumn && record.fields.size() <= m_columns) {
        // The common case: the line as it was, padded to the header's width.
        m_buffer.append(record.raw);
        m_buffer.append(m_columns - record.fields.size(), ',');
    } else {
        for (std::size_t i = 0; i < m_columns; ++i) {
            if (i > 0)
                m_buffer += ',';
            if (i == m_dColumn)
                appendCsvField(m_buffer, result.text);
            else if (i == m_errorColumn)
                appendCsvField(m_buffer, result.error);
            else if (i < record.fields.size())
                appendCsvField(m_buffer, record.fields[i]);
        }
    }
    if (!m_dColumn) {
        m_buffer += ',';
        m_buffer += result.text;
    }
    if (!m_errorColumn) {
        m_buffer += ',';
        appendCsvField(m_buffer, result.error);
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
            std::fprintf(m_err, "文件可能是 GBK 等编码，请另存为 UTF-8（如 iconv -f GBK -t UTF-8）后重试。");
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
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
        name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
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
        switch (medium) {
        case Medium::Air:
            result.value = airDiameterValue(text(inputs.flow), text(inputs.pressure),
                                            text(inputs.temperature), text(inputs.velocity));
            break;
        case Medium::Steam:
            result.value = steamDiameterValue(text(inputs.flow), text(inputs.specificVolume),
                                              text(inputs.velocity));
            break;
        case Medium::Water:
            result.value = waterDiameterValue(text(inputs.flow), text(inputs.velocity));
            break;
        }
        appendVbaStrR8(result.text, result.value);
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
        if (args.size() > 2)
            return usageError(err, "batch 只接受一个文件。");
        std::FILE *input = in;
        if (args.size() == 2 && std::string_view(args[1]) != "-") {
            input = std::fopen(args[1], "rb");
            if (!input) {
                std::fprintf(err, "tovrik-size：无法打开文件“%s”：%s\n", args[1],
                             std::strerror(errno));
                return 2;
            }
        }
        const int status = Batch(input, out, err).run();
        if (input != in)
            std::fclose(input);
        return status;
    }
    if (const std::optional<Medium> medium = mediumFromName(command))
        return runLine(*medium, args.subspan(1), out, err);
    return usageError(err, "不认识的命令“" + std::string(command) + "”。");
}

} // namespace tovrik::cli
