#pragma once

#include "core/sizing.h"
#include "runtime/failure.h"
#include "runtime/form.h"

#include <functional>
#include <memory>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tovrik {

// The calculator's one window: three media, each with a panel of inputs, a calculate button and
// a result field, and a notice picture that swaps with its partner when clicked.
class Quendal : public Form
{
    Q_OBJECT

public:
    Quendal();

    ImageControl *const Image1;
    QRadioButton *const Optionca;
    QRadioButton *const Options;
    QRadioButton *const Optionw;
    QGroupBox *const Frameca;
    QGroupBox *const Frames;
    QGroupBox *const Framew;

    QLineEdit *const Textqa;
    QLineEdit *const Textpa;
    QLineEdit *const Textta;
    QLineEdit *const Textva;
    QPushButton *const Command1;
    QLineEdit *const Textda;
    ImageControl *const Image2;
    ImageControl *const Image3;

    QLineEdit *const Textqs;
    QLineEdit *const Textus;
    QLineEdit *const Textvs;
    QPushButton *const Command3;
    QLineEdit *const Textds;
    ImageControl *const Image8;
    ImageControl *const Image6;

    QLineEdit *const Textqw;
    QLineEdit *const Textvw;
    QPushButton *const Command2;
    QLineEdit *const Textdw;
    ImageControl *const Image7;
    ImageControl *const Image5;

protected:
    void Form_Load() override;

private:
    void Optionca_Click();
    void Options_Click();
    void Optionw_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Image2_Click();
    void Image3_Click();
    void Image8_Click();
    void Image6_Click();
    void Image7_Click();
    void Image5_Click();

    // Runs one formula; on success writes its text to the result field and the pipe to choose
    // to its tooltip, otherwise leaves the field alone and points the user at the input to mend.
    void calculate(Medium medium, QLineEdit *result, const std::function<Sizing()> &formula);
    void reportFailure(Medium medium, const Failure &failure, QLineEdit *result);
    QLineEdit *fieldFor(Medium medium, Operand operand) const;
};

std::unique_ptr<Form> createQuendal();

} // namespace tovrik
