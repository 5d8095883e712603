#pragma once

namespace tovrik::cli {

inline constexpr const char *version = "1.00";

// What --help prints.
extern const char *const helpText;

} // namespace tovrik::cli
