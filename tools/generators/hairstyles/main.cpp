// gen-hairstyles: draws the shipped hairstyle catalogue.
//
//   gen-hairstyles <data folder> [category [number]]
//       writes <data folder>/<category>/000.jpg, 001.jpg, ... for every
//       category, or only the one named (by folder name), or one picture.
//   gen-hairstyles --large <folder> [category [number]]
//       writes the large pictures, <folder>/<category>Large/000.png, ...,
//       four times the catalogue size with an alpha channel, drawing on
//       every core.
//   gen-hairstyles --contact-sheet <data folder> <face file> <sheet folder>
//       reads the catalogue back and writes, for every category and each of
//       the sheet colours, a sheet of the hairstyles put on the face:
//       <Category>-default.jpg at full size, -black, -brown, -blond and
//       -red.jpg at half size.
#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "tools/generators/hairstyles/ContactSheet.h"
#include "tools/generators/hairstyles/ImageFiles.h"
#include "tools/generators/hairstyles/Styles.h"

namespace fs = std::filesystem;
using namespace glamora::hairgen;

namespace {

constexpr int kJpegQuality = 90;
constexpr int kSheetQuality = 88;

bool WriteCategory(const fs::path& data, const Category& category, long only) {
  fs::path folder = data / category.folder;
  std::error_code ec;
  fs::create_directories(folder, ec);
  for (size_t i = 0; i < category.styles.size(); ++i) {
    if (only >= 0 && size_t(only) != i) continue;
    fs::path file = folder / HairstyleFileName(i);
    if (!WriteJpeg(file.string(), DrawStyle(category, i), kJpegQuality)) {
      std::fprintf(stderr, "gen-hairstyles: cannot write %s\n", file.c_str());
      return false;
    }
  }
  if (only < 0) {
    // Pictures left over from a longer list of styles would show as extra entries.
    for (size_t i = category.styles.size(); fs::exists(folder / HairstyleFileName(i)); ++i)
      fs::remove(folder / HairstyleFileName(i), ec);
  }
  std::printf("%s: %zu hairstyles\n", category.folder, category.styles.size());
  return true;
}

// The large pictures of the chosen categories (all when `onlyCategory` is
// null) or of one style, drawn by as many threads as there are cores.
bool WriteLarge(const fs::path& folder, const char* onlyCategory, long only) {
  struct Job {
    const Category* category;
    size_t index;
  };
  const std::vector<Category> catalogue = Catalogue();
  std::vector<Job> jobs;
  for (const Category& category : catalogue) {
    if (onlyCategory && std::strcmp(onlyCategory, category.folder) != 0) continue;
    const fs::path large = folder / (std::string(category.folder) + "Large");
    std::error_code ec;
    fs::create_directories(large, ec);
    for (size_t i = 0; i < category.styles.size(); ++i) {
      if (only < 0 || size_t(only) == i) jobs.push_back({&category, i});
    }
    if (only < 0) {
      for (size_t i = category.styles.size(); fs::exists(large / LargeHairstyleFileName(i)); ++i)
        fs::remove(large / LargeHairstyleFileName(i), ec);
    }
  }
  if (jobs.empty()) {
    std::fprintf(stderr, "gen-hairstyles: no such hairstyle\n");
    return false;
  }
  std::atomic<size_t> next = 0;
  std::atomic<bool> failed = false;
  auto work = [&] {
    for (size_t k = next++; k < jobs.size() && !failed; k = next++) {
      const Job& job = jobs[k];
      const fs::path file =
          folder / (std::string(job.category->folder) + "Large") / LargeHairstyleFileName(job.index);
      const LargeHair large = DrawLargeStyle(*job.category, job.index);
      if (!WritePngWithAlpha(file.string(), large.colour, large.alpha)) {
        std::fprintf(stderr, "gen-hairstyles: cannot write %s\n", file.c_str());
        failed = true;
      }
    }
  };
  std::vector<std::thread> threads(std::max(1u, std::thread::hardware_concurrency()));
  for (std::thread& thread : threads) thread = std::thread(work);
  for (std::thread& thread : threads) thread.join();
  if (!failed) std::printf("%zu large hairstyles\n", jobs.size());
  return !failed;
}

// One sheet per category and hair colour: the default colour at full size,
// the others at half size.
bool WriteSheets(const fs::path& data, const fs::path& faceFile, const fs::path& sheets) {
  std::error_code ec;
  fs::create_directories(sheets, ec);
  const glamora::Bitmap face = ReadModelFace(faceFile.string());
  if (face.Empty()) {
    std::fprintf(stderr, "gen-hairstyles: cannot read the face %s\n", faceFile.c_str());
    return false;
  }
  for (const Category& category : Catalogue()) {
    std::vector<QImage> hairs;
    for (size_t i = 0;; ++i) {
      fs::path file = data / category.folder / HairstyleFileName(i);
      if (!fs::exists(file)) break;
      QImage hair = ReadJpeg(file.string());
      if (hair.isNull()) {
        std::fprintf(stderr, "gen-hairstyles: cannot read %s\n", file.c_str());
        return false;
      }
      hairs.push_back(hair);
    }
    for (const Tint& tint : SheetTints()) {
      std::vector<QImage> pictures;
      for (const QImage& hair : hairs) pictures.push_back(PutOn(face, hair, tint));
      const bool full = &tint == &SheetTints().front();
      QString title = QString("%1 (folder %2): %3 hairstyles, hair colour %4 (%5, %6, %7)")
                          .arg(category.shownAs, category.folder)
                          .arg(pictures.size())
                          .arg(tint.name)
                          .arg(tint.red)
                          .arg(tint.green)
                          .arg(tint.blue);
      fs::path out = sheets / (std::string(category.folder) + "-" + tint.name + ".jpg");
      if (!WriteJpeg(out.string(), ContactSheet(pictures, title, full ? 6 : 10, full ? 1.0 : 0.5), kSheetQuality)) {
        std::fprintf(stderr, "gen-hairstyles: cannot write %s\n", out.c_str());
        return false;
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  if (argc == 5 && std::strcmp(argv[1], "--contact-sheet") == 0) return WriteSheets(argv[2], argv[3], argv[4]) ? 0 : 1;
  if (argc >= 3 && argc <= 5 && std::strcmp(argv[1], "--large") == 0) {
    return WriteLarge(argv[2], argc >= 4 ? argv[3] : nullptr, argc == 5 ? std::strtol(argv[4], nullptr, 10) : -1)
               ? 0
               : 1;
  }
  if (argc < 2 || argc > 4 || argv[1][0] == '-') {
    std::fprintf(stderr,
                 "usage: gen-hairstyles <data folder> [category [number]]\n"
                 "       gen-hairstyles --large <folder> [category [number]]\n"
                 "       gen-hairstyles --contact-sheet <data folder> <face file> <sheet folder>\n");
    return 2;
  }
  const char* onlyCategory = argc >= 3 ? argv[2] : nullptr;
  long onlyNumber = argc == 4 ? std::strtol(argv[3], nullptr, 10) : -1;
  bool found = false;
  for (const Category& category : Catalogue()) {
    if (onlyCategory && std::strcmp(onlyCategory, category.folder) != 0) continue;
    found = true;
    if (!WriteCategory(argv[1], category, onlyNumber)) return 1;
  }
  if (!found) {
    std::fprintf(stderr, "gen-hairstyles: no category %s\n", onlyCategory);
    return 2;
  }
  return 0;
}
