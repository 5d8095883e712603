#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The Win32 windows behind a form and its controls, and the runtime's message handling, for
// the start-up code and for tests that drive the window as a user would; a window's handlers
// never use these.
namespace tovrik {

class Control;
class Form;

HWND nativeWindow(const Form &form);
// The box a long job shows over the form while it runs (its 取消 button is IDCANCEL), or none.
HWND progressWindow(const Form &form);
// nullptr for a Label, Line or Image, which its container draws.
HWND nativeHandle(const Control &control);
// Visible, in a container that is showing.
bool isShown(const Control &control);
// Where the control lies in the form's client area.
RECT rectInClient(const Control &control);
// A menu item's command, as WM_COMMAND carries it, and the table of the menu's shortcuts.
UINT menuCommand(int id);
HACCEL nativeAccelerators(const Form &form);
// The dots per inch the form is laid out at.
int formDpi(const Form &form);

// The runtime's own keyboard handling, before a message is dispatched: Tab and Shift+Tab along
// the tab chain, the arrow keys within an option group, Enter and Esc pressing nothing, and
// any key or click putting a failure balloon away. True when the message was used up.
bool preTranslateMessage(MSG &message);
// Handles every message waiting, as the message loop would.
void processEvents();

// The failure balloon's text while it shows; empty when it does not.
std::wstring balloonText(const Form &form);
HWND balloonWindow(const Form &form);
// The tooltip control that shows the controls' tips.
HWND toolTipWindow(const Form &form);

} // namespace tovrik
