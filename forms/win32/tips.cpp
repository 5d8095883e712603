#include "forms/win32/tips.h"

#include "base/utf8.h"

#include <commctrl.h>

namespace tovrik {

namespace {

constexpr UINT balloonTime = 6000; // ms: long enough to read two lines twice

TTTOOLINFOW toolFor(HWND owner)
{
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    return tool;
}

} // namespace

// The tooltips and the progress bar come from the common controls, loaded with the first of
// them rather than with the program: a window that shows none starts without them.
void loadCommonControls()
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

HWND Tips::makeTip(DWORD style)
{
    loadCommonControls();
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | style, 0, 0, 0, 0, m_owner,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tip, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, width());
    return tip;
}

HWND Tips::tips()
{
    if (!m_tips)
        m_tips = makeTip(0);
    return m_tips;
}

HWND Tips::balloon()
{
    if (!m_balloon) {
        m_balloon = makeTip(TTS_BALLOON);
        TTTOOLINFOW tool = toolFor(m_owner);
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.lpszText = const_cast<wchar_t *>(L"");
        SendMessageW(m_balloon, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return m_balloon;
}

// The tooltip control breaks a line at a blank, and in Chinese text anywhere, so after a "/" as
// well: "30.53 m/" and "s". It is given lines already broken by the one rule at the width it
// is set to, which it then keeps as they are.
std::wstring Tips::wrapped(std::string_view text) const
{
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ was = SelectObject(dc, m_font);
    const auto measure = [dc](std::string_view piece) {
        const std::wstring wide = toWide(piece);
        SIZE size {};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
    std::wstring lines;
    bool first = true;
    for (const std::string_view line : wrapLines(text, width(), measure)) {
        if (!first)
            lines += L"\r\n";
        lines += toWide(line);
        first = false;
    }
    SelectObject(dc, was);
    DeleteDC(dc);
    return lines;
}

void Tips::set(HWND control, std::string_view text)
{
    TTTOOLINFOW tool = toolFor(m_owner);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    HWND tip = tips();
    TTTOOLINFOW known = tool; // asked without a text buffer, which the tip would write into
    const bool added = SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known));
    std::wstring lines = wrapped(text);
    tool.lpszText = lines.data();
    SendMessageW(tip, added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
}

void Tips::showBalloon(HWND at, std::string_view text)
{
    m_balloonText = toWide(text);
    std::wstring lines = wrapped(text);
    TTTOOLINFOW tool = toolFor(m_owner);
    tool.lpszText = lines.data();
    SendMessageW(balloon(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT field;
    GetWindowRect(at, &field);
    SendMessageW(m_balloon, TTM_TRACKPOSITION, 0, MAKELPARAM(field.left, field.bottom));
    SendMessageW(m_balloon, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(m_owner, balloonTimer, balloonTime, nullptr);
}

void Tips::hideBalloon()
{
    if (m_balloonText.empty())
        return;
    m_balloonText.clear();
    KillTimer(m_owner, balloonTimer);
    TTTOOLINFOW tool = toolFor(m_owner);
    SendMessageW(m_balloon, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void Tips::setFont(HFONT font, int dpi)
{
    m_font = font;
    m_dpi = dpi;
    for (HWND tip : {m_tips, m_balloon}) {
        if (tip) {
            SendMessageW(tip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, width());
        }
    }
}

} // namespace tovrik
