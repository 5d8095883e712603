#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Files named in UTF-8, whatever the system's code page, and their errors said in Chinese.
namespace tovrik {

// A system error (an errno value) in Chinese words of our own, whatever the locale, e.g.
// 设备上没有空间; one with no words of its own is named by its number.
std::string errorText(int error);

// Opens a file named in UTF-8 for reading bytes; nullptr with errno set when it cannot.
std::FILE *openForReading(std::string_view path);

// The one file that a path or an open stream reaches, however it is reached: through a hard
// link, a symbolic link or another spelling of its path. On Windows the volume's serial number
// and the file's index on it, elsewhere the device and the inode.
struct FileIdentity
{
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool stream = false; // a device, FIFO or pipe: bytes pass through it and nothing is kept
    bool operator==(const FileIdentity &) const = default;
};

// Nothing when there is no file there (yet), or it cannot be looked at.
std::optional<FileIdentity> identityOf(std::string_view path);
std::optional<FileIdentity> identityOf(std::FILE *stream);

// Checked before anything is written: the sentence that refuses to write an output over an
// input that is the same file, which writing would destroy; empty when they are not the same.
// Each is named as the user knows it (计算书“a.html”, 标准输入). A stream keeps nothing to
// destroy, and is never refused.
std::string refusalToOverwrite(std::string_view output, const std::optional<FileIdentity> &written,
                               std::string_view input, const std::optional<FileIdentity> &read);

class AtomicFile;

// Files committed together, all or none: each is written whole beside its target before any
// takes its place, and when one cannot take its place those already in place get back what
// they held. A device written through cannot be given anything back.
struct TogetherOutcome
{
    const AtomicFile *failed = nullptr; // the file that could not be written; none when all were
    struct Unrestored
    {
        std::string path;
        std::string keptAt; // where what it held is kept; empty when it held nothing
    };
    std::vector<Unrestored> unrestored; // files in place that could not be given back
};
TogetherOutcome commitTogether(std::span<AtomicFile *const> files);

// A file written whole or not at all, as what its path names allows:
// - a regular file, or none yet: the text goes to a temporary file beside it, which takes its
//   name only when everything is written, with the mode and owner of the file it replaces. A
//   symbolic link is followed, and the file it leads to is written so, beside that file: the
//   link stays a link, as the user made it.
// - a regular file with more than one name (hard links): the text is written whole to a
//   temporary first, then copied into the file itself, so that every name still reaches the
//   one file. Should that copy fail, the file holds part of the text, and the whole of it is
//   kept in the temporary, which failure() names.
// - a device or FIFO: written through as the text comes, never replaced by a file.
// - a read-only file, a folder or a block device: refused before anything is written.
// Until commit, or if anything fails before it, the file as it was stays untouched.
class AtomicFile
{
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile(); // a temporary not committed is removed
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // False, with failure() set, once anything has failed.
    bool write(std::string_view text);
    // Puts the text in place; false, with failure() set, when any step fails.
    bool commit();
    bool failed() const { return m_error != 0; }
    // Why it failed, in words of our own (文件是只读的, 设备上没有空间); empty while it has not.
    std::string failure() const;
    // Whether the file was changed though the commit failed (an in-place copy cut short).
    bool touched() const { return m_touched; }
    const std::string &path() const { return m_path; }

private:
    friend TogetherOutcome commitTogether(std::span<AtomicFile *const> files);
    enum class Route { Replace, InPlace, Through };

    bool finish(); // everything written handed to the disk, nothing in place yet
    bool keepOld(); // what the file holds copied aside, for restore()
    bool place();
    bool restore(); // after place(): the file given back what keepOld() kept
    bool fail(int error);

    std::string m_path; // as named
    std::string m_target; // the file itself, where symbolic links lead
    std::string m_temporary; // the text, beside the target
    std::string m_backup; // what the target held, for restore()
    Route m_route = Route::Replace;
    bool m_existed = false;
    std::uint32_t m_mode = 0; // the target's mode bits, on Windows its attributes
    std::int64_t m_owner = -1, m_group = -1;
    bool m_touched = false;
    bool m_keepTemporary = false;
    std::FILE *m_file = nullptr; // the temporary, or the device written through
    int m_descriptor = -1; // m_file's, to read the temporary back
    int m_error = 0; // an errno value, or one of the refusals in files.cpp
};

// Text put aside for a while in a file of the program's own beside a path, so that a long
// document's later part need not be held in memory while its first part is written; removed
// when it goes out of scope.
class ScratchFile
{
public:
    explicit ScratchFile(const std::string &beside);
    ~ScratchFile();
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;
    // False, with error() set, once anything has failed.
    bool write(std::string_view text);
    // Everything written, in order, to `to`; false when it could not be read back or written.
    bool copyTo(AtomicFile &to);
    int error() const { return m_error; }

private:
    bool flush();
    // Before m_path, which is made with them.
    int m_descriptor = -1;
    int m_error = 0;
    std::string m_path;
    std::string m_buffer;
};

// The last part of a path, after its folders ('/', and on Windows '\\' too).
std::string_view fileNameOf(std::string_view path);

// The folder of the running program, ending with its separator.
std::string programDirectory();

// Whether a file or folder exists at a UTF-8 path.
bool exists(std::string_view path);

} // namespace tovrik
