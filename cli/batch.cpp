#include "cli/batch.h"

#include "cli/csv.h"
#include "cli/options.h"
#include "core/messages.h"
#include "core/text.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace tovrik::cli {

namespace {

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
    std::array<std::optional<std::size_t>, std::size(sizingInputs)> m_inputColumns;
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
        for (std::size_t k = 0; k < std::size(sizingInputs); ++k) {
            if (name == sizingInputs[k].column)
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
    for (std::size_t k = 0; k < std::size(sizingInputs); ++k) {
        const InputDef &input = sizingInputs[k];
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
            return writeFixed(out, out + 32, advice->size.inside(), 2);
        break;
    case ColumnVelocity:
        if (advice)
            return writeFixed(out, out + 32, advice->velocity, 2);
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

int runBatch(const Invocation &invocation, std::FILE *in, std::FILE *out, std::FILE *err)
{
    const char *path = invocation.path;
    std::FILE *input = in;
    if (path && std::string_view(path) != "-") {
        input = std::fopen(path, "rb");
        if (!input) {
            std::fprintf(err, "tovrik-size：无法打开文件“%s”：%s\n", path, std::strerror(errno));
            return 2;
        }
    }
    const int status = Batch(input, out, err, invocation.pressureKind).run();
    if (input != in)
        std::fclose(input);
    return status;
}

} // namespace tovrik::cli
