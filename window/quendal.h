#pragma once

#include "core/pipeline.h"
#include "runtime/form.h"
#include "window/definition.h"

#include <memory>

namespace tovrik {

// The calculator's one window: three media, each with a panel of inputs, a calculate button and
// a result field, and a notice picture that swaps with its partner when clicked.
class Quendal : public Form
{
public:
    Quendal();

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

protected:
    void Form_Load() override;

private:
    // Optionca_Click, Options_Click and Optionw_Click: the chosen medium's panel shown, the
    // others hidden, in the panels' order.
    void showPanel(const PanelDef &chosen);
    // Image2_Click and its five like it: the picture clicked hidden, its partner shown.
    void swapNotice(int clicked, int partner);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // Sizes the panel's inputs; on success writes the result text to the result field, and to
    // its tooltip the pipe to choose with its pressure drop; otherwise leaves the field's text
    // alone and points the user at the input to mend.
    void calculate(const TextBox &result, SizingRequest request);
    const TextBox &fieldFor(Medium medium, Operand operand) const;
};

std::unique_ptr<Form> createQuendal();

} // namespace tovrik
