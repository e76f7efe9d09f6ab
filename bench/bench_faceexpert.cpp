// The face expert over a 12-megapixel photograph (4000 × 3000) shown at
// 532 × 399 under the face-shape template: one repaint while the frame
// follows the mouse (the picture drawn from its kept stretched copy), the
// same repaint when the copy must be made anew (the picture's size just
// changed, as before the copy was kept), and carving automatically from the
// photograph (resampling it to its shown size, copying it under the
// template, drawing the mask).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QRegion>
#include <cstdlib>
#include <string>

#include "experts/core/Carving.h"
#include "experts/core/FaceShapes.h"
#include "face/StandardFace.h"
#include "imaging/Image.h"
#include "imaging/components/ImgIO.h"
#include "views/FrameBox.h"

namespace {

using namespace glamora;

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;
const PixelRect kShown{-70, -40, 532, 399};  // relative to the template's corner
constexpr int kTemplateLeft = 133;
constexpr int kTemplateTop = 33;

const Bitmap& Photograph() {
  static const Bitmap photo = [] {
    Bitmap b(kPhotoWidth, kPhotoHeight);
    uint32_t noise = 12345;
    for (int y = 0; y < kPhotoHeight; ++y) {
      uint8_t* row = b.Row(y);
      for (int x = 0; x < kPhotoWidth; ++x) {
        noise = noise * 1664525u + 1013904223u;
        row[3 * x] = uint8_t(x / 16 + (noise >> 29));
        row[3 * x + 1] = uint8_t(y / 12 + (noise >> 27));
        row[3 * x + 2] = uint8_t((x + y) / 28);
      }
    }
    return b;
  }();
  return photo;
}

std::string ProgramFolder() { return QCoreApplication::applicationDirPath().toStdString() + "/"; }

Bitmap Load(const std::string& path) {
  Bitmap b;
  TImgIO io;
  io.SetBitmap(&b);
  io.LoadFromFile(path);
  return b;
}

// The formatting page's drawing panel: photograph, template, frame box.
struct DrawingPanel {
  QWidget Panel;
  TImage* Face;
  TImage* Shape;
  TFrameBox* Box;
  QImage Screen{665, 451, QImage::Format_ARGB32_Premultiplied};

  DrawingPanel() {
    Panel.resize(665, 451);
    Panel.setAutoFillBackground(true);
    Face = new TImage(&Panel);
    Face->SetStretch(true);
    Face->Bitmap()->Assign(Photograph());
    Face->setGeometry(kTemplateLeft + kShown.Left, kTemplateTop + kShown.Top, kShown.Width, kShown.Height);
    Shape = new TImage(&Panel);
    Shape->SetAutoSize(true);
    Shape->Bitmap()->Assign(Load(FaceShapeTemplateFile(ProgramFolder(), kOvalShape)));
    Shape->Bitmap()->TransparentColor = Shape->Bitmap()->Pixel(0, Shape->Bitmap()->Height() - 1);
    Shape->SetTransparent(true);
    Shape->PictureChanged();
    Shape->move(kTemplateLeft, kTemplateTop);
    Box = new TFrameBox(&Panel);
    Box->AttachImage(Face);
    Repaint(Panel.rect());
  }

  // What the window system repaints for a dirty region.
  void Repaint(const QRegion& dirty) { Panel.render(&Screen, QPoint(), dirty); }

  // The outline's area at the frame's bounds, handles included.
  QRect OutlineArea() const {
    const TRect& b = Box->Frame.Bounds;
    return QRect(QPoint(b.Left - 6, b.Top - 6), QPoint(b.Right + 6, b.Bottom + 6));
  }

  // One mouse move of a body drag: the outline leaves its old place and
  // appears at the new one; both areas are painted afresh.
  void DragStep(int step) {
    const QRect before = OutlineArea();
    Box->Frame.DragTo(Box->Frame.GrabX + Box->Frame.Bounds.Left + step, Box->Frame.GrabY + Box->Frame.Bounds.Top,
                      false);
    Repaint(QRegion(before) + QRegion(OutlineArea()));
  }
};

void BM_FrameMoveRepaint(benchmark::State& state) {
  DrawingPanel panel;
  panel.Box->Frame.Grab(panel.Box->Frame.Bounds.Left + 10, panel.Box->Frame.Bounds.Top + 10);
  int step = 1;
  for (auto _ : state) {
    panel.DragStep(step);
    step = -step;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameMoveRepaint)->Unit(benchmark::kMillisecond);

// The same repaint with the copy made anew each time: the picture's width
// changes by one pixel between repaints.
void BM_FrameMoveRepaintNewCopy(benchmark::State& state) {
  DrawingPanel panel;
  panel.Box->Frame.Grab(panel.Box->Frame.Bounds.Left + 10, panel.Box->Frame.Bounds.Top + 10);
  int step = 1;
  for (auto _ : state) {
    panel.Face->resize(panel.Face->width() + step, panel.Face->height());
    panel.DragStep(step);
    step = -step;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameMoveRepaintNewCopy)->Unit(benchmark::kMillisecond);

void BM_CarveAutomatically(benchmark::State& state) {
  const Bitmap mask = Load(FaceShapeMaskFile(ProgramFolder(), kOvalShape));
  const PixelRect templateBounds{0, 0, standard_face::kWidth, standard_face::kHeight};
  Bitmap canvas(standard_face::kWidth, standard_face::kHeight);
  Bitmap photo;
  for (auto _ : state) {
    state.PauseTiming();
    photo.Assign(Photograph());
    state.ResumeTiming();
    CarveAutomatically(photo, kShown, templateBounds, mask, canvas);
    benchmark::DoNotOptimize(canvas.Bits());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CarveAutomatically)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
