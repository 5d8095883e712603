#include "window/quendal.h"

#include "core/messages.h"
#include "runtime/conversion.h"
#include "runtime/msgbox.h"
#include "window/definition.h"

namespace tovrik {

namespace {

// Engineers in China order pipe by the metric series (Φ159×4.5), and the window speaks to them.
constexpr PipeSeries windowSeries = PipeSeries::Chinese;

} // namespace

Quendal::Quendal()
    : Form(quendalCaption, quendalClientWidth, quendalClientHeight, quendalDefinition())
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
    static constexpr struct
    {
        const OptionButton Quendal::*option;
        void (Quendal::*handler)();
    } options[] = {
        {&Quendal::Optionca, &Quendal::Optionca_Click},
        {&Quendal::Options, &Quendal::Options_Click},
        {&Quendal::Optionw, &Quendal::Optionw_Click},
    };
    for (const auto &[option, handler] : options)
        (this->*option).onClick([this, handler = handler] { (this->*handler)(); });

    static constexpr struct
    {
        const CommandButton Quendal::*button;
        void (Quendal::*handler)();
    } buttons[] = {
        {&Quendal::Command1, &Quendal::Command1_Click},
        {&Quendal::Command2, &Quendal::Command2_Click},
        {&Quendal::Command3, &Quendal::Command3_Click},
    };
    for (const auto &[button, handler] : buttons)
        (this->*button).onClick([this, handler = handler] { (this->*handler)(); });

    static constexpr struct
    {
        const Image Quendal::*image;
        void (Quendal::*handler)();
    } images[] = {
        {&Quendal::Image2, &Quendal::Image2_Click}, {&Quendal::Image3, &Quendal::Image3_Click},
        {&Quendal::Image8, &Quendal::Image8_Click}, {&Quendal::Image6, &Quendal::Image6_Click},
        {&Quendal::Image7, &Quendal::Image7_Click}, {&Quendal::Image5, &Quendal::Image5_Click},
    };
    for (const auto &[image, handler] : images)
        (this->*image).onClick([this, handler = handler] { (this->*handler)(); });
}

void Quendal::Form_Load()
{
    Optionca.setValue(true);
    Options.setValue(false);
    Optionw.setValue(false);
    Frameca.setVisible(true);
    Frames.setVisible(false);
    Framew.setVisible(false);
}

void Quendal::Optionca_Click()
{
    Frameca.setVisible(true);
    Frames.setVisible(false);
    Framew.setVisible(false);
}

void Quendal::Options_Click()
{
    Frameca.setVisible(false);
    Frames.setVisible(true);
    Framew.setVisible(false);
}

void Quendal::Optionw_Click()
{
    Frameca.setVisible(false);
    Frames.setVisible(false);
    Framew.setVisible(true);
}

void Quendal::Command1_Click()
{
    // Both checks always run, flow first, so an empty form shows both messages in turn.
    const bool flowEmpty = vbaStrCmp("", Textqa.text()) == 0;
    if (flowEmpty)
        rtcMsgBox(*this, airFlowPrompt);
    const bool pressureEmpty = vbaStrCmp("", Textpa.text()) == 0;
    if (pressureEmpty)
        rtcMsgBox(*this, airPressurePrompt);
    if (flowEmpty || pressureEmpty)
        return;

    const std::string flow = Textqa.text();
    const std::string pressure = Textpa.text();
    const std::string temperature = Textta.text();
    const std::string velocity = Textva.text();
    SizingRequest request;
    request.medium = Medium::Air;
    request.flow = flow;
    request.pressure = pressure;
    request.temperature = temperature;
    request.velocity = velocity;
    calculate(Textda, request);
}

void Quendal::Command2_Click()
{
    const std::string velocity = Textvw.text();
    const std::string flow = Textqw.text();
    SizingRequest request;
    request.medium = Medium::Water;
    request.flow = flow;
    request.velocity = velocity;
    calculate(Textdw, request);
}

void Quendal::Command3_Click()
{
    const std::string flow = Textqs.text();
    const std::string volume = Textus.text();
    const std::string velocity = Textvs.text();
    SizingRequest request;
    request.medium = Medium::Steam;
    request.flow = flow;
    request.specificVolume = volume;
    request.velocity = velocity;
    calculate(Textds, request);
}

void Quendal::Image2_Click()
{
    Image2.setVisible(false);
    Image3.setVisible(true);
}

void Quendal::Image3_Click()
{
    Image3.setVisible(false);
    Image2.setVisible(true);
}

void Quendal::Image8_Click()
{
    Image8.setVisible(false);
    Image6.setVisible(true);
}

void Quendal::Image6_Click()
{
    Image6.setVisible(false);
    Image8.setVisible(true);
}

void Quendal::Image7_Click()
{
    Image7.setVisible(false);
    Image5.setVisible(true);
}

void Quendal::Image5_Click()
{
    Image5.setVisible(false);
    Image7.setVisible(true);
}

// A failed calculation must not cost the user anything typed: no result is written, nothing
// is cleared, and the field at fault is selected so it can be retyped at once.
void Quendal::calculate(const TextBox &result, SizingRequest request)
{
    request.advice.series = windowSeries;
    request.decimalSeparator = localeDecimalSeparator();
    const SizingReport report = sizePipe(request);
    if (!report.ok) {
        reportFailure(result, fieldFor(request.medium, report.errorInput), report.error);
        return;
    }
    result.setText(report.text);
    // The pipe to choose goes beside the result, not into it: the result text stays as it is.
    result.setToolTip(report.adviceText());
}

const TextBox &Quendal::fieldFor(Medium medium, Operand operand) const
{
    switch (medium) {
    case Medium::Air:
        switch (operand) {
        case Operand::Pressure: return Textpa;
        case Operand::Temperature: return Textta;
        case Operand::Velocity: return Textva;
        default: return Textqa;
        }
    case Medium::Steam:
        switch (operand) {
        case Operand::SpecificVolume: return Textus;
        case Operand::Velocity: return Textvs;
        default: return Textqs;
        }
    case Medium::Water: break;
    }
    return operand == Operand::Velocity ? Textvw : Textqw;
}

std::unique_ptr<Form> createQuendal()
{
    return std::make_unique<Quendal>();
}

} // namespace tovrik
