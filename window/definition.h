#pragma once

#include <span>

namespace tovrik {

struct ControlDef;

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

inline constexpr const char *quendalCaption = "Quendal";
inline constexpr int quendalClientWidth = 5910; // twips
inline constexpr int quendalClientHeight = 7395;

std::span<const ControlDef> quendalDefinition();

} // namespace tovrik
