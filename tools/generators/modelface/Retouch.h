#pragma once
// Retouching of the model face: the portrait's own hair is taken out of the
// face silhouette (forehead, temples, the hair hanging beside the cheeks and
// over the ears) and replaced by skin grown from the surrounding skin, so a
// hairstyle put on the face never sits over a second hair colour.
#include <cstdint>
#include <vector>

#include "imaging/core/Bitmap.h"

namespace glamora::modelface {

// One byte per pixel of a picture, row after row.
struct PixelMask {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Values;

  PixelMask() = default;
  PixelMask(int width, int height) : Width(width), Height(height), Values(size_t(width) * height, 0) {}
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  uint8_t& At(int x, int y) { return Values[size_t(y) * Width + x]; }
  uint8_t At(int x, int y) const { return Inside(x, y) ? Values[size_t(y) * Width + x] : 0; }
};

// The face silhouette of a face-shape mask: its pixels of the mask's
// bottom-left colour. Empty when the sizes differ.
PixelMask Silhouette(const Bitmap& mask, int width, int height);

// Whether a colour is the portrait's hair rather than its skin: the hair's
// blonde is yellower than any skin tone (hue from about 31°, where skin
// stays near 25°), and its shadows are darker than the skin ever gets.
bool LooksLikeHair(uint8_t red, uint8_t green, uint8_t blue);

// The hair lying inside the silhouette: everything above the lowest hair on
// the forehead in each column, and the hair reaching in from either side of
// the silhouette beside the temples, cheeks and ears, grown by a pixel or
// two so no fringe of hair stays at its border.
PixelMask HairInside(const Bitmap& face, const PixelMask& silhouette);

// Replaces the region by skin: smooth shading that continues the skin at the
// region's border (a membrane fill from the border inwards), the forehead
// turning away from the light toward its edge, and the fine grain and
// freckles of the cheeks laid over it, blended into the picture over a few
// pixels.
void FillWithSkin(Bitmap& face, const PixelMask& region, const PixelMask& silhouette);

// Carves the face as the face expert does, with a soft edge: pixels outside
// the silhouette become white, and the outermost two pixels inside it fade
// toward white.
void CarveSoftly(Bitmap& face, const PixelMask& silhouette);

}  // namespace glamora::modelface
