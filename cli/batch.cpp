#include "cli/batch.h"

#include "base/files.h"
#include "cli/options.h"
#include "cli/output.h"
#include "core/linelist.h"
#include "core/listfile.h"
#include "core/sheet.h"

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovrik::cli {

int runBatch(const Invocation &invocation, std::FILE *in, Output &out, std::FILE *err)
{
    const char *path = invocation.path;
    std::FILE *input = in;
    if (path && std::string_view(path) != "-") {
        input = openForReading(path);
        if (!input) {
            say(err, "无法打开文件“%s”：%s。\n", path, errorText(errno).c_str());
            return 2;
        }
    }
    // Checked before a byte is written: results or a sheet written over the list destroy it.
    const std::optional<FileIdentity> read = identityOf(input);
    const std::string inputWords
        = input == in ? std::string("标准输入") : "输入“" + std::string(path) + "”";
    const char *sheetPath = invocation.sheetPath();
    std::string refusal;
    if (sheetPath)
        refusal = refusalToOverwrite("计算书“" + std::string(sheetPath) + "”",
                                     identityOf(sheetPath), inputWords, read);
    if (refusal.empty() && invocation.pdf)
        refusal = refusalToOverwrite("PDF“" + std::string(invocation.pdf) + "”",
                                     identityOf(invocation.pdf), inputWords, read);
    if (refusal.empty())
        refusal = refusalToOverwrite("标准输出", identityOf(out.stream()), inputWords, read);
    if (!refusal.empty()) {
        if (input != in)
            std::fclose(input);
        say(err, "%s\n", refusal.c_str());
        return 2;
    }
    LineListOptions options;
    options.encoding = invocation.encoding;
    options.byteOrderMark = invocation.byteOrderMark;
    options.defaults = invocation.inputs;
    options.hints = {"请加 --encoding=gbk 重试。", "请去掉 --encoding=gbk 重试。",
                     "请用 --gauge 或 --absolute 注明表压还是绝对压力。"};
    // The sheet is written as the rows go, and put in place once the list is read.
    std::optional<SheetInfo> info;
    std::optional<AtomicFile> sheetFile;
    std::optional<LineListSheetFile> sheet;
    if (sheetPath) {
        info = sheetInfoFor(invocation, err);
        if (!info) {
            if (input != in)
                std::fclose(input);
            return 2;
        }
        sheetFile.emplace(sheetPath);
        if (sheetFile->failed()) {
            if (input != in)
                std::fclose(input);
            say(err, "无法写出计算书“%s”：%s。\n", sheetPath, sheetFile->failure().c_str());
            return writeFailedStatus;
        }
        const std::string_view name = path && std::string_view(path) != "-"
            ? fileNameOf(path)
            : std::string_view("标准输入");
        sheet.emplace(*sheetFile, *info, name, invocation.detail);
        options.sized = [&, line = SheetLine()](std::string_view tag, const SizingRequest *request,
                                                const SizingReport &report) mutable {
            line.tag = tag;
            line.inputs = request ? KeptInputs(*request) : KeptInputs();
            line.read = request != nullptr;
            line.report = report;
            sheet->add(line);
        };
    }
    const LineListSummary summary = sizeLineList(input, out, options);
    if (input != in)
        std::fclose(input);
    for (const std::string &message : summary.messages)
        say(err, "%s\n", message.c_str());
    if (sheet && summary.outcome == LineListSummary::Outcome::Sized) {
        if (!sheet->finish() || !sheetFile->commit()) {
            say(err, "无法写出计算书“%s”：%s。\n", sheetPath, sheet->failure().c_str());
            return writeFailedStatus;
        }
        if (const int status = printPdf(invocation, err))
            return status;
    }
    switch (summary.outcome) {
    case LineListSummary::Outcome::WriteFailed: return writeFailedStatus;
    case LineListSummary::Outcome::NotAList:
    case LineListSummary::Outcome::Cancelled: return 2; // nothing here cancels a batch
    case LineListSummary::Outcome::Sized: break;
    }
    return summary.failed > 0 ? 1 : 0;
}

} // namespace tovrik::cli
