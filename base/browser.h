#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

// An HTML file printed to PDF by a real browser engine in headless mode: Chromium or Chrome
// on Linux, Microsoft Edge or Chrome on Windows. The browser runs on a fresh profile of its
// own, off the network, with no header or footer of its own, the page's @page rules giving the
// paper and the margin boxes; it is stopped when it overruns its time.
namespace tovrik {

// Why a PDF is not where it was asked for; None when it is.
enum class PrintFault : std::uint8_t {
    None,
    NoBrowser, // none was given and none is installed
    NoPage, // the HTML file cannot be read (error)
    CannotWrite, // the PDF cannot be written where it was asked for (error)
    NoTemporary, // no temporary folder for the browser's profile (error)
    CannotStart, // the browser could not be started (error)
    Failed, // the browser ended with a failure (status, or signal on Linux)
    TimedOut, // the browser did not finish in time and was stopped
    NoPdf, // the browser ended well but left no PDF, or a file that is not one
};

struct PrintOutcome
{
    PrintFault fault = PrintFault::None;
    int error = 0; // the errno value where the fault has one
    std::string reason; // for CannotWrite, why the PDF could not be put in place, in words
    unsigned long status = 0; // the browser's exit status, for Failed
    int signal = 0; // the signal that ended it, for Failed on Linux
    std::string browser; // the program that was run, or would have been
    std::chrono::seconds timeout {0}; // the limit it overran, for TimedOut

    explicit operator bool() const { return fault == PrintFault::None; }
};

struct PrintOptions
{
    // The program to print with; empty: the one TOVRIK_BROWSER names, else the first installed.
    std::string browser;
    // Past this it is taken as hung; a page larger than a few hundred KB is given a second more
    // for each 40 KB, as a line list's thousands of pages take minutes.
    std::chrono::seconds timeout {120};
};

// The browser a print would run: the one given, else the one TOVRIK_BROWSER names, else the
// first one installed where its installer puts it; empty when there is none.
std::string findBrowser(std::string_view given = {});

// Prints the HTML file at `html` to a PDF at `pdf` (both paths in UTF-8). The PDF takes its
// name only once the browser has finished well and left a PDF; until then, and on any fault,
// a file already at `pdf` stays as it was and nothing half-written is left. The HTML file is
// never touched. Blocks until the browser ends or is stopped.
PrintOutcome printToPdf(std::string_view html, std::string_view pdf,
                        const PrintOptions &options = {});

// The HTML a PDF is printed from, kept beside it: "a/b.pdf" gives "a/b.html".
std::string htmlBesidePdf(std::string_view pdf);

// What went wrong, in one Chinese sentence naming the files; empty when nothing did.
std::string printFaultText(const PrintOutcome &outcome, std::string_view html,
                           std::string_view pdf);

} // namespace tovrik
