#include "forms/form.h"
#include "base/utf8.h"
#include "forms/win32/backend.h"
#include "forms/win32/dpi.h"
#include "forms/win32/native.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

namespace tovrik {

void Win32FormBackend::show()
{
    if (m_form.modeless && m_owner && !m_placed) {
        m_placed = true;
        placeBesideOwner();
    }
    const int icon = GetSystemMetrics(SM_CXSMICON) * m_dpi / 96;
    SendMessageW(m_window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                     IMAGE_ICON, icon, icon, LR_SHARED)));
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
}

// A dialog keeps its owner disabled and runs the message loop until it is closed.
void Win32FormBackend::showModal()
{
    if (!m_owner)
        return;
    m_modal = true;
    m_closed = false;
    EnableWindow(m_owner, FALSE);
    MSG message;
    while (!m_closed && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!preTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (message.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(message.wParam));
}

void Win32FormBackend::close()
{
    if (m_form.modeless) {
        ShowWindow(m_window, SW_HIDE);
        return;
    }
    if (m_modal) {
        // The owner is enabled again before this window goes, so that it gets the focus back.
        m_closed = true;
        EnableWindow(m_owner, TRUE);
        ShowWindow(m_window, SW_HIDE);
        return;
    }
    DestroyWindow(m_window);
}

int Win32FormBackend::indexOf(HWND control) const
{
    if (!control)
        return -1;
    const auto found
        = std::find_if(m_controls.begin(), m_controls.end(),
                       [&](const ControlState &state) { return state.hwnd == control; });
    return found == m_controls.end() ? -1 : static_cast<int>(found - m_controls.begin());
}

HWND Win32FormBackend::containerWindow(int index) const
{
    return def(index).container == onForm ? m_window : control(def(index).container);
}

bool Win32FormBackend::visible(int index) const
{
    if (HWND hwnd = control(index))
        return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    return state(index).visible;
}

void Win32FormBackend::setVisible(int index, bool visible)
{
    if (visible && def(index).kind == ControlKind::Frame && control(index))
        realize(index);
    if (HWND hwnd = control(index)) {
        ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    if (state(index).visible == visible)
        return;
    state(index).visible = visible;
    if (!windowless(def(index).kind))
        return; // not made yet: it is made as it is
    const PixelRect at = controlRect(def(index), m_dpi);
    const RECT area {at.x, at.y, at.x + at.width, at.y + at.height};
    InvalidateRect(containerWindow(index), &area, TRUE);
}

bool Win32FormBackend::shown(int index) const
{
    for (int at = index; at != onForm; at = def(at).container) {
        if (!visible(at))
            return false;
    }
    return true;
}

RECT Win32FormBackend::rectInClient(int index) const
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

std::wstring withCrLf(std::wstring_view text)
{
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            lines += L'\r';
        lines += text[i];
    }
    return lines;
}

std::wstring withoutCr(std::wstring_view text)
{
    std::wstring lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n'))
            lines += text[i];
    }
    return lines;
}

std::string Win32FormBackend::text(int index) const
{
    HWND edit = control(index);
    std::wstring text;
    if (!edit) {
        text = state(index).text;
    } else {
        text.assign(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), int(text.size()))));
    }
    return toUtf8(multiLine(index) ? withoutCr(text) : text);
}

void Win32FormBackend::setText(int index, std::string_view text)
{
    const std::wstring wide = multiLine(index) ? withCrLf(toWide(text)) : toWide(text);
    HWND edit = control(index);
    if (!edit) {
        state(index).text = wide;
        return;
    }
    SetWindowTextW(edit, wide.c_str());
    showStart(index);
}

void Win32FormBackend::showStart(int index)
{
    if (HWND edit = control(index)) {
        SendMessageW(edit, EM_SETSEL, 0, 0);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    }
}

void Win32FormBackend::selectAll(int index)
{
    SendMessageW(control(index), EM_SETSEL, 0, -1);
}

void Win32FormBackend::setToolTip(int index, std::string_view text)
{
    state(index).toolTip = text;
    if (HWND hwnd = control(index)) // otherwise registered when made
        m_tips.set(hwnd, state(index).toolTip);
}

void Win32FormBackend::setGreyed(int index, bool greyed)
{
    state(index).greyed = greyed;
    if (HWND field = control(index))
        InvalidateRect(field, nullptr, TRUE);
}

bool Win32FormBackend::checked(int index) const
{
    if (HWND button = control(index))
        return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return state(index).checked;
}

void Win32FormBackend::setChecked(int index, bool checked)
{
    state(index).checked = checked;
    if (HWND button = control(index))
        SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32FormBackend::focus(int index)
{
    SetFocus(control(index));
}

void Win32FormBackend::showBalloon(int index, std::string_view text)
{
    m_tips.showBalloon(control(index), text);
}

// The system's own box, so its button speaks the system's language: 确定 on a Chinese Windows.
void Win32FormBackend::messageBox(std::string_view text)
{
    MessageBoxW(m_window, toWide(text).c_str(), applicationTitle().c_str(), MB_OK);
}

void Win32FormBackend::setMenuEnabled(int id, bool enabled)
{
    if (m_menu)
        EnableMenuItem(m_menu, UINT(firstMenuId + id),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32FormBackend::setMenuChecked(int id, bool checked)
{
    if (m_menu)
        CheckMenuItem(m_menu, UINT(firstMenuId + id),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

std::optional<std::string> Win32FormBackend::chooseFile(const FileChoice &choice)
{
    // The filter is pairs of strings each ending in a zero, the last pair ended by another.
    std::wstring filter = toWide(choice.filterName + " (" + choice.pattern + ")");
    filter += L'\0';
    filter += toWide(choice.pattern);
    filter += L'\0';
    filter += L'\0';
    std::wstring file(32768, L'\0');
    const std::wstring name = toWide(choice.name);
    name.copy(file.data(), std::min(name.size(), file.size() - 1));
    const std::wstring title = toWide(choice.title);
    const std::wstring folder = toWide(choice.folder);
    const std::wstring extension
        = choice.pattern.size() > 2 ? toWide(choice.pattern.substr(2)) : L"";
    OPENFILENAMEW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_window;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST
        | (choice.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = choice.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return std::nullopt;
    return toUtf8(file.c_str());
}

bool Win32FormBackend::ask(std::string_view question)
{
    return MessageBoxW(m_window, toWide(question).c_str(), applicationTitle().c_str(),
                       MB_YESNO | MB_DEFBUTTON2)
        == IDYES;
}

bool Win32FormBackend::openExternally(std::string_view path)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(m_window, L"open", toWide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool Win32FormBackend::progress(std::string_view text, int percent)
{
    if (percent < 0) {
        m_progress.reset(nullptr); // its children with it
        m_progressBar = m_progressText = nullptr;
        m_stopAsked = false;
        return true;
    }
    if (!m_progress.get()) {
        m_stopAsked = false;
        createProgress();
    }
    if (!m_stopAsked) {
        SetWindowTextW(m_progressText, toWide(text).c_str());
        SendMessageW(m_progressBar, PBM_SETPOS, WPARAM(percent), 0);
    }
    handleJobMessages();
    return !m_stopAsked;
}

// Centred over the window: the words, the bar, and 取消 below at the right, which has the focus.
void Win32FormBackend::createProgress()
{
    loadCommonControls();
    const auto scaled = [this](int pixels) { return MulDiv(pixels, m_dpi, 96); };
    const int width = scaled(320);
    const int height = scaled(100);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame {0, 0, width, height};
    adjustWindowRect(frame, style, WS_EX_DLGMODALFRAME, false, m_dpi);
    RECT owner;
    GetWindowRect(m_window, &owner);
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_progress.reset(CreateWindowExW(
        WS_EX_DLGMODALFRAME, progressClassName, applicationTitle().c_str(), style,
        (owner.left + owner.right - frameWidth) / 2, (owner.top + owner.bottom - frameHeight) / 2,
        frameWidth, frameHeight, m_window, nullptr, instance, this));
    HWND box = m_progress.get();
    const int margin = scaled(10);
    m_progressText
        = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, margin,
                          margin, width - 2 * margin, scaled(16), box, nullptr, instance, nullptr);
    m_progressBar
        = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, margin, scaled(32),
                          width - 2 * margin, scaled(18), box, nullptr, instance, nullptr);
    const int buttonWidth = scaled(75);
    const int buttonHeight = scaled(25);
    HWND button = CreateWindowExW(
        0, L"BUTTON", L"取消", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
        width - margin - buttonWidth, height - margin - buttonHeight, buttonWidth, buttonHeight,
        box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), instance, nullptr);
    for (HWND child : {m_progressText, button})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(m_defaultFont.get()), FALSE);
    ShowWindow(box, SW_SHOW);
    SetFocus(button);
}

// What came meanwhile: painting, timers and the box's input are handled; the rest of the user's
// input waits (blockedDuringJob). A quit is passed on and stops the job.
void Win32FormBackend::handleJobMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            m_stopAsked = true;
            return;
        }
        if (blockedDuringJob(message) || IsDialogMessageW(m_progress.get(), &message))
            continue;
        if (!preTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// The user's input to any window but the progress box, as a modal box keeps it from its owner;
// but a window can still be moved by its caption and closed, by its close box or Alt+F4, which
// asks the job to stop.
bool Win32FormBackend::blockedDuringJob(const MSG &message) const
{
    if (!message.hwnd || GetAncestor(message.hwnd, GA_ROOT) == m_progress.get())
        return false;
    const UINT kind = message.message;
    if (kind >= WM_KEYFIRST && kind <= WM_KEYLAST)
        return !(kind == WM_SYSKEYDOWN && message.wParam == VK_F4);
    if (kind >= WM_MOUSEFIRST && kind <= WM_MOUSELAST)
        return true;
    if (kind >= WM_NCLBUTTONDOWN && kind <= WM_NCXBUTTONDBLCLK)
        return !(kind == WM_NCLBUTTONDOWN
                 && (message.wParam == HTCAPTION || message.wParam == HTCLOSE));
    return false;
}

namespace {

Key::Code keyCode(WPARAM key)
{
    switch (key) {
    case VK_TAB: return Key::Tab;
    case VK_LEFT: return Key::Left;
    case VK_RIGHT: return Key::Right;
    case VK_UP: return Key::Up;
    case VK_DOWN: return Key::Down;
    case VK_RETURN: return Key::Enter;
    case VK_ESCAPE: return Key::Escape;
    case 'A': return Key::A;
    default: return Key::Other;
    }
}

} // namespace

// Any key or click puts a failure balloon away; the keys the engine has rules for go to it.
bool Win32FormBackend::translate(MSG &message)
{
    if (m_accelerators.get() && TranslateAcceleratorW(m_window, m_accelerators.get(), &message))
        return true;
    switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_SYSKEYDOWN: m_tips.hideBalloon(); return false;
    case WM_KEYDOWN: break;
    default: return false;
    }
    m_tips.hideBalloon();
    const Key key {keyCode(message.wParam), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                   GetKeyState(VK_MENU) < 0};
    return key.code != Key::Other && m_events.keyPressed(indexOf(GetFocus()), key);
}

std::unique_ptr<FormBackend> makeFormBackend(const FormDef &definition, FormEvents &events,
                                             const Form *owner)
{
    return std::make_unique<Win32FormBackend>(definition, events, owner);
}

Win32FormBackend &win32Backend(const Form &form)
{
    return static_cast<Win32FormBackend &>(form.backend());
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
    return win32Backend(form).window();
}

HWND progressWindow(const Form &form)
{
    return win32Backend(form).progressWindow();
}

UINT menuCommand(int id)
{
    return UINT(firstMenuId + id);
}

HACCEL nativeAccelerators(const Form &form)
{
    return win32Backend(form).accelerators();
}

HWND nativeHandle(const Control &control)
{
    return win32Backend(control.form()).control(control.index());
}

bool isShown(const Control &control)
{
    return win32Backend(control.form()).shown(control.index())
        && IsWindowVisible(nativeWindow(control.form()));
}

RECT rectInClient(const Control &control)
{
    return win32Backend(control.form()).rectInClient(control.index());
}

int formDpi(const Form &form)
{
    return win32Backend(form).dpi();
}

std::wstring balloonText(const Form &form)
{
    return win32Backend(form).tips().balloonText();
}

HWND balloonWindow(const Form &form)
{
    return win32Backend(form).tips().balloon();
}

HWND toolTipWindow(const Form &form)
{
    return win32Backend(form).tips().tips();
}

bool preTranslateMessage(MSG &message)
{
    Win32FormBackend *form = message.hwnd ? backendOf(message.hwnd) : nullptr;
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
