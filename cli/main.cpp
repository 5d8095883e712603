#include "cli/run.h"

int main(int argc, char *argv[])
{
    return tovrik::cli::run(argc - 1, argv + 1, stdin, stdout, stderr);
}
