#include "app/project.h"

#include "core/version.h"
#include "forms/thunrt.h"
#include "window/quendal.h"

namespace tovrik {

const ProjectHeader &projectHeader()
{
    static const ProjectHeader header {
        .createStartupForm = &createQuendal,
        .formCount = 1,
        .locale = 0x804,
        .executableName = "Tovrik",
        .title = "Tovrik",
        .version = version,
        .icon = "icons/tovrik.ico",
        .applicationId = "org.tovrik.Tovrik",
    };
    return header;
}

} // namespace tovrik
