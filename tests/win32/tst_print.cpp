// Printing to PDF the Windows way, through stand-in browsers: Edge or Chrome found where their
// installers put them, a command line read back exactly as it was meant, and a job that ends a
// hung browser with the processes it started. Names are in Chinese, with blanks and a '#'.

#include "base/browser.h"
#include "base/utf8.h"
#include "tests/win32/harness.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using tovrik::toUtf8;
using tovrik::toWide;

std::wstring programFolder()
{
    wchar_t path[MAX_PATH];
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L"\\/") + 1);
}

// A folder of the test's own, with a Chinese name and a blank, ending with its separator.
const std::wstring &work()
{
    static const std::wstring folder = [] {
        wchar_t temporary[MAX_PATH];
        const std::wstring base(temporary, GetTempPathW(MAX_PATH, temporary));
        std::wstring path = base + L"tovrik 打印 " + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }();
    return folder;
}

void writeFile(const std::wstring &path, const std::string &bytes)
{
    std::FILE *file = _wfopen(path.c_str(), L"wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string readFile(const std::wstring &path)
{
    std::FILE *file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return "(none)";
    std::string bytes;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

// The names in a folder, files and folders, in the order of their UTF-8 bytes.
std::vector<std::string> namesIn(const std::wstring &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(toUtf8(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string joined(const std::vector<std::string> &names)
{
    std::string text;
    for (const std::string &name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// A copy of the stand-in browser, doing what its name says, at a path below the work folder.
std::wstring standIn(const std::wstring &name)
{
    const std::wstring path = work() + name;
    for (std::size_t slash = path.find(L'\\', work().size()); slash != std::wstring::npos;
         slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    CopyFileW((programFolder() + L"browser.exe").c_str(), path.c_str(), FALSE);
    return path;
}

// Whether a process has ended, given a while to.
bool ended(DWORD pid)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return true;
    const bool done = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return done;
}

const std::wstring temporary = L"temp\\"; // the test's TMP and TEMP, below the work folder

void setUp()
{
    const std::wstring folder = work() + temporary;
    CreateDirectoryW(folder.c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", folder.c_str());
    SetEnvironmentVariableW(L"TEMP", folder.c_str());
    SetEnvironmentVariableW(L"TOVRIK_BROWSER", nullptr);
    writeFile(work() + L"计算书 #1.html", "<p>sheet</p>");
    for (const wchar_t *name :
         {L"print.exe", L"garbage.exe", L"fail.exe", L"crash.exe", L"hang.exe"})
        standIn(name);
}

std::string html()
{
    return toUtf8(work() + L"计算书 #1.html");
}

// The stand-in's PDF lists what it was asked: headless, no header or footer, off the
// network, a profile of its own in a temporary folder, which is its TEMP too, and the page's
// address with its name escaped.
void commandLine()
{
    const std::string pdf = toUtf8(work() + L"计算书.pdf");
    writeFile(toWide(pdf), "an older PDF");
    tovrik::PrintOptions options;
    options.browser = toUtf8(work() + L"print.exe");
    const tovrik::PrintOutcome outcome = tovrik::printToPdf(html(), pdf, options);
    CHECK_EQ(tovrik::printFaultText(outcome, html(), pdf), "");
    std::vector<std::string> lines;
    const std::string text = readFile(toWide(pdf));
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (!CHECK_EQ(lines.size(), std::size_t(15)))
        return;
    CHECK_EQ(lines[0], "%PDF-1.4");
    const std::vector<std::string> switches(lines.begin() + 2, lines.begin() + 12);
    CHECK_EQ(joined(switches),
             "--headless, --no-pdf-header-footer, --print-to-pdf-no-header, "
             "--disable-gpu, --disable-quic, --no-first-run, "
             "--disable-background-networking, --disable-component-update, "
             "--disable-sync, --disable-pdf-tagging");
    // TEMP=<folder>, --user-data-dir=<folder>\profile, --print-to-pdf=<folder>\sheet.pdf
    const std::string folder = lines[1].substr(5);
    CHECK_EQ(lines[1].substr(0, 5), "TEMP=");
    CHECK_EQ(folder.rfind(toUtf8(work() + temporary + L"tovrik-print-"), 0), std::size_t(0));
    CHECK_EQ(lines[12], "--user-data-dir=" + folder + "\\profile");
    CHECK_EQ(lines[13], "--print-to-pdf=" + folder + "\\sheet.pdf");
    const std::string address = lines[14];
    CHECK_EQ(address.rfind("file:///", 0), std::size_t(0));
    CHECK_EQ(address.find('\\'), std::string::npos);
    const std::string tail = "/tovrik%20%E6%89%93%E5%8D%B0%20"
        + std::to_string(GetCurrentProcessId()) + "/%E8%AE%A1%E7%AE%97%E4%B9%A6%20%231.html";
    CHECK_EQ(address.substr(address.size() - std::min(address.size(), tail.size())), tail);
    CHECK_EQ(joined(namesIn(work() + temporary)), "");
}

struct Failure
{
    const char *name;
    const wchar_t *browser;
    tovrik::PrintFault fault;
    const char *message; // after the PDF's name
};

// Each way a browser can fail: the older PDF stays as it was, nothing else is left, and a
// hung browser is ended with the child it started.
void failures()
{
    const std::string pdf = toUtf8(work() + L"计算书.pdf");
    const std::string prefix = "无法生成 PDF“" + pdf + "”：浏览器“" + toUtf8(work());
    const Failure rows[] = {
        {"fails", L"fail.exe", tovrik::PrintFault::Failed,
         "fail.exe”出错退出（退出状态 1）。原有的文件没有改动。"},
        {"crashes", L"crash.exe", tovrik::PrintFault::Failed,
         "crash.exe”出错退出（退出状态 0xC0000005）。原有的文件没有改动。"},
        {"prints a page, not a PDF", L"garbage.exe", tovrik::PrintFault::NoPdf,
         "garbage.exe”没有给出 PDF 文件。原有的文件没有改动。"},
        {"hangs", L"hang.exe", tovrik::PrintFault::TimedOut,
         "hang.exe”超过 2 秒没有完成，已被停止。原有的文件没有改动。"},
    };
    for (const Failure &row : rows) {
        harness::context = row.name;
        writeFile(toWide(pdf), "an older PDF");
        tovrik::PrintOptions options;
        options.browser = toUtf8(work() + row.browser);
        options.timeout = std::chrono::seconds(2);
        const tovrik::PrintOutcome outcome = tovrik::printToPdf(html(), pdf, options);
        CHECK_EQ(int(outcome.fault), int(row.fault));
        CHECK_EQ(tovrik::printFaultText(outcome, html(), pdf), prefix + row.message);
        CHECK_EQ(readFile(toWide(pdf)), "an older PDF");
        const std::wstring child = work() + L"child.txt";
        if (readFile(child) != "(none)") {
            CHECK(ended(DWORD(std::stoul(readFile(child)))));
            DeleteFileW(child.c_str());
        }
        CHECK_EQ(joined(namesIn(work() + temporary)), "");
        CHECK_EQ(joined(namesIn(work())),
                 "crash.exe, fail.exe, garbage.exe, hang.exe, print.exe, "
                 "temp, 计算书 #1.html, 计算书.pdf");
    }
    DeleteFileW(toWide(pdf).c_str());
}

// A browser that is not there, and a PDF whose folder is gone.
void notThere()
{
    const std::string pdf = toUtf8(work() + L"计算书.pdf");
    tovrik::PrintOptions options;
    options.browser = toUtf8(work() + L"没有.exe");
    tovrik::PrintOutcome outcome = tovrik::printToPdf(html(), pdf, options);
    CHECK_EQ(tovrik::printFaultText(outcome, html(), pdf),
             "无法生成 PDF“" + pdf + "”：无法启动浏览器“" + options.browser
                 + "”（没有那个文件或目录）。");
    const std::string gone = toUtf8(work() + L"没有\\计算书.pdf");
    options.browser = toUtf8(work() + L"print.exe");
    outcome = tovrik::printToPdf(html(), gone, options);
    CHECK_EQ(tovrik::printFaultText(outcome, html(), gone),
             "无法生成 PDF“" + gone + "”：没有那个文件或目录。");
    CHECK_EQ(joined(namesIn(work() + temporary)), "");
}

// Where each browser's installer puts it, for every user or for one; Edge before Chrome.
void installed()
{
    const std::wstring appPaths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    const std::pair<const wchar_t *, const wchar_t *> roots[] = {
        {L"ProgramFiles(x86)", L"x86"},
        {L"ProgramFiles", L"pf"},
        {L"ProgramW6432", L"w6432"},
        {L"LocalAppData", L"local"},
    };
    for (const auto &[variable, folder] : roots)
        SetEnvironmentVariableW(variable, (work() + L"installed\\" + folder).c_str());
    if (!CHECK_EQ(tovrik::findBrowser(), ""))
        return; // the prefix has a browser of its own
    const std::string pdf = toUtf8(work() + L"计算书.pdf");
    CHECK_EQ(tovrik::printFaultText(tovrik::printToPdf(html(), pdf), html(), pdf),
             "无法生成 PDF“" + pdf
                 + "”：没有找到可用的浏览器（Microsoft Edge 或 Google Chrome），可用环境变量 "
                   "TOVRIK_BROWSER 指明。");

    // Chrome registered under App Paths, as its installer writes it, in quotes.
    const std::wstring registered = standIn(L"registered\\chrome.exe");
    RegSetKeyValueW(HKEY_CURRENT_USER, (appPaths + L"chrome.exe").c_str(), nullptr, REG_SZ,
                    (L"\"" + registered + L"\"").c_str(),
                    DWORD((registered.size() + 3) * sizeof(wchar_t)));
    CHECK_EQ(tovrik::findBrowser(), toUtf8(registered));
    const std::wstring chrome = standIn(L"installed\\pf\\Google\\Chrome\\Application\\chrome.exe");
    CHECK_EQ(tovrik::findBrowser(), toUtf8(registered));
    RegDeleteTreeW(HKEY_CURRENT_USER, (appPaths + L"chrome.exe").c_str());
    CHECK_EQ(tovrik::findBrowser(), toUtf8(chrome));
    // Edge, for one user, comes before Chrome for all.
    const std::wstring edge
        = standIn(L"installed\\local\\Microsoft\\Edge\\Application\\msedge.exe");
    CHECK_EQ(tovrik::findBrowser(), toUtf8(edge));
    const std::wstring edge86
        = standIn(L"installed\\x86\\Microsoft\\Edge\\Application\\msedge.exe");
    CHECK_EQ(tovrik::findBrowser(), toUtf8(edge86));
    // What TOVRIK_BROWSER names comes first, and the call's own browser before it.
    SetEnvironmentVariableW(L"TOVRIK_BROWSER", (work() + L"print.exe").c_str());
    CHECK_EQ(tovrik::findBrowser(), toUtf8(work() + L"print.exe"));
    CHECK_EQ(tovrik::findBrowser(toUtf8(chrome)), toUtf8(chrome));
    CHECK(tovrik::printToPdf(html(), pdf));
    CHECK_EQ(readFile(toWide(pdf)).substr(0, 9), "%PDF-1.4\n");
    SetEnvironmentVariableW(L"TOVRIK_BROWSER", nullptr);
    DeleteFileW(toWide(pdf).c_str());
}

const harness::Test tests[] = {
    {"commandLine", commandLine},
    {"failures", failures},
    {"notThere", notThere},
    {"installed", installed},
};

} // namespace

int main()
{
    setUp();
    const int failed = harness::runAll(tests);
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(work()), ignored);
    return failed;
}
