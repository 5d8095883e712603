// Starts either Tovrik's window, set up exactly as Tovrik.exe does, or a bare Win32 window with
// one Chinese label in the same font, and ends as soon as the window is mapped (shown, its frame
// painted), or with "painted" once every control in it has painted too. Timed from outside,
// under Wine, the two give start to window shown side by side:
//   tools/bench/startup-windows.sh

#include "app/project.h"
#include "forms/form.h"
#include "forms/thunrt.h"
#include "forms/win32/native.h"

#include <windows.h>

#include <cstring>
#include <memory>

namespace {

bool untilPainted = false;

// Ends the process at once: what is timed is the start, not the teardown, which the bare
// window would skip.
[[noreturn]] void end()
{
    if (untilPainted) {
        MSG message;
        while (GetQueueStatus(QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE) != 0
               && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    GdiFlush();
    ExitProcess(0);
}

int bare()
{
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"Bare";
    RegisterClassW(&windowClass);
    HWND window
        = CreateWindowExW(0, L"Bare", L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                          402, 520, nullptr, nullptr, windowClass.hInstance, nullptr);
    HWND label = CreateWindowExW(0, L"STATIC", L"压缩空气标态流量Q=", WS_CHILD | WS_VISIBLE, 8, 8,
                                 217, 17, window, nullptr, windowClass.hInstance, nullptr);
    LOGFONTW font {};
    font.lfHeight = -12;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = NONANTIALIASED_QUALITY;
    std::wcscpy(font.lfFaceName, L"宋体");
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectW(&font)), FALSE);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    end();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2 || argc > 3
        || (std::strcmp(argv[1], "tovrik") != 0 && std::strcmp(argv[1], "bare") != 0))
        return 2;
    untilPainted = argc == 3 && std::strcmp(argv[2], "painted") == 0;
    if (std::strcmp(argv[1], "bare") == 0)
        return bare();
    const tovrik::ProjectHeader &header = tovrik::projectHeader();
    tovrik::initializeRuntime(header);
    const std::unique_ptr<tovrik::Form> form = header.createStartupForm();
    form->load();
    form->show();
    end();
}
