#pragma once

#include "core/version.h"

namespace tovrik::cli {

// What --help prints.
extern const char *const helpText;

} // namespace tovrik::cli
