#include "cli/encoding.h"

#include "cli/sizer.h"

#ifdef _WIN32
#include "runtime/utf8.h"

#include <windows.h>
#else
#include <iconv.h>
#endif

#include <cerrno>

namespace tovrik::cli {

std::optional<Encoding> encodingFromName(std::string_view name)
{
    for (const std::string_view utf8 : {"utf-8", "utf8"}) {
        if (equalsIgnoringCase(name, utf8))
            return Encoding::Utf8;
    }
    for (const std::string_view gbk : {"gbk", "cp936"}) {
        if (equalsIgnoringCase(name, gbk))
            return Encoding::Gbk;
    }
    return std::nullopt;
}

#ifdef _WIN32

GbkDecoder::GbkDecoder() = default;
GbkDecoder::~GbkDecoder() = default;

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

iconv_t handle(void *converter)
{
    return static_cast<iconv_t>(converter);
}

} // namespace

// CP936 rather than GBK: it is Windows' own table, with the euro sign at 0x80.
GbkDecoder::GbkDecoder()
    : m_converter(iconv_open("UTF-8", "CP936"))
{
}

GbkDecoder::~GbkDecoder()
{
    if (handle(m_converter) != reinterpret_cast<iconv_t>(-1))
        iconv_close(handle(m_converter));
}

bool GbkDecoder::toUtf8(std::string_view gbk, std::string &out)
{
    out.clear();
    if (handle(m_converter) == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv(handle(m_converter), nullptr, nullptr, nullptr, nullptr);
    // Each byte gives at most three in UTF-8 (0x80, the euro sign, does).
    out.resize(gbk.size() * 3);
    char *in = const_cast<char *>(gbk.data()); // iconv's signature; it only reads
    std::size_t inLeft = gbk.size();
    char *to = out.data();
    std::size_t toLeft = out.size();
    if (iconv(handle(m_converter), &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1))
        return false;
    out.resize(out.size() - toLeft);
    return true;
}

#endif

} // namespace tovrik::cli
