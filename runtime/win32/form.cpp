#include "runtime/form.h"

#include "runtime/picture.h"
#include "runtime/utf8.h"
#include "runtime/win32/native.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace tovrik {

namespace {

// Control ids start past IDOK and IDCANCEL, so no key of the dialog manager can press one.
constexpr int firstControlId = 100;
constexpr UINT_PTR balloonTimer = 1;
constexpr UINT balloonTime = 6000; // ms: long enough to read two lines twice
constexpr wchar_t formClass[] = L"TovrikForm";
constexpr wchar_t frameClass[] = L"TovrikFrame";

HINSTANCE instance()
{
    return GetModuleHandleW(nullptr);
}

// Windows 10's per-monitor functions, looked up at run time so that the program still starts
// on older systems, which lay out at the system DPI.
template<typename Function>
Function *user32Function(const char *name)
{
    return reinterpret_cast<Function *>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// A window's DPI; the screen's for none.
int dpiOf(HWND window)
{
    static const auto getDpiForWindow = user32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

void adjustWindowRect(RECT &rect, DWORD style, DWORD exStyle, int dpi)
{
    static const auto adjustForDpi
        = user32Function<BOOL WINAPI(RECT *, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjustForDpi)
        adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

// A 24-bit picture, kept in the executable's resources: "pictures/terms.bmp" is the RCDATA
// resource PICTURES_TERMS_BMP, the file as it is.
Picture loadPicture(const char *path)
{
    std::string name = path;
    for (char &c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (!(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9'))
            c = '_';
    }
    HRSRC resource = FindResourceA(nullptr, name.c_str(), MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!resource)
        return {};
    const auto *file
        = static_cast<const std::byte *>(LockResource(LoadResource(nullptr, resource)));
    if (!file)
        return {};
    return readBmp(std::span(file, SizeofResource(nullptr, resource)));
}

// A picture stretched to a control's size, as a 32-bit top-down DIB ready to copy to the screen.
struct DrawnPicture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, which a 32-bit DIB reads as BGRA

    void draw(HDC dc, int x, int y) const
    {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, x, y, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                          pixels.data(), &info, DIB_RGB_COLORS);
    }
};

LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void registerClasses()
{
    static const bool registered = [] {
        WNDCLASSEXW form {};
        form.cbSize = sizeof form;
        form.lpfnWndProc = formProc;
        form.hInstance = instance();
        form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        form.lpszClassName = formClass;
        form.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(1));
        RegisterClassExW(&form);
        WNDCLASSEXW frame = form;
        frame.lpfnWndProc = frameProc;
        frame.hIcon = nullptr;
        frame.lpszClassName = frameClass;
        RegisterClassExW(&frame);
        return true;
    }();
    (void)registered;
}

} // namespace

class NativeForm
{
public:
    NativeForm(const char *caption, int clientWidthTwips, int clientHeightTwips,
               std::span<const ControlDef> definition);
    ~NativeForm();

    HWND window() const { return m_window; }
    // A Line or Image has no window: its container draws it, as the original runtime's
    // lightweight controls are drawn, and so the window has fewer children to show. A Label
    // is a static control, which a screen reader reads as the name of the field beside it.
    HWND control(int index) const { return m_controls.at(std::size_t(index)); }
    static bool windowless(ControlKind kind)
    {
        return kind == ControlKind::Line || kind == ControlKind::Image;
    }
    bool visible(int index) const;
    void setVisible(int index, bool visible);
    bool shown(int index) const;
    RECT rectInClient(int index) const;
    int dpi() const { return m_dpi; }
    const ControlDef &def(int index) const { return m_definition[std::size_t(index)]; }
    std::function<void()> &clickHandler(int index) { return m_clicks.at(std::size_t(index)); }
    std::wstring &toolTip(int index) { return m_toolTips.at(std::size_t(index)); }

    void show();
    void select(int index);
    bool checked(int index) const;
    void setChecked(int index, bool checked);
    std::wstring &pendingText(int index) { return m_texts.at(std::size_t(index)); }
    void setStale(int index, bool stale);
    void setToolTip(int index);
    void showBalloon(int at, std::string_view text);
    void hideBalloon();
    const std::wstring &balloonText() const { return m_balloonText; }
    HWND balloon();
    bool translate(const MSG &message);
    void moveFocusAway(HWND hidden);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleFrame(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void createChildren(int container);
    void realize(int frame);
    HWND create(int index);
    int indexOf(HWND control) const;
    void createFonts();
    HFONT fontFor(const ControlDef &def) const;
    void sizeWindow();
    void layout();
    HWND tips();
    HWND containerWindow(int index) const;
    void paintFrame(HWND frame, HDC dc);
    void paintWindowless(int container, HDC dc);
    void clickWindowless(int container, POINT at);
    void click(int index);
    bool isTabStop(int index) const;
    void tab(int step);
    void arrow(int step);

    std::span<const ControlDef> m_definition;
    FormStructure m_structure;
    HWND m_window = nullptr;
    int m_dpi = 96;
    int m_clientWidthTwips;
    int m_clientHeightTwips;
    std::vector<HWND> m_controls;
    std::vector<std::function<void()>> m_clicks;
    std::vector<bool> m_stale;
    // The Visible of the windowless controls, and of those not yet made; the Text and Value of
    // those not yet made. A hidden panel's controls are made when it is first shown: under
    // Wine each native control costs a millisecond of start-up.
    std::vector<bool> m_shown;
    std::vector<std::wstring> m_texts;
    std::vector<bool> m_values;
    std::vector<bool> m_realized;
    std::vector<std::wstring> m_toolTips;
    std::vector<Picture> m_pictures;
    std::vector<DrawnPicture> m_drawn; // each picture at its control's size, made when first drawn
    HFONT m_defaultFont = nullptr;
    std::vector<std::pair<const FontSpec *, HFONT>> m_fonts;
    HWND m_tipWindow = nullptr; // made when first needed, as is the balloon
    std::vector<bool> m_hasTip;
    HWND m_balloon = nullptr;
    std::wstring m_balloonText;
    HWND m_savedFocus = nullptr;
    bool m_destroying = false;
};

namespace {

NativeForm *formOf(HWND window)
{
    HWND root = GetAncestor(window, GA_ROOT);
    wchar_t name[32];
    if (!root || !GetClassNameW(root, name, 32) || std::wcscmp(name, formClass) != 0)
        return nullptr;
    return reinterpret_cast<NativeForm *>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (auto *form = reinterpret_cast<NativeForm *>(GetWindowLongPtrW(window, GWLP_USERDATA));
        form && form->window() == window)
        return form->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A Frame: a container of its own class that draws the etched group box, its caption and its
// lightweight controls, and passes its children's notifications on to the form, which a plain
// BS_GROUPBOX would swallow.
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (NativeForm *form = formOf(frame))
        return form->handleFrame(frame, message, wParam, lParam);
    return DefWindowProcW(frame, message, wParam, lParam);
}

HFONT createFont(const FontSpec &face, int dpi)
{
    LOGFONTW font {};
    font.lfHeight = -MulDiv(static_cast<int>(face.pointSize * 100.0 + 0.5), dpi, 7200);
    font.lfWeight = face.weight;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY; // SimSun's bitmap strikes, crisp
    const std::wstring family = toWide(face.family);
    family.copy(font.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}

// The window's default font, as the project sets it: 宋体 9 pt, GB2312.
constexpr FontSpec defaultFontSpec {"宋体", 9.0, FW_NORMAL};

} // namespace

NativeForm::NativeForm(const char *caption, int clientWidthTwips, int clientHeightTwips,
                       std::span<const ControlDef> definition)
    : m_definition(definition)
    , m_structure(structureOf(definition))
    , m_clientWidthTwips(clientWidthTwips)
    , m_clientHeightTwips(clientHeightTwips)
    , m_clicks(definition.size())
    , m_stale(definition.size())
    , m_shown(definition.size())
    , m_texts(definition.size())
    , m_values(definition.size())
    , m_realized(definition.size())
    , m_toolTips(definition.size())
    , m_pictures(definition.size())
    , m_drawn(definition.size())
    , m_hasTip(definition.size())
{
    registerClasses();
    for (int i = 0; i < int(definition.size()); ++i) {
        m_shown[std::size_t(i)] = def(i).visible;
        m_values[std::size_t(i)] = def(i).value;
        m_texts[std::size_t(i)] = toWide(def(i).caption ? def(i).caption : "");
        if (def(i).kind == ControlKind::Image)
            m_pictures[std::size_t(i)] = loadPicture(def(i).caption);
    }
    // Made at its size for the screen's DPI; laid out again if its own turns out otherwise.
    constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const int screenDpi = dpiOf(nullptr);
    const PixelRect client = twipsToPixels(0, 0, clientWidthTwips, clientHeightTwips, screenDpi);
    RECT frame {0, 0, client.width, client.height};
    adjustWindowRect(frame, style, 0, screenDpi);
    m_window = CreateWindowExW(0, formClass, toWide(caption).c_str(), style, CW_USEDEFAULT,
                               CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                               nullptr, nullptr, instance(), this);
    m_dpi = dpiOf(m_window);
    createFonts();
    m_controls.resize(definition.size());
    realize(onForm);
    RECT got;
    GetClientRect(m_window, &got);
    if (m_dpi != screenDpi || got.right != client.width || got.bottom != client.height)
        sizeWindow();
}

void NativeForm::realize(int frame)
{
    if (frame != onForm) {
        if (m_realized[std::size_t(frame)])
            return;
        m_realized[std::size_t(frame)] = true;
    }
    createChildren(frame);
    for (int i = 0; i < int(m_definition.size()); ++i) {
        if (def(i).container == frame && !m_toolTips[std::size_t(i)].empty())
            setToolTip(i);
    }
}

// Later rows lie on top. A new child goes below its siblings, so each container's controls are
// made last row first; a frame's own controls follow the frame.
void NativeForm::createChildren(int container)
{
    for (int i = int(m_definition.size()) - 1; i >= 0; --i) {
        if (def(i).container == container)
            m_controls[std::size_t(i)] = create(i);
    }
    for (int i = int(m_definition.size()) - 1; i >= 0; --i) {
        if (def(i).container == container && def(i).kind == ControlKind::Frame
            && m_shown[std::size_t(i)])
            realize(i);
    }
}

NativeForm::~NativeForm()
{
    m_destroying = true;
    if (IsWindow(m_window))
        DestroyWindow(m_window);
    for (const auto &[face, font] : m_fonts)
        DeleteObject(font);
    if (m_defaultFont)
        DeleteObject(m_defaultFont);
}

HWND NativeForm::create(int index)
{
    const ControlDef &def = this->def(index);
    if (windowless(def.kind))
        return nullptr;
    HWND parent = def.container == onForm ? m_window : control(def.container);
    const std::wstring &caption = m_texts[std::size_t(index)];
    const wchar_t *className = L"STATIC";
    DWORD style = WS_CHILD | (m_shown[std::size_t(index)] ? WS_VISIBLE : 0);
    DWORD exStyle = 0;
    switch (def.kind) {
    case ControlKind::Frame:
        className = frameClass;
        style |= WS_CLIPCHILDREN;
        exStyle = WS_EX_CONTROLPARENT;
        break;
    case ControlKind::OptionButton:
        // Not an auto radio button: the group is the definition's, whatever the z-order.
        className = L"BUTTON";
        style |= BS_RADIOBUTTON;
        break;
    case ControlKind::TextBox:
        className = L"EDIT";
        style |= ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::CommandButton:
        className = L"BUTTON";
        style |= BS_PUSHBUTTON; // never the default button
        break;
    case ControlKind::Label:
        // Under its field: the field, a later row, lies on top and keeps its part.
        style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_CLIPSIBLINGS;
        break;
    default: break;
    }
    const PixelRect rect = controlRect(def, m_dpi);
    HWND control = CreateWindowExW(
        exStyle, className, caption.c_str(), style, rect.x, rect.y, rect.width, rect.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + index)), instance(), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(def)), FALSE);
    switch (def.kind) {
    case ControlKind::OptionButton:
        SendMessageW(control, BM_SETCHECK,
                     m_values[std::size_t(index)] ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::TextBox:
        SendMessageW(control, EM_SETLIMITTEXT, 0, 0); // as long as the user likes
        break;
    default: break;
    }
    return control;
}

void NativeForm::createFonts()
{
    m_defaultFont = createFont(defaultFontSpec, m_dpi);
    for (const ControlDef &def : m_definition) {
        if (def.font && std::none_of(m_fonts.begin(), m_fonts.end(), [&](const auto &entry) {
                return entry.first == def.font;
            }))
            m_fonts.emplace_back(def.font, createFont(*def.font, m_dpi));
    }
}

HFONT NativeForm::fontFor(const ControlDef &def) const
{
    for (const auto &[face, font] : m_fonts) {
        if (face == def.font)
            return font;
    }
    return m_defaultFont;
}

void NativeForm::sizeWindow()
{
    const PixelRect client = twipsToPixels(0, 0, m_clientWidthTwips, m_clientHeightTwips, m_dpi);
    RECT frame {0, 0, client.width, client.height};
    adjustWindowRect(frame, static_cast<DWORD>(GetWindowLongW(m_window, GWL_STYLE)),
                     static_cast<DWORD>(GetWindowLongW(m_window, GWL_EXSTYLE)), m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The borders a system draws need not be the ones it predicted at this DPI: measure.
    RECT got;
    GetClientRect(m_window, &got);
    if (got.right != client.width || got.bottom != client.height) {
        SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left + client.width - got.right,
                     frame.bottom - frame.top + client.height - got.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Every rectangle and font again, when the window has moved to a screen of another DPI.
void NativeForm::layout()
{
    const auto oldFonts = m_fonts;
    HFONT oldDefault = m_defaultFont;
    m_fonts.clear();
    createFonts();
    for (int i = 0; i < int(m_definition.size()); ++i) {
        if (!control(i))
            continue; // drawn at the new DPI by its container
        const PixelRect rect = controlRect(def(i), m_dpi);
        SetWindowPos(control(i), nullptr, rect.x, rect.y, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control(i), WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(def(i))), TRUE);
    }
    for (HWND tip : {m_tipWindow, m_balloon}) {
        if (tip) {
            SendMessageW(tip, WM_SETFONT, reinterpret_cast<WPARAM>(m_defaultFont), FALSE);
            SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, m_dpi, 96));
        }
    }
    for (const auto &[face, font] : oldFonts)
        DeleteObject(font);
    DeleteObject(oldDefault);
    sizeWindow();
    InvalidateRect(m_window, nullptr, TRUE);
}

namespace {

// The tooltip controls come from the common controls, loaded with the first tip rather than
// with the program: a window that shows no tip starts without them.
void initCommonControls()
{
    static const bool done = [] {
        using Init = BOOL WINAPI(const INITCOMMONCONTROLSEX *);
        HMODULE library = LoadLibraryW(L"comctl32.dll");
        auto *init = library ? reinterpret_cast<Init *>(
                         reinterpret_cast<void *>(GetProcAddress(library, "InitCommonControlsEx")))
                             : nullptr;
        const INITCOMMONCONTROLSEX controls {sizeof controls, ICC_WIN95_CLASSES};
        return init && init(&controls) != FALSE;
    }();
    (void)done;
}

} // namespace

HWND NativeForm::tips()
{
    if (!m_tipWindow) {
        initCommonControls();
        m_tipWindow = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, m_window,
                                      nullptr, instance(), nullptr);
        SendMessageW(m_tipWindow, WM_SETFONT, reinterpret_cast<WPARAM>(m_defaultFont), FALSE);
        SendMessageW(m_tipWindow, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, m_dpi, 96));
    }
    return m_tipWindow;
}

HWND NativeForm::balloon()
{
    if (!m_balloon) {
        initCommonControls();
        m_balloon = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_BALLOON, 0, 0, 0,
                                    0, m_window, nullptr, instance(), nullptr);
        SendMessageW(m_balloon, WM_SETFONT, reinterpret_cast<WPARAM>(m_defaultFont), FALSE);
        SendMessageW(m_balloon, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, m_dpi, 96));
        TTTOOLINFOW tool {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = m_window;
        tool.lpszText = const_cast<wchar_t *>(L"");
        SendMessageW(m_balloon, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return m_balloon;
}

void NativeForm::show()
{
    const int icon = GetSystemMetrics(SM_CXSMICON) * m_dpi / 96;
    SendMessageW(m_window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(instance(), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                     icon, icon, LR_SHARED)));
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    for (const int index : m_structure.tabChain) {
        if (isTabStop(index)) {
            SetFocus(control(index));
            break;
        }
    }
}

int NativeForm::indexOf(HWND control) const
{
    if (!control)
        return -1;
    const auto found = std::find(m_controls.begin(), m_controls.end(), control);
    return found == m_controls.end() ? -1 : static_cast<int>(found - m_controls.begin());
}

HWND NativeForm::containerWindow(int index) const
{
    return def(index).container == onForm ? m_window : control(def(index).container);
}

bool NativeForm::visible(int index) const
{
    if (HWND hwnd = control(index))
        return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    return m_shown[std::size_t(index)];
}

void NativeForm::setVisible(int index, bool visible)
{
    if (visible && def(index).kind == ControlKind::Frame && control(index))
        realize(index);
    if (HWND hwnd = control(index)) {
        ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
        if (!visible)
            moveFocusAway(hwnd);
        return;
    }
    if (m_shown[std::size_t(index)] == visible)
        return;
    m_shown[std::size_t(index)] = visible;
    if (!windowless(def(index).kind))
        return; // not made yet: it is made as it is
    const PixelRect at = controlRect(def(index), m_dpi);
    const RECT area {at.x, at.y, at.x + at.width, at.y + at.height};
    InvalidateRect(containerWindow(index), &area, TRUE);
}

// Visible, in a container that is showing.
bool NativeForm::shown(int index) const
{
    return visible(index) && IsWindowVisible(containerWindow(index));
}

RECT NativeForm::rectInClient(int index) const
{
    RECT rect;
    if (HWND hwnd = control(index)) {
        GetWindowRect(hwnd, &rect);
        MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT *>(&rect), 2);
        return rect;
    }
    const PixelRect at = controlRect(def(index), m_dpi);
    rect = {at.x, at.y, at.x + at.width, at.y + at.height};
    MapWindowPoints(containerWindow(index), m_window, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// The lightweight controls of a container, in table order, so that later rows lie on top.
void NativeForm::paintWindowless(int container, HDC dc)
{
    for (int i = 0; i < int(m_definition.size()); ++i) {
        const ControlDef &def = this->def(i);
        if (def.container != container || !windowless(def.kind) || !m_shown[std::size_t(i)])
            continue;
        const PixelRect at = controlRect(def, m_dpi);
        RECT area {at.x, at.y, at.x + at.width, at.y + at.height};
        switch (def.kind) {
        case ControlKind::Line: FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOWTEXT)); break;
        case ControlKind::Image: {
            // Stretched over the whole control with every line kept, as every backend draws it.
            DrawnPicture &drawn = m_drawn[std::size_t(i)];
            if (drawn.width != at.width || drawn.height != at.height) {
                Picture stretched
                    = stretchKeepingLines(m_pictures[std::size_t(i)], at.width, at.height);
                drawn = {stretched.width, stretched.height, std::move(stretched.pixels)};
            }
            if (!drawn.pixels.empty())
                drawn.draw(dc, at.x, at.y);
            break;
        }
        default: break;
        }
    }
}

// A click on a container goes to the uppermost picture showing under it.
void NativeForm::clickWindowless(int container, POINT at)
{
    for (int i = int(m_definition.size()) - 1; i >= 0; --i) {
        const ControlDef &def = this->def(i);
        if (def.container != container || def.kind != ControlKind::Image
            || !m_shown[std::size_t(i)])
            continue;
        const PixelRect r = controlRect(def, m_dpi);
        if (at.x >= r.x && at.x < r.x + r.width && at.y >= r.y && at.y < r.y + r.height) {
            click(i);
            return;
        }
    }
}

void NativeForm::paintFrame(HWND frame, HDC dc)
{
    const HGDIOBJ oldFont = SelectObject(dc, m_defaultFont);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    RECT box;
    GetClientRect(frame, &box);
    box.top += metrics.tmHeight / 2;
    DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
    wchar_t caption[256];
    const int length = GetWindowTextW(frame, caption, 256);
    const int margin = MulDiv(8, m_dpi, 96);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SIZE extent;
    GetTextExtentPoint32W(dc, caption, length, &extent);
    const RECT behind {margin - 2, 0, margin + extent.cx + 2, metrics.tmHeight};
    ExtTextOutW(dc, margin, 0, ETO_OPAQUE, &behind, caption, static_cast<UINT>(length), nullptr);
    SelectObject(dc, oldFont);
}

LRESULT NativeForm::handleFrame(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return handle(message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(frame, &paint);
        paintFrame(frame, dc);
        paintWindowless(indexOf(frame), dc);
        EndPaint(frame, &paint);
        return 0;
    }
    case WM_LBUTTONUP:
        clickWindowless(indexOf(frame), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

void NativeForm::click(int index)
{
    if (const auto &handler = m_clicks.at(std::size_t(index)))
        handler();
}

// Selecting an option clears the others of its group and raises its click; selecting the one
// already selected changes nothing.
bool NativeForm::checked(int index) const
{
    if (HWND button = control(index))
        return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return m_values[std::size_t(index)];
}

void NativeForm::setChecked(int index, bool checked)
{
    m_values[std::size_t(index)] = checked;
    if (HWND button = control(index))
        SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void NativeForm::select(int index)
{
    if (checked(index))
        return;
    for (const std::vector<int> &group : m_structure.optionGroups) {
        if (std::find(group.begin(), group.end(), index) == group.end())
            continue;
        for (const int member : group)
            setChecked(member, member == index);
    }
    click(index);
}

void NativeForm::setStale(int index, bool stale)
{
    if (m_stale[std::size_t(index)] == stale)
        return;
    m_stale[std::size_t(index)] = stale;
    if (HWND field = control(index))
        InvalidateRect(field, nullptr, TRUE);
}

void NativeForm::setToolTip(int index)
{
    if (!control(index))
        return; // registered when made
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_window;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.uId = reinterpret_cast<UINT_PTR>(control(index));
    tool.lpszText = toolTip(index).data();
    const bool added = m_hasTip[std::size_t(index)];
    m_hasTip[std::size_t(index)] = true;
    SendMessageW(tips(), added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
}

void NativeForm::showBalloon(int at, std::string_view text)
{
    m_balloonText = toWide(text);
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_window;
    tool.lpszText = m_balloonText.data();
    SendMessageW(balloon(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT field;
    GetWindowRect(control(at), &field);
    SendMessageW(m_balloon, TTM_TRACKPOSITION, 0, MAKELPARAM(field.left, field.bottom));
    SendMessageW(m_balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(m_window, balloonTimer, balloonTime, nullptr);
}

void NativeForm::hideBalloon()
{
    if (m_balloonText.empty())
        return;
    m_balloonText.clear();
    KillTimer(m_window, balloonTimer);
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_window;
    SendMessageW(m_balloon, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

bool NativeForm::isTabStop(int index) const
{
    HWND hwnd = control(index);
    if (!hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd))
        return false;
    // An option group is one stop: its selected button.
    return def(index).kind != ControlKind::OptionButton || checked(index);
}

void NativeForm::tab(int step)
{
    const std::vector<int> &chain = m_structure.tabChain;
    const int count = static_cast<int>(chain.size());
    const auto current = std::find(chain.begin(), chain.end(), indexOf(GetFocus()));
    int position = current == chain.end() ? (step > 0 ? -1 : 0) : int(current - chain.begin());
    for (int tried = 0; tried < count; ++tried) {
        position = (position + step + count) % count;
        const int index = chain[std::size_t(position)];
        if (isTabStop(index)) {
            SetFocus(control(index));
            if (def(index).kind == ControlKind::TextBox)
                SendMessageW(control(index), EM_SETSEL, 0, -1);
            return;
        }
    }
}

// The arrow keys move the selection to the neighbouring option, left or right as they stand,
// and stop at the ends.
void NativeForm::arrow(int step)
{
    const int index = indexOf(GetFocus());
    for (std::vector<int> group : m_structure.optionGroups) {
        if (std::find(group.begin(), group.end(), index) == group.end())
            continue;
        std::stable_sort(group.begin(), group.end(), [&](int a, int b) {
            return def(a).left != def(b).left ? def(a).left < def(b).left : def(a).top < def(b).top;
        });
        const auto at = std::find(group.begin(), group.end(), index) - group.begin() + step;
        if (at < 0 || at >= std::ssize(group))
            return;
        const int next = group[std::size_t(at)];
        SetFocus(control(next));
        select(next);
        return;
    }
}

void NativeForm::moveFocusAway(HWND hidden)
{
    HWND focus = GetFocus();
    if (focus == hidden || IsChild(hidden, focus))
        tab(1);
}

bool NativeForm::translate(const MSG &message)
{
    switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_SYSKEYDOWN: hideBalloon(); return false;
    case WM_KEYDOWN: break;
    default: return false;
    }
    hideBalloon();
    const bool modified = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
    switch (message.wParam) {
    case VK_TAB:
        if (modified)
            return false;
        tab(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    case VK_RETURN:
    case VK_ESCAPE: return true; // no button is the default or the cancel button
    case 'A': {
        // The classic edit control has no Ctrl+A of its own.
        const int index = indexOf(GetFocus());
        if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0 || index < 0
            || def(index).kind != ControlKind::TextBox)
            return false;
        SendMessageW(control(index), EM_SETSEL, 0, -1);
        return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        const int index = indexOf(GetFocus());
        if (index < 0 || def(index).kind != ControlKind::OptionButton)
            return false;
        arrow(message.wParam == VK_RIGHT || message.wParam == VK_DOWN ? 1 : -1);
        return true;
    }
    }
    return false;
}

LRESULT NativeForm::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int index = static_cast<int>(LOWORD(wParam)) - firstControlId;
        if (index < 0 || index >= int(m_controls.size())
            || reinterpret_cast<HWND>(lParam) != control(index))
            break;
        const WORD code = HIWORD(wParam);
        switch (def(index).kind) {
        case ControlKind::OptionButton:
            if (code == BN_CLICKED)
                select(index);
            break;
        case ControlKind::CommandButton:
            if (code == BN_CLICKED)
                click(index);
            break;
        case ControlKind::Image:
            if (code == STN_CLICKED)
                click(index);
            break;
        case ControlKind::TextBox:
            // Left, a box shows the beginning of its text, not the place the caret was: a number
            // longer than the box reads from its leading digits.
            if (code == EN_KILLFOCUS) {
                SendMessageW(control(index), EM_SETSEL, 0, 0);
                SendMessageW(control(index), EM_SCROLLCARET, 0, 0);
            }
            break;
        default: break;
        }
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const int index = indexOf(reinterpret_cast<HWND>(lParam));
        const bool field = index >= 0 && def(index).kind == ControlKind::TextBox;
        COLORREF text = GetSysColor(field ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
        if (index >= 0 && def(index).foreColour != defaultColour)
            text = def(index).foreColour; // 0x00BBGGRR, as COLORREF is
        if (index >= 0 && m_stale[std::size_t(index)])
            text = GetSysColor(COLOR_GRAYTEXT); // a result that is not current
        const int background = field ? COLOR_WINDOW : COLOR_BTNFACE;
        SetTextColor(dc, text);
        SetBkColor(dc, GetSysColor(background));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_window, &paint);
        paintWindowless(onForm, dc);
        EndPaint(m_window, &paint);
        return 0;
    }
    case WM_LBUTTONUP:
        clickWindowless(onForm, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_DPICHANGED: {
        m_dpi = LOWORD(wParam);
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        return 0;
    }
    case WM_ACTIVATE:
        // A top-level window that is no dialog forgets its focus when deactivated.
        if (LOWORD(wParam) == WA_INACTIVE) {
            m_savedFocus = GetFocus();
            hideBalloon();
        } else if (m_savedFocus && IsWindow(m_savedFocus)) {
            SetFocus(m_savedFocus);
            return 0;
        }
        break;
    case WM_MOVE:
    case WM_SIZE: hideBalloon(); break;
    case WM_TIMER:
        if (wParam == balloonTimer) {
            hideBalloon();
            return 0;
        }
        break;
    case WM_DESTROY:
        if (!m_destroying)
            PostQuitMessage(0);
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

Form::Form(const char *caption, int clientWidthTwips, int clientHeightTwips,
           std::span<const ControlDef> definition)
    : m_definition(definition)
    , m_native(
          std::make_unique<NativeForm>(caption, clientWidthTwips, clientHeightTwips, definition))
{
}

Form::~Form() = default;

void Form::show()
{
    m_native->show();
}

void Form::reportFailure(const TextBox &result, const TextBox &field, std::string_view message)
{
    MessageBeep(MB_OK);
    m_native->setStale(result.index(), true);
    result.setToolTip({});
    HWND edit = nativeHandle(field);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    m_native->showBalloon(result.index(), message);
}

bool Control::visible() const
{
    return form().native().visible(index());
}

void Control::setVisible(bool visible) const
{
    form().native().setVisible(index(), visible);
}

std::string TextBox::text() const
{
    HWND edit = nativeHandle(*this);
    if (!edit)
        return toUtf8(form().native().pendingText(index()));
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), int(text.size()))));
    return toUtf8(text);
}

void TextBox::setText(std::string_view text) const
{
    HWND edit = nativeHandle(*this);
    form().native().setStale(index(), false);
    if (!edit) {
        form().native().pendingText(index()) = toWide(text);
        return;
    }
    SetWindowTextW(edit, toWide(text).c_str());
    SendMessageW(edit, EM_SETSEL, 0, 0); // the leading characters in view
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

std::string TextBox::toolTip() const
{
    return toUtf8(form().native().toolTip(index()));
}

void TextBox::setToolTip(std::string_view text) const
{
    form().native().toolTip(index()) = toWide(text);
    form().native().setToolTip(index());
}

bool OptionButton::value() const
{
    return form().native().checked(index());
}

void OptionButton::setValue(bool value) const
{
    if (value)
        form().native().select(index());
    else
        form().native().setChecked(index(), false);
}

void Control::setClickHandler(std::function<void()> handler) const
{
    form().native().clickHandler(index()) = std::move(handler);
}

char32_t localeDecimalSeparator()
{
    wchar_t separator[4] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) < 2)
        return U'.';
    return separator[0];
}

HWND nativeWindow(const Form &form)
{
    return form.native().window();
}

HWND nativeHandle(const Control &control)
{
    return control.form().native().control(control.index());
}

bool isShown(const Control &control)
{
    return control.form().native().shown(control.index());
}

RECT rectInClient(const Control &control)
{
    return control.form().native().rectInClient(control.index());
}

int formDpi(const Form &form)
{
    return form.native().dpi();
}

std::wstring balloonText(const Form &form)
{
    return form.native().balloonText();
}

HWND balloonWindow(const Form &form)
{
    return form.native().balloon();
}

bool preTranslateMessage(MSG &message)
{
    NativeForm *form = message.hwnd ? formOf(message.hwnd) : nullptr;
    return form && form->translate(message);
}

void processEvents()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            continue;
        if (!preTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

} // namespace tovrik
