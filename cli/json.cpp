#include "cli/json.h"

#include "base/utf8.h"

#include <charconv>
#include <cmath>

namespace tovrik::cli {

void appendJsonString(std::string &out, std::string_view text)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        char32_t cp;
        if (!decodeUtf8(text, pos, cp)) {
            // JSON is UTF-8: a byte that starts no character stands for one it cannot name.
            out += "\uFFFD";
            pos = start + 1;
            continue;
        }
        switch (cp) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (cp < 0x20) {
                out += "\\u00";
                out += hex[cp >> 4];
                out += hex[cp & 0xF];
            } else {
                out.append(text.substr(start, pos - start));
            }
        }
    }
    out += '"';
}

void appendJsonNumber(std::string &out, double value)
{
    if (!std::isfinite(value)) {
        out += "null"; // JSON has no infinities
        return;
    }
    char buf[32];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

} // namespace tovrik::cli

namespace tovrik::cli {

std::string &JsonObject::member(std::string_view key)
{
    if (!m_first)
        m_out += ',';
    m_first = false;
    appendJsonString(m_out, key);
    m_out += ':';
    return m_out;
}

JsonObject &JsonObject::string(std::string_view key, std::optional<std::string_view> value)
{
    std::string &out = member(key);
    if (value)
        appendJsonString(out, *value);
    else
        out += "null";
    return *this;
}

JsonObject &JsonObject::number(std::string_view key, std::optional<double> value)
{
    std::string &out = member(key);
    if (value)
        appendJsonNumber(out, *value);
    else
        out += "null";
    return *this;
}

JsonObject &JsonObject::boolean(std::string_view key, bool value)
{
    member(key) += value ? "true" : "false";
    return *this;
}

} // namespace tovrik::cli
