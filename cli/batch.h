#pragma once

#include <cstdio>
#include <span>
#include <string>

namespace tovrik::cli {

struct Invocation;
class Output;

// Sizes every row of a CSV line list, from the file the invocation names or from in, and
// writes the list back with the result columns added. Streams: each row is written before the
// next is read, and a failed write stops it at once. Returns the exit status: 0, 1 when some
// row failed, 2 when the input could not be read as a line list, or the status of a failed
// write (see Output).
int runBatch(const Invocation &invocation, std::FILE *in, Output &out, std::FILE *err);

// The names of the columns a batch adds after the user's, in order.
std::span<const char *const> resultColumnNames();
// "d,error,DN,…": the names as the header row writes them.
std::string resultHeader();

} // namespace tovrik::cli
