// The thumbnail view over a folder of 2 000 face-sized JPEG pictures, laid
// out like the hairstyle catalogue: filling the view and showing its first
// screen with every picture, scrolling through every picture a screen at a
// time, and what one thumbnail decode costs at each JPEG scale. A screen is
// shown once the view's loader has read what it shows, as the event loop
// runs it. The counters report the picture data the view still holds
// afterwards.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "codecs/Jpeg.h"
#include "imaging/ImgThumbView.h"
#include "imaging/core/Rounding.h"

namespace {

using glamora::Bitmap;
using glamora::TImgThumbView;

constexpr int kPictures = 2000;
constexpr int kPictureWidth = 228;
constexpr int kPictureHeight = 314;

// A smooth picture that differs from file to file, so every decode is real work.
Bitmap FacePicture(int seed) {
  Bitmap picture(kPictureWidth, kPictureHeight);
  for (int y = 0; y < kPictureHeight; ++y) {
    uint8_t* row = picture.Row(y);
    for (int x = 0; x < kPictureWidth; ++x) {
      row[3 * x] = uint8_t(x + seed);
      row[3 * x + 1] = uint8_t(y * 2 + seed * 3);
      row[3 * x + 2] = uint8_t((x ^ y) + seed * 7);
    }
  }
  return picture;
}

std::vector<uint8_t> EncodeJpeg(const Bitmap& picture) {
  glamora::TImgIOParams params;
  params.JpegQuality = 90;
  glamora::MemoryStream bytes;
  glamora::codec::EncodeJpeg(picture, params, glamora::ProgressRecord{}, bytes);
  return bytes.Bytes();
}

// The picture folder, written once and removed at exit.
class PictureFolder {
 public:
  PictureFolder() {
    folder_ = std::filesystem::temp_directory_path() / ("glamora-bench-thumbs-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    for (int i = 0; i < kPictures; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "%04d.jpg", i + 1);
      const std::string path = (folder_ / name).string();
      const std::vector<uint8_t> bytes = EncodeJpeg(FacePicture(i));
      std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
      files_.push_back(path);
    }
  }
  ~PictureFolder() { std::filesystem::remove_all(folder_); }
  const std::vector<std::string>& Files() const { return files_; }

 private:
  std::filesystem::path folder_;
  std::vector<std::string> files_;
};

const PictureFolder& Folder() {
  static const PictureFolder folder;
  return folder;
}

// Sized as the main window sizes the catalogue: width (view width − 2 × 3 − 35) div 3,
// height in the face proportion 314 / 228.
void ConfigureCatalogue(TImgThumbView& view) {
  view.resize(215, 420);
  view.SetScrollBars(glamora::ssVertical);
  view.SetGridWidth(3);
  view.SetHorizBorder(3);
  view.SetVertBorder(3);
  const int thumbWidth = (215 - 2 * 3 - 35) / 3;
  view.SetThumbWidth(thumbWidth);
  view.SetThumbHeight(glamora::RoundEvenInt(thumbWidth * 1.3771929824561404));
  view.SetSelectionWidth(2);
}

void Fill(TImgThumbView& view, const std::vector<std::string>& files) {
  view.DeleteAllImages();
  for (const std::string& file : files) view.SetImageFileName(view.AppendImage(), file);
  view.SetSelectedImage(0);
}

// Lets the loader read the cells on screen, then draws the screen.
void ShowScreen(TImgThumbView& view, QImage& screen) {
  while (view.LoadingPending()) QCoreApplication::processEvents();
  view.render(&screen);
}

void ReportHeld(benchmark::State& state, const TImgThumbView& view) {
  state.counters["HeldPictures"] = double(view.HeldPictureCount());
  state.counters["HeldKiB"] = double(view.HeldPictureBytes()) / 1024.0;
}

void BM_OpenFolderFirstScreen(benchmark::State& state) {
  const auto& files = Folder().Files();
  TImgThumbView view;
  ConfigureCatalogue(view);
  QImage screen(view.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    Fill(view, files);
    ShowScreen(view, screen);
    benchmark::DoNotOptimize(screen.constBits());
  }
  ReportHeld(state, view);
}
BENCHMARK(BM_OpenFolderFirstScreen)->Unit(benchmark::kMillisecond);

void BM_ScrollThroughFolder(benchmark::State& state) {
  const auto& files = Folder().Files();
  TImgThumbView view;
  ConfigureCatalogue(view);
  Fill(view, files);
  QImage screen(view.size(), QImage::Format_RGB32);
  int pages = 0;
  for (auto _ : state) {
    pages = 0;
    const int step = view.ClientHeight();
    for (int y = 0;; y += step) {
      view.SetViewY(y);
      ShowScreen(view, screen);
      ++pages;
      if (view.ViewY() >= view.MaxViewXY().y()) break;
    }
    view.SetViewY(0);
  }
  state.counters["Pages"] = pages;
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(files.size()));
  // Held after the last page of the last pass: the cells of that page and the selection.
  view.SetViewY(view.MaxViewXY().y());
  ShowScreen(view, screen);
  ReportHeld(state, view);
}
BENCHMARK(BM_ScrollThroughFolder)->Unit(benchmark::kMillisecond);

// One picture decoded at 1/1, 1/2, 1/4 and 1/8: the catalogue uses 1/2 for
// these pictures (its cells draw them at 58 × 79; 1/4 would give 57 × 79).
void BM_DecodeForThumbnail(benchmark::State& state) {
  const std::vector<uint8_t> jpeg = EncodeJpeg(FacePicture(5));
  const int denominator = int(state.range(0));
  glamora::TImgIOParams params;
  Bitmap out;
  for (auto _ : state) {
    size_t consumed = 0;
    glamora::codec::DecodeJpegScaled(glamora::codec::Bytes(jpeg.data(), jpeg.size()), denominator, out, params,
                                     glamora::ProgressRecord{}, consumed);
    benchmark::DoNotOptimize(out.Bits());
  }
  state.counters["Width"] = out.Width();
  state.counters["Height"] = out.Height();
}
BENCHMARK(BM_DecodeForThumbnail)->Arg(1)->Arg(2)->Arg(4)->Arg(8);

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
