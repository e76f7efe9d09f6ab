// Files as pictures and faces are read from them: only regular files, never
// more than a bound, and a mapping that survives the file being cut short.
#include "imaging/core/Stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

using Bytes = std::vector<uint8_t>;

// A folder, a device and a pipe nobody writes to are refused at once, by
// every way of reading a file, with the message the error box shows.
TEST(ReadingFiles, OnlyRegularFilesAreOpened) {
  test::TempFolder folder;
  const std::string pipe = folder.File("face.mff");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string device = folder.File("zero.png");
  ASSERT_EQ(::symlink("/dev/zero", device.c_str()), 0);
  const std::string directory = folder.File("pictures.jpg");
  ASSERT_EQ(::mkdir(directory.c_str(), 0700), 0);

  const std::function<void(const std::string&)> readers[] = {
      [](const std::string& path) { ReadFileBytes(path); },
      [](const std::string& path) { FileStream(path, FileStream::Mode::Read); },
      [](const std::string& path) { MappedFile{path}; },
  };
  for (const std::string& path : {pipe, device, directory}) {
    for (const auto& read : readers) {
      try {
        read(path);
        ADD_FAILURE() << path << " was opened";
      } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + path);
      }
    }
  }
}

TEST(ReadingFiles, ReadFileBytesReadsNoMoreThanItsBound) {
  test::TempFolder folder;
  const std::string path = folder.File("face.mff");
  const Bytes content(5000, 7);
  test::WriteAll(path, content);
  EXPECT_EQ(ReadFileBytes(path, 5000), content);
  EXPECT_THROW(ReadFileBytes(path, 4999), FileError);
  EXPECT_EQ(ReadFileBytes(path), content);
}

TEST(ReadingFiles, AMappingGivesTheFileAndOutlivesItsBeingCutShort) {
  test::TempFolder folder;
  const std::string path = folder.File("picture.bmp");
  Bytes content(3 * 65536);
  for (size_t i = 0; i < content.size(); ++i) content[i] = uint8_t(i * 7 + 1);
  test::WriteAll(path, content);

  MappedFile file(path);
  ASSERT_EQ(file.Bytes().size(), content.size());
  EXPECT_TRUE(std::equal(content.begin(), content.end(), file.Bytes().begin()));
  EXPECT_FALSE(file.Changed());

  // Another program cuts the file short: the pages it no longer backs read
  // as zeros instead of ending this program, and the mapping tells.
  ASSERT_EQ(::truncate(path.c_str(), 100), 0);
  uint64_t sum = 0;
  for (uint8_t b : file.Bytes().subspan(65536)) sum += b;
  EXPECT_EQ(sum, 0u);
  EXPECT_TRUE(file.Changed());

  ASSERT_EQ(::truncate(path.c_str(), 0), 0);
  MappedFile none(path);
  EXPECT_TRUE(none.Bytes().empty());
  EXPECT_FALSE(none.Changed());
}

TEST(ReadingFiles, AFileStreamForReadingGivesItsContentsMapped) {
  test::TempFolder folder;
  const std::string path = folder.File("p.tif");
  test::WriteAll(path, Bytes{1, 2, 3, 4});
  FileStream file(path, FileStream::Mode::Read);
  std::span<const uint8_t> bytes;
  ASSERT_TRUE(file.Contents(bytes));
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), (Bytes{1, 2, 3, 4}));
  const StreamBytes rest(file, 1);
  EXPECT_EQ(Bytes(rest.Bytes().begin(), rest.Bytes().end()), (Bytes{2, 3, 4}));
  EXPECT_EQ(file.Position(), 0);
}

}  // namespace
}  // namespace glamora
