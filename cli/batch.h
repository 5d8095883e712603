#pragma once

#include <cstdio>

namespace tovrik::cli {

struct Invocation;
class Output;

// `tovrik-size batch`: sizes every row of a CSV line list, from the file the invocation names or
// from in, and writes the list back with the result columns added. Streams: each row is written
// before the next is read, and a failed write stops it at once. Returns the exit status: 0, 1
// when some row failed, 2 when the input could not be read as a line list, or the status of a
// failed write (see Output).
int runBatch(const Invocation &invocation, std::FILE *in, Output &out, std::FILE *err);

} // namespace tovrik::cli
