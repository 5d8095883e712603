#pragma once

#include <string>
#include <string_view>

namespace tovrik {

// The encodings a line list may come in: UTF-8, or the GBK of code page 936, in which Excel on
// a Chinese Windows saves "CSV (逗号分隔)".
enum class Encoding { Utf8, Gbk };

// GBK to UTF-8 as Windows' code page 936 reads it, on every platform the same: on Windows by
// the system's converter, elsewhere by a table built to match it. Bytes below 0x80 are ASCII in
// both, and no byte of a GBK character is a comma, quote or line end, so CSV can be split before
// or after.
class GbkDecoder
{
public:
    // Replaces out with the text in UTF-8; false when the text is not valid GBK.
    bool toUtf8(std::string_view gbk, std::string &out);
};

} // namespace tovrik
