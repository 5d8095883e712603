// The window on its Win32 backend, driven through its real controls under Wine (or Windows):
// messages posted to the controls as a user's clicks and keys would arrive, and everything
// read back from the native windows.

#include "app/project.h"
#include "runtime/thunrt.h"
#include "runtime/utf8.h"
#include "runtime/win32/native.h"
#include "tests/rules.h"
#include "tests/vectors.h"
#include "tests/win32/harness.h"
#include "window/definition.h"
#include "window/quendal.h"

#include <commctrl.h>

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

std::unique_ptr<Quendal> window;

void start()
{
    window = std::make_unique<Quendal>();
    window->load();
    window->show();
    processEvents();
}

HWND form()
{
    return nativeWindow(*window);
}

HWND handle(int index)
{
    return nativeHandle(Control(*window, index));
}

const char *nameOf(HWND hwnd)
{
    if (!hwnd)
        return "(none)";
    for (int i = 0; i < ctl::Count; ++i) {
        if (handle(i) == hwnd)
            return quendalDefinition()[std::size_t(i)].name;
    }
    return "(none)";
}

// A control's rectangle in the window's client area.
Rect rectOf(int index)
{
    const RECT r = rectInClient(Control(*window, index));
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
    SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 1);
    for (const wchar_t c : toWide(text))
        PostMessageW(edit, WM_CHAR, c, 1);
    processEvents();
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
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void clickWatchingBoxes(const Control &button)
{
    boxes.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, watchForBoxes);
    click(button);
    KillTimer(nullptr, timer);
}

// A field by its quantity and medium letters, as the fields are named: field('q', 'w') is Textqw.
const TextBox &field(char quantity, char medium)
{
    const Quendal &w = *window;
    const auto pick = [medium](const TextBox &air, const TextBox &steam,
                               const TextBox &water) -> const TextBox & {
        return medium == 'a' ? air : medium == 's' ? steam : water;
    };
    switch (quantity) {
    case 'q': return pick(w.Textqa, w.Textqs, w.Textqw);
    case 'p': return w.Textpa;
    case 't': return w.Textta;
    case 'u': return w.Textus;
    case 'v': return pick(w.Textva, w.Textvs, w.Textvw);
    default: return pick(w.Textda, w.Textds, w.Textdw);
    }
}

const OptionButton &option(char medium)
{
    return medium == 'a' ? window->Optionca : medium == 's' ? window->Options : window->Optionw;
}

const CommandButton &button(char medium)
{
    return medium == 'a' ? window->Command1 : medium == 's' ? window->Command3 : window->Command2;
}

void startUpState()
{
    start();
    const Quendal &w = *window;
    CHECK(w.Optionca.value());
    CHECK(!w.Options.value());
    CHECK(!w.Optionw.value());
    CHECK(isShown(w.Frameca));
    CHECK(!isShown(w.Frames));
    CHECK(!isShown(w.Framew));
    CHECK(isShown(w.Image2));
    CHECK(!isShown(w.Image3));
    for (int i = 0; i < ctl::Count; ++i) {
        if (quendalDefinition()[std::size_t(i)].kind == ControlKind::TextBox)
            CHECK_EQ(TextBox(*window, i).text(), "");
    }
    wchar_t caption[64];
    GetWindowTextW(form(), caption, 64);
    CHECK_EQ(toUtf8(caption), "Quendal");
    CHECK_EQ(nameOf(GetFocus()), std::string("Optionca"));
    const LONG style = GetWindowLongW(form(), GWL_STYLE);
    CHECK((style & WS_THICKFRAME) && (style & WS_MINIMIZEBOX) && (style & WS_MAXIMIZEBOX)
          && (style & WS_SYSMENU));
    CHECK(SendMessageW(form(), WM_GETICON, ICON_SMALL, 0) != 0);
}

// Client rectangles at 96 dpi, worked out by hand from the twips (15 to a pixel), a panel's
// controls offset by the panel's corner; at 192 dpi every one is exactly twice as large.
struct Placed
{
    int index;
    Rect at96;
};
const Placed placed[] = {
    {ctl::Image1, {8, 8, 137, 479}},     {ctl::Optionca, {144, 16, 73, 25}},
    {ctl::Frameca, {152, 48, 241, 441}}, {ctl::Textqa, {272, 72, 65, 18}},
    {ctl::Label1, {160, 72, 217, 17}},   {ctl::Textvw, {272, 144, 65, 18}},
    {ctl::Command3, {160, 192, 97, 41}}, {ctl::Textds, {264, 200, 81, 33}},
    {ctl::Label6, {352, 200, 33, 33}},   {ctl::Line1, {160, 176, 224, 1}},
    {ctl::Line3, {160, 248, 224, 1}},    {ctl::Image5, {160, 256, 223, 157}},
};

void setDpi(int dpi)
{
    RECT suggested;
    GetWindowRect(form(), &suggested);
    SendMessageW(form(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    processEvents();
}

void geometryAtTwoDpis()
{
    start();
    CHECK_EQ(formDpi(*window), 96);
    CHECK_EQ(clientRect(), (Rect {0, 0, 394, 493}));
    for (const Placed &p : placed) {
        harness::context = quendalDefinition()[std::size_t(p.index)].name;
        CHECK_EQ(rectOf(p.index), p.at96);
    }
    std::vector<Rect> at96;
    for (int i = 0; i < ctl::Count; ++i)
        at96.push_back(rectOf(i));

    setDpi(192);
    harness::context = "192 dpi";
    CHECK_EQ(formDpi(*window), 192);
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

void workedExamples()
{
    for (const SizingVector &vector : sizingVectors) {
        start();
        harness::context = vector.name;
        const char medium = vector.medium[0];
        click(option(medium));
        const std::pair<char, const char *> inputs[] = {
            {'q', vector.flow},           {'p', vector.pressure}, {'t', vector.temperature},
            {'u', vector.specificVolume}, {'v', vector.velocity},
        };
        for (const auto &[quantity, text] : inputs) {
            if (text)
                type(field(quantity, medium), text);
        }
        clickWatchingBoxes(button(medium));
        CHECK_EQ(field('d', medium).text(), std::string(vector.expected));
        CHECK_EQ(boxes.size(), std::size_t(0));
        CHECK_EQ(textColour(field('d', medium)), COLORREF(0x000000FF));
        clickWatchingBoxes(button(medium)); // a second click writes the same again
        CHECK_EQ(field('d', medium).text(), std::string(vector.expected));
    }
}

void airMessages()
{
    const std::string flowMessage = "请输入正确的压缩空气体积流量,单位：m3/h。";
    const std::string pressureMessage = "请输入正确的设计压力，单位：MPa。";
    const struct
    {
        const char *name, *flow, *pressure;
        std::vector<std::string> messages;
    } rows[] = {
        {"both empty: flow first", "", "", {flowMessage, pressureMessage}},
        {"pressure empty", "600", "", {pressureMessage}},
        {"flow empty", "", "0.7", {flowMessage}},
        {"blanks are not empty", " ", "\u3000", {}},
    };
    for (const auto &row : rows) {
        start();
        harness::context = row.name;
        type(window->Textqa, row.flow);
        type(window->Textpa, row.pressure);
        type(window->Textta, "20");
        type(window->Textva, "10");
        clickWatchingBoxes(window->Command1);
        CHECK_EQ(boxes.size(), row.messages.size());
        for (std::size_t i = 0; i < boxes.size() && i < row.messages.size(); ++i) {
            CHECK_EQ(boxes[i].text, row.messages[i]);
            CHECK_EQ(boxes[i].title, "Tovrik");
            CHECK_EQ(boxes[i].buttons, "确定");
            CHECK(!boxes[i].icon);
        }
        CHECK_EQ(window->Textda.text(), "");
    }
}

// A failed calculation loses nothing typed, keeps the old result but marks it as not current,
// and says what failed in a balloon, with the field at fault selected.
void failuresChangeNothing()
{
    const struct
    {
        const char *name;
        char medium;
        std::vector<std::pair<char, const char *>> good, change;
        const char *message;
        char focused;
    } rows[] = {
        {"air velocity not a number",
         'a',
         {{'q', "600"}, {'p', "0.7"}, {'t', "20"}, {'v', "10"}},
         {{'v', "fast"}},
         "压缩空气设计流速v不是有效的数字。",
         'v'},
        {"air pressure zero",
         'a',
         {{'q', "600"}, {'p', "0.7"}, {'t', "20"}, {'v', "10"}},
         {{'p', "0"}},
         "压缩空气设计压力P不能为零。",
         'p'},
        {"steam volume empty",
         's',
         {{'q', "10"}, {'u', "0.3747"}, {'v', "30"}},
         {{'u', ""}},
         "蒸汽的比容u不是有效的数字。",
         'u'},
        {"water velocity zero",
         'w',
         {{'q', "100"}, {'v', "2"}},
         {{'v', "0"}},
         "水的设计流速v不能为零。",
         'v'},
        {"water negative root",
         'w',
         {{'q', "100"}, {'v', "2"}},
         {{'q', "-4"}},
         "算得的流量与流速之比为负数，无法开平方，请检查输入的数值。",
         'q'},
    };
    for (const auto &row : rows) {
        start();
        harness::context = row.name;
        const char m = row.medium;
        click(option(m));
        for (const auto &[quantity, text] : row.good)
            type(field(quantity, m), text);
        click(button(m));
        const std::string previous = field('d', m).text();
        CHECK(!previous.empty());
        CHECK(!field('d', m).toolTip().empty());
        for (const auto &[quantity, text] : row.change)
            type(field(quantity, m), text);
        std::vector<std::string> typed;
        for (const auto &[quantity, text] : row.good)
            typed.push_back(field(quantity, m).text());

        clickWatchingBoxes(button(m));
        CHECK_EQ(field('d', m).text(), previous);
        CHECK_EQ(boxes.size(), std::size_t(0));
        CHECK_EQ(toUtf8(balloonText(*window)), std::string(row.message));
        CHECK(IsWindowVisible(balloonWindow(*window)));
        CHECK_EQ(textColour(field('d', m)), GetSysColor(COLOR_GRAYTEXT));
        CHECK_EQ(field('d', m).toolTip(), "");
        CHECK_EQ(nameOf(GetFocus()), std::string(nameOf(nativeHandle(field(row.focused, m)))));
        CHECK_EQ(selectedText(field(row.focused, m)), field(row.focused, m).text());
        for (std::size_t i = 0; i < row.good.size(); ++i)
            CHECK_EQ(field(row.good[i].first, m).text(), typed[i]);

        key('1'); // typing puts the report away
        CHECK_EQ(toUtf8(balloonText(*window)), "");
    }
}

void panelsKeepTheirState()
{
    start();
    Quendal &w = *window;
    type(w.Textqa, "1000");
    type(w.Textpa, "0.1");
    type(w.Textta, "0");
    type(w.Textva, "10");
    click(w.Command1);
    click(w.Image2);
    click(w.Optionw);
    CHECK(w.Optionw.value() && !w.Optionca.value());
    CHECK(!isShown(w.Frameca) && isShown(w.Framew));
    type(w.Textqw, "36");
    click(w.Optionca);
    CHECK(isShown(w.Frameca) && !isShown(w.Framew));
    CHECK_EQ(w.Textqa.text(), "1000");
    CHECK_EQ(w.Textda.text(), "188");
    CHECK(isShown(w.Image3));
    CHECK_EQ(w.Textqw.text(), "36");
}

void noticePairs()
{
    start();
    Quendal &w = *window;
    const auto shown = [](const Image &image) { return isShown(image); };
    click(w.Image2);
    CHECK(!shown(w.Image2) && shown(w.Image3));
    click(w.Options);
    CHECK(shown(w.Image8) && !shown(w.Image6));
    click(w.Image8);
    click(w.Image6);
    CHECK(shown(w.Image8) && !shown(w.Image6));
    click(w.Optionca);
    CHECK(shown(w.Image3) && !shown(w.Image2));
    click(w.Image3);
    CHECK(shown(w.Image2) && !shown(w.Image3));
}

void tabChain()
{
    const struct
    {
        char medium;
        std::vector<std::string> chain;
    } rows[] = {
        {'a',
         {"Optionca", "Textqa", "Textpa", "Textta", "Textva", "Command1", "Textda", "Optionca"}},
        {'s', {"Options", "Textqs", "Textus", "Textvs", "Command3", "Textds", "Options"}},
        {'w', {"Optionw", "Textqw", "Textvw", "Command2", "Textdw", "Optionw"}},
    };
    for (const auto &row : rows) {
        start();
        harness::context = std::string(1, row.medium);
        click(option(row.medium));
        std::vector<std::string> visited {nameOf(GetFocus())};
        for (std::size_t i = 1; i < row.chain.size(); ++i) {
            key(VK_TAB);
            visited.push_back(nameOf(GetFocus()));
        }
        for (std::size_t i = 0; i < row.chain.size(); ++i)
            CHECK_EQ(visited[i], row.chain[i]);
    }
}

void arrowKeysAndEnter()
{
    start();
    Quendal &w = *window;
    click(w.Optionca);
    key(VK_RIGHT);
    CHECK(w.Options.value() && isShown(w.Frames));
    key(VK_RIGHT);
    CHECK(w.Optionw.value() && isShown(w.Framew));
    key(VK_RIGHT); // the last stays selected
    CHECK_EQ(nameOf(GetFocus()), std::string("Optionw"));
    CHECK(w.Optionw.value());

    type(w.Textqw, "100");
    type(w.Textvw, "2");
    for (const UINT vk : {VK_RETURN, VK_ESCAPE}) {
        key(vk);
        CHECK_EQ(w.Textdw.text(), "");
        CHECK(IsWindow(form()));
    }
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
    std::vector<COLORREF> reference = pixelsOf(window->Image1);
    for (std::size_t row = 0; row < 479; ++row)
        reference[row * 137 + 136] = grey;
    harness::context = "reference picture";
    CHECK_EQ(std::size_t(count(reference, grey) + count(reference, magenta)), reference.size());
    CHECK(count(reference, magenta) > 1000);
    harness::context = "separator line";
    const std::vector<COLORREF> line = pixelsOf(Control(*window, ctl::Line1));
    CHECK_EQ(std::size_t(count(line, black)), line.size());
    harness::context = "caption";
    CHECK(count(pixelsOf(Control(*window, ctl::Label1)), black) > 100);
    harness::context = "notice swapped";
    CHECK_EQ(count(pixelsOf(window->Image2), yellow), 0);
    click(window->Image2);
    RedrawWindow(form(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::vector<COLORREF> contact = pixelsOf(window->Image3);
    CHECK(count(contact, yellow) > 100);
    CHECK_EQ(std::size_t(count(contact, grey) + count(contact, magenta) + count(contact, yellow)),
             contact.size());

    // Every rule of the reference sheet's table, as the user sees it at 96 and at 192 dpi.
    const auto rulesOnScreen = [&] {
        RedrawWindow(form(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        processEvents();
        const RECT r = rectInClient(window->Image1);
        const int width = r.right - r.left;
        const std::vector<COLORREF> pixels = pixelsOf(window->Image1);
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

// A text box is unlimited in length: 40,000 leading zeros do not cut the flow short.
void longText()
{
    start();
    click(window->Optionw);
    SetWindowTextW(nativeHandle(window->Textqw), (std::wstring(40000, L'0') + L"100").c_str());
    SendMessageW(nativeHandle(window->Textqw), EM_SETSEL, 0, 0);
    SendMessageW(nativeHandle(window->Textqw), WM_CHAR, L'0', 1);
    type(window->Textvw, "2");
    click(window->Command2);
    CHECK_EQ(window->Textqw.text().size(), std::size_t(40004));
    CHECK_EQ(window->Textdw.text(), "132.936074863071");
}

// A result longer than its box reads from its leading digits once Tab has passed through it,
// which leaves the caret, and so the view, at its end.
void resultsShowTheirLeadingDigits()
{
    start();
    Quendal &w = *window;
    click(w.Optionw);
    type(w.Textqw, "1");
    type(w.Textvw, "7");
    click(w.Command2);
    CHECK_EQ(w.Textdw.text(), "7.10573209257347");
    HWND result = nativeHandle(w.Textdw);
    const auto firstShown = [&] { return SendMessageW(result, EM_GETFIRSTVISIBLELINE, 0, 0); };
    CHECK_EQ(firstShown(), LRESULT(0)); // as written
    SetFocus(nativeHandle(w.Command2));
    key(VK_TAB);
    CHECK_EQ(nameOf(GetFocus()), std::string("Textdw"));
    CHECK(firstShown() > 0); // Tab selected it all: the view is at the end
    key(VK_TAB);
    CHECK_EQ(nameOf(GetFocus()), std::string("Optionw"));
    CHECK_EQ(firstShown(), LRESULT(0));
    CHECK_EQ(w.Textdw.text(), "7.10573209257347");
}

// Ctrl+A selects the whole text of a box, as in every other Windows program.
void controlASelectsAll()
{
    start();
    type(window->Textqa, "600.25");
    SendMessageW(nativeHandle(window->Textqa), EM_SETSEL, 2, 2);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    key('A');
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    CHECK_EQ(selectedText(window->Textqa), "600.25");
    CHECK_EQ(window->Textqa.text(), "600.25");
}

const harness::Test tests[] = {
    {"startUpState", startUpState},
    {"geometryAtTwoDpis", geometryAtTwoDpis},
    {"fonts", fonts},
    {"workedExamples", workedExamples},
    {"airMessages", airMessages},
    {"failuresChangeNothing", failuresChangeNothing},
    {"panelsKeepTheirState", panelsKeepTheirState},
    {"noticePairs", noticePairs},
    {"tabChain", tabChain},
    {"arrowKeysAndEnter", arrowKeysAndEnter},
    {"longText", longText},
    {"drawing", drawing},
    {"resultsShowTheirLeadingDigits", resultsShowTheirLeadingDigits},
    {"controlASelectsAll", controlASelectsAll},
};

} // namespace

int main()
{
    initializeRuntime(projectHeader());
    const int failed = harness::runAll(tests);
    window.reset();
    return failed;
}
