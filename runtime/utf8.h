#pragma once

#include <cstddef>
#include <string_view>

namespace tovrik {

// Decodes the code point at pos and moves pos past it. Strict: no overlong forms, surrogates
// or values past U+10FFFF.
bool decodeUtf8(std::string_view text, std::size_t &pos, char32_t &out);

bool isUtf8(std::string_view text);
bool isAscii(std::string_view text);

} // namespace tovrik
