#include "core/linelist.h"

#include "base/digits.h"
#include "base/files.h"
#include "base/text.h"
#include "base/utf8.h"
#include "core/csv.h"
#include "core/properties.h"
#include "core/words.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

namespace tovrik {

namespace {

// One row's results, as the columns see them.
struct Row
{
    const SizingReport &report;
    const SizeCheck *recommended;
    const SizeCheck *other;
    std::string_view note; // why a figure of the aids is missing, in the window's words
    bool chinese; // the list is headed in Chinese, and its checks are said so
};

// Each result column writes its cell, without the comma before it, at out and returns its end;
// it writes at most its room: cellRoom for a figure or a name, the column's own texts for the
// result and the error.
using ColumnWriter = char *(*)(char *out, const Row &row);
using ColumnRoom = std::size_t (*)(const Row &row);
constexpr std::size_t cellRoom = fixedRoom;
constexpr std::size_t figureRoom(const Row &)
{
    return cellRoom;
}

char *put(char *out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// A nominal size: DN15 to DN600 without the library's count of digits.
char *putSize(char *out, int dn)
{
    if (dn >= 100 && dn < 1000) {
        *out++ = static_cast<char>('0' + dn / 100);
        writePair(out, static_cast<unsigned>(dn % 100));
        return out + 2;
    }
    if (dn >= 0 && dn < 100)
        return writeUpTo99(out, static_cast<unsigned>(dn));
    return std::to_chars(out, out + cellRoom, dn).ptr;
}

// A velocity as the advice writes it: two decimals, or three figures where two decimals would
// show nothing of it.
char *putVelocity(char *out, double velocity)
{
    if (velocity > 0.0 && velocity < 0.005) [[unlikely]]
        return std::to_chars(out, out + cellRoom, velocity, std::chars_format::general, 3).ptr;
    return writeFixed<2>(out, velocity);
}

// Which lists a column is written for: every one, those that give a line or an allowable drop,
// or those headed in Chinese.
enum class ColumnKind : unsigned char { Always, Line, Chinese };

struct ResultColumn
{
    const char *name;
    const char *chineseName; // for a list headed in Chinese
    ColumnWriter write;
    ColumnRoom room = figureRoom;
    ColumnKind kind = ColumnKind::Always;
};

// The columns a batch adds, in this order: the result, the recommended pipe, the other size
// beside the diameter, the pressure drop in the recommended pipe and the fluid it is for, why an
// aid is missing, then the line. A list headed in Chinese gets Chinese headings and the window's
// words for the checks.
constexpr ResultColumn resultColumns[] = {
    {"d", "计算内径(mm)", [](char *out, const Row &row) { return put(out, row.report.text); },
     [](const Row &row) { return row.report.text.size(); }},
    {"error", "错误",
     [](char *out, const Row &row) { return writeCsvField(out, row.report.error); },
     [](const Row &row) { return csvFieldRoom(row.report.error); }},
    {"DN", "公称直径",
     [](char *out, const Row &row) {
         return row.recommended ? putSize(out, row.recommended->size.dn) : out;
     }},
    {"size", "规格",
     [](char *out, const Row &row) {
         return row.recommended ? writeSizeText(out, out + cellRoom, row.recommended->size,
                                                row.report.advice.options.series)
                                : out;
     },
     figureRoom, ColumnKind::Chinese},
    {"ID", "内径(mm)",
     [](char *out, const Row &row) {
         return row.recommended ? writeBoreText(out, out + cellRoom, row.recommended->size,
                                                row.report.advice.options.series)
                                : out;
     }},
    {"v_real", "实际流速(m/s)",
     [](char *out, const Row &row) {
         return row.recommended ? putVelocity(out, row.recommended->velocity) : out;
     }},
    {"v_check", "流速判断",
     [](char *out, const Row &row) {
         if (!row.report.ok)
             return out;
         return put(out,
                    row.chinese ? statusWords(row.report.advice) : statusName(row.report.advice));
     }},
    {"DN_alt", "另一管径",
     [](char *out, const Row &row) { return row.other ? putSize(out, row.other->size.dn) : out; }},
    {"v_alt", "另一管径流速(m/s)",
     [](char *out, const Row &row) {
         return row.other ? putVelocity(out, row.other->velocity) : out;
     }},
    {"v_check_alt", "另一管径判断",
     [](char *out, const Row &row) {
         if (!row.other)
             return out;
         return put(out,
                    row.chinese ? std::string_view(verdictText(row.other->check))
                                : checkName(row.other->check));
     }},
    {"dp_kPa_100m", "每100m压降(kPa)",
     [](char *out, const Row &row) {
         return row.report.drop ? writeFixed<3>(out, row.report.drop->kPaPer100m) : out;
     }},
    {"Re", "雷诺数",
     [](char *out, const Row &row) {
         return row.report.drop ? writeFixed<0>(out, row.report.drop->reynolds) : out;
     }},
    {"f", "摩擦系数",
     [](char *out, const Row &row) {
         return row.report.drop ? writeFixed<5>(out, row.report.drop->friction) : out;
     }},
    {"fluid", "压降所按介质",
     [](char *out, const Row &row) {
         if (!row.report.drop)
             return out;
         return put(out, row.chinese ? fluidWords(row.report) : row.report.fluidName());
     }},
    {"aid_note", "说明", [](char *out, const Row &row) { return writeCsvField(out, row.note); },
     [](const Row &row) { return csvFieldRoom(row.note); }},
    {"dp_kPa", "全线压降(kPa)",
     [](char *out, const Row &row) {
         const std::optional<LineDrop> &drop = row.report.lineDrop;
         if (!drop)
             return out;
         switch (drop->method) {
         case DropMethod::Choked: return put(out, row.chinese ? "阻塞" : "choked");
         case DropMethod::Flashing: return put(out, row.chinese ? "闪蒸" : "flashing");
         default: return writeFixed<3>(out, drop->kPa);
         }
     },
     figureRoom, ColumnKind::Line},
    {"criterion", "选管方法",
     [](char *out, const Row &row) {
         if (!row.recommended)
             return out;
         return put(out,
                    row.chinese ? criterionWords(row.report.advice)
                                : criterionName(row.report.advice));
     },
     figureRoom, ColumnKind::Line},
};

constexpr std::size_t columnCount = std::size(resultColumns);
using ActiveColumns = std::array<bool, columnCount>;

constexpr ActiveColumns activeColumns(bool line, bool chinese)
{
    ActiveColumns active {};
    for (std::size_t i = 0; i < columnCount; ++i) {
        const ColumnKind kind = resultColumns[i].kind;
        active[i] = kind == ColumnKind::Always || (kind == ColumnKind::Line && line)
            || (kind == ColumnKind::Chinese && chinese);
    }
    return active;
}

constexpr std::string_view mediumColumn = "medium";

// A heading as typed, its name apart from a unit in brackets after it: "流量（t/h）".
struct HeaderName
{
    std::string_view name;
    std::string_view unit;
};

HeaderName headerName(std::string_view field)
{
    const std::string_view text = withoutBlanks(field);
    for (const auto &[open, close] :
         {std::pair<std::string_view, std::string_view> {"(", ")"}, {"（", "）"}}) {
        if (!text.ends_with(close))
            continue;
        const std::size_t at = text.rfind(open);
        if (at == std::string_view::npos || at == 0)
            continue;
        return {withoutBlanks(text.substr(0, at)),
                withoutBlanks(
                    text.substr(at + open.size(), text.size() - close.size() - at - open.size()))};
    }
    return {text, {}};
}

// A unit as engineers type it, in one spelling: m³/h and m3/h, ℃, oC and °C, full-width letters.
std::string plainUnit(std::string_view unit)
{
    std::string plain;
    for (std::size_t pos = 0; pos < unit.size();) {
        const std::size_t start = pos;
        char32_t cp;
        if (!decodeUtf8(unit, pos, cp)) {
            plain += unit[start];
            pos = start + 1;
            continue;
        }
        if (cp >= 0xFF01 && cp <= 0xFF5E)
            cp -= 0xFEE0;
        if (cp == U'³')
            cp = U'3';
        if (cp == U'℃') {
            plain += "°C";
            continue;
        }
        if (cp != U' ')
            appendUtf8(plain, cp);
    }
    if (equalsIgnoringCase(plain, "oC") || plain == "°c")
        return "°C";
    if (equalsIgnoringCase(plain, "mpa"))
        return "MPa";
    if (equalsIgnoringCase(plain, "kpa"))
        return "kPa";
    if (equalsIgnoringCase(plain, "nm3/h"))
        return "m3/h"; // a flow at the normal state is still a volume flow
    return plain;
}

bool hasUnit(const InputDef &input, std::string_view unit)
{
    std::string_view units = input.units;
    while (!units.empty()) {
        const std::size_t blank = units.find(' ');
        if (units.substr(0, blank) == unit)
            return true;
        units = blank == std::string_view::npos ? std::string_view() : units.substr(blank + 1);
    }
    return false;
}

class Batch
{
public:
    Batch(const LineListOptions &options, std::FILE *in, TextSink &out)
        : m_reader(in, options.encoding)
        , m_out(out)
        , m_options(options)
    {
        m_buffer.resize(4096); // grown as rows need, up to a chunk and a row
    }

    LineListSummary run();

private:
    static constexpr std::size_t outputChunk = 1 << 20;

    bool readHeader(CsvRecord &header);
    std::string unknownMedium(std::string_view name) const;
    // How to read the file in the other encoding, as the front end offers it.
    std::string otherEncodingHint() const;
    const char *encodingName() const
    {
        return m_options.encoding == Encoding::Utf8 ? "UTF-8" : "GBK";
    }
    bool isLine(const CsvRecord &record) const;
    // An input's column as the list's header names it.
    std::string columnName(const InputDef &input) const
    {
        return m_chinese && *input.chineseColumn ? input.chineseColumn : input.column;
    }
    void sizeRecord(const CsvRecord &record, SizingReport &report);
    std::string_view tagOf(const CsvRecord &record) const;
    void writeRecord(const CsvRecord &record, const SizingReport &report);
    std::size_t resultsRoom(const Row &row) const;
    char *writeResults(char *out, const Row &row) const;
    bool flush();
    // The output is built in m_buffer, whose first m_used bytes are written: room() makes space
    // for so many bytes more and says where they go, so a row is written with no string to grow.
    char *room(std::size_t bytes);
    void append(std::string_view text) { m_used = put(room(text.size()), text) - m_buffer.data(); }

    void say(std::string message) { m_summary.messages.push_back(std::move(message)); }

    CsvReader m_reader;
    TextSink &m_out;
    const LineListOptions &m_options;
    LineListSummary m_summary;
    std::string m_buffer;
    std::size_t m_used = 0;
    std::string_view m_lineEnd;
    std::size_t m_columns = 0;
    std::optional<std::size_t> m_medium;
    std::optional<std::size_t> m_tag; // the line's own tag, for a sheet
    long m_undecodable = 0; // rows not in the encoding, copied through unsized
    long m_firstUndecodable = 0;
    std::array<std::optional<std::size_t>, inputCount> m_inputColumns;

    // How the rows of one medium read the list, worked out once from the header: a row then
    // visits only the cells its medium has a use for.
    struct RowPlan
    {
        struct Cell
        {
            const InputDef *input;
            std::size_t column;
            // Whether an empty cell means the input was not given, and what is taken instead:
            // the command line's choice for the aids' columns, nothing for the others.
            bool blankIsAbsent;
            std::optional<std::string_view> instead;
        };
        std::vector<Cell> unread; // columns the medium has no use for, which must stay empty
        const InputDef *missing = nullptr; // the first input it needs and the list lacks
        std::vector<Cell> read;
        // The aids the list has no column for, with the command line's choice.
        std::vector<const InputDef *> defaulted;
    };
    std::array<RowPlan, 3> m_plans;
    // By medium, as the plans read them: a row sets the cells its plan reads, and the rest stay
    // as they were made.
    std::array<SizingRequest, 3> m_requests;
    PropertyCache m_cache;
    std::string m_note; // the row's, kept for its storage
    void planRows();
    ActiveColumns m_active = activeColumns(false, false);
    bool m_chinese = false; // headed in Chinese
    std::string m_flowUnit; // as the flow's column gives it in brackets, if it does
    long m_skipped = 0; // rows that are no lines: empty, or a total
};

bool Batch::flush()
{
    const bool written = m_out.write(std::string_view(m_buffer).substr(0, m_used));
    m_used = 0;
    return written;
}

bool Batch::readHeader(CsvRecord &header)
{
    if (!m_reader.next(header)) {
        say("输入是空的，缺少表头行（medium,Q,P,T,u,v）。");
        return false;
    }
    if (header.undecodable)
        throw CsvError {m_options.encoding == Encoding::Utf8 ? CsvError::NotUtf8 : CsvError::NotGbk,
                        header.line};
    m_lineEnd = m_reader.lineEnd();
    m_columns = header.fields.size();

    // Names match in any case, as the media do, except where two columns differ only in case:
    // P is the air pressure and p the steam pressure; Chinese names too, with a unit in brackets
    // after the name where the column has one.
    struct Known
    {
        std::string_view name, chinese;
        std::optional<std::size_t> *slot;
        const InputDef *input;
    };
    std::vector<Known> known {{mediumColumn, "介质", &m_medium, nullptr}};
    for (const InputDef &input : inputDefs)
        known.push_back(
            {input.column, input.chineseColumn, &m_inputColumns[std::size_t(input.input)], &input});
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const HeaderName heading = headerName(header.fields[i]);
        const Known *match = nullptr;
        bool chinese = false;
        for (const Known &column : known) {
            if (column.name == heading.name)
                match = &column;
        }
        for (const Known &column : known) {
            if (!match && equalsIgnoringCase(column.name, heading.name))
                match = &column;
        }
        for (const Known &column : known) {
            if (!match
                && (heading.name == column.chinese
                    || (column.input && column.input->input == Input::Fittings
                        && (heading.name == "ΣK" || heading.name == "阻力系数")))) {
                match = &column;
                chinese = true;
            }
        }
        if (!match)
            continue;
        const std::string where = "第 " + std::to_string(header.line) + " 行的表头";
        if (*match->slot) {
            say(where + "有两列 " + std::string(match->name) + "（第 "
                + std::to_string(**match->slot + 1) + " 列和第 " + std::to_string(i + 1)
                + " 列），无法确定用哪一列。");
            return false;
        }
        if (!heading.unit.empty() && match->input) {
            const std::string unit = plainUnit(heading.unit);
            if (!hasUnit(*match->input, unit)) {
                std::string units = match->input->units;
                for (std::size_t blank; (blank = units.find(' ')) != std::string::npos;)
                    units.replace(blank, 1, "、");
                say(where + "第 " + std::to_string(i + 1) + " 列“"
                    + std::string(withoutBlanks(header.fields[i])) + "”的单位 "
                    + std::string(heading.unit) + " 不是" + match->input->chineseColumn + "的单位"
                    + (units.empty() ? std::string("（这一列没有单位）") : "（应为 " + units + "）")
                    + "。");
                return false;
            }
            if (match->input->input == Input::Flow)
                m_flowUnit = unit;
        }
        if (match->slot == &m_medium)
            m_chinese = chinese;
        *match->slot = i;
    }
    // A column the engineer names a line by: the sheet's summary lists it.
    for (std::size_t i = 0; i < header.fields.size() && !m_tag; ++i) {
        const std::string_view name = withoutBlanks(header.fields[i]);
        for (const std::string_view tag : {"line", "tag", "line no", "line_no", "位号", "管线号",
                                           "管道号", "管线编号", "管道编号", "编号", "管线"}) {
            if (equalsIgnoringCase(name, tag))
                m_tag = i;
        }
    }
    if (!m_medium) {
        say("第 " + std::to_string(header.line) + " 行的表头缺少 medium 列（介质）。");
        return false;
    }
    planRows();

    if (m_reader.hadByteOrderMark() || m_options.byteOrderMark)
        append("\xEF\xBB\xBF");
    append(header.raw);
    // The user's own columns stay as they are, whatever their names; a result column whose
    // name is taken gets a number.
    bool line = false;
    for (const InputDef &input : inputDefs) {
        line |= input.line
            && (m_inputColumns[std::size_t(input.input)] || m_options.defaults[input.input]);
    }
    m_active = activeColumns(line, m_chinese);
    for (std::size_t column = 0; column < columnCount; ++column) {
        if (!m_active[column])
            continue;
        const std::string ours
            = m_chinese ? resultColumns[column].chineseName : resultColumns[column].name;
        std::string name = ours;
        for (int number = 2;; ++number) {
            bool taken = false;
            for (const std::string_view field : header.fields)
                taken |= equalsIgnoringCase(withoutBlanks(field), name);
            if (!taken)
                break;
            name = ours + '_' + std::to_string(number);
        }
        if (name != ours) {
            std::string words = "表头已有 ";
            words += ours;
            words += " 列，原样保留；结果写在 ";
            words += name;
            say(words + " 列。");
        }
        append(",");
        append(name);
    }
    append(m_lineEnd);
    return true;
}

// A file saved in GBK may still be valid UTF-8: 水 is CB AE in GBK, which UTF-8 reads as ˮ.
std::string Batch::unknownMedium(std::string_view name) const
{
    std::string message
        = "不认识的介质“" + std::string(name) + "”，应为 air、steam、water 或 压缩空气、蒸汽、水。";
    std::string decoded;
    if (m_options.encoding == Encoding::Utf8 && GbkDecoder().toUtf8(name, decoded)
        && mediumFromName(decoded)) {
        message += "文件看来是 GBK 编码（“" + decoded + "”），";
        message += m_options.hints.retryAsGbk.empty() ? std::string_view("请确认文件的编码。")
                                                      : m_options.hints.retryAsGbk;
    }
    return message;
}

void Batch::planRows()
{
    for (const Medium medium : {Medium::Air, Medium::Steam, Medium::Water}) {
        RowPlan &plan = m_plans[static_cast<std::size_t>(medium)];
        SizingRequest &request = m_requests[static_cast<std::size_t>(medium)];
        request.medium = medium;
        request.advice = m_options.defaults.advice;
        request.pressureKind = m_options.defaults.pressureKind;
        for (const InputDef &input : inputDefs) {
            if (plan.missing)
                break;
            const std::optional<std::size_t> column = m_inputColumns[std::size_t(input.input)];
            if (!takes(medium, input)) {
                if (column)
                    plan.unread.push_back({&input, *column, false, std::nullopt});
                continue;
            }
            const std::optional<std::string_view> instead
                = input.batchDefault ? m_options.defaults[input.input] : std::nullopt;
            if (column) {
                const bool blankIsAbsent = (input.blankIsAbsent & maskOf(medium)) != 0;
                plan.read.push_back({&input, *column, blankIsAbsent, instead});
            } else if (needs(medium, input)) {
                plan.missing = &input;
            } else if (instead) {
                plan.defaulted.push_back(&input);
            }
        }
    }
}

bool Batch::isLine(const CsvRecord &record) const
{
    // A row of Excel's leftovers, empty or a total (合计 with a summed flow), names neither a
    // medium nor a velocity.
    const auto blank = [&](std::optional<std::size_t> column) {
        return !column || *column >= record.fields.size()
            || withoutBlanks(record.fields[*column]).empty();
    };
    return record.undecodable || !blank(m_medium)
        || !blank(m_inputColumns[std::size_t(Input::Velocity)]);
}

void Batch::sizeRecord(const CsvRecord &record, SizingReport &report)
{
    const auto fail = [&](std::string message) {
        report.reset();
        report.error = std::move(message);
        if (m_options.sized)
            m_options.sized(tagOf(record), nullptr, report);
    };
    if (record.undecodable) {
        fail(std::string("这一行不是 ") + encodingName() + " 编码的文本，原样保留，未计算。"
             + otherEncodingHint());
        return;
    }
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
        fail(unknownMedium(name));
        return;
    }
    const RowPlan &plan = m_plans[static_cast<std::size_t>(*medium)];
    for (const RowPlan::Cell &cell : plan.unread) {
        // A figure in a column the row's medium does not read would be lost without a word.
        if (!withoutBlanks(field(cell.column)).empty()) {
            fail(std::string(mediumTitle(*medium)) + "不用 " + columnName(*cell.input) + " 列（"
                 + std::string(inputDescription(*cell.input)) + "），这一行的该列应留空。");
            return;
        }
    }
    if (plan.missing) {
        fail("表头缺少 " + columnName(*plan.missing) + " 列（"
             + std::string(inputDescription(*medium, plan.missing->operand)) + "）。");
        return;
    }
    // The medium's own inputs, kept from row to row: each row sets the same members, the
    // plan's, and the others stay as they were made.
    SizingRequest &request = m_requests[static_cast<std::size_t>(*medium)];
    for (const RowPlan::Cell &cell : plan.read) {
        // Empty cells of the aids are not given: the row takes the command line's choice, or
        // the default.
        const std::string_view text = field(cell.column);
        if (cell.blankIsAbsent && withoutBlanks(text).empty())
            request[cell.input->input] = cell.instead;
        else
            request[cell.input->input] = text;
    }
    if (*medium == Medium::Steam) {
        // A row gives its steam as u or as p, one of the two; the other stays empty.
        const bool hasVolume = request.given(Input::SpecificVolume);
        const bool hasPressure = request.given(Input::SteamPressure);
        if (hasPressure && hasVolume) {
            fail("这一行同时给出了比容 u 和压力 p，请只给出其一。");
            return;
        }
        if (hasPressure) {
            if (!request.pressureKind) {
                fail("使用压力列 p 时，"
                     + std::string(m_options.hints.pressureKind.empty()
                                       ? std::string_view("须注明是表压还是绝对压力。")
                                       : m_options.hints.pressureKind));
                return;
            }
            request[Input::SpecificVolume].reset();
        } else {
            if (!request[Input::SpecificVolume]) {
                fail("表头缺少 u 列（蒸汽的比容u）或 p 列（蒸汽压力p）。");
                return;
            }
            request[Input::SteamPressure].reset();
        }
    }
    for (const InputDef *input : plan.defaulted)
        request[input->input] = m_options.defaults[input->input];
    if (!m_flowUnit.empty()) {
        // The column's unit must be the one this row's flow is given in.
        const bool mass = request.given(Input::FlowBasis)
            && flowBasisFromName(withoutBlanks(request.text(Input::FlowBasis))) == FlowBasis::Mass;
        const std::string_view expected = *medium != Medium::Air ? "t/h" : mass ? "kg/h" : "m3/h";
        if (m_flowUnit != expected) {
            fail("流量列的单位为 " + m_flowUnit + "，" + std::string(mediumTitle(*medium))
                 + "的流量须为 " + std::string(expected) + "。");
            return;
        }
    }
    sizePipe(request, report, &m_cache);
    if (m_options.sized)
        m_options.sized(tagOf(record), &request, report);
}

std::string_view Batch::tagOf(const CsvRecord &record) const
{
    return m_tag && *m_tag < record.fields.size() && !record.undecodable
        ? withoutBlanks(record.fields[*m_tag])
        : std::string_view();
}

char *Batch::room(std::size_t bytes)
{
    if (m_buffer.size() - m_used < bytes)
        m_buffer.resize(std::max(2 * m_buffer.size(), m_used + bytes));
    return m_buffer.data() + m_used;
}

std::size_t Batch::resultsRoom(const Row &row) const
{
    std::size_t room = 0;
    [&]<std::size_t... column>(std::index_sequence<column...>)
    {
        ((room += m_active[column] ? 1 + resultColumns[column].room(row) : 0), ...);
    }
    (std::make_index_sequence<std::size(resultColumns)>());
    return room;
}

char *Batch::writeResults(char *out, const Row &row) const
{
    // Each column by its own writer, known here, so that the writers are compiled in place;
    // each stays within the room resultsRoom gave it.
    [[maybe_unused]] char *const start = out;
    [&]<std::size_t... column>(std::index_sequence<column...>)
    {
        ((m_active[column] ? (*out++ = ',', out = resultColumns[column].write(out, row)) : out),
         ...);
    }
    (std::make_index_sequence<std::size(resultColumns)>());
    assert(std::size_t(out - start) <= resultsRoom(row));
    return out;
}

void Batch::writeRecord(const CsvRecord &record, const SizingReport &result)
{
    const SizeCheck *recommended = result.ok ? result.advice.recommended() : nullptr;
    // Words only for the rows that miss a figure: most rows have none to say.
    m_note.clear();
    if (result.ok
        && (result.dropReason || result.lineReason || result.lineWithoutLength
            || result.advice.status == PipeAdvice::Status::NotGas))
        m_note = aidsNote(result);
    const Row row {result, recommended, recommended ? result.advice.alternative() : nullptr, m_note,
                   m_chinese};
    // The row exactly as it was written, padded to the header's width; fields past that width
    // are kept after the result columns, so those stay aligned.
    const std::size_t extra = record.rawStart(m_columns);
    const std::string_view raw = record.raw;
    const std::size_t padding = extra <= raw.size() ? 0 : m_columns - record.fields.size();
    char *out = room(raw.size() + padding + 1 + resultsRoom(row) + m_lineEnd.size());
    if (extra <= raw.size()) {
        out = put(out, raw.substr(0, extra - 1));
    } else {
        out = put(out, raw);
        out = std::fill_n(out, padding, ',');
    }
    out = writeResults(out, row);
    if (extra <= raw.size()) {
        *out++ = ',';
        out = put(out, raw.substr(extra));
    }
    out = put(out, m_lineEnd);
    m_used = static_cast<std::size_t>(out - m_buffer.data());
}

LineListSummary Batch::run()
{
    using Outcome = LineListSummary::Outcome;
    m_summary.outcome = Outcome::Sized;
    try {
        CsvRecord record;
        SizingReport result; // reused, so a row costs little allocation
        if (!readHeader(record)) {
            m_summary.outcome = Outcome::NotAList;
            return std::move(m_summary);
        }
        while (m_reader.next(record)) {
            if (record.raw.empty())
                continue; // a blank line carries no row
            if (!isLine(record)) {
                // Copied through, its results empty, and left off the sheet.
                result.reset();
                ++m_skipped;
                writeRecord(record, result);
                continue;
            }
            sizeRecord(record, result);
            ++m_summary.rows;
            if (!result.ok) {
                if (m_summary.failedLines.size() < LineListSummary::linesKept)
                    m_summary.failedLines.push_back(record.line);
                ++m_summary.failed;
            }
            if (record.undecodable && m_undecodable++ == 0)
                m_firstUndecodable = record.line;
            writeRecord(record, result);
            if (m_used >= outputChunk) {
                if (!flush()) {
                    m_summary.outcome = Outcome::WriteFailed;
                    return std::move(m_summary);
                }
                if (m_options.progress && !m_options.progress(m_reader.consumed())) {
                    m_summary.outcome = Outcome::Cancelled;
                    return std::move(m_summary);
                }
            }
        }
    } catch (const CsvError &error) {
        // The rows before the one at fault are sized and written.
        m_summary.outcome = flush() ? Outcome::NotAList : Outcome::WriteFailed;
        const std::string line = std::to_string(error.line);
        switch (error.kind) {
        case CsvError::NotUtf8:
            say("表头（第 " + line + " 行）不是 UTF-8 编码的文本。" + otherEncodingHint());
            break;
        case CsvError::NotGbk:
            say("表头（第 " + line + " 行）不是 GBK 编码的文本。" + otherEncodingHint());
            break;
        case CsvError::Utf16:
            say("输入是 UTF-16 编码的文本（Excel 的“Unicode 文本”或记事本的“Unicode”），不是 CSV。"
                "请在 Excel 中另存为“CSV UTF-8（逗号分隔）”或“CSV（逗号分隔）”后重试。");
            break;
        case CsvError::OpenQuote: say("第 " + line + " 行引号没有闭合。"); break;
        case CsvError::ReadFailed:
            say("读取输入失败（第 " + line + " 行）：" + errorText(error.error) + "。");
            break;
        }
        return std::move(m_summary);
    }
    if (!flush()) {
        m_summary.outcome = Outcome::WriteFailed;
        return std::move(m_summary);
    }
    m_summary.skipped = m_skipped;
    if (m_skipped > 0)
        say("跳过 " + std::to_string(m_skipped)
            + " 行空行或合计行（既无介质也无流速），已原样保留。");
    if (m_undecodable > 0) {
        say(std::to_string(m_undecodable) + " 行（第 " + std::to_string(m_firstUndecodable)
            + " 行起）不是 " + encodingName() + " 编码的文本，已原样保留、未计算。"
            + otherEncodingHint());
    }
    return std::move(m_summary);
}

std::string Batch::otherEncodingHint() const
{
    const bool utf8 = m_options.encoding == Encoding::Utf8;
    const std::string_view retry = utf8 ? m_options.hints.retryAsGbk : m_options.hints.retryAsUtf8;
    if (retry.empty())
        return "请确认文件的编码。";
    return (utf8 ? "Excel 另存的“CSV（逗号分隔）”是 GBK 编码，" : "文件若是 UTF-8 编码，")
        + std::string(retry);
}

} // namespace

std::vector<std::string_view> resultColumnNames(bool line, bool chinese)
{
    std::vector<std::string_view> names;
    const ActiveColumns active = activeColumns(line, chinese);
    for (std::size_t column = 0; column < columnCount; ++column) {
        if (active[column])
            names.emplace_back(chinese ? resultColumns[column].chineseName
                                       : resultColumns[column].name);
    }
    return names;
}

std::string resultHeader(bool line, bool chinese)
{
    std::string header;
    for (const std::string_view name : resultColumnNames(line, chinese)) {
        if (!header.empty())
            header += ',';
        header += name;
    }
    return header;
}

bool headerGivesPressures(std::FILE *in, Encoding encoding)
{
    try {
        CsvReader reader(in, encoding);
        CsvRecord header;
        if (!reader.next(header))
            return false;
        for (const std::string_view field : header.fields) {
            const std::string_view name = headerName(field).name;
            for (const Input input : {Input::Pressure, Input::SteamPressure}) {
                if (name == inputDef(input).column || name == inputDef(input).chineseColumn)
                    return true;
            }
        }
    } catch (const CsvError &) {
        // Not a list: sizing it will say why.
    }
    return false;
}

LineListSummary sizeLineList(std::FILE *in, TextSink &out, const LineListOptions &options)
{
    return Batch(options, in, out).run();
}

Encoding guessEncoding(std::string_view start)
{
    if (isUtf8(start))
        return Encoding::Utf8;
    // A start cut in the middle of a character is still UTF-8 if what comes before is.
    for (std::size_t cut = 1; cut <= 3 && cut < start.size(); ++cut) {
        if (isUtf8(start.substr(0, start.size() - cut)))
            return Encoding::Utf8;
    }
    return Encoding::Gbk;
}

} // namespace tovrik
