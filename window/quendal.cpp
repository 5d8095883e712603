#include "window/quendal.h"

#include "core/messages.h"
#include "core/pipes.h"
#include "runtime/conversion.h"
#include "runtime/msgbox.h"
#include "window/definition.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>

namespace tovrik {

namespace {

std::string text(const QLineEdit *field)
{
    return field->text().toStdString();
}

// Numbers are read and written with the user's own decimal separator.
char32_t decimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? U'.' : point.toUcs4().value(0, U'.');
}

} // namespace

Quendal::Quendal()
    : Form(quendalCaption, quendalClientWidth, quendalClientHeight, quendalDefinition())
    , Image1(control<ImageControl>(ctl::Image1))
    , Optionca(control<QRadioButton>(ctl::Optionca))
    , Options(control<QRadioButton>(ctl::Options))
    , Optionw(control<QRadioButton>(ctl::Optionw))
    , Frameca(control<QGroupBox>(ctl::Frameca))
    , Frames(control<QGroupBox>(ctl::Frames))
    , Framew(control<QGroupBox>(ctl::Framew))
    , Textqa(control<QLineEdit>(ctl::Textqa))
    , Textpa(control<QLineEdit>(ctl::Textpa))
    , Textta(control<QLineEdit>(ctl::Textta))
    , Textva(control<QLineEdit>(ctl::Textva))
    , Command1(control<QPushButton>(ctl::Command1))
    , Textda(control<QLineEdit>(ctl::Textda))
    , Image2(control<ImageControl>(ctl::Image2))
    , Image3(control<ImageControl>(ctl::Image3))
    , Textqs(control<QLineEdit>(ctl::Textqs))
    , Textus(control<QLineEdit>(ctl::Textus))
    , Textvs(control<QLineEdit>(ctl::Textvs))
    , Command3(control<QPushButton>(ctl::Command3))
    , Textds(control<QLineEdit>(ctl::Textds))
    , Image8(control<ImageControl>(ctl::Image8))
    , Image6(control<ImageControl>(ctl::Image6))
    , Textqw(control<QLineEdit>(ctl::Textqw))
    , Textvw(control<QLineEdit>(ctl::Textvw))
    , Command2(control<QPushButton>(ctl::Command2))
    , Textdw(control<QLineEdit>(ctl::Textdw))
    , Image7(control<ImageControl>(ctl::Image7))
    , Image5(control<ImageControl>(ctl::Image5))
{
    // The arrow keys move the selection as well as clicks, so the panel follows whichever
    // option becomes selected.
    connect(optionGroup(onForm), &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked)
            return;
        switch (id) {
        case ctl::Optionca: Optionca_Click(); break;
        case ctl::Options: Options_Click(); break;
        case ctl::Optionw: Optionw_Click(); break;
        }
    });

    static constexpr struct
    {
        QPushButton *const Quendal::*button;
        void (Quendal::*handler)();
    } buttons[] = {
        {&Quendal::Command1, &Quendal::Command1_Click},
        {&Quendal::Command2, &Quendal::Command2_Click},
        {&Quendal::Command3, &Quendal::Command3_Click},
    };
    for (const auto &[button, handler] : buttons)
        connect(this->*button, &QPushButton::clicked, this, handler);

    static constexpr struct
    {
        ImageControl *const Quendal::*image;
        void (Quendal::*handler)();
    } images[] = {
        {&Quendal::Image2, &Quendal::Image2_Click}, {&Quendal::Image3, &Quendal::Image3_Click},
        {&Quendal::Image8, &Quendal::Image8_Click}, {&Quendal::Image6, &Quendal::Image6_Click},
        {&Quendal::Image7, &Quendal::Image7_Click}, {&Quendal::Image5, &Quendal::Image5_Click},
    };
    for (const auto &[image, handler] : images)
        connect(this->*image, &ImageControl::clicked, this, handler);
}

void Quendal::Form_Load()
{
    Optionca->setChecked(true);
    Options->setChecked(false);
    Optionw->setChecked(false);
    Frameca->setVisible(true);
    Frames->setVisible(false);
    Framew->setVisible(false);
}

void Quendal::Optionca_Click()
{
    Frameca->setVisible(true);
    Frames->setVisible(false);
    Framew->setVisible(false);
}

void Quendal::Options_Click()
{
    Frameca->setVisible(false);
    Frames->setVisible(true);
    Framew->setVisible(false);
}

void Quendal::Optionw_Click()
{
    Frameca->setVisible(false);
    Frames->setVisible(false);
    Framew->setVisible(true);
}

void Quendal::Command1_Click()
{
    // Both checks always run, flow first, so an empty form shows both messages in turn.
    const bool flowEmpty = vbaStrCmp("", text(Textqa)) == 0;
    if (flowEmpty)
        rtcMsgBox(this, QString::fromUtf8(airFlowPrompt.data(), airFlowPrompt.size()));
    const bool pressureEmpty = vbaStrCmp("", text(Textpa)) == 0;
    if (pressureEmpty)
        rtcMsgBox(this, QString::fromUtf8(airPressurePrompt.data(), airPressurePrompt.size()));
    if (flowEmpty || pressureEmpty)
        return;

    calculate(Medium::Air, Textda, [&] {
        return airSizing(text(Textqa), text(Textpa), text(Textta), text(Textva),
                         decimalSeparator());
    });
}

void Quendal::Command2_Click()
{
    calculate(Medium::Water, Textdw,
              [&] { return waterSizing(text(Textqw), text(Textvw), decimalSeparator()); });
}

void Quendal::Command3_Click()
{
    calculate(Medium::Steam, Textds, [&] {
        return steamSizing(text(Textqs), text(Textus), text(Textvs), decimalSeparator());
    });
}

void Quendal::Image2_Click()
{
    Image2->setVisible(false);
    Image3->setVisible(true);
}

void Quendal::Image3_Click()
{
    Image3->setVisible(false);
    Image2->setVisible(true);
}

void Quendal::Image8_Click()
{
    Image8->setVisible(false);
    Image6->setVisible(true);
}

void Quendal::Image6_Click()
{
    Image6->setVisible(false);
    Image8->setVisible(true);
}

void Quendal::Image7_Click()
{
    Image7->setVisible(false);
    Image5->setVisible(true);
}

void Quendal::Image5_Click()
{
    Image5->setVisible(false);
    Image7->setVisible(true);
}

void Quendal::calculate(Medium medium, QLineEdit *result, const std::function<Sizing()> &formula)
{
    try {
        const Sizing sizing = formula();
        const std::string text = vbaStrR8(sizing.diameter, decimalSeparator());
        result->setText(QString::fromStdString(text));
        // A result is wider than its field; show its leading digits, as a text set by code is.
        result->setCursorPosition(0);
        // The pipe to choose goes beside the result, not into it: the result text stays as it is.
        result->setToolTip(
            QString::fromStdString(adviceText(advise(medium, sizing.flow, sizing.diameter))));
    } catch (const Failure &failure) {
        reportFailure(medium, failure, result);
    }
}

// A failed calculation must not cost the user anything typed: no result is written, nothing
// is cleared, and the field at fault is selected so it can be retyped at once.
void Quendal::reportFailure(Medium medium, const Failure &failure, QLineEdit *result)
{
    QApplication::beep();
    const QString message = QString::fromStdString(failureMessage(medium, failure));
    QToolTip::showText(result->mapToGlobal(QPoint(0, result->height())), message, result);
    QLineEdit *field = fieldFor(medium, failure.operand());
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

QLineEdit *Quendal::fieldFor(Medium medium, Operand operand) const
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
