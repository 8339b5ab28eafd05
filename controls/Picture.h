#pragma once
// The program's pictures, made for the display scale they are shown at.
//
// A picture has its own pixel grid: at 100 % (96 DPI) it is its design size, and
// for another DPI it is that size times DPI / 96, rounded. Slices, hot spots and
// source rectangles inside a picture are taken in the grid of the picture that
// was made for the window's DPI; only destinations on the screen are scaled.
// A picture is never enlarged from a smaller copy: it is drawn from the stored
// copy made for the nearest larger scale and reduced with a good filter. Only
// above the largest stored scale (200 %) is the largest copy enlarged.
#include <windows.h>

#include <future>

#include "common/Handles.h"

namespace kelvane {

// The picture's size at 100 %, in its own pixels; {0, 0} for an unknown resource.
SIZE pictureDesignSize(int resourceId);

// The picture `resourceId` (an IDB_ identifier) made for `dpi`: a 32-bit
// top-down DIB section of pictureDesignSize() * dpi / 96 pixels. Null when the
// resource is missing or cannot be decoded.
UniqueBitmap loadPicture(int resourceId, int dpi);

// A 32-bit top-down DIB section of `width` x `height` pixels, its bits at `*bits`
// when asked for. Every off-screen surface is one: under Wine a bitmap
// compatible with a window's DC is made by the display driver, and making one
// costs about ten times as much, which a button paid at every paint.
UniqueBitmap makeDibSection(int width, int height, void** bits = nullptr);

// loadPicture() on a worker thread from construction on, so that decoding
// overlaps what start-up does meanwhile (making windows). A DIB section belongs
// to the process, not to a thread, so the worker makes the bitmap itself.
// Without a worker thread the picture is made at take(). The destructor waits
// for a picture still being made.
class PictureInAdvance {
 public:
  PictureInAdvance(int resourceId, int dpi);
  PictureInAdvance(const PictureInAdvance&) = delete;
  PictureInAdvance& operator=(const PictureInAdvance&) = delete;
  // The picture for `dpi`: the one made in advance when it was made for that
  // DPI, else one made now. Once; null afterwards.
  UniqueBitmap take(int dpi);

 private:
  int resourceId_;
  int dpi_;
  std::future<UniqueBitmap> picture_;
};

// The icon `resourceId` (an IDI_ identifier) at `designPixels` square at 100 %,
// made for `dpi`: designPixels * dpi / 96 pixels square. An icon that is not
// square keeps its proportions: `designPixels` is its larger side.
UniqueIcon loadIconPicture(int resourceId, int designPixels, int dpi);

// The same for an icon of `designSize` at 100 % (a page button's 35 x 33 picture).
UniqueIcon loadIconPicture(int resourceId, SIZE designSize, int dpi);

// designPixels * dpi / 96, rounded to the nearest pixel.
int scaleToDpi(int designPixels, int dpi);

}  // namespace kelvane
