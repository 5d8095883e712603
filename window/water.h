#pragma once

#include "forms/form.h"

#include <string>

namespace tovrik {

// 水温和压力: the water's temperature and absolute pressure that the aids take for water, which
// the water panel has no fields for. 确定 keeps them only when the aids can use them.
class WaterDialog : public Form
{
public:
    WaterDialog(const Form &owner, std::string temperature, std::string pressure);

    const TextBox Texttw;
    const TextBox Textpw;
    const CommandButton Command1; // 确定
    const CommandButton Command2; // 取消

    bool accepted() const { return m_accepted; }

protected:
    void Form_Load() override;

private:
    void Command1_Click();

    std::string m_temperature, m_pressure;
    bool m_accepted = false;
};

} // namespace tovrik
