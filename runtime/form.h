#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A small form engine: a window is a static table of controls measured in twips, built once
// into native controls by one backend per build (Qt Widgets, or Win32). Nothing is laid out at
// run time; controls keep their places when the window is resized. This header is the whole
// of what a window's handlers may use, and names no toolkit.
namespace tovrik {

enum class ControlKind : std::uint8_t {
    Frame,
    OptionButton,
    TextBox,
    Label,
    CommandButton,
    Image,
    Line,
};

struct FontSpec
{
    const char *family; // UTF-8
    double pointSize;
    int weight; // 400 is regular
};

inline constexpr std::uint32_t defaultColour = 0xFFFFFFFF;
inline constexpr int noTabIndex = -1;
inline constexpr int onForm = -1;

// One row of a form's definition. Positions are twips relative to the container: the form's
// client area, or the frame's outer rectangle. A Line runs from (left, top) to
// (left + width, top + height).
struct ControlDef
{
    ControlKind kind;
    const char *name;
    int container; // index of a Frame row earlier in the table, or onForm
    const char *caption; // UTF-8; for an Image, its picture's path under resources/
    int left, top, width, height;
    int tabIndex;
    const FontSpec *font; // nullptr: the application's default font
    std::uint32_t foreColour; // 0x00BBGGRR, or defaultColour
    bool visible;
    bool value; // OptionButton: selected at start
};

struct PixelRect
{
    int x, y, width, height;
};

// The one place where twips become pixels: 1440 twips to the inch, 15 to a pixel at 96 dpi.
PixelRect twipsToPixels(int left, int top, int width, int height, int dpi);
// A control's rectangle in its container; a Line is a pixel thick for every 96 dpi.
PixelRect controlRect(const ControlDef &def, int dpi);

bool takesFocus(ControlKind kind);

// What every backend derives alike from a definition.
struct FormStructure
{
    // The controls that can take focus, in ascending tab index.
    std::vector<int> tabChain;
    // Each input label with the field lying on it, which is the field the label names.
    std::vector<std::pair<int, int>> buddies;
    // The option buttons sitting directly in one container form one group, in table order.
    std::vector<std::vector<int>> optionGroups;
};
FormStructure structureOf(std::span<const ControlDef> definition);

class Form;
class NativeForm; // the backend's own

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

    std::string text() const; // UTF-8
    // Shows the leading characters of a text longer than the field, as a text set by code is.
    void setText(std::string_view text) const;
    std::string toolTip() const;
    void setToolTip(std::string_view text) const;
};

class OptionButton : public Control
{
public:
    using Control::Control;

    bool value() const;
    // Selecting a button clears the others of its group and raises its click.
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

class Form
{
public:
    Form(const char *caption, int clientWidthTwips, int clientHeightTwips,
         std::span<const ControlDef> definition);
    virtual ~Form();
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    // Raises the load event once, before the form is first shown.
    void load() { Form_Load(); }
    void show();
    std::span<const ControlDef> definition() const { return m_definition; }
    NativeForm &native() const { return *m_native; }

    // A calculation failed: beeps, shows the message in a balloon at the result field, which
    // is marked as not current until text is next written to it, and puts the focus on the
    // field at fault with its text selected, so it can be retyped at once.
    void reportFailure(const TextBox &result, const TextBox &field, std::string_view message);

protected:
    virtual void Form_Load() { }

private:
    std::span<const ControlDef> m_definition;
    std::unique_ptr<NativeForm> m_native;
};

// The decimal separator of the user's locale, which typed numbers and results use.
char32_t localeDecimalSeparator();

} // namespace tovrik
