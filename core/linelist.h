#pragma once

#include "base/codepage.h"
#include "core/pipeline.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A whole line list sized: CSV with a header row in, the same CSV out with the result columns
// added, every row kept byte for byte. The command line's batch and the window's line lists
// both run it.
namespace tovrik {

// Where the sized list goes; false once it cannot take more, which stops the list at once.
class TextSink
{
public:
    virtual bool write(std::string_view text) = 0;

protected:
    ~TextSink() = default;
};

// What a front end tells the user to do where a list is not what it expected: its own option or
// menu item. Where it has none, the list's words say what to check.
struct LineListHints
{
    std::string_view retryAsGbk; // "请加 --encoding=gbk 重试。"
    std::string_view retryAsUtf8;
    std::string_view pressureKind; // how to say whether p is gauge or absolute
};

struct LineListOptions
{
    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false; // begin the output with one (an input's own is always kept)
    // Choices for the rows: the advice, the pressures' kind, and the defaults of the aids'
    // columns (series, service, roughness, the line) for rows whose own cell is empty.
    SizingRequest defaults;
    LineListHints hints;
    // Told now and then how many bytes of the input have been read; false stops the list there.
    std::function<bool(std::uint64_t consumed)> progress;
    // Told every row: the line's own tag (from a column such as 位号 or line), the request its
    // cells made, none where the row never got as far, and what came of it.
    std::function<void(std::string_view tag, const SizingRequest *request,
                       const SizingReport &report)>
        sized;
};

struct LineListSummary
{
    enum class Outcome {
        Sized, // every row, some perhaps with an error of their own
        NotAList, // the input could not be read as a line list; the rows before are written
        WriteFailed, // the sink refused: the output is not whole
        Cancelled, // progress said stop: the output is not whole
    };
    Outcome outcome = Outcome::Sized;
    long rows = 0; // the lines sized, failed ones among them
    long failed = 0;
    long skipped = 0; // rows that are no lines: empty ones and totals, copied through
    static constexpr std::size_t linesKept = 20;
    std::vector<long> failedLines; // the first few rows that failed, by their line in the file
    std::vector<std::string> messages; // for the user, a sentence or two each
};

LineListSummary sizeLineList(std::FILE *in, TextSink &out, const LineListOptions &options);

// Whether a list's header has a column of pressures (P or p, 压力 or 蒸汽压力), which may be
// gauge or absolute: read from its first record.
bool headerGivesPressures(std::FILE *in, Encoding encoding);

// UTF-8 if the bytes read as UTF-8, else GBK: how a file chosen in the window is read.
Encoding guessEncoding(std::string_view start);

// The names of the columns a list gets after its own, in order. With line, those of a list that
// gives a line or an allowable drop (dp_kPa, criterion) too; with chinese, those of a list
// headed in Chinese, 规格 among them.
std::vector<std::string_view> resultColumnNames(bool line = false, bool chinese = false);
// "d,error,DN,…": the names as the header row writes them.
std::string resultHeader(bool line = false, bool chinese = false);

} // namespace tovrik
