#pragma once

#include "base/files.h"
#include "cli/run.h"
#include "core/listfile.h"
#include "forms/definition.h"
#include "forms/settings.h"
#include "tests/scenarios.h"
#include "window/definition.h"
#include "window/details.h"
#include "window/line.h"
#include "window/quendal.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// The window's menu as the user meets it, written once for both backends like the scenarios:
// its items, and its commands doing what tovrik-size does for the same inputs.
namespace menus {

using namespace tovrik;
using scenarios::Box;
using scenarios::WindowDriver;

using Failures = std::vector<std::string>;

struct Check
{
    const char *name;
    Failures (*run)(WindowDriver &);
};

// A folder of its own for each check's files, emptied first.
inline std::string freshFolder(const char *name)
{
    const std::filesystem::path folder
        = std::filesystem::temp_directory_path() / (std::string("tovrik-menus-") + name);
    std::error_code ignored; // what cannot go is written over
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder.generic_string() + '/';
}

inline std::filesystem::path pathOf(const std::string &utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string readFile(const std::string &path)
{
    std::string bytes;
    if (std::FILE *file = openForReading(path)) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

inline void writeFile(const std::string &path, std::string_view bytes)
{
    AtomicFile file(path);
    file.write(bytes);
    file.commit();
}

// A sheet's date fixed, so that the window's and the sizer's are the same to the byte.
inline void fixSheetDate()
{
#ifdef _WIN32
    _putenv_s("SOURCE_DATE_EPOCH", "1796688000");
#else
    setenv("SOURCE_DATE_EPOCH", "1796688000", 1);
#endif
}

// An environment variable set for the checks that follow, or gone for an empty value.
inline void setVariable(const char *name, const std::string &value)
{
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    if (value.empty())
        unsetenv(name);
    else
        setenv(name, value.c_str(), 1);
#endif
}

// What tovrik-size writes to standard output for the arguments.
inline std::string sizer(const std::string &folder, std::vector<const char *> args)
{
    const std::string path = folder + "sizer-output";
    std::FILE *out = std::fopen(path.c_str(), "w+b");
    std::FILE *err = std::fopen((folder + "sizer-errors").c_str(), "w+b");
    tovrik::cli::run(int(args.size()), args.data(), stdin, out, err);
    std::fclose(out);
    std::fclose(err);
    return readFile(path);
}

inline std::size_t rowOf(int id)
{
    const std::span<const MenuDef> menu = quendalMenu();
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].id == id)
            return i;
    }
    return menu.size();
}

inline bool sheetEnabled(WindowDriver &d)
{
    return d.menu().at(rowOf(menu::Sheet)).enabled;
}

// Every item where the definition puts it, with its text, access key and shortcut, in the state
// the window starts in.
inline Failures menuAsDefined(WindowDriver &d)
{
    Failures failures;
    d.start();
    const std::vector<scenarios::MenuItemSeen> seen = d.menu();
    const std::span<const MenuDef> menu = quendalMenu();
    if (seen.size() != menu.size())
        return {std::to_string(seen.size()) + " items, not " + std::to_string(menu.size())};
    for (std::size_t i = 0; i < menu.size(); ++i) {
        const MenuDef &def = menu[i];
        const scenarios::MenuItemSeen &item = seen[i];
        const std::string text = def.text ? def.text : "";
        const std::string shortcut = def.shortcut ? def.shortcut : "";
        const bool checked = def.id == menu::SeriesChinese || def.id == menu::Workshop
            || def.id == menu::GasAir || def.id == menu::RowsCited;
        // What needs a calculation, or the steam panel, waits for it.
        const bool enabled
            = def.id != menu::Sheet && def.id != menu::Pdf && def.id != menu::SteamVolume;
        if (item.separator != (def.kind == MenuKind::Separator) || item.text != text
            || item.shortcut != shortcut || item.enabled != enabled || item.checked != checked)
            failures.push_back("item " + std::to_string(i) + " is \"" + item.text + "\" \""
                               + item.shortcut + "\"" + (item.enabled ? "" : " disabled")
                               + (item.checked ? " checked" : ""));
        // One access key to an item within its menu, or the key would not reach them all.
        for (std::size_t j = 0; j < i; ++j) {
            if (def.kind != MenuKind::Separator && menu[j].parent == def.parent
                && accessKey(menu[j].text) == accessKey(def.text))
                failures.push_back(text + " shares its access key");
        }
    }
    return failures;
}

// 计算书 is there for the panel shown once it has calculated, and a failure after does not take
// the last good calculation away.
inline Failures sheetFollowsThePanel(WindowDriver &d)
{
    Failures failures;
    const auto expect = [&](bool enabled, const char *when) {
        if (sheetEnabled(d) != enabled)
            failures.push_back(std::string("计算书 is ") + (enabled ? "disabled " : "enabled ")
                               + when);
    };
    d.start();
    d.click(ctl::Optionw);
    d.type(ctl::Textqw, "300");
    d.type(ctl::Textvw, "2");
    expect(false, "before a calculation");
    d.click(ctl::Command2);
    expect(true, "after one");
    d.click(ctl::Options);
    expect(false, "on a panel that has not calculated");
    d.click(ctl::Optionw);
    expect(true, "back on the panel that has");
    d.type(ctl::Textvw, "x");
    d.click(ctl::Command2);
    expect(true, "after a failure");
    return failures;
}

// The sheet the window writes is tovrik-size's for the same inputs and choices, to the byte.
inline Failures sheetsAreTheSizers(WindowDriver &d)
{
    Failures failures;
    fixSheetDate();
    const std::string folder = freshFolder("sheets");
    struct Case
    {
        const char *name;
        int option, button;
        std::vector<std::pair<int, const char *>> fields;
        int choice; // a radio item chosen first, or 0
        const char *waterTemperature, *waterPressure;
        std::vector<const char *> args;
    };
    const Case cases[] = {
        {"water",
         ctl::Optionw,
         ctl::Command2,
         {{ctl::Textqw, "300"}, {ctl::Textvw, "2"}},
         menu::SeriesAsme40,
         "130",
         "0.6",
         {"water", "-Q", "300", "-v", "2", "-T", "130", "-P", "0.6", "--series=asme40",
          "--sheet=-"}},
        {"air",
         ctl::Optionca,
         ctl::Command1,
         {{ctl::Textqa, "600"}, {ctl::Textpa, "0.7"}, {ctl::Textta, "40"}, {ctl::Textva, "10"}},
         menu::Site,
         "",
         "",
         {"air", "-Q", "600", "-P", "0.7", "-T", "40", "-v", "10", "--series=cn",
          "--gas-service=site", "--sheet=-"}},
        {"steam",
         ctl::Options,
         ctl::Command3,
         {{ctl::Textqs, "5"}, {ctl::Textus, "0.2"}, {ctl::Textvs, "25"}},
         0,
         "",
         "",
         {"steam", "-Q", "5", "-u", "0.2", "-v", "25", "--series=cn", "--sheet=-"}},
    };
    for (const Case &c : cases) {
        d.start();
        if (c.choice) {
            d.chooseMenu(c.choice);
            if (!d.menu().at(rowOf(c.choice)).checked)
                failures.push_back(std::string(c.name) + ": the item chosen is not checked");
        }
        d.window().setWaterConditions(c.waterTemperature, c.waterPressure);
        d.click(c.option);
        for (const auto &[field, text] : c.fields)
            d.type(field, text);
        d.click(c.button);
        const std::string path = folder + c.name + ".html";
        if (!d.window().saveSheetTo(path))
            failures.push_back(std::string(c.name) + ": no sheet written");
        const std::string expected = sizer(folder, c.args);
        if (expected.size() < 1000 || readFile(path) != expected)
            failures.push_back(std::string(c.name) + ": the sheet is not the sizer's");
    }
    return failures;
}

// What the window says of a calculation, with the panel's line and the menu's choices, is what
// tovrik-size prints for the same inputs and options, line for line: a few dozen of them.
inline Failures detailsAreTheSizers(WindowDriver &d)
{
    Failures failures;
    const std::string folder = freshFolder("details");
    struct Panel
    {
        const char *medium;
        int option, button, result;
        std::vector<std::pair<int, const char *>> fields;
        std::vector<const char *> args;
    };
    const Panel panels[] = {
        {"air",
         ctl::Optionca,
         ctl::Command1,
         ctl::Textda,
         {{ctl::Textqa, "600"}, {ctl::Textpa, "0.7"}, {ctl::Textta, "40"}, {ctl::Textva, "10"}},
         {"-Q", "600", "-P", "0.7", "-T", "40", "-v", "10"}},
        {"air",
         ctl::Optionca,
         ctl::Command1,
         ctl::Textda,
         {{ctl::Textqa, "1200"}, {ctl::Textpa, "0.8"}, {ctl::Textta, "20"}, {ctl::Textva, "12"}},
         {"-Q", "1200", "-P", "0.8", "-T", "20", "-v", "12"}},
        {"steam",
         ctl::Options,
         ctl::Command3,
         ctl::Textds,
         {{ctl::Textqs, "10"}, {ctl::Textus, "0.3747"}, {ctl::Textvs, "30"}},
         {"-Q", "10", "-u", "0.3747", "-v", "30"}},
        {"steam",
         ctl::Options,
         ctl::Command3,
         ctl::Textds,
         {{ctl::Textqs, "2"}, {ctl::Textus, "0.2148"}, {ctl::Textvs, "25"}},
         {"-Q", "2", "-u", "0.2148", "-v", "25"}},
        {"water",
         ctl::Optionw,
         ctl::Command2,
         ctl::Textdw,
         {{ctl::Textqw, "100"}, {ctl::Textvw, "2"}},
         {"-Q", "100", "-v", "2"}},
        {"water",
         ctl::Optionw,
         ctl::Command2,
         ctl::Textdw,
         {{ctl::Textqw, "36"}, {ctl::Textvw, "1"}},
         {"-Q", "36", "-v", "1"}},
    };
    struct Line
    {
        LineChoice choice;
        std::vector<const char *> args;
    };
    const Line lines[] = {
        {{}, {}},
        {{.length = "300", .fittings = "10", .roughness = "steam-network"},
         {"--length=300", "--fittings=10", "--roughness=steam-network"}},
        {{.length = "150", .maxDrop = "30"}, {"--length=150", "--max-drop=30"}},
        {{.length = "500", .maxDrop = "5", .dropPer100m = true},
         {"--length=500", "--max-drop=5", "--max-drop-per=100m"}},
        {{.equivalentLength = "40", .elevation = "12", .flowBasis = FlowBasis::Normal},
         {"--equivalent-length=40"}},
    };
    struct Choice
    {
        int item;
        const char *arg;
    };
    const Choice choices[] = {{0, "--series=cn"},
                              {menu::SeriesAsme40, "--series=asme40"},
                              {menu::SeriesGb3091, "--series=gb3091"}};
    for (const Panel &panel : panels) {
        for (const Line &line : lines) {
            for (const Choice &choice : choices) {
                std::vector<const char *> args {panel.medium};
                args.insert(args.end(), panel.args.begin(), panel.args.end());
                args.insert(args.end(), line.args.begin(), line.args.end());
                // The line's rise is water's, its basis a gas's: each is given only there.
                if (!line.choice.elevation.empty() && std::string_view(panel.medium) == "water")
                    args.push_back("--elevation=12");
                if (line.choice.flowBasis == FlowBasis::Normal
                    && std::string_view(panel.medium) == "air")
                    args.push_back("--flow-basis=normal");
                args.push_back(choice.arg);
                d.start();
                d.chooseMenu(menu::Details);
                if (choice.item)
                    d.chooseMenu(choice.item);
                d.click(panel.option);
                d.window().setLine(line.choice);
                for (const auto &[field, text] : panel.fields)
                    d.type(field, text);
                d.click(panel.button);
                const std::string printed = sizer(folder, args);
                const std::string shown
                    = d.text(panel.result) + '\n' + d.toolTip(panel.result) + '\n';
                const DetailsWindow *details = d.window().details();
                if (printed.size() < 100 || shown != printed || !details
                    || details->Textd.text() != printed) {
                    std::string command;
                    for (const char *arg : args)
                        command += std::string(arg) + ' ';
                    failures.push_back("the window does not say what " + command
                                       + "prints: " + shown);
                }
            }
        }
    }
    return failures;
}

// 计算详情 beside the window: the shown panel's last calculation as tovrik-size says it, a
// failure's as it says that, following the panel, and kept current while it is closed.
inline Failures detailsWindow(WindowDriver &d)
{
    Failures failures;
    const std::string folder = freshFolder("details-window");
    d.start();
    d.chooseMenu(menu::Details);
    DetailsWindow *details = d.window().details();
    if (!details || !details->isShown())
        return {"计算详情 does not open"};
    const auto expect = [&](const std::string &text, const char *when) {
        if (const std::string shown = details->Textd.text(); shown != text)
            failures.push_back("计算详情 says \"" + shown + "\" " + when);
    };
    const std::string none = "本面板尚未计算。\n";
    expect(none, "before a calculation");
    d.click(ctl::Optionw);
    d.type(ctl::Textqw, "100");
    d.type(ctl::Textvw, "2");
    d.click(ctl::Command2);
    const std::string water = sizer(folder, {"water", "-Q", "100", "-v", "2"});
    expect(water, "after water's calculation");
    d.click(ctl::Options);
    expect(none, "on the steam panel, which has not calculated");
    d.click(ctl::Optionw);
    expect(water, "back on the water panel");
    d.type(ctl::Textvw, "0");
    d.click(ctl::Command2);
    sizer(folder, {"water", "-Q", "100", "-v", "0"});
    // The sizer names itself before its message; the window does not.
    const std::string said = readFile(folder + "sizer-errors");
    const std::string_view self = "tovrik-size：";
    expect(said.starts_with(self) ? said.substr(self.size()) : said, "after a failure");
    details->close();
    d.type(ctl::Textvw, "2.5");
    d.click(ctl::Command2);
    d.chooseMenu(menu::Details);
    if (!details->isShown())
        failures.push_back("计算详情 does not open again");
    expect(sizer(folder, {"water", "-Q", "100", "-v", "2.5"}), "after a calculation while closed");
    return failures;
}

// The ids of the menu's checked items, as the toolkit shows them.
inline std::vector<int> checkedItems(WindowDriver &d)
{
    std::vector<int> ids;
    const std::vector<scenarios::MenuItemSeen> seen = d.menu();
    const std::span<const MenuDef> menu = quendalMenu();
    for (std::size_t i = 0; i < seen.size() && i < menu.size(); ++i) {
        if (seen[i].checked)
            ids.push_back(menu[i].id);
    }
    return ids;
}

inline const std::vector<int> defaultItems
    = {menu::SeriesChinese, menu::Workshop, menu::GasAir, menu::RowsCited};

// The choices around the panels kept between runs, each panel's line its own, until
// 恢复默认设置 puts them back as at the first run.
inline Failures choicesKept(WindowDriver &d)
{
    Failures failures;
    d.start();
    const std::vector<int> chosen
        = {menu::SeriesGb3091, menu::Site, menu::GasNitrogen, menu::RowsSheet};
    for (const int item : chosen)
        d.chooseMenu(item);
    const LineChoice airLine {.length = "150", .flowBasis = FlowBasis::Mass};
    const LineChoice steamLine {.length = "300",
                                .fittings = "10",
                                .maxDrop = "5",
                                .roughness = "steam-network",
                                .dropPer100m = true};
    d.window().setLine(airLine);
    d.click(ctl::Options);
    d.window().setLine(steamLine);
    d.window().setWaterConditions("130", "0.6");
    const auto expect = [&](const std::vector<int> &items, const LineChoice &air,
                            const LineChoice &steam, const char *water, const char *when) {
        if (checkedItems(d) != items)
            failures.push_back(std::string("the menu's choices are not kept ") + when);
        const LineChoice lines[] = {air, steam, {}};
        for (std::size_t i = 0; i < std::size(lines); ++i) {
            d.click(panels[i].option);
            if (d.window().line() != lines[i])
                failures.push_back(std::string(mediumName(panels[i].medium))
                                   + "'s line is not kept " + when);
        }
        if (d.window().waterTemperature() != water)
            failures.push_back(std::string("the water's temperature is not kept ") + when);
    };
    d.start(false);
    expect(chosen, airLine, steamLine, "130", "after a restart");
    const std::vector<Box> boxes = d.recordBoxes([&] { d.chooseMenu(menu::Defaults); }, "是");
    if (boxes.size() != 1 || boxes[0].text.find("恢复默认设置") == std::string::npos)
        failures.push_back("恢复默认设置 does not ask first");
    expect(defaultItems, {}, {}, "", "by 恢复默认设置");
    d.start(false);
    expect(defaultItems, {}, {}, "", "after 恢复默认设置 and a restart");
    return failures;
}

// The title block entered once is on every sheet the window writes, as tovrik-size writes it
// from the same particulars; kept between runs and gone with 恢复默认设置. A PDF that cannot be
// printed is said in one box, the HTML kept beside where it was to go.
inline Failures sheetInfoKept(WindowDriver &d)
{
    Failures failures;
    fixSheetDate();
    const std::string folder = freshFolder("sheet-info");
    writeFile(folder + "info.txt",
              "工程名称 = 某厂 <一期>\ndesigner = 张三\ncheck-date = 2026-12-10\n");
    SheetInfo info;
    info[SheetField::Project] = "某厂 <一期>";
    info[SheetField::Designer] = "张三";
    info[SheetField::CheckDate] = "2026-12-10";
    d.start();
    d.window().setSheetInfo(info);
    d.start(false);
    if (d.window().sheetInfo().fields != info.fields)
        failures.push_back("the sheet's particulars are not kept after a restart");
    d.click(ctl::Optionw);
    d.type(ctl::Textqw, "300");
    d.type(ctl::Textvw, "2");
    d.click(ctl::Command2);
    const std::string html = folder + "sheet.html";
    d.window().saveSheetTo(html);
    const std::string infoOption = "--sheet-info=" + folder + "info.txt";
    const std::string expected = sizer(
        folder, {"water", "-Q", "300", "-v", "2", "--series=cn", infoOption.c_str(), "--sheet=-"});
    if (expected.find("某厂 &lt;一期&gt;") == std::string::npos || readFile(html) != expected)
        failures.push_back("the window's title block is not the sizer's");

    const std::string pdf = folder + "sheet.pdf";
    setVariable("TOVRIK_BROWSER", folder + "no-such-browser");
    std::filesystem::remove(pathOf(html));
    std::vector<Box> boxes = d.recordBoxes([&] { d.window().savePdfTo(pdf); }, "");
    setVariable("TOVRIK_BROWSER", "");
    if (boxes.size() != 1 || !boxes[0].text.starts_with("无法生成 PDF“" + pdf + "”："))
        failures.push_back("a PDF that could not be printed is not said in one box"
                           + (boxes.empty() ? std::string() : ": " + boxes[0].text));
    if (exists(pdf) || readFile(html) != expected)
        failures.push_back("a PDF not printed left a file, or not the sheet's HTML");

    boxes = d.recordBoxes([&] { d.chooseMenu(menu::Defaults); }, "是");
    if (boxes.size() != 1 || boxes[0].text.find("计算书信息") == std::string::npos
        || d.window().sheetInfo().fields != SheetInfo {}.fields)
        failures.push_back("恢复默认设置 does not clear the sheet's particulars");
    return failures;
}

// What was kept and cannot be read is said once, at the start, and its default taken; what
// can be read is kept.
inline Failures damagedChoices(WindowDriver &d)
{
    Failures failures;
    clearSettings();
    for (const auto &[key, value] : {std::pair {"series", "schedule-forty"},
                                     {"gas", "nitrogen"},
                                     {"water/temperature", "abc"},
                                     {"line/steam/length", "-5"},
                                     {"line/steam/fittings", "4"}})
        writeSetting(key, value);
    const std::vector<Box> boxes = d.recordBoxes([&] { d.start(false); }, "");
    if (boxes.size() != 1
        || boxes[0].text
            != "保存的设置中有无法读取的项，已改用默认值：管子系列、水温和压力、蒸汽的管线：管长。")
        failures.push_back("the damaged settings are not said once"
                           + (boxes.empty() ? std::string() : ": " + boxes[0].text));
    if (checkedItems(d)
        != std::vector<int> {menu::SeriesChinese, menu::Workshop, menu::GasNitrogen,
                             menu::RowsCited})
        failures.push_back("the settings that could be read are not kept");
    d.click(ctl::Options);
    if (d.window().line() != LineChoice {.fittings = "4"})
        failures.push_back("steam's line is not its fittings alone");
    if (!d.recordBoxes([&] { d.start(false); }, "").empty())
        failures.push_back("the damaged settings are said again at the next start");
    return failures;
}

// That the box at `at` says the words; if not, a failure saying what it said.
inline void expectSaid(Failures &failures, const std::vector<Box> &boxes, std::size_t at,
                       const std::string &words)
{
    if (boxes.size() <= at || boxes[at].text.find(words) == std::string::npos)
        failures.push_back("no box said \"" + words + "\""
                           + (boxes.size() > at ? ", but \"" + boxes[at].text + "\"" : ""));
}

// A GBK list with a row that fails: every row sized as the batch sizes it, the box saying how
// it went; asked before anything is replaced; a failed write leaving nothing behind.
inline Failures lineList(WindowDriver &d)
{
    Failures failures;
    fixSheetDate();
    const std::string folder = freshFolder("list");
    const std::string list = folder + "管线表.csv";
    const std::string result = folder + "管线表-结果.csv";
    const std::string sheet = folder + "管线表-计算书.html";
    // 位号,medium,… in GBK, as Excel saves it; L-3's flow is not a number.
    writeFile(list,
              "\xCE\xBB\xBA\xC5,medium,Q,P,T,u,v\r\n"
              "L-1,\xCB\xAE,300,,,,2\r\n"
              "L-2,\xD5\xF4\xC6\xFB,5,,,0.2,25\r\n"
              "L-3,\xCB\xAE,abc,,,,2\r\n"
              "L-4,\xD1\xB9\xCB\xF5\xBF\xD5\xC6\xF8,600,0.7,40,,10\r\n");
    const std::string expected = sizer(
        folder, {"batch", "--bom", "--encoding=gbk", "--absolute", "--series=cn", list.c_str()});
    const std::string gauge = sizer(
        folder, {"batch", "--bom", "--encoding=gbk", "--gauge", "--series=cn", list.c_str()});
    const auto said = [&](const std::vector<Box> &boxes, std::size_t at, const std::string &words) {
        expectSaid(failures, boxes, at, words);
    };

    d.start();
    // The list has pressures: asked whether they are gauge, 否 is absolute.
    std::vector<Box> boxes = d.recordBoxes([&] { d.window().sizeLineListFrom(list); }, "否");
    said(boxes, 0, "“管线表.csv”中有压力（P 或 p 列）。这些压力是表压吗？");
    // 否 to the detail pages too: only the line that failed has one.
    said(boxes, 1, "计算书中要为每条管线附一页明细吗？");
    said(boxes, 2, "已计算 4 条管线，其中 1 条未能计算（第 4 行，原因见结果的 error 列）。");
    said(boxes, 2, result);
    if (expected.size() < 200 || readFile(result) != expected)
        failures.push_back("the result is not the sizer's");
    const std::string html = readFile(sheet);
    if (!html.starts_with("<!DOCTYPE html>") || html.find("L-4") == std::string::npos)
        failures.push_back("no sheet of the list");
    if (html.find("<h2>3. L-3</h2>") == std::string::npos
        || html.find("<h2>1. L-1</h2>") != std::string::npos)
        failures.push_back("the detail pages are not those of the lines that failed");

    writeFile(result, "kept");
    boxes = d.recordBoxes([&] { d.window().sizeLineListFrom(list); }, "否");
    said(boxes, 0, "“管线表-结果.csv”和“管线表-计算书.html”已经存在，要替换吗？");
    if (boxes.size() != 1 || readFile(result) != "kept")
        failures.push_back("a result was replaced though the user said no");
    // 是 to both: replaced, and sized as gauge pressures.
    boxes = d.recordBoxes([&] { d.window().sizeLineListFrom(list); }, "是");
    said(boxes, 3, "已计算 4 条管线");
    if (gauge == expected || readFile(result) != gauge)
        failures.push_back("the result was not replaced, as gauge, when the user said yes");

    // A folder where the sheet would go: nothing written, the result as it was.
    std::filesystem::remove(pathOf(sheet));
    std::filesystem::create_directory(pathOf(sheet));
    writeFile(result, "kept");
    boxes = d.recordBoxes([&] { d.window().sizeLineListFrom(list); }, "是");
    said(boxes, boxes.size() - 1, "无法写出“" + sheet + "”");
    said(boxes, boxes.size() - 1, "原有的文件没有改动");
    if (readFile(result) != "kept")
        failures.push_back("the result was replaced though the sheet could not be written");
    for (const auto &entry : std::filesystem::directory_iterator(pathOf(folder))) {
        if (entry.path().extension() == ".part")
            failures.push_back("a half-written file was left behind");
    }
    if (!std::filesystem::is_directory(pathOf(sheet)))
        failures.push_back("what was in the sheet's place is gone");
    return failures;
}

// A list from a Chinese Excel: GBK, Chinese headers with units in brackets, and its empty and
// totals rows, which are copied and not counted; sized as the sizer sizes it, answered in
// Chinese columns.
inline Failures chineseLineList(WindowDriver &d)
{
    Failures failures;
    fixSheetDate();
    const std::string folder = freshFolder("chinese-list");
    const std::string list = folder + "管线表.csv";
    // 管线号,介质,流量,压力(MPa),温度（°C）,比容,流速(m/s), three lines, 合计 and an empty row.
    writeFile(list,
              "\xB9\xDC\xCF\xDF\xBA\xC5,\xBD\xE9\xD6\xCA,\xC1\xF7\xC1\xBF,\xD1\xB9\xC1\xA6(MPa),"
              "\xCE\xC2\xB6\xC8\xA3\xA8\xA1\xE3"
              "C\xA3\xA9,\xB1\xC8\xC8\xDD,\xC1\xF7\xCB\xD9(m/s)\r\n"
              "W-1,\xCB\xAE,300,,,,2\r\n"
              "S-1,\xD5\xF4\xC6\xFB,5,,,0.2,25\r\n"
              "A-1,\xD1\xB9\xCB\xF5\xBF\xD5\xC6\xF8,600,0.7,40,,10\r\n"
              "\xBA\xCF\xBC\xC6,,905,,,,\r\n"
              ",,,,,,\r\n");
    const std::string expected = sizer(
        folder, {"batch", "--bom", "--encoding=gbk", "--absolute", "--series=cn", list.c_str()});
    d.start();
    const std::vector<Box> boxes = d.recordBoxes([&] { d.window().sizeLineListFrom(list); }, "否");
    expectSaid(failures, boxes, 2, "已计算 3 条管线。");
    expectSaid(failures, boxes, 2, "跳过 2 行空行或合计行");
    const std::string result = readFile(folder + "管线表-结果.csv");
    if (expected.find("规格") == std::string::npos || result != expected)
        failures.push_back("the Chinese list is not sized as the sizer sizes it");
    return failures;
}

// The list's two files: never over the list itself, nothing written when either cannot be,
// both whole or neither, and names as long as a folder takes.
inline Failures lineListFiles(WindowDriver &d)
{
    namespace fs = std::filesystem;
    Failures failures;
    fixSheetDate();
    const std::string folder = freshFolder("list-files");
    const std::string list = folder + "管线表.csv";
    const LineListFiles files = lineListFilesFor(list);
    const std::string rows = "medium,Q,v\r\nwater,300,2\r\n";
    writeFile(list, rows);
    const auto size = [&](const std::string &path) {
        return d.recordBoxes([&] { d.window().sizeLineListFrom(path); }, "是");
    };
    const auto nothingHalfWritten = [&] {
        for (const auto &entry : fs::directory_iterator(pathOf(folder))) {
            if (entry.path().extension() == ".part")
                failures.push_back("a half-written file was left behind");
        }
    };
    d.start();

    // The result is the list by a hard link: refused before the question.
    fs::create_hard_link(pathOf(list), pathOf(files.result));
    std::vector<Box> boxes = size(list);
    expectSaid(failures, boxes, 0, "结果“" + files.result + "”和管线表“" + list + "”是同一个文件");
    if (boxes.size() != 1 || readFile(list) != rows)
        failures.push_back("the list was written over");
    fs::remove(pathOf(files.result));

    // A read-only result is refused as an editor refuses it, root or not.
    writeFile(files.result, "kept");
    fs::permissions(pathOf(files.result), fs::perms::owner_read | fs::perms::group_read);
    boxes = size(list);
    expectSaid(failures, boxes, 2,
               "无法写出“" + files.result + "”：文件是只读的。原有的文件没有改动。");
    if (readFile(files.result) != "kept" || exists(files.sheet))
        failures.push_back("a read-only result was written over, or the sheet written alone");
    fs::permissions(pathOf(files.result), fs::perms::owner_all);

    // The sheet's place taken once the list is read: the result is given back what it held.
    const LineListRun run = sizeLineListFile(list, files, {}, [&](int percent) {
        if (percent == 100)
            fs::create_directory(pathOf(files.sheet));
        return true;
    });
    if (!run.error.starts_with("无法写出“" + files.sheet + "”：")
        || !run.error.ends_with("原有的文件没有改动。"))
        failures.push_back("a sheet that could not take its place said \"" + run.error + "\"");
    if (readFile(files.result) != "kept")
        failures.push_back("the result stayed replaced though the sheet could not be written");
    nothingHalfWritten();
    fs::remove(pathOf(files.sheet));

    // Stopped by the user part way: neither file is written, nothing is left half-written.
    std::string many = "medium,Q,v\r\n";
    for (int i = 0; i < 30000; ++i) // results of a few MB: the list is asked to go on
        many += "water,300,2\r\n";
    writeFile(list, many);
    fs::remove(pathOf(files.result));
    int asked = 0;
    const LineListRun stopped = sizeLineListFile(list, files, {}, [&](int) { return ++asked < 1; });
    if (stopped.summary.outcome != LineListSummary::Outcome::Cancelled || asked != 1
        || exists(files.result) || exists(files.sheet))
        failures.push_back("a list stopped part way wrote a file, or did not stop ("
                           + std::to_string(asked) + " asked)");
    nothingHalfWritten();
    writeFile(list, rows);

    // A list whose sheet's name has the 255 bytes a folder's entry may have.
    const std::string stem(240, 'x');
    writeFile(folder + stem + ".csv", rows);
    boxes = size(folder + stem + ".csv");
    expectSaid(failures, boxes, 1, "已计算 1 条管线。");
    if (!readFile(folder + stem + "-计算书.html").starts_with("<!DOCTYPE html>"))
        failures.push_back("no sheet with the longest name");
    nothingHalfWritten();
    return failures;
}

inline Failures about(WindowDriver &d)
{
    Failures failures;
    d.start();
    const std::vector<Box> boxes = d.recordBoxes([&] { d.chooseMenu(menu::About); }, "");
    for (const char *words : {"Tovrik 版本 1.00", "IAPWS-IF97", "ASME B36.10M", "MIT 许可证"}) {
        if (boxes.size() != 1 || boxes[0].text.find(words) == std::string::npos)
            failures.push_back(std::string("the about box does not say ") + words);
    }
    return failures;
}

inline const Check checks[] = {
    {"menu as defined", menuAsDefined},
    {"sheet follows the panel", sheetFollowsThePanel},
    {"sheets are the sizer's", sheetsAreTheSizers},
    {"details are the sizer's", detailsAreTheSizers},
    {"details window", detailsWindow},
    {"choices kept", choicesKept},
    {"sheet info kept", sheetInfoKept},
    {"damaged choices", damagedChoices},
    {"line list", lineList},
    {"line list files", lineListFiles},
    {"Chinese line list", chineseLineList},
    {"about", about},
};

} // namespace menus
