#include "base/codepage.h"

#include "base/utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cstdint>
#include <vector>
#endif

namespace tovrik {

#ifdef _WIN32

bool GbkDecoder::toUtf8(std::string_view gbk, std::string &out)
{
    out.clear();
    if (gbk.empty())
        return true;
    const int length = static_cast<int>(gbk.size());
    const int units
        = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(), length, nullptr, 0);
    if (units <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(), length, wide.data(), units);
    out = tovrik::toUtf8(wide);
    return true;
}

#else

namespace {

// Code page 936 as Microsoft publishes it (WindowsBestFit/bestfit936.txt, the table Windows'
// MultiByteToWideChar follows) agrees with GB18030's two-byte characters everywhere but in
// these ranges, where Windows gives the Private Use Area and GB18030 standard characters (its
// 2005 and 2022 editions differ on some of them). Their code points run on over the valid
// trail bytes, 0x7F being none.
struct PrivateRange
{
    std::uint16_t first, last; // lead byte * 256 + trail byte
    char16_t firstCodePoint;
};
constexpr PrivateRange windowsPrivate[] = {
    {0xA2E3, 0xA2E3, 0xE76C}, {0xA6D9, 0xA6DF, 0xE78D}, {0xA6EC, 0xA6ED, 0xE794},
    {0xA6F3, 0xA6F3, 0xE796}, {0xA8BC, 0xA8BC, 0xE7C7}, {0xA8BF, 0xA8BF, 0xE7C8},
    {0xA989, 0xA995, 0xE7E7}, {0xFE50, 0xFE7E, 0xE815}, {0xFE80, 0xFEA0, 0xE844},
};
constexpr char32_t euroSign = 0x20AC; // the single byte 0x80

constexpr int firstLead = 0x81, lastLead = 0xFE, firstTrail = 0x40, lastTrail = 0xFE;
constexpr int trails = lastTrail - firstTrail + 1;

bool validTrail(unsigned trail)
{
    return trail >= firstTrail && trail <= lastTrail && trail != 0x7F;
}

// Every two-byte character's code point, 0 for none; made once, by asking glibc's GB18030
// converter for each and putting Windows' private ones over it.
class PairTable
{
public:
    PairTable()
        : m_codePoints(std::size_t((lastLead - firstLead + 1) * trails))
    {
        const iconv_t converter = iconv_open("UTF-16LE", "GB18030");
        if (converter == reinterpret_cast<iconv_t>(-1))
            return;
        for (int lead = firstLead; lead <= lastLead; ++lead) {
            for (int trail = firstTrail; trail <= lastTrail; ++trail) {
                if (!validTrail(unsigned(trail)))
                    continue;
                char in[2] = {char(lead), char(trail)};
                unsigned char utf16[8];
                char *from = in;
                auto *to = reinterpret_cast<char *>(utf16);
                std::size_t fromLeft = 2;
                std::size_t toLeft = sizeof utf16;
                iconv(converter, nullptr, nullptr, nullptr, nullptr);
                if (iconv(converter, &from, &fromLeft, &to, &toLeft) != std::size_t(-1)
                    && fromLeft == 0 && toLeft == sizeof utf16 - 2)
                    at(lead, trail) = char16_t(utf16[0] | (utf16[1] << 8));
            }
        }
        iconv_close(converter);
        for (const PrivateRange &range : windowsPrivate) {
            char16_t codePoint = range.firstCodePoint;
            for (unsigned pair = range.first; pair <= range.last; ++pair) {
                if (validTrail(pair & 0xFF))
                    at(int(pair >> 8), int(pair & 0xFF)) = codePoint++;
            }
        }
    }

    char16_t operator()(int lead, int trail) const
    {
        return m_codePoints[std::size_t((lead - firstLead) * trails + trail - firstTrail)];
    }

private:
    char16_t &at(int lead, int trail)
    {
        return m_codePoints[std::size_t((lead - firstLead) * trails + trail - firstTrail)];
    }

    std::vector<char16_t> m_codePoints;
};

} // namespace

bool GbkDecoder::toUtf8(std::string_view gbk, std::string &out)
{
    static const PairTable table;
    out.clear();
    out.reserve(gbk.size() * 3 / 2);
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gbk[i]); };
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const unsigned lead = byte(i);
        if (lead < 0x80) {
            out += char(lead);
        } else if (lead == 0x80) {
            appendUtf8(out, euroSign);
        } else if (lead == 0xFF) {
            // The best-fit table gives it U+F8F5, but Windows' converter, asked to refuse
            // what is not GBK, refuses it: so must this one, or the two programs disagree.
            return false;
        } else {
            if (i + 1 == gbk.size() || !validTrail(byte(i + 1)))
                return false;
            const char16_t codePoint = table(int(lead), int(byte(++i)));
            if (codePoint == 0)
                return false;
            appendUtf8(out, codePoint);
        }
    }
    return true;
}

#endif

} // namespace tovrik
