#include "window/definition.h"

#include "forms/definition.h"

namespace tovrik {

namespace {

using enum ControlKind;

constexpr FontSpec resultFont {"宋体", 14.25, 400};
constexpr std::uint32_t red = 0x000000FF;
constexpr int none = noTabIndex;

constexpr const char *referencePicture = "pictures/reference.bmp";
constexpr const char *termsPicture = "pictures/terms.bmp";
constexpr const char *contactPicture = "pictures/contact.bmp";

// Each input caption is a 16-column description, the symbol and "=", 12 blanks that the field
// covers, then the unit, in a font whose Chinese glyphs are two columns wide.
// clang-format off
constexpr ControlDef definition[] = {
    // kind, name, container, caption, left, top, width, height, tab, font, colour, visible, value
    {Image, "Image1", onForm, referencePicture, 120, 120, 2055, 7185, none, nullptr, defaultColour, true, false},
    {OptionButton, "Optionca", onForm, "压缩空气", 2160, 240, 1095, 375, 0, nullptr, defaultColour, true, true},
    {OptionButton, "Options", onForm, "蒸汽", 3240, 240, 1095, 375, 32, nullptr, defaultColour, true, false},
    {OptionButton, "Optionw", onForm, "水", 4440, 240, 1095, 375, 1, nullptr, defaultColour, true, false},
    {Frame, "Frameca", onForm, "压缩空气（各种气体）Tovrik", 2280, 720, 3615, 6615, 2, nullptr, defaultColour, true, false},
    {Frame, "Frames", onForm, "蒸汽Tovrik", 2280, 720, 3615, 6615, 14, nullptr, defaultColour, false, false},
    {Frame, "Framew", onForm, "水Tovrik", 2280, 720, 3615, 6615, 24, nullptr, defaultColour, false, false},

    {Label, "Label1", ctl::Frameca, "压缩空气标态流量Q=            m3/h", 120, 360, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textqa", ctl::Frameca, "", 1800, 360, 975, 270, 4, nullptr, defaultColour, true, false},
    {Label, "Label2", ctl::Frameca, "压缩空气设计压力P=            MPa", 120, 720, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textpa", ctl::Frameca, "", 1800, 720, 975, 270, 5, nullptr, defaultColour, true, false},
    {Label, "Label3", ctl::Frameca, "压缩空气设计温度T=            oC", 120, 1080, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textta", ctl::Frameca, "", 1800, 1080, 975, 270, 7, nullptr, defaultColour, true, false},
    {Label, "Label4", ctl::Frameca, "压缩空气设计流速v=            m/s", 120, 1440, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textva", ctl::Frameca, "", 1800, 1440, 975, 270, 9, nullptr, defaultColour, true, false},
    {Line, "Line1", ctl::Frameca, nullptr, 120, 1920, 3360, 0, none, nullptr, defaultColour, true, false},
    {CommandButton, "Command1", ctl::Frameca, "计算管径", 120, 2160, 1455, 615, 11, nullptr, defaultColour, true, false},
    {TextBox, "Textda", ctl::Frameca, "", 1680, 2280, 1215, 495, 12, &resultFont, red, true, false},
    {Label, "Label5", ctl::Frameca, "mm", 3000, 2280, 495, 495, none, &resultFont, defaultColour, true, false},
    {Line, "Line2", ctl::Frameca, nullptr, 120, 3000, 3360, 0, none, nullptr, defaultColour, true, false},
    {Image, "Image2", ctl::Frameca, termsPicture, 120, 3120, 3345, 2355, none, nullptr, defaultColour, true, false},
    {Image, "Image3", ctl::Frameca, contactPicture, 120, 3120, 3345, 2355, none, nullptr, defaultColour, false, false},

    {Label, "Label15", ctl::Frames, "蒸汽质量流量    Q=            t/h", 120, 360, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textqs", ctl::Frames, "", 1800, 360, 975, 270, 15, nullptr, defaultColour, true, false},
    {Label, "Label14", ctl::Frames, "蒸汽的比容      u=            m3/kg", 120, 720, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textus", ctl::Frames, "", 1800, 720, 975, 270, 16, nullptr, defaultColour, true, false},
    {Label, "Label12", ctl::Frames, "蒸汽设计流速    v=            m/s", 120, 1440, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textvs", ctl::Frames, "", 1800, 1440, 975, 270, 17, nullptr, defaultColour, true, false},
    {Line, "Line6", ctl::Frames, nullptr, 120, 1920, 3360, 0, none, nullptr, defaultColour, true, false},
    {CommandButton, "Command3", ctl::Frames, "计算管径", 120, 2160, 1455, 615, 18, nullptr, defaultColour, true, false},
    {TextBox, "Textds", ctl::Frames, "", 1680, 2280, 1215, 495, 19, &resultFont, red, true, false},
    {Label, "Label11", ctl::Frames, "mm", 3000, 2280, 495, 495, none, &resultFont, defaultColour, true, false},
    {Line, "Line5", ctl::Frames, nullptr, 120, 3000, 3360, 0, none, nullptr, defaultColour, true, false},
    {Image, "Image8", ctl::Frames, termsPicture, 120, 3120, 3345, 2355, none, nullptr, defaultColour, true, false},
    {Image, "Image6", ctl::Frames, contactPicture, 120, 3120, 3345, 2355, none, nullptr, defaultColour, false, false},

    {Label, "Label10", ctl::Framew, "水流量          Q=            t/h", 120, 360, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textqw", ctl::Framew, "", 1800, 360, 975, 270, 25, nullptr, defaultColour, true, false},
    {Label, "Label7", ctl::Framew, "水的设计流速    v=            m/s", 120, 1440, 3255, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textvw", ctl::Framew, "", 1800, 1440, 975, 270, 26, nullptr, defaultColour, true, false},
    {Line, "Line4", ctl::Framew, nullptr, 120, 1920, 3360, 0, none, nullptr, defaultColour, true, false},
    {CommandButton, "Command2", ctl::Framew, "计算管径", 120, 2160, 1455, 615, 27, nullptr, defaultColour, true, false},
    {TextBox, "Textdw", ctl::Framew, "", 1680, 2280, 1215, 495, 28, &resultFont, red, true, false},
    {Label, "Label6", ctl::Framew, "mm", 3000, 2280, 495, 495, none, &resultFont, defaultColour, true, false},
    {Line, "Line3", ctl::Framew, nullptr, 120, 3000, 3360, 0, none, nullptr, defaultColour, true, false},
    {Image, "Image7", ctl::Framew, termsPicture, 120, 3120, 3345, 2355, none, nullptr, defaultColour, true, false},
    {Image, "Image5", ctl::Framew, contactPicture, 120, 3120, 3345, 2355, none, nullptr, defaultColour, false, false},
};
// clang-format on

static_assert(std::size(definition) == ctl::Count, "one row per control index");

using enum MenuKind;

// clang-format off
constexpr MenuDef menuDefinition[] = {
    // id, parent, kind, text, shortcut
    {menu::File, 0, Menu, "文件(&F)", nullptr},
    {menu::Sheet, menu::File, Command, "计算书(&S)…", "Ctrl+S"},
    {menu::Pdf, menu::File, Command, "另存为 PDF(&P)…", "Ctrl+P"},
    {menu::Details, menu::File, Command, "计算详情(&D)", "Ctrl+D"},
    {menu::SheetInfo, menu::File, Command, "计算书信息(&I)…", nullptr},
    {0, menu::File, Separator, nullptr, nullptr},
    {menu::LineList, menu::File, Command, "计算管线表(&O)…", "Ctrl+O"},
    {0, menu::File, Separator, nullptr, nullptr},
    {menu::Exit, menu::File, Command, "退出(&X)", nullptr},
    {menu::Options, 0, Menu, "选项(&T)", nullptr},
    {menu::Series, menu::Options, Menu, "管子系列(&P)", nullptr},
    {menu::SeriesChinese, menu::Series, Radio, "国内公制系列 HG/T 20553-2011(&C)", nullptr},
    {menu::SeriesAsme40, menu::Series, Radio, "ASME B36.10M Sch40(&A)", nullptr},
    {menu::SeriesAsme80, menu::Series, Radio, "ASME B36.10M Sch80(&B)", nullptr},
    {menu::SeriesAsme10S, menu::Series, Radio, "ASME B36.19M Sch10S 不锈钢(&S)", nullptr},
    {menu::SeriesAsme40S, menu::Series, Radio, "ASME B36.19M Sch40S 不锈钢(&T)", nullptr},
    {menu::SeriesGb3091, menu::Series, Radio, "GB/T 3091-2008 焊接钢管(&G)", nullptr},
    {menu::Service, menu::Options, Menu, "压缩空气用途(&U)", nullptr},
    {menu::Workshop, menu::Service, Radio, "车间(&W)", nullptr},
    {menu::Site, menu::Service, Radio, "厂区(&S)", nullptr},
    {menu::NaturalGas, menu::Service, Radio, "天然气(&N)", nullptr},
    {menu::GasMenu, menu::Options, Menu, "气体(&G)", nullptr},
    {menu::GasAir, menu::GasMenu, Radio, "空气(&A)", nullptr},
    {menu::GasNaturalGas, menu::GasMenu, Radio, "天然气（按甲烷）(&N)", nullptr},
    {menu::GasNitrogen, menu::GasMenu, Radio, "氮气(&D)", nullptr},
    {menu::GasOxygen, menu::GasMenu, Radio, "氧气(&Y)", nullptr},
    {menu::GasCarbonDioxide, menu::GasMenu, Radio, "二氧化碳(&C)", nullptr},
    {menu::GasHydrogen, menu::GasMenu, Radio, "氢气(&Q)", nullptr},
    {menu::GasArgon, menu::GasMenu, Radio, "氩气(&R)", nullptr},
    {menu::Rows, menu::Options, Menu, "常用流速表(&V)", nullptr},
    {menu::RowsCited, menu::Rows, Radio, "蒸汽按饱和、过热蒸汽推荐流速表(&S)", nullptr},
    {menu::RowsSheet, menu::Rows, Radio, "全部按窗口左侧参考表(&R)", nullptr},
    {0, menu::Options, Separator, nullptr, nullptr},
    {menu::Line, menu::Options, Command, "管线(&L)…", "Ctrl+L"},
    {menu::Water, menu::Options, Command, "水温和压力(&W)…", nullptr},
    {menu::SteamVolume, menu::Options, Command, "由压力求比容(&B)…", nullptr},
    {0, menu::Options, Separator, nullptr, nullptr},
    {menu::Defaults, menu::Options, Command, "恢复默认设置(&D)…", nullptr},
    {menu::Help, 0, Menu, "帮助(&H)", nullptr},
    {menu::Guide, menu::Help, Command, "使用说明(&H)", "F1"},
    {0, menu::Help, Separator, nullptr, nullptr},
    {menu::About, menu::Help, Command, "关于 Tovrik(&A)", nullptr},
};

// A small dialog in the application's font: the two fields with their units, two lines on what
// empty means and what the values are for, and its default and cancel buttons.
// The line's dialog: a row a figure, each a label, its field and its unit; the allowable drop
// with what it is over; the wall; how a gas's flow is given; and a line on what all this changes.
constexpr ControlDef lineDefinition[] = {
    {Label, "Label1", onForm, "管长 L=", 240, 270, 1680, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textl", onForm, "", 1920, 240, 1215, 300, 0, nullptr, defaultColour, true, false},
    {Label, "Label2", onForm, "m", 3240, 270, 600, 255, none, nullptr, defaultColour, true, false},
    {Label, "Label3", onForm, "局部阻力系数 ΣK=", 240, 660, 1680, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textk", onForm, "", 1920, 630, 1215, 300, 1, nullptr, defaultColour, true, false},
    {Label, "Label4", onForm, "管件当量长度 Le=", 240, 1050, 1680, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textle", onForm, "", 1920, 1020, 1215, 300, 2, nullptr, defaultColour, true, false},
    {Label, "Label5", onForm, "m", 3240, 1050, 600, 255, none, nullptr, defaultColour, true, false},
    {Label, "Label6", onForm, "终点高出起点 Δz=", 240, 1440, 1680, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textdz", onForm, "", 1920, 1410, 1215, 300, 3, nullptr, defaultColour, true, false},
    {Label, "Label7", onForm, "m（下坡为负）", 3240, 1440, 2160, 255, none, nullptr, defaultColour, true, false},
    {Label, "Label8", onForm, "允许压降=", 240, 1920, 1680, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textdp", onForm, "", 1920, 1890, 1215, 300, 4, nullptr, defaultColour, true, false},
    {Label, "Label9", onForm, "kPa", 3240, 1920, 600, 255, none, nullptr, defaultColour, true, false},
    {Frame, "Framedp", onForm, "允许压降按", 3840, 1680, 2520, 630, 5, nullptr, defaultColour, true, false},
    {OptionButton, "Optionline", linectl::Framedp, "全线", 120, 270, 960, 300, 6, nullptr, defaultColour, true, true},
    {OptionButton, "Option100m", linectl::Framedp, "每 100 m", 1200, 270, 1200, 300, 7, nullptr, defaultColour, true, false},
    {Label, "Label10", onForm, "管壁粗糙度=", 240, 2520, 1680, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textr", onForm, "", 1920, 2490, 1215, 300, 8, nullptr, defaultColour, true, false},
    {Label, "Label11", onForm, "mm，或名称：", 3240, 2520, 2520, 255, none, nullptr, defaultColour, true, false},
    {Label, "Label12", onForm, "new-steel 0.046（新钢管，空着即此）、steam-network 0.2（蒸汽管网）、\nwater-network 0.5（热水管网）、stainless 0.015（不锈钢管）、\ngalvanised 0.15（镀锌钢管）", 240, 2880, 6240, 765, none, nullptr, defaultColour, true, false},
    {Frame, "Framebasis", onForm, "气体流量Q的基准", 240, 3735, 6120, 1860, 9, nullptr, defaultColour, true, false},
    {OptionButton, "Optionstandard", linectl::Framebasis, "标准状态 0.1 MPa、273 K 的 m3/h（面板的定义）", 120, 300, 5880, 300, 10, nullptr, defaultColour, true, true},
    {OptionButton, "Optionnormal", linectl::Framebasis, "标准立方米 Nm3/h（0 °C、101.325 kPa）", 120, 600, 5880, 300, 11, nullptr, defaultColour, true, false},
    {OptionButton, "Optionfad", linectl::Framebasis, "自由空气量 FAD（0.1 MPa、20 °C）", 120, 900, 5880, 300, 12, nullptr, defaultColour, true, false},
    {OptionButton, "Optionactual", linectl::Framebasis, "工况 m3/h（设计压力、温度下）", 120, 1200, 5880, 300, 13, nullptr, defaultColour, true, false},
    {OptionButton, "Optionmass", linectl::Framebasis, "质量流量 kg/h", 120, 1500, 5880, 300, 14, nullptr, defaultColour, true, false},
    {Label, "Label13", onForm, "只用于本面板的压降、全线压降和按允许压降选管，管径仍按公式计算；\n空着的不计。面板各有各的管线。", 240, 5715, 6240, 510, none, nullptr, defaultColour, true, false},
    {CommandButton, "Command1", onForm, "确定", 3840, 6315, 1215, 375, 15, nullptr, defaultColour, true, false},
    {CommandButton, "Command2", onForm, "取消", 5160, 6315, 1215, 375, 16, nullptr, defaultColour, true, false},
};

// The steam's pressure, as read on a gauge or absolute, and its temperature if superheated.
constexpr ControlDef steamDefinition[] = {
    {Label, "Label1", onForm, "蒸汽压力 p=", 240, 300, 1440, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textp", onForm, "", 1680, 270, 1215, 300, 0, nullptr, defaultColour, true, false},
    {Label, "Label2", onForm, "MPa", 3000, 300, 600, 255, none, nullptr, defaultColour, true, false},
    {Frame, "Framekind", onForm, "", 3600, 120, 2400, 540, 1, nullptr, defaultColour, true, false},
    {OptionButton, "Optiongauge", steamctl::Framekind, "表压", 120, 180, 960, 300, 2, nullptr, defaultColour, true, true},
    {OptionButton, "Optionabsolute", steamctl::Framekind, "绝对压力", 1080, 180, 1200, 300, 3, nullptr, defaultColour, true, false},
    {Label, "Label3", onForm, "过热温度 Ts=", 240, 840, 1440, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textts", onForm, "", 1680, 810, 1215, 300, 4, nullptr, defaultColour, true, false},
    {Label, "Label4", onForm, "oC（饱和蒸汽空着）", 3000, 840, 3000, 255, none, nullptr, defaultColour, true, false},
    {Label, "Label5", onForm, "按 IAPWS-IF97 求出比容，填入蒸汽面板的比容u栏，\n可以再改；其余照常计算。", 240, 1260, 5760, 510, none, nullptr, defaultColour, true, false},
    {CommandButton, "Command1", onForm, "确定", 3480, 1890, 1215, 375, 5, nullptr, defaultColour, true, false},
    {CommandButton, "Command2", onForm, "取消", 4800, 1890, 1215, 375, 6, nullptr, defaultColour, true, false},
};

// The project's particulars above, the sign-off below: a name and a date a role.
constexpr ControlDef sheetInfoDefinition[] = {
    {Label, "Label1", onForm, "工程名称", 240, 270, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textproject", onForm, "", 1440, 240, 5040, 300, 0, nullptr, defaultColour, true, false},
    {Label, "Label2", onForm, "工程号", 240, 660, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textprojectno", onForm, "", 1440, 630, 5040, 300, 1, nullptr, defaultColour, true, false},
    {Label, "Label3", onForm, "装置/单元", 240, 1050, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textunit", onForm, "", 1440, 1020, 5040, 300, 2, nullptr, defaultColour, true, false},
    {Label, "Label4", onForm, "管线号", 240, 1440, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textlineno", onForm, "", 1440, 1410, 5040, 300, 3, nullptr, defaultColour, true, false},
    {Label, "Label5", onForm, "文件编号", 240, 1830, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textdocumentno", onForm, "", 1440, 1800, 5040, 300, 4, nullptr, defaultColour, true, false},
    {Label, "Label6", onForm, "版次", 240, 2220, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textrevision", onForm, "", 1440, 2190, 5040, 300, 5, nullptr, defaultColour, true, false},
    {Label, "Label7", onForm, "设计", 240, 2730, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textdesigner", onForm, "", 1440, 2700, 2160, 300, 6, nullptr, defaultColour, true, false},
    {Label, "Label8", onForm, "日期", 3840, 2730, 600, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textdesigndate", onForm, "", 4440, 2700, 2040, 300, 7, nullptr, defaultColour, true, false},
    {Label, "Label9", onForm, "校核", 240, 3120, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textchecker", onForm, "", 1440, 3090, 2160, 300, 8, nullptr, defaultColour, true, false},
    {Label, "Label10", onForm, "日期", 3840, 3120, 600, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textcheckdate", onForm, "", 4440, 3090, 2040, 300, 9, nullptr, defaultColour, true, false},
    {Label, "Label11", onForm, "审核", 240, 3510, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textreviewer", onForm, "", 1440, 3480, 2160, 300, 10, nullptr, defaultColour, true, false},
    {Label, "Label12", onForm, "日期", 3840, 3510, 600, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textreviewdate", onForm, "", 4440, 3480, 2040, 300, 11, nullptr, defaultColour, true, false},
    {Label, "Label13", onForm, "审定（可空）", 240, 3900, 1200, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textapprover", onForm, "", 1440, 3870, 2160, 300, 12, nullptr, defaultColour, true, false},
    {Label, "Label14", onForm, "日期", 3840, 3900, 600, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textapprovaldate", onForm, "", 4440, 3870, 2040, 300, 13, nullptr, defaultColour, true, false},
    {Label, "Label15", onForm, "空着的栏在计算书上留空，可手写签署；审定空着时不印。\n管线表的管线号取各行的管线号列。", 240, 4320, 6240, 510, none, nullptr, defaultColour, true, false},
    {CommandButton, "Command1", onForm, "确定", 3960, 4950, 1215, 375, 14, nullptr, defaultColour, true, false},
    {CommandButton, "Command2", onForm, "取消", 5280, 4950, 1215, 375, 15, nullptr, defaultColour, true, false},
};

constexpr ControlDef waterDefinition[] = {
    {Label, "Label1", onForm, "水温 T=", 240, 300, 1440, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Texttw", onForm, "", 1680, 270, 1215, 300, 0, nullptr, defaultColour, true, false},
    {Label, "Label2", onForm, "oC", 3000, 300, 1680, 255, none, nullptr, defaultColour, true, false},
    {Label, "Label3", onForm, "压力 P=", 240, 720, 1440, 255, none, nullptr, defaultColour, true, false},
    {TextBox, "Textpw", onForm, "", 1680, 690, 1215, 300, 1, nullptr, defaultColour, true, false},
    {Label, "Label4", onForm, "MPa（绝对压力）", 3000, 720, 1680, 255, none, nullptr, defaultColour, true, false},
    {Label, "Label5", onForm, "空着时按 20 oC、0.101325 MPa；\n只用于水的流速校核和压降。", 240, 1140, 4560, 510, none, nullptr, defaultColour, true, false},
    {CommandButton, "Command1", onForm, "确定", 2280, 1770, 1215, 375, 2, nullptr, defaultColour, true, false},
    {CommandButton, "Command2", onForm, "取消", 3600, 1770, 1215, 375, 3, nullptr, defaultColour, true, false},
};

// As wide as the command line's longest lines, as high as the main window; the text grows with
// the window, its button keeps to the corner.
constexpr ControlDef detailsDefinition[] = {
    {TextBox, "Textd", onForm, "", 120, 120, 8760, 6600, 0, nullptr, defaultColour, true, false, MultiLine | ReadOnly | Stretch},
    {CommandButton, "Command1", onForm, "关闭", 7665, 6870, 1215, 375, 1, nullptr, defaultColour, true, false},
};
// clang-format on

} // namespace

std::span<const ControlDef> quendalDefinition()
{
    return definition;
}

std::span<const MenuDef> quendalMenu()
{
    return menuDefinition;
}

const FormDef &quendalForm()
{
    static const FormDef form {quendalCaption, quendalClientWidth, quendalClientHeight, definition,
                               menuDefinition};
    return form;
}

const FormDef &lineForm()
{
    static_assert(std::size(lineDefinition) == linectl::Count, "one row per control index");
    static const FormDef form {"管线",           6600, 6855, lineDefinition, {}, linectl::Command1,
                               linectl::Command2};
    return form;
}

const FormDef &steamForm()
{
    static_assert(std::size(steamDefinition) == steamctl::Count, "one row per control index");
    static const FormDef form {
        "由压力求比容", 6240, 2400, steamDefinition, {}, steamctl::Command1, steamctl::Command2};
    return form;
}

const FormDef &sheetInfoForm()
{
    static_assert(std::size(sheetInfoDefinition) == sheetinfoctl::Count,
                  "one row per control index");
    static const FormDef form {"计算书信息",          6720, 5520,
                               sheetInfoDefinition,   {},   sheetinfoctl::Command1,
                               sheetinfoctl::Command2};
    return form;
}

const FormDef &detailsForm()
{
    static_assert(std::size(detailsDefinition) == detailsctl::Count, "one row per control index");
    static const FormDef form {"计算详情", 9000, 7395, detailsDefinition, {}, -1, -1, true};
    return form;
}

const FormDef &waterForm()
{
    static_assert(std::size(waterDefinition) == waterctl::Count, "one row per control index");
    static const FormDef form {
        "水温和压力", 5040, 2430, waterDefinition, {}, waterctl::Command1, waterctl::Command2};
    return form;
}

} // namespace tovrik
