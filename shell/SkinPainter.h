#pragma once
// The main window's persistent backing image and the GDI surface the layout pass
// paints on. The pass paints into the backing image; WM_PAINT and WM_ERASEBKGND
// copy it to the screen until the next pass.
#include <windows.h>

#include "common/Handles.h"
#include "shell/SkinLayout.h"

namespace kelvane {

class BackingImage {
 public:
  // Makes the image width x height pixels (kept when the size is the same); false
  // for an empty size or when the system has no memory for it.
  bool resize(int width, int height);
  HDC dc() const { return dc_.get(); }
  bool empty() const { return !dc_; }
  // Copies the part of the image under `area` (logical units of `target`).
  void show(HDC target, const RECT& area) const;

 private:
  int width_ = 0;
  int height_ = 0;
  UniqueBitmap bitmap_;  // declared before the DC, so the DC goes first
  UniqueMemoryDc dc_;
};

// Paints on a DC in pixels converted from twips; sizes below zero are refused.
// `skinPicture` holds the skin picture made for `pictureDpi`: its slices are cut
// in that picture's own pixels (see skinPictureSlice), never in screen twips.
class GdiSkinSurface : public SkinSurface {
 public:
  GdiSkinSurface(HDC target, HDC skinPicture, HICON icon, HFONT font, float twipsPerPixel,
                 int pictureDpi = SkinDesignDpi)
      : target_(target),
        picture_(skinPicture),
        icon_(icon),
        font_(font),
        twipsPerPixel_(twipsPerPixel),
        pictureDpi_(pictureDpi) {}

  bool fill(const SkinRect& rect, std::uint32_t colour) override;
  bool paintPicture(const SkinRect& destination, const SkinRect& source) override;
  bool paintIcon(const SkinRect& destination, const SkinRect& source) override;
  bool print(float x, float y, std::uint32_t colour, std::wstring_view text) override;

 private:
  bool toPixels(const SkinRect& rect, RECT& pixels) const;

  HDC target_;
  HDC picture_;
  HICON icon_;
  HFONT font_;
  float twipsPerPixel_;
  int pictureDpi_;
};

}  // namespace kelvane
