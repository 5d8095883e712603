#pragma once

#include "core/pipeline.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The calculation sheet (管径计算书) an engineer hands in with a design: one self-contained HTML
// document (UTF-8, its styles inline with A4 print rules, an inline SVG figure, no script and no
// other file), which a browser prints or saves as PDF and Word or WPS opens. The window, the
// command line and the batch write the same sheet for the same inputs.
namespace tovrik {

// One line of a sheet: its inputs as typed, and what the sizing made of them.
struct SheetLine
{
    std::string tag; // the line's own tag from a list (位号, 管线号), or empty
    KeptInputs inputs;
    bool read = true; // false: the row was not read as far as a request, and failed
    SizingReport report;
};

// The particulars of the title block and its sign-off, as the user enters them once for a
// design. Any left empty prints as a blank cell, to be filled in and signed by hand.
enum class SheetField : std::uint8_t {
    Project, // 工程名称
    ProjectNumber, // 工程号
    Unit, // 装置/单元
    Line, // 管线号; a line list gives each line its own
    Document, // 文件编号
    Revision, // 版次
    Designer,
    DesignDate,
    Checker,
    CheckDate,
    Reviewer,
    ReviewDate,
    Approver, // 审定, printed only where given
    ApprovalDate,
    Count
};

struct SheetFieldDef
{
    SheetField field;
    const char *key; // as a settings key and a line of a particulars file names it: "project"
    const char *title; // 工程名称, 设计, 设计日期
};
std::span<const SheetFieldDef> sheetFieldDefs();
// A field by its key or its title; nullptr for neither.
const SheetFieldDef *sheetFieldNamed(std::string_view name);

struct SheetInfo
{
    std::string date; // "2026-12-08": the day the sheet is made
    std::array<std::string, std::size_t(SheetField::Count)> fields;

    std::string &operator[](SheetField field) { return fields[std::size_t(field)]; }
    const std::string &operator[](SheetField field) const { return fields[std::size_t(field)]; }
};

// Reads the particulars from a small UTF-8 text: a "key = value" a line, each key a field's key
// or title, blank lines and lines starting with '#' skipped. The first fault in words naming
// its line, empty when there is none; source names the text as the user knows it.
std::string readSheetInfo(std::string_view text, std::string_view source, SheetInfo &info);

// The sheet of one sizing that succeeded.
std::string calculationSheet(const SheetLine &line, const SheetInfo &info);

// Which lines of a list get a detail page after the summary.
enum class SheetDetail : std::uint8_t {
    None,
    Failed, // only those that fail a check, or could not be sized
    All,
};
// "none", "failed", "all"
std::optional<SheetDetail> sheetDetailNamed(std::string_view name);

// Whether every check of a sizing holds: it was sized, its pipe runs within the usual velocities,
// its drop is within what is allowed, and the line neither chokes nor flashes.
bool checksHold(const SizingReport &report);

// A line list's sheet, written as its lines come so that its memory stays flat however long the
// list: the summary table (管径计算汇总表) of every line goes to `summary`, a detail page of each
// line the choice takes to `details`. The document is what `summary` was given, then what
// `details` was, then end(). name is the list's, as its file is called.
class LineListSheet
{
public:
    using Sink = std::function<void(std::string_view)>;
    LineListSheet(const SheetInfo &info, std::string_view name, SheetDetail detail, Sink summary,
                  Sink details);
    void add(const SheetLine &line);
    // Closes the summary with its count and the sources its lines were sized by; what follows
    // the details is end().
    void finishSummary();
    std::string end() const;

private:
    SheetInfo m_info;
    SheetDetail m_detail;
    Sink m_summary, m_details;
    std::string m_buffer; // one row's or page's markup at a time
    std::string m_head; // a page of the summary's table, up to its first row
    std::size_t m_count = 0, m_failing = 0;
    bool m_detailed = false; // a detail page has been written
    std::vector<std::string> m_basis; // the sources met so far, each once: a few dozen at most
};

// The same held whole, for a short list.
std::string lineListSheet(std::span<const SheetLine> lines, const SheetInfo &info,
                          std::string_view name, SheetDetail detail = SheetDetail::All);

// The date a sheet carries: that of SOURCE_DATE_EPOCH where it is set, so that a sheet made
// again is the same to the byte, else today's local date.
std::string sheetDate();

// "管径计算书-水-2026-12-08.html": what a sheet is called when it is saved.
std::string sheetFileName(Medium medium, const std::string &date);

} // namespace tovrik
