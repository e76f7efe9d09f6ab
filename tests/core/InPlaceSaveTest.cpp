// Saves that must write a file over itself (hard links, a folder where no
// file can be made) leave the old file or the whole new one, never a mix:
// on a full disk, on a failing write, and when the save is killed midway.
#include "imaging/core/InPlaceSave.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/core/Stream.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

Bytes Pattern(size_t size, uint8_t seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 31 + seed + (i >> 12));
  return bytes;
}

void Save(const std::string& path, const Bytes& content) {
  SaveFile(path, [&](Stream& out) {
    out.Write(content.data(), content.size());
    return true;
  });
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Puts pwrite back whatever the test does.
struct WriteRestorer {
  ~WriteRestorer() { SetPositionedWrite({}); }
};

// The writes an in-place save makes: those of its pending copy (its head,
// then its content), then those over the file. This one lets `allowed`
// calls through and, on the next, writes `partBytes` and then fails (or
// kills the process, as a power cut or kill -9 would stop it).
PositionedWrite FailingAt(int allowed, size_t partBytes, bool kill) {
  auto calls = std::make_shared<int>(0);
  return [=](int fd, const void* data, size_t size, off_t offset) -> ssize_t {
    if ((*calls)++ < allowed) return ::pwrite(fd, data, size, offset);
    if (partBytes > 0) {
      const ssize_t written = ::pwrite(fd, data, std::min(size, partBytes), offset);
      if (written < 0) return written;
    }
    if (kill) ::kill(::getpid(), SIGKILL);
    errno = ENOSPC;
    return -1;
  };
}

constexpr int kPendingCopyWrites = 2;

// A failure while the pending copy is written leaves the old file as it
// was and nothing beside it; one while the copy goes over the file leaves
// the pending copy, and the next save into the folder finishes the copy.
TEST(InPlaceSaves, AFailingWriteLeavesTheOldFileOrFinishesTheNewOne) {
  const WriteRestorer restore;
  const Bytes old = Pattern(300'000, 1), fresh = Pattern(500'000, 2);
  struct Case {
    const char* What;
    int Allowed;
    size_t PartBytes;
    bool OldKept;  // else the next save finishes the new content
  };
  const Case cases[] = {
      {"the disk fills while the pending copy is written", 0, 0, true},
      {"the disk fills half-way through the pending copy", 1, 200'000, true},
      {"the file fails half-way through the copy", kPendingCopyWrites, 250'000, false},
      {"the file fails before the copy's first byte", kPendingCopyWrites, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    test::TempFolder folder;
    const std::string path = folder.File("face.mff");
    test::WriteAll(path, old);
    ASSERT_EQ(::link(path.c_str(), folder.File("other name.mff").c_str()), 0);

    SetPositionedWrite(FailingAt(c.Allowed, c.PartBytes, false));
    EXPECT_THROW(Save(path, fresh), FileError);
    SetPositionedWrite({});
    if (c.OldKept) {
      EXPECT_EQ(test::ReadAll(path), old);
      EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"face.mff", "other name.mff"}));
    }
    test::WriteAll(folder.File("unrelated.jpg"), std::string("x"));
    Save(folder.File("unrelated.jpg"), Bytes{1});
    EXPECT_EQ(test::ReadAll(path), c.OldKept ? old : fresh);
    EXPECT_EQ(test::ReadAll(folder.File("other name.mff")), test::ReadAll(path));
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"face.mff", "other name.mff", "unrelated.jpg"}));
  }
}

// Runs the save in a child that is killed (SIGKILL) half-way through the
// copy over the file.
void SaveKilledHalfWay(const std::string& path, const Bytes& content) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SetPositionedWrite(FailingAt(kPendingCopyWrites, content.size() / 2, true));
    try {
      Save(path, content);
    } catch (...) {
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the save was not killed";
}

// A save killed half-way leaves the file half new, half old for a moment;
// the next save into its folder, or the program's start, finishes it. For a
// file in a folder where nothing can be made, the pending copy is kept in
// the fallback folder.
TEST(InPlaceSaves, ACopyKilledHalfWayIsFinishedByTheNextSaveOrTheStart) {
  test::TempFolder state;
  const char* before = std::getenv("XDG_STATE_HOME");
  const std::string kept = before ? before : "";
  ::setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
  const Bytes old = Pattern(400'000, 3), fresh = Pattern(700'000, 4);

  {
    SCOPED_TRACE("a file with a second name, finished by the next save into its folder");
    test::TempFolder folder;
    const std::string path = folder.File("picture.jpg");
    test::WriteAll(path, old);
    ASSERT_EQ(::link(path.c_str(), folder.File("link.jpg").c_str()), 0);
    SaveKilledHalfWay(path, fresh);
    const Bytes mixed = test::ReadAll(path);
    EXPECT_NE(mixed, old);
    EXPECT_NE(mixed, fresh);
    Save(folder.File("next.jpg"), Bytes{7});
    EXPECT_EQ(test::ReadAll(path), fresh);
    EXPECT_EQ(test::ReadAll(folder.File("link.jpg")), fresh);
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"link.jpg", "next.jpg", "picture.jpg"}));
  }
  {
    SCOPED_TRACE("a file in a folder where no file can be made, finished at start");
    test::TempFolder folder;
    const std::string locked = folder.File("exports");
    fs::create_directory(locked);
    const std::string path = locked + "/photo.jpg";
    test::WriteAll(path, old);
    if (test::MakeUnwritable(locked)) {
      SaveKilledHalfWay(path, fresh);
      EXPECT_NE(test::ReadAll(path), fresh);
      FinishInterruptedSaves(folder.Path(), true);
      EXPECT_EQ(test::ReadAll(path), fresh);
      EXPECT_EQ(Names(locked), std::vector<std::string>{"photo.jpg"});
      EXPECT_TRUE(Names(PendingCopyFallbackFolder()).empty());
    }
    test::MakeWritable(locked);
  }
  {
    SCOPED_TRACE("a file replaced since by another is left alone");
    test::TempFolder folder;
    const std::string path = folder.File("face.mff");
    test::WriteAll(path, old);
    ASSERT_EQ(::link(path.c_str(), folder.File("b.mff").c_str()), 0);
    SaveKilledHalfWay(path, fresh);
    ASSERT_EQ(::unlink(path.c_str()), 0);
    test::WriteAll(path, std::string("another file"));
    FinishInterruptedSaves(folder.Path());
    EXPECT_EQ(test::ReadAll(path), Bytes({'a', 'n', 'o', 't', 'h', 'e', 'r', ' ', 'f', 'i', 'l', 'e'}));
    EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"b.mff", "face.mff"}));
  }
  if (before) {
    ::setenv("XDG_STATE_HOME", kept.c_str(), 1);
  } else {
    ::unsetenv("XDG_STATE_HOME");
  }
}

// A small file system of its own, filled to the brim.
class FullDisk {
 public:
  FullDisk() {
    if (::mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0, "size=2m") != 0) return;
    mounted_ = true;
  }
  ~FullDisk() {
    if (mounted_) ::umount2(folder_.Path().c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  std::string File(const std::string& name) const { return folder_.File(name); }
  // Fills what room is left with a file of its own.
  void Fill() {
    const int fd = ::open(File("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const Bytes block(4096, 0x55);
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
  }

 private:
  test::TempFolder folder_;
  bool mounted_ = false;
};

// The full disk of the field: a larger picture saved over a smaller one
// with a second name fails with the old file whole and nothing left beside it.
TEST(InPlaceSaves, AFullDiskFailsWithTheOldFileWhole) {
  FullDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here (mounting needs the superuser)";
  const Bytes old = Pattern(786'570, 5), fresh = Pattern(1'300'000, 6);
  const std::string path = disk.File("picture.bmp");
  test::WriteAll(path, old);
  ASSERT_EQ(::link(path.c_str(), disk.File("copy.bmp").c_str()), 0);
  disk.Fill();
  EXPECT_THROW(Save(path, fresh), FileError);
  EXPECT_EQ(test::ReadAll(path), old);
  EXPECT_EQ(Names(disk.File("")), (std::vector<std::string>{"copy.bmp", "filler", "picture.bmp"}));

  // With room for the pending copy but not for the file to grow, the
  // reservation fails before the first byte changes.
  ASSERT_EQ(::truncate(disk.File("filler").c_str(), 0), 0);
  const Bytes big = Pattern(900'000, 7);
  test::WriteAll(disk.File("filler"), Pattern(2'097'152 - 786'570 - 900'000 - 60'000, 8));
  EXPECT_THROW(Save(path, big), FileError);
  EXPECT_EQ(test::ReadAll(path), old);
  EXPECT_EQ(Names(disk.File("")), (std::vector<std::string>{"copy.bmp", "filler", "picture.bmp"}));
}

}  // namespace
}  // namespace glamora
