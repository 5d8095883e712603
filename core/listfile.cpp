#include "core/listfile.h"

#include "base/files.h"
#include "base/utf8.h"
#include "core/sheet.h"

#include <cerrno>
#include <memory>
#include <vector>

namespace tovrik {

namespace {

class FileSink : public TextSink
{
public:
    explicit FileSink(AtomicFile &file)
        : m_file(file)
    {
    }
    bool write(std::string_view text) override { return m_file.write(text); }

private:
    AtomicFile &m_file;
};

struct Closer
{
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// What a failed write left, in sentences: the one file that failed, and the truth about the
// rest.
std::string cannotWrite(const AtomicFile &file, const TogetherOutcome &outcome = {})
{
    std::string text = "无法写出“" + file.path() + "”：" + file.failure() + "。";
    for (const TogetherOutcome::Unrestored &left : outcome.unrestored) {
        text += left.keptAt.empty()
            ? "“" + left.path + "”是新写出的，没能删掉。"
            : "“" + left.path + "”已换成新写出的，原来的内容留在“" + left.keptAt + "”。";
    }
    if (!file.touched() && outcome.unrestored.empty())
        text += "原有的文件没有改动。";
    return text;
}

} // namespace

LineListFiles lineListFilesFor(std::string_view listPath)
{
    const std::string_view name = fileNameOf(listPath);
    const std::string_view folder = listPath.substr(0, listPath.size() - name.size());
    std::string_view stem = name;
    if (const std::size_t dot = stem.rfind('.'); dot != std::string_view::npos && dot > 0)
        stem = stem.substr(0, dot);
    const std::string base = std::string(folder) + std::string(stem);
    return {base + "-结果.csv", base + "-计算书.html"};
}

bool listGivesPressures(std::string_view path)
{
    const std::unique_ptr<std::FILE, Closer> input(openForReading(path));
    return input && headerGivesPressures(input.get(), guessEncoding(input.get()));
}

Encoding guessEncoding(std::FILE *file)
{
    // In chunks, a character cut at a chunk's end carried over to the next.
    std::vector<char> buffer(1 << 16);
    std::string carried;
    Encoding encoding = Encoding::Utf8;
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
        std::string chunk = carried;
        chunk.append(buffer.data(), got);
        std::size_t whole = chunk.size();
        // Back to the start of the last character, which may be cut.
        for (std::size_t back = 1; back <= 3 && back <= chunk.size(); ++back) {
            const unsigned char c = static_cast<unsigned char>(chunk[chunk.size() - back]);
            if ((c & 0xC0) != 0x80) {
                if (c >= 0xC0)
                    whole = chunk.size() - back;
                break;
            }
        }
        if (!isUtf8(std::string_view(chunk).substr(0, whole))) {
            encoding = Encoding::Gbk;
            break;
        }
        carried = chunk.substr(whole);
    }
    if (encoding == Encoding::Utf8 && !isUtf8(carried))
        encoding = Encoding::Gbk;
    std::rewind(file);
    return encoding;
}

std::string refusalToOverwriteList(std::string_view listPath,
                                   const std::optional<FileIdentity> &list,
                                   const LineListFiles &files)
{
    const std::string listWords = "管线表“" + std::string(listPath) + "”";
    std::string refusal = refusalToOverwrite("结果“" + files.result + "”", identityOf(files.result),
                                             listWords, list);
    if (refusal.empty())
        refusal = refusalToOverwrite("计算书“" + files.sheet + "”", identityOf(files.sheet),
                                     listWords, list);
    return refusal;
}

namespace {

SheetInfo dated(const SheetInfo &info)
{
    SheetInfo out = info;
    if (out.date.empty())
        out.date = sheetDate();
    return out;
}

} // namespace

LineListSheetFile::LineListSheetFile(AtomicFile &file, const SheetInfo &info, std::string_view name,
                                     SheetDetail detail)
    : m_file(file)
    , m_details(file.path())
    , m_sheet(
          dated(info), name, detail, [this](std::string_view text) { m_file.write(text); },
          [this](std::string_view text) { m_details.write(text); })
{
}

bool LineListSheetFile::finish()
{
    m_sheet.finishSummary();
    if (m_details.error() != 0 || !m_details.copyTo(m_file))
        return false;
    return m_file.write(m_sheet.end());
}

std::string LineListSheetFile::failure() const
{
    if (m_details.error() != 0)
        return errorText(m_details.error());
    return m_file.failure();
}

LineListRun sizeLineListFile(std::string_view path, const LineListFiles &files,
                             const SizingRequest &defaults,
                             const std::function<bool(int percent)> &progress,
                             const SheetInfo &info, SheetDetail detail)
{
    LineListRun run;
    const std::unique_ptr<std::FILE, Closer> input(openForReading(path));
    if (!input) {
        run.error = "无法打开“" + std::string(path) + "”：" + errorText(errno) + "。";
        run.summary.outcome = LineListSummary::Outcome::NotAList;
        return run;
    }
    run.error = refusalToOverwriteList(path, identityOf(input.get()), files);
    if (!run.error.empty()) {
        run.summary.outcome = LineListSummary::Outcome::NotAList;
        return run;
    }
    // Both made beside their targets first: what cannot be written is known before the list is
    // sized, and neither takes its place until both are whole.
    AtomicFile result(files.result);
    AtomicFile sheet(files.sheet);
    for (const AtomicFile *file : {&result, &sheet}) {
        if (file->failed()) {
            run.error = cannotWrite(*file);
            run.summary.outcome = LineListSummary::Outcome::NotAList;
            return run;
        }
    }
    run.ran = true;
    run.encoding = guessEncoding(input.get());
    std::fseek(input.get(), 0, SEEK_END);
    const long size = std::ftell(input.get());
    std::rewind(input.get());

    FileSink sink(result);
    LineListSheetFile sheetFile(sheet, info, fileNameOf(path), detail);
    LineListOptions options;
    options.encoding = run.encoding;
    options.byteOrderMark = true; // Excel then reads the Chinese as such
    options.defaults = defaults;
    if (progress && size > 0) {
        options.progress = [&](std::uint64_t consumed) {
            return progress(int(consumed * 100 / std::uint64_t(size)));
        };
    }
    SheetLine line;
    options.sized
        = [&](std::string_view tag, const SizingRequest *request, const SizingReport &report) {
              line.tag = tag;
              line.inputs = request ? KeptInputs(*request) : KeptInputs();
              line.read = request != nullptr;
              line.report = report;
              sheetFile.add(line);
          };
    run.summary = sizeLineList(input.get(), sink, options);
    // What is not a line list leaves no result behind; its messages say why.
    if (run.summary.outcome == LineListSummary::Outcome::NotAList)
        return run;
    // Stopped by the user: neither file is put in place, and the ones there stay as they were.
    if (run.summary.outcome == LineListSummary::Outcome::Cancelled)
        return run;
    if (run.summary.outcome == LineListSummary::Outcome::WriteFailed) {
        run.error = cannotWrite(result);
        return run;
    }
    if (progress)
        progress(100);
    if (!sheetFile.finish()) {
        run.error = "无法写出计算书“" + files.sheet + "”：" + sheetFile.failure() + "。";
        return run;
    }
    AtomicFile *const both[] = {&result, &sheet};
    const TogetherOutcome outcome = commitTogether(both);
    if (outcome.failed)
        run.error = cannotWrite(*outcome.failed, outcome);
    return run;
}

} // namespace tovrik
