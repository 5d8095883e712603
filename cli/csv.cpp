#include "cli/csv.h"

#include "runtime/utf8.h"

#include <cstring>

namespace tovrik::cli {

namespace {

constexpr std::size_t chunk = 1 << 20;

} // namespace

CsvReader::CsvReader(std::FILE *input)
    : m_input(input)
    , m_buffer(chunk)
{
}

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
    if (got == 0)
        m_eof = true;
    return got > 0;
}

std::size_t CsvReader::findRecordEnd()
{
    const char *data = m_buffer.data();
    std::size_t i = m_pos + m_scan.scanned;
    if (!m_scan.quoted) {
        // Most records hold no quote: then the record is simply the text up to the next line
        // end, found a word at a time.
        const void *newline = std::memchr(data + i, '\n', m_end - i);
        const std::size_t stop = newline ? static_cast<const char *>(newline) - data : m_end;
        if (!std::memchr(data + i, '"', stop - i)) {
            if (newline)
                return stop;
            i = m_end;
        }
    }
    for (; i < m_end; ++i) {
        const char c = data[i];
        if (c == '"') {
            m_scan.inQuotes = !m_scan.inQuotes;
            m_scan.quoted = true;
        } else if (c == '\n') {
            if (!m_scan.inQuotes)
                return i;
            ++m_scan.lineBreaks;
        }
    }
    m_scan.scanned = m_end - m_pos;
    if (m_eof) {
        if (m_scan.inQuotes)
            throw CsvError("引号没有闭合", m_line);
        return m_end;
    }
    return std::string_view::npos;
}

bool CsvReader::next(CsvRecord &record)
{
    if (!m_started) {
        m_started = true;
        while (m_end < 3 && fill()) { }
        if (m_end >= 3 && std::memcmp(m_buffer.data(), "\xEF\xBB\xBF", 3) == 0) {
            m_byteOrderMark = true;
            m_pos = 3;
        }
    }

    m_scan = Scan();
    std::size_t end;
    while ((end = findRecordEnd()) == std::string_view::npos)
        fill();
    if (m_pos >= m_end && m_eof)
        return false;
    const bool quoted = m_scan.quoted;

    const bool newline = end < m_end;
    std::size_t contentEnd = end;
    if (contentEnd > m_pos && m_buffer[contentEnd - 1] == '\r') {
        --contentEnd;
        if (m_line == 1)
            m_crlf = true; // the header's line end is the file's
    }
    const std::string_view raw(m_buffer.data() + m_pos, contentEnd - m_pos);
    record.raw = raw;
    record.quoted = quoted;
    record.line = m_line;
    record.fields.clear();
    if (!quoted) {
        // Fields are short: a plain loop beats a library search per field.
        // Fields are short: a plain loop beats a library search per field, and notes on the way
        // whether any byte needs the UTF-8 check.
        const char *start = raw.data();
        const char *const stop = raw.data() + raw.size();
        unsigned char highBits = 0;
        for (const char *c = start; c != stop; ++c) {
            highBits |= static_cast<unsigned char>(*c);
            if (*c == ',') {
                record.fields.emplace_back(start, c - start);
                start = c + 1;
            }
        }
        record.fields.emplace_back(start, stop - start);
        if ((highBits & 0x80) && !isUtf8(raw))
            throw CsvError("不是 UTF-8 编码的文本", m_line);
    } else {
        if (!isUtf8(raw))
            throw CsvError("不是 UTF-8 编码的文本", m_line);
        // Unquote into one buffer reserved up front, so the views stay put while it fills.
        m_unquoted.clear();
        m_unquoted.reserve(raw.size());
        std::size_t i = 0;
        for (;;) {
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

    m_line += 1 + m_scan.lineBreaks;
    m_pos = newline ? end + 1 : end;
    return true;
}

void appendCsvField(std::string &out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace tovrik::cli
