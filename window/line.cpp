#include "window/line.h"

#include "core/pipeline.h"
#include "core/words.h"
#include "forms/msgbox.h"
#include "forms/settings.h"
#include "window/definition.h"

#include <iterator>

namespace tovrik {

namespace {

// The flow bases in the order their option buttons stand.
constexpr int basisOptions[] = {linectl::Optionstandard, linectl::Optionnormal, linectl::Optionfad,
                                linectl::Optionactual, linectl::Optionmass};
static_assert(std::size(basisOptions) == std::size_t(FlowBasis::Mass) + 1);

// Each field and the input it gives, in the order they are checked.
struct LineField
{
    int field;
    Input input;
    std::string LineChoice::*text;
};
constexpr LineField lineFields[] = {
    {linectl::Textl, Input::Length, &LineChoice::length},
    {linectl::Textk, Input::Fittings, &LineChoice::fittings},
    {linectl::Textle, Input::EquivalentLength, &LineChoice::equivalentLength},
    {linectl::Textdz, Input::Elevation, &LineChoice::elevation},
    {linectl::Textdp, Input::MaxDrop, &LineChoice::maxDrop},
    {linectl::Textr, Input::Roughness, &LineChoice::roughness},
};

// A panel's line is kept under "line/steam/length" and the like: the medium and the input as the
// command line names them, so that the settings read as its options do.
std::string lineKey(Medium medium, Input input)
{
    return "line/" + std::string(mediumName(medium)) + "/" + inputDef(input).longOption;
}

std::string lineWords(Medium medium, Input input)
{
    return std::string(mediumTitle(medium)) + "的管线：" + inputDef(input).chineseColumn;
}

} // namespace

LineDialog::LineDialog(const Form &owner, Medium medium, LineChoice line)
    : Form(lineForm(), &owner)
    , Textl(*this, linectl::Textl)
    , Textk(*this, linectl::Textk)
    , Textle(*this, linectl::Textle)
    , Textdz(*this, linectl::Textdz)
    , Textdp(*this, linectl::Textdp)
    , Textr(*this, linectl::Textr)
    , Option100m(*this, linectl::Option100m)
    , Command1(*this, linectl::Command1)
    , Command2(*this, linectl::Command2)
    , m_medium(medium)
    , m_line(std::move(line))
{
    Command1.onClick([this] { Command1_Click(); });
    Command2.onClick([this] { close(); });
}

void LineDialog::Form_Load()
{
    for (const LineField &field : lineFields)
        TextBox(*this, field.field).setText(m_line.*field.text);
    OptionButton(*this, m_line.dropPer100m ? linectl::Option100m : linectl::Optionline)
        .setValue(true);
    OptionButton(*this, basisOptions[std::size_t(m_line.flowBasis)]).setValue(true);
    // Only water rises with its head; only a gas has a basis for its flow.
    const bool water = m_medium == Medium::Water;
    for (const int row : {linectl::Label6, linectl::Textdz, linectl::Label7})
        Control(*this, row).setVisible(water);
    Frame(*this, linectl::Framebasis).setVisible(m_medium == Medium::Air);
}

LineChoice LineDialog::line() const
{
    LineChoice line = m_line;
    for (const LineField &field : lineFields)
        line.*field.text = TextBox(const_cast<LineDialog &>(*this), field.field).text();
    line.dropPer100m = Option100m.value();
    for (std::size_t i = 0; i < std::size(basisOptions); ++i) {
        if (OptionButton(const_cast<LineDialog &>(*this), basisOptions[i]).value())
            line.flowBasis = FlowBasis(i);
    }
    return line;
}

// Each figure checked as the sizing will read it, in its words, so that one it cannot use is
// mended here, not found missing from the advice later.
void LineDialog::Command1_Click()
{
    for (const LineField &field : lineFields) {
        if (field.input == Input::Elevation && m_medium != Medium::Water)
            continue;
        const TextBox box(*this, field.field);
        const std::string message
            = checkAid(m_medium, field.input, box.text(), localeDecimalSeparator());
        if (!message.empty()) {
            // The field first: once the box is closed the focus comes back to it.
            box.selectForRetyping();
            rtcMsgBox(*this, message);
            return;
        }
    }
    m_line = line();
    m_accepted = true;
    close();
}

LineChoice keptLine(Medium medium, std::vector<std::string> &damaged)
{
    LineChoice line;
    const auto read = [&](Input input, auto &&take) {
        const Setting kept = readSetting(lineKey(medium, input));
        if (kept.state == Setting::Absent)
            return;
        if (kept.state == Setting::Damaged || !take(kept.value))
            damaged.push_back(lineWords(medium, input));
    };
    for (const LineField &field : lineFields) {
        if (field.input == Input::Elevation && medium != Medium::Water)
            continue;
        read(field.input, [&](const std::string &text) {
            if (!checkAid(medium, field.input, text, localeDecimalSeparator()).empty())
                return false;
            line.*field.text = text;
            return true;
        });
    }
    read(Input::MaxDropBasis, [&](const std::string &text) {
        const std::optional<DropLimitBasis> basis = dropLimitBasisFromName(text);
        line.dropPer100m = basis == DropLimitBasis::Per100m;
        return basis.has_value();
    });
    if (medium == Medium::Air) {
        read(Input::FlowBasis, [&](const std::string &text) {
            const std::optional<FlowBasis> basis = flowBasisFromName(text);
            line.flowBasis = basis.value_or(FlowBasis::Standard);
            return basis.has_value();
        });
    }
    return line;
}

bool keepLine(Medium medium, const LineChoice &line)
{
    bool kept = true;
    for (const LineField &field : lineFields) {
        if (field.input != Input::Elevation || medium == Medium::Water)
            kept &= writeSetting(lineKey(medium, field.input), line.*field.text);
    }
    kept &= writeSetting(lineKey(medium, Input::MaxDropBasis), line.dropPer100m ? "100m" : "line");
    if (medium == Medium::Air)
        kept &= writeSetting(lineKey(medium, Input::FlowBasis), flowBasisName(line.flowBasis));
    return kept;
}

void applyLine(const LineChoice &line, Medium medium, KeptInputs &request)
{
    for (const LineField &field : lineFields) {
        if (field.input == Input::Elevation && medium != Medium::Water)
            continue;
        if (!(line.*field.text).empty())
            request[field.input] = line.*field.text;
    }
    if (line.dropPer100m && !line.maxDrop.empty())
        request[Input::MaxDropBasis] = "100m";
    if (medium == Medium::Air && line.flowBasis != FlowBasis::Standard)
        request[Input::FlowBasis] = flowBasisName(line.flowBasis);
}

} // namespace tovrik
