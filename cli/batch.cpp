#include "cli/batch.h"

#include "base/files.h"
#include "cli/options.h"
#include "cli/output.h"
#include "core/linelist.h"
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
    std::string refusal;
    if (invocation.sheet && std::string_view(invocation.sheet) != "-")
        refusal = refusalToOverwrite("计算书“" + std::string(invocation.sheet) + "”",
                                     identityOf(invocation.sheet), inputWords, read);
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
    std::vector<SheetLine> lines;
    if (invocation.sheet) {
        options.sized
            = [&](std::string_view tag, const SizingRequest *request, const SizingReport &report) {
                  lines.push_back({std::string(tag), request ? KeptInputs(*request) : KeptInputs(),
                                   request != nullptr, report});
              };
    }
    const LineListSummary summary = sizeLineList(input, out, options);
    if (input != in)
        std::fclose(input);
    for (const std::string &message : summary.messages)
        say(err, "%s\n", message.c_str());
    if (invocation.sheet && summary.outcome != LineListSummary::Outcome::WriteFailed) {
        const std::string_view name = path && std::string_view(path) != "-"
            ? fileNameOf(path)
            : std::string_view("标准输入");
        if (const int status
            = writeSheet(invocation.sheet, lineListSheet(lines, {sheetDate()}, name), out, err))
            return status;
    }
    switch (summary.outcome) {
    case LineListSummary::Outcome::WriteFailed: return writeFailedStatus;
    case LineListSummary::Outcome::NotAList: return 2;
    case LineListSummary::Outcome::Sized: break;
    }
    return summary.failed > 0 ? 1 : 0;
}

} // namespace tovrik::cli
