#include "base/browser.h"

#include "base/files.h"
#include "base/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <utility>
#include <vector>

#ifdef _WIN32
#include "base/utf8.h"

#include <windows.h>
#else
#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h> // environ, which g++'s _GNU_SOURCE declares
#endif

namespace tovrik {

namespace {

// The switches of every print; Edge and Chrome take Chromium's. Headless mode prints the page
// and ends; the page's own @page rules give the paper and, through margin boxes, the page
// numbers, so the browser's header and footer (the date, the title, the file:/// path) are
// turned off. --print-to-pdf-no-header is that switch's older name, for browsers from before
// the rename: a browser passes over a switch it does not know. The rest keep a headless run
// off the network, which is closed here and not Tovrik's business on a user's machine:
// nothing synced, updated or fetched in the background, no first-run pages, no GPU process.
constexpr const char *printSwitches[] = {
    "--headless",
    "--no-pdf-header-footer",
    "--print-to-pdf-no-header",
    "--disable-gpu",
    "--disable-quic",
    "--no-first-run",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    // A tagged (accessible) PDF costs a long sheet half again its time and memory, for a
    // structure a printed calculation sheet does not use.
    "--disable-pdf-tagging",
};

// The least a browser prints of a page in a second, measured here at four times as much.
constexpr long bytesASecond = 40000;

// How the browser's run ended, before its PDF is looked at.
struct Ending
{
    PrintFault fault = PrintFault::None;
    int error = 0;
    unsigned long status = 0;
    int signal = 0;
};

constexpr std::string_view pdfMagic = "%PDF-";

#ifdef _WIN32
constexpr char separator = '\\';
#else
constexpr char separator = '/';
#endif

// A file:// URL for an absolute path, every byte outside the unreserved ones escaped, so that
// Chinese names, spaces, '#' and '%' reach the browser as the file's own name.
std::string fileUrl(std::string_view path)
{
    std::string url = "file://";
#ifdef _WIN32
    if (path.size() >= 2 && path[0] == '/' && path[1] == '/')
        path.remove_prefix(2); // \\server\share: the server is the URL's host
    else
        url += '/'; // C:/...
#endif
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
            || (byte >= '0' && byte <= '9')
            || std::string_view("-._~/:").find(c) != std::string_view::npos) {
            url += c;
        } else {
            url += '%';
            url += hex[byte >> 4];
            url += hex[byte & 15];
        }
    }
    return url;
}

#ifdef _WIN32

std::string environmentVariable(const char *name)
{
    const std::wstring wide = toWide(name);
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD length
            = GetEnvironmentVariableW(wide.c_str(), value.data(), DWORD(value.size()));
        if (length == 0)
            return {};
        if (length < value.size()) {
            value.resize(length);
            return toUtf8(value);
        }
        value.resize(length);
    }
}

// The errno value nearest a Windows error, for errorText.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return EACCES;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH: return ENOEXEC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_WRITE_PROTECT: return EROFS;
    }
    return EINVAL;
}

bool isFile(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void pause()
{
    Sleep(20);
}

// A handle closed when it goes out of scope.
class Handle
{
public:
    explicit Handle(HANDLE handle = nullptr)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle)
    {
    }
    ~Handle()
    {
        if (m_handle)
            CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HANDLE m_handle;
};

// A registry key closed when it goes out of scope.
class Key
{
public:
    Key(HKEY root, const wchar_t *path, REGSAM view)
    {
        if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE | view, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~Key()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    Key(const Key &) = delete;
    Key &operator=(const Key &) = delete;

    // The key's default value as a string, environment strings expanded; empty when none.
    std::wstring defaultValue() const
    {
        if (!m_key)
            return {};
        // Expanding may need more room than the size first given: ask again while it does.
        std::wstring value(MAX_PATH, L'\0');
        for (int attempt = 0;; ++attempt) {
            DWORD bytes = DWORD(value.size() * sizeof(wchar_t));
            const LSTATUS read = RegGetValueW(m_key, nullptr, nullptr, RRF_RT_REG_SZ, nullptr,
                                              value.data(), &bytes);
            if (read == ERROR_SUCCESS)
                break;
            if (read != ERROR_MORE_DATA || attempt == 4)
                return {};
            value.resize(bytes / sizeof(wchar_t) + 1);
        }
        value.resize(std::wcslen(value.c_str()));
        // Some installers write the path in quotes.
        if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
            value = value.substr(1, value.size() - 2);
        return value;
    }

private:
    HKEY m_key = nullptr;
};

// Where Edge and Chrome install: under a Program Files folder for every user, or under the
// user's local application data for one; each also registers itself under App Paths, which
// is what the shell's own search for "msedge.exe" or "chrome.exe" reads.
struct Installed
{
    const wchar_t *program;
    const wchar_t *folder; // below the root, beginning with '\'
};

constexpr Installed installedBrowsers[] = {
    {L"msedge.exe", L"\\Microsoft\\Edge\\Application\\msedge.exe"},
    {L"chrome.exe", L"\\Google\\Chrome\\Application\\chrome.exe"},
};

// Edge installs under the 32-bit Program Files even on 64-bit Windows; ProgramW6432 is the
// 64-bit one whatever the reader's bitness.
constexpr const char *installRoots[]
    = {"ProgramFiles(x86)", "ProgramFiles", "ProgramW6432", "LocalAppData"};

std::string installedBrowser()
{
    for (const Installed &browser : installedBrowsers) {
        const std::wstring key
            = std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\")
            + browser.program;
        // HKLM's software keys have a 64-bit and a 32-bit view; an installer writes to one.
        const std::pair<HKEY, REGSAM> places[] = {
            {HKEY_CURRENT_USER, 0},
            {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
            {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY},
        };
        for (const auto &[root, view] : places) {
            const std::wstring path = Key(root, key.c_str(), view).defaultValue();
            if (!path.empty() && isFile(path))
                return toUtf8(path);
        }
        for (const char *root : installRoots) {
            const std::string folder = environmentVariable(root);
            if (folder.empty())
                continue;
            const std::wstring path = toWide(folder) + browser.folder;
            if (isFile(path))
                return toUtf8(path);
        }
    }
    return {};
}

std::string resolveGiven(const std::string &given)
{
    return given;
}

std::string absolutePath(const std::string &path)
{
    const std::wstring wide = toWide(path);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length)
        return path;
    full.resize(written);
    std::string utf8 = toUtf8(full);
    if (utf8.rfind("\\\\?\\", 0) == 0)
        utf8.erase(0, 4);
    for (char &c : utf8)
        c = c == '\\' ? '/' : c;
    return utf8;
}

std::filesystem::path nativePath(const std::string &path)
{
    return std::filesystem::path(toWide(path));
}

// A folder of our own under the user's temporary folder; empty, with the error, when none.
std::string makeTemporaryFolder(int &error)
{
    std::wstring base(MAX_PATH + 1, L'\0');
    const DWORD length = GetTempPathW(DWORD(base.size()), base.data());
    if (length == 0 || length >= base.size()) {
        error = errnoOf(GetLastError());
        return {};
    }
    base.resize(length);
    const std::wstring stem = base + L"tovrik-print-" + std::to_wstring(GetCurrentProcessId())
        + L"-" + std::to_wstring(GetTickCount64()) + L"-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring folder = stem + std::to_wstring(attempt);
        if (CreateDirectoryW(folder.c_str(), nullptr))
            return toUtf8(folder);
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            error = errnoOf(GetLastError());
            return {};
        }
    }
    error = EEXIST;
    return {};
}

// An argument as CommandLineToArgvW, which Chromium parses its command line with, reads it
// back: quoted when it has a blank or a quote, a quote and the backslashes before one escaped.
void appendArgument(std::wstring &line, std::wstring_view argument)
{
    line += L' ';
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// Our environment with TMP and TEMP naming the folder: the browser's temporary files go there
// too, so that one that had to be ended leaves none of them behind. Windows keeps the block
// sorted by name, without regard to case.
std::wstring environmentFor(const std::wstring &folder)
{
    std::vector<std::wstring> entries {L"TEMP=" + folder, L"TMP=" + folder};
    if (wchar_t *strings = GetEnvironmentStringsW()) {
        for (const wchar_t *entry = strings; *entry; entry += std::wcslen(entry) + 1)
            if (_wcsnicmp(entry, L"TMP=", 4) != 0 && _wcsnicmp(entry, L"TEMP=", 5) != 0)
                entries.emplace_back(entry);
        FreeEnvironmentStringsW(strings);
    }
    const auto name = [](const std::wstring &entry) {
        // A name may begin with '=' (the current folder of each drive, "=C:=C:\\...").
        return entry.substr(0, entry.find(L'=', 1));
    };
    std::sort(entries.begin(), entries.end(), [&](const std::wstring &a, const std::wstring &b) {
        return _wcsicmp(name(a).c_str(), name(b).c_str()) < 0;
    });
    std::wstring block;
    for (const std::wstring &entry : entries) {
        block += entry;
        block += L'\0';
    }
    block += L'\0';
    return block;
}

// Ends every process of the job and waits, a while, until none is left: their files in the
// profile stay open until they have gone.
void endJob(HANDLE job)
{
    TerminateJobObject(job, 1);
    for (int wait = 0; wait < 500; ++wait) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting {};
        if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                       sizeof accounting, nullptr)
            || accounting.ActiveProcesses == 0)
            return;
        Sleep(10);
    }
}

Ending runBrowser(const std::string &program, const std::vector<std::string> &arguments,
                  const std::string &folder, std::chrono::seconds timeout)
{
    const std::wstring application = toWide(program);
    // The program's own name is read up to the next quote, with no escapes.
    std::wstring line = L"\"" + application + L"\"";
    for (const std::string &argument : arguments)
        appendArgument(line, toWide(argument));

    // A job holds the browser and every process it starts, so that all of them can be ended
    // together, and all end with Tovrik should it end first.
    Handle job(CreateJobObjectW(nullptr, nullptr));
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
    }
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started {};
    const std::wstring directory = toWide(folder);
    std::wstring environment = environmentFor(directory);
    // Suspended until it is in the job, so that nothing it starts escapes it; it inherits no
    // handle of ours, and a console program gets no window.
    if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), directory.c_str(), &startup, &started))
        return {PrintFault::CannotStart, errnoOf(GetLastError())};
    Handle process(started.hProcess);
    Handle thread(started.hThread);
    // Before Windows 8 a process already in a job (as under some launchers) cannot join a
    // second: then only the browser itself can be ended.
    const bool inJob = job && AssignProcessToJobObject(job.get(), process.get());
    ResumeThread(thread.get());

    const auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(timeout).count();
    const DWORD wait = WaitForSingleObject(
        process.get(), limit >= INFINITE ? INFINITE - 1 : DWORD(limit < 0 ? 0 : limit));
    Ending ending;
    if (wait != WAIT_OBJECT_0) {
        if (inJob)
            endJob(job.get());
        else
            TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 10000);
        ending.fault = PrintFault::TimedOut;
        return ending;
    }
    DWORD status = 0;
    GetExitCodeProcess(process.get(), &status);
    // Whatever the browser left running (a crash handler, say) goes with it.
    if (inJob)
        endJob(job.get());
    if (status != 0) {
        ending.fault = PrintFault::Failed;
        ending.status = status;
    }
    return ending;
}

#else

std::string environmentVariable(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

void pause()
{
    const timespec pause {0, 20'000'000};
    ::nanosleep(&pause, nullptr);
}

bool isProgram(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)
        && ::access(path.c_str(), X_OK) == 0;
}

// A program named without a folder, as the shell finds it on PATH; empty when it is not there.
std::string onPath(const std::string &name)
{
    const std::string path = environmentVariable("PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        // An empty entry would mean the current folder: never run a browser from there.
        if (end > start) {
            std::string candidate = path.substr(start, end - start) + "/" + name;
            if (isProgram(candidate))
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

// Debian's package and the others' names for the same browser.
constexpr const char *installedBrowsers[]
    = {"chromium", "chromium-browser", "google-chrome", "google-chrome-stable"};

std::string installedBrowser()
{
    for (const char *name : installedBrowsers) {
        std::string path = onPath(name);
        if (!path.empty())
            return path;
    }
    return {};
}

std::string resolveGiven(const std::string &given)
{
    if (given.find('/') != std::string::npos)
        return given;
    const std::string path = onPath(given);
    return path.empty() ? given : path;
}

std::string absolutePath(const std::string &path)
{
    if (char *real = ::realpath(path.c_str(), nullptr)) {
        std::string resolved = real;
        std::free(real);
        return resolved;
    }
    return path;
}

std::filesystem::path nativePath(const std::string &path)
{
    return std::filesystem::path(path);
}

std::string makeTemporaryFolder(int &error)
{
    std::string base = environmentVariable("TMPDIR");
    if (base.empty())
        base = "/tmp";
    std::string folder = base + "/tovrik-print-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        error = errno;
        return {};
    }
    return folder;
}

// posix_spawn's attributes and file actions, released when they go out of scope.
struct SpawnSetup
{
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;

    SpawnSetup()
    {
        posix_spawnattr_init(&attributes);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};

pid_t waitFor(pid_t pid, int &status, int flags)
{
    pid_t done;
    do
        done = ::waitpid(pid, &status, flags);
    while (done < 0 && errno == EINTR);
    return done;
}

Ending runBrowser(const std::string &program, const std::vector<std::string> &arguments,
                  const std::string &folder, std::chrono::seconds timeout)
{
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    SpawnSetup setup;
    // A process group of its own, so that a browser's whole family of processes (its zygote,
    // renderers, utilities) can be ended at once. Its output is of no use to the user: the
    // outcome says what went wrong. Signals we ignore or block are not passed on to it.
    posix_spawnattr_setflags(
        &setup.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&setup.attributes, &signals);
    for (const int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGCHLD})
        sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&setup.attributes, &signals);
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, 1, 2);

    // Its temporary files (Chromium's singleton socket, its shared memory) go into our folder
    // too, so that a browser that had to be killed leaves none of them behind.
    const std::string temporary = "TMPDIR=" + folder;
    std::vector<char *> environment;
    for (char **variable = environ; *variable; ++variable)
        if (std::strncmp(*variable, "TMPDIR=", 7) != 0)
            environment.push_back(*variable);
    environment.push_back(const_cast<char *>(temporary.c_str()));
    environment.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes,
                                      argv.data(), environment.data());
    if (spawned != 0)
        return {PrintFault::CannotStart, spawned};

    Ending ending;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        const pid_t done = waitFor(pid, status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0) {
            // Reaped behind our back (SIGCHLD ignored): its PDF tells how it went.
            status = 0;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(-pid, SIGKILL);
            waitFor(pid, status, 0);
            ending.fault = PrintFault::TimedOut;
            return ending;
        }
        pause();
    }
    // Whatever of its family outlived the browser goes with it; the group's number cannot
    // have been given to anyone else while a member of it is left.
    ::kill(-pid, SIGKILL);
    if (WIFSIGNALED(status)) {
        ending.fault = PrintFault::Failed;
        ending.signal = WTERMSIG(status);
    } else if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        ending.fault = PrintFault::Failed;
        ending.status = static_cast<unsigned long>(WEXITSTATUS(status));
    }
    return ending;
}

#endif

// A folder for the browser's profile and its PDF, removed with all in it when done.
class TemporaryFolder
{
public:
    TemporaryFolder()
        : m_path(makeTemporaryFolder(m_error))
    {
    }
    ~TemporaryFolder()
    {
        if (m_path.empty())
            return;
        // Windows may keep a file of a process that has just ended locked for a moment more.
        for (int attempt = 0; attempt < 50; ++attempt) {
            std::error_code error;
            std::filesystem::remove_all(nativePath(m_path), error);
            if (!error)
                return;
            pause();
        }
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    const std::string &path() const { return m_path; }
    int error() const { return m_error; }

private:
    int m_error = 0;
    std::string m_path;
};

// Copies the browser's PDF into the file being written; the fault, if any.
PrintOutcome placePdf(const std::string &printed, AtomicFile &target, PrintOutcome outcome)
{
    std::FILE *in = openForReading(printed);
    if (!in) {
        outcome.fault = PrintFault::NoPdf;
        return outcome;
    }
    std::vector<char> buffer(1 << 16);
    std::size_t total = 0;
    bool isPdf = false;
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
        if (got == 0)
            break;
        if (total == 0)
            isPdf = got >= pdfMagic.size()
                && std::memcmp(buffer.data(), pdfMagic.data(), pdfMagic.size()) == 0;
        total += got;
        if (!isPdf || !target.write(std::string_view(buffer.data(), got)))
            break;
    }
    const bool readFailed = std::ferror(in) != 0;
    std::fclose(in);
    if (total == 0 || !isPdf) {
        outcome.fault = PrintFault::NoPdf;
    } else if (readFailed) {
        outcome.fault = PrintFault::CannotWrite;
        outcome.error = EIO;
    } else if (!target.commit()) {
        outcome.fault = PrintFault::CannotWrite;
        outcome.reason = target.failure();
    }
    return outcome;
}

} // namespace

std::string findBrowser(std::string_view given)
{
    if (!given.empty())
        return resolveGiven(std::string(given));
    const std::string named = environmentVariable("TOVRIK_BROWSER");
    if (!named.empty())
        return resolveGiven(named);
    return installedBrowser();
}

std::string htmlBesidePdf(std::string_view pdf)
{
    std::string html(pdf);
    const std::string_view name = fileNameOf(pdf);
    if (name.size() > 4 && equalsIgnoringCase(name.substr(name.size() - 4), ".pdf"))
        html.resize(html.size() - 4);
    return html + ".html";
}

PrintOutcome printToPdf(std::string_view html, std::string_view pdf, const PrintOptions &options)
{
    PrintOutcome outcome;
    outcome.browser = findBrowser(options.browser);
    outcome.timeout = options.timeout;
    const auto failed = [&outcome](PrintFault fault, int error = 0) {
        outcome.fault = fault;
        outcome.error = error;
        return outcome;
    };
    if (outcome.browser.empty())
        return failed(PrintFault::NoBrowser);

    // A browser shown a file it cannot read prints its own error page: look first.
    const std::string page(html);
    std::FILE *readable = openForReading(page);
    if (!readable)
        return failed(PrintFault::NoPage, errno);
    // A long page takes its time: a line list's thousands of pages take a minute or more.
    std::fseek(readable, 0, SEEK_END);
    const long size = std::ftell(readable);
    std::fclose(readable);
    if (size > 0)
        outcome.timeout += std::chrono::seconds(size / bytesASecond);

    // Opened first, so that a folder that is gone or read-only is said before a minute of
    // printing, not after.
    AtomicFile target {std::string(pdf)};
    if (target.failed()) {
        outcome.reason = target.failure();
        return failed(PrintFault::CannotWrite);
    }

    const TemporaryFolder folder;
    if (folder.path().empty())
        return failed(PrintFault::NoTemporary, folder.error());
    const std::string printed = folder.path() + separator + "sheet.pdf";

    std::vector<std::string> arguments(std::begin(printSwitches), std::end(printSwitches));
#ifndef _WIN32
    // Chromium will not start its sandbox as root; as anyone else the sandbox stays.
    if (::geteuid() == 0)
        arguments.emplace_back("--no-sandbox");
#endif
    // A fresh profile: nothing of the user's browser (its extensions, its print settings, its
    // running instance, which would take the command and return at once) is involved.
    arguments.push_back("--user-data-dir=" + folder.path() + separator + "profile");
    arguments.push_back("--print-to-pdf=" + printed);
    arguments.push_back(fileUrl(absolutePath(page)));

    const Ending ending = runBrowser(outcome.browser, arguments, folder.path(), outcome.timeout);
    if (ending.fault != PrintFault::None) {
        outcome.status = ending.status;
        outcome.signal = ending.signal;
        return failed(ending.fault, ending.error);
    }
    return placePdf(printed, target, outcome);
}

std::string printFaultText(const PrintOutcome &outcome, std::string_view html, std::string_view pdf)
{
    const std::string browser = "浏览器“" + outcome.browser + "”";
    std::string why;
    switch (outcome.fault) {
    case PrintFault::None: return {};
    case PrintFault::NoBrowser:
#ifdef _WIN32
        why = "没有找到可用的浏览器（Microsoft Edge 或 Google Chrome）";
#else
        why = "没有找到可用的浏览器（Chromium 或 Google Chrome）";
#endif
        why += "，可用环境变量 TOVRIK_BROWSER 指明";
        break;
    case PrintFault::NoPage:
        why = "无法读取“" + std::string(html) + "”（" + errorText(outcome.error) + "）";
        break;
    case PrintFault::CannotWrite:
        why = outcome.reason.empty() ? errorText(outcome.error) : outcome.reason;
        break;
    case PrintFault::NoTemporary:
        why = "无法建立临时文件夹（" + errorText(outcome.error) + "）";
        break;
    case PrintFault::CannotStart:
        why = "无法启动" + browser + "（" + errorText(outcome.error) + "）";
        break;
    case PrintFault::Failed:
        if (outcome.signal != 0) {
            why = browser + "异常终止（信号 " + std::to_string(outcome.signal) + "）";
        } else {
            char status[32];
            // A Windows program that crashed ends with its exception's code, read in hex.
            std::snprintf(status, sizeof status, outcome.status >= 0x10000 ? "0x%lX" : "%lu",
                          outcome.status);
            why = browser + "出错退出（退出状态 " + status + "）";
        }
        break;
    case PrintFault::TimedOut:
        why = browser + "超过 " + std::to_string(outcome.timeout.count()) + " 秒没有完成，已被停止";
        break;
    case PrintFault::NoPdf: why = browser + "没有给出 PDF 文件"; break;
    }
    std::string text = "无法生成 PDF“" + std::string(pdf) + "”：" + why + "。";
    if (exists(pdf))
        text += "原有的文件没有改动。";
    return text;
}

} // namespace tovrik
