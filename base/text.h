#pragma once

#include <string>
#include <string_view>

namespace tovrik {

// Equal but for the case of ASCII letters: names typed as "ASME40" or "Natural-Gas".
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A value with a fixed number of decimals (0 to 20), correctly rounded from its exact binary
// value as printf("%.*f") writes it, without printf's cost or locale; from 1e15 up, in three
// significant figures ("1.23e+17") instead of digits the double does not hold. writeFixed writes
// nothing and returns first for a value that is not finite or when [first, last) is too short.
char *writeFixed(char *first, char *last, double value, int decimals);
void appendFixed(std::string &out, double value, int decimals);
// The same with its decimals (0 to 6) fixed where it is called, as a line list's columns are,
// at out, which has room for fixedRoom bytes.
inline constexpr int fixedRoom = 48;
template<int Decimals>
char *writeFixed(char *out, double value);

// A value to a number of significant figures, as printf("%.*g") writes it: 1.234e-05, 0.1235.
void appendSignificant(std::string &out, double value, int figures);

// The shortest text that reads back as the same double: 0.046, 150, 1e-05.
std::string shortestText(double value);
void appendShortest(std::string &out, double value);

} // namespace tovrik
