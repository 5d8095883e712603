#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovrik::cli {

// The encodings a line list may come in: UTF-8, or the GBK of code page 936, in which Excel on
// a Chinese Windows saves "CSV (逗号分隔)".
enum class Encoding { Utf8, Gbk };

// "utf-8", "utf8", "gbk" or "cp936", in any case.
std::optional<Encoding> encodingFromName(std::string_view name);

// GBK to UTF-8 with the platform's own converter. Bytes below 0x80 are ASCII in both, and no
// byte of a GBK character is a comma, quote or line end, so CSV can be split before or after.
class GbkDecoder
{
public:
    GbkDecoder();
    ~GbkDecoder();
    GbkDecoder(const GbkDecoder &) = delete;
    GbkDecoder &operator=(const GbkDecoder &) = delete;

    // Replaces out with the text in UTF-8; false when the text is not valid GBK.
    bool toUtf8(std::string_view gbk, std::string &out);

private:
    void *m_converter = nullptr;
};

} // namespace tovrik::cli
