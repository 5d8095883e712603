// tovrik-size.exe as a Windows user runs it: arguments in Chinese, a line list named in
// Chinese, a GBK file as Excel saves it, and the output's bytes exactly as on Linux.

#include "base/codepage.h"
#include "base/files.h"
#include "base/utf8.h"
#include "core/linelist.h"
#include "tests/gbk.h"
#include "tests/win32/harness.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring folder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, length);
    return self.substr(0, self.find_last_of(L"\\/") + 1);
}

std::string readAll(HANDLE pipe)
{
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    return bytes;
}

struct Outcome
{
    DWORD status;
    std::string out, err;
};

// Runs the sizer with its arguments quoted for its command line, as a shell would.
Outcome runSizer(const std::vector<std::string> &args)
{
    std::wstring line = L"\"" + folder() + L"tovrik-size.exe\"";
    for (const std::string &arg : args)
        line += L" \"" + tovrik::toWide(arg) + L"\"";
    SECURITY_ATTRIBUTES inherit {sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION process {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder().c_str(),
                        &startup, &process))
        return {~DWORD(0), {}, "could not start tovrik-size.exe"};
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    Outcome outcome {0, readAll(outRead), readAll(errRead)};
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &outcome.status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return outcome;
}

void writeFile(const std::string &name, const std::string &bytes)
{
    std::FILE *file = _wfopen((folder() + tovrik::toWide(name)).c_str(), L"wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void sizes()
{
    writeFile("管线表.csv", "medium,Q,v,备注\r\n水,100,2,一号线\r\n");
    // 水, 备注 and 一号线 in GBK, as Excel on a Chinese Windows saves "CSV (逗号分隔)".
    writeFile("gbk.csv", "medium,Q,v,\xB1\xB8\xD7\xA2\n\xCB\xAE,36,1,\xD2\xBB\xBA\xC5\xCF\xDF\n");
    writeFile("pairs.csv", "medium,Q,v,note\n\xCB\xAE,100,2," + std::string(gbk::pairsOnce) + "\n");
    writeFile("ff.csv", "medium,Q,v\nwater,100,2\n\xFF,1,1\n");
    const std::string header = "medium,Q,v,备注," + tovrik::resultHeader();
    const std::string water100
        = "132.936074863071,,150,150,1.57,inside,125,2.27,above,14.390,235409,0.01744,water,";
    const struct
    {
        const char *name;
        std::vector<std::string> args;
        DWORD status;
        std::string out, err;
    } rows[] = {
        {"a Chinese medium",
         {"水", "-Q", "100", "-v", "2"},
         0,
         "132.936074863071\n推荐 DN150（Φ159×4.5，内径 150 mm）：实际流速 1.57 m/s，"
         "常用流速 <2.0 m/s（参考表：热水、水 >100），合适。\n小一号 DN125（Φ133×4，"
         "内径 125 mm）：实际流速 2.27 m/s，常用流速 <2.0 m/s（参考表：热水、水 >100），偏高。\n"
         "水的密度按 20 °C（未给水温）、绝对压力 0.101325 MPa 取 998.21 kg/m³：100 t/h 即 100.18 "
         "m³/h，据此校核流速。\n每 100 m 压降约 14.4 kPa（粗糙度 0.046 mm，水温按 20 °C）\n",
         ""},
        {"a line list named in Chinese",
         {"batch", "管线表.csv"},
         0,
         header + "\r\n水,100,2,一号线," + water100 + "\r\n",
         ""},
        {"GBK read with the Windows converter",
         {"batch", "--encoding=gbk", "gbk.csv"},
         0,
         header
             + "\n水,36,1,一号线,112.8,,125,125,0.82,inside,100,1.28,inside,5.248,101697,0.01972,"
               "water,\n",
         ""},
        {"the pairs glibc's CP936 refused, as Linux reads them",
         {"batch", "--encoding=gbk", "pairs.csv"},
         0,
         "medium,Q,v,note," + tovrik::resultHeader() + "\n水,100,2,"
             + std::string(gbk::pairsOnceUtf8) + "," + water100 + "\n",
         ""},
        {"a lone 0xFF refused, as Linux refuses it",
         {"batch", "--encoding=gbk", "ff.csv"},
         1,
         "medium,Q,v," + tovrik::resultHeader() + "\nwater,100,2," + water100
             + "\n\xFF,1,1,,这一行不是 GBK 编码的文本，原样保留，未计算。文件若是 UTF-8 编码，"
               "请去掉 --encoding=gbk 重试。,,,,,,,,,,,,\n",
         "tovrik-size：1 行（第 3 行起）不是 GBK 编码的文本，已原样保留、未计算。文件若是 UTF-8 "
         "编码，请去掉 --encoding=gbk 重试。\n"},
        {"a failure said in Chinese",
         {"water", "--flow=100", "-v0"},
         1,
         "",
         "tovrik-size：水的设计流速v不能为零。\n"},
        {"a missing file named in Chinese",
         {"batch", "没有这个文件.csv"},
         2,
         "",
         "tovrik-size：无法打开文件“没有这个文件.csv”：没有那个文件或目录。\n"},
    };
    for (const auto &row : rows) {
        harness::context = row.name;
        const Outcome outcome = runSizer(row.args);
        CHECK_EQ(outcome.status, row.status);
        CHECK_EQ(outcome.out, row.out);
        CHECK_EQ(outcome.err, row.err);
    }
}

std::string readFile(const std::string &name)
{
    std::string bytes;
    if (std::FILE *file = tovrik::openForReading(tovrik::toUtf8(folder()) + name)) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

// The sheet goes to what the user named and destroys nothing there: not the list it is made
// from, not a read-only file, not a file's other names; a name past MAX_PATH reaches its file,
// and the NUL device stays a device.
void files()
{
    const std::string list = "medium,Q,v\r\nwater,100,2\r\n";
    const std::wstring here = folder();
    const auto name = [&](const char *utf8) { return here + tovrik::toWide(utf8); };
    for (const char *old : {"同一个.csv", "只读.html", "两个名字.html", "另一个名字.html"}) {
        SetFileAttributesW(name(old).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(name(old).c_str());
    }
    writeFile("清单.csv", list);
    CHECK(CreateHardLinkW(name("同一个.csv").c_str(), name("清单.csv").c_str(), nullptr));
    writeFile("只读.html", "old");
    CHECK(SetFileAttributesW(name("只读.html").c_str(), FILE_ATTRIBUTE_READONLY));
    writeFile("两个名字.html", "old");
    CHECK(CreateHardLinkW(name("另一个名字.html").c_str(), name("两个名字.html").c_str(), nullptr));
    const std::string longName = std::string(245, 'x') + ".html";
    const std::string sameFile = "是同一个文件，写出去就毁掉了输入，所以什么都没有写。\n";
    const struct
    {
        const char *name;
        std::string sheet;
        DWORD status;
        std::string err, looked, starts;
    } rows[] = {
        {"the list itself", "清单.csv", 2,
         "tovrik-size：计算书“清单.csv”和输入“清单.csv”" + sameFile, "清单.csv", list},
        {"the list by a hard link", "同一个.csv", 2,
         "tovrik-size：计算书“同一个.csv”和输入“清单.csv”" + sameFile, "清单.csv", list},
        {"read-only", "只读.html", 3, "tovrik-size：无法写出计算书“只读.html”：文件是只读的。\n",
         "只读.html", "old"},
        {"another name kept", "两个名字.html", 0, "", "另一个名字.html", "<!DOCTYPE html>"},
        {"a name past MAX_PATH", longName, 0, "", longName, "<!DOCTYPE html>"},
        {"the NUL device", "NUL", 0, "", "清单.csv", list},
    };
    for (const auto &row : rows) {
        harness::context = row.name;
        const Outcome outcome = runSizer({"batch", "--sheet=" + row.sheet, "清单.csv"});
        CHECK_EQ(outcome.status, row.status);
        CHECK_EQ(outcome.err, row.err);
        CHECK_EQ(readFile(row.looked).substr(0, row.starts.size()), row.starts);
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((here + L"*.part").c_str(), &found);
    CHECK(search == INVALID_HANDLE_VALUE); // nothing half-written left behind
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    SetFileAttributesW(name("只读.html").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The rows a console shows, each without the blanks that fill it to the buffer's width.
std::vector<std::string> consoleRows(HANDLE screen, int rows)
{
    std::vector<std::string> shown;
    for (SHORT y = 0; y < rows; ++y) {
        wchar_t row[400] = {};
        DWORD got = 0;
        ReadConsoleOutputCharacterW(screen, row, 400, COORD {0, y}, &got);
        std::wstring text(row, got);
        text.erase(text.find_last_not_of(L' ') + 1);
        shown.push_back(tovrik::toUtf8(text));
    }
    return shown;
}

// Run in a console, as from cmd on a Chinese Windows (code page 936): results and errors read as
// they were written. A console shows what WriteConsoleW gives it, whatever its code page; the
// bytes of UTF-8 it would show as garbage.
void console()
{
    FreeConsole();
    CHECK(AllocConsole()); // a console of its own; under Wine it needs the display
    SetConsoleOutputCP(936);
    const struct
    {
        std::vector<std::string> args;
        std::vector<std::string> rows;
    } runs[] = {
        {{"水", "-Q", "100", "-v", "2"},
         {"132.936074863071",
          "推荐 DN150（Φ159×4.5，内径 150 mm）：实际流速 1.57 m/s，常用流速 <2.0 "
          "m/s（参考表：热水、水 >100），合适。"}},
        {{"water", "--flow=100", "-v0"}, {"tovrik-size：水的设计流速v不能为零。", ""}},
    };
    for (const auto &run : runs) {
        harness::context = run.args[0] + " " + run.args.back();
        SECURITY_ATTRIBUTES inherit {sizeof inherit, nullptr, TRUE};
        HANDLE screen = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                                  CONSOLE_TEXTMODE_BUFFER, nullptr);
        SetConsoleScreenBufferSize(screen, COORD {400, 40});
        std::wstring line = L"\"" + folder() + L"tovrik-size.exe\"";
        for (const std::string &arg : run.args)
            line += L" \"" + tovrik::toWide(arg) + L"\"";
        STARTUPINFOW startup {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = screen;
        startup.hStdError = screen;
        PROCESS_INFORMATION process {};
        CHECK(CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             folder().c_str(), &startup, &process));
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        const std::vector<std::string> shown = consoleRows(screen, int(run.rows.size()));
        for (std::size_t i = 0; i < run.rows.size(); ++i)
            CHECK_EQ(shown[i], run.rows[i]);
        CloseHandle(screen);
    }
    FreeConsole();
}

// Windows' own converter gives what the Linux decoder is held to, for every two-byte character.
void everyGbkPair()
{
    std::string utf8;
    CHECK(tovrik::GbkDecoder().toUtf8(gbk::everyPair(), utf8));
    CHECK_EQ(utf8.size(), gbk::windowsUtf8Bytes);
    CHECK_EQ(gbk::fnv1a(utf8), gbk::windowsDigest);
}

const harness::Test tests[] = {
    {"sizes", sizes},
    {"files", files},
    {"everyGbkPair", everyGbkPair},
    {"console", console},
};

} // namespace

int main()
{
    return harness::runAll(tests);
}
