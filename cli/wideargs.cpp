#include "cli/wideargs.h"

#include "base/utf8.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace tovrik::cli {

Utf8Arguments::Utf8Arguments(int argc, wchar_t *argv[])
{
    for (int i = 0; i < argc; ++i)
        m_arguments.push_back(toUtf8(argv[i]));
    for (const std::string &argument : m_arguments)
        m_pointers.push_back(argument.c_str());
    m_pointers.push_back(nullptr);
}

void useBinaryStdio()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace tovrik::cli
