// The about box's picture: a race course under a clear sky with a meeting calendar, painted
// for this program at run time, so it needs no image file.
#pragma once

#include <QImage>

namespace koyomi {

inline constexpr int kAboutArtworkWidth = 300;
inline constexpr int kAboutArtworkHeight = 200;

// 300 x 200, 24 bits a pixel.
QImage PaintAboutArtwork();

}  // namespace koyomi
