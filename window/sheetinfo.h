#pragma once

#include "core/sheet.h"
#include "forms/form.h"

#include <string>
#include <vector>

namespace tovrik {

// 计算书信息…: the title block and sign-off of every sheet the window writes, one field for
// each; a field left empty is a blank cell on the sheet, to be filled in by hand.
class SheetInfoDialog : public Form
{
public:
    SheetInfoDialog(const Form &owner, SheetInfo info);

    bool accepted() const { return m_accepted; }
    const SheetInfo &info() const { return m_info; }

protected:
    void Form_Load() override;

private:
    SheetInfo m_info;
    bool m_accepted = false;
};

// The particulars as kept between runs, under "sheet/project" and the like; where the store
// holds something that is no text, the field is empty and "计算书信息" is added to damaged.
SheetInfo keptSheetInfo(std::vector<std::string> &damaged);
// False if some of it could not be kept.
bool keepSheetInfo(const SheetInfo &info);

} // namespace tovrik
