// The about box's picture in GDI: the race course under a clear sky with a meeting calendar
// that the Linux box paints, at the monitor's scale and with smooth edges.
#pragma once

#include <windows.h>

namespace koyomi::win32 {

// The picture's size at 96 DPI.
inline constexpr int kAboutArtworkWidth = 300;
inline constexpr int kAboutArtworkHeight = 200;

// A 32-bit bitmap `width` x `height` pixels (the picture scaled to that size), the caller's
// to delete; null when the system has no memory for it.
HBITMAP MakeAboutArtwork(int width, int height);

}  // namespace koyomi::win32
