#include "cli/sizer.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    return tovrik::cli::run(argc - 1, argv + 1, stdin, stdout, stderr);
}
