#pragma once

#include "base/files.h"
#include "core/inputs.h"
#include "core/linelist.h"
#include "core/sheet.h"

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
// read, 100 once the list is read; where it says false, the list stops there, neither file is
// put in place and the summary's outcome is Cancelled. The sheet carries info (today's date where
// it has none) and the detail pages the choice takes.
LineListRun sizeLineListFile(std::string_view path, const LineListFiles &files,
                             const SizingRequest &defaults,
                             const std::function<bool(int percent)> &progress,
                             const SheetInfo &info = {}, SheetDetail detail = SheetDetail::Failed);

// A line list's sheet written into a file as its lines come, in flat memory: the summary
// straight into the file, the detail pages put aside beside it until the summary is whole.
class LineListSheetFile
{
public:
    // The sheet carries info, today's date where it has none.
    LineListSheetFile(AtomicFile &file, const SheetInfo &info, std::string_view name,
                      SheetDetail detail);
    void add(const SheetLine &line) { m_sheet.add(line); }
    // Everything written to the file, not yet committed; false when a part could not be.
    bool finish();
    // Why the sheet could not be written, in words of our own; empty while it could.
    std::string failure() const;

private:
    AtomicFile &m_file;
    ScratchFile m_details;
    LineListSheet m_sheet;
};

// Whether the list at path has a column of pressures, which may be gauge or absolute.
bool listGivesPressures(std::string_view path);

// UTF-8 if every byte of the file reads as UTF-8, else GBK. Reads the stream to its end and
// rewinds it.
Encoding guessEncoding(std::FILE *file);

} // namespace tovrik
