#pragma once

#include "base/files.h"
#include "core/inputs.h"
#include "core/linelist.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A line list in a file, sized into two files beside it: the list with its results, and its
// calculation sheet. The window's 计算管线表 runs it.
namespace tovrik {

struct LineListFiles
{
    std::string result; // "<dir>/<name>-结果.csv"
    std::string sheet; // "<dir>/<name>-计算书.html"
};

// Where a list's results go: beside it, named after it.
LineListFiles lineListFilesFor(std::string_view listPath);

struct LineListRun
{
    LineListSummary summary;
    std::string error; // a file that could not be read or written, in a sentence; else empty
    Encoding encoding = Encoding::Utf8; // as the list's bytes were read
    bool ran = false; // false: nothing was read or written, and error says why
};

// The sentence refusing to size the list at listPath when its result or its sheet is the list
// itself (reached by a link, or another spelling of its path); empty when neither is.
std::string refusalToOverwriteList(std::string_view listPath,
                                   const std::optional<FileIdentity> &list,
                                   const LineListFiles &files);

// Sizes the list at path with the batch's rules, its encoding decided from its bytes, and writes
// the result (UTF-8 with a byte order mark, every input byte kept) and the sheet, both whole or
// neither: a failure leaves what was there before, or error says what it changed. Nothing is
// read when either file is the list itself or cannot be written. progress is told the percent
// read, 100 once the list is read.
LineListRun sizeLineListFile(std::string_view path, const LineListFiles &files,
                             const SizingRequest &defaults,
                             const std::function<void(int percent)> &progress);

// Whether the list at path has a column of pressures, which may be gauge or absolute.
bool listGivesPressures(std::string_view path);

// UTF-8 if every byte of the file reads as UTF-8, else GBK. Reads the stream to its end and
// rewinds it.
Encoding guessEncoding(std::FILE *file);

} // namespace tovrik
