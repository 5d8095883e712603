#include "forms/thunrt.h"

#include "base/utf8.h"
#include "forms/form.h"
#include "forms/win32/native.h"

namespace tovrik {

namespace {

std::wstring &title()
{
    static std::wstring text = L"Tovrik";
    return text;
}

} // namespace

const std::wstring &applicationTitle()
{
    return title();
}

void initializeRuntime(const ProjectHeader &header)
{
    title() = toWide(header.title);
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

} // namespace tovrik
