#include "base/files.h"

#include "base/utf8.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>

#include <io.h>
#else
#include <unistd.h>
#endif

namespace tovrik {

namespace {

// Refusals of our own, beside the errno values and the negated Windows codes that have none.
constexpr int readOnlyRefusal = INT_MIN;
constexpr int blockDeviceRefusal = INT_MIN + 1;

struct ErrorWords
{
    int error;
    const char *words;
};

// Mostly glibc's own Chinese words, so that messages read the same in any locale and as the
// system's own do; ours where glibc's read badly or keep an English word.
constexpr ErrorWords errorWords[] = {
    {ENOSPC, "设备上没有空间"},
    {EIO, "输入/输出错误"},
    {EPIPE, "断开的管道"},
    {EFBIG, "文件过大"},
    {EBADF, "错误的文件描述符"},
    {EISDIR, "是一个目录"},
    {ENOENT, "没有那个文件或目录"},
    {EACCES, "权限不够"},
    {EPERM, "不允许的操作"},
    {EROFS, "只读文件系统"},
    {ENOTDIR, "不是目录"},
    {EINVAL, "无效的参数"},
    {EEXIST, "文件已存在"},
    {ENAMETOOLONG, "文件名过长"},
    {ELOOP, "符号链接的层数过多"},
    {ETXTBSY, "文件是正在运行的程序"},
    {ENXIO, "没有那个设备或地址"},
    {ENODEV, "没有那个设备"},
    {EMFILE, "打开的文件过多"},
    {ENFILE, "系统中打开的文件过多"},
    {EAGAIN, "资源暂时不可用"},
    {EWOULDBLOCK, "资源暂时不可用"},
    {EBUSY, "设备或资源忙"},
    {EXDEV, "不能跨文件系统移动文件"},
    {ENOTEMPTY, "目录非空"},
    {EINTR, "操作被中断"},
    {ENOMEM, "内存不足"},
    {EMLINK, "链接过多"},
    {ESPIPE, "不能在其中定位"},
    {EOVERFLOW, "数值过大"},
    {ENOTSUP, "不支持的操作"},
    {EOPNOTSUPP, "不支持的操作"},
    {ENOSYS, "系统不支持这项功能"},
    {ENOLCK, "没有可用的锁"},
    {EDEADLK, "会造成死锁"},
    {ETIMEDOUT, "操作超时"},
    {EILSEQ, "无效的多字节字符"},
#ifdef EDQUOT
    {EDQUOT, "超出磁盘限额"},
#endif
#ifdef ESTALE
    {ESTALE, "网络上的文件已经失效"},
#endif
#ifdef ENOMEDIUM
    {ENOMEDIUM, "找不到介质"},
#endif
};

std::string folderOf(std::string_view path)
{
    return std::string(path.substr(0, path.size() - fileNameOf(path).size()));
}

#ifdef _WIN32

// A path the wide functions take. Past MAX_PATH only the \\?\ form of a full path reaches a
// file; shorter paths are left as the user wrote them, devices (NUL, \\.\pipe\…) among them.
std::wstring systemPath(std::string_view path)
{
    std::wstring wide = toWide(path);
    if (wide.size() < MAX_PATH - 12 || wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\"))
        return wide;
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return wide;
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), size, full.data(), nullptr));
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

struct WindowsError
{
    DWORD code;
    int error;
};

constexpr WindowsError windowsErrors[] = {
    {ERROR_FILE_NOT_FOUND, ENOENT},
    {ERROR_PATH_NOT_FOUND, ENOENT},
    {ERROR_INVALID_DRIVE, ENOENT},
    {ERROR_BAD_NETPATH, ENOENT},
    {ERROR_BAD_NET_NAME, ENOENT},
    {ERROR_ACCESS_DENIED, EACCES},
    {ERROR_NETWORK_ACCESS_DENIED, EACCES},
    {ERROR_SHARING_VIOLATION, EBUSY},
    {ERROR_LOCK_VIOLATION, EBUSY},
    {ERROR_DISK_FULL, ENOSPC},
    {ERROR_HANDLE_DISK_FULL, ENOSPC},
    {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    {ERROR_INVALID_NAME, EINVAL},
    {ERROR_INVALID_PARAMETER, EINVAL},
    {ERROR_DIRECTORY, ENOTDIR},
    {ERROR_DIR_NOT_EMPTY, ENOTEMPTY},
    {ERROR_WRITE_PROTECT, EROFS},
    {ERROR_NOT_SAME_DEVICE, EXDEV},
    {ERROR_ALREADY_EXISTS, EEXIST},
    {ERROR_FILE_EXISTS, EEXIST},
    {ERROR_TOO_MANY_OPEN_FILES, EMFILE},
    {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
    {ERROR_OUTOFMEMORY, ENOMEM},
    {ERROR_INVALID_HANDLE, EBADF},
    {ERROR_BROKEN_PIPE, EPIPE},
    {ERROR_NO_DATA, EPIPE},
    {ERROR_CANT_RESOLVE_FILENAME, ELOOP},
    {ERROR_NOT_SUPPORTED, ENOTSUP},
    {ERROR_NOT_READY, EIO},
    {ERROR_CRC, EIO},
};

// The errno value of a Windows error, or its code negated when it has none.
int errorOf(DWORD code)
{
    for (const WindowsError &entry : windowsErrors) {
        if (entry.code == code)
            return entry.error;
    }
    return -int(code & 0x7FFFFFFF);
}

int lastError()
{
    return errorOf(GetLastError());
}

int openFile(const std::string &path, int flags, int = 0)
{
    return _wopen(systemPath(path).c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int removeFile(const std::string &path)
{
    return DeleteFileW(systemPath(path).c_str()) ? 0 : lastError();
}

int renameOver(const std::string &from, const std::string &to)
{
    return MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
        ? 0
        : lastError();
}

unsigned long processId()
{
    return GetCurrentProcessId();
}

int syncDescriptor(int descriptor)
{
    return _commit(descriptor) == 0 ? 0 : errno;
}

int seekStart(int descriptor)
{
    return _lseeki64(descriptor, 0, SEEK_SET) == 0 ? 0 : errno;
}

int truncateAt(int descriptor, std::int64_t size)
{
    return _chsize_s(descriptor, size);
}

long long readSome(int descriptor, char *bytes, std::size_t size)
{
    return _read(descriptor, bytes, unsigned(std::min<std::size_t>(size, INT_MAX)));
}

long long writeSome(int descriptor, const char *bytes, std::size_t size)
{
    return _write(descriptor, bytes, unsigned(std::min<std::size_t>(size, INT_MAX)));
}

int closeDescriptor(int descriptor)
{
    return _close(descriptor) == 0 ? 0 : errno;
}

std::optional<FileIdentity> identityOfHandle(HANDLE handle)
{
    if (GetFileType(handle) != FILE_TYPE_DISK)
        return FileIdentity {0, 0, true};
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    return FileIdentity {info.dwVolumeSerialNumber,
                         (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow, false};
}

// A device's own name (\\.\pipe\…, \\.\COM1): opening a pipe only to look at it would take
// the one connection its server waits for.
bool deviceName(const std::wstring &path)
{
    return path.starts_with(L"\\\\.\\");
}

// A handle that only looks at what a path names, a folder or a device too, links followed.
HANDLE lookAt(const std::wstring &path)
{
    return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Where the links on the way to an open file lead, as the user writes such a path.
std::string finalPathOf(HANDLE handle)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), DWORD(path.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length + 1);
    }
    if (path.starts_with(L"\\\\?\\UNC\\"))
        path = L"\\\\" + path.substr(8);
    else if (path.starts_with(L"\\\\?\\"))
        path = path.substr(4);
    return toUtf8(path);
}

#else

int openFile(const std::string &path, int flags, int mode = 0)
{
    return ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
}

int removeFile(const std::string &path)
{
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int renameOver(const std::string &from, const std::string &to)
{
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

unsigned long processId()
{
    return static_cast<unsigned long>(::getpid());
}

int syncDescriptor(int descriptor)
{
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

int seekStart(int descriptor)
{
    return ::lseek(descriptor, 0, SEEK_SET) == 0 ? 0 : errno;
}

int truncateAt(int descriptor, std::int64_t size)
{
    return ::ftruncate(descriptor, off_t(size)) == 0 ? 0 : errno;
}

long long readSome(int descriptor, char *bytes, std::size_t size)
{
    return ::read(descriptor, bytes, size);
}

long long writeSome(int descriptor, const char *bytes, std::size_t size)
{
    return ::write(descriptor, bytes, size);
}

int closeDescriptor(int descriptor)
{
    return ::close(descriptor) == 0 ? 0 : errno;
}

std::optional<FileIdentity> identityOfStat(const struct stat &info)
{
    const bool stream = S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode);
    return FileIdentity {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), stream};
}

#endif

// Every byte of from, from its start, written over the start of to, which is cut where they
// end and handed to the disk. 0, or the errno value of the step that failed.
int copyOver(int from, int to)
{
    if (const int error = seekStart(from))
        return error;
    if (const int error = seekStart(to))
        return error;
    std::vector<char> buffer(1 << 16);
    std::int64_t total = 0;
    for (;;) {
        const long long got = readSome(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        for (long long done = 0; done < got;) {
            const long long put = writeSome(to, buffer.data() + done, std::size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return put < 0 ? errno : EIO;
            done += put;
        }
        total += got;
    }
    if (const int error = truncateAt(to, total))
        return error;
    return syncDescriptor(to);
}

// A new file of its own beside target, open for reading and writing. Its name is short,
// whatever the length of the target's: a target named with the 255 bytes a folder allows still
// has a temporary beside it. Empty, with error set, when none can be made.
std::string temporaryBeside(const std::string &target, int mode, int &descriptor, int &error)
{
    static std::atomic<unsigned> made {0};
    const std::string folder = folderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = folder + "tovrik-" + std::to_string(processId()) + "-"
            + std::to_string(made++) + ".part";
        descriptor = openFile(path, O_RDWR | O_CREAT | O_EXCL, mode);
        if (descriptor >= 0)
            return path;
        if (errno != EEXIST) {
            error = errno;
            return {};
        }
    }
    error = EEXIST;
    return {};
}

// What a path names, its symbolic links followed, as a writer must treat it.
struct Target
{
    enum class Kind { None, Regular, Stream, Folder, BlockDevice };
    std::string path; // the file itself, where the links lead
    Kind kind = Kind::None;
    int error = 0; // it could not be looked at
    bool readOnly = false;
    unsigned long links = 1;
    std::uint32_t mode = 0;
    std::int64_t owner = -1, group = -1;
};

#ifdef _WIN32

Target examine(const std::string &path)
{
    Target target;
    target.path = path;
    const std::wstring wide = systemPath(path);
    if (deviceName(wide)) {
        target.kind = Target::Kind::Stream;
        return target;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    const bool link
        = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    const HANDLE handle = lookAt(wide);
    if (handle == INVALID_HANDLE_VALUE) {
        // Nothing there is a new file; a link that leads nowhere names no file to make.
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND || link)
            target.error = errorOf(code);
        return target;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        target.kind = Target::Kind::Stream;
    } else if (!GetFileInformationByHandle(handle, &info)) {
        target.error = lastError();
    } else {
        target.kind = info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? Target::Kind::Folder
                                                                       : Target::Kind::Regular;
        target.mode = info.dwFileAttributes;
        target.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        target.links = info.nNumberOfLinks;
        if (link) {
            target.path = finalPathOf(handle);
            if (target.path.empty())
                target.error = lastError();
        }
    }
    CloseHandle(handle);
    return target;
}

int openThrough(const std::string &path)
{
    const HANDLE handle
        = CreateFileW(systemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = lastError();
        return -1;
    }
    const int descriptor
        = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0)
        CloseHandle(handle);
    return descriptor;
}

// A file put in place has the attributes the one it replaced had, as far as a file may.
void keepAttributes(const std::string &path, std::uint32_t attributes)
{
    constexpr DWORD kept
        = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (attributes & kept)
        SetFileAttributesW(systemPath(path).c_str(), (attributes & kept) | FILE_ATTRIBUTE_ARCHIVE);
}

#else

Target examine(const std::string &path)
{
    Target target;
    target.path = path;
    struct stat info;
    // As the kernel follows links, at most 40 of them; a link that leads nowhere names the new
    // file to make there.
    for (int hops = 0;; ++hops) {
        if (::lstat(target.path.c_str(), &info) != 0) {
            if (errno != ENOENT)
                target.error = errno;
            return target;
        }
        if (!S_ISLNK(info.st_mode))
            break;
        if (hops == 40) {
            target.error = ELOOP;
            return target;
        }
        std::string to(std::size_t(info.st_size) + 1, '\0');
        const ssize_t length = ::readlink(target.path.c_str(), to.data(), to.size());
        if (length < 0 || std::size_t(length) == to.size()) {
            target.error = length < 0 ? errno : ENAMETOOLONG;
            return target;
        }
        to.resize(std::size_t(length));
        target.path = to.starts_with('/') ? to : folderOf(target.path) + to;
    }
    target.mode = info.st_mode & 07777;
    target.owner = info.st_uid;
    target.group = info.st_gid;
    target.links = info.st_nlink;
    if (S_ISREG(info.st_mode)) {
        target.kind = Target::Kind::Regular;
        // By its mode, as an editor judges it, for root too, whom access() always lets write.
        target.readOnly = (info.st_mode & 0222) == 0;
        if (!target.readOnly && ::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0)
            target.error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        target.kind = Target::Kind::Folder;
    } else if (S_ISBLK(info.st_mode)) {
        target.kind = Target::Kind::BlockDevice;
    } else {
        target.kind = Target::Kind::Stream;
    }
    return target;
}

int openThrough(const std::string &path)
{
    return openFile(path, O_WRONLY);
}

// The owner first: changing it clears the set-user-ID bits that the mode then sets. Only root
// may give a file away; anyone else's replaced file is theirs now, with the mode it had.
int keepMode(int descriptor, std::uint32_t mode, std::int64_t owner, std::int64_t group)
{
    [[maybe_unused]] const int given = ::fchown(descriptor, uid_t(owner), gid_t(group));
    return ::fchmod(descriptor, mode_t(mode)) == 0 ? 0 : errno;
}

#endif

} // namespace

std::string errorText(int error)
{
    for (const ErrorWords &entry : errorWords) {
        if (entry.error == error)
            return entry.words;
    }
    if (error < 0)
        return "系统错误（Windows 错误码 " + std::to_string(-(long long)error) + "）";
    return "系统错误（错误号 " + std::to_string(error) + "）";
}

std::FILE *openForReading(std::string_view path)
{
#ifdef _WIN32
    return _wfopen(systemPath(path).c_str(), L"rb");
#else
    return std::fopen(std::string(path).c_str(), "rb");
#endif
}

bool exists(std::string_view path)
{
#ifdef _WIN32
    return GetFileAttributesW(systemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat info;
    return ::stat(std::string(path).c_str(), &info) == 0;
#endif
}

std::optional<FileIdentity> identityOf(std::string_view path)
{
#ifdef _WIN32
    const std::wstring wide = systemPath(path);
    if (deviceName(wide))
        return FileIdentity {0, 0, true};
    const HANDLE handle = lookAt(wide);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const std::optional<FileIdentity> identity = identityOfHandle(handle);
    CloseHandle(handle);
    return identity;
#else
    struct stat info;
    if (::stat(std::string(path).c_str(), &info) != 0)
        return std::nullopt;
    return identityOfStat(info);
#endif
}

std::optional<FileIdentity> identityOf(std::FILE *stream)
{
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    return identityOfHandle(handle);
#else
    struct stat info;
    if (::fstat(fileno(stream), &info) != 0)
        return std::nullopt;
    return identityOfStat(info);
#endif
}

std::string refusalToOverwrite(std::string_view output, const std::optional<FileIdentity> &written,
                               std::string_view input, const std::optional<FileIdentity> &read)
{
    if (!written || !read || *written != *read || written->stream)
        return {};
    return std::string(output) + "和" + std::string(input)
        + "是同一个文件，写出去就毁掉了输入，所以什么都没有写。";
}

AtomicFile::AtomicFile(std::string path)
    : m_path(std::move(path))
{
    const Target target = examine(m_path);
    m_target = target.path;
    if (target.error != 0) {
        m_error = target.error;
        return;
    }
    switch (target.kind) {
    case Target::Kind::Folder: m_error = EISDIR; return;
    case Target::Kind::BlockDevice: m_error = blockDeviceRefusal; return;
    case Target::Kind::Stream:
        // Bytes that pass: they go through as they come, and the device or FIFO stays.
        m_route = Route::Through;
        m_descriptor = openThrough(m_target);
        if (m_descriptor < 0) {
            m_error = errno;
            return;
        }
        break;
    case Target::Kind::Regular:
        if (target.readOnly) {
            m_error = readOnlyRefusal;
            return;
        }
        m_existed = true;
        m_mode = target.mode;
        m_owner = target.owner;
        m_group = target.group;
        // A new file under one of its names would leave the others with the old text.
        m_route = target.links > 1 ? Route::InPlace : Route::Replace;
        [[fallthrough]];
    case Target::Kind::None:
        // Private until it has the mode of the file it replaces.
        m_temporary = temporaryBeside(m_target, m_existed ? 0600 : 0666, m_descriptor, m_error);
        if (m_temporary.empty())
            return;
#ifndef _WIN32
        if (m_route == Route::Replace && m_existed) {
            if (const int error = keepMode(m_descriptor, m_mode, m_owner, m_group)) {
                m_error = error;
                return;
            }
        }
#endif
        break;
    }
    m_file = fdopen(m_descriptor, "wb");
    if (!m_file)
        m_error = errno != 0 ? errno : ENOMEM;
}

AtomicFile::~AtomicFile()
{
    if (m_file)
        std::fclose(m_file);
    else if (m_descriptor >= 0)
        closeDescriptor(m_descriptor);
    if (!m_temporary.empty() && !m_keepTemporary)
        removeFile(m_temporary);
    if (!m_backup.empty())
        removeFile(m_backup);
}

bool AtomicFile::fail(int error)
{
    m_error = error != 0 ? error : EIO;
    return false;
}

bool AtomicFile::write(std::string_view text)
{
    if (m_error != 0 || !m_file)
        return false;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size())
        return fail(errno);
    return true;
}

bool AtomicFile::finish()
{
    if (m_error != 0 || !m_file)
        return false;
    errno = 0;
    if (std::fflush(m_file) != 0 || std::ferror(m_file))
        return fail(errno);
    if (m_route == Route::Through) {
        errno = 0;
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        m_descriptor = -1;
        return closed || fail(errno);
    }
    if (const int error = syncDescriptor(m_descriptor))
        return fail(error);
    return true;
}

bool AtomicFile::keepOld()
{
    if (!m_existed || m_route == Route::Through)
        return true;
    int descriptor = -1;
    int error = 0;
    m_backup = temporaryBeside(m_target, 0600, descriptor, error);
    if (m_backup.empty())
        return fail(error);
    const int from = openFile(m_target, O_RDONLY);
    error = from < 0 ? errno : copyOver(from, descriptor);
    if (from >= 0)
        closeDescriptor(from);
#ifndef _WIN32
    if (error == 0 && m_route == Route::Replace)
        error = keepMode(descriptor, m_mode, m_owner, m_group);
#endif
    const int closed = closeDescriptor(descriptor);
    if (error != 0 || closed != 0) {
        removeFile(m_backup);
        m_backup.clear();
        return fail(error != 0 ? error : closed);
    }
    return true;
}

bool AtomicFile::place()
{
    switch (m_route) {
    case Route::Through: return true;
    case Route::Replace: {
        errno = 0;
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        m_descriptor = -1;
        if (!closed)
            return fail(errno);
        if (const int error = renameOver(m_temporary, m_target))
            return fail(error);
        m_temporary.clear(); // it is the file now
#ifdef _WIN32
        if (m_existed)
            keepAttributes(m_target, m_mode);
#endif
        return true;
    }
    case Route::InPlace: {
        const int into = openFile(m_target, O_WRONLY);
        if (into < 0)
            return fail(errno);
        const int copied = copyOver(m_descriptor, into);
        const int closed = closeDescriptor(into);
        if (copied != 0 || closed != 0) {
            // Part of the text may be in the file: the whole of it stays in the temporary.
            m_touched = true;
            m_keepTemporary = true;
            return fail(copied != 0 ? copied : closed);
        }
        return true;
    }
    }
    return false;
}

bool AtomicFile::restore()
{
    switch (m_route) {
    case Route::Through: return true;
    case Route::Replace:
        if (!m_existed)
            return removeFile(m_target) == 0;
        if (renameOver(m_backup, m_target) != 0)
            return false;
        m_backup.clear();
#ifdef _WIN32
        keepAttributes(m_target, m_mode);
#endif
        return true;
    case Route::InPlace: {
        const int from = openFile(m_backup, O_RDONLY);
        const int into = openFile(m_target, O_WRONLY);
        bool copied = from >= 0 && into >= 0 && copyOver(from, into) == 0;
        if (from >= 0)
            closeDescriptor(from);
        if (into >= 0)
            copied = closeDescriptor(into) == 0 && copied;
        return copied;
    }
    }
    return false;
}

bool AtomicFile::commit()
{
    return finish() && place();
}

std::string AtomicFile::failure() const
{
    if (m_error == 0)
        return {};
    std::string words = m_error == readOnlyRefusal ? "文件是只读的"
        : m_error == blockDeviceRefusal ? "这是一个块设备（磁盘），不会往它上面写"
                                        : errorText(m_error);
    if (m_target != m_path)
        words += "（它链接到“" + m_target + "”）";
    if (m_keepTemporary)
        words += "；文件只写进了一部分，新的内容完整地留在“" + m_temporary + "”";
    return words;
}

TogetherOutcome commitTogether(std::span<AtomicFile *const> files)
{
    TogetherOutcome outcome;
    for (AtomicFile *file : files) {
        if (!file->finish()) {
            outcome.failed = file;
            return outcome;
        }
    }
    std::size_t placed = 0;
    for (; placed < files.size(); ++placed) {
        AtomicFile &file = *files[placed];
        // Nothing after the last can fail: it needs nothing kept aside.
        const bool last = placed + 1 == files.size();
        if ((!last && !file.keepOld()) || !file.place()) {
            outcome.failed = &file;
            break;
        }
    }
    if (!outcome.failed)
        return outcome;
    while (placed-- > 0) {
        AtomicFile &file = *files[placed];
        if (!file.restore()) {
            outcome.unrestored.push_back({file.m_path, file.m_backup});
            file.m_backup.clear(); // it holds what the file held: it stays
        }
    }
    return outcome;
}

std::string_view fileNameOf(std::string_view path)
{
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("/\\:");
#else
    const std::size_t slash = path.rfind('/');
#endif
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string programDirectory()
{
#ifdef _WIN32
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::string program = toUtf8(path);
#else
    std::string program(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", program.data(), program.size());
    if (length <= 0 || std::size_t(length) >= program.size())
        return {};
    program.resize(std::size_t(length));
#endif
    return program.substr(0, program.size() - fileNameOf(program).size());
}

ScratchFile::ScratchFile(const std::string &beside)
    : m_path(temporaryBeside(beside, 0600, m_descriptor, m_error))
{
}

ScratchFile::~ScratchFile()
{
    if (m_descriptor >= 0)
        closeDescriptor(m_descriptor);
    if (!m_path.empty())
        removeFile(m_path);
}

bool ScratchFile::flush()
{
    for (std::size_t done = 0; done < m_buffer.size();) {
        const long long put
            = writeSome(m_descriptor, m_buffer.data() + done, m_buffer.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            m_error = put < 0 ? errno : EIO;
            return false;
        }
        done += std::size_t(put);
    }
    m_buffer.clear();
    return true;
}

bool ScratchFile::write(std::string_view text)
{
    if (m_error != 0)
        return false;
    m_buffer += text;
    // Written in blocks, not a system call a line.
    return m_buffer.size() < (std::size_t(1) << 16) || flush();
}

bool ScratchFile::copyTo(AtomicFile &to)
{
    if (m_error != 0 || !flush())
        return false;
    if (const int error = seekStart(m_descriptor)) {
        m_error = error;
        return false;
    }
    std::string block(std::size_t(1) << 16, '\0');
    for (;;) {
        const long long got = readSome(m_descriptor, block.data(), block.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            m_error = errno;
            return false;
        }
        if (got == 0)
            return true;
        if (!to.write(std::string_view(block.data(), std::size_t(got))))
            return false;
    }
}

} // namespace tovrik
