#include "forms/msgbox.h"

#include "forms/form.h"

namespace tovrik {

void rtcMsgBox(const Form &owner, std::string_view prompt)
{
    owner.backend().messageBox(prompt);
}

} // namespace tovrik
