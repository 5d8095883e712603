#include "base/utf8.h"
#include "forms/form.h"
#include "forms/win32/backend.h"
#include "forms/win32/dpi.h"

#include <algorithm>
#include <cstring>

namespace tovrik {

namespace {

constexpr DWORD formStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// A dialog: a caption and a close box, not sizable.
constexpr DWORD dialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// A modeless form: a window of its own beside its owner, sizable, with a close box.
constexpr DWORD modelessStyle
    = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;

// The window's default font, as the project sets it: 宋体 9 pt, GB2312.
constexpr FontSpec defaultFontSpec {"宋体", 9.0, FW_NORMAL};

OwnedFont createFont(const FontSpec &face, int dpi)
{
    LOGFONTW font {};
    font.lfHeight = -MulDiv(static_cast<int>(face.pointSize * 100.0 + 0.5), dpi, 7200);
    font.lfWeight = face.weight;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY; // SimSun's bitmap strikes, crisp
    const std::wstring family = toWide(face.family);
    family.copy(font.lfFaceName, LF_FACESIZE - 1);
    return OwnedFont(CreateFontIndirectW(&font));
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

} // namespace

Win32FormBackend::Win32FormBackend(const FormDef &definition, FormEvents &events, const Form *owner)
    : m_form(definition)
    , m_definition(definition.controls)
    , m_menuDefinition(definition.menu)
    , m_events(events)
    , m_owner(owner ? win32Backend(*owner).window() : nullptr)
    , m_clientWidthTwips(definition.clientWidth)
    , m_clientHeightTwips(definition.clientHeight)
    , m_controls(definition.controls.size())
{
    const wchar_t *formClass = registerWindowClasses();
    for (int i = 0; i < int(m_definition.size()); ++i) {
        ControlState &control = state(i);
        control.visible = def(i).visible;
        control.checked = def(i).value;
        control.text = toWide(def(i).caption ? def(i).caption : "");
        if (multiLine(i))
            control.text = withCrLf(control.text);
        if (def(i).kind == ControlKind::Image)
            control.picture = loadPicture(def(i).caption);
    }
    buildMenu();
    // Made at its size for the screen's DPI; laid out again if its own turns out otherwise.
    const DWORD style = !m_owner ? formStyle : definition.modeless ? modelessStyle : dialogStyle;
    const DWORD exStyle = m_owner && !definition.modeless ? WS_EX_DLGMODALFRAME : 0;
    const int screenDpi = dpiOf(nullptr);
    const PixelRect client
        = twipsToPixels(0, 0, m_clientWidthTwips, m_clientHeightTwips, screenDpi);
    RECT frame {0, 0, client.width, client.height};
    adjustWindowRect(frame, style, exStyle, m_menu != nullptr, screenDpi);
    m_window = CreateWindowExW(exStyle, formClass, toWide(definition.caption).c_str(), style,
                               CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                               frame.bottom - frame.top, m_owner, m_menu, GetModuleHandleW(nullptr),
                               this);
    m_tips.attach(m_window);
    m_dpi = dpiOf(m_window);
    createFonts();
    realize(onForm);
    RECT got;
    GetClientRect(m_window, &got);
    if (m_dpi != screenDpi || got.right != client.width || got.bottom != client.height)
        sizeWindow();
}

Win32FormBackend::~Win32FormBackend()
{
    m_destroying = true;
    if (m_owner)
        EnableWindow(m_owner, TRUE);
    if (IsWindow(m_window))
        DestroyWindow(m_window); // the menu goes with it
}

void Win32FormBackend::realize(int frame)
{
    if (frame != onForm) {
        if (state(frame).realized)
            return;
        state(frame).realized = true;
    }
    createChildren(frame);
    for (int i = 0; i < int(m_definition.size()); ++i) {
        if (def(i).container == frame && control(i) && !state(i).toolTip.empty())
            m_tips.set(control(i), state(i).toolTip);
    }
}

// Later rows lie on top. A new child goes below its siblings, so each container's controls are
// made last row first; a frame's own controls follow the frame. A hidden panel's controls are made
// when it is first shown: under Wine each native control costs a millisecond of start-up.
void Win32FormBackend::createChildren(int container)
{
    for (int i = int(m_definition.size()) - 1; i >= 0; --i) {
        if (def(i).container == container)
            state(i).hwnd = create(i);
    }
    for (int i = int(m_definition.size()) - 1; i >= 0; --i) {
        if (def(i).container == container && def(i).kind == ControlKind::Frame && state(i).visible)
            realize(i);
    }
}

HWND Win32FormBackend::create(int index)
{
    const ControlDef &def = this->def(index);
    if (windowless(def.kind))
        return nullptr;
    HWND parent = def.container == onForm ? m_window : control(def.container);
    const ControlState &was = state(index);
    const wchar_t *className = L"STATIC";
    DWORD style = WS_CHILD | (was.visible ? WS_VISIBLE : 0);
    DWORD exStyle = 0;
    switch (def.kind) {
    case ControlKind::Frame:
        className = frameClassName;
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
        // Many lines broken at words, scrolled up and down; or one line scrolled sideways.
        style |= ES_LEFT
            | (hasOption(def, MultiLine) ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL
                                         : ES_AUTOHSCROLL)
            | (hasOption(def, ReadOnly) ? ES_READONLY : 0);
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
        exStyle, className, was.text.c_str(), style, rect.x, rect.y, rect.width, rect.height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + index)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(def)), FALSE);
    switch (def.kind) {
    case ControlKind::OptionButton:
        SendMessageW(control, BM_SETCHECK, was.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::TextBox:
        SendMessageW(control, EM_SETLIMITTEXT, 0, 0); // as long as the user likes
        break;
    default: break;
    }
    return control;
}

void Win32FormBackend::createFonts()
{
    m_defaultFont = createFont(defaultFontSpec, m_dpi);
    m_fonts.clear();
    for (const ControlDef &def : m_definition) {
        if (def.font && std::none_of(m_fonts.begin(), m_fonts.end(), [&](const auto &entry) {
                return entry.first == def.font;
            }))
            m_fonts.emplace_back(def.font, createFont(*def.font, m_dpi));
    }
    m_tips.setFont(m_defaultFont.get(), m_dpi);
}

HFONT Win32FormBackend::fontFor(const ControlDef &def) const
{
    for (const auto &[face, font] : m_fonts) {
        if (face == def.font)
            return font.get();
    }
    return m_defaultFont.get();
}

void Win32FormBackend::sizeWindow()
{
    const PixelRect client = twipsToPixels(0, 0, m_clientWidthTwips, m_clientHeightTwips, m_dpi);
    RECT frame {0, 0, client.width, client.height};
    adjustWindowRect(frame, static_cast<DWORD>(GetWindowLongW(m_window, GWL_STYLE)),
                     static_cast<DWORD>(GetWindowLongW(m_window, GWL_EXSTYLE)), m_menu != nullptr,
                     m_dpi);
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

// Every rectangle and font again, when the window has moved to a screen of another DPI. The old
// fonts go only when every control has the new ones.
void Win32FormBackend::layout()
{
    OwnedFont oldDefault = std::move(m_defaultFont);
    std::vector<std::pair<const FontSpec *, OwnedFont>> oldFonts = std::move(m_fonts);
    createFonts();
    for (int i = 0; i < int(m_definition.size()); ++i) {
        if (!control(i))
            continue; // drawn at the new DPI by its container
        const PixelRect rect = controlRect(def(i), m_dpi);
        SetWindowPos(control(i), nullptr, rect.x, rect.y, rect.width, rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control(i), WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(def(i))), TRUE);
    }
    // The tips are broken into lines in their font, which is another now.
    for (int i = 0; i < int(m_definition.size()); ++i) {
        if (control(i) && !state(i).toolTip.empty())
            m_tips.set(control(i), state(i).toolTip);
    }
    sizeWindow();
    if (m_form.modeless)
        followWindow();
    InvalidateRect(m_window, nullptr, TRUE);
}

// Its own size kept, it goes to the right of its owner, on the owner's screen.
void Win32FormBackend::placeBesideOwner()
{
    RECT owner;
    RECT own;
    GetWindowRect(m_owner, &owner);
    GetWindowRect(m_window, &own);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &work = monitor.rcWork;
    const PixelRect at
        = besideOwner({owner.left, owner.top, owner.right - owner.left, owner.bottom - owner.top},
                      own.right - own.left, own.bottom - own.top,
                      {work.left, work.top, work.right - work.left, work.bottom - work.top},
                      MulDiv(8, m_dpi, 96));
    SetWindowPos(m_window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's menu as the definition gives it, the shortcuts written after a tab as Windows
// menus show them, and their accelerator table.
void Win32FormBackend::buildMenu()
{
    if (m_menuDefinition.empty())
        return;
    m_menu = CreateMenu();
    std::vector<std::pair<int, HMENU>> menus {{0, m_menu}};
    const auto menuOf = [&](int id) {
        for (const auto &[known, menu] : menus) {
            if (known == id)
                return menu;
        }
        return m_menu;
    };
    std::vector<ACCEL> accelerators;
    for (const MenuDef &item : m_menuDefinition) {
        HMENU parent = menuOf(item.parent);
        std::wstring text = toWide(item.text ? item.text : "");
        if (item.shortcut)
            text += L"\t" + toWide(item.shortcut);
        const UINT command = UINT(firstMenuId + item.id);
        switch (item.kind) {
        case MenuKind::Menu: {
            HMENU menu = CreatePopupMenu();
            AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu),
                        text.c_str());
            menus.emplace_back(item.id, menu);
            break;
        }
        case MenuKind::Separator: AppendMenuW(parent, MF_SEPARATOR, 0, nullptr); break;
        case MenuKind::Command:
        case MenuKind::Check:
        case MenuKind::Radio: {
            AppendMenuW(parent, MF_STRING, command, text.c_str());
            if (item.kind == MenuKind::Radio) {
                MENUITEMINFOW info {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_FTYPE;
                info.fType = MFT_STRING | MFT_RADIOCHECK; // a bullet, not a tick
                SetMenuItemInfoW(parent, command, FALSE, &info);
            }
            if (item.shortcut) {
                const Shortcut key = parseShortcut(item.shortcut);
                ACCEL accelerator {};
                accelerator.fVirt = BYTE(FVIRTKEY | (key.control ? FCONTROL : 0)
                                         | (key.shift ? FSHIFT : 0) | (key.alt ? FALT : 0));
                accelerator.key = WORD(key.function ? VK_F1 + key.function - 1 : key.letter);
                accelerator.cmd = WORD(command);
                accelerators.push_back(accelerator);
            }
            break;
        }
        }
    }
    if (!accelerators.empty())
        m_accelerators.reset(
            CreateAcceleratorTableW(accelerators.data(), int(accelerators.size())));
}

} // namespace tovrik
