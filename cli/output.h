#pragma once

#include "cli/options.h"
#include "core/linelist.h"
#include "core/sheet.h"

#include <optional>

#include <cstdio>
#include <string>
#include <string_view>

namespace tovrik::cli {

// The exit status when the results could not be written.
inline constexpr int writeFailedStatus = 3;

// Writes UTF-8 text to a stream. On Windows a console gets it as UTF-16 by WriteConsoleW, which
// shows every character whatever the console's code page; anything else, and every stream
// elsewhere, gets the bytes. False when the text could not be written.
bool writeText(std::FILE *stream, std::string_view text);

// A message for the user on err, formatted as printf does: "tovrik-size：" and the words.
#if defined(__MINGW32__)
__attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3))) // the C99 printf libstdc++ uses there
#elif defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void say(std::FILE *err, const char *format, ...);

// Says on err that standard output failed with the error, unless the reader closed the pipe;
// returns writeFailedStatus.
int reportWriteFailure(int error, std::FILE *err);

// Standard output, written with every failure seen: the first failed write, flush or close is
// remembered, so that results are never lost without a word. A closed pipe is the reader's
// choice to stop reading, and ends the program quietly.
class Output : public TextSink
{
public:
    explicit Output(std::FILE *stream)
        : m_stream(stream)
    {
    }

    // False once anything has failed; nothing more is written then.
    bool write(std::string_view text) override;
    // Hands everything written to the system and checks that it got there.
    bool flush();
    bool ok() const { return m_error == 0; }
    std::FILE *stream() const { return m_stream; }
    int report(std::FILE *err) const { return reportWriteFailure(m_error, err); }

private:
    std::FILE *m_stream;
    int m_error = 0;
};

// Writes a calculation sheet to path, whole or not at all, or to out for "-". Returns 0, or
// writeFailedStatus having said why on err.
int writeSheet(const char *path, std::string_view sheet, Output &out, std::FILE *err);

// The sheet's particulars: today's date, and what the file of --sheet-info gives. Nothing, having
// said why on err, when that file cannot be read or holds a line it cannot take.
std::optional<SheetInfo> sheetInfoFor(const Invocation &invocation, std::FILE *err);

// The sheet at the invocation's sheet path printed to its PDF, where one was asked for. Returns
// 0, or writeFailedStatus having said why on err; the HTML stays either way.
int printPdf(const Invocation &invocation, std::FILE *err);

} // namespace tovrik::cli
