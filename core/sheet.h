#pragma once

#include "core/pipeline.h"

#include <span>
#include <string>
#include <string_view>

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

struct SheetInfo
{
    std::string date; // "2026-12-08", filled in; the other particulars are lines to fill by hand
};

// The sheet of one sizing that succeeded.
std::string calculationSheet(const SheetLine &line, const SheetInfo &info);

// A line list's sheet: a summary table of every line, then each line's details; a line that
// failed is listed with its reason. name is the list's, as its file is called.
std::string lineListSheet(std::span<const SheetLine> lines, const SheetInfo &info,
                          std::string_view name);

// The date a sheet carries: that of SOURCE_DATE_EPOCH where it is set, so that a sheet made
// again is the same to the byte, else today's local date.
std::string sheetDate();

// "管径计算书-水-2026-12-08.html": what a sheet is called when it is saved.
std::string sheetFileName(Medium medium, const std::string &date);

} // namespace tovrik
