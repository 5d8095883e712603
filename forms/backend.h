#pragma once

#include "forms/definition.h"
#include "forms/settings.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the form engine needs of a toolkit. The engine (forms/form.cpp) holds every rule of how
// a form behaves; a backend (forms/qt, forms/win32) only makes native controls, reads and
// sets their state, and reports what the user does to them. A third toolkit supplies this
// interface and nothing else.
namespace tovrik {

// The keys the engine has rules for; the backend reports the others as Other and handles them.
struct Key
{
    enum Code : std::uint8_t { Tab, Left, Right, Up, Down, Enter, Escape, A, Other } code;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// What the system's file dialog asks for.
struct FileChoice
{
    bool save = false; // a file to write, which the dialog asks before it replaces; else to read
    std::string title; // UTF-8
    std::string folder; // where it starts, or empty for the system's choice
    std::string name; // the name it suggests, for a file to write
    std::string filterName; // "网页": the kind of file, which the dialog shows with the pattern
    std::string pattern; // "*.html"; a name to save typed without an extension is given it
};

// What the user did, as the backend reports it to the engine.
class FormEvents
{
public:
    // A command button pressed, an option button or a picture clicked.
    virtual void clicked(int index) = 0;
    // A key pressed in the control that has focus (or -1 for the window itself). True when the
    // engine used it up, and the toolkit must not act on it too.
    virtual bool keyPressed(int focused, Key key) = 0;
    // The user moved the focus out of a control (not merely to another window).
    virtual void focusLost(int index) = 0;
    virtual void menuChosen(int id) = 0;
    // The user asked to close the window: its close box, Alt+F4, the system. True lets the
    // backend close it as close() does; false keeps it open.
    virtual bool closeRequested() = 0;

protected:
    ~FormEvents() = default;
};

// The primitives. Indexes are rows of the form's definition.
class FormBackend
{
public:
    virtual ~FormBackend() = default;

    // A modeless form shows the first time beside its owner (besideOwner), and again where the
    // user left it.
    virtual void show() = 0;
    // Until it is closed, for a dialog; returns at once for the main window.
    virtual void showModal() = 0;
    // Ends a dialog, hides a modeless form (and a main window's modeless forms with it), and
    // destroys the main window.
    virtual void close() = 0;
    // Whether the window is on the screen.
    virtual bool isShown() const = 0;

    // The Visible property as set, whether or not a container is showing.
    virtual bool visible(int index) const = 0;
    virtual void setVisible(int index, bool visible) = 0;
    // Visible, in containers that are all showing: what the user can reach.
    virtual bool shown(int index) const = 0;

    virtual std::string text(int index) const = 0; // UTF-8
    // Sets a text box's text with its leading characters in view.
    virtual void setText(int index, std::string_view text) = 0;
    // Brings a text box's leading characters into view, the caret before them.
    virtual void showStart(int index) = 0;
    virtual void selectAll(int index) = 0;
    virtual void setToolTip(int index, std::string_view text) = 0;
    // Draws a text box's text in the system's grey, or again in its own colour.
    virtual void setGreyed(int index, bool greyed) = 0;

    virtual bool checked(int index) const = 0;
    virtual void setChecked(int index, bool checked) = 0;

    virtual int focused() const = 0; // the row with focus, or -1
    virtual void focus(int index) = 0;

    virtual void beep() = 0;
    // A balloon below a control that stays until the user types or clicks, the window moves, or
    // a few seconds pass; one at a time.
    virtual void showBalloon(int index, std::string_view text) = 0;
    // A modal box with an OK button only, titled with the application title.
    virtual void messageBox(std::string_view text) = 0;

    virtual void setMenuEnabled(int id, bool enabled) = 0;
    virtual void setMenuChecked(int id, bool checked) = 0;

    // The system's dialog: the chosen file's path in UTF-8, or none if the user cancelled.
    virtual std::optional<std::string> chooseFile(const FileChoice &choice) = 0;
    // A modal question with 是 and 否, titled with the application title; true for 是.
    virtual bool ask(std::string_view question) = 0;
    // Opens a file as the system opens it: a web page in the user's browser. False if it could
    // not be handed over.
    virtual bool openExternally(std::string_view path) = 0;
    // A box of how far a long job has got, over the window, with the words of what it does and
    // a 取消 button; a percent below 0 puts it away. What happened meanwhile is handled as it
    // comes, except the user's input to anything but the box: the job's window, and the others,
    // wait for it. False once the user asked to stop in the box: its button, Esc, its close box.
    virtual bool progress(std::string_view text, int percent) = 0;
};

// The settings store of this build, asked by forms/settings.cpp once it has checked the key and
// named the place ("Tovrik"): the key's words, the last of which names the value.
Setting readStoredSetting(const std::string &place, const std::vector<std::string> &words);
bool writeStoredSetting(const std::string &place, const std::vector<std::string> &words,
                        std::string_view value);
// Everything kept at the place; true once nothing is.
bool clearStoredSettings(const std::string &place);

// Where a modeless form first shows, as its owner's window and the screen's work area give it
// (in the same pixels): gap to the right of the owner, tops aligned, and moved back as far as it
// must to lie on the screen.
PixelRect besideOwner(const PixelRect &owner, int width, int height, const PixelRect &screen,
                      int gap);

class Form;

// The backend of this build, for a form being made. The owner is the form a dialog belongs to.
std::unique_ptr<FormBackend> makeFormBackend(const FormDef &definition, FormEvents &events,
                                             const Form *owner);

} // namespace tovrik
