// Content detection of picture streams and the format table.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "codecs/Registry.h"
#include "imaging/components/FormatTable.h"
#include "imaging/components/ImgIOStreamHeader.h"
#include "imaging/core/Stream.h"

namespace glamora {
namespace {

using Bytes = std::vector<uint8_t>;

// The prefix followed by zeros up to `size` bytes.
Bytes Padded(std::initializer_list<uint8_t> prefix, size_t size) {
  Bytes bytes(prefix);
  bytes.resize(size, 0);
  return bytes;
}

Bytes Padded(const std::string& prefix, size_t size) {
  Bytes bytes(prefix.begin(), prefix.end());
  bytes.resize(size, 0);
  return bytes;
}

void PutLe16(Bytes& b, size_t at, uint16_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void PutLe32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

struct IconEntry {
  uint8_t Reserved = 0;
  uint32_t DataSize = 40;
  uint32_t DataOffset = 0;  // 0: just after the directory
};

// An icon (type 1) or cursor (type 2) directory with the given entries, padded to `size`.
Bytes IconDirectory(uint16_t type, std::vector<IconEntry> entries, size_t size, uint16_t reserved = 0) {
  const size_t directoryEnd = 6 + 16 * entries.size();
  Bytes b(std::max(size, directoryEnd), 0);
  PutLe16(b, 0, reserved);
  PutLe16(b, 2, type);
  PutLe16(b, 4, uint16_t(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t at = 6 + 16 * i;
    b[at] = 16;
    b[at + 1] = 16;
    b[at + 3] = entries[i].Reserved;
    PutLe32(b, at + 8, entries[i].DataSize);
    PutLe32(b, at + 12, entries[i].DataOffset ? entries[i].DataOffset : uint32_t(directoryEnd));
  }
  b.resize(size);
  return b;
}

Bytes TargaHeader(uint8_t imageType, uint8_t depth, size_t size = 18) {
  Bytes b(size, 0);
  b[2] = imageType;
  PutLe16(b, 12, 2);
  PutLe16(b, 14, 2);
  b[16] = depth;
  return b;
}

const Bytes kPngSignature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

Bytes PngPrefix(size_t size) {
  Bytes b = kPngSignature;
  b.resize(size, 0);
  return b;
}

struct DetectionCase {
  const char* Name;
  Bytes Content;
  int32_t Expected;
};

std::vector<DetectionCase> DetectionCases() {
  return {
      {"empty stream", {}, iftUnknown},
      {"JPEG start of image alone", {0xFF, 0xD8, 0xFF}, iftJpeg},
      {"JPEG needs the third FF", Padded({0xFF, 0xD8, 0xFE}, 100), iftUnknown},
      {"JFIF stream header of 13 bytes", Padded(std::string("JFIF", 5), 13), iftJpeg},
      {"JFIF stream header needs more than 12 bytes", Padded(std::string("JFIF", 5), 12), iftUnknown},
      {"JFIF without its zero byte", Padded("JFIFX", 100), iftUnknown},
      {"GIF of 14 bytes", Padded("GIF89a", 14), iftGif},
      {"GIF needs more than 13 bytes", Padded("GIF89a", 13), iftUnknown},
      {"PCX2 stream header", Padded(std::string("PCX2", 5), 13), iftPcx},
      {"PCX2 stream header needs more than 12 bytes", Padded(std::string("PCX2", 5), 12), iftUnknown},
      {"old PCX prefix", Padded(std::string("PCX", 4), 5), iftPcx},
      {"old PCX prefix needs more than 4 bytes", Padded(std::string("PCX", 4), 4), iftUnknown},
      {"BMP of 15 bytes", Padded("BM", 15), iftBmp},
      {"BMP of exactly 14 bytes is not detected", Padded("BM", 14), iftUnknown},
      {"PCX file, version 5, 129 bytes", Padded({10, 5}, 129), iftPcx},
      {"PCX file needs more than 128 bytes", Padded({10, 5}, 128), iftUnknown},
      {"PCX file with version 6 is not PCX", Padded({10, 6}, 129), iftUnknown},
      {"TIFF stream header", Padded(std::string("TIFF", 5), 13), iftTiff},
      {"TIFF little-endian", Padded({'I', 'I', 42, 0}, 9), iftTiff},
      {"TIFF big-endian", Padded({'M', 'M', 0, 42}, 9), iftTiff},
      {"TIFF needs more than 8 bytes", Padded({'I', 'I', 42, 0}, 8), iftUnknown},
      {"TIFF by its byte order alone", Padded({'M', 'M', 0, 0}, 9), iftTiff},
      {"PNG signature", PngPrefix(9), iftPng},
      {"PNG needs more than 8 bytes", PngPrefix(8), iftUnknown},
      {"icon with one entry", IconDirectory(1, {{}}, 23), iftIcon},
      {"cursor with one entry", IconDirectory(2, {{}}, 23), iftCursor},
      {"icon needs more than 22 bytes", IconDirectory(1, {{}}, 22), iftUnknown},
      {"icon with a non-zero reserved word", IconDirectory(1, {{}}, 40, 1), iftUnknown},
      {"icon with no entries", IconDirectory(1, {}, 40), iftUnknown},
      {"icon entry with a reserved byte set", IconDirectory(1, {{1, 40, 0}}, 40), iftUnknown},
      {"icon entry without data", IconDirectory(1, {{0, 0, 0}}, 40), iftUnknown},
      {"icon data inside its own entry", IconDirectory(1, {{0, 40, 21}}, 40), iftUnknown},
      {"icon data starting at the end of its entry", IconDirectory(1, {{0, 40, 22}}, 40), iftIcon},
      {"second icon entry's data inside the directory", IconDirectory(1, {{0, 40, 38}, {0, 40, 37}}, 60),
       iftUnknown},
      {"icon directory longer than the stream", IconDirectory(1, {{}, {}, {}}, 30), iftUnknown},
      {"directory of type 3 is neither", IconDirectory(3, {{}}, 40), iftUnknown},
      {"Targa true colour", TargaHeader(2, 24), iftTarga},
      {"Targa run-length 32-bit", TargaHeader(10, 32), iftTarga},
      {"Targa grey 8-bit", TargaHeader(3, 8), iftTarga},
      {"Targa colour-mapped 1-bit", TargaHeader(1, 1), iftTarga},
      {"Targa with image type 4", TargaHeader(4, 24), iftUnknown},
      {"Targa with depth 15", TargaHeader(2, 15), iftUnknown},
      {"Targa header cut short", TargaHeader(2, 24, 17), iftUnknown},
      // Distinctive signatures come before the weak guesses that such files also pass.
      {"BMP that passes the Targa test too", [] {
         Bytes b = TargaHeader(2, 24, 40);
         b[0] = 'B';
         b[1] = 'M';
         return b;
       }(), iftBmp},
      {"TIFF that passes the Targa test too", [] {
         Bytes b = TargaHeader(2, 24, 40);
         b[0] = b[1] = 'I';
         return b;
       }(), iftTiff},
      {"plain text", Padded("Hello, world", 200), iftUnknown},
  };
}

TEST(DetectFileType, RecognisesEachFormatByItsRules) {
  for (const DetectionCase& c : DetectionCases()) {
    MemoryStream stream(c.Content);
    EXPECT_EQ(DetectFileType(stream), c.Expected) << c.Name;
    EXPECT_EQ(stream.Position(), 0) << c.Name;
  }
}

// Detection holds no probe of its own: each codec's probe is the content
// rule for its type, so it accepts exactly the cases detected as that type,
// and no codec accepts content that no rule recognises.
TEST(DetectFileType, TheCodecsOwnProbesAreTheContentRules) {
  for (const DetectionCase& c : DetectionCases()) {
    const codec::Bytes head(c.Content.data(), c.Content.size());
    if (DetectStreamHeader(head, head.size()) != iftUnknown) continue;
    for (const codec::Codec* codec : codec::CodecsByProbeStrength()) {
      const bool accepted = codec->Probe(head, head.size());
      if (c.Expected == iftUnknown) {
        EXPECT_FALSE(accepted) << c.Name << ": " << codec->Name;
      } else if (codec->FileType == c.Expected) {
        EXPECT_TRUE(accepted) << c.Name << ": " << codec->Name;
      }
    }
  }
}

TEST(DetectFileType, TestsFromThePositionAndReturnsToIt) {
  for (const DetectionCase& c : DetectionCases()) {
    if (c.Content.empty()) continue;
    // 40 bytes before the picture that no rule accepts.
    Bytes bytes(40, 0x55);
    for (uint8_t b : c.Content) bytes.push_back(b);
    MemoryStream stream(bytes);
    stream.Seek(40);
    const int32_t detected = DetectFileType(stream);
    EXPECT_EQ(stream.Position(), 40) << c.Name;
    // The size rules count the whole stream, so a short picture after a
    // prefix may pass a size test it fails on its own.
    if (c.Expected != iftUnknown) {
      EXPECT_EQ(detected, c.Expected) << c.Name;
    }
  }
}

TEST(DetectFileType, ShortPcxLikeHeaderFallsThroughToTarga) {
  Bytes bytes = TargaHeader(2, 24, 100);
  bytes[0] = 10;
  bytes[1] = 5;
  MemoryStream stream(bytes);
  EXPECT_EQ(DetectFileType(stream), iftTarga);
  // The same header in a stream of more than 128 bytes is a PCX file.
  bytes.resize(129);
  MemoryStream longer(bytes);
  EXPECT_EQ(DetectFileType(longer), iftPcx);
}

TEST(DetectFileType, SizeRulesCountTheWholeStream) {
  // "BM" and three bytes at position 10: 5 bytes remain, but the stream has 15.
  Bytes bytes(15, 0x55);
  bytes[10] = 'B';
  bytes[11] = 'M';
  MemoryStream stream(bytes);
  stream.Seek(10);
  EXPECT_EQ(DetectFileType(stream), iftBmp);
}

FileFormat HookedFormat(int32_t id, FormatTestHook test) {
  FileFormat format;
  format.Id = id;
  format.Description = "Test Bitmap";
  format.Extensions = "TST";
  format.Test = std::move(test);
  return format;
}

TEST(DetectFileType, TestHooksComeFirstInTableOrder) {
  FormatTable table = FormatTable::BuiltIn();
  table.Add(HookedFormat(12, [](Stream& s) {
    uint8_t b = 0;
    return s.Read(&b, 1) == 1 && b == 0xFF;  // would also take JPEG
  }));
  table.Add(HookedFormat(13, [](Stream&) { return true; }));

  MemoryStream jpeg(Bytes{0xFF, 0xD8, 0xFF, 0xE0});
  EXPECT_EQ(DetectFileType(jpeg, table), 12);
  MemoryStream bmp(Padded("BM", 100));
  EXPECT_EQ(DetectFileType(bmp, table), 13);
}

TEST(DetectFileType, HookThatMovesTheStreamDoesNotDisturbLaterTests) {
  FormatTable table = FormatTable::BuiltIn();
  table.Add(HookedFormat(12, [](Stream& s) {
    uint8_t b[8];
    s.Read(b, sizeof b);
    return false;
  }));
  MemoryStream stream(PngPrefix(20));
  EXPECT_EQ(DetectFileType(stream, table), iftPng);
  EXPECT_EQ(stream.Position(), 0);
}

TEST(DetectFileType, ExceptionDuringDetectionGivesUnknown) {
  FormatTable table = FormatTable::BuiltIn();
  table.Add(HookedFormat(12, [](Stream& s) -> bool {
    s.Seek(5);
    throw std::runtime_error("broken");
  }));
  MemoryStream stream(PngPrefix(20));
  stream.Seek(2);
  EXPECT_EQ(DetectFileType(stream, table), iftUnknown);
  EXPECT_EQ(stream.Position(), 2);
}

TEST(FormatTable, BuiltInEntriesInIdOrder) {
  struct Expected {
    int32_t Id;
    const char* Description;
    const char* Extensions;
  };
  const Expected expected[] = {
      {1, "TIFF Bitmap", "TIF;TIFF"},
      {2, "CompuServe Bitmap", "GIF"},
      {3, "JPEG Bitmap", "JPG;JPEG;JPE"},
      {4, "PaintBrush", "PCX"},
      {5, "Windows Bitmap", "BMP;DIB;RLE"},
      {6, "Windows Icon", "ICO"},
      {7, "Windows Cursor", "CUR"},
      {8, "Portable Network Graphics", "PNG"},
      {9, "Windows Metafile", "WMF"},
      {10, "Enhanced Windows Metafile", "EMF"},
      {11, "Targa Bitmap", "TGA;TARGA;VDA;ICB;VST;PIX"},
  };
  const auto& entries = BuiltInFormats().Entries();
  ASSERT_EQ(entries.size(), std::size(expected));
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].Id, expected[i].Id);
    EXPECT_EQ(entries[i].Description, expected[i].Description);
    EXPECT_EQ(entries[i].Extensions, expected[i].Extensions);
    EXPECT_FALSE(entries[i].Test || entries[i].Read || entries[i].Write) << entries[i].Description;
  }
  EXPECT_EQ(&BuiltInFormats(), &BuiltInFormats());
}

TEST(FormatTable, FindsEntriesByExtensionInEitherCase) {
  const FormatTable& table = BuiltInFormats();
  const struct {
    const char* Extension;
    int32_t Id;  // 0: no entry
  } cases[] = {{"pix", 11}, {"PIX", 11}, {"Targa", 11}, {"jpe", 3}, {"tiff", 1}, {"tif", 1}, {"rle", 5},
               {"emf", 10}, {"ti", 0},   {"tiffx", 0}, {"", 0},   {"win", 0}};
  for (const auto& c : cases) {
    const FileFormat* format = table.FindByExtension(c.Extension);
    EXPECT_EQ(format ? format->Id : 0, c.Id) << c.Extension;
  }
  EXPECT_EQ(table.FindById(8)->Description, "Portable Network Graphics");
  EXPECT_EQ(table.FindById(12), nullptr);
}

TEST(FormatTable, CutsLongTextsToEightyCharacters) {
  FormatTable table;
  FileFormat format;
  format.Id = 12;
  format.Description = std::string(100, 'd');
  format.Extensions = std::string(100, 'E');
  table.Add(format);
  EXPECT_EQ(table.Entries()[0].Description.size(), 80u);
  EXPECT_EQ(table.Entries()[0].Extensions.size(), 80u);
}

TEST(OpenDialogFilter, AllGraphicsThenOneEntryPerFormat) {
  FormatTable table;
  FileFormat tiff;
  tiff.Id = 1;
  tiff.Description = "TIFF Bitmap";
  tiff.Extensions = "TIF;TIFF";
  table.Add(tiff);
  FileFormat gif;
  gif.Id = 2;
  gif.Description = "CompuServe Bitmap";
  gif.Extensions = "GIF";
  table.Add(gif);
  EXPECT_EQ(OpenDialogFilter(table),
            "All graphics (*.tif;*.tiff;*.gif)|*.tif;*.tiff;*.gif|"
            "TIFF Bitmap (*.tif;*.tiff)|*.tif;*.tiff|"
            "CompuServe Bitmap (*.gif)|*.gif");
}

TEST(OpenDialogFilter, BuiltInTableHasTwelvePairs) {
  const std::string filter = OpenDialogFilter(BuiltInFormats());
  EXPECT_EQ(std::count(filter.begin(), filter.end(), '|'), 2 * 12 - 1);
  EXPECT_NE(filter.find("|Targa Bitmap (*.tga;*.targa;*.vda;*.icb;*.vst;*.pix)|*.tga;*.targa;*.vda;*.icb;*.vst;*.pix"),
            std::string::npos);
}

}  // namespace
}  // namespace glamora
