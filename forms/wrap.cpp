#include "forms/wrap.h"

#include "base/utf8.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace tovrik {

namespace {

struct Range
{
    char32_t first, last;
};

// Ideographs, kana, and the CJK and full-width marks: a line may break on either side of them.
constexpr Range chinese[] = {
    {0x2E80, 0x303F}, {0x3040, 0x30FF}, {0x3100, 0x31FF}, {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFFEF}, {0x20000, 0x3FFFF},
};

// Marks that end what they follow, and marks that open what follows them.
constexpr std::u32string_view closing = U")]},.;:!?%”’、。，；：！？）］｝」』》〉】〕〗〙〛…‥";
constexpr std::u32string_view opening = U"([{“‘（［｛「『《〈【〔〖〘〚";

bool in(std::span<const Range> ranges, char32_t c)
{
    return std::any_of(ranges.begin(), ranges.end(),
                       [c](const Range &r) { return c >= r.first && c <= r.last; });
}

bool isChinese(char32_t c)
{
    return in(chinese, c);
}

bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\u3000';
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

bool isLetter(char32_t c)
{
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= 0x0370 && c <= 0x03FF)
        || c == U'µ';
}

// What a figure is written with besides its digits: "<2.0", "1.5~2.5", "Φ159×4.5", "−3".
bool isFigureMark(char32_t c)
{
    return std::u32string_view(U".,×~<>≤≥±+-−Φφ").find(c) != std::u32string_view::npos;
}

// A unit begins with a letter, a degree or a percent: "m/s", "kPa", "°C", "%".
bool beginsUnit(char32_t c)
{
    return isLetter(c) || c == U'°' || c == U'%' || c == U'‰';
}

struct Character
{
    std::size_t at; // byte offset
    char32_t code;
};

std::vector<Character> decode(std::string_view text)
{
    std::vector<Character> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t at = pos;
        char32_t code = 0;
        if (!decodeUtf8(text, pos, code)) {
            pos = at + 1; // a stray byte stands for itself, as an unknown character
            code = U'\uFFFD';
        }
        characters.push_back({at, code});
    }
    return characters;
}

// Whether the blanks before character i are all that comes before it: a line does not begin
// with nothing.
bool leadingBlanks(const std::vector<Character> &text, std::size_t i)
{
    return std::all_of(text.begin(), text.begin() + std::ptrdiff_t(i),
                       [](const Character &c) { return isBlank(c.code); });
}

// Whether the blanks before character i join what they part: a figure and its unit, or DN or Φ
// and its number. The words beside them run to the next blank or Chinese character.
bool joins(const std::vector<Character> &text, std::size_t i)
{
    const auto wordChar
        = [&](std::size_t k) { return !isBlank(text[k].code) && !isChinese(text[k].code); };
    std::size_t blanks = i;
    while (blanks > 0 && isBlank(text[blanks - 1].code))
        --blanks;
    std::size_t start = blanks;
    while (start > 0 && wordChar(start - 1))
        --start;
    if (start == blanks || i == text.size() || !wordChar(i))
        return false;
    const char32_t next = text[i].code;

    // "DN" or "Φ" alone, before a number.
    const std::size_t length = blanks - start;
    const bool named = (length == 2 && text[start].code == U'D' && text[start + 1].code == U'N')
        || (length == 1 && (text[start].code == U'Φ' || text[start].code == U'φ'));
    if (named && isDigit(next))
        return true;

    // A figure at the end of the word before, with nothing of a name before it ("Q=100" has
    // one, "B36" does not), and a unit after.
    std::size_t figure = blanks;
    bool digit = false;
    while (figure > start) {
        const char32_t c = text[figure - 1].code;
        const bool exponent
            = (c == U'e' || c == U'E') && figure - 1 > start && isDigit(text[figure - 2].code);
        if (!isDigit(c) && !isFigureMark(c) && !exponent)
            break;
        digit = digit || isDigit(c);
        --figure;
    }
    const bool namedBefore
        = figure > start && (isLetter(text[figure - 1].code) || isDigit(text[figure - 1].code));
    return digit && !namedBefore && beginsUnit(next);
}

} // namespace

std::vector<std::size_t> lineBreaks(std::string_view line)
{
    const std::vector<Character> text = decode(line);
    std::vector<std::size_t> breaks;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char32_t before = text[i - 1].code;
        const char32_t after = text[i].code;
        const bool closes = closing.find(after) != std::u32string_view::npos;
        bool may = false;
        if (isBlank(after))
            may = false; // only after the whole run of blanks
        else if (isBlank(before))
            may = !closes && !leadingBlanks(text, i) && !joins(text, i);
        else
            may = !closes && opening.find(before) == std::u32string_view::npos
                && (isChinese(before) || isChinese(after));
        if (may)
            breaks.push_back(text[i].at);
    }
    return breaks;
}

namespace {

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    while (text.ends_with("\u3000"))
        text.remove_suffix(3);
    return text;
}

} // namespace

std::vector<std::string_view> wrapLines(std::string_view text, int width,
                                        const std::function<int(std::string_view)> &measure)
{
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = text.find('\n');
        std::string_view paragraph = text.substr(0, end);
        if (paragraph.ends_with('\r'))
            paragraph.remove_suffix(1);
        const std::vector<std::size_t> breaks = lineBreaks(paragraph);
        std::size_t start = 0;
        auto next = breaks.begin();
        for (;;) {
            const std::string_view rest = withoutTrailingBlanks(paragraph.substr(start));
            if (next == breaks.end() || measure(rest) <= width) {
                lines.push_back(rest);
                break;
            }
            // The last break the line fits up to; the first if it fits up to none.
            auto chosen = next;
            for (auto at = std::next(next); at != breaks.end(); ++at) {
                if (measure(withoutTrailingBlanks(paragraph.substr(start, *at - start))) > width)
                    break;
                chosen = at;
            }
            lines.push_back(withoutTrailingBlanks(paragraph.substr(start, *chosen - start)));
            start = *chosen;
            next = std::next(chosen);
        }
        if (end == std::string_view::npos)
            return lines;
        text.remove_prefix(end + 1);
    }
}

} // namespace tovrik
