#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tovrik::cli {

// Input that cannot be read as CSV text: not UTF-8, or a quote left open at the end.
class CsvError : public std::runtime_error
{
public:
    CsvError(std::string message, long line)
        : std::runtime_error(std::move(message))
        , line(line)
    {
    }
    long line;
};

// One record. The views stay valid until the next call to CsvReader::next().
struct CsvRecord
{
    std::vector<std::string_view> fields;
    std::string_view raw; // the record as written, without its line end
    bool quoted = false; // some field was quoted, so raw is not simply the fields joined
    long line = 0; // the line the record starts on, from 1
};

// A streaming RFC 4180 reader: a UTF-8 byte-order mark, CRLF or LF line ends, quoted fields
// with doubled quotes, commas and line breaks inside. Memory is bounded by the longest record.
class CsvReader
{
public:
    explicit CsvReader(std::FILE *input);

    bool next(CsvRecord &record);
    bool hadByteOrderMark() const { return m_byteOrderMark; }
    bool usesCrLf() const { return m_crlf; }

private:
    bool fill();
    // Where the record starting at m_pos ends (its line end, or the end of input), or npos if
    // more input is needed to tell. Resumes where the last call stopped, so a long record is
    // scanned once however many reads it spans.
    std::size_t findRecordEnd();

    std::FILE *m_input;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_started = false;
    bool m_byteOrderMark = false;
    bool m_crlf = false;
    long m_line = 1;
    struct Scan
    {
        std::size_t scanned = 0; // bytes after m_pos already looked at
        bool inQuotes = false;
        bool quoted = false;
        long lineBreaks = 0; // inside quotes
    } m_scan;
    std::string m_unquoted; // storage for the fields that needed unquoting
};

// Appends a field, quoted if it holds a comma, quote or line break.
void appendCsvField(std::string &out, std::string_view field);

} // namespace tovrik::cli
