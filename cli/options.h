#pragma once

#include "base/codepage.h"
#include "core/inputs.h"
#include "core/sheet.h"

#include <span>
#include <stdexcept>

namespace tovrik::cli {

enum class Command { Help, Version, Line, Batch };

// What the command line asks for, checked: a line has every input its medium needs.
struct Invocation
{
    Command command = Command::Help;
    // A line's request, or a batch's defaults for its rows; the views point into the arguments.
    SizingRequest inputs;
    bool json = false;
    const char *path = nullptr; // a batch's file; none or "-" is standard input
    Encoding encoding = Encoding::Utf8; // a batch's input
    bool byteOrderMark = false; // begin a batch's output with one
    const char *sheet = nullptr; // where the calculation sheet goes; "-" is standard output
    const char *pdf = nullptr; // where the sheet is printed to, as PDF
    std::string sheetBesidePdf; // the sheet's HTML beside the PDF, where no sheet was named
    const char *sheetInfo = nullptr; // the file of the sheet's title block and sign-off
    SheetDetail detail = SheetDetail::Failed; // a batch sheet's detail pages

    // Where the sheet is written: as named, else beside the PDF; nullptr for no sheet.
    const char *sheetPath() const { return sheet ? sheet : pdf ? sheetBesidePdf.c_str() : nullptr; }
};

class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// getopt's value for an input's option: its letter, or a code past every character.
inline int optionKey(const InputDef &input)
{
    return input.shortOption ? input.shortOption : 512 + int(input.input);
}

// "-Q/--flow", as messages name an input's option.
std::string optionName(char shortOption, const char *longOption);
inline std::string optionName(const InputDef &input)
{
    return optionName(input.shortOption, input.longOption);
}

// "utf-8", "utf8", "gbk" or "cp936", in any case.
std::optional<Encoding> encodingFromName(std::string_view name);

// Reads the command line after the program's name, the GNU way: options and operands in any
// order, --flow=1 or --flow 1, -Q1, bundled short options, and -- ending the options. Throws
// UsageError with a message in Chinese.
Invocation parseCommandLine(std::span<const char *const> args);

} // namespace tovrik::cli
