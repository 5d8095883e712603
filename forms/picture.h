#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The form's pictures, decoded and stretched the same way by every backend.
namespace tovrik {

// Pixels as 0x00RRGGBB, the top row first.
struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
    std::uint32_t at(int x, int y) const
    {
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

// An uncompressed 24-bit BMP file; an empty picture for anything else.
Picture readBmp(std::span<const std::byte> file);

// The picture stretched over width x height pixels without losing a line: a one-pixel rule of a
// table survives being drawn a little smaller, where sampling would drop every rule that falls
// between two samples. Each pixel takes the colour of the ink (whatever is not the picture's
// background) found in the part of the picture it covers, and the background where there is
// none; made larger, the picture is sampled, each pixel the one it lies in.
Picture stretchKeepingLines(const Picture &picture, int width, int height);

} // namespace tovrik
