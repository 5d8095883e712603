#include "forms/win32/backend.h"

namespace tovrik {

namespace {

void drawPicture(HDC dc, const DrawnPicture &picture, int x, int y)
{
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, DWORD(picture.width), DWORD(picture.height), 0, 0, 0,
                      UINT(picture.height), picture.pixels.data(), &info, DIB_RGB_COLORS);
}

} // namespace

// The lightweight controls of a container, in table order, so that later rows lie on top.
void Win32FormBackend::paintWindowless(int container, HDC dc)
{
    for (int i = 0; i < int(m_definition.size()); ++i) {
        const ControlDef &def = this->def(i);
        if (def.container != container || !windowless(def.kind) || !state(i).visible)
            continue;
        const PixelRect at = controlRect(def, m_dpi);
        const RECT area {at.x, at.y, at.x + at.width, at.y + at.height};
        switch (def.kind) {
        case ControlKind::Line: FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOWTEXT)); break;
        case ControlKind::Image: {
            // Stretched over the whole control with every line kept, as every backend draws it.
            DrawnPicture &drawn = state(i).drawn;
            if (drawn.width != at.width || drawn.height != at.height) {
                Picture stretched = stretchKeepingLines(state(i).picture, at.width, at.height);
                drawn = {stretched.width, stretched.height, std::move(stretched.pixels)};
            }
            if (!drawn.pixels.empty())
                drawPicture(dc, drawn, at.x, at.y);
            break;
        }
        default: break;
        }
    }
}

// A click on a container goes to the uppermost picture showing under it.
void Win32FormBackend::clickWindowless(int container, POINT at)
{
    for (int i = int(m_definition.size()) - 1; i >= 0; --i) {
        const ControlDef &def = this->def(i);
        if (def.container != container || def.kind != ControlKind::Image || !state(i).visible)
            continue;
        const PixelRect r = controlRect(def, m_dpi);
        if (at.x >= r.x && at.x < r.x + r.width && at.y >= r.y && at.y < r.y + r.height) {
            m_events.clicked(i);
            return;
        }
    }
}

// The etched group box and its caption, which the frame's own class draws.
void Win32FormBackend::paintFrame(HWND frame, HDC dc)
{
    const Selection font(dc, m_defaultFont.get());
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
}

} // namespace tovrik
