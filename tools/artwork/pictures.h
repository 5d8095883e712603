#pragma once

#include <QImage>

// The window's three pictures, drawn in magenta ink on light grey (the contact notice adds
// yellow) with no anti-aliasing, so each holds only those colours.
inline constexpr QRgb pictureGrey = 0xFFC0C0C0;
inline constexpr QRgb pictureMagenta = 0xFFFF00FF;
inline constexpr QRgb pictureYellow = 0xFFFFFF00;

QImage drawReferenceTable(); // 138 x 492
QImage drawTermsNotice(); // 175 x 141
QImage drawContactNotice(); // 183 x 137
