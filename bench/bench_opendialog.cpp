// The picture open dialog over 12-megapixel photographs (4000 × 3000, JPEG
// quality 90): one preview as the pane shows it (the file's parameters, the
// decode at the reduced scale that still fills the preview, fitting, the
// information lines, painting); the parameters alone; the decode at each
// scale (the enlarged preview decodes at full size); and moving through a
// folder of 2 000 photographs with the Down key in the dialog, each step
// timed from the key until the preview of the file it arrived at is shown.
//
// The photograph is the shared portrait enlarged to 4000 × 3000 with a grain
// of noise, as a camera's pictures have, so that its coded size is a
// photograph's; without the portrait a generated picture stands in. The
// folder's 2 000 files are hard links to that one file, so the figures are
// the program's work with the file in the page cache, not the disk's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QListView>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "imaging/ImgOpenDialog.h"
#include "imaging/components/ImgIO.h"
#include "imaging/core/Resample.h"

namespace {

using glamora::Bitmap;
using glamora::TImgIO;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kPhotographs = 2000;
constexpr const char* kPortrait = GLAMORA_SOURCE_DIR "/tests/assets/portrait-astronaut.png";

Bitmap Photograph() {
  Bitmap source;
  TImgIO io;
  io.SetBitmap(&source);
  bool portrait = false;
  try {
    portrait = std::filesystem::exists(kPortrait) && io.LoadFromFile(kPortrait);
  } catch (const std::exception&) {
    portrait = false;
  }
  Bitmap photo;
  if (portrait) {
    glamora::Resample(source, photo, kWidth, kHeight, glamora::rfTriangle);
  } else {
    photo.Reset(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* p = photo.Row(y);
      for (int x = 0; x < kWidth; ++x, p += 3) {
        p[0] = uint8_t(x / 16);
        p[1] = uint8_t(y / 12);
        p[2] = uint8_t((x + y) / 28);
      }
    }
  }
  uint32_t s = 12345;
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* p = photo.Row(y);
    for (int i = 0; i < 3 * kWidth; ++i) {
      s = s * 134775813u + 1;
      p[i] = uint8_t(std::clamp(int(p[i]) + int(s >> 27) - 16, 0, 255));
    }
  }
  return photo;
}

// The photograph and the folder of links to it, made once and removed at exit.
class PhotoFolder {
 public:
  PhotoFolder() {
    folder_ = std::filesystem::temp_directory_path() / ("glamora-bench-open-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    photo_ = (folder_ / "0001.jpg").string();
    Bitmap picture = Photograph();
    TImgIO io;
    io.SetBitmap(&picture);
    io.Params.JpegQuality = 90;
    io.Params.DpiX = io.Params.DpiY = 300;
    io.SaveToFile(photo_);
    for (int i = 2; i <= kPhotographs; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "%04d.jpg", i);
      std::filesystem::create_hard_link(photo_, folder_ / name);
    }
  }
  ~PhotoFolder() { std::filesystem::remove_all(folder_); }
  const std::string& Photo() const { return photo_; }
  std::string Folder() const { return folder_.string(); }
  std::string File(int number) const {
    char name[16];
    std::snprintf(name, sizeof name, "%04d.jpg", number);
    return (folder_ / name).string();
  }

 private:
  std::filesystem::path folder_;
  std::string photo_;
};

// Processor time of the calling thread: the user-interface thread's own
// work, whatever else the machine runs.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

const PhotoFolder& Photos() {
  static const PhotoFolder folder;
  return folder;
}

void BM_PreviewOf12MpJpeg(benchmark::State& state) {
  glamora::TImgPreviewPane pane;
  pane.show();
  int number = 1;
  for (auto _ : state) {
    pane.SelectionChange(QString::fromStdString(Photos().File(number)));
    pane.ImgView()->repaint();
    number = number % kPhotographs + 1;
  }
  state.counters["Denominator"] = pane.DecodedDenominator();
  state.counters["FileMB"] = double(std::filesystem::file_size(Photos().Photo())) / (1 << 20);
}
BENCHMARK(BM_PreviewOf12MpJpeg)->Unit(benchmark::kMillisecond);

void BM_ParamsOf12MpJpeg(benchmark::State& state) {
  TImgIO io;
  for (auto _ : state) benchmark::DoNotOptimize(io.ParamsFromFile(Photos().Photo()));
}
BENCHMARK(BM_ParamsOf12MpJpeg)->Unit(benchmark::kMicrosecond);

void BM_Decode12MpJpegAtScale(benchmark::State& state) {
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  const int denominator = int(state.range(0));
  io.Params.JpegDecodeScale = glamora::ScaleOfDenominator(denominator);
  for (auto _ : state) benchmark::DoNotOptimize(io.LoadFromFile(Photos().Photo()));
  state.counters["Width"] = picture.Width();
}
BENCHMARK(BM_Decode12MpJpegAtScale)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// Each step presses Down in the dialog's file list and runs the event loop
// until the pane shows the file arrived at. Manual time: the key and the
// events it sets off, nothing of the set-up.
void BM_ArrowThroughFolder(benchmark::State& state) {
  const QString folder = QString::fromStdString(Photos().Folder());
  glamora::TImgOpenDialog opener;
  opener.AutoSetFilter = false;
  opener.SetFilter(glamora::kPictureOpenFilter);
  opener.SetInitialDir(folder);
  int steps = 0;
  QTimer::singleShot(0, [&] {
    QFileDialog* dialog = opener.Dialog();
    auto* list = dialog->findChild<QListView*>("listView");
    auto* files = qobject_cast<QFileSystemModel*>(list->model());
    const auto settle = [](const std::function<bool()>& done) {
      const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
      while (!done() && std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      }
      return done();
    };
    const QModelIndex root = files->index(folder);
    if (!settle([&] { return files->rowCount(root) >= kPhotographs; })) {
      state.SkipWithError("the folder did not load");
      dialog->reject();
      return;
    }
    list->setFocus();
    list->setCurrentIndex(files->index(0, 0, root));
    settle([&] { return opener.Pane()->CurrentPath() == list->currentIndex().data(QFileSystemModel::FilePathRole); });
    double cpu = 0;
    for (auto _ : state) {
      const double cpuStart = ThreadSeconds();
      const auto start = std::chrono::steady_clock::now();
      QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
      QCoreApplication::sendEvent(list, &down);
      const QString arrived = list->currentIndex().data(QFileSystemModel::FilePathRole).toString();
      settle([&] { return opener.Pane()->CurrentPath() == arrived; });
      state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      cpu += ThreadSeconds() - cpuStart;
      ++steps;
    }
    state.counters["ThreadCpuMs"] = steps ? cpu / steps * 1000 : 0;
    dialog->reject();
  });
  opener.Execute();
  state.counters["Steps"] = steps;
}
BENCHMARK(BM_ArrowThroughFolder)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  glamora::StartPictureIO();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
