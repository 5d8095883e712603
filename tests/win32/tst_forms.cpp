// The form engine's modeless forms, text views, long jobs and settings on the Win32 backend,
// driven under Wine (or Windows) by messages posted to the real windows, as a user's clicks and
// keys arrive, and read back from them.

#include "app/project.h"
#include "base/utf8.h"
#include "forms/thunrt.h"
#include "forms/win32/native.h"
#include "tests/formchecks.h"
#include "tests/win32/harness.h"

#include <windows.h>

#include <algorithm>

#include <cstdlib>
#include <cstring>

using namespace tovrik;

namespace {

constexpr wchar_t settingsKey[] = L"Software\\TovrikTest-forms";

// A click at the centre of a control's own window, left to the message loop that runs next.
void postClick(HWND control)
{
    RECT r {};
    GetClientRect(control, &r);
    const LPARAM centre = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(control, WM_LBUTTONUP, 0, centre);
}

// A key pressed with Ctrl held or not, in the window with the focus, and handled at once.
void pressKey(HWND focus, UINT vk, bool control, bool shift = false)
{
    SetFocus(focus);
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(focus, WM_KEYDOWN, vk, 1);
    PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
    processEvents();
    state[VK_CONTROL] = 0;
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

class Win32FormsDriver : public formchecks::FormsDriver
{
public:
    void show(Form &form) override
    {
        form.show();
        processEvents();
    }
    void settle() override { processEvents(); }
    void click(const Control &control) override { postClick(nativeHandle(control)); }
    void type(const TextBox &box, const std::string &text) override
    {
        SetFocus(nativeHandle(box));
        for (const wchar_t c : toWide(text))
            PostMessageW(nativeHandle(box), WM_CHAR, c, 1);
    }
    void key(const Control &control, Key key) override
    {
        static constexpr UINT keys[]
            = {VK_TAB, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_RETURN, VK_ESCAPE, 'A', 0};
        pressKey(nativeHandle(control), keys[key.code], key.control, key.shift);
    }
    // What the close box sends once clicked.
    void closeByUser(const Form &form) override
    {
        PostMessageW(nativeWindow(form), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    bool windowShown(const Form &form) override
    {
        return IsWindow(nativeWindow(form)) && IsWindowVisible(nativeWindow(form));
    }
    PixelRect windowRect(const Form &form) override
    {
        RECT r {};
        GetWindowRect(nativeWindow(form), &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    PixelRect screenArea(const Form &form) override
    {
        MONITORINFO monitor {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(nativeWindow(form), MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT &r = monitor.rcWork;
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    void moveWindow(const Form &form, int x, int y) override
    {
        SetWindowPos(nativeWindow(form), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        processEvents();
    }
    void growWindow(const Form &form, int wider, int taller) override
    {
        RECT r {};
        GetWindowRect(nativeWindow(form), &r);
        SetWindowPos(nativeWindow(form), nullptr, 0, 0, r.right - r.left + wider,
                     r.bottom - r.top + taller, SWP_NOMOVE | SWP_NOZORDER);
        processEvents();
    }
    PixelRect rectInClient(const Control &control) override
    {
        const RECT r = tovrik::rectInClient(control);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    bool progressShown(const Form &form) override
    {
        HWND box = progressWindow(form);
        return box && IsWindowVisible(box);
    }
    std::string progressButton(const Form &form) override
    {
        HWND box = progressWindow(form);
        return box ? toUtf8(windowText(GetDlgItem(box, IDCANCEL))) : std::string();
    }
    void clickProgressButton(const Form &form) override
    {
        if (HWND box = progressWindow(form))
            postClick(GetDlgItem(box, IDCANCEL));
    }
    void escapeInProgress(const Form &form) override
    {
        if (progressWindow(form)) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        }
    }
    int firstVisibleLine(const TextBox &box) override
    {
        return int(SendMessageW(nativeHandle(box), EM_GETFIRSTVISIBLELINE, 0, 0));
    }
    int shownLines(const TextBox &box) override
    {
        return int(SendMessageW(nativeHandle(box), EM_GETLINECOUNT, 0, 0));
    }
    void scrollToEnd(const TextBox &box) override { pressKey(nativeHandle(box), VK_END, true); }
    std::string selectedText(const TextBox &box) override
    {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(nativeHandle(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        std::wstring selected = windowText(nativeHandle(box)).substr(start, end - start);
        std::erase(selected, L'\r');
        return toUtf8(selected);
    }
    // Ctrl+C as the keyboard gives it: the key, which TranslateMessage makes the character 3.
    void copy(const TextBox &box) override { pressKey(nativeHandle(box), 'C', true); }
    std::string clipboard() override
    {
        std::string text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto *wide = static_cast<const wchar_t *>(GlobalLock(data))) {
                text = toUtf8(wide);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    }
};

// The registry under the test's own place, written as a user's editor or a fault would leave it.
class Win32SettingsDriver : public formchecks::SettingsDriver
{
public:
    std::vector<std::pair<std::string, std::function<void(const std::string &)>>> damages() override
    {
        const auto set = [](DWORD type, const void *data, DWORD bytes) {
            return [=](const std::string &key) {
                HKEY folder = nullptr;
                RegCreateKeyExW(HKEY_CURRENT_USER, settingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &folder, nullptr);
                RegSetValueExW(folder, toWide(key).c_str(), 0, type,
                               static_cast<const BYTE *>(data), bytes);
                RegCloseKey(folder);
            };
        };
        static const DWORD number = 40;
        static const BYTE bytes[] = {0x63, 0x00, 0x6E, 0x00};
        // Windows adds the NUL a writer left out when the character after the data is one.
        static const wchar_t cut[] = L"cnX";
        static const wchar_t odd[] = L"cn";
        static const wchar_t lone[] = {L'c', 0xD800, L'n', 0};
        static const wchar_t inner[] = {L'c', 0, L'n', 0};
        static const wchar_t expand[] = L"%TEMP%";
        static const wchar_t multi[] = L"cn\0asme40\0";
        return {
            {"a REG_DWORD", set(REG_DWORD, &number, sizeof number)},
            {"a REG_BINARY", set(REG_BINARY, bytes, sizeof bytes)},
            {"a string without its NUL", set(REG_SZ, cut, 2 * sizeof(wchar_t))},
            {"a string of an odd length", set(REG_SZ, odd, 5)},
            {"a lone surrogate", set(REG_SZ, lone, sizeof lone)},
            {"a NUL inside", set(REG_SZ, inner, sizeof inner)},
            {"an empty REG_SZ of no bytes", set(REG_SZ, odd, 0)},
            {"a REG_EXPAND_SZ", set(REG_EXPAND_SZ, expand, sizeof expand)},
            {"a REG_MULTI_SZ", set(REG_MULTI_SZ, multi, sizeof multi)},
        };
    }
    std::string stored(const std::string &key) override
    {
        std::wstring path = settingsKey;
        std::wstring name = toWide(key);
        const std::size_t slash = name.rfind(L'/');
        if (slash != std::wstring::npos) {
            std::wstring folders = name.substr(0, slash);
            std::replace(folders.begin(), folders.end(), L'/', L'\\');
            path += L"\\" + folders;
            name = name.substr(slash + 1);
        }
        wchar_t value[256] = {};
        DWORD size = sizeof value;
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                         value, &size)
            != ERROR_SUCCESS)
            return {};
        return toUtf8(value);
    }
    bool placeExists() override
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, settingsKey, 0, KEY_QUERY_VALUE, &key)
            != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
};

void formsOnWin32()
{
    Win32FormsDriver driver;
    for (const formchecks::Check &check : formchecks::checks) {
        harness::context = check.name;
        for (const std::string &failure : check.run(driver))
            CHECK_EQ(failure, std::string());
    }
}

void settingsOnWin32()
{
    Win32SettingsDriver driver;
    for (const formchecks::SettingsCheck &check : formchecks::settingsChecks) {
        harness::context = check.name;
        for (const std::string &failure : check.run(driver))
            CHECK_EQ(failure, std::string());
    }
}

// The edit control ends its lines in CR LF, as every Windows draws them and as the clipboard
// gives them to other programs; the engine's text ends them in LF alone, both ways.
void linesEndInCrLf()
{
    Win32FormsDriver driver;
    formchecks::JobForm owner;
    driver.show(owner);
    formchecks::NotesForm notes(owner);
    driver.show(notes);
    notes.Text1.setText("第一行\n第二行\r\n\n第四行");
    CHECK_EQ(toUtf8(windowText(nativeHandle(notes.Text1))), "第一行\r\n第二行\r\n\r\n第四行");
    CHECK_EQ(notes.Text1.text(), "第一行\n第二行\n\n第四行");
    driver.key(notes.Text1, {Key::A, false, true});
    driver.copy(notes.Text1);
    CHECK_EQ(driver.clipboard(), "第一行\r\n第二行\r\n\r\n第四行");
}

// Each value a REG_SZ under HKCU\Software\<place>, the key's words but the last as subkeys.
void settingsInTheRegistry()
{
    clearSettings();
    CHECK(writeSetting("line/air/length", "120"));
    wchar_t value[16] = {};
    DWORD size = sizeof value;
    DWORD type = 0;
    CHECK_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\TovrikTest-forms\\line\\air", L"length",
                          RRF_RT_ANY, &type, value, &size),
             LONG(ERROR_SUCCESS));
    CHECK_EQ(type, DWORD(REG_SZ));
    CHECK_EQ(toUtf8(value), "120");
    CHECK_EQ(size, DWORD(4 * sizeof(wchar_t)));
    clearSettings();
}

// A place that is no name keeps nothing, anywhere: not the user's own settings instead.
void settingsPlaceNamedWrongly()
{
    for (const char *place : {"..\\Tovrik", "a/b", ".hidden"}) {
        harness::context = place;
        _putenv_s("TOVRIK_SETTINGS", place);
        CHECK(!writeSetting("series", "cn"));
        CHECK_EQ(int(readSetting("series").state), int(Setting::Absent));
    }
    _putenv_s("TOVRIK_SETTINGS", "TovrikTest-forms");
}

const harness::Test tests[] = {
    {"forms", formsOnWin32},
    {"linesEndInCrLf", linesEndInCrLf},
    {"settings", settingsOnWin32},
    {"settingsInTheRegistry", settingsInTheRegistry},
    {"settingsPlaceNamedWrongly", settingsPlaceNamedWrongly},
};

} // namespace

int main()
{
    _putenv_s("TOVRIK_SETTINGS", "TovrikTest-forms");
    initializeRuntime(projectHeader());
    return harness::runAll(tests);
}
