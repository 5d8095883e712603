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
    {menu::LineList, menu::File, Command, "计算管线表(&O)…", "Ctrl+O"},
    {0, menu::File, Separator, nullptr, nullptr},
    {menu::Exit, menu::File, Command, "退出(&X)", nullptr},
    {menu::Options, 0, Menu, "选项(&T)", nullptr},
    {menu::Series, menu::Options, Menu, "管子系列(&P)", nullptr},
    {menu::SeriesChinese, menu::Series, Radio, "国内公制系列(&C)", nullptr},
    {menu::SeriesAsme, menu::Series, Radio, "ASME B36.10M Sch40(&A)", nullptr},
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
    {0, menu::Options, Separator, nullptr, nullptr},
    {menu::Water, menu::Options, Command, "水温和压力(&W)…", nullptr},
    {menu::Help, 0, Menu, "帮助(&H)", nullptr},
    {menu::Guide, menu::Help, Command, "使用说明(&H)", "F1"},
    {0, menu::Help, Separator, nullptr, nullptr},
    {menu::About, menu::Help, Command, "关于 Tovrik(&A)", nullptr},
};

// A small dialog in the application's font: the two fields with their units, two lines on what
// empty means and what the values are for, and its default and cancel buttons.
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

const FormDef &waterForm()
{
    static_assert(std::size(waterDefinition) == waterctl::Count, "one row per control index");
    static const FormDef form {
        "水温和压力", 5040, 2430, waterDefinition, {}, waterctl::Command1, waterctl::Command2};
    return form;
}

} // namespace tovrik
