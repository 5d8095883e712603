#include "cli/options.h"

#include "base/browser.h"

#include "base/text.h"
#include "core/words.h"

#include <getopt.h>

#include <string>
#include <vector>

namespace tovrik::cli {

namespace {

// Where an option applies: a line of one of the media, or a batch.
constexpr unsigned LineScope = AllMedia, BatchScope = 8, Everywhere = LineScope | BatchScope;

// Options that are not inputs; getopt reports each by its short letter or by a code past any
// character.
enum Key : int {
    KeyHelp = 'h',
    KeyGauge = 256,
    KeyAbsolute,
    KeyJson,
    KeyVersion,
    KeyEncoding,
    KeyByteOrderMark,
    KeyAllSizes,
    KeySheet,
    KeyPdf,
    KeySheetInfo,
    KeyDetail,
};

struct FlagDef
{
    const char *longOption;
    char shortOption; // 0: none
    int key;
    unsigned scope;
    bool takesValue = false;
};

constexpr FlagDef flags[] = {
    {"gauge", 0, KeyGauge, Everywhere},
    {"absolute", 0, KeyAbsolute, Everywhere},
    {"json", 0, KeyJson, LineScope},
    {"encoding", 0, KeyEncoding, BatchScope, true},
    {"bom", 0, KeyByteOrderMark, BatchScope},
    {"all-sizes", 0, KeyAllSizes, Everywhere},
    {"help", 'h', KeyHelp, Everywhere},
    {"version", 0, KeyVersion, Everywhere},
    {"sheet", 0, KeySheet, Everywhere, true},
    {"pdf", 0, KeyPdf, Everywhere, true},
    {"sheet-info", 0, KeySheetInfo, Everywhere, true},
    {"detail", 0, KeyDetail, BatchScope, true},
};

} // namespace

std::string optionName(char shortOption, const char *longOption)
{
    std::string name;
    if (shortOption) {
        name += '-';
        name += shortOption;
        name += '/';
    }
    name += "--";
    name += longOption;
    return name;
}

std::optional<Encoding> encodingFromName(std::string_view name)
{
    for (const std::string_view utf8 : {"utf-8", "utf8"}) {
        if (equalsIgnoringCase(name, utf8))
            return Encoding::Utf8;
    }
    for (const std::string_view gbk : {"gbk", "cp936"}) {
        if (equalsIgnoringCase(name, gbk))
            return Encoding::Gbk;
    }
    return std::nullopt;
}

namespace {

std::string flagName(const FlagDef &flag)
{
    return optionName(flag.shortOption, flag.longOption);
}

// getopt's tables, built once from the two above.
struct GetoptTables
{
    std::string shortOptions = ":"; // report a missing value apart from an unknown option
    std::vector<option> longOptions;

    GetoptTables()
    {
        for (const InputDef &input : inputDefs) {
            if (input.shortOption)
                (shortOptions += input.shortOption) += ':';
            longOptions.push_back({input.longOption, required_argument, nullptr, optionKey(input)});
        }
        for (const FlagDef &flag : flags) {
            if (flag.shortOption)
                (shortOptions += flag.shortOption) += flag.takesValue ? ":" : "";
            longOptions.push_back({flag.longOption,
                                   flag.takesValue ? required_argument : no_argument, nullptr,
                                   flag.key});
        }
        longOptions.push_back({nullptr, 0, nullptr, 0});
    }
};

const InputDef *inputFor(int key)
{
    for (const InputDef &input : inputDefs) {
        if (optionKey(input) == key)
            return &input;
    }
    return nullptr;
}

const FlagDef *flagFor(int key)
{
    for (const FlagDef &flag : flags) {
        if (flag.key == key)
            return &flag;
    }
    return nullptr;
}

std::string nameOf(int key)
{
    if (const InputDef *input = inputFor(key))
        return optionName(*input);
    if (const FlagDef *flag = flagFor(key))
        return flagName(*flag);
    return {};
}

std::string quoted(std::string_view text)
{
    return "“" + std::string(text) + "”";
}

void checkLine(const Invocation &invocation)
{
    const SizingRequest &inputs = invocation.inputs;
    const Medium medium = inputs.medium;
    for (const InputDef &input : inputDefs) {
        const std::optional<std::string_view> &value = inputs[input.input];
        if (needs(medium, input) && !value) {
            throw UsageError("缺少选项 " + optionName(input) + "（"
                             + std::string(inputDescription(medium, input.operand)) + "）。");
        }
        // An empty field of the panel is the window's to judge; an empty aid means nothing.
        if (!needs(medium, input) && value && withoutBlanks(*value).empty()
            && input.input != Input::SpecificVolume)
            throw UsageError("选项 " + optionName(input) + " 的数值是空的。");
    }
    // A name not known is a usage error here, before anything is sized.
    if (const std::optional<Input> unknown = choicesOf(inputs).unknown)
        throw UsageError(unknownNameMessage(*unknown, *inputs[*unknown]));
    if (inputs[Input::SteamTemperature] && !inputs[Input::SteamPressure])
        throw UsageError(
            "过热蒸汽温度 --steam-temperature 须与蒸汽压力 -p/--steam-pressure 一起给出。");
    const bool pressureGiven = medium == Medium::Steam ? inputs[Input::SteamPressure].has_value()
                                                       : inputs[Input::Pressure].has_value();
    if (!pressureGiven && inputs.pressureKind)
        throw UsageError(medium == Medium::Steam
                             ? "--gauge 和 --absolute 说明压力的读法，只用于蒸汽压力 "
                               "-p/--steam-pressure。"
                             : "--gauge 和 --absolute 说明压力的读法，只用于 -P/--pressure。");
    if (medium != Medium::Steam)
        return;
    if (inputs[Input::SpecificVolume].has_value() == inputs[Input::SteamPressure].has_value())
        throw UsageError("蒸汽须给出 -u/--specific-volume 或 -p/--steam-pressure 二者之一。");
    if (inputs[Input::SteamPressure] && !inputs.pressureKind)
        throw UsageError("蒸汽压力须注明是表压（--gauge）还是绝对压力（--absolute）。");
}

} // namespace

Invocation parseCommandLine(std::span<const char *const> args)
{
    Invocation invocation;
    if (args.empty())
        throw UsageError("缺少介质（air、steam、water）或 batch。");
    const std::string_view command = args[0];
    unsigned scope = BatchScope;
    if (command == "batch") {
        invocation.command = Command::Batch;
    } else if (const std::optional<Medium> medium = mediumFromName(command)) {
        invocation.command = Command::Line;
        invocation.inputs.medium = *medium;
        scope = maskOf(*medium);
    } else if (command == "--help" || command == "-h") {
        return invocation;
    } else if (command == "--version") {
        invocation.command = Command::Version;
        return invocation;
    } else {
        throw UsageError("不认识的命令" + quoted(command) + "。");
    }
    const std::string_view scopeName = invocation.command == Command::Batch
        ? std::string_view("batch")
        : mediumName(invocation.inputs.medium);

    static const GetoptTables tables;
    // getopt reorders the argument pointers, never the texts; the command stands where it
    // expects the program's name.
    std::vector<char *> argv;
    for (const char *arg : args)
        argv.push_back(const_cast<char *>(arg));
    argv.push_back(nullptr);
    const int argc = static_cast<int>(args.size());
    optind = 0; // a fresh scan, whatever an earlier one left behind
    opterr = 0; // the messages are ours, in Chinese

    std::vector<int> seen;
    int key;
    while ((key = getopt_long(argc, argv.data(), tables.shortOptions.c_str(),
                              tables.longOptions.data(), nullptr))
           != -1) {
        if (key == '?') {
            const std::string_view given = argv[optind - 1];
            if (optopt == 0 && given.starts_with("--")) {
                // An abbreviation of more than one option: name them, as the user meant one.
                const std::string_view name = given.substr(2, given.find('=') - 2);
                std::string candidates;
                for (const option &known : tables.longOptions) {
                    if (known.name && std::string_view(known.name).starts_with(name))
                        candidates
                            += (candidates.empty() ? "--" : "、--") + std::string(known.name);
                }
                if (candidates.find("、") != std::string::npos)
                    throw UsageError("选项" + quoted(given.substr(0, given.find('=')))
                                     + "有歧义，可以是 " + candidates + "。");
            }
            if (optopt != 0 && given.starts_with("--"))
                throw UsageError("选项 " + nameOf(optopt) + " 不带数值。");
            if (optopt != 0)
                throw UsageError("不认识的参数" + quoted(std::string("-") + char(optopt)) + "。");
            throw UsageError("不认识的参数" + quoted(given.substr(0, given.find('='))) + "。");
        }
        if (key == ':')
            throw UsageError("选项 " + nameOf(optopt) + " 缺少数值。");
        if (key == KeyHelp) {
            invocation.command = Command::Help;
            return invocation;
        }
        if (key == KeyVersion) {
            invocation.command = Command::Version;
            return invocation;
        }

        const InputDef *input = inputFor(key);
        const FlagDef *flag = flagFor(key);
        // The aids' choices are a batch's defaults, for rows whose own cell is empty.
        const unsigned applies
            = input ? input->media | (input->batchDefault ? BatchScope : 0) : flag->scope;
        if (!(applies & scope))
            throw UsageError(std::string(scopeName) + " 没有选项 " + nameOf(key) + "。");
        for (const int earlier : seen) {
            if (earlier == key)
                throw UsageError("选项 " + nameOf(key) + " 只能给一次。");
            if ((earlier == KeyGauge || earlier == KeyAbsolute)
                && (key == KeyGauge || key == KeyAbsolute))
                throw UsageError("--gauge 和 --absolute 只能给出其一。");
        }
        seen.push_back(key);

        // "-Q=100" is no number: getopt hands a short option "=100", the long one's spelling
        // typed after the short one's.
        if (input && optarg[0] == '=' && argv[optind - 1][0] == '-' && argv[optind - 1][1] != '-')
            throw UsageError("选项 " + optionName(*input) + " 的数值“" + std::string(optarg)
                             + "”不是数字：写作 -" + std::string(1, input->shortOption) + " "
                             + std::string(optarg + 1) + " 或 --" + input->longOption + "="
                             + std::string(optarg + 1) + "。");
        if (input)
            invocation.inputs[input->input] = std::string_view(optarg);
        else if (key == KeyGauge)
            invocation.inputs.pressureKind = PressureKind::Gauge;
        else if (key == KeyAbsolute)
            invocation.inputs.pressureKind = PressureKind::Absolute;
        else if (key == KeyJson)
            invocation.json = true;
        else if (key == KeyByteOrderMark)
            invocation.byteOrderMark = true;
        else if (key == KeyAllSizes)
            invocation.inputs.advice.allSizes = true;
        else if (key == KeySheet) {
            if (!*optarg)
                throw UsageError("选项 --sheet 缺少文件名。");
            if (invocation.command == Command::Batch && std::string_view(optarg) == "-")
                throw UsageError("batch 的结果写到标准输出，计算书须写到文件：--sheet=文件。");
            invocation.sheet = optarg;
        } else if (key == KeyPdf) {
            if (!*optarg || std::string_view(optarg) == "-")
                throw UsageError("选项 --pdf 须给出 PDF 的文件名。");
            invocation.pdf = optarg;
        } else if (key == KeySheetInfo) {
            if (!*optarg)
                throw UsageError("选项 --sheet-info 缺少文件名。");
            invocation.sheetInfo = optarg;
        } else if (key == KeyDetail) {
            const std::optional<SheetDetail> detail = sheetDetailNamed(optarg);
            if (!detail)
                throw UsageError("不认识的明细选择" + quoted(optarg)
                                 + "，应为 none、failed 或 all。");
            invocation.detail = *detail;
        } else if (key == KeyEncoding) {
            const std::optional<Encoding> encoding = encodingFromName(optarg);
            if (!encoding)
                throw UsageError("不认识的编码" + quoted(optarg) + "，应为 utf-8 或 gbk。");
            invocation.encoding = *encoding;
        }
    }

    if (invocation.json && invocation.sheet && std::string_view(invocation.sheet) == "-")
        throw UsageError("--json 和 --sheet=- 都写到标准输出，只能给出其一。");
    if (invocation.pdf) {
        // A PDF is printed from the sheet's HTML, which is kept beside it unless named.
        if (invocation.sheet && std::string_view(invocation.sheet) == "-")
            throw UsageError("--pdf 由计算书文件打印，请用 --sheet=文件 或不给 --sheet。");
        if (!invocation.sheet)
            invocation.sheetBesidePdf = htmlBesidePdf(invocation.pdf);
    }
    const std::span<char *const> operands(argv.data() + optind, argv.data() + argc);
    if (invocation.command == Command::Batch) {
        if (operands.size() > 1)
            throw UsageError("batch 只接受一个文件。");
        if (!operands.empty())
            invocation.path = operands[0];
        return invocation;
    }
    if (!operands.empty())
        throw UsageError("多余的参数" + quoted(operands[0]) + "。");
    checkLine(invocation);
    return invocation;
}

} // namespace tovrik::cli
