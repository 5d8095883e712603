#include "base/files.h"

#include "base/utf8.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>

#include <io.h>
#else
#include <unistd.h>
#endif

namespace tovrik {

std::string errorText(int error)
{
    // glibc's own Chinese words, so that messages read the same in any locale.
    switch (error) {
    case ENOSPC: return "设备上没有空间";
    case EIO: return "输入/输出错误";
    case EPIPE: return "断开的管道";
    case EFBIG: return "文件过大";
    case EBADF: return "错误的文件描述符";
    case EISDIR: return "是一个目录";
    case ENOENT: return "没有那个文件或目录";
    case EACCES: return "权限不够";
    case EPERM: return "不允许的操作";
    case EROFS: return "只读文件系统";
    case ENOTDIR: return "不是目录";
    case EINVAL: return "无效的参数";
    case EEXIST: return "文件已存在";
#ifdef EDQUOT
    case EDQUOT: return "超出磁盘限额";
#endif
    }
    return std::string("系统错误 ") + std::to_string(error) + "（" + std::strerror(error) + "）";
}

namespace {

#ifdef _WIN32
int openFile(const std::string &path, int flags)
{
    return _wopen(toWide(path).c_str(), flags | _O_BINARY, _S_IREAD | _S_IWRITE);
}
#else
int openFile(const std::string &path, int flags)
{
    return ::open(path.c_str(), flags | O_CLOEXEC, 0666);
}
#endif

} // namespace

std::FILE *openForReading(std::string_view path)
{
#ifdef _WIN32
    return _wfopen(toWide(path).c_str(), L"rb");
#else
    return std::fopen(std::string(path).c_str(), "rb");
#endif
}

bool exists(std::string_view path)
{
#ifdef _WIN32
    return GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat info;
    return ::stat(std::string(path).c_str(), &info) == 0;
#endif
}

AtomicFile::AtomicFile(std::string path)
    : m_path(std::move(path))
{
    // Beside the file, so that the rename stays on one file system; a name nobody else uses.
    for (int attempt = 0; attempt < 100 && !m_file; ++attempt) {
        m_temporary = m_path + ".tovrik-" + std::to_string(attempt) + ".part";
        const int fd = openFile(m_temporary, O_WRONLY | O_CREAT | O_EXCL);
        if (fd >= 0) {
            m_file = fdopen(fd, "wb");
        } else if (errno != EEXIST) {
            m_error = errno;
            return;
        }
    }
    if (!m_file)
        m_error = m_error ? m_error : EEXIST;
}

AtomicFile::~AtomicFile()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporary.empty()) {
#ifdef _WIN32
        DeleteFileW(toWide(m_temporary).c_str());
#else
        ::unlink(m_temporary.c_str());
#endif
    }
}

bool AtomicFile::write(std::string_view text)
{
    if (m_error != 0 || !m_file)
        return false;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) {
        m_error = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

bool AtomicFile::commit()
{
    if (m_error != 0 || !m_file)
        return false;
    errno = 0;
    const bool flushed = std::fflush(m_file) == 0 && !std::ferror(m_file);
    const int flushError = errno;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!flushed || !closed) {
        m_error = flushError != 0 ? flushError : (errno != 0 ? errno : EIO);
        return false;
    }
#ifdef _WIN32
    if (!MoveFileExW(toWide(m_temporary).c_str(), toWide(m_path).c_str(),
                     MOVEFILE_REPLACE_EXISTING)) {
        m_error = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
        return false;
    }
#else
    if (std::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        m_error = errno;
        return false;
    }
#endif
    m_temporary.clear(); // it is the file now
    return true;
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

} // namespace tovrik
