#pragma once
// The hair primitives every style is built from. Hair is painted in greys on
// a transparent layer drawn at a multiple of the catalogue size. Finish()
// brings a layer of twice the size down to the catalogue picture: dark grey
// hair on pure white, its edges mixed with the white by how much hair covers
// each pixel. FinishLarge() brings a layer of eight times the size down to
// the large picture, four times the catalogue's, with the coverage as alpha.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>
#include <vector>

#include "tools/generators/hairstyles/Curve.h"
#include "tools/generators/hairstyles/Rng.h"

namespace glamora::hairgen {

// Where a piece of hair may lie. The eyes, nose and mouth are always kept free.
enum class Clip {
  OutsideFace,  // not inside the canvas's opening (the face up to its hairline)
  FaceFrame,    // over the forehead and the rim of the face, as fringes and face-framing locks
};

// A band of shine across the strands, at a fraction of their length.
struct Sheen {
  double at;
  double width;
  double strength;
};

// How a piece of hair is shaded and finished.
struct Look {
  double tone = 0;        // lighter (+) or darker (-) than the middle grey
  double contrast = 1;    // how much single strands differ from their neighbours
  double rootShade = 28;  // darkening where the strands grow out
  std::vector<Sheen> sheens{{0.2, 0.08, 42}};
  double ragged = 0;   // lock edges end short of lock centres by this fraction: feathered, pointed ends
  double jag = 0.012;  // random unevenness of the ends
  double wave = 0;     // wave amplitude in pixels
  double waveLength = 34;
  double waveFrom = 0.25;  // fraction of the length where the waves begin
  double waveShade = 16;   // crests of the waves lighter, troughs darker
  double density = 1;
  double flyaways = 0.7;  // stray hairs per lock
  Clip clip = Clip::OutsideFace;
  bool behindNeck = false;  // lies behind the neck, so the neck hides it
};

// The large picture: colour and straight alpha, the same size.
struct LargeHair {
  QImage colour;  // RGB888, the catalogue's greys; under see-through pixels the hair's middle grey
  QImage alpha;   // Grayscale8, 0 see-through .. 255 hair
};

class HairCanvas {
 public:
  static constexpr int kCatalogueScale = 2;  // the layer's scale for Finish()
  static constexpr int kLargeScale = 8;      // the layer's scale for FinishLarge()
  static constexpr int kLargeSize = 4;       // the large picture's scale

  // With `naturalHairline` hair kept outside the face stops at the natural
  // hairline (women's styles); without, at the face oval, and the style draws
  // its own hairline (men's). The layer is `scale` times the catalogue size;
  // the strands are drawn at that scale, so a larger layer holds finer detail.
  explicit HairCanvas(uint64_t seed, bool naturalHairline = true, int scale = kCatalogueScale);

  // What Clip::OutsideFace hair leaves of the face.
  const QPainterPath& Opening() const { return opening_; }

  Rng& Random() { return rng_; }

  // A sheet of hair: strands blended between neighbouring guide curves, all
  // running from root to tip. Each pair of neighbouring guides is one lock.
  void Sheet(const std::vector<Curve>& guides, const Look& look);

  // A ringlet: a spiral curl of the given radius wound along a path, `pitch`
  // pixels per turn, narrowing to its tip.
  void Ringlet(const Curve& path, double radius, double pitch, const Look& look);

  // Ringlets of about `radius` along the locks of a sheet, from the fraction
  // `from` of their length to the ends: the sheet's hair falling in curls.
  // `pitch` is the length of one turn in radii: small for tight coils and locs.
  void Curls(const std::vector<Curve>& guides, double from, double radius, const Look& look, double pitch = 2.4);

  // Fine short hairs across a hairline: each grows from the hair side,
  // leans the way the line runs and reaches a few pixels past it toward the
  // middle of the face, fading out, so the hairline has no hard edge.
  void Wisps(const Curve& hairline, int count, const Look& look);

  // A three-strand braid along a path.
  void Braid(const Curve& path, double width, const Look& look);

  // A bun of wound strands.
  void Bun(QPointF centre, double rx, double ry, const Look& look);

  // Coiled, tight curls filling an area; the outline breaks into curls.
  void CoilTexture(const QPainterPath& area, double coilRadius, const Look& look);

  // Close-cropped hair: fine short stubble over an area, flowing away from `from`.
  void Stubble(const QPainterPath& area, QPointF from, double shade, const Look& look);

  // A hair tie: a small dark rounded bar across a point.
  void Tie(QPointF centre, double width, double height, double angleDegrees);
  // A smooth band (headband, ribbon) along a path.
  void Band(const Curve& path, double width, double grey);

  // The catalogue picture, kWidth × kHeight, dark grey hair on pure white
  // (a layer of kCatalogueScale).
  QImage Finish() const;

  // The large picture, kLargeSize times kWidth × kHeight (a layer of kLargeScale).
  LargeHair FinishLarge() const;

 private:
  struct Strand;
  void BeginClip(QPainter& painter, const Look& look) const;
  double Shade(const Look& look, double s, double offset, QPointF at) const;
  void DrawShadedPolyline(QPainter& painter, const Points& points, const std::vector<double>& greys, double width,
                          double alpha, bool fading = false);

  Rng rng_;
  int scale_;
  QPainterPath opening_;
  QImage layer_;
};

}  // namespace glamora::hairgen
