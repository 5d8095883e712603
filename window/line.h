#pragma once

#include "core/gases.h"
#include "core/inputs.h"
#include "core/sizing.h"
#include "forms/form.h"

#include <string>
#include <vector>

namespace tovrik {

// A panel's line, as typed in its dialog: each figure's text, empty where it is not given, what
// the allowable drop is over, and how a gas's flow is given.
struct LineChoice
{
    std::string length {}, fittings {}, equivalentLength {}, elevation {}, maxDrop {}, roughness {};
    bool dropPer100m = false;
    FlowBasis flowBasis = FlowBasis::Standard;

    bool operator==(const LineChoice &) const = default;
};

// 管线…: the line of the panel shown, beyond the pipe. 确定 keeps the figures only when the
// sizing can take them, each checked as it will be read, in its words; nothing typed is lost
// when one is refused.
class LineDialog : public Form
{
public:
    LineDialog(const Form &owner, Medium medium, LineChoice line);

    const TextBox Textl;
    const TextBox Textk;
    const TextBox Textle;
    const TextBox Textdz;
    const TextBox Textdp;
    const TextBox Textr;
    const OptionButton Option100m;
    const CommandButton Command1; // 确定
    const CommandButton Command2; // 取消

    bool accepted() const { return m_accepted; }
    // The line as the dialog was left: what was typed, whether or not it was kept.
    LineChoice line() const;

protected:
    void Form_Load() override;

private:
    void Command1_Click();

    Medium m_medium;
    LineChoice m_line;
    bool m_accepted = false;
};

// A panel's line as kept between runs. What was kept that could not be read, or that the sizing
// cannot take, is left out, its words ("蒸汽的管线：管长") added to damaged.
LineChoice keptLine(Medium medium, std::vector<std::string> &damaged);
// False if some of it could not be kept.
bool keepLine(Medium medium, const LineChoice &line);

// What a panel's line says to its request: the texts of the inputs it gives.
void applyLine(const LineChoice &line, Medium medium, KeptInputs &request);

} // namespace tovrik
