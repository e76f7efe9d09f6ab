// The checks the hand-written codecs' tests share: samples made with convert,
// sentinel pictures and parameters, and damaged-input runs.
#include "tests/codecs/CodecChecks.h"

#include <random>

#include "tests/codecs/MagickReference.h"

namespace glamora::test {

namespace {

// A recognisable picture and parameter record to see whether a failed decode touched them.
Bitmap Sentinel() {
  Bitmap b(3, 2);
  b.Fill(Rgb(1, 2, 3));
  return b;
}

TImgIOParams SentinelParams() {
  TImgIOParams p;
  p.Width = 1234;
  p.DpiX = 77;
  p.TgaDescription = "untouched";
  p.PcxVersion = 9;
  return p;
}

bool SameParams(const TImgIOParams& a, const TImgIOParams& b) {
  return a.Width == b.Width && a.Height == b.Height && a.DpiX == b.DpiX && a.DpiY == b.DpiY &&
         a.BitsPerSample == b.BitsPerSample && a.SamplesPerPixel == b.SamplesPerPixel &&
         a.TgaDescription == b.TgaDescription && a.TgaCompressed == b.TgaCompressed && a.PcxVersion == b.PcxVersion &&
         a.PcxCompression == b.PcxCompression && a.BmpCompressed == b.BmpCompressed;
}

}  // namespace

::testing::AssertionResult HandlesDamage(const codec::Codec& codec, const std::vector<uint8_t>& bytes) {
  Bitmap out = Sentinel();
  TImgIOParams params = SentinelParams();
  bool aborting = false;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  size_t consumed = 0;
  if (codec.Decode(codec::Bytes(bytes.data(), bytes.size()), out, params, progress, consumed) == PictureStatus::Ok) {
    if (!SizeWithinLimits(out.Width(), out.Height()) || out.Empty() || consumed > bytes.size()) {
      return ::testing::AssertionFailure() << "decoded " << out.Width() << "x" << out.Height() << ", consumed "
                                           << consumed << " of " << bytes.size();
    }
    return ::testing::AssertionSuccess();
  }
  if (!out.SameContent(Sentinel()) || !SameParams(params, SentinelParams())) {
    return ::testing::AssertionFailure() << "a failed decode changed the output";
  }
  if (!aborting) return ::testing::AssertionFailure() << "a failed decode did not set the abort flag";
  return ::testing::AssertionSuccess();
}

std::vector<uint8_t> MakeSample(const std::vector<std::string>& args, const std::string& output) {
  std::vector<std::string> all = args;
  all.push_back(output);
  if (!RunConvert(all)) return {};
  const size_t colon = output.find(':');
  return ReadAll(colon == std::string::npos || output.find('/') < colon ? output : output.substr(colon + 1));
}

::testing::AssertionResult DecodeWith(const codec::Codec& codec, const std::vector<uint8_t>& bytes, Bitmap& out,
                                      TImgIOParams& params) {
  size_t consumed = 0;
  bool aborting = false;
  ProgressRecord progress;
  progress.Aborting = &aborting;
  if (codec.Decode(codec::Bytes(bytes.data(), bytes.size()), out, params, progress, consumed) != PictureStatus::Ok) {
    return ::testing::AssertionFailure() << codec.Name << " decode failed";
  }
  if (consumed == 0 || consumed > bytes.size()) {
    return ::testing::AssertionFailure() << "consumed " << consumed << " of " << bytes.size();
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult MatchesMagick(const codec::Codec& codec, const std::string& path,
                                         const std::vector<std::string>& magickOptions, int tolerance) {
  Bitmap expected, actual;
  TImgIOParams params;
  if (!MagickDecode(path, expected, magickOptions)) return ::testing::AssertionFailure() << "convert cannot read " << path;
  auto decoded = DecodeWith(codec, ReadAll(path), actual, params);
  if (!decoded) return decoded;
  if (params.Width != actual.Width() || params.Height != actual.Height()) {
    return ::testing::AssertionFailure() << "params size " << params.Width << "x" << params.Height;
  }
  return SamePixels(expected, actual, tolerance);
}

void ExpectDamageHandled(const codec::Codec& codec, const std::vector<uint8_t>& file, size_t stride, int flips,
                         uint32_t seed) {
  ASSERT_FALSE(file.empty());
  for (size_t length = 0; length < file.size(); length += std::max<size_t>(stride, 1)) {
    std::vector<uint8_t> prefix(file.begin(), file.begin() + std::ptrdiff_t(length));
    EXPECT_TRUE(HandlesDamage(codec, prefix)) << "truncated to " << length << " bytes";
  }
  std::mt19937 random(seed);
  for (int i = 0; i < flips; ++i) {
    std::vector<uint8_t> damaged = file;
    const size_t at = random() % damaged.size();
    damaged[at] ^= uint8_t(1u << (random() % 8));
    EXPECT_TRUE(HandlesDamage(codec, damaged)) << "bit flipped at byte " << at;
  }
}

std::vector<uint8_t> IconFromBmp(const std::vector<uint8_t>& bmp, uint16_t type) {
  const uint32_t width = GetLE(bmp, 18, 4), height = GetLE(bmp, 22, 4);
  std::vector<uint8_t> image(bmp.begin() + 14, bmp.end());
  PutLE(image, 8, height * 2, 4);
  image.insert(image.end(), size_t((width + 31) / 32) * 4 * height, 0);
  std::vector<uint8_t> f;
  PutLE(f, 0, 0, 2);
  PutLE(f, 2, type, 2);
  PutLE(f, 4, 1, 2);
  PutLE(f, 6, width, 1);
  PutLE(f, 7, height, 1);
  PutLE(f, 10, 1, 2);
  PutLE(f, 12, 24, 2);
  PutLE(f, 14, image.size(), 4);
  PutLE(f, 18, 22, 4);
  f.insert(f.end(), image.begin(), image.end());
  return f;
}

void PutLE(std::vector<uint8_t>& bytes, size_t offset, uint64_t value, int size) {
  if (bytes.size() < offset + size_t(size)) bytes.resize(offset + size_t(size));
  for (int i = 0; i < size; ++i) bytes[offset + size_t(i)] = uint8_t(value >> (8 * i));
}

uint32_t GetLE(const std::vector<uint8_t>& bytes, size_t offset, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size && offset + size_t(i) < bytes.size(); ++i) value |= uint32_t(bytes[offset + size_t(i)]) << (8 * i);
  return value;
}

}  // namespace glamora::test
