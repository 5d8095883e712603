#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// Where the text of a tip may break, and the text broken at a width: one rule for every
// backend, each measuring in its own tip's font, so that a figure stays beside its unit
// whichever toolkit shows it.
namespace tovrik {

// The width tips are wrapped at, in pixels at 96 dpi and as many more on a larger screen:
// 40 of the window font's Chinese characters, a line the eye takes in at once.
inline constexpr int tipWidth = 480;

// The byte offsets in a line of UTF-8 text (without '\n') at which a new line may begin: after
// a run of blanks, and before or after a Chinese character or mark, but never before a closing
// mark ("，", "）", "。") or after an opening one ("（"), nor inside a run of Latin letters and
// figures ("m/s", "DN150", "Φ159×4.5"). A figure keeps the unit its blank parts it from
// ("30.53 m/s", "<2.0 m/s", "0.046 mm"), and DN or Φ the number ("DN 150").
std::vector<std::size_t> lineBreaks(std::string_view line);

// The text in lines no wider than width as measure finds them: each '\n' ends a line, and a
// longer one breaks at the last of its breaks that fits, the blanks there dropped. A piece
// with no break inside it wider than width stands on a line of its own.
std::vector<std::string_view> wrapLines(std::string_view text, int width,
                                        const std::function<int(std::string_view)> &measure);

} // namespace tovrik
