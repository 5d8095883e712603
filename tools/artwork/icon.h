#pragma once

#include <QByteArray>
#include <QImage>

// The application icon: a pipe's cross-section with its inner diameter marked.
QImage drawIcon(int size);

// A Windows .ico holding one image per (size, bit depth) entry, in the given order. Depth 8
// stores a palette, 24 a plain colour bitmap, both with a transparency mask; 32 adds alpha.
struct IconEntry
{
    int size;
    int depth;
};
QByteArray encodeIco(const QList<IconEntry> &entries);
