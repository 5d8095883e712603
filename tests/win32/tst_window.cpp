// The window on its Win32 backend, driven through its real controls under Wine (or Windows):
// messages posted to the controls as a user's clicks and keys would arrive, and everything
// read back from the native windows.

#include "app/project.h"
#include "base/utf8.h"
#include "forms/settings.h"
#include "forms/thunrt.h"
#include "forms/win32/native.h"
#include "forms/wrap.h"
#include "tests/menus.h"
#include "tests/rules.h"
#include "tests/scenarios.h"
#include "tests/tips.h"
#include "tests/vectors.h"
#include "tests/win32/harness.h"
#include "window/definition.h"
#include "window/line.h"
#include "window/quendal.h"
#include "window/sheetinfo.h"
#include "window/steam.h"
#include "window/water.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <vector>

using namespace tovrik;

namespace {

struct Rect
{
    int x, y, width, height;
    bool operator==(const Rect &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Rect &r)
{
    return out << r.x << ',' << r.y << ' ' << r.width << 'x' << r.height;
}

std::unique_ptr<Quendal> quendal;

// The window as the program starts it; the first time, with nothing kept from an earlier run.
void start(bool firstRun = true)
{
    if (firstRun)
        clearSettings();
    quendal = std::make_unique<Quendal>();
    quendal->load();
    quendal->show();
    processEvents();
}

HWND form()
{
    return nativeWindow(*quendal);
}

HWND handle(int index)
{
    return nativeHandle(Control(*quendal, index));
}

// A control's rectangle in the window's client area.
Rect rectOf(int index)
{
    const RECT r = rectInClient(Control(*quendal, index));
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Rect clientRect()
{
    RECT r;
    GetClientRect(form(), &r);
    return {0, 0, r.right, r.bottom};
}

// A click at the control's centre, delivered to the window under it: the control's own, or for
// a picture, which has none, its container's.
void click(const Control &control)
{
    const RECT r = rectInClient(control);
    POINT at {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    HWND hwnd = form();
    for (;;) {
        POINT inside = at;
        MapWindowPoints(form(), hwnd, &inside, 1);
        HWND child = ChildWindowFromPointEx(hwnd, inside, CWP_SKIPINVISIBLE);
        if (!child || child == hwnd)
            break;
        hwnd = child;
    }
    MapWindowPoints(form(), hwnd, &at, 1);
    const LPARAM centre = MAKELPARAM(at.x, at.y);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, centre);
    processEvents();
}

void key(UINT vk)
{
    PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
    PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000001);
    processEvents();
}

// Types into a field as the keyboard would, over whatever it held.
void type(const TextBox &field, const std::string &text)
{
    HWND edit = nativeHandle(field);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    PostMessageW(edit, WM_KEYDOWN, VK_DELETE, 1);
    for (const wchar_t c : toWide(text))
        PostMessageW(edit, WM_CHAR, c, 1);
    processEvents();
}

// A key with Shift and Ctrl held as the key says, to whatever has the focus.
void key(Key key)
{
    static constexpr UINT keys[]
        = {VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE, 'A', 0};
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = key.shift ? 0x80 : 0;
    state[VK_CONTROL] = key.control ? 0x80 : 0;
    SetKeyboardState(state);
    ::key(keys[key.code]);
    state[VK_SHIFT] = 0;
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
}

// The colour a field's text is drawn in, as the window answers the field's own question.
COLORREF textColour(const TextBox &field)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(form(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(nativeHandle(field)));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

std::string selectedText(const TextBox &field)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(nativeHandle(field), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return field.text().empty() ? std::string()
                                : toUtf8(toWide(field.text()).substr(start, end - start));
}

// Every message box shown while a click is handled: read from the real box, then closed with
// its only button, as a user would.
struct Box
{
    std::string title, text, buttons;
    bool icon = false;
};
std::vector<Box> boxes;

BOOL CALLBACK readBoxChild(HWND child, LPARAM into)
{
    auto &box = *reinterpret_cast<Box *>(into);
    wchar_t name[32];
    wchar_t text[512];
    GetClassNameW(child, name, 32);
    GetWindowTextW(child, text, 512);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (!IsWindowVisible(child))
        return TRUE;
    if (lstrcmpiW(name, L"Button") == 0)
        box.buttons += toUtf8(text);
    else if (lstrcmpiW(name, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
        box.icon |= SendMessageW(child, STM_GETICON, 0, 0) != 0;
    else if (lstrcmpiW(name, L"Static") == 0 && text[0])
        box.text += toUtf8(text);
    return TRUE;
}

std::wstring pressing; // the caption's start of the button to close a box with; empty: OK

// The button of a box whose caption, without its &, begins with pressing.
BOOL CALLBACK findButton(HWND child, LPARAM into)
{
    wchar_t name[32];
    wchar_t text[64];
    GetClassNameW(child, name, 32);
    GetWindowTextW(child, text, 64);
    std::wstring caption = text;
    std::erase(caption, L'&');
    if (lstrcmpiW(name, L"Button") == 0 && caption.starts_with(pressing)) {
        *reinterpret_cast<int *>(into) = GetDlgCtrlID(child);
        return FALSE;
    }
    return TRUE;
}

void CALLBACK watchForBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || !IsWindowVisible(box))
        return;
    Box seen;
    wchar_t title[256];
    GetWindowTextW(box, title, 256);
    seen.title = toUtf8(title);
    EnumChildWindows(box, readBoxChild, reinterpret_cast<LPARAM>(&seen));
    boxes.push_back(seen);
    int button = IDOK;
    if (!pressing.empty())
        EnumChildWindows(box, findButton, reinterpret_cast<LPARAM>(&button));
    PostMessageW(box, WM_COMMAND, WPARAM(button), 0);
}

// The window as it starts, beyond what the scenarios see: its caption, frame and icon.
void identity()
{
    start();
    wchar_t caption[64];
    GetWindowTextW(form(), caption, 64);
    CHECK_EQ(toUtf8(caption), "Quendal");
    const LONG style = GetWindowLongW(form(), GWL_STYLE);
    CHECK((style & WS_THICKFRAME) && (style & WS_MINIMIZEBOX) && (style & WS_MAXIMIZEBOX)
          && (style & WS_SYSMENU));
    CHECK(SendMessageW(form(), WM_GETICON, ICON_SMALL, 0) != 0);
}

// A screen reader takes a button's role from its class and style: the three are heard as option
// buttons, which BS_RADIOBUTTON makes them. (Wine's oleacc has no proxy for buttons to ask.)
void optionButtons()
{
    start();
    for (const OptionButton *button : {&quendal->Optionca, &quendal->Options, &quendal->Optionw}) {
        harness::context = quendalDefinition()[std::size_t(button->index())].name;
        wchar_t name[16] = {};
        GetClassNameW(nativeHandle(*button), name, 16);
        CHECK_EQ(toUtf8(name), "Button");
        CHECK_EQ(GetWindowLongW(nativeHandle(*button), GWL_STYLE) & BS_TYPEMASK,
                 LONG(BS_RADIOBUTTON));
    }
}

void setDpi(int dpi)
{
    RECT suggested;
    GetWindowRect(form(), &suggested);
    SendMessageW(form(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    processEvents();
}

// At 192 dpi every control is exactly twice as large as at 96 dpi, where the scenarios hold
// their rectangles to the twips.
void geometryAtTwoDpis()
{
    start();
    CHECK_EQ(formDpi(*quendal), 96);
    std::vector<Rect> at96;
    for (int i = 0; i < ctl::Count; ++i)
        at96.push_back(rectOf(i));

    setDpi(192);
    harness::context = "192 dpi";
    CHECK_EQ(formDpi(*quendal), 192);
    CHECK_EQ(clientRect(), (Rect {0, 0, 788, 986}));
    for (int i = 0; i < ctl::Count; ++i) {
        harness::context = std::string("192 dpi, ") + quendalDefinition()[std::size_t(i)].name;
        const Rect r = at96[std::size_t(i)];
        CHECK_EQ(rectOf(i), (Rect {2 * r.x, 2 * r.y, 2 * r.width, 2 * r.height}));
    }
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(handle(ctl::Textda), WM_GETFONT, 0, 0));
    LOGFONTW result {};
    GetObjectW(font, sizeof result, &result);
    CHECK_EQ(result.lfHeight, -38); // 14.25 pt at 192 dpi
    setDpi(96);
}

void fonts()
{
    start();
    const struct
    {
        int index;
        LONG height;
    } rows[] = {{ctl::Label1, -12},
                {ctl::Optionca, -12},
                {ctl::Textqa, -12},
                {ctl::Textda, -19},
                {ctl::Label5, -19}};
    for (const auto &row : rows) {
        harness::context = quendalDefinition()[std::size_t(row.index)].name;
        LOGFONTW font {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(handle(row.index), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        CHECK_EQ(toUtf8(font.lfFaceName), "宋体");
        CHECK_EQ(font.lfHeight, row.height);
        CHECK_EQ(int(font.lfCharSet), GB2312_CHARSET);
        CHECK_EQ(font.lfWeight, LONG(FW_NORMAL));
    }
    // The caption's 12 blanks lie under the field, the unit just right of it: 16 + 2 columns of
    // 6 pixels after the label's left, in the replacement font's 12-pixel strike.
    HDC dc = GetDC(handle(ctl::Textqa));
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(handle(ctl::Textqa), WM_GETFONT, 0, 0)));
    SIZE described;
    SIZE blanks;
    GetTextExtentPoint32W(dc, L"压缩空气标态流量Q=", 10, &described);
    GetTextExtentPoint32W(dc, L"            ", 12, &blanks);
    ReleaseDC(handle(ctl::Textqa), dc);
    harness::context = "caption layout";
    CHECK_EQ(rectOf(ctl::Label1).x + described.cx, 268);
    CHECK_EQ(blanks.cx, 72);
}

// The pixels on the screen where a control lies, as the user sees them.
std::vector<COLORREF> pixelsOf(const Control &control)
{
    RECT r = rectInClient(control);
    MapWindowPoints(form(), nullptr, reinterpret_cast<POINT *>(&r), 2);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            pixels.push_back(GetPixel(screen, x, y));
    }
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Lines and pictures have no windows of their own, and a caption lies under its field: what
// the screen shows is what the user reads.
void drawing()
{
    start();
    SetForegroundWindow(form());
    RedrawWindow(form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    processEvents();
    constexpr COLORREF grey = RGB(192, 192, 192), magenta = RGB(255, 0, 255),
                       yellow = RGB(255, 255, 0), black = RGB(0, 0, 0);
    const auto count = [](const std::vector<COLORREF> &pixels, COLORREF colour) {
        return std::count(pixels.begin(), pixels.end(), colour);
    };
    // 压缩空气's option button overlaps the picture's last column (2160 against 120 + 2055
    // twips), as it does in the original: that column is the button's.
    std::vector<COLORREF> reference = pixelsOf(quendal->Image1);
    for (std::size_t row = 0; row < 479; ++row)
        reference[row * 137 + 136] = grey;
    harness::context = "reference picture";
    CHECK_EQ(std::size_t(count(reference, grey) + count(reference, magenta)), reference.size());
    CHECK(count(reference, magenta) > 1000);
    harness::context = "separator line";
    const std::vector<COLORREF> line = pixelsOf(Control(*quendal, ctl::Line1));
    CHECK_EQ(std::size_t(count(line, black)), line.size());
    harness::context = "caption";
    CHECK(count(pixelsOf(Control(*quendal, ctl::Label1)), black) > 100);
    harness::context = "notice swapped";
    CHECK_EQ(count(pixelsOf(quendal->Image2), yellow), 0);
    click(quendal->Image2);
    RedrawWindow(form(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::vector<COLORREF> contact = pixelsOf(quendal->Image3);
    CHECK(count(contact, yellow) > 100);
    CHECK_EQ(std::size_t(count(contact, grey) + count(contact, magenta) + count(contact, yellow)),
             contact.size());

    // Every rule of the reference sheet's table, as the user sees it at 96 and at 192 dpi.
    const auto rulesOnScreen = [&] {
        RedrawWindow(form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        processEvents();
        const RECT r = rectInClient(quendal->Image1);
        const int width = r.right - r.left;
        const std::vector<COLORREF> pixels = pixelsOf(quendal->Image1);
        return rulesOf(width, r.bottom - r.top,
                       [&](int x, int y) { return pixels[std::size_t(y * width + x)] == magenta; });
    };
    harness::context = "reference rules at 96 dpi";
    CHECK_EQ(rulesOnScreen(), (Rules {23, 3}));
    setDpi(192);
    harness::context = "reference rules at 192 dpi";
    CHECK_EQ(rulesOnScreen(), (Rules {23, 3}));
    setDpi(96);
}

void setDpi(HWND window, int dpi)
{
    RECT suggested;
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    processEvents();
}

// The labels of a form whose text, as their static control draws it in its font, needs more
// room than the label has.
std::string labelsCutShort(Form &form)
{
    std::string cut;
    for (int i = 0; i < int(form.controls().size()); ++i) {
        HWND label = nativeHandle(Control(form, i));
        if (form.controls()[std::size_t(i)].kind != ControlKind::Label || !label)
            continue;
        RECT room;
        GetClientRect(label, &room);
        wchar_t text[256] = {};
        GetWindowTextW(label, text, 256);
        HDC dc = GetDC(label);
        const HGDIOBJ was
            = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        RECT needed = room;
        DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
        SelectObject(dc, was);
        ReleaseDC(label, dc);
        if (needed.right > room.right || needed.bottom > room.bottom)
            cut += std::string(form.controls()[std::size_t(i)].name) + " needs "
                + std::to_string(needed.right) + "x" + std::to_string(needed.bottom) + " in "
                + std::to_string(room.right) + "x" + std::to_string(room.bottom) + "; ";
    }
    return cut;
}

// Every label shows its whole text, in the window and in its dialogs, at 96 and 192 dpi.
void labelsShowTheirWholeText()
{
    start();
    WaterDialog water(*quendal, "", "");
    LineDialog line(*quendal, Medium::Air, {});
    SteamVolumeDialog steam(*quendal);
    SheetInfoDialog sheetInfo(*quendal, {});
    Form *const dialogs[] = {&water, &line, &steam, &sheetInfo};
    for (Form *dialog : dialogs) {
        dialog->load();
        dialog->show();
    }
    processEvents();
    for (const int dpi : {96, 192}) {
        harness::context = std::to_string(dpi) + " dpi";
        setDpi(form(), dpi);
        CHECK_EQ(labelsCutShort(*quendal), "");
        for (Form *dialog : dialogs) {
            setDpi(nativeWindow(*dialog), dpi);
            CHECK_EQ(formDpi(*dialog), dpi);
            CHECK_EQ(labelsCutShort(*dialog), "");
        }
    }
    setDpi(form(), 96);
}

// The pipe advice on the result, as the tooltip control holds it and lays it out, at 96 and
// 192 dpi: lines no wider than the tips' width in the tip's font, none parting a figure from its
// unit, and none that the control breaks again.
void resultTip()
{
    start();
    click(quendal->Optionw);
    type(quendal->Textqw, "100");
    type(quendal->Textvw, "2");
    click(quendal->Command2);
    const std::string advice = quendal->Textdw.toolTip();
    for (const int dpi : {96, 192}) {
        harness::context = std::to_string(dpi) + " dpi";
        setDpi(form(), dpi);
        HWND tips = toolTipWindow(*quendal);
        TTTOOLINFOW tool {};
        tool.cbSize = sizeof tool;
        tool.hwnd = form();
        tool.uId = reinterpret_cast<UINT_PTR>(nativeHandle(quendal->Textdw));
        std::wstring text(4096, L'\0');
        tool.lpszText = text.data();
        SendMessageW(tips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
        text.resize(wcslen(text.c_str()));
        std::vector<std::string> lines;
        for (std::size_t from = 0;;) {
            const std::size_t end = text.find(L"\r\n", from);
            lines.push_back(toUtf8(text.substr(from, end - from)));
            if (end == std::wstring::npos)
                break;
            from = end + 2;
        }
        HDC dc = GetDC(tips);
        const HGDIOBJ was
            = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(tips, WM_GETFONT, 0, 0)));
        const int width = MulDiv(tipWidth, dpi, 96);
        for (const std::string &fault :
             tips::faults(advice, lines, width, [&](const std::string &line) {
                 const std::wstring wide = toWide(line);
                 SIZE size {};
                 GetTextExtentPoint32W(dc, wide.c_str(), int(wide.size()), &size);
                 return int(size.cx);
             }))
            CHECK_EQ(fault, std::string());
        // The control lays its text out as DrawText does at its maximum width: as tall as the
        // lines it is given, none broken again.
        const int maximum = int(SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0));
        CHECK_EQ(maximum, width);
        RECT broken {0, 0, maximum, 0};
        DrawTextW(dc, text.c_str(), -1, &broken, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        RECT given {0, 0, maximum, 0};
        DrawTextW(dc, text.c_str(), -1, &given, DT_CALCRECT | DT_NOPREFIX);
        CHECK_EQ(broken.bottom, given.bottom);
        SelectObject(dc, was);
        ReleaseDC(tips, dc);
    }
    setDpi(form(), 96);
}

// A text box is unlimited in length: 40,000 leading zeros do not cut the flow short.
void longText()
{
    start();
    click(quendal->Optionw);
    SetWindowTextW(nativeHandle(quendal->Textqw), (std::wstring(40000, L'0') + L"100").c_str());
    SendMessageW(nativeHandle(quendal->Textqw), EM_SETSEL, 0, 0);
    SendMessageW(nativeHandle(quendal->Textqw), WM_CHAR, L'0', 1);
    type(quendal->Textvw, "2");
    click(quendal->Command2);
    CHECK_EQ(quendal->Textqw.text().size(), std::size_t(40004));
    CHECK_EQ(quendal->Textdw.text(), "132.936074863071");
}

// The Win32 window, driven through its real controls as a user would.
class Win32Driver : public scenarios::WindowDriver
{
public:
    void start(bool firstRun) override { ::start(firstRun); }
    void click(int index) override { ::click(Control(*quendal, index)); }
    void type(int index, const std::string &text) override
    {
        ::type(TextBox(*quendal, index), text);
    }
    void key(Key key) override { ::key(key); }
    std::string text(int index) override { return TextBox(*quendal, index).text(); }
    std::string toolTip(int index) override { return TextBox(*quendal, index).toolTip(); }
    std::string selectedText(int index) override
    {
        return ::selectedText(TextBox(*quendal, index));
    }
    // A single-line edit answers EM_GETFIRSTVISIBLELINE with its first visible character.
    bool showsStart(int index) override
    {
        return SendMessageW(handle(index), EM_GETFIRSTVISIBLELINE, 0, 0) == 0;
    }
    bool shown(int index) override { return isShown(Control(*quendal, index)); }
    bool value(int index) override { return OptionButton(*quendal, index).value(); }
    void setValue(int index, bool value) override { OptionButton(*quendal, index).setValue(value); }
    int focused() override
    {
        for (int i = 0; i < ctl::Count; ++i) {
            if (handle(i) && handle(i) == GetFocus())
                return i;
        }
        return -1;
    }
    std::string balloon() override { return toUtf8(balloonText(*quendal)); }
    std::uint32_t textColour(int index) override { return ::textColour(TextBox(*quendal, index)); }
    std::uint32_t greyText() override { return GetSysColor(COLOR_GRAYTEXT); }
    PixelRect rectInClient(int index) override
    {
        const Rect r = rectOf(index);
        return {r.x, r.y, r.width, r.height};
    }
    PixelRect clientArea() override
    {
        const Rect r = clientRect();
        return {r.x, r.y, r.width, r.height};
    }

    std::vector<scenarios::MenuItemSeen> menu() override
    {
        std::vector<scenarios::MenuItemSeen> items;
        readMenu(GetMenu(form()), items);
        return items;
    }
    void chooseMenu(int id) override
    {
        // What a click on an enabled item sends.
        if (!(GetMenuState(GetMenu(form()), menuCommand(id), MF_BYCOMMAND) & MF_GRAYED))
            PostMessageW(form(), WM_COMMAND, MAKEWPARAM(menuCommand(id), 0), 0);
        processEvents();
    }
    Quendal &window() override { return *quendal; }
    std::vector<scenarios::Box> recordBoxes(const std::function<void()> &action,
                                            const std::string &press) override
    {
        boxes.clear();
        pressing = toWide(press);
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, watchForBoxes);
        action();
        processEvents();
        KillTimer(nullptr, timer);
        pressing.clear();
        std::vector<scenarios::Box> seen;
        for (const Box &box : boxes)
            seen.push_back({box.title, box.text, box.buttons, box.icon});
        return seen;
    }

private:
    // The shortcut the accelerator table gives a command, as the definition writes it.
    static std::string shortcutOf(UINT command)
    {
        HACCEL table = nativeAccelerators(*::quendal);
        const int count = table ? CopyAcceleratorTableW(table, nullptr, 0) : 0;
        std::vector<ACCEL> entries(std::size_t(count > 0 ? count : 0));
        if (count > 0)
            CopyAcceleratorTableW(table, entries.data(), count);
        for (const ACCEL &entry : entries) {
            if (entry.cmd != command)
                continue;
            std::string text;
            if (entry.fVirt & FCONTROL)
                text += "Ctrl+";
            if (entry.fVirt & FSHIFT)
                text += "Shift+";
            if (entry.fVirt & FALT)
                text += "Alt+";
            if (entry.key >= VK_F1 && entry.key <= VK_F12)
                text += "F" + std::to_string(entry.key - VK_F1 + 1);
            else
                text += char(entry.key);
            return text;
        }
        return {};
    }

    static void readMenu(HMENU menu, std::vector<scenarios::MenuItemSeen> &items)
    {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            MENUITEMINFOW info {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 128;
            GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
            // The shortcut the item shows after a tab must be the one that triggers it.
            std::wstring label = text;
            const std::size_t tab = label.find(L'\t');
            const std::string shown
                = tab == std::wstring::npos ? "" : toUtf8(label.substr(tab + 1));
            const std::string triggers = info.hSubMenu ? "" : shortcutOf(info.wID);
            // A separator is drawn disabled, and cannot be chosen either way.
            const bool separator = (info.fType & MFT_SEPARATOR) != 0;
            items.push_back({toUtf8(label.substr(0, tab)),
                             shown == triggers ? triggers : "?" + shown, separator,
                             separator || !(info.fState & MFS_GRAYED),
                             (info.fState & MFS_CHECKED) != 0});
            if (info.hSubMenu)
                readMenu(info.hSubMenu, items);
        }
    }
};

// The scenarios both backends run, on this one.
void scenariosOfTheWindow()
{
    Win32Driver driver;
    for (const scenarios::Scenario &scenario : scenarios::all()) {
        harness::context = scenario.name;
        for (const std::string &failure : scenarios::run(driver, scenario))
            CHECK_EQ(failure, std::string());
    }
}

void menuOfTheWindow()
{
    Win32Driver driver;
    for (const menus::Check &check : menus::checks) {
        harness::context = check.name;
        for (const std::string &failure : check.run(driver))
            CHECK_EQ(failure, std::string());
    }
}

// The one test that goes through the real dialog: 计算管线表 chosen from the menu, the list's path
// typed into the dialog's name field and 打开 pressed, and its result beside it.
std::wstring typedPath;

void CALLBACK answerFileDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowW(L"#32770", L"计算管线表");
    if (!dialog || !IsWindowVisible(dialog)) {
        watchForBoxes(nullptr, 0, 0, 0);
        return;
    }
    // The name field is a combo box, or an edit in the older layout.
    if (!SetDlgItemTextW(dialog, cmb13, typedPath.c_str()))
        SetDlgItemTextW(dialog, edt1, typedPath.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

void openDialog()
{
    const std::string folder = menus::freshFolder("dialog");
    menus::writeFile(folder + "管线表.csv", "medium,Q,v\r\nwater,300,2\r\n");
    typedPath = toWide(folder + "管线表.csv");
    std::replace(typedPath.begin(), typedPath.end(), L'/', L'\\');
    start();
    boxes.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, answerFileDialog);
    PostMessageW(form(), WM_COMMAND, MAKEWPARAM(menuCommand(menu::LineList), 0), 0);
    processEvents();
    KillTimer(nullptr, timer);
    CHECK_EQ(boxes.size(), std::size_t(2)); // which detail pages, then what came of it
    CHECK(boxes.size() == 2 && boxes[1].text.starts_with("已计算 1 条管线。"));
    CHECK(menus::readFile(folder + "管线表-结果.csv").size() > 100);
}

const harness::Test tests[] = {
    {"identity", identity},
    {"optionButtons", optionButtons},
    {"scenarios", scenariosOfTheWindow},
    {"menu", menuOfTheWindow},
    {"openDialog", openDialog},
    {"geometryAtTwoDpis", geometryAtTwoDpis},
    {"fonts", fonts},
    {"longText", longText},
    {"labelsShowTheirWholeText", labelsShowTheirWholeText},
    {"resultTip", resultTip},
    {"drawing", drawing},
};

} // namespace

int main()
{
    initializeRuntime(projectHeader());
    const int failed = harness::runAll(tests);
    quendal.reset();
    return failed;
}
