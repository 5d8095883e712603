#include "core/csv.h"

#include "base/utf8.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace tovrik {

namespace {

constexpr std::size_t chunk = 1 << 20;
constexpr std::size_t unknown = std::string_view::npos;

} // namespace

CsvReader::CsvReader(std::FILE *input, Encoding encoding)
    : m_input(input)
    , m_encoding(encoding)
    , m_buffer(chunk)
    , m_newline(unknown)
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
    m_newline = unknown;
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

// Remembered, so that a file without LFs (CR line ends) is not searched to its end for every
// record.
std::size_t CsvReader::nextNewline(std::size_t from)
{
    if (m_newline == unknown || m_newline < from) {
        const void *found = std::memchr(m_buffer.data() + from, '\n', m_end - from);
        m_newline = found
            ? static_cast<std::size_t>(static_cast<const char *>(found) - m_buffer.data())
            : m_end;
    }
    return m_newline;
}

bool CsvReader::findRecordEnd(Boundary &boundary)
{
    const char *data = m_buffer.data();
    std::size_t i = m_pos + m_scan.scanned;
    if (m_scan.scanned == 0) {
        // Most records hold no quote and end with LF or CRLF: found a word at a time.
        const std::size_t newline = nextNewline(i);
        if (newline < m_end) {
            const std::size_t stop
                = newline > i && data[newline - 1] == '\r' ? newline - 1 : newline;
            if (!std::memchr(data + i, '"', stop - i) && !std::memchr(data + i, '\r', stop - i)) {
                boundary = {stop, newline + 1};
                return true;
            }
        }
    }
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

namespace {

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

// Whether x has a control byte (LF and CR among them), a quote or a byte of 0x80 and up: the
// quicker tests, which are exact as to whether there is one, if not as to where.
bool anySpecial(std::uint64_t x)
{
    const std::uint64_t control = (x - everyByte(0x20)) & ~x;
    const std::uint64_t y = x ^ everyByte('"');
    const std::uint64_t quote = (y - everyByte(0x01)) & ~y;
    return ((control | quote) & everyByte(0x80)) != 0 || (x & everyByte(0x80)) != 0;
}

} // namespace

// The usual row of a line list, ASCII with no quote and no CR but before its LF, found and
// split in one pass eight bytes at a time, where the general path searches it four times. False,
// with the reader where it was, for any other row and for one that runs past the bytes read;
// the general path then reads it.
bool CsvReader::readPlainRecord(CsvRecord &record)
{
    if constexpr (std::endian::native != std::endian::little)
        return false;
    const char *const begin = m_buffer.data() + m_pos;
    const char *const end = m_buffer.data() + m_end;
    record.fields.clear();
    const char *start = begin;
    // The fields that end at the commas of the word at c, one bit to a comma.
    const auto cut = [&](const char *c, std::uint64_t commas) {
        for (; commas != 0; commas &= commas - 1) {
            const char *comma = c + std::countr_zero(commas) / 8;
            record.fields.emplace_back(start, comma - start);
            start = comma + 1;
        }
    };
    for (const char *c = begin; end - c >= 8; c += 8) {
        std::uint64_t x;
        std::memcpy(&x, c, sizeof x);
        if (!anySpecial(x)) {
            // The middle of a row: its commas are all there is to it.
            cut(c, zeroBytes(x ^ everyByte(',')));
            continue;
        }
        const std::uint64_t newlines = zeroBytes(x ^ everyByte('\n'));
        // Up to the first LF; a CR just before it ends the line with it.
        const std::uint64_t before = newlines ? (newlines & (0 - newlines)) - 1 : ~0ull;
        const std::uint64_t odd = (zeroBytes(x ^ everyByte('"')) | (x & everyByte(0x80))) & before;
        std::uint64_t crs = zeroBytes(x ^ everyByte('\r')) & before;
        const char *const lf = newlines ? c + std::countr_zero(newlines) / 8 : nullptr;
        if (lf && lf > c)
            crs &= ~(std::uint64_t(0x80) << (8 * (lf - 1 - c)));
        else if (!lf && (crs >> 63) && end - c > 8 && c[8] == '\n')
            crs &= ~(std::uint64_t(1) << 63);
        if (odd || crs)
            return false;
        cut(c, zeroBytes(x ^ everyByte(',')) & before);
        if (lf) {
            const char *const contentEnd = lf > begin && lf[-1] == '\r' ? lf - 1 : lf;
            record.fields.emplace_back(start, contentEnd - start);
            record.m_rawStarts.clear();
            record.raw = std::string_view(begin, static_cast<std::size_t>(contentEnd - begin));
            record.line = m_line;
            record.undecodable = false;
            ++m_line;
            m_pos = static_cast<std::size_t>(lf + 1 - m_buffer.data());
            return true;
        }
    }
    return false;
}

bool CsvReader::next(CsvRecord &record)
{
    if (!m_started) {
        m_started = true;
        while (m_end < 4 && fill()) { }
        if (m_end >= 3 && std::memcmp(m_buffer.data(), "\xEF\xBB\xBF", 3) == 0) {
            m_byteOrderMark = true;
            m_pos = 3;
        }
        // "Unicode text" as Excel and Notepad save it: no row of it would read.
        const std::string_view start(m_buffer.data(), m_end);
        if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")
            || (start.size() >= 2 && (start[0] == '\0' || start[1] == '\0')))
            throw CsvError {CsvError::Utf16, 1};
    }
    if (m_pos == m_end && !fill())
        return false;
    // The header goes the general way, which tells the line end the output keeps.
    if (m_line > 1 && readPlainRecord(record))
        return true;

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

    std::string_view raw(data + m_pos, boundary.contentEnd - m_pos);
    record.undecodable = false;
    if (m_encoding == Encoding::Utf8) {
        record.undecodable = !isUtf8(raw);
    } else if (!isAscii(raw)) {
        if (m_gbk->toUtf8(raw, m_decoded))
            raw = m_decoded;
        else
            record.undecodable = true;
    }
    record.raw = raw;
    record.line = m_line;
    splitFields(record, m_scan.quoted);

    m_line += 1 + m_scan.lineBreaks;
    m_pos = boundary.next;
    return true;
}

void CsvReader::splitFields(CsvRecord &record, bool quoted)
{
    const std::string_view raw = record.raw;
    record.fields.clear();
    record.m_rawStarts.clear();
    if (!quoted) {
        // Fields are short: rather than a library search per field, eight bytes at a time.
        const char *start = raw.data();
        const char *const stop = raw.data() + raw.size();
        const char *c = start;
        if constexpr (std::endian::native == std::endian::little) {
            for (; stop - c >= 8; c += 8) {
                std::uint64_t x;
                std::memcpy(&x, c, sizeof x);
                for (std::uint64_t found = zeroBytes(x ^ everyByte(',')); found != 0;
                     found &= found - 1) {
                    const char *comma = c + std::countr_zero(found) / 8;
                    record.fields.emplace_back(start, comma - start);
                    start = comma + 1;
                }
            }
        }
        for (; c != stop; ++c) {
            if (*c == ',') {
                record.fields.emplace_back(start, c - start);
                start = c + 1;
            }
        }
        record.fields.emplace_back(start, stop - start);
        return;
    }
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
