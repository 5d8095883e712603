#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Files named in UTF-8, whatever the system's code page, and their errors said in Chinese.
namespace tovrik {

// A system error (an errno value) in Chinese, whatever the locale, e.g. 设备上没有空间.
std::string errorText(int error);

// Opens a file named in UTF-8 for reading bytes; nullptr with errno set when it cannot.
std::FILE *openForReading(std::string_view path);

// A file written whole or not at all: its text goes to a temporary file beside it, which takes
// the file's name only when everything is written, replacing what was there. Until then, or if
// anything fails, the file as it was stays untouched.
class AtomicFile
{
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile(); // a file not committed is removed
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // False, with error() set, once anything has failed.
    bool write(std::string_view text);
    // Flushes, closes and renames into place; false, with error() set, when any step fails.
    bool commit();
    int error() const { return m_error; }

private:
    std::string m_path;
    std::string m_temporary;
    std::FILE *m_file = nullptr;
    int m_error = 0;
};

// The last part of a path, after its folders ('/', and on Windows '\\' too).
std::string_view fileNameOf(std::string_view path);

// The folder of the running program, ending with its separator.
std::string programDirectory();

// Whether a file or folder exists at a UTF-8 path.
bool exists(std::string_view path);

} // namespace tovrik
