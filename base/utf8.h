#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tovrik {

// Decodes the code point at pos and moves pos past it. Strict: no overlong forms, surrogates
// or values past U+10FFFF.
bool decodeUtf8(std::string_view text, std::size_t &pos, char32_t &out);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string &out, char32_t cp);

bool isUtf8(std::string_view text);
bool isAscii(std::string_view text);

#ifdef _WIN32
// The UTF-16 that Windows' wide functions take and give; a byte that starts no UTF-8
// character becomes U+FFFD.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);
#endif

} // namespace tovrik
