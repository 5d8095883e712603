#pragma once

#include "core/pipeline.h"
#include "core/sheet.h"
#include "forms/form.h"
#include "window/definition.h"
#include "window/line.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace tovrik {

class DetailsWindow;

// The calculator's one window: three media, each with a panel of inputs, a calculate button and
// a result field, and a notice picture that swaps with its partner when clicked.
class Quendal : public Form
{
public:
    Quendal();
    ~Quendal() override;

    const Image Image1;
    const OptionButton Optionca;
    const OptionButton Options;
    const OptionButton Optionw;
    const Frame Frameca;
    const Frame Frames;
    const Frame Framew;

    const TextBox Textqa;
    const TextBox Textpa;
    const TextBox Textta;
    const TextBox Textva;
    const CommandButton Command1;
    const TextBox Textda;
    const Image Image2;
    const Image Image3;

    const TextBox Textqs;
    const TextBox Textus;
    const TextBox Textvs;
    const CommandButton Command3;
    const TextBox Textds;
    const Image Image8;
    const Image Image6;

    const TextBox Textqw;
    const TextBox Textvw;
    const CommandButton Command2;
    const TextBox Textdw;
    const Image Image7;
    const Image Image5;

    // What the menu's file commands do once their dialog has given the path, which is where
    // tests come in. Writes the sheet of the shown panel's last successful calculation, saying
    // so in a box if it cannot; true once written.
    bool saveSheetTo(const std::string &path);
    // The same printed to a PDF at path, its HTML kept beside it; says in a box what failed.
    bool savePdfTo(const std::string &path);
    // The title block and sign-off of every sheet, as 计算书信息… keeps them.
    void setSheetInfo(SheetInfo info);
    const SheetInfo &sheetInfo() const { return m_sheetInfo; }
    // Sizes the line list at path into its result and its sheet beside it, asking before either
    // replaces a file, and says in a box what came of it.
    void sizeLineListFrom(const std::string &path);
    // The water's temperature and pressure for the aids, as typed in their dialog; empty ones
    // are the usual 20 C and the atmosphere. Kept for the next run, as is the line.
    void setWaterConditions(std::string temperature, std::string pressure);
    // The shown panel's line, as its dialog keeps it.
    void setLine(LineChoice line);
    const LineChoice &line() const { return m_lines[shownPanel()]; }
    // 计算详情, once it has been opened.
    DetailsWindow *details() const { return m_details.get(); }
    const std::string &waterTemperature() const { return m_waterTemperature; }
    const std::string &waterPressure() const { return m_waterPressure; }

protected:
    void Form_Load() override;

private:
    // Optionca_Click, Options_Click and Optionw_Click: the chosen medium's panel shown, the
    // others hidden, in the panels' order.
    void showPanel(const PanelDef &chosen);
    // Image2_Click and its five like it: the picture clicked hidden, its partner shown.
    void swapNotice(int clicked, int partner);
    // Sizes the panel's inputs; on success writes the result text to the result field, and to
    // its tooltip the pipe to choose with its pressure drop; otherwise leaves the field's text
    // alone and points the user at the input to mend.
    void calculate(const PanelDef &panel);
    TextBox fieldFor(const PanelDef &panel, Operand operand);

    // The menu's commands.
    void saveSheet();
    void savePdf();
    struct SheetSaving
    {
        const char *title, *filterName, *pattern, *extension;
        const char *what, *opening; // for "计算书已保存到“…”，但无法用浏览器打开它。"
        bool (Quendal::*save)(const std::string &path);
    };
    void saveSheetAs(const SheetSaving &how);
    void chooseSheetInfo();
    void openLineList();
    void chooseLine();
    void chooseWaterConditions();
    void chooseSteamVolume();
    void showDetails();
    void restoreDefaults();
    void showGuide();
    void showAbout();

    // The choices of the 选项 menu, as its radio items stand.
    AdviceOptions adviceOptions() const;
    std::size_t shownPanel() const;
    // 计算书 is there for a panel that has calculated.
    void updateSheetItem();
    void updateDetails();
    // The choices kept between runs.
    void restoreChoices();
    void keepChoices();
    void keep(bool kept);

    // Each panel's last successful calculation, what its sheet shows.
    std::array<std::optional<SheetLine>, std::size(panels)> m_lastSized;
    std::string m_waterTemperature, m_waterPressure;
    std::array<LineChoice, std::size(panels)> m_lines; // each panel's own
    std::string m_lastFolder; // where the file dialogs start
    std::array<std::string, std::size(panels)> m_detailsText; // each panel's last calculation
    std::unique_ptr<DetailsWindow> m_details;
    SheetInfo m_sheetInfo;
    bool m_keepFailed = false;
};

std::unique_ptr<Form> createQuendal();

} // namespace tovrik
