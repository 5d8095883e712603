#include "forms/win32/dpi.h"

#include "forms/win32/gdi.h"

namespace tovrik {

int dpiOf(HWND window)
{
    static const auto getDpiForWindow = user32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    const WindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

void adjustWindowRect(RECT &rect, DWORD style, DWORD exStyle, bool menu, int dpi)
{
    static const auto adjustForDpi
        = user32Function<BOOL WINAPI(RECT *, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjustForDpi)
        adjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&rect, style, menu, exStyle);
}

} // namespace tovrik
