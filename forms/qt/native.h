#pragma once

class QWidget;

// The Qt widgets behind a form and its controls, for tools and tests that drive or picture
// them; a window's handlers never use these.
namespace tovrik {

class Control;
class Form;

// The top-level window, with its title and menu bar.
QWidget *nativeWindow(const Form &form);
// The window's client area, which holds the controls: below the menu bar, if there is one.
QWidget *nativeClient(const Form &form);
QWidget *nativeWidget(const Control &control);

template<typename Widget = QWidget>
Widget *widget(const Control &control)
{
    return static_cast<Widget *>(nativeWidget(control));
}

} // namespace tovrik
