#include "window/steam.h"

#include "core/pipeline.h"
#include "forms/msgbox.h"
#include "window/definition.h"

namespace tovrik {

SteamVolumeDialog::SteamVolumeDialog(const Form &owner)
    : Form(steamForm(), &owner)
    , Textp(*this, steamctl::Textp)
    , Optiongauge(*this, steamctl::Optiongauge)
    , Optionabsolute(*this, steamctl::Optionabsolute)
    , Textts(*this, steamctl::Textts)
    , Command1(*this, steamctl::Command1)
    , Command2(*this, steamctl::Command2)
{
    Command1.onClick([this] { Command1_Click(); });
    Command2.onClick([this] { close(); });
}

void SteamVolumeDialog::Command1_Click()
{
    std::string error;
    Operand at = Operand::None;
    m_volume = steamVolumeText(Textp.text(),
                               Optiongauge.value() ? PressureKind::Gauge : PressureKind::Absolute,
                               Textts.text(), localeDecimalSeparator(), error, at);
    if (!error.empty()) {
        (at == Operand::Temperature ? Textts : Textp).selectForRetyping();
        rtcMsgBox(*this, error);
        return;
    }
    m_accepted = true;
    close();
}

} // namespace tovrik
