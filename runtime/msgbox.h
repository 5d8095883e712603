#pragma once

class QString;
class QWidget;

namespace tovrik {

// A modal box with the prompt, an OK button only and no icon, titled with the application's
// title; returns when the user presses OK.
void rtcMsgBox(QWidget *parent, const QString &prompt);

} // namespace tovrik
