#pragma once

#include "forms/backend.h"
#include "forms/definition.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A small form engine: a window is a static table of controls and menu items (definition.h),
// built once into native controls by one backend per build (Qt Widgets, or Win32). This header
// is the whole of what a window's handlers may use, and names no toolkit.
namespace tovrik {

class Form;

// A control of a form, by its row in the form's definition: a cheap handle, valid as long as
// its form. The properties are the runtime's intrinsic ones.
class Control
{
public:
    Control(Form &form, int index)
        : m_form(&form)
        , m_index(index)
    {
    }

    int index() const { return m_index; }
    Form &form() const { return *m_form; }
    // The Visible property as set, whether or not a container is showing.
    bool visible() const;
    // A frame shown or hidden shows or hides what it holds; a control hidden while it has the
    // focus passes it on along the tab chain.
    void setVisible(bool visible) const;

protected:
    // What the control's click, or its selection, runs.
    void setClickHandler(std::function<void()> handler) const;

private:
    Form *m_form;
    int m_index;
};

class TextBox : public Control
{
public:
    using Control::Control;

    std::string text() const; // UTF-8; a MultiLine box's lines end in "\n"
    // Shows the leading characters of a text longer than the box, as a text set by code is (a
    // MultiLine box its first lines), and the text in the box's own colour again if a failure had
    // greyed it.
    void setText(std::string_view text) const;
    std::string toolTip() const;
    void setToolTip(std::string_view text) const;
    // Puts the focus on the box with its whole text selected, so that typing replaces it.
    void selectForRetyping() const;
};

class OptionButton : public Control
{
public:
    using Control::Control;

    bool value() const;
    // True selects the button: the others of its group are cleared, and the button's click is
    // raised unless it was selected already. False clears the button alone, raising nothing, so
    // that for a moment no button of the group may be selected.
    void setValue(bool value) const;
    // Raised when the button becomes selected, by a click or by the arrow keys.
    void onClick(std::function<void()> handler) const { setClickHandler(std::move(handler)); }
};

class CommandButton : public Control
{
public:
    using Control::Control;

    void onClick(std::function<void()> handler) const { setClickHandler(std::move(handler)); }
};

class Image : public Control
{
public:
    using Control::Control;

    void onClick(std::function<void()> handler) const { setClickHandler(std::move(handler)); }
};

class Frame : public Control
{
public:
    using Control::Control;
};

class Form : private FormEvents
{
public:
    // A dialog names the form it belongs to, over which it shows modal; a modeless form the one
    // it shows beside.
    explicit Form(const FormDef &definition, const Form *owner = nullptr);
    virtual ~Form();
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    // Raises the load event once, before the form is first shown.
    void load() { Form_Load(); }
    // Shows the form with the focus on the first stop of its tab chain. A modeless form shows
    // and returns: the first time to the right of its owner, then where the user left it.
    void show();
    // Shows a dialog and returns when it is closed.
    void showModal();
    // Closes the form without asking Form_QueryUnload. A modeless form is hidden, its controls
    // kept, so that its text can still be set; the main window takes its modeless forms with it.
    void close();
    // Whether the form's window is on the screen.
    bool isShown() const;

    const FormDef &definition() const { return m_definition; }
    std::span<const ControlDef> controls() const { return m_definition.controls; }
    FormBackend &backend() const { return *m_backend; }

    // A calculation failed: beeps, shows the message in a balloon at the result field, which is
    // greyed as not current until text is next written to it, and puts the focus on the field at
    // fault with its text selected, so it can be retyped at once.
    void reportFailure(const TextBox &result, const TextBox &field, std::string_view message);

    std::optional<std::string> chooseFile(const FileChoice &choice) const
    {
        return m_backend->chooseFile(choice);
    }
    bool ask(std::string_view question) const { return m_backend->ask(question); }
    bool openExternally(std::string_view path) const { return m_backend->openExternally(path); }
    // A long job's progress, shown only once the job has taken longer than a moment, in a box
    // with a 取消 button over the window; the user's input reaches only that box meanwhile. The
    // job is from its first call to a call with a percent below 0, which ends it. False once the
    // user has asked the job to stop: the box's 取消 (or Esc, or its close box), or closing this
    // form's window, which stays open until the job has ended and closes then, at the ending
    // call. The job then stops, and ends with that call; if the form closed there, isShown() is
    // false after it, and nothing should be said in it.
    bool progress(std::string_view text, int percent);
    // How long a job runs before its box shows: a moment (400 ms) unless changed, for every form
    // of the program; tests make it zero to see the box at the first call.
    static void setProgressDelay(std::chrono::milliseconds delay);

    // The menu, as the definition gives it: what an item runs, and its state.
    void onMenu(int id, std::function<void()> handler);
    void setMenuEnabled(int id, bool enabled);
    void setMenuChecked(int id, bool checked);
    bool menuChecked(int id) const;

protected:
    virtual void Form_Load() { }
    // The user asked to close the form (its close box, Alt+F4, Esc on a modeless form): false
    // keeps it open. Not asked while a job runs, which closing stops first, nor by close().
    virtual bool Form_QueryUnload() { return true; }

private:
    friend class Control;
    friend class TextBox;
    friend class OptionButton;

    struct ControlState
    {
        std::function<void()> click;
        std::string toolTip;
        bool greyed = false; // a result no longer current
    };

    // FormEvents: the rules of the engine.
    void clicked(int index) override;
    bool keyPressed(int focused, Key key) override;
    void focusLost(int index) override;
    void menuChosen(int id) override;
    bool closeRequested() override;

    const ControlDef &def(int index) const { return m_definition.controls[std::size_t(index)]; }
    void raiseClick(int index);
    void select(int index);
    bool isTabStop(int index) const;
    void tab(int step);
    void arrow(int focused, int step);
    void setGreyed(int index, bool greyed);

    FormDef m_definition;
    FormStructure m_structure;
    std::vector<ControlState> m_controls;
    std::vector<std::pair<int, std::function<void()>>> m_menuHandlers;
    std::vector<std::pair<int, bool>> m_menuChecked;
    // A long job, from its first progress() to its end.
    struct Job
    {
        std::optional<std::chrono::steady_clock::time_point> since; // none: no job runs
        bool boxShown = false;
        bool stopAsked = false;
        bool closePending = false; // the window closes when the job has ended
    };
    Job m_job;
    std::unique_ptr<FormBackend> m_backend;
};

// The decimal separator of the user's locale, which typed numbers and results use.
char32_t localeDecimalSeparator();

} // namespace tovrik
