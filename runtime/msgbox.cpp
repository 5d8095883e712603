#include "runtime/msgbox.h"

#include "runtime/form.h"

namespace tovrik {

void rtcMsgBox(const Form &owner, std::string_view prompt)
{
    owner.backend().messageBox(prompt);
}

} // namespace tovrik
