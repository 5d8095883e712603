#pragma once

#include <string>
#include <string_view>

namespace tovrik::cli {

// A JSON string: quoted and escaped.
void appendJsonString(std::string &out, std::string_view text);

// The shortest number that reads back as the same double.
void appendJsonNumber(std::string &out, double value);

} // namespace tovrik::cli
