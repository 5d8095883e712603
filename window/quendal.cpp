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
        Image(*this, panel.terms).onClick([this, &panel] {
            swapNotice(panel.terms, panel.contact);
        });
        Image(*this, panel.contact).onClick([this, &panel] {
            swapNotice(panel.contact, panel.terms);
        });
    }
    Command1.onClick([this] { Command1_Click(); });
    Command2.onClick([this] { Command2_Click(); });
    Command3.onClick([this] { Command3_Click(); });
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

void Quendal::showPanel(const PanelDef &chosen)
{
    for (const PanelDef &panel : panels)
        Frame(*this, panel.frame).setVisible(&panel == &chosen);
}

void Quendal::swapNotice(int clicked, int partner)
{
    Image(*this, clicked).setVisible(false);
    Image(*this, partner).setVisible(true);
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
