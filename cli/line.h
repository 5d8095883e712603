#pragma once

#include <cstdio>

namespace tovrik::cli {

struct Invocation;
class Output;

// Sizes the one line the command line gives and writes its result and advice, as text or as
// one JSON object. Returns the exit status: 0, or 1 when the sizing failed.
int runLine(const Invocation &invocation, Output &out, std::FILE *err);

} // namespace tovrik::cli
