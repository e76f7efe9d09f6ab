// The picture preview's information lines for a file of each kind, read
// without decoding a pixel, and the languages of their words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "imaging/components/ImgIO.h"
#include "imaging/components/PreviewInfo.h"
#include "tests/imaging/PictureFiles.h"

namespace glamora::test {
namespace {

TImgIOParams WithDpi(int dpi) {
  TImgIOParams params;
  params.DpiX = params.DpiY = dpi;
  return params;
}

Bitmap BilevelPicture(int width, int height) {
  Bitmap b(width, height, PixelFormat::Bits1);
  b.Palette() = {clBlack, clWhite};
  for (int y = 0; y < height; ++y) std::fill_n(b.Row(y), (width + 7) / 8, uint8_t(0xF0 >> (y % 4)));
  return b;
}

struct InfoCase {
  const char* Name;
  std::vector<uint8_t> Bytes;
  size_t FileSize;  // the file is padded with zeros to this size
  std::vector<std::string> Lines;
};

std::vector<InfoCase> InfoCases() {
  TImgIOParams grey;
  grey.JpegColor = JpegColorSpace::Grey;
  TImgIOParams lzw = WithDpi(150);
  lzw.TiffCompress = TiffCompression::Lzw;
  TImgIOParams group4;
  group4.TiffCompress = TiffCompression::CcittFax4;
  TImgIOParams interlaced;
  interlaced.PngInterlaced = true;
  TImgIOParams uncompressed;
  uncompressed.PcxCompression = 0;
  TImgIOParams rle;
  rle.TgaCompressed = true;
  return {
      {"photo.jpg",
       Coded(iftJpeg, GradientPicture(640, 480), WithDpi(72)),
       52000,
       {"640 x 480 pixel", "16777216 Colors (24 bit)", "72 x 72 dpi", "JPEG Bitmap (JPG) YCbCr",
        "File: 50 Kb   Mem: 900 Kb"}},
      {"grey.jpg",
       Coded(iftJpeg, GradientPicture(32, 16), grey),
       1100,
       {"32 x 16 pixel", "256 Colors (8 bit)", "96 x 96 dpi", "JPEG Bitmap (JPG) Gray level", "File: 1 Kb   Mem: 1 Kb"}},
      {"small.pcx",
       Coded(iftPcx, GradientPicture(8, 8), uncompressed),
       1023,
       {"8 x 8 pixel", "16777216 Colors (24 bit)", "96 x 96 dpi", "PaintBrush (PCX) Uncompressed",
        "File: 1023 bytes   Mem: 192 bytes"}},
      {"run.tga",
       Coded(iftTarga, GradientPicture(20, 10), rle),
       1024,
       {"20 x 10 pixel", "16777216 Colors (24 bit)", "96 x 96 dpi", "Targa Bitmap (TGA) Compressed",
        "File: 1 Kb   Mem: 600 bytes"}},
      {"three.gif",
       AnimatedGif(3, 10, 6, 10),
       2048,
       {"10 x 6 pixel , 3 frames", "4 Colors (2 bit)", "96 x 96 dpi", "CompuServe Bitmap (GIF)",
        "File: 2 Kb   Mem: 576 bytes"}},
      {"lzw.tif",
       Coded(iftTiff, GradientPicture(30, 20), lzw),
       3000,
       {"30 x 20 pixel", "16777216 Colors (24 bit)", "150 x 150 dpi", "TIFF Bitmap (TIF) LZW",
        "File: 2 Kb   Mem: 1 Kb"}},
      {"fax.tif",
       Coded(iftTiff, BilevelPicture(45, 30), group4),
       400,
       {"45 x 30 pixel", "2 Colors (1 bit)", "96 x 96 dpi", "TIFF Bitmap (TIF) Group 4 Fax",
        "File: 400 bytes   Mem: 240 bytes"}},
      {"passes.png",
       Coded(iftPng, GradientPicture(16, 16), interlaced),
       1500,
       {"16 x 16 pixel", "16777216 Colors (24 bit)", "96 x 96 dpi", "Portable Network Graphics (PNG) Interlaced",
        "File: 1 Kb   Mem: 768 bytes"}},
      {"version3.bmp",
       Coded(iftBmp, GradientPicture(5, 3), TImgIOParams{}),
       200,
       {"5 x 3 pixel", "16777216 Colors (24 bit)", "96 x 96 dpi", "Windows Bitmap (BMP) ver.3",
        "File: 200 bytes   Mem: 48 bytes"}},
  };
}

TEST(PreviewInfo, LinesOfEachKindOfFile) {
  TempFolder folder;
  for (const InfoCase& c : InfoCases()) {
    SCOPED_TRACE(c.Name);
    ASSERT_LE(c.Bytes.size(), c.FileSize);
    const std::string path = WritePictureFile(folder.File(c.Name), c.Bytes, c.FileSize);
    TImgIO io;
    ASSERT_TRUE(io.ParamsFromFile(path)) << io.Status();
    EXPECT_EQ(io.Params.FileName, path);
    EXPECT_EQ(DescribePreview(io.Params, c.FileSize, msEnglish).Lines(), c.Lines);
  }
}

// The frame count and every size stay exact where the memory a picture
// needs passes 64 bits.
TEST(PreviewInfo, HugeDeclaredSizesStayExact) {
  TImgIOParams params;
  params.FileType = iftGif;
  params.GifImageCount = 3;
  params.Width = params.Height = INT32_MAX;
  params.SamplesPerPixel = 4;
  params.BitsPerSample = 16;
  const PreviewInfo info = DescribePreview(params, 5, msEnglish);
  EXPECT_EQ(info.Colours, "18446744073709551616 Colors (64 bit)");
  EXPECT_EQ(info.FileAndMemory, "File: 5 bytes   Mem: 40532396627460096 Kb");
}

// A file that is not what its name says, or has a name no format claims,
// gives no information and leaves what was read before.
TEST(PreviewInfo, UnreadableFilesLeaveTheParams) {
  TempFolder folder;
  TImgIO io;
  ASSERT_TRUE(io.ParamsFromFile(
      WritePictureFile(folder.File("a.bmp"), Coded(iftBmp, GradientPicture(5, 3), TImgIOParams{}))));
  const struct {
    const char* Name;
    PictureStatus Status;
  } cases[] = {{"text.jpg", PictureStatus::Damaged}, {"notes.txt", PictureStatus::UnknownFormat}};
  for (const auto& c : cases) {
    WriteAll(folder.File(c.Name), std::string("not a picture at all, only words"));
    EXPECT_FALSE(io.ParamsFromFile(folder.File(c.Name)));
    EXPECT_EQ(io.Status(), c.Status) << c.Name;
    EXPECT_EQ(io.Params.FileType, iftBmp);
    EXPECT_EQ(io.Params.Width, 5);
  }
  EXPECT_THROW(io.ParamsFromFile(folder.File("missing.png")), FileError);
}

TEST(PreviewInfo, WordsComeInTheChosenLanguage) {
  TImgIOParams params;
  params.FileType = iftJpeg;
  EXPECT_EQ(DescribePreview(params, 1, msGerman).Colours, "16777216 Farben (24 bit)");
  EXPECT_EQ(DescribePreview(params, 1, msGreek).Colours, "16777216 Χρώματα (24 bit)");
  EXPECT_EQ(Msg(kMsgPreview, msFrench), "Prévisualisation");
  EXPECT_EQ(Msg(kMsgPreview, msSpanish), "Vista Previa");
  EXPECT_EQ(Msg(1, msEnglish), "");

  const std::pair<const char*, TMsgLanguage> locales[] = {
      {"de_DE.UTF-8", msGerman}, {"pt_BR", msPortuguese}, {"el_GR.UTF-8", msGreek}, {"it", msItalian},
      {"FR_ca", msFrench},       {"es_ES@euro", msSpanish}, {"C", msEnglish},       {"ja_JP.UTF-8", msEnglish},
      {"", msEnglish},
  };
  for (const auto& [locale, language] : locales) EXPECT_EQ(MsgLanguageOfLocale(locale), language) << locale;

  // msSystem follows the first of LC_ALL, LC_MESSAGES and LANG that is set.
  const char* saved = std::getenv("LC_ALL");
  const std::string kept = saved ? saved : "";
  setenv("LC_ALL", "pt_PT.UTF-8", 1);
  EXPECT_EQ(Msg(kMsgColors, msSystem), "Cores");
  if (saved) {
    setenv("LC_ALL", kept.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}

}  // namespace
}  // namespace glamora::test
