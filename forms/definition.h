#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// A window as data: a static table of controls measured in twips, and of menu items. Nothing is
// laid out at run time; controls keep their places when the window is resized. Plain C++: the
// form engine builds these into native controls, and tools and tests read them as they are.
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

// What a row may say beyond its kind, as flags in its options.
enum ControlOption : std::uint8_t {
    // A TextBox of many lines, broken at words, with a vertical scroll bar; its text's lines end
    // in "\n".
    MultiLine = 1,
    // A TextBox whose text the user can select and copy, but not change.
    ReadOnly = 2,
    // On a modeless form's client area: the control grows with the window (see stretchedRect).
    Stretch = 4,
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
    std::uint8_t options = 0; // ControlOption flags
};

inline bool hasOption(const ControlDef &def, ControlOption option)
{
    return (def.options & option) != 0;
}

enum class MenuKind : std::uint8_t {
    Menu, // a drop-down of the menu bar, or a submenu
    Command,
    Check, // shows a tick
    Radio, // one of the radio items next to each other in a menu, which form one choice
    Separator,
};

// One row of a form's menu, in the order the items show. Ids are the form's own, above 0.
struct MenuDef
{
    int id; // 0 for a separator
    int parent; // the id of the menu it is in; 0 for the menu bar
    MenuKind kind;
    const char *text; // UTF-8, & before the access key: "文件(&F)"
    const char *shortcut; // "Ctrl+S", "F1", or nullptr
};

// What a form is: its caption, client area, controls and menu. A dialog is modal over its
// owner, and its default and cancel buttons answer Enter and Esc; the main window has none.
// A modeless form is a sizable window of its own beside its owner, which it leaves usable; Esc
// closes it, and closing it only hides it.
struct FormDef
{
    const char *caption; // UTF-8
    int clientWidth, clientHeight; // twips
    std::span<const ControlDef> controls;
    std::span<const MenuDef> menu = {};
    int defaultButton = -1; // row index, or -1
    int cancelButton = -1;
    bool modeless = false;
};

struct PixelRect
{
    int x, y, width, height;
};

// The one place where twips become pixels: 1440 twips to the inch, 15 to a pixel at 96 dpi.
PixelRect twipsToPixels(int left, int top, int width, int height, int dpi);
// A control's rectangle in its container; a Line is a pixel thick for every 96 dpi.
PixelRect controlRect(const ControlDef &def, int dpi);

// A control's rectangle on a form's client area that is clientWidth x clientHeight pixels, not
// the definition's size. The first Stretch control on the form keeps its distances to the
// client area's right and bottom edges; of the form's other controls, those starting right of its
// centre keep their distance to the right edge, and those starting below its centre theirs to the
// bottom: a button under a stretched text stays under it. The rest stay where they are.
PixelRect stretchedRect(const FormDef &form, int index, int clientWidth, int clientHeight, int dpi);

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

// The key after the & of a caption or menu text, lower case, or 0: "文件(&F)" has f.
char accessKey(const char *text);

// A menu item's shortcut as its definition writes it: "Ctrl+S", "Ctrl+Shift+O", "F1".
struct Shortcut
{
    bool control = false;
    bool shift = false;
    bool alt = false;
    char letter = 0; // 'A' to 'Z' or '0' to '9'
    int function = 0; // F1 to F12
};
Shortcut parseShortcut(const char *text);

// The radio items of a menu next to each other, which form one choice: those beside an item.
std::vector<int> radioGroup(std::span<const MenuDef> menu, int id);

} // namespace tovrik
