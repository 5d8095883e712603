#pragma once

#include <string_view>

namespace tovrik {

class Form;

// A modal box over the form with the prompt, an OK button only and no icon, titled with the
// application's title; returns when the user presses OK.
void rtcMsgBox(const Form &owner, std::string_view prompt);

} // namespace tovrik
