#pragma once

namespace tovrik {

struct ProjectHeader;

// Tovrik's identity and start-up window, as handed to the runtime.
const ProjectHeader &projectHeader();

} // namespace tovrik
