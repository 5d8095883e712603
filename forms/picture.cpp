#include "forms/picture.h"

#include <algorithm>
#include <unordered_map>

namespace tovrik {

namespace {

unsigned byteAt(std::span<const std::byte> bytes, std::size_t i)
{
    return std::to_integer<unsigned>(bytes[i]);
}

std::uint32_t little32(std::span<const std::byte> bytes, std::size_t at)
{
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8 | byteAt(bytes, at + 2) << 16
        | std::uint32_t(byteAt(bytes, at + 3)) << 24;
}

// The colour of most of the picture: its paper.
std::uint32_t background(const Picture &picture)
{
    std::unordered_map<std::uint32_t, std::size_t> counts;
    for (const std::uint32_t pixel : picture.pixels)
        ++counts[pixel];
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto &a, const auto &b) { return a.second < b.second; })
        ->first;
}

// The source pixels [first, last) that target pixel i of count covers, at least one.
std::pair<int, int> footprint(int i, int count, int source)
{
    const int first = int(std::int64_t(i) * source / count);
    const int last = int(std::int64_t(i + 1) * source / count);
    return {first, std::max(last, first + 1)};
}

} // namespace

Picture readBmp(std::span<const std::byte> file)
{
    constexpr std::size_t fileHeader = 14;
    constexpr std::size_t infoHeader = 40;
    constexpr std::size_t info = fileHeader;
    if (file.size() < fileHeader + infoHeader || byteAt(file, 0) != 'B' || byteAt(file, 1) != 'M')
        return {};
    const std::uint32_t offset = little32(file, 10);
    const auto width = static_cast<std::int32_t>(little32(file, info + 4));
    const auto height = static_cast<std::int32_t>(little32(file, info + 8));
    const unsigned bits = byteAt(file, info + 14) | byteAt(file, info + 15) << 8;
    if (little32(file, info) < infoHeader || bits != 24 || little32(file, info + 16) != 0
        || width <= 0 || width > 16384 || height == 0 || height > 16384 || height < -16384)
        return {};
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
    if (offset > file.size() || file.size() - offset < stride * std::size_t(rows))
        return {};
    Picture picture {width, rows, std::vector<std::uint32_t>(std::size_t(width) * rows)};
    for (int y = 0; y < rows; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const int stored = height > 0 ? rows - 1 - y : y;
        const std::size_t row = offset + stride * std::size_t(stored);
        for (int x = 0; x < width; ++x) {
            const std::size_t bgr = row + 3 * std::size_t(x);
            picture.pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]
                = byteAt(file, bgr + 2) << 16 | byteAt(file, bgr + 1) << 8 | byteAt(file, bgr);
        }
    }
    return picture;
}

Picture stretchKeepingLines(const Picture &picture, int width, int height)
{
    if (picture.empty() || width <= 0 || height <= 0)
        return {};
    const std::uint32_t paper = background(picture);
    Picture out {width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    std::vector<std::pair<std::uint32_t, int>> inks; // colour and count, in one footprint
    for (int y = 0; y < height; ++y) {
        const auto [top, bottom] = footprint(y, height, picture.height);
        for (int x = 0; x < width; ++x) {
            const auto [left, right] = footprint(x, width, picture.width);
            inks.clear();
            for (int sy = top; sy < bottom; ++sy) {
                for (int sx = left; sx < right; ++sx) {
                    const std::uint32_t pixel = picture.at(sx, sy);
                    if (pixel == paper)
                        continue;
                    const auto seen = std::find_if(inks.begin(), inks.end(), [&](const auto &ink) {
                        return ink.first == pixel;
                    });
                    if (seen == inks.end())
                        inks.emplace_back(pixel, 1);
                    else
                        ++seen->second;
                }
            }
            // The ink most of the footprint has, the first seen where two tie.
            const auto most
                = std::max_element(inks.begin(), inks.end(), [](const auto &a, const auto &b) {
                      return a.second < b.second;
                  });
            out.pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]
                = most == inks.end() ? paper : most->first;
        }
    }
    return out;
}

} // namespace tovrik
