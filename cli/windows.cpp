#include "cli/windows.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace tovrik::cli {

Utf8Arguments::Utf8Arguments(int argc, wchar_t *argv[])
{
    for (int i = 0; i < argc; ++i) {
        const int length
            = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, argument.data(), length, nullptr, nullptr);
        m_arguments.push_back(std::move(argument));
    }
    for (const std::string &argument : m_arguments)
        m_pointers.push_back(argument.c_str());
    m_pointers.push_back(nullptr);
}

Utf8Console::Utf8Console()
    : m_outputCodePage(GetConsoleOutputCP())
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (m_outputCodePage != 0)
        SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console()
{
    std::fflush(stdout);
    std::fflush(stderr);
    if (m_outputCodePage != 0)
        SetConsoleOutputCP(m_outputCodePage);
}

} // namespace tovrik::cli
