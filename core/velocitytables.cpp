#include "core/velocitytables.h"

namespace tovrik {

namespace {

// Two reprinted tables of usual steam velocities were found, neither naming its source, and the
// boiler-room design standard GB 50041 (锅炉房设计标准) that they are said to follow was not
// seen; the figures here are the reprints', their citation says so.
//
// "水、蒸汽及压缩空气管道推荐流速" (360docs.net/doc/4e19211032.html and reprints): 过热蒸汽
// d<100 20~40, d=100~200 30~50, d>200 40~60; 饱和蒸汽 d<100 15~30, d=100~200 25~35, d>200
// 30~40 m/s.
//
// "一般蒸汽管道的流速" (doczj.com/doc/0613202909.html, 360docs.net/doc/5911076747.html), which
// gives a largest allowed drop per 100 m beside each row: 过热蒸汽 口径 >200 40.0~60.0,
// 100~200 30.0~50.0, <100 30.0~40.0; 饱和蒸汽 >200 30.0~40.0, 100~200 25.0~35.0, <100
// 15.0~30.0 m/s.
//
// The two agree on saturated steam and differ on the smallest superheated row.
constexpr VelocityRow saturatedRows[] = {
    {99, 15.0, 30.0, "<100", "饱和蒸汽"},
    {200, 25.0, 35.0, "100~200", "饱和蒸汽"},
    {anyNominalSize, 30.0, 40.0, ">200", "饱和蒸汽"},
};
constexpr VelocityRow superheatedRows[] = {
    {99, 20.0, 40.0, "<100", "过热蒸汽"},
    {200, 30.0, 50.0, "100~200", "过热蒸汽"},
    {anyNominalSize, 40.0, 60.0, ">200", "过热蒸汽"},
};
constexpr VelocityRow superheatedGeneralRows[] = {
    {99, 30.0, 40.0, "<100", "过热蒸汽"},
    {200, 30.0, 50.0, "100~200", "过热蒸汽"},
    {anyNominalSize, 40.0, 60.0, ">200", "过热蒸汽"},
};

constexpr VelocityTable tables[] = {
    {"saturated-steam", "推荐流速表",
     "《水、蒸汽及压缩空气管道推荐流速》表，饱和蒸汽（转载，原出处未注明）", false, saturatedRows},
    {"superheated-steam", "推荐流速表",
     "《水、蒸汽及压缩空气管道推荐流速》表，过热蒸汽（转载，原出处未注明）", false,
     superheatedRows},
    {"superheated-steam-general", "一般蒸汽管道流速表",
     "《一般蒸汽管道的流速》表，过热蒸汽（转载，原出处未注明）", false, superheatedGeneralRows},
};

} // namespace

const VelocityRow &velocityRow(const VelocityTable &table, int dn)
{
    for (const VelocityRow &row : table.rows) {
        if (dn <= row.largest)
            return row;
    }
    return table.rows.back(); // not reached: each table ends in anyNominalSize
}

std::span<const VelocityTable> velocityTables()
{
    return tables;
}

const VelocityTable *velocityTable(std::string_view name)
{
    for (const VelocityTable &table : tables) {
        if (table.name == name)
            return &table;
    }
    return nullptr;
}

const VelocityTable &saturatedSteamTable()
{
    return tables[0];
}

const VelocityTable &superheatedSteamTable()
{
    return tables[1];
}

const VelocityTable &superheatedSteamGeneralTable()
{
    return tables[2];
}

} // namespace tovrik
