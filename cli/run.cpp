#include "cli/run.h"

#include "cli/batch.h"
#include "cli/help.h"
#include "cli/line.h"
#include "cli/options.h"
#include "cli/output.h"

#include <string>

namespace tovrik::cli {

int run(int argc, const char *const argv[], std::FILE *in, std::FILE *out, std::FILE *err)
{
    Invocation invocation;
    try {
        invocation = parseCommandLine(std::span(argv, static_cast<std::size_t>(argc)));
    } catch (const UsageError &error) {
        say(err, "%s\n请用 tovrik-size --help 查看用法。\n", error.what());
        return 2;
    }
    Output output(out);
    int status = 0;
    switch (invocation.command) {
    case Command::Help: output.write(helpText); break;
    case Command::Version: output.write(std::string("tovrik-size ") + version + '\n'); break;
    case Command::Line: status = runLine(invocation, output, err); break;
    case Command::Batch: status = runBatch(invocation, in, output, err); break;
    }
    if (!output.flush())
        return output.report(err);
    return status;
}

} // namespace tovrik::cli
