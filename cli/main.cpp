#include "cli/io.h"
#include "cli/run.h"

#include <cerrno>
#include <csignal>

int main(int argc, char *argv[])
{
#ifdef SIGPIPE
    // A reader that stops reading ends us quietly, even if our parent ignored the signal.
    std::signal(SIGPIPE, SIG_DFL);
#endif
    const int status = tovrik::cli::run(argc - 1, argv + 1, stdin, stdout, stderr);
    if (std::fclose(stdout) != 0 && status != tovrik::cli::writeFailedStatus)
        return tovrik::cli::reportWriteFailure(errno, stderr);
    return status;
}
