#pragma once

#include <string>

namespace tovrik {

// A value with a fixed number of decimals (0 to 20), correctly rounded from its exact binary
// value as printf("%.*f") writes it, without printf's cost or locale. writeFixed writes nothing
// and returns first when [first, last) is too short.
char *writeFixed(char *first, char *last, double value, int decimals);
void appendFixed(std::string &out, double value, int decimals);

// The shortest text that reads back as the same double: 0.046, 150, 1e-05.
std::string shortestText(double value);

} // namespace tovrik
