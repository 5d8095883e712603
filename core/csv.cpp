#include "core/csv.h"

#include "base/check.h"
#include "base/utf8.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tovrik {

namespace {

constexpr std::size_t chunk = 1 << 20;
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// Eight bytes at a time, on a little-endian word: the high bit of each byte of x that is zero,
// exactly (not the quicker test that may also mark the byte after a zero).
std::uint64_t zeroBytes(std::uint64_t x)
{
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    return ~(((x & low7) + low7) | x | low7);
}

constexpr std::uint64_t everyByte(unsigned char c)
{
    return 0x0101010101010101ull * c;
}

// Whether x has a control byte (LF and CR among them) or a quote: the quicker tests, which are
// exact as to whether there is one, if not as to where.
bool anyControlOrQuote(std::uint64_t x)
{
    const std::uint64_t control = (x - everyByte(0x20)) & ~x;
    const std::uint64_t y = x ^ everyByte('"');
    const std::uint64_t quote = (y - everyByte(0x01)) & ~y;
    return ((control | quote) & everyByte(0x80)) != 0;
}

struct PlainRow
{
    const char *lineFeed; // null: not a plain row
    bool ascii;
};

// The row at begin, if it is plain: no quote, and no CR but one just before its LF, all of it
// before end; found eight bytes at a time, with whether it is all ASCII.
PlainRow plainRow(const char *begin, const char *end)
{
    if constexpr (std::endian::native != std::endian::little)
        return {nullptr, false};
    std::uint64_t seen = 0; // the bytes before the row's end, OR-ed together
    for (const char *c = begin; end - c >= 8; c += 8) {
        std::uint64_t x;
        std::memcpy(&x, c, sizeof x);
        if (!anyControlOrQuote(x)) {
            seen |= x;
            continue;
        }
        // The first byte that tells: an LF ends the row, a CR must come just before one, and a
        // quote is for the general path; a tab is text.
        const std::uint64_t lf = zeroBytes(x ^ everyByte('\n'));
        const std::uint64_t cr = zeroBytes(x ^ everyByte('\r'));
        const std::uint64_t telling = lf | cr | zeroBytes(x ^ everyByte('"'));
        if (telling == 0) {
            seen |= x;
            continue;
        }
        const int at = std::countr_zero(telling) / 8;
        const std::uint64_t bit = std::uint64_t(0x80) << (8 * at);
        seen |= x & (bit - 1);
        const bool ascii = (seen & everyByte(0x80)) == 0;
        if (lf & bit)
            return {c + at, ascii};
        if ((cr & bit) && end - c > at + 1 && c[at + 1] == '\n')
            return {c + at + 1, ascii};
        return {nullptr, false};
    }
    return {nullptr, false};
}

// What the fast path's precondition asks, checked only where preconditions are.
[[maybe_unused]] bool isPlain(std::string_view row)
{
    return std::none_of(row.begin(), row.end(),
                        [](char c) { return c == '"' || c == '\r' || c == '\n'; });
}

// The fields of a record with no quoted field: the text between its commas, found eight bytes
// at a time rather than by a library search per field, as fields are short. The bytes before
// readable, when it is given, may be loaded too: the last word of a row in the reader's buffer
// is then taken whole, with no byte-at-a-time end.
void splitAtCommas(std::string_view raw, std::vector<std::string_view> &fields,
                   const char *readable = nullptr)
{
    fields.clear();
    const char *start = raw.data();
    const char *const stop = raw.data() + raw.size();
    const char *const limit = readable ? readable : stop;
    TOVRIK_ASSERT(limit - stop >= 0, "readable past the record");
    const char *c = start;
    if constexpr (std::endian::native == std::endian::little) {
        for (; c < stop && limit - c >= 8; c += 8) {
            std::uint64_t x;
            std::memcpy(&x, c, sizeof x);
            std::uint64_t found = zeroBytes(x ^ everyByte(','));
            if (stop - c < 8)
                found &= (std::uint64_t(1) << (8 * (stop - c))) - 1; // the record's bytes only
            for (; found != 0; found &= found - 1) {
                const char *comma = c + std::countr_zero(found) / 8;
                fields.emplace_back(start, comma - start);
                start = comma + 1;
            }
        }
    }
    for (; c < stop; ++c) {
        if (*c == ',') {
            fields.emplace_back(start, c - start);
            start = c + 1;
        }
    }
    fields.emplace_back(start, stop - start);
}

} // namespace

CsvReader::CsvReader(std::FILE *input, Encoding encoding)
    : m_input(input)
    , m_encoding(encoding)
    , m_buffer(chunk)
{
    if (encoding == Encoding::Gbk)
        m_gbk = std::make_unique<GbkDecoder>();
}

CsvReader::~CsvReader() = default;

bool CsvReader::fill()
{
    if (m_eof)
        return false;
    // Keep the unfinished record, move it to the front, and grow only when it fills the buffer.
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
        m_end -= m_pos;
        m_pos = 0;
    }
    if (m_end == m_buffer.size())
        m_buffer.resize(m_buffer.size() * 2);
    const std::size_t got
        = std::fread(m_buffer.data() + m_end, 1, m_buffer.size() - m_end, m_input);
    m_end += got;
    m_read += got;
    if (got == 0) {
        // A directory, a closed descriptor or a failing disk is not an empty file.
        if (std::ferror(m_input))
            throw CsvError {CsvError::ReadFailed, m_line, errno};
        m_eof = true;
    }
    return got > 0;
}

void CsvReader::readStart()
{
    while (m_end < 4 && fill()) { }
    // "Unicode text" as Excel and Notepad save it: no row of it would read.
    const std::string_view start(m_buffer.data(), m_end);
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")
        || (start.size() >= 2 && (start[0] == '\0' || start[1] == '\0')))
        throw CsvError {CsvError::Utf16, 1};
    // Every mark at the start: a second one, read as text, would hide the first column's name.
    for (;;) {
        while (m_end - m_pos < byteOrderMark.size() && fill()) { }
        if (!std::string_view(m_buffer.data() + m_pos, m_end - m_pos).starts_with(byteOrderMark))
            break;
        m_byteOrderMark = true;
        m_pos += byteOrderMark.size();
    }
}

bool CsvReader::next(CsvRecord &record)
{
    if (!m_started) {
        m_started = true;
        readStart();
    }
    if (m_pos == m_end && !fill())
        return false;
    // The usual row of a line list goes the fast way; the header goes the general way, which
    // tells the line end the output keeps.
    const PlainRow plain = m_line > 1 ? plainRow(m_buffer.data() + m_pos, m_buffer.data() + m_end)
                                      : PlainRow {nullptr, false};
    if (plain.lineFeed)
        readPlainRecord(record, static_cast<std::size_t>(plain.lineFeed - m_buffer.data()),
                        plain.ascii);
    else
        readRecord(record);
    return true;
}

// One pass to find the row, one to split it, each eight bytes at a time, where the general path
// takes the row a byte at a time.
void CsvReader::readPlainRecord(CsvRecord &record, std::size_t lineFeed, bool ascii)
{
    const char *const data = m_buffer.data();
    const std::size_t contentEnd
        = lineFeed > m_pos && data[lineFeed - 1] == '\r' ? lineFeed - 1 : lineFeed;
    const std::string_view raw(data + m_pos, contentEnd - m_pos);
    TOVRIK_ASSERT(lineFeed < m_end && data[lineFeed] == '\n' && isPlain(raw)
                      && ascii == isAscii(raw),
                  "a plain row wholly read");
    decode(record, raw, ascii);
    record.line = m_line;
    record.m_rawStarts.clear();
    splitAtCommas(record.raw, record.fields,
                  record.raw.data() == raw.data() ? data + m_end : nullptr);
    ++m_line;
    m_pos = lineFeed + 1;
}

void CsvReader::decode(CsvRecord &record, std::string_view raw, bool ascii)
{
    record.raw = raw;
    record.undecodable = false;
    if (ascii)
        return;
    if (m_encoding == Encoding::Utf8)
        record.undecodable = !isUtf8(raw);
    else if (m_gbk->toUtf8(raw, m_decoded))
        record.raw = m_decoded;
    else
        record.undecodable = true;
}

void CsvReader::readRecord(CsvRecord &record)
{
    m_scan = Scan();
    Boundary boundary;
    while (!findRecordEnd(boundary))
        fill();
    const char *data = m_buffer.data();
    if (m_line == 1) {
        const std::size_t length = boundary.next - boundary.contentEnd;
        m_lineEnd = length == 2                                ? "\r\n"
            : length == 1 && data[boundary.contentEnd] == '\r' ? "\r"
                                                               : "\n";
    }

    const std::string_view raw(data + m_pos, boundary.contentEnd - m_pos);
    decode(record, raw, isAscii(raw));
    record.line = m_line;
    record.m_rawStarts.clear();
    if (m_scan.quoted)
        unquoteFields(record);
    else
        splitAtCommas(record.raw, record.fields);

    m_line += 1 + m_scan.lineBreaks;
    m_pos = boundary.next;
}

bool CsvReader::findRecordEnd(Boundary &boundary)
{
    const char *data = m_buffer.data();
    std::size_t i = m_pos + m_scan.scanned;
    Scan &scan = m_scan;
    for (; i < m_end; ++i) {
        const char c = data[i];
        switch (scan.state) {
        case Quoted:
            if (c == '"') {
                scan.state = QuoteInQuoted;
            } else if (c == '\n') {
                ++scan.lineBreaks;
            } else if (c == '\r') {
                if (i + 1 == m_end && !m_eof)
                    break; // a CRLF may be split across reads
                if (i + 1 == m_end || data[i + 1] != '\n')
                    ++scan.lineBreaks;
            }
            continue;
        case QuoteInQuoted:
            if (c == '"') {
                scan.state = Quoted; // a doubled quote
                continue;
            }
            scan.state = Unquoted; // text after the closing quote belongs to the field
            break;
        case FieldStart:
            if (c == '"') {
                scan.state = Quoted;
                scan.quoted = true;
                continue;
            }
            scan.state = Unquoted;
            break;
        case Unquoted: break;
        }
        if (scan.state == Quoted)
            break; // waiting for the byte after a CR
        if (c == ',') {
            scan.state = FieldStart;
        } else if (c == '\n') {
            boundary = {i, i + 1};
            return true;
        } else if (c == '\r') {
            if (i + 1 < m_end) {
                boundary = {i, data[i + 1] == '\n' ? i + 2 : i + 1};
                return true;
            }
            if (m_eof) {
                boundary = {i, i + 1};
                return true;
            }
            break; // is it CRLF? the next read tells
        }
    }
    scan.scanned = i - m_pos;
    if (i < m_end || !m_eof)
        return false;
    if (scan.state == Quoted)
        throw CsvError {CsvError::OpenQuote, m_line};
    boundary = {m_end, m_end};
    return true;
}

void CsvReader::unquoteFields(CsvRecord &record)
{
    const std::string_view raw = record.raw;
    record.fields.clear();
    // Unquote into one buffer reserved up front, so the views stay put while it fills.
    m_unquoted.clear();
    m_unquoted.reserve(raw.size());
    std::size_t i = 0;
    for (;;) {
        record.m_rawStarts.push_back(i);
        const std::size_t start = m_unquoted.size();
        if (i < raw.size() && raw[i] == '"') {
            ++i;
            while (i < raw.size()) {
                if (raw[i] == '"') {
                    if (i + 1 < raw.size() && raw[i + 1] == '"') {
                        m_unquoted += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                m_unquoted += raw[i++];
            }
        }
        // Text after a closing quote, or an unquoted field, is taken as it stands.
        while (i < raw.size() && raw[i] != ',')
            m_unquoted += raw[i++];
        record.fields.emplace_back(m_unquoted.data() + start, m_unquoted.size() - start);
        if (i >= raw.size())
            break;
        ++i; // the comma
    }
}

char *writeCsvField(char *out, std::string_view field)
{
    // A loop, not find_first_of, which asks the library of every character; most fields a
    // batch writes this way are empty.
    if (std::none_of(field.begin(), field.end(),
                     [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; })) {
        if (!field.empty())
            std::memcpy(out, field.data(), field.size());
        return out + field.size();
    }
    *out++ = '"';
    for (const char c : field) {
        if (c == '"')
            *out++ = '"';
        *out++ = c;
    }
    *out++ = '"';
    return out;
}

} // namespace tovrik
