#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tovrik::cli {

// The exit status when the results could not be written.
inline constexpr int writeFailedStatus = 3;

// A system error (an errno value) in Chinese, whatever the locale, e.g. 设备上没有空间.
std::string errorText(int error);

// Opens a file named in UTF-8 for reading bytes, whatever the system's code page.
std::FILE *openForReading(const char *path);

// Says on err that standard output failed with the error, unless the reader closed the pipe;
// returns writeFailedStatus.
int reportWriteFailure(int error, std::FILE *err);

// Standard output, written with every failure seen: the first failed write, flush or close is
// remembered, so that results are never lost without a word. A closed pipe is the reader's
// choice to stop reading, and ends the program quietly.
class Output
{
public:
    explicit Output(std::FILE *stream)
        : m_stream(stream)
    {
    }

    // False once anything has failed; nothing more is written then.
    bool write(std::string_view text);
    // Hands everything written to the system and checks that it got there.
    bool flush();
    bool ok() const { return m_error == 0; }
    int report(std::FILE *err) const { return reportWriteFailure(m_error, err); }

private:
    std::FILE *m_stream;
    int m_error = 0;
};

} // namespace tovrik::cli
