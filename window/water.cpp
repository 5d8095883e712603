#include "window/water.h"

#include "core/pipeline.h"
#include "forms/msgbox.h"
#include "window/definition.h"

namespace tovrik {

WaterDialog::WaterDialog(const Form &owner, std::string temperature, std::string pressure)
    : Form(waterForm(), &owner)
    , Texttw(*this, waterctl::Texttw)
    , Textpw(*this, waterctl::Textpw)
    , Command1(*this, waterctl::Command1)
    , Command2(*this, waterctl::Command2)
    , m_temperature(std::move(temperature))
    , m_pressure(std::move(pressure))
{
    Command1.onClick([this] { Command1_Click(); });
    Command2.onClick([this] { close(); });
}

void WaterDialog::Form_Load()
{
    Texttw.setText(m_temperature);
    Textpw.setText(m_pressure);
}

// Checked as the aids will take them, so that a value they cannot use is mended here, not found
// missing from the advice later.
void WaterDialog::Command1_Click()
{
    Operand at = Operand::None;
    const std::string message
        = checkWaterConditions(Texttw.text(), Textpw.text(), localeDecimalSeparator(), at);
    if (!message.empty()) {
        // The field first: once the box is closed the focus comes back to it, ready to retype.
        (at == Operand::Pressure ? Textpw : Texttw).selectForRetyping();
        rtcMsgBox(*this, message);
        return;
    }
    m_accepted = true;
    close();
}

} // namespace tovrik
