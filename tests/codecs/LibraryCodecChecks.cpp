// The pictures and checks the tests of the library-backed codecs share:
// sentinels, progress and stopping, random input and regression files.
#include "tests/codecs/LibraryCodecChecks.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <random>

#include "tests/codecs/MemoryGrowth.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {

namespace {

Bitmap SentinelPicture() {
  Bitmap b(3, 2);
  b.Fill(Rgb(1, 2, 3));
  return b;
}

// A record whose every field these codecs fill holds an unusual value.
TImgIOParams SentinelParams(TImgIOParams p) {
  p.Width = 1234;
  p.Height = 4321;
  p.DpiX = 77;
  p.DpiY = 78;
  p.BitsPerSample = 5;
  p.SamplesPerPixel = 7;
  p.JpegColor = JpegColorSpace::Ycck;
  p.JpegProgressive = true;
  p.GifVersion = "untouched";
  p.GifBackground = Rgb(1, 2, 3);
  p.GifTransparentColor = Rgb(4, 5, 6);
  p.GifHasTransparency = true;
  p.GifImageCount = 99;
  p.GifInterlaced = true;
  p.TiffPageCount = 98;
  p.PngHasBackground = true;
  p.PngBackground = Rgb(7, 8, 9);
  p.PngInterlaced = true;
  return p;
}

bool SameFilledFields(const TImgIOParams& a, const TImgIOParams& b) {
  return a.Width == b.Width && a.Height == b.Height && a.DpiX == b.DpiX && a.DpiY == b.DpiY &&
         a.BitsPerSample == b.BitsPerSample && a.SamplesPerPixel == b.SamplesPerPixel && a.JpegColor == b.JpegColor &&
         a.JpegProgressive == b.JpegProgressive && a.GifVersion == b.GifVersion &&
         a.GifBackground == b.GifBackground && a.GifTransparentColor == b.GifTransparentColor &&
         a.GifHasTransparency == b.GifHasTransparency && a.GifImageCount == b.GifImageCount &&
         a.GifInterlaced == b.GifInterlaced && a.TiffPageCount == b.TiffPageCount &&
         a.PngHasBackground == b.PngHasBackground && a.PngBackground == b.PngBackground &&
         a.PngInterlaced == b.PngInterlaced;
}

// One decode into the sentinel picture and parameters.
struct Attempt {
  PictureStatus Status = PictureStatus::Ok;
  bool Decoded = false;
  bool Aborting = false;
  Bitmap Out = SentinelPicture();
  TImgIOParams Before, After;
  size_t Consumed = 0;

  // With stopAtOnce the abort flag is set before decoding starts.
  Attempt(const codec::Codec& codec, const std::vector<uint8_t>& bytes, const TImgIOParams& params,
          bool stopAtOnce = false)
      : Aborting(stopAtOnce), Before(SentinelParams(params)), After(Before) {
    ProgressRecord progress;
    progress.Aborting = &Aborting;
    Status = codec.Decode(codec::Bytes(bytes.data(), bytes.size()), Out, After, progress, Consumed);
    Decoded = Status == PictureStatus::Ok;
  }

  ::testing::AssertionResult FailedCleanly() const {
    if (Decoded) return ::testing::AssertionFailure() << "decoded " << Out.Width() << "x" << Out.Height();
    if (!Out.SameContent(SentinelPicture())) return ::testing::AssertionFailure() << "a failed decode changed the bitmap";
    if (!SameFilledFields(After, Before)) return ::testing::AssertionFailure() << "a failed decode changed the params";
    if (!Aborting) return ::testing::AssertionFailure() << "a failed decode did not set the abort flag";
    return ::testing::AssertionSuccess();
  }

  // A success must give a picture within the limits, a failure must leave everything alone.
  ::testing::AssertionResult DecodedOrFailedCleanly(size_t inputSize) const {
    if (!Decoded) return FailedCleanly();
    if (Out.Empty() || !SizeWithinLimits(Out.Width(), Out.Height()) || Consumed > inputSize ||
        After.Width != Out.Width() || After.Height != Out.Height()) {
      return ::testing::AssertionFailure() << "decoded " << Out.Width() << "x" << Out.Height() << " (params "
                                           << After.Width << "x" << After.Height << "), consumed " << Consumed
                                           << " of " << inputSize;
    }
    return ::testing::AssertionSuccess();
  }
};

::testing::AssertionResult DecodesOrFailsCleanly(const codec::Codec& codec, const std::vector<uint8_t>& bytes,
                                                 const TImgIOParams& params) {
  return Attempt(codec, bytes, params).DecodedOrFailedCleanly(bytes.size());
}

}  // namespace

Bitmap SmoothPicture(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* p = b.Row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      const double u = width > 1 ? double(x) / (width - 1) : 0, v = height > 1 ? double(y) / (height - 1) : 0;
      p[2] = uint8_t(std::lround(255 * u));
      p[1] = uint8_t(std::lround(255 * v));
      p[0] = uint8_t(std::lround(127.5 + 127.5 * std::sin(3.0 * (u + v))));
    }
  }
  return b;
}

Bitmap Checkerboard(int width, int height, int cell) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, ((x / cell + y / cell) % 2) ? clWhite : clBlack);
  }
  return b;
}

Bitmap Greyed(const Bitmap& picture) {
  Bitmap grey;
  grey.Assign(picture);
  for (int y = 0; y < grey.Height(); ++y) {
    uint8_t* p = grey.Row(y);
    for (int x = 0; x < grey.Width(); ++x, p += 3) {
      const auto luma = uint8_t(std::lround(0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0]));
      p[0] = p[1] = p[2] = luma;
    }
  }
  return grey;
}

double MeanAbsoluteError(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Empty()) return 1e9;
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width() * 3; ++x) sum += std::abs(int(a.Row(y)[x]) - int(b.Row(y)[x]));
  }
  return sum / (double(a.Width()) * a.Height() * 3);
}

std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadAll(path);
  std::string text(bytes.begin(), bytes.end());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

::testing::AssertionResult FailsLeavingOutputAlone(const codec::Codec& codec, const std::vector<uint8_t>& bytes,
                                                   const TImgIOParams& params) {
  return Attempt(codec, bytes, params).FailedCleanly();
}

void ExpectProgressAndAbort(const codec::Codec& codec, const std::vector<uint8_t>& file, const TImgIOParams& params) {
  std::vector<int> reports;
  bool aborting = false;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  progress.OnProgress = [&reports](int percent) { reports.push_back(percent); };
  Bitmap out;
  TImgIOParams decodeParams = params;
  size_t consumed = 0;
  ASSERT_EQ(codec.Decode(codec::Bytes(file.data(), file.size()), out, decodeParams, progress, consumed), PictureStatus::Ok);
  ASSERT_FALSE(reports.empty());
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
  EXPECT_EQ(reports.front(), 0);
  EXPECT_EQ(reports.back(), 100);
  EXPECT_FALSE(aborting);

  // The caller asks to stop as soon as the decoder starts.
  Bitmap untouched = SentinelPicture();
  TImgIOParams stopParams = SentinelParams(params);
  const TImgIOParams before = stopParams;
  progress.OnProgress = [&aborting](int) { aborting = true; };
  EXPECT_NE(codec.Decode(codec::Bytes(file.data(), file.size()), untouched, stopParams, progress, consumed), PictureStatus::Ok);
  EXPECT_TRUE(untouched.SameContent(SentinelPicture()));
  EXPECT_TRUE(SameFilledFields(stopParams, before));
}

void ExpectRandomInputHandled(const codec::Codec& codec, const std::vector<uint8_t>& prefix, int count,
                              uint32_t seed, const TImgIOParams& params) {
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i) {
    std::vector<uint8_t> input = prefix;
    const size_t length = random() % 2048;
    for (size_t j = 0; j < length; ++j) input.push_back(uint8_t(random()));
    EXPECT_TRUE(DecodesOrFailsCleanly(codec, input, params)) << "random input " << i;
  }
}

// Far below what any file of the regression folders declares.
constexpr int64_t kMostGrowthKiB = 64 * 1024;

int ExpectRegressionFilesHandled(const codec::Codec& codec, const std::string& folder, const TImgIOParams& params) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(SourceDir()) / "tests" / "codecs" / "regressions" / folder;
  int files = 0;
  if (!fs::is_directory(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
    ++files;
    const std::vector<uint8_t> bytes = ReadAll(entry.path().string());
    // Each file is small: decoding it, or refusing it, touches little memory.
    std::optional<Attempt> attempt;
    const int64_t growth = PeakMemoryGrowthKiB([&] { attempt.emplace(codec, bytes, params); });
    EXPECT_TRUE(attempt->DecodedOrFailedCleanly(bytes.size())) << entry.path();
    EXPECT_GE(growth, 0) << "the peak memory cannot be measured";
    EXPECT_LT(growth, kMostGrowthKiB) << entry.path();
    if (entry.path().filename().string().rfind("damaged-", 0) == 0) {
      EXPECT_EQ(attempt->Status, PictureStatus::Damaged) << entry.path();
    }
    EXPECT_TRUE(Attempt(codec, bytes, params, true).FailedCleanly()) << entry.path() << " with the abort flag set";
  }
  return files;
}

}  // namespace glamora::test
