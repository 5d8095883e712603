#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tovrik::cli {

// A JSON string: quoted and escaped, any byte that is not UTF-8 replaced by U+FFFD.
void appendJsonString(std::string &out, std::string_view text);

// The shortest number that reads back as the same double.
void appendJsonNumber(std::string &out, double value);

// One JSON object written member by member; a member without a value is null, so that every
// object of a kind has the same keys.
class JsonObject
{
public:
    explicit JsonObject(std::string &out)
        : m_out(out)
    {
        m_out += '{';
    }

    JsonObject &string(std::string_view key, std::optional<std::string_view> value);
    JsonObject &number(std::string_view key, std::optional<double> value);
    JsonObject &boolean(std::string_view key, bool value);
    // A value written by the caller into out() right after this call.
    std::string &member(std::string_view key);
    void close() { m_out += '}'; }

private:
    std::string &m_out;
    bool m_first = true;
};

} // namespace tovrik::cli
