#pragma once

#include <windows.h>

#include <utility>

// Small owners for the handles the backend makes, so that nothing is deleted by hand or leaked on
// an early return.
namespace tovrik {

// A font, brush or bitmap the owner made, deleted with it.
template<typename Handle>
class GdiObject
{
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle)
        : m_handle(handle)
    {
    }
    ~GdiObject() { reset(); }
    GdiObject(GdiObject &&other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr))
    {
    }
    GdiObject &operator=(GdiObject &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;

    Handle get() const { return m_handle; }
    void reset()
    {
        if (m_handle)
            DeleteObject(m_handle);
        m_handle = nullptr;
    }

private:
    Handle m_handle = nullptr;
};

using OwnedFont = GdiObject<HFONT>;

// An accelerator table the owner made, destroyed with it.
class OwnedAccelerators
{
public:
    OwnedAccelerators() = default;
    ~OwnedAccelerators() { reset(nullptr); }
    OwnedAccelerators(const OwnedAccelerators &) = delete;
    OwnedAccelerators &operator=(const OwnedAccelerators &) = delete;
    HACCEL get() const { return m_table; }
    void reset(HACCEL table)
    {
        if (m_table)
            DestroyAcceleratorTable(m_table);
        m_table = table;
    }

private:
    HACCEL m_table = nullptr;
};

// A window the owner made, destroyed with it unless it has gone already; its children go with it.
class OwnedWindow
{
public:
    OwnedWindow() = default;
    ~OwnedWindow() { reset(nullptr); }
    OwnedWindow(const OwnedWindow &) = delete;
    OwnedWindow &operator=(const OwnedWindow &) = delete;
    HWND get() const { return m_window; }
    void reset(HWND window)
    {
        if (m_window && IsWindow(m_window))
            DestroyWindow(m_window);
        m_window = window;
    }

private:
    HWND m_window = nullptr;
};

// A registry key opened or created, closed with its owner.
class OwnedKey
{
public:
    OwnedKey() = default;
    ~OwnedKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    OwnedKey(const OwnedKey &) = delete;
    OwnedKey &operator=(const OwnedKey &) = delete;
    HKEY get() const { return m_key; }
    // Where RegOpenKeyExW and RegCreateKeyExW put the key; open none before.
    HKEY *out() { return &m_key; }

private:
    HKEY m_key = nullptr;
};

// A window's device context, released when done: GetDC and ReleaseDC.
class WindowDC
{
public:
    explicit WindowDC(HWND window)
        : m_window(window)
        , m_dc(GetDC(window))
    {
    }
    ~WindowDC() { ReleaseDC(m_window, m_dc); }
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint and EndPaint around a WM_PAINT's drawing.
class PaintDC
{
public:
    explicit PaintDC(HWND window)
        : m_window(window)
        , m_dc(BeginPaint(window, &m_paint))
    {
    }
    ~PaintDC() { EndPaint(m_window, &m_paint); }
    PaintDC(const PaintDC &) = delete;
    PaintDC &operator=(const PaintDC &) = delete;
    HDC get() const { return m_dc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint {};
    HDC m_dc;
};

// An object selected into a device context for a while, and the one before it put back.
class Selection
{
public:
    Selection(HDC dc, HGDIOBJ object)
        : m_dc(dc)
        , m_previous(SelectObject(dc, object))
    {
    }
    ~Selection() { SelectObject(m_dc, m_previous); }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace tovrik
