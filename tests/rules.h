#pragma once

#include <cstdint>
#include <functional>
#include <ostream>

// The rules of a table as drawn: rows holding a run of ink across at least half the width, and
// columns holding one down at least a twelfth of the height (a cell's side). Neighbouring rows or
// columns are one rule, so a rule drawn two pixels thick still counts once.
struct Rules
{
    int horizontal = 0;
    int vertical = 0;
    bool operator==(const Rules &) const = default;
};

inline std::ostream &operator<<(std::ostream &out, const Rules &rules)
{
    return out << rules.horizontal << " across, " << rules.vertical << " down";
}

inline Rules rulesOf(int width, int height, const std::function<bool(int x, int y)> &ink)
{
    const auto bands = [](int count, int across, int longest, const auto &inkAt) {
        int found = 0;
        bool previous = false;
        for (int line = 0; line < count; ++line) {
            int run = 0;
            int best = 0;
            for (int i = 0; i < across; ++i) {
                run = inkAt(line, i) ? run + 1 : 0;
                best = best > run ? best : run;
            }
            const bool rule = best >= longest;
            found += rule && !previous;
            previous = rule;
        }
        return found;
    };
    return {bands(height, width, (width + 1) / 2, [&](int y, int x) { return ink(x, y); }),
            bands(width, height, height / 12, [&](int x, int y) { return ink(x, y); })};
}
