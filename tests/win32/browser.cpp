// A stand-in for a browser asked to print to PDF, for the Windows printing tests. What it does
// is named by its own file name: print (a PDF that lists its TEMP and its arguments, one a
// line, as Windows splits its command line), garbage (a file that is not a PDF), fail (exit
// status 1), crash (the status of an access violation), hang (starts a child, writes the
// child's process number to child.txt beside itself, and waits for ever, as the child does).

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string utf8(std::wstring_view wide)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string text(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), size, nullptr,
                        nullptr);
    return text;
}

void write(const std::wstring &path, const std::string &bytes)
{
    const HANDLE file
        = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        ExitProcess(4);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

int main()
{
    int count = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring pdf;
    for (int i = 1; i < count; ++i) {
        const std::wstring_view argument(argv[i]);
        if (argument == L"--child")
            Sleep(INFINITE);
        if (argument.rfind(L"--print-to-pdf=", 0) == 0)
            pdf = argument.substr(15);
    }
    wchar_t self[MAX_PATH];
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    const std::wstring name = path.substr(folder.size(), path.size() - folder.size() - 4);

    if (name == L"print") {
        wchar_t temporary[MAX_PATH] = L"";
        GetEnvironmentVariableW(L"TEMP", temporary, MAX_PATH);
        std::string text = "%PDF-1.4\nTEMP=" + utf8(temporary) + "\n";
        for (int i = 1; i < count; ++i)
            text += utf8(argv[i]) + "\n";
        write(pdf, text);
        return 0;
    }
    if (name == L"garbage") {
        write(pdf, "<html>");
        return 0;
    }
    if (name == L"fail")
        return 1;
    if (name == L"crash")
        TerminateProcess(GetCurrentProcess(), 0xC0000005);
    if (name == L"hang") {
        std::wstring line = L"\"" + path + L"\" --child";
        STARTUPINFOW startup {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child {};
        if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &child))
            return 5;
        write(folder + L"child.txt", std::to_string(child.dwProcessId));
        Sleep(INFINITE);
    }
    return 3;
}
