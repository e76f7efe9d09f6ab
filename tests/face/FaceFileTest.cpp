// Reading, writing and rewriting face files, and the header record.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "face/FaceFile.h"
#include "face/FaceSeal.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

using test::ReadAll;
using test::TempFolder;
using test::WriteAll;

std::vector<uint8_t> Picture(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 31 + 7);
  if (size >= 3) bytes[0] = 0xFF, bytes[1] = 0xD8, bytes[2] = 0xFF;
  return bytes;
}

FaceHeader SampleHeader() {
  FaceHeader h;
  h.Reserved0 = {1, 2, 3, 4};
  h.StoreMark = 9;
  h.Reserved5 = {5, 6, 7};
  h.LipLineColor = 0x00112233;
  for (int r = 1; r <= 4; ++r) {
    FaceRegion& region = h.Region(r);
    region.Valid = uint8_t(r);
    region.Reserved1 = {uint8_t(r), 0, 1};
    region.Count = 3 + r;
    region.Reserved2 = -r;
    for (int i = 0; i < FaceRegion::kMaxPoints; ++i) region.Points[size_t(i)] = {i * r, -i};
  }
  return h;
}

TEST(FaceHeader, IsByteExactLittleEndian) {
  FaceHeader h = SampleHeader();
  const auto bytes = h.Bytes();
  ASSERT_EQ(bytes.size(), 3260u);
  EXPECT_EQ(bytes[0], 1);
  EXPECT_EQ(bytes[4], 9);
  EXPECT_EQ(bytes[7], 7);
  EXPECT_EQ(bytes[8], 0x33);  // LipLineColor, low byte first
  EXPECT_EQ(bytes[11], 0x00);
  // Region 2 starts at 824: Valid, then Count at +4, points at +12.
  EXPECT_EQ(bytes[824], 2);
  EXPECT_EQ(bytes[824 + 4], 5);
  EXPECT_EQ(bytes[824 + 12 + 8 * 1], 2);      // point 1 x = 2
  EXPECT_EQ(bytes[824 + 16 + 8 * 1], 0xFF);   // point 1 y = -1
  EXPECT_EQ(bytes[2448], 4);                  // region 4
  EXPECT_EQ(FaceHeader::FromBytes(bytes.data()), h);
}

TEST(FaceHeader, OnlyThreeToHundredVerticesCountAsOutlined) {
  FaceRegion r;
  r.Valid = 1;
  for (int count : {-1, 0, 2, 101, 100000}) {
    r.Count = count;
    EXPECT_FALSE(r.IsOutlined()) << count;
  }
  for (int count : {3, 50, 100}) {
    r.Count = count;
    EXPECT_TRUE(r.IsOutlined()) << count;
  }
  r.Valid = 0;
  EXPECT_FALSE(r.IsOutlined());
  r.Valid = 0xC3;  // any non-zero byte is valid
  EXPECT_TRUE(r.IsOutlined());
}

TEST(FaceFile, ExtensionDecidesTheKind) {
  EXPECT_EQ(FaceFileKindOf("a/Modela.eff"), FaceFileKind::Enciphered);
  EXPECT_EQ(FaceFileKindOf("a/MODELA.EFF"), FaceFileKind::Enciphered);
  EXPECT_EQ(FaceFileKindOf("mine.MfF"), FaceFileKind::Plain);
  EXPECT_EQ(FaceFileKindOf("face.jpg"), FaceFileKind::NotAFaceFile);
  EXPECT_EQ(FaceFileKindOf("eff"), FaceFileKind::NotAFaceFile);
  EXPECT_EQ(FaceFileKindOf("folder.eff/face"), FaceFileKind::NotAFaceFile);
  // The extension runs from the name's last dot, even when nothing precedes it.
  EXPECT_EQ(FaceFileKindOf("Faces/.eff"), FaceFileKind::Enciphered);
  EXPECT_EQ(FaceFileKindOf(".MFF"), FaceFileKind::Plain);
  EXPECT_EQ(FaceFileKindOf("face.eff."), FaceFileKind::NotAFaceFile);
}

TEST(FaceFile, SealedFileReadsBackWithCapitalExtension) {
  TempFolder dir;
  const FaceHeader header = SampleHeader();
  const auto picture = Picture(5001);
  SealFaceFile(header, picture, dir.File("Model.EFF"));
  const auto onDisk = ReadAll(dir.File("Model.EFF"));
  ASSERT_EQ(onDisk.size(), 3260u + 5001u);
  EXPECT_NE(std::vector<uint8_t>(onDisk.begin() + 3260, onDisk.end()), picture);  // enciphered on disk

  FaceHeader read;
  MemoryStream payload;
  payload.Write("junk", 4);
  ASSERT_TRUE(ReadFaceFile(dir.File("Model.EFF"), read, payload));
  EXPECT_EQ(read, header);
  EXPECT_EQ(payload.Bytes(), picture);
  EXPECT_EQ(payload.Position(), 0);
}

TEST(FaceFile, OtherExtensionsAndShortFilesLeaveOutputsUntouched) {
  TempFolder dir;
  WriteAll(dir.File("notes.txt"), std::vector<uint8_t>(4000, 1));
  WriteAll(dir.File("short.mff"), std::vector<uint8_t>(3259, 1));
  const FaceHeader before = SampleHeader();
  for (const char* name : {"notes.txt", "short.mff"}) {
    FaceHeader header = before;
    MemoryStream payload;
    payload.Write("keep", 4);
    EXPECT_FALSE(ReadFaceFile(dir.File(name), header, payload)) << name;
    EXPECT_EQ(header, before);
    EXPECT_EQ(payload.Size(), 4);
    EXPECT_EQ(payload.Position(), 4);
  }
}

TEST(FaceFile, MissingFileIsAFileError) {
  TempFolder dir;
  FaceHeader header;
  MemoryStream payload;
  EXPECT_THROW(ReadFaceFile(dir.File("gone.mff"), header, payload), FileError);
}

TEST(FaceFile, HeaderOnlyFileHasAnEmptyPayload) {
  TempFolder dir;
  WriteAll(dir.File("empty.eff"), std::vector<uint8_t>(3260, 0));
  FaceHeader header = SampleHeader();
  MemoryStream payload;
  ASSERT_TRUE(ReadFaceFile(dir.File("empty.eff"), header, payload));
  EXPECT_EQ(payload.Size(), 0);
  EXPECT_EQ(header, FaceHeader{});
}

TEST(FaceFile, WriteTakesTheWholeStreamAfterANoiseHeader) {
  TempFolder dir;
  MemoryStream picture(Picture(777));
  picture.Seek(picture.Size());  // positioned at its end
  ASSERT_TRUE(WriteFaceFile(&picture, dir.File("new.mff")));
  EXPECT_EQ(picture.Position(), 777);
  const auto onDisk = ReadAll(dir.File("new.mff"));
  ASSERT_EQ(onDisk.size(), 3260u + 777u);
  EXPECT_EQ(std::vector<uint8_t>(onDisk.begin() + 3260, onDisk.end()), Picture(777));
  // Noise, not zeros.
  EXPECT_GT(std::count_if(onDisk.begin(), onDisk.begin() + 3260, [](uint8_t b) { return b != 0; }), 3000);

  FaceHeader header;
  MemoryStream payload;
  ASSERT_TRUE(ReadFaceFile(dir.File("new.mff"), header, payload));
  EXPECT_EQ(payload.Bytes(), Picture(777));

  EXPECT_FALSE(WriteFaceFile(nullptr, dir.File("none.mff")));
  EXPECT_FALSE(WriteFaceFile(&picture, ""));
  EXPECT_FALSE(std::filesystem::exists(dir.File("none.mff")));
}

TEST(FaceFile, WriteReplacesAnExistingFileCompletely) {
  TempFolder dir;
  WriteAll(dir.File("face.mff"), std::vector<uint8_t>(20000, 0xAB));
  MemoryStream picture(Picture(10));
  ASSERT_TRUE(WriteFaceFile(&picture, dir.File("face.mff")));
  EXPECT_EQ(ReadAll(dir.File("face.mff")).size(), 3270u);
}

TEST(FaceFile, FailedWriteKeepsTheOldFile) {
  TempFolder dir;
  const std::vector<uint8_t> good(5000, 0x11);
  WriteAll(dir.File("face.mff"), good);
  chmod(dir.File("face.mff").c_str(), 0444);
  MemoryStream picture(Picture(10));
  EXPECT_THROW(WriteFaceFile(&picture, dir.File("face.mff")), FileError);
  EXPECT_EQ(ReadAll(dir.File("face.mff")), good);
}

TEST(FaceFile, FailedWriteIntoAMissingFolderLeavesNothing) {
  TempFolder dir;
  MemoryStream picture(Picture(10));
  EXPECT_THROW(WriteFaceFile(&picture, dir.File("no/such/face.mff")), FileError);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(FaceFile, RewriteChangesOnlyTheHeader) {
  TempFolder dir;
  // A file whose header is noise; re-outline regions 1 and 3 only.
  std::vector<uint8_t> original(3260 + 900);
  for (size_t i = 0; i < original.size(); ++i) original[i] = uint8_t(i * 13 + 5);
  WriteAll(dir.File("face.mff"), original);

  FaceHeader header;
  MemoryStream payload;
  ASSERT_TRUE(ReadFaceFile(dir.File("face.mff"), header, payload));
  header.Region(1).Valid = 1;
  header.Region(1).Count = 3;
  header.Region(3).Valid = 1;
  header.Region(3).Count = 4;
  header.StoreMark = 0;
  RewriteFaceHeader(dir.File("face.mff"), header);

  const auto after = ReadAll(dir.File("face.mff"));
  ASSERT_EQ(after.size(), original.size());
  EXPECT_TRUE(std::equal(original.begin() + 3260, original.end(), after.begin() + 3260));  // payload
  EXPECT_TRUE(std::equal(original.begin(), original.begin() + 4, after.begin()));          // Reserved0
  EXPECT_TRUE(std::equal(original.begin() + 5, original.begin() + 8, after.begin() + 5));  // bytes 5..7
  EXPECT_TRUE(std::equal(original.begin() + 824, original.begin() + 1636, after.begin() + 824));   // region 2
  EXPECT_TRUE(std::equal(original.begin() + 2448, original.begin() + 3260, after.begin() + 2448));  // region 4
  EXPECT_EQ(after[4], 0);
  EXPECT_EQ(after[12], 1);
  EXPECT_EQ(after[1636 + 4], 4);
}

TEST(FaceFile, RewriteFailuresAreErrorsAndChangeNothing) {
  TempFolder dir;
  const std::vector<uint8_t> shortFile(100, 7);
  WriteAll(dir.File("short.mff"), shortFile);
  EXPECT_THROW(RewriteFaceHeader(dir.File("short.mff"), FaceHeader{}), FileError);
  EXPECT_EQ(ReadAll(dir.File("short.mff")), shortFile);
  EXPECT_THROW(RewriteFaceHeader(dir.File("missing.mff"), FaceHeader{}), FileError);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.mff")));

  const std::vector<uint8_t> face(4000, 3);
  WriteAll(dir.File("locked.mff"), face);
  chmod(dir.File("locked.mff").c_str(), 0444);
  EXPECT_THROW(RewriteFaceHeader(dir.File("locked.mff"), FaceHeader{}), FileError);
  EXPECT_EQ(ReadAll(dir.File("locked.mff")), face);
}

TEST(FaceFile, ACheckedRewriteWritesOnlyIntoTheFaceThatWasRead) {
  TempFolder dir;
  const std::string path = dir.File("face.mff");
  std::vector<uint8_t> original(3260 + 900);
  for (size_t i = 0; i < original.size(); ++i) original[i] = uint8_t(i * 13 + 5);
  WriteAll(path, original);
  FaceHeader header;
  MemoryStream payload;
  FaceFileIdentity identity;
  ASSERT_TRUE(ReadFaceFile(path, header, payload, &identity));
  EXPECT_EQ(identity, IdentityOfFaceFile(original));
  header.Region(1).Valid = 1;

  // Whatever has taken the face's name since: nothing is written into it.
  std::vector<uint8_t> otherPayload(original.begin(), original.end() - 1);
  otherPayload.push_back(uint8_t(original.back() ^ 1));
  std::vector<uint8_t> longer = original;
  longer.push_back(0);
  std::vector<uint8_t> jpeg = Picture(5000);
  const std::vector<uint8_t> others[] = {otherPayload, longer, jpeg};
  for (const std::vector<uint8_t>& other : others) {
    WriteAll(path, other);
    EXPECT_THROW(RewriteFaceHeader(path, header, identity), FaceFileReplaced);
    EXPECT_EQ(ReadAll(path), other);
  }

  // The same face under its name, its header changed or not, takes the header.
  std::vector<uint8_t> sameFace = original;
  sameFace[100] ^= 0xFF;
  WriteAll(path, sameFace);
  RewriteFaceHeader(path, header, identity);
  const std::vector<uint8_t> after = ReadAll(path);
  EXPECT_EQ(after[12], 1);
  EXPECT_TRUE(std::equal(original.begin() + 3260, original.end(), after.begin() + 3260));
}

TEST(FaceFile, WritingAHeaderWithItsPayloadGivesTheIdentityOfTheFileWritten) {
  TempFolder dir;
  const FaceHeader header = SampleHeader();
  const std::vector<uint8_t> picture = Picture(777);
  const FaceFileIdentity written = WriteFaceFile(header, picture, dir.File("new.mff"));
  FaceHeader readHeader;
  MemoryStream payload;
  FaceFileIdentity read;
  ASSERT_TRUE(ReadFaceFile(dir.File("new.mff"), readHeader, payload, &read));
  EXPECT_EQ(readHeader, header);
  EXPECT_EQ(payload.Bytes(), picture);
  EXPECT_EQ(read, written);
  EXPECT_EQ(written.Size, 3260u + 777u);
}

}  // namespace
}  // namespace glamora
