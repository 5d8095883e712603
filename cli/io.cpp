#include "cli/io.h"

#ifdef _WIN32
#include "runtime/utf8.h"
#endif

#include <cerrno>
#include <cstring>

namespace tovrik::cli {

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
#ifdef EDQUOT
    case EDQUOT: return "超出磁盘限额";
#endif
    }
    return std::string("系统错误 ") + std::to_string(error) + "（" + std::strerror(error) + "）";
}

bool Output::write(std::string_view text)
{
    if (m_error != 0)
        return false;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), m_stream) != text.size()) {
        m_error = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

bool Output::flush()
{
    if (m_error != 0)
        return false;
    errno = 0;
    if (std::fflush(m_stream) != 0 || std::ferror(m_stream)) {
        m_error = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

std::FILE *openForReading(const char *path)
{
#ifdef _WIN32
    return _wfopen(toWide(path).c_str(), L"rb");
#else
    return std::fopen(path, "rb");
#endif
}

int reportWriteFailure(int error, std::FILE *err)
{
    if (error != EPIPE)
        std::fprintf(err, "tovrik-size：写入标准输出失败：%s\n", errorText(error).c_str());
    return writeFailedStatus;
}

} // namespace tovrik::cli
