#include "window/sheetinfo.h"

#include "forms/settings.h"
#include "window/definition.h"

namespace tovrik {

namespace {

// The fields stand in the particulars' order, each after its label.
int fieldBox(SheetField field)
{
    return sheetinfoctl::Textproject + 2 * int(field);
}
static_assert(sheetinfoctl::Textapprovaldate
              == sheetinfoctl::Textproject + 2 * int(SheetField::ApprovalDate));

std::string infoKey(const SheetFieldDef &def)
{
    return std::string("sheet/") + def.key;
}

} // namespace

SheetInfoDialog::SheetInfoDialog(const Form &owner, SheetInfo info)
    : Form(sheetInfoForm(), &owner)
    , m_info(std::move(info))
{
    CommandButton(*this, sheetinfoctl::Command1).onClick([this] {
        for (const SheetFieldDef &def : sheetFieldDefs())
            m_info[def.field] = TextBox(*this, fieldBox(def.field)).text();
        m_accepted = true;
        close();
    });
    CommandButton(*this, sheetinfoctl::Command2).onClick([this] { close(); });
}

void SheetInfoDialog::Form_Load()
{
    for (const SheetFieldDef &def : sheetFieldDefs())
        TextBox(*this, fieldBox(def.field)).setText(m_info[def.field]);
}

SheetInfo keptSheetInfo(std::vector<std::string> &damaged)
{
    // Any text is a particular: only what is no text at all is damaged.
    SheetInfo info;
    bool whole = true;
    for (const SheetFieldDef &def : sheetFieldDefs()) {
        const Setting kept = readSetting(infoKey(def));
        if (kept.state == Setting::Present)
            info[def.field] = kept.value;
        whole &= kept.state != Setting::Damaged;
    }
    if (!whole)
        damaged.emplace_back("计算书信息");
    return info;
}

bool keepSheetInfo(const SheetInfo &info)
{
    bool kept = true;
    for (const SheetFieldDef &def : sheetFieldDefs())
        kept &= writeSetting(infoKey(def), info[def.field]);
    return kept;
}

} // namespace tovrik
