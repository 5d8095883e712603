#pragma once

#include "forms/form.h"

namespace tovrik {

// 计算详情: what the command line prints for the shown panel's last calculation, in a window
// beside the main one that stays open while the user works on; its text can be selected and
// copied, not changed.
class DetailsWindow : public Form
{
public:
    explicit DetailsWindow(const Form &owner);

    const TextBox Textd;
    const CommandButton Command1; // 关闭
};

} // namespace tovrik
