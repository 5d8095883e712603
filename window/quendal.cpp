#include "window/quendal.h"

#include "base/browser.h"

#include "base/conversion.h"
#include "base/files.h"
#include "core/listfile.h"
#include "core/version.h"
#include "core/words.h"
#include "forms/definition.h"
#include "forms/msgbox.h"
#include "forms/settings.h"
#include "window/definition.h"
#include "window/details.h"
#include "window/line.h"
#include "window/sheetinfo.h"
#include "window/steam.h"
#include "window/water.h"

#include <tuple>

namespace tovrik {

namespace {

// A radio item of the 选项 menu and what it chooses.
template<typename Value>
struct MenuChoice
{
    int id;
    Value value;
};

// Engineers in China order pipe by the metric series (Φ159×4.5), which the window offers first.
constexpr MenuChoice<PipeSeries> seriesItems[] = {
    {menu::SeriesChinese, PipeSeries::Chinese}, {menu::SeriesAsme40, PipeSeries::Asme40},
    {menu::SeriesAsme80, PipeSeries::Asme80},   {menu::SeriesAsme10S, PipeSeries::Asme10S},
    {menu::SeriesAsme40S, PipeSeries::Asme40S}, {menu::SeriesGb3091, PipeSeries::Gb3091},
};

constexpr MenuChoice<VelocityRows> rowsItems[] = {
    {menu::RowsCited, VelocityRows::Cited},
    {menu::RowsSheet, VelocityRows::Sheet},
};

constexpr MenuChoice<GasService> serviceItems[] = {
    {menu::Workshop, GasService::Workshop},
    {menu::Site, GasService::Site},
    {menu::NaturalGas, GasService::NaturalGas},
};

constexpr MenuChoice<Gas> gasItems[] = {
    {menu::GasAir, Gas::Air},
    {menu::GasNaturalGas, Gas::NaturalGas},
    {menu::GasNitrogen, Gas::Nitrogen},
    {menu::GasOxygen, Gas::Oxygen},
    {menu::GasCarbonDioxide, Gas::CarbonDioxide},
    {menu::GasHydrogen, Gas::Hydrogen},
    {menu::GasArgon, Gas::Argon},
};

// A family of radio items of 选项, kept between runs under its input's option name with the
// chosen value as the command line writes it ("series=cn"), named to the user by its column.
template<typename Value, std::size_t count>
struct Family
{
    Input input;
    const MenuChoice<Value> (&items)[count];
    std::string_view (*name)(Value);
};
template<typename Value, std::size_t count>
Family(Input, const MenuChoice<Value> (&)[count], std::string_view (*)(Value))
    -> Family<Value, count>;

std::string_view gasName(Gas gas)
{
    return gasDef(gas).name;
}

const auto families = std::tuple {Family {Input::Series, seriesItems, seriesName},
                                  Family {Input::Service, serviceItems, gasServiceName},
                                  Family {Input::Gas, gasItems, gasName},
                                  Family {Input::VelocityRows, rowsItems, velocityRowsName}};

template<typename Each>
void forEachFamily(Each &&each)
{
    std::apply([&](const auto &...family) { (each(family), ...); }, families);
}

constexpr const char *waterTemperatureKey = "water/temperature";
constexpr const char *waterPressureKey = "water/pressure";

// What the details window says before the shown panel has calculated.
constexpr std::string_view noDetails = "本面板尚未计算。\n";

constexpr const char *guideName = "使用说明.html";

constexpr const char *aboutText
    = "Tovrik 版本 @VERSION@\n"
      "由设计流量和流速计算管道内径，并给出可选的管子、实际流速和压降。\n"
      "\n"
      "水和水蒸气的性质：IAPWS-IF97（IAPWS R7-97(2012)）；\n"
      "水和水蒸气的粘度：IAPWS 2008（IAPWS R12-08）；\n"
      "气体：Peng–Robinson 方程（1976）的实际气体密度，粘度按 Sutherland 公式（F. M. White, "
      "Viscous Fluid Flow, 第 3 版, 2006；甲烷按 CRC Handbook 第 97 版）；\n"
      "摩擦系数：Colebrook-White，层流 64/Re；压降：Darcy-Weisbach，压降超过进口压力一成的气体\n"
      "和蒸汽按等温可压缩流动。\n"
      "管子表：ASME B36.10M-2004 Sch40、Sch80，ASME B36.19M-2004 Sch10S、Sch40S，\n"
      "国内公制系列（HG/T 20553-2011 Ⅰb 系列的外径），GB/T 3091-2008。\n"
      "常用流速：窗口左侧参考表；蒸汽按所引的饱和、过热蒸汽推荐流速表（选项中可改）。\n"
      "\n"
      "MIT 许可证。Copyright (c) 2026 The Tovrik developers.";

std::string replaced(std::string text, std::string_view mark, std::string_view by)
{
    if (const std::size_t at = text.find(mark); at != std::string::npos)
        text.replace(at, mark.size(), by);
    return text;
}

// What the checked one of a family of radio items chooses; the first, if none is.
template<typename Value, std::size_t count>
Value chosen(const Form &form, const MenuChoice<Value> (&items)[count])
{
    for (const MenuChoice<Value> &item : items) {
        if (form.menuChecked(item.id))
            return item.value;
    }
    return items[0].value;
}

} // namespace

Quendal::Quendal()
    : Form(quendalForm())
    , Image1(*this, ctl::Image1)
    , Optionca(*this, ctl::Optionca)
    , Options(*this, ctl::Options)
    , Optionw(*this, ctl::Optionw)
    , Frameca(*this, ctl::Frameca)
    , Frames(*this, ctl::Frames)
    , Framew(*this, ctl::Framew)
    , Textqa(*this, ctl::Textqa)
    , Textpa(*this, ctl::Textpa)
    , Textta(*this, ctl::Textta)
    , Textva(*this, ctl::Textva)
    , Command1(*this, ctl::Command1)
    , Textda(*this, ctl::Textda)
    , Image2(*this, ctl::Image2)
    , Image3(*this, ctl::Image3)
    , Textqs(*this, ctl::Textqs)
    , Textus(*this, ctl::Textus)
    , Textvs(*this, ctl::Textvs)
    , Command3(*this, ctl::Command3)
    , Textds(*this, ctl::Textds)
    , Image8(*this, ctl::Image8)
    , Image6(*this, ctl::Image6)
    , Textqw(*this, ctl::Textqw)
    , Textvw(*this, ctl::Textvw)
    , Command2(*this, ctl::Command2)
    , Textdw(*this, ctl::Textdw)
    , Image7(*this, ctl::Image7)
    , Image5(*this, ctl::Image5)
{
    for (const PanelDef &panel : panels) {
        OptionButton(*this, panel.option).onClick([this, &panel] { showPanel(panel); });
        CommandButton(*this, panel.button).onClick([this, &panel] { calculate(panel); });
        Image(*this, panel.terms).onClick([this, &panel] {
            swapNotice(panel.terms, panel.contact);
        });
        Image(*this, panel.contact).onClick([this, &panel] {
            swapNotice(panel.contact, panel.terms);
        });
    }
    // The radio items need no handler: the engine checks the one chosen, and the next
    // calculation reads them.
    static const std::pair<int, void (Quendal::*)()> commands[] = {
        {menu::Sheet, &Quendal::saveSheet},
        {menu::Pdf, &Quendal::savePdf},
        {menu::SheetInfo, &Quendal::chooseSheetInfo},
        {menu::LineList, &Quendal::openLineList},
        {menu::Exit, &Form::close},
        {menu::Line, &Quendal::chooseLine},
        {menu::Water, &Quendal::chooseWaterConditions},
        {menu::SteamVolume, &Quendal::chooseSteamVolume},
        {menu::Details, &Quendal::showDetails},
        {menu::Defaults, &Quendal::restoreDefaults},
        {menu::Guide, &Quendal::showGuide},
        {menu::About, &Quendal::showAbout},
    };
    for (const auto &entry : commands)
        onMenu(entry.first, [this, command = entry.second] { (this->*command)(); });
    // The engine checks the radio item chosen; what it chooses is kept for the next run.
    forEachFamily([this](const auto &family) {
        for (const auto &item : family.items) {
            onMenu(item.id, [this, &family] {
                keep(writeSetting(inputDef(family.input).longOption,
                                  family.name(chosen(*this, family.items))));
            });
        }
    });
}

Quendal::~Quendal() = default;

void Quendal::Form_Load()
{
    Optionca.setValue(true);
    Options.setValue(false);
    Optionw.setValue(false);
    Frameca.setVisible(true);
    Frames.setVisible(false);
    Framew.setVisible(false);
    // The formula takes an absolute pressure: said where it is typed.
    Textpa.setToolTip("绝对压力，MPa：表压请加 0.101325 MPa。");
    restoreChoices();
    updateSheetItem();
}

// The panels start as defined; the choices around them as the user left them. Something kept
// that cannot be read is said once and replaced by its default, so the next start is clean.
void Quendal::restoreChoices()
{
    std::vector<std::string> damaged;
    forEachFamily([&](const auto &family) {
        const InputDef &input = inputDef(family.input);
        const Setting kept = readSetting(input.longOption);
        auto value = family.items[0].value;
        if (kept.state != Setting::Absent) {
            const auto *item = std::find_if(
                std::begin(family.items), std::end(family.items),
                [&](const auto &choice) { return family.name(choice.value) == kept.value; });
            if (kept.state == Setting::Present && item != std::end(family.items))
                value = item->value;
            else
                damaged.push_back(input.chineseColumn);
        }
        for (const auto &item : family.items)
            setMenuChecked(item.id, item.value == value);
    });
    const Setting temperature = readSetting(waterTemperatureKey);
    const Setting pressure = readSetting(waterPressureKey);
    Operand at = Operand::None;
    if (temperature.state == Setting::Damaged || pressure.state == Setting::Damaged
        || !checkWaterConditions(temperature.value, pressure.value, localeDecimalSeparator(), at)
                .empty())
        damaged.push_back("水温和压力");
    else {
        m_waterTemperature = temperature.value;
        m_waterPressure = pressure.value;
    }
    for (std::size_t i = 0; i < std::size(panels); ++i)
        m_lines[i] = keptLine(panels[i].medium, damaged);
    m_sheetInfo = keptSheetInfo(damaged);
    if (damaged.empty())
        return;
    std::string text = "保存的设置中有无法读取的项，已改用默认值：";
    for (std::size_t i = 0; i < damaged.size(); ++i)
        text += (i ? "、" : "") + damaged[i];
    rtcMsgBox(*this, text + "。");
    keepChoices();
}

void Quendal::keepChoices()
{
    bool kept = true;
    forEachFamily([&](const auto &family) {
        kept &= writeSetting(inputDef(family.input).longOption,
                             family.name(chosen(*this, family.items)));
    });
    kept &= writeSetting(waterTemperatureKey, m_waterTemperature);
    kept &= writeSetting(waterPressureKey, m_waterPressure);
    for (std::size_t i = 0; i < std::size(panels); ++i)
        kept &= keepLine(panels[i].medium, m_lines[i]);
    kept &= keepSheetInfo(m_sheetInfo);
    keep(kept);
}

// Settings that cannot be written cost the user nothing now, but are said once, not at each
// choice.
void Quendal::keep(bool kept)
{
    if (!kept && !m_keepFailed) {
        m_keepFailed = true;
        rtcMsgBox(*this, "无法保存设置，下次启动时将不会记得这些选择。");
    }
}

void Quendal::restoreDefaults()
{
    if (!ask("要恢复默认设置吗？管子系列、用途、气体、常用流速表、水温和压力、各面板的管线和计算书"
             "信息都将恢复为初次启动时的样子。"))
        return;
    forEachFamily([this](const auto &family) {
        for (const auto &item : family.items)
            setMenuChecked(item.id, &item == &family.items[0]);
    });
    m_waterTemperature.clear();
    m_waterPressure.clear();
    m_lines = {};
    m_sheetInfo = {};
    if (!clearSettings())
        rtcMsgBox(*this, "无法清除保存的设置，下次启动时可能仍按原来的设置。");
}

void Quendal::showPanel(const PanelDef &chosen)
{
    for (const PanelDef &panel : panels)
        Frame(*this, panel.frame).setVisible(&panel == &chosen);
    updateSheetItem();
    updateDetails();
}

void Quendal::showDetails()
{
    if (!m_details) {
        m_details = std::make_unique<DetailsWindow>(*this);
        m_details->load();
    }
    updateDetails();
    m_details->show();
}

// Kept current while hidden too: Windows hides an owned window while its owner is minimised.
void Quendal::updateDetails()
{
    if (m_details) {
        const std::string &text = m_detailsText[shownPanel()];
        m_details->Textd.setText(text.empty() ? noDetails : std::string_view(text));
    }
}

std::size_t Quendal::shownPanel() const
{
    for (std::size_t i = 0; i < std::size(panels); ++i) {
        if (Frame(const_cast<Quendal &>(*this), panels[i].frame).visible())
            return i;
    }
    return 0;
}

void Quendal::updateSheetItem()
{
    const bool sized = m_lastSized[shownPanel()].has_value();
    setMenuEnabled(menu::Sheet, sized);
    setMenuEnabled(menu::Pdf, sized);
    setMenuEnabled(menu::SteamVolume, panels[shownPanel()].medium == Medium::Steam);
}

AdviceOptions Quendal::adviceOptions() const
{
    AdviceOptions options;
    options.series = chosen(*this, seriesItems);
    options.service = chosen(*this, serviceItems);
    // 空气, the first, is the panel's own gas: a natural-gas line of it is of natural gas.
    if (const Gas gas = chosen(*this, gasItems); gas != Gas::Air)
        options.gas = gas;
    options.rows = chosen(*this, rowsItems);
    return options;
}

void Quendal::swapNotice(int clicked, int partner)
{
    Image(*this, clicked).setVisible(false);
    Image(*this, partner).setVisible(true);
}

// Command1_Click, Command3_Click and Command2_Click: the panel's prompts, each shown when its field
// is empty, then its fields read in the panel's order into one request. A failed calculation must
// not cost the user anything typed: no result is written, nothing is cleared, and the field at
// fault is selected so it can be retyped at once.
void Quendal::calculate(const PanelDef &panel)
{
    // Every check runs, in its order, so an empty form shows each message in turn.
    bool prompted = false;
    for (const PanelPrompt &prompt : panel.prompts) {
        if (vbaStrCmp("", TextBox(*this, prompt.field).text()) == 0) {
            rtcMsgBox(*this, prompt.prompt);
            prompted = true;
        }
    }
    if (prompted)
        return;

    KeptInputs inputs;
    inputs.medium = panel.medium;
    for (const PanelField &field : panel.fields)
        inputs[field.input] = TextBox(*this, field.field).text();
    // The water's state serves the aids alone; the formula takes flow and velocity only.
    if (panel.medium == Medium::Water) {
        if (!m_waterTemperature.empty())
            inputs[Input::Temperature] = m_waterTemperature;
        if (!m_waterPressure.empty())
            inputs[Input::Pressure] = m_waterPressure;
    }
    applyLine(m_lines[shownPanel()], panel.medium, inputs);
    inputs.advice = adviceOptions();
    inputs.decimalSeparator = localeDecimalSeparator();
    SizingReport report = sizePipe(SizingRequest(inputs));
    const TextBox result(*this, panel.result);
    m_detailsText[shownPanel()] = detailsText(report);
    updateDetails();
    if (!report.ok) {
        reportFailure(result, fieldFor(panel, report.errorInput), report.error);
        return;
    }
    result.setText(report.text);
    // The pipe to choose goes beside the result, not into it: the result text stays as it is.
    result.setToolTip(reportText(report));
    m_lastSized[shownPanel()] = SheetLine {{}, std::move(inputs), true, std::move(report)};
    updateSheetItem();
}

// The field of the input at fault, or the panel's flow where no field of its is.
TextBox Quendal::fieldFor(const PanelDef &panel, Operand operand)
{
    for (const PanelField &field : panel.fields) {
        if (inputDef(field.input).operand == operand)
            return TextBox(*this, field.field);
    }
    for (const PanelField &field : panel.fields) {
        if (field.input == Input::Flow)
            return TextBox(*this, field.field);
    }
    return TextBox(*this, panel.fields.front().field);
}

void Quendal::saveSheet()
{
    saveSheetAs({"保存计算书", "网页", "*.html", ".html", "计算书", "用浏览器打开它",
                 &Quendal::saveSheetTo});
}

void Quendal::savePdf()
{
    saveSheetAs({"另存为 PDF", "PDF", "*.pdf", ".pdf", "PDF", "打开它", &Quendal::savePdfTo});
}

// The file asked for, the sheet saved to it, then shown as the system shows such a file.
void Quendal::saveSheetAs(const SheetSaving &how)
{
    const std::optional<SheetLine> &line = m_lastSized[shownPanel()];
    if (!line)
        return;
    FileChoice choice;
    choice.save = true;
    choice.title = how.title;
    choice.folder = m_lastFolder;
    const std::string name = sheetFileName(line->inputs.medium, sheetDate());
    choice.name = name.substr(0, name.size() - std::string_view(".html").size()) + how.extension;
    choice.filterName = how.filterName;
    choice.pattern = how.pattern;
    const std::optional<std::string> path = chooseFile(choice);
    if (!path)
        return;
    m_lastFolder = path->substr(0, path->size() - fileNameOf(*path).size());
    if ((this->*how.save)(*path) && !openExternally(*path))
        rtcMsgBox(*this,
                  std::string(how.what) + "已保存到“" + *path + "”，但无法" + how.opening + "。");
}

bool Quendal::saveSheetTo(const std::string &path)
{
    const std::optional<SheetLine> &line = m_lastSized[shownPanel()];
    if (!line)
        return false;
    SheetInfo info = m_sheetInfo;
    info.date = sheetDate();
    AtomicFile file(path);
    if (!file.write(calculationSheet(*line, info)) || !file.commit()) {
        rtcMsgBox(*this, "无法写出计算书“" + path + "”：" + file.failure() + "。");
        return false;
    }
    return true;
}

bool Quendal::savePdfTo(const std::string &path)
{
    const std::string html = htmlBesidePdf(path);
    if (!saveSheetTo(html))
        return false;
    const PrintOutcome outcome = printToPdf(html, path);
    if (!outcome) {
        rtcMsgBox(*this, printFaultText(outcome, html, path));
        return false;
    }
    return true;
}

void Quendal::chooseSheetInfo()
{
    SheetInfoDialog dialog(*this, m_sheetInfo);
    dialog.load();
    dialog.showModal();
    if (dialog.accepted())
        setSheetInfo(dialog.info());
}

void Quendal::setSheetInfo(SheetInfo info)
{
    m_sheetInfo = std::move(info);
    keep(keepSheetInfo(m_sheetInfo));
}

void Quendal::openLineList()
{
    FileChoice choice;
    choice.title = "计算管线表";
    choice.folder = m_lastFolder;
    choice.filterName = "管线表";
    choice.pattern = "*.csv";
    if (const std::optional<std::string> path = chooseFile(choice)) {
        m_lastFolder = path->substr(0, path->size() - fileNameOf(*path).size());
        sizeLineListFrom(*path);
    }
}

void Quendal::sizeLineListFrom(const std::string &path)
{
    const LineListFiles files = lineListFilesFor(path);
    // Refused before the question: no answer could make writing over the list right.
    if (const std::string refusal = refusalToOverwriteList(path, identityOf(path), files);
        !refusal.empty()) {
        rtcMsgBox(*this, refusal);
        return;
    }
    std::string existing;
    for (const std::string *file : {&files.result, &files.sheet}) {
        if (exists(*file))
            existing += (existing.empty() ? "“" : "”和“") + std::string(fileNameOf(*file));
    }
    if (!existing.empty() && !ask(existing + "”已经存在，要替换吗？"))
        return;

    // A list's pressures may be gauge or absolute, and nothing in it says which: the user is
    // asked, as the command line asks for --gauge or --absolute. Its choices are the menu's.
    SizingRequest defaults;
    defaults.advice = adviceOptions();
    defaults.pressureKind = PressureKind::Absolute;
    if (listGivesPressures(path)
        && ask("“" + std::string(fileNameOf(path))
               + "”中有压力（P 或 p 列）。这些压力是表压吗？\n是：表压（计算时加 0.101325 "
                 "MPa）；否：绝对压力。"))
        defaults.pressureKind = PressureKind::Gauge;
    const SheetDetail detail
        = ask("计算书中要为每条管线附一页明细吗？\n是：每条都附；否：只附有校核未满足或未能计算的"
              "管线。")
        ? SheetDetail::All
        : SheetDetail::Failed;
    const LineListRun run = sizeLineListFile(
        path, files, defaults,
        [this](int percent) { return progress("正在计算管线表……", percent); }, m_sheetInfo, detail);
    progress({}, -1);
    // Closed while the list ran: the job stopped, and there is no one left to tell.
    if (!isShown())
        return;
    if (run.summary.outcome == LineListSummary::Outcome::Cancelled) {
        rtcMsgBox(*this, "已取消计算管线表，原有的文件没有改动。");
        return;
    }

    const LineListSummary &summary = run.summary;
    if (!run.ran) {
        rtcMsgBox(*this, run.error);
        return;
    }
    std::string text;
    if (summary.outcome == LineListSummary::Outcome::NotAList) {
        text = "“" + std::string(fileNameOf(path)) + "”不能作为管线表计算。";
    } else {
        text = "已计算 " + std::to_string(summary.rows) + " 条管线";
        if (summary.failed > 0) {
            text += "，其中 " + std::to_string(summary.failed) + " 条未能计算（第 ";
            for (std::size_t i = 0; i < summary.failedLines.size() && i < 5; ++i)
                text += (i ? "、" : "") + std::to_string(summary.failedLines[i]);
            text += summary.failed > 5 ? " 行等，原因见结果的 error 列）"
                                       : " 行，原因见结果的 error 列）";
        }
        text += "。";
    }
    for (const std::string &message : summary.messages)
        text += "\n" + message;
    if (!run.error.empty())
        text += "\n" + run.error;
    else if (summary.outcome != LineListSummary::Outcome::NotAList)
        text += "\n\n结果：" + files.result + "\n计算书：" + files.sheet;
    rtcMsgBox(*this, text);
}

void Quendal::chooseLine()
{
    const PanelDef &panel = panels[shownPanel()];
    LineDialog dialog(*this, panel.medium, m_lines[shownPanel()]);
    dialog.load();
    dialog.showModal();
    if (dialog.accepted())
        setLine(dialog.line());
}

void Quendal::chooseSteamVolume()
{
    SteamVolumeDialog dialog(*this);
    dialog.load();
    dialog.showModal();
    if (dialog.accepted())
        Textus.setText(dialog.volume());
}

void Quendal::chooseWaterConditions()
{
    WaterDialog dialog(*this, m_waterTemperature, m_waterPressure);
    dialog.load();
    dialog.showModal();
    if (dialog.accepted())
        setWaterConditions(dialog.Texttw.text(), dialog.Textpw.text());
}

void Quendal::setWaterConditions(std::string temperature, std::string pressure)
{
    m_waterTemperature = std::move(temperature);
    m_waterPressure = std::move(pressure);
    // Both written, whether or not the first could be.
    const bool temperatureKept = writeSetting(waterTemperatureKey, m_waterTemperature);
    const bool pressureKept = writeSetting(waterPressureKey, m_waterPressure);
    keep(temperatureKept && pressureKept);
}

void Quendal::setLine(LineChoice line)
{
    m_lines[shownPanel()] = std::move(line);
    keep(keepLine(panels[shownPanel()].medium, m_lines[shownPanel()]));
}

void Quendal::showGuide()
{
    // Beside the program on Windows and in the build; in the documentation folder once installed
    // on Linux.
    const std::string folder = programDirectory();
    for (const std::string &path :
         {folder + guideName, folder + "../share/doc/tovrik/" + guideName}) {
        if (exists(path)) {
            if (!openExternally(path))
                rtcMsgBox(*this, "无法用浏览器打开使用说明“" + path + "”。");
            return;
        }
    }
    rtcMsgBox(*this, std::string("找不到使用说明（") + guideName + "），请重新安装 Tovrik。");
}

void Quendal::showAbout()
{
    rtcMsgBox(*this, replaced(aboutText, "@VERSION@", version));
}

std::unique_ptr<Form> createQuendal()
{
    return std::make_unique<Quendal>();
}

} // namespace tovrik
