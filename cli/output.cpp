#include "cli/output.h"

#include "base/browser.h"
#include "base/files.h"

#ifdef _WIN32
#include "base/utf8.h"

#include <windows.h>

#include <io.h>
#endif

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include <algorithm>

namespace tovrik::cli {

bool writeText(std::FILE *stream, std::string_view text)
{
#ifdef _WIN32
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        const std::wstring wide = toWide(text);
        // Older consoles refuse one large write: a screenful at a time.
        constexpr std::size_t piece = 8192;
        for (std::size_t at = 0; at < wide.size(); at += piece) {
            const DWORD length = static_cast<DWORD>(std::min(piece, wide.size() - at));
            DWORD written = 0;
            if (!WriteConsoleW(handle, wide.data() + at, length, &written, nullptr)
                || written != length) {
                errno = EIO;
                return false;
            }
        }
        return true;
    }
#endif
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

void say(std::FILE *err, const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text = "tovrik-size：";
    if (length > 0) {
        const std::size_t prefix = text.size();
        text.resize(prefix + std::size_t(length) + 1);
        std::vsnprintf(text.data() + prefix, std::size_t(length) + 1, format, again);
        text.resize(prefix + std::size_t(length));
    }
    va_end(again);
    writeText(err, text);
}

bool Output::write(std::string_view text)
{
    if (m_error != 0)
        return false;
    errno = 0;
    if (!writeText(m_stream, text)) {
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

int reportWriteFailure(int error, std::FILE *err)
{
    if (error != EPIPE)
        say(err, "写入标准输出失败：%s\n", errorText(error).c_str());
    return writeFailedStatus;
}

int writeSheet(const char *path, std::string_view sheet, Output &out, std::FILE *err)
{
    if (std::string_view(path) == "-")
        return out.write(sheet) ? 0 : writeFailedStatus;
    AtomicFile file(path);
    if (!file.write(sheet) || !file.commit()) {
        say(err, "无法写出计算书“%s”：%s。\n", path, file.failure().c_str());
        return writeFailedStatus;
    }
    return 0;
}

std::optional<SheetInfo> sheetInfoFor(const Invocation &invocation, std::FILE *err)
{
    SheetInfo info;
    info.date = sheetDate();
    if (!invocation.sheetInfo)
        return info;
    std::FILE *file = openForReading(invocation.sheetInfo);
    if (!file) {
        say(err, "无法打开计算书信息文件“%s”：%s。\n", invocation.sheetInfo,
            errorText(errno).c_str());
        return std::nullopt;
    }
    // A title block is a dozen short lines; anything far larger is not one.
    constexpr std::size_t largest = std::size_t(64) * 1024;
    std::string text(largest + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || text.size() > largest) {
        say(err, "计算书信息文件“%s”%s。\n", invocation.sheetInfo,
            failed ? "读不出来" : "超过 64 KB，不像计算书信息");
        return std::nullopt;
    }
    const std::string fault
        = readSheetInfo(text, "计算书信息文件“" + std::string(invocation.sheetInfo) + "”", info);
    if (!fault.empty()) {
        say(err, "%s\n", fault.c_str());
        return std::nullopt;
    }
    return info;
}

int printPdf(const Invocation &invocation, std::FILE *err)
{
    if (!invocation.pdf)
        return 0;
    const char *html = invocation.sheetPath();
    const PrintOutcome outcome = printToPdf(html, invocation.pdf);
    if (outcome)
        return 0;
    say(err, "%s\n", printFaultText(outcome, html, invocation.pdf).c_str());
    return writeFailedStatus;
}

} // namespace tovrik::cli
