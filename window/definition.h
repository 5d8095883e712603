#pragma once

#include "core/inputs.h"
#include "core/words.h"

#include <span>
#include <string_view>

namespace tovrik {

struct ControlDef;
struct FormDef;
struct MenuDef;

// Row indexes of the window's definition, in creation order: later rows lie on top. One line
// per panel row reads better than one name a line.
namespace ctl {
// clang-format off
enum : int {
    Image1,
    Optionca,
    Options,
    Optionw,
    Frameca,
    Frames,
    Framew,
    Label1, Textqa, Label2, Textpa, Label3, Textta, Label4, Textva,
    Line1, Command1, Textda, Label5, Line2, Image2, Image3,
    Label15, Textqs, Label14, Textus, Label12, Textvs,
    Line6, Command3, Textds, Label11, Line5, Image8, Image6,
    Label10, Textqw, Label7, Textvw,
    Line4, Command2, Textdw, Label6, Line3, Image7, Image5,
    Count
};
// clang-format on
} // namespace ctl

// A field of a panel and the input it gives.
struct PanelField
{
    int field;
    Input input;
};

// A message a panel shows, before it calculates, when the field is empty.
struct PanelPrompt
{
    int field;
    std::string_view prompt;
};

// Each medium's controls, and how its calculate button reads them. The definition's names are
// its history's: Command3 is steam's button and Command2 water's, and the notice pairs are
// Image2/3, Image8/6 and Image7/5.
struct PanelDef
{
    Medium medium;
    int option;
    int frame;
    int button;
    int result;
    int terms; // the notice shown at start
    int contact; // its partner
    // Checked first, each in turn, whatever the others hold.
    std::span<const PanelPrompt> prompts;
    // In the order the calculation reads them.
    std::span<const PanelField> fields;
};

// Air reads its temperature, pressure and flow for the working flow, then its velocity; water
// its velocity before its flow.
inline constexpr PanelPrompt airPanelPrompts[]
    = {{ctl::Textqa, airFlowPrompt}, {ctl::Textpa, airPressurePrompt}};
inline constexpr PanelField airPanelFields[] = {{ctl::Textta, Input::Temperature},
                                                {ctl::Textpa, Input::Pressure},
                                                {ctl::Textqa, Input::Flow},
                                                {ctl::Textva, Input::Velocity}};
inline constexpr PanelField steamPanelFields[] = {{ctl::Textqs, Input::Flow},
                                                  {ctl::Textus, Input::SpecificVolume},
                                                  {ctl::Textvs, Input::Velocity}};
inline constexpr PanelField waterPanelFields[]
    = {{ctl::Textvw, Input::Velocity}, {ctl::Textqw, Input::Flow}};

inline constexpr PanelDef airPanel {Medium::Air,   ctl::Optionca,   ctl::Frameca,
                                    ctl::Command1, ctl::Textda,     ctl::Image2,
                                    ctl::Image3,   airPanelPrompts, airPanelFields};
inline constexpr PanelDef steamPanel {Medium::Steam, ctl::Options, ctl::Frames,
                                      ctl::Command3, ctl::Textds,  ctl::Image8,
                                      ctl::Image6,   {},           steamPanelFields};
inline constexpr PanelDef waterPanel {Medium::Water, ctl::Optionw, ctl::Framew,
                                      ctl::Command2, ctl::Textdw,  ctl::Image7,
                                      ctl::Image5,   {},           waterPanelFields};
// In the order the option buttons stand, and the panels are shown or hidden.
inline constexpr PanelDef panels[] = {airPanel, steamPanel, waterPanel};

inline constexpr const char *quendalCaption = "Quendal";
inline constexpr int quendalClientWidth = 5910; // twips
inline constexpr int quendalClientHeight = 7395;

// The window's menu items, above the client area.
namespace menu {
enum : int {
    File = 1,
    Sheet,
    Pdf,
    Details,
    SheetInfo,
    LineList,
    Exit,
    Options,
    Series,
    SeriesChinese,
    SeriesAsme40,
    SeriesAsme80,
    SeriesAsme10S,
    SeriesAsme40S,
    SeriesGb3091,
    Service,
    Workshop,
    Site,
    NaturalGas,
    GasMenu,
    GasAir,
    GasNaturalGas,
    GasNitrogen,
    GasOxygen,
    GasCarbonDioxide,
    GasHydrogen,
    GasArgon,
    Rows,
    RowsCited,
    RowsSheet,
    Line,
    Water,
    SteamVolume,
    Defaults,
    Help,
    Guide,
    About,
};
} // namespace menu

std::span<const ControlDef> quendalDefinition();
std::span<const MenuDef> quendalMenu();
const FormDef &quendalForm();

// 管线…: the visible panel's line, beyond the pipe: its length, fittings and rise, the drop it
// may lose, its wall and, for a gas, how its flow is given.
namespace linectl {
// clang-format off
enum : int {
    Label1, Textl, Label2,
    Label3, Textk,
    Label4, Textle, Label5,
    Label6, Textdz, Label7,
    Label8, Textdp, Label9, Framedp, Optionline, Option100m,
    Label10, Textr, Label11, Label12,
    Framebasis, Optionstandard, Optionnormal, Optionfad, Optionactual, Optionmass,
    Label13, Command1, Command2,
    Count
};
// clang-format on
} // namespace linectl
const FormDef &lineForm();

// 由压力求比容…: the specific volume of steam of a pressure, saturated or superheated, for the
// steam panel's u field.
namespace steamctl {
// clang-format off
enum : int {
    Label1, Textp, Label2, Framekind, Optiongauge, Optionabsolute,
    Label3, Textts, Label4,
    Label5, Command1, Command2,
    Count
};
// clang-format on
} // namespace steamctl
const FormDef &steamForm();

// 计算详情: the shown panel's last calculation in full words, in a window beside the main one.
namespace detailsctl {
enum : int { Textd, Command1, Count };
} // namespace detailsctl
const FormDef &detailsForm();

// 计算书信息…: the title block and sign-off every sheet carries, one field each, entered once.
namespace sheetinfoctl {
// clang-format off
enum : int {
    Label1, Textproject, Label2, Textprojectno, Label3, Textunit,
    Label4, Textlineno, Label5, Textdocumentno, Label6, Textrevision,
    Label7, Textdesigner, Label8, Textdesigndate, Label9, Textchecker, Label10, Textcheckdate,
    Label11, Textreviewer, Label12, Textreviewdate, Label13, Textapprover, Label14, Textapprovaldate,
    Label15, Command1, Command2,
    Count
};
// clang-format on
} // namespace sheetinfoctl
const FormDef &sheetInfoForm();

// The dialog for the water's temperature and pressure, which the aids take for water.
namespace waterctl {
enum : int { Label1, Texttw, Label2, Label3, Textpw, Label4, Label5, Command1, Command2, Count };
} // namespace waterctl
const FormDef &waterForm();

} // namespace tovrik
