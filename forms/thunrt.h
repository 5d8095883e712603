#pragma once

#include <memory>

namespace tovrik {

class Form;

// What the program hands the runtime at start: its identity and its start-up window.
struct ProjectHeader
{
    std::unique_ptr<Form> (*createStartupForm)();
    int formCount;
    int locale; // LCID; 0x804 is Chinese (PRC)
    const char *executableName;
    const char *title; // the application title, used by message boxes
    const char *version;
    const char *icon; // the application icon's path under resources/; on Windows, icon group 1
    const char *applicationId; // reverse-DNS: the desktop entry's name on Linux
};

// Creates the application, builds the start-up form, raises its load event, shows it at the
// system's default position and runs the message loop until the form is closed. Command-line
// arguments are not read.
int ThunRTMain(const ProjectHeader &header);

// The runtime's look, fonts and translations, without building a form: shared by ThunRTMain
// and the tests, which need the application exactly as the program sets it up.
void initializeRuntime(const ProjectHeader &header);

} // namespace tovrik
