#pragma once

class QWidget;

// The Qt widgets behind a form and its controls, for tools and tests that drive or picture
// them; a window's handlers never use these.
namespace tovrik {

class Control;
class Form;

QWidget *nativeWindow(const Form &form);
QWidget *nativeWidget(const Control &control);

template<typename Widget = QWidget>
Widget *widget(const Control &control)
{
    return static_cast<Widget *>(nativeWidget(control));
}

} // namespace tovrik
