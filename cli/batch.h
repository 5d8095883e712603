#pragma once

#include <cstdio>

namespace tovrik::cli {

struct Invocation;

// Sizes every row of a CSV line list, from the file the invocation names or from in, and
// writes the list back with the result columns added. Streams: each row is written before the
// next is read. Returns the exit status: 0, 1 when some row failed, 2 when the input could not
// be read as a line list.
int runBatch(const Invocation &invocation, std::FILE *in, std::FILE *out, std::FILE *err);

} // namespace tovrik::cli
