// Files as pictures and faces are read from them (only regular files, never
// more than a bound, a mapping that survives the file being cut short) and
// saved (as a careful editor does).
#include "imaging/core/Stream.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <algorithm>
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

// ------------------------------------------------------------------ saving

std::string Text(const std::string& path) {
  const Bytes bytes = test::ReadAll(path);
  return std::string(bytes.begin(), bytes.end());
}

void Save(const std::string& path, const std::string& text) {
  ASSERT_TRUE(SaveFile(path, [&](Stream& out) {
    out.Write(text.data(), text.size());
    return true;
  }));
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

// The names in a folder, hidden ones included.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

void MakeOld(const std::string& path) {
  const struct timeval old[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
  ASSERT_EQ(::utimes(path.c_str(), old), 0);
}

TEST(SavingFiles, ThroughASymbolicLinkItsTargetIsReplacedAndTheLinkStays) {
  test::TempFolder folder;
  std::filesystem::create_directory(folder.File("real"));
  test::WriteAll(folder.File("real/picture.jpg"), std::string("old"));
  ASSERT_EQ(::symlink("real/picture.jpg", folder.File("link.jpg").c_str()), 0);
  ASSERT_EQ(::symlink("link.jpg", folder.File("chain.jpg").c_str()), 0);
  Save(folder.File("chain.jpg"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("chain.jpg")));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.jpg")));
  EXPECT_EQ(Text(folder.File("real/picture.jpg")), "new");
  EXPECT_EQ(Names(folder.File("real")), std::vector<std::string>{"picture.jpg"});

  // A link to nothing yet makes the file it leads to.
  ASSERT_EQ(::symlink("real/later.jpg", folder.File("dangling.jpg").c_str()), 0);
  Save(folder.File("dangling.jpg"), "made");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("dangling.jpg")));
  EXPECT_EQ(Text(folder.File("real/later.jpg")), "made");
}

TEST(SavingFiles, TheReplacedFilesModeIsKept) {
  test::TempFolder folder;
  const std::string path = folder.File("face.mff");
  test::WriteAll(path, std::string("old"));
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  Save(path, "new");
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0600u);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  Save(path, "newer");
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
  EXPECT_EQ(Text(path), "newer");

  // A new file is made as any other: 0666 less the umask.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  Save(folder.File("fresh.jpg"), "x");
  EXPECT_EQ(StatOf(folder.File("fresh.jpg")).st_mode & 07777, 0666u & ~mask);
}

TEST(SavingFiles, TheReplacedFilesOwnerIsKeptWherePermitted) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give a file another owner to begin with";
  test::TempFolder folder;
  const std::string path = folder.File("picture.png");
  test::WriteAll(path, std::string("old"));
  ASSERT_EQ(::chown(path.c_str(), 12345, 23456), 0);
  Save(path, "new");
  EXPECT_EQ(StatOf(path).st_uid, 12345u);
  EXPECT_EQ(StatOf(path).st_gid, 23456u);
}

TEST(SavingFiles, EveryHardLinkShowsTheNewContent) {
  test::TempFolder folder;
  const std::string one = folder.File("one.jpg"), two = folder.File("two.jpg");
  test::WriteAll(one, std::string("a longer old content"));
  ASSERT_EQ(::link(one.c_str(), two.c_str()), 0);
  const ino_t inode = StatOf(one).st_ino;
  Save(two, "new");
  EXPECT_EQ(Text(one), "new");
  EXPECT_EQ(StatOf(one).st_ino, inode);
  EXPECT_EQ(StatOf(two).st_ino, inode);
  EXPECT_EQ(StatOf(one).st_nlink, 2u);
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"one.jpg", "two.jpg"}));
}

TEST(SavingFiles, NamesUpToTheLongestAFolderTakesAreSaved) {
  test::TempFolder folder;
  for (const size_t length : {size_t(245), size_t(255)}) {
    // Multi-byte characters, so that a cut name must keep them whole.
    std::string name;
    while (name.size() + 2 <= length - 4) name += "\xC3\xA9";
    name.resize(length - 4, 'x');
    name += ".jpg";
    ASSERT_EQ(name.size(), length);
    Save(folder.File(name), "picture");
    EXPECT_EQ(Text(folder.File(name)), "picture");
    Save(folder.File(name), "again");
    EXPECT_EQ(Text(folder.File(name)), "again");
  }
  EXPECT_EQ(Names(folder.Path()).size(), 2u);
}

TEST(SavingFiles, GivingUpOrFailingLeavesTheOldFileAndNoTemporary) {
  test::TempFolder folder;
  const std::string path = folder.File("keep.png");
  test::WriteAll(path, std::string("old"));
  EXPECT_FALSE(SaveFile(path, [](Stream& out) {
    out.Write("half", 4);
    return false;
  }));
  EXPECT_THROW(SaveFile(path,
                        [](Stream& out) -> bool {
                          out.Write("half", 4);
                          throw FileError("Cannot write file");
                        }),
               FileError);
  EXPECT_EQ(Text(path), "old");
  EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"keep.png"});

  // What is no regular file is not written over, and a pipe does not block.
  ASSERT_EQ(::mkfifo(folder.File("pipe.jpg").c_str(), 0600), 0);
  std::filesystem::create_directory(folder.File("folder.jpg"));
  for (const char* name : {"pipe.jpg", "folder.jpg", "missing/picture.jpg"}) {
    try {
      Save(folder.File(name), "x");
      ADD_FAILURE() << name << " was written";
    } catch (const FileError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot create file " + folder.File(name));
    }
  }
}

// A save killed midway leaves its temporary behind; the next save into that
// folder removes it, while the temporary of a save still running stays, as
// do files that only look alike.
TEST(SavingFiles, TheNextSaveRemovesTheTemporariesOfKilledSaves) {
  test::TempFolder folder;
  const std::string target = folder.File("0001.jpg");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SaveFile(target, [](Stream& out) {
      const Bytes block(1 << 20, 1);
      out.Write(block.data(), block.size());
      out.Write(block.data(), block.size());
      ::kill(::getpid(), SIGKILL);
      return true;
    });
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  std::vector<std::string> left = Names(folder.Path());
  ASSERT_EQ(left.size(), 1u) << "the killed save left no temporary";
  const std::string stale = left.front();
  EXPECT_EQ(stale.rfind(".0001.jpg.glamora-", 0), 0u) << stale;
  MakeOld(folder.File(stale));

  const std::string running = ".0002.jpg.glamora-0123456789ab.part";
  test::WriteAll(folder.File(running), std::string("being written"));
  MakeOld(folder.File(running));
  const int held = ::open(folder.File(running).c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const std::string alike = ".notes.glamora-backup.part";
  test::WriteAll(folder.File(alike), std::string("mine"));
  MakeOld(folder.File(alike));

  Save(folder.File("0003.jpg"), "next");
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{running, alike, "0003.jpg"}));
  ::close(held);

  // At start the program clears its folders and the folders inside them.
  std::filesystem::create_directory(folder.File("Preview"));
  const std::string inside = folder.File("Preview/.0004.jpg.glamora-fedcba987654.part");
  test::WriteAll(inside, std::string("left"));
  MakeOld(inside);
  RemoveStaleTemporaries(folder.Path(), true);
  EXPECT_FALSE(std::filesystem::exists(inside));
  EXPECT_FALSE(std::filesystem::exists(folder.File(running)));
}

// An export answered "Yes, replace" into a folder the user may not write: no
// temporary can be made there, so the content is made in memory and written
// over the file, which the user may replace.
TEST(SavingFiles, AFileInAFolderWithoutRoomForATemporaryIsWrittenInPlace) {
  test::TempFolder folder;
  const std::string locked = folder.File("exports");
  std::filesystem::create_directory(locked);
  const std::string path = locked + "/photo.jpg";
  test::WriteAll(path, std::string("the old picture"));
  const ino_t inode = StatOf(path).st_ino;
  if (!test::MakeUnwritable(locked)) GTEST_SKIP() << "no way to make a folder unwritable here";
  EXPECT_NO_THROW(Save(path, "new"));
  EXPECT_THROW(Save(locked + "/another.jpg", "x"), FileError);
  test::MakeWritable(locked);
  EXPECT_EQ(Text(path), "new");
  EXPECT_EQ(StatOf(path).st_ino, inode);
  EXPECT_EQ(Names(locked), std::vector<std::string>{"photo.jpg"});
}

}  // namespace
}  // namespace glamora
