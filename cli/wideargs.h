#pragma once

#include <string>
#include <vector>

// What tovrik-size needs to speak UTF-8 on Windows as it does elsewhere.
namespace tovrik::cli {

// The program's arguments, converted from UTF-16.
class Utf8Arguments
{
public:
    Utf8Arguments(int argc, wchar_t *argv[]);
    const char *const *argv() const { return m_pointers.data(); }

private:
    std::vector<std::string> m_arguments;
    std::vector<const char *> m_pointers;
};

// Standard input and output as bytes, not text with CRLF translated and Ctrl+Z as its end. (A
// console is written in UTF-16, whatever its code page: see writeText.)
void useBinaryStdio();

} // namespace tovrik::cli
