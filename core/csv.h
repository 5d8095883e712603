#pragma once

#include "base/codepage.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tovrik {

// Input that cannot be read as CSV text.
struct CsvError
{
    enum Kind { NotUtf8, NotGbk, Utf16, OpenQuote, ReadFailed } kind;
    long line; // where it was found, from 1
    int error = 0; // errno, for ReadFailed
};

// One record, in UTF-8. The views stay valid until the next call to CsvReader::next().
struct CsvRecord
{
    std::vector<std::string_view> fields; // unquoted
    std::string_view raw; // the record as written, without its line end
    long line = 0; // the line the record starts on, from 1
    // Not text in the reader's encoding: raw and the fields are the bytes as they came.
    bool undecodable = false;

    // Where field i begins in raw, quote included; raw.size() + 1 past the last field. Inline:
    // a batch asks it of every row.
    std::size_t rawStart(std::size_t i) const
    {
        if (i >= fields.size())
            return raw.size() + 1;
        if (!m_rawStarts.empty())
            return m_rawStarts[i];
        return static_cast<std::size_t>(fields[i].data() - raw.data());
    }

private:
    friend class CsvReader;
    std::vector<std::size_t> m_rawStarts; // for records with quoted fields
};

// A streaming CSV reader. RFC 4180 quoting for a field that begins with a quote (doubled quotes,
// commas and line breaks inside); a quote anywhere else is an ordinary character, as
// spreadsheets write 2" pipe. Lines end with LF, CRLF or a lone CR, mixed as they come. A UTF-8
// byte-order mark is skipped and remembered, and so are more after it, as a tool writes that adds
// its own to a file that had one; UTF-16 (by its byte-order mark, or the zero bytes of its
// ASCII) is no CSV this reader reads. Memory is bounded by the longest record.
class CsvReader
{
public:
    explicit CsvReader(std::FILE *input, Encoding encoding = Encoding::Utf8);
    ~CsvReader();

    // Throws CsvError for input that is no CSV in any encoding; a record that is not text in
    // the reader's encoding comes back marked undecodable.
    bool next(CsvRecord &record);
    bool hadByteOrderMark() const { return m_byteOrderMark; }
    // The bytes read from the input so far.
    std::uint64_t consumed() const { return m_read; }
    // The first record's line end, which the output keeps: "\n", "\r\n" or "\r".
    std::string_view lineEnd() const { return m_lineEnd; }

private:
    struct Boundary
    {
        std::size_t contentEnd; // where the record's text ends
        std::size_t next; // where the next record starts, past the line end
    };

    void readStart();
    bool fill();
    // The fast path, for a row the choice in next() found plain: no quote, and no CR but one
    // just before its LF at lineFeed, all of it read.
    void readPlainRecord(CsvRecord &record, std::size_t lineFeed, bool ascii);
    // The general path, for any record: quoted, with a lone CR, or cut by the end of a read.
    void readRecord(CsvRecord &record);
    // The record's text in UTF-8, or its bytes as they came, marked undecodable.
    void decode(CsvRecord &record, std::string_view raw, bool ascii);
    // The end of the record starting at m_pos, or false if more input is needed to tell.
    // Resumes where the last call stopped, so a long record is scanned once however many reads
    // it spans.
    bool findRecordEnd(Boundary &boundary);
    void unquoteFields(CsvRecord &record);

    std::FILE *m_input;
    Encoding m_encoding;
    std::unique_ptr<GbkDecoder> m_gbk;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    std::uint64_t m_read = 0;
    bool m_started = false;
    bool m_byteOrderMark = false;
    std::string_view m_lineEnd = "\n";
    long m_line = 1;
    enum State : unsigned char { FieldStart, Unquoted, Quoted, QuoteInQuoted };
    struct Scan
    {
        std::size_t scanned = 0; // bytes after m_pos already looked at
        State state = FieldStart;
        bool quoted = false;
        long lineBreaks = 0; // inside quotes
    } m_scan;
    std::string m_decoded; // the record in UTF-8, when it came in another encoding
    std::string m_unquoted; // storage for the fields that needed unquoting
};

// Writes a field at out, quoted if it holds a comma, quote or line break, and returns its end:
// at most csvFieldRoom(field) bytes.
char *writeCsvField(char *out, std::string_view field);
constexpr std::size_t csvFieldRoom(std::string_view field)
{
    return 2 * field.size() + 2;
}

} // namespace tovrik
