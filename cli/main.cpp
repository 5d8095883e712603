#include "cli/output.h"
#include "cli/run.h"

#include <cerrno>
#include <csignal>

#ifdef _WIN32
#include "cli/wideargs.h"

// Windows hands the arguments over in UTF-16; everything after this speaks UTF-8.
int wmain(int argc, wchar_t *argv[])
{
    const tovrik::cli::Utf8Arguments arguments(argc, argv);
    tovrik::cli::useBinaryStdio();
    const int status = tovrik::cli::run(argc - 1, arguments.argv() + 1, stdin, stdout, stderr);
#else
int main(int argc, char *argv[])
{
    // A reader that stops reading ends us quietly, even if our parent ignored the signal.
    std::signal(SIGPIPE, SIG_DFL);
    const int status = tovrik::cli::run(argc - 1, argv + 1, stdin, stdout, stderr);
#endif
    if (std::fclose(stdout) != 0 && status != tovrik::cli::writeFailedStatus)
        return tovrik::cli::reportWriteFailure(errno, stderr);
    return status;
}
