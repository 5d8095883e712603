#include "runtime/thunrt.h"

#include "runtime/form.h"
#include "runtime/msgbox.h"
#include "runtime/utf8.h"
#include "runtime/win32/native.h"

namespace tovrik {

namespace {

std::wstring &applicationTitle()
{
    static std::wstring title = L"Tovrik";
    return title;
}

} // namespace

void initializeRuntime(const ProjectHeader &header)
{
    applicationTitle() = toWide(header.title);
    // The manifest says the same; this holds where it is not read.
    using SetContext = BOOL WINAPI(HANDLE);
    if (auto *set = reinterpret_cast<SetContext *>(reinterpret_cast<void *>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext"))))
        set(reinterpret_cast<HANDLE>(-4)); // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
}

int ThunRTMain(const ProjectHeader &header)
{
    initializeRuntime(header);
    std::unique_ptr<Form> form = header.createStartupForm();
    form->load();
    form->show();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!preTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

// The system's own box, so its button speaks the system's language: 确定 on a Chinese Windows.
void rtcMsgBox(const Form &owner, std::string_view prompt)
{
    MessageBoxW(nativeWindow(owner), toWide(prompt).c_str(), applicationTitle().c_str(), MB_OK);
}

} // namespace tovrik
