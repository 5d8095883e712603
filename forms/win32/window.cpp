#include "forms/form.h"
#include "forms/win32/backend.h"

#include <windowsx.h>

#include <cstring>

namespace tovrik {

namespace {

constexpr wchar_t formClass[] = L"TovrikForm";

LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *form = reinterpret_cast<Win32FormBackend *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form && form->window() == window)
        return form->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A Frame: a container of its own class that draws the etched group box, its caption and its
// lightweight controls, and passes its children's notifications on to the form, which a plain
// BS_GROUPBOX would swallow.
LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Win32FormBackend *form = backendOf(frame))
        return form->handleFrame(frame, message, wParam, lParam);
    return DefWindowProcW(frame, message, wParam, lParam);
}

// The progress box: its 取消 button (IDCANCEL, which Esc presses too, or IDOK for Enter on it) and
// its close box ask the job to stop; the box stays until the job has ended.
LRESULT CALLBACK progressProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *form = reinterpret_cast<Win32FormBackend *>(GetWindowLongPtrW(box, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (form && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK))
            form->stopAsked();
        return 0;
    case WM_CLOSE:
        if (form)
            form->stopAsked();
        return 0;
    default: return DefWindowProcW(box, message, wParam, lParam);
    }
}

} // namespace

const wchar_t *registerWindowClasses()
{
    static const bool registered = [] {
        WNDCLASSEXW form {};
        form.cbSize = sizeof form;
        form.lpfnWndProc = formProc;
        form.hInstance = GetModuleHandleW(nullptr);
        form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        form.lpszClassName = formClass;
        form.hIcon = LoadIconW(form.hInstance, MAKEINTRESOURCEW(1));
        RegisterClassExW(&form);
        WNDCLASSEXW frame = form;
        frame.lpfnWndProc = frameProc;
        frame.hIcon = nullptr;
        frame.lpszClassName = frameClassName;
        RegisterClassExW(&frame);
        WNDCLASSEXW progress = frame;
        progress.lpfnWndProc = progressProc;
        progress.lpszClassName = progressClassName;
        RegisterClassExW(&progress);
        return true;
    }();
    (void)registered;
    return formClass;
}

Win32FormBackend *backendOf(HWND window)
{
    HWND root = GetAncestor(window, GA_ROOT);
    wchar_t name[32];
    if (!root || !GetClassNameW(root, name, 32) || std::wcscmp(name, formClass) != 0)
        return nullptr;
    return reinterpret_cast<Win32FormBackend *>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

LRESULT Win32FormBackend::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: return command(wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return colours(wParam, lParam);
    case WM_PAINT: {
        const PaintDC dc(m_window);
        paintWindowless(onForm, dc.get());
        return 0;
    }
    case WM_LBUTTONUP:
        clickWindowless(onForm, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_DPICHANGED:
        dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_ACTIVATE:
        activated(LOWORD(wParam) != WA_INACTIVE);
        if (LOWORD(wParam) != WA_INACTIVE && m_savedFocus && IsWindow(m_savedFocus))
            return 0;
        break;
    case WM_SIZE:
        if (m_form.modeless)
            followWindow();
        m_tips.hideBalloon();
        break;
    case WM_MOVE: m_tips.hideBalloon(); break;
    case WM_TIMER:
        if (wParam == Tips::balloonTimer) {
            m_tips.hideBalloon();
            return 0;
        }
        break;
    case WM_CLOSE:
        // The close box, Alt+F4 or the system: the engine may keep the window open.
        if (m_events.closeRequested())
            close();
        return 0;
    case WM_DESTROY:
        if (!m_destroying && !m_owner)
            PostQuitMessage(0);
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

LRESULT Win32FormBackend::handleFrame(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return handle(message, wParam, lParam);
    case WM_PAINT: {
        const PaintDC dc(frame);
        paintFrame(frame, dc.get());
        paintWindowless(indexOf(frame), dc.get());
        return 0;
    }
    case WM_LBUTTONUP:
        clickWindowless(indexOf(frame), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

// A control's notification, or a menu item chosen.
LRESULT Win32FormBackend::command(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0) {
        if ((HIWORD(wParam) == 0 || HIWORD(wParam) == 1) && LOWORD(wParam) >= firstMenuId)
            m_events.menuChosen(LOWORD(wParam) - firstMenuId); // a menu item, or its shortcut
        return 0;
    }
    const int index = indexOf(reinterpret_cast<HWND>(lParam));
    if (index < 0)
        return 0;
    const WORD code = HIWORD(wParam);
    switch (def(index).kind) {
    case ControlKind::OptionButton:
    case ControlKind::CommandButton:
        if (code == BN_CLICKED)
            m_events.clicked(index);
        break;
    case ControlKind::TextBox:
        if (code == EN_KILLFOCUS && !m_destroying) {
            // Not when the focus only went to another window: then it comes back here.
            HWND now = GetFocus();
            if (now && GetAncestor(now, GA_ROOT) == m_window)
                m_events.focusLost(index);
        }
        break;
    default: break;
    }
    return 0;
}

LRESULT Win32FormBackend::colours(WPARAM wParam, LPARAM lParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    const int index = indexOf(reinterpret_cast<HWND>(lParam));
    const bool field = index >= 0 && def(index).kind == ControlKind::TextBox;
    COLORREF text = GetSysColor(field ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    if (index >= 0 && def(index).foreColour != defaultColour)
        text = def(index).foreColour; // 0x00BBGGRR, as COLORREF is
    if (index >= 0 && state(index).greyed)
        text = GetSysColor(COLOR_GRAYTEXT); // a result that is not current
    const int background = field ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(dc, text);
    SetBkColor(dc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

void Win32FormBackend::dpiChanged(int dpi, const RECT &suggested)
{
    m_dpi = dpi;
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    layout();
}

void Win32FormBackend::followWindow()
{
    RECT client;
    GetClientRect(m_window, &client);
    for (int i = 0; i < int(m_definition.size()); ++i) {
        if (!control(i) || def(i).container != onForm)
            continue;
        const PixelRect at = stretchedRect(m_form, i, client.right, client.bottom, m_dpi);
        SetWindowPos(control(i), nullptr, at.x, at.y, at.width, at.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// A top-level window that is no dialog forgets its focus when deactivated: keep it, and give it
// back when the window is active again.
void Win32FormBackend::activated(bool active)
{
    if (!active) {
        m_savedFocus = GetFocus();
        m_tips.hideBalloon();
    } else if (m_savedFocus && IsWindow(m_savedFocus)) {
        SetFocus(m_savedFocus);
    }
}

} // namespace tovrik
