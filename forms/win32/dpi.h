#pragma once

#include <windows.h>

// The screen's dots per inch, which Windows 10 gives per monitor and older systems once.
namespace tovrik {

// A window's DPI; the screen's for none.
int dpiOf(HWND window);

// The window rectangle around a client rectangle at a DPI, with a menu bar or without.
void adjustWindowRect(RECT &rect, DWORD style, DWORD exStyle, bool menu, int dpi);

// A user32 function that only newer Windows has, looked up at run time so that the program still
// starts on older systems; nullptr where there is none.
template<typename Function>
Function *user32Function(const char *name)
{
    return reinterpret_cast<Function *>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

} // namespace tovrik
