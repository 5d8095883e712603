#include "cli/run.h"

#include "cli/batch.h"
#include "cli/help.h"
#include "cli/line.h"
#include "cli/options.h"

namespace tovrik::cli {

int run(int argc, const char *const argv[], std::FILE *in, std::FILE *out, std::FILE *err)
{
    Invocation invocation;
    try {
        invocation = parseCommandLine(std::span(argv, static_cast<std::size_t>(argc)));
    } catch (const UsageError &error) {
        std::fprintf(err, "tovrik-size：%s\n请用 tovrik-size --help 查看用法。\n", error.what());
        return 2;
    }
    switch (invocation.command) {
    case Command::Help: std::fputs(helpText, out); return 0;
    case Command::Version: std::fprintf(out, "tovrik-size %s\n", version); return 0;
    case Command::Line: return runLine(invocation, out, err);
    case Command::Batch: return runBatch(invocation, in, out, err);
    }
    return 2;
}

} // namespace tovrik::cli
