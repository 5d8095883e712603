#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// What a wrapped tip shows on either backend, given the lines it shows and a measure in its
// font: lines no wider than the width, more of them than the text has paragraphs, nothing of
// the text lost, and every figure of the water advice (100 t/h at 2 m/s) on one line with its
// unit.
namespace tips {

inline constexpr const char *figures[] = {
    "DN150",   "Φ159×4.5",     "150 mm",      "1.57 m/s", "<2.0 m/s", "20 °C",    "0.101325 MPa",
    "100 t/h", "998.21 kg/m³", "100.18 m³/h", "100 m",    "14.4 kPa", "0.046 mm",
};

inline std::size_t count(const std::string &text, const std::string &piece)
{
    std::size_t found = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++found;
    return found;
}

inline std::vector<std::string> faults(const std::string &text,
                                       const std::vector<std::string> &lines, int width,
                                       const std::function<int(const std::string &)> &measure)
{
    std::vector<std::string> found;
    std::string shown;
    for (const std::string &line : lines) {
        if (measure(line) > width)
            found.push_back("wider than " + std::to_string(width) + ": " + line);
        shown += line + '\n';
    }
    if (lines.size() <= count(text, "\n") + 1)
        found.push_back("not wrapped");
    const auto solid = [](std::string s) {
        std::erase_if(s, [](char c) { return c == ' ' || c == '\n' || c == '\r'; });
        return s;
    };
    if (solid(shown) != solid(text))
        found.push_back("shows another text: " + shown);
    for (const std::string figure : figures) {
        if (count(text, figure) == 0 || count(shown, figure) != count(text, figure))
            found.push_back("parts or lacks " + figure);
    }
    return found;
}

} // namespace tips
