// The conventions of the command line shared by glamora and glamora-cli:
// version and help on standard output with exit 0, the usage on standard
// error with exit 2 for what is not known, and progress of a long job shown
// on a terminal but never in a pipe.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "codecs/Bmp.h"
#include "imaging/core/Stream.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/CliSupport.h"

namespace glamora {
namespace {

using test::CliResult;
using test::TempFolder;

// Runs glamora-cli on a pseudo-terminal: everything it prints, as a user
// would see it.
CliResult RunOnTerminal(const std::vector<std::string>& args) {
  std::vector<std::string> words = {test::BuiltProgram("glamora-cli")};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child == 0) {
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  CliResult r;
  if (child < 0) return r;
  char buffer[4096];
  ssize_t got = 0;
  while ((got = ::read(terminal, buffer, sizeof buffer)) > 0) r.Out.append(buffer, size_t(got));
  ::close(terminal);
  int status = 0;
  ::waitpid(child, &status, 0);
  r.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(CommandLine, VersionAndHelpGoToStandardOutputAndUnknownWordsToStandardError) {
  struct Case {
    std::string Program;
    std::vector<std::string> Args;
    int Exit;
    std::string OutStart;  // standard output starts with it; empty: prints nothing there
    std::string ErrHas;    // standard error holds it; empty: prints nothing there
  };
  const std::vector<Case> cases = {
      {"glamora-cli", {"--version"}, 0, "glamora-cli 1.", ""},
      {"glamora-cli", {"--help"}, 0, "usage: glamora-cli COMMAND", ""},
      {"glamora-cli", {"help"}, 0, "usage: glamora-cli COMMAND", ""},
      {"glamora-cli", {}, 2, "", "usage: glamora-cli COMMAND"},
      {"glamora-cli", {"frobnicate", "x"}, 2, "", "usage: glamora-cli COMMAND"},
      {"glamora", {"--version"}, 0, "glamora 1.", ""},
      {"glamora", {"--help"}, 0, "usage: glamora [FILE]", ""},
      {"glamora", {"--frobnicate"}, 2, "", "usage: glamora [FILE]"},
      {"glamora", {"a.mff", "b.mff"}, 2, "", "usage: glamora [FILE]"},
  };
  for (const Case& c : cases) {
    const CliResult r = test::RunProgram(c.Program, c.Args);
    const std::string what = c.Program + " " + (c.Args.empty() ? "" : c.Args[0]);
    EXPECT_EQ(r.ExitCode, c.Exit) << what;
    if (c.OutStart.empty()) EXPECT_EQ(r.Out, "") << what;
    else EXPECT_TRUE(r.Out.starts_with(c.OutStart)) << what << ": " << r.Out;
    if (c.ErrHas.empty()) EXPECT_EQ(r.Err, "") << what;
    else EXPECT_NE(r.Err.find(c.ErrHas), std::string::npos) << what << ": " << r.Err;
  }
}

TEST(CommandLine, ALongJobShowsProgressOnATerminalAndStaysQuietInAPipe) {
  TempFolder dir;
  Bitmap picture(1200, 900);
  picture.Fill(Rgb(90, 120, 150));
  MemoryStream coded;
  ASSERT_EQ(codec::EncodeBmp(picture, TImgIOParams{}, ProgressRecord{}, coded), PictureStatus::Ok);
  test::WriteAll(dir.File("in.bmp"), coded.Bytes());
  const std::vector<std::string> job = {"proc", "rotate", "30", dir.File("in.bmp"), dir.File("out.bmp")};

  const CliResult piped = test::RunCli(job);
  EXPECT_EQ(piped.ExitCode, 0) << piped.Err;
  EXPECT_EQ(piped.Err, "") << "nothing but results and errors in a pipe";

  const CliResult shown = RunOnTerminal(job);
  EXPECT_EQ(shown.ExitCode, 0) << shown.Out;
  for (const std::string stage : {"reading " + dir.File("in.bmp"), "writing " + dir.File("out.bmp")}) {
    EXPECT_NE(shown.Out.find(stage), std::string::npos) << stage << " in: " << shown.Out;
  }
  EXPECT_NE(shown.Out.find("100%"), std::string::npos) << shown.Out;
  // The line is cleared at the end, so the prompt or a message starts clean.
  EXPECT_TRUE(shown.Out.ends_with("\r\033[K")) << shown.Out;
}

}  // namespace
}  // namespace glamora
