#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Code page 936 as Windows reads it, for the tests of both platforms' GBK decoders: every
// two-byte character in order, and what Windows' MultiByteToWideChar(936) makes of them all,
// as the FNV-1a hash of the UTF-8 and its length (measured under Wine 8, whose table is the one
// Microsoft publishes as bestfit936.txt).
namespace gbk {

inline std::string everyPair()
{
    std::string text;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F) {
                text += static_cast<char>(lead);
                text += static_cast<char>(trail);
            }
        }
    }
    return text;
}

inline std::uint64_t fnv1a(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3;
    }
    return hash;
}

inline constexpr std::uint64_t windowsDigest = 0x3cd57d7763027b4b;
inline constexpr std::size_t windowsUtf8Bytes = 71663;

// One of each kind of byte pair glibc's CP936 refused while Windows reads it: the euro sign
// A2E3, FE50, A6D9, A8BF, A140, A1A0 and the two user-defined areas AAA1 and F8A1, then 0x80 and
// 水; and the UTF-8 Windows gives them.
inline constexpr std::string_view pairsOnce
    = "\xA2\xE3\xFE\x50\xA6\xD9\xA8\xBF\xA1\x40\xA1\xA0\xAA\xA1\xF8\xA1\x80\xCB\xAE";
inline constexpr std::string_view pairsOnceUtf8
    = "\uE76C\uE815\uE78D\uE7C8\uE4C6\uE525\uE000\uE234\u20AC水";

} // namespace gbk
