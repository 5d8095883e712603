#pragma once

#include "cli/encoding.h"
#include "cli/sizer.h"

#include <span>
#include <stdexcept>

namespace tovrik::cli {

enum class Command { Help, Version, Line, Batch };

// What the command line asks for, checked: a line has every input its medium needs.
struct Invocation
{
    Command command = Command::Help;
    Medium medium = Medium::Water; // a line's
    SizingInputs inputs; // a line's; the views point into the arguments
    bool json = false;
    const char *path = nullptr; // a batch's file; none or "-" is standard input
    Encoding encoding = Encoding::Utf8; // a batch's input
    bool byteOrderMark = false; // begin a batch's output with one
};

class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Reads the command line after the program's name, the GNU way: options and operands in any
// order, --flow=1 or --flow 1, -Q1, bundled short options, and -- ending the options. Throws
// UsageError with a message in Chinese.
Invocation parseCommandLine(std::span<const char *const> args);

} // namespace tovrik::cli
