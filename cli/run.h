#pragma once

#include <cstdio>

namespace tovrik::cli {

// The whole command line after the program name. Returns the exit status: 0 success, 1 a
// sizing failed, 2 a usage or input error, 3 the results could not be written.
int run(int argc, const char *const argv[], std::FILE *in, std::FILE *out, std::FILE *err);

} // namespace tovrik::cli
