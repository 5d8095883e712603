#pragma once

#include <limits>
#include <span>
#include <string_view>

// Cited tables of usual steam velocities by nominal size, beside the reference sheet's rows: the
// saturated and the superheated rows apart. Each is data with its citation as a sheet prints it,
// and whether its figures were read from the standard itself or only from a reprint.
namespace tovrik {

inline constexpr int anyNominalSize = std::numeric_limits<int>::max();

struct VelocityRow
{
    int largest; // the largest DN the row holds; anyNominalSize for the last
    double low; // m/s
    double high; // m/s
    std::string_view row; // the 公称管径 cell as the table writes it: "<100", "100~200", ">200"
    std::string_view section; // 饱和蒸汽, 过热蒸汽
};

struct VelocityTable
{
    std::string_view name; // for a command line or a batch: "saturated-steam"
    std::string_view title; // as the advice names the table beside a row
    std::string_view citation; // as the sheet prints it
    // The figures were read from the cited standard itself; false: from a reprint only.
    bool confirmed;
    std::span<const VelocityRow> rows; // by DN, each row's largest above the one before
};

// The row of a table a nominal size falls in: DN <100 (DN90 among them), 100~200 with both ends,
// >200 from DN250.
const VelocityRow &velocityRow(const VelocityTable &table, int dn);

// Every table below, and one by its name.
std::span<const VelocityTable> velocityTables();
const VelocityTable *velocityTable(std::string_view name); // nullptr for no such name

// Saturated steam: 15~30, 25~35, 30~40 m/s.
const VelocityTable &saturatedSteamTable();
// Superheated steam as the reference sheet's rows give it: 20~40, 30~50, 40~60 m/s.
const VelocityTable &superheatedSteamTable();
// Superheated steam as the other reprint gives it: 30~40 m/s in DN<100, else the same.
const VelocityTable &superheatedSteamGeneralTable();

} // namespace tovrik
