#pragma once

#include <windows.h>

#include "forms/wrap.h"

#include <string>
#include <string_view>

// A form's tooltips and its failure balloon, both made when first needed: a window that shows
// no tip starts without the common controls.
namespace tovrik {

// The common controls, loaded once, when first needed.
void loadCommonControls();

class Tips
{
public:
    Tips() = default;
    Tips(const Tips &) = delete;
    Tips &operator=(const Tips &) = delete;

    // The window the tips belong to, and that gets the balloon's timer.
    void attach(HWND owner) { m_owner = owner; }

    // The tip a control shows when the mouse rests on it, UTF-8; an empty text shows none.
    void set(HWND control, std::string_view text);
    // Below a control, until hide() or the timer the owner gets as WM_TIMER balloonTimer.
    void showBalloon(HWND at, std::string_view text);
    void hideBalloon();
    const std::wstring &balloonText() const { return m_balloonText; }
    HWND balloon();
    // The tooltip control of the controls' tips, made when first asked for.
    HWND tips();
    // The font and width of both, again at another DPI.
    void setFont(HFONT font, int dpi);

    static constexpr UINT_PTR balloonTimer = 1;

private:
    HWND makeTip(DWORD style);
    // The text broken into lines as every backend breaks tips, measured in the tips' font.
    std::wstring wrapped(std::string_view text) const;
    int width() const { return MulDiv(tipWidth, m_dpi, 96); }

    HWND m_owner = nullptr;
    HWND m_tips = nullptr;
    HWND m_balloon = nullptr;
    HFONT m_font = nullptr;
    int m_dpi = 96;
    std::wstring m_balloonText;
};

} // namespace tovrik
