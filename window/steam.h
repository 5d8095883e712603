#pragma once

#include "forms/form.h"

#include <string>

namespace tovrik {

// 由压力求比容…: the specific volume of steam at a pressure, saturated or, with its temperature,
// superheated, as IAPWS-IF97 gives it. 确定 keeps it only when the steam can be had; the volume
// then goes to the steam panel's u field, where the user sees it and may change it.
class SteamVolumeDialog : public Form
{
public:
    explicit SteamVolumeDialog(const Form &owner);

    const TextBox Textp;
    const OptionButton Optiongauge;
    const OptionButton Optionabsolute;
    const TextBox Textts;
    const CommandButton Command1; // 确定
    const CommandButton Command2; // 取消

    bool accepted() const { return m_accepted; }
    // The volume found, to six significant figures as the u field takes it.
    const std::string &volume() const { return m_volume; }

private:
    void Command1_Click();

    bool m_accepted = false;
    std::string m_volume;
};

} // namespace tovrik
