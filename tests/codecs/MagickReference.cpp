// Reading pictures through convert into bitmaps, for comparing decoders with it.
#include "tests/codecs/MagickReference.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/support/TestSupport.h"

namespace glamora::test {

namespace {

// Runs convert with stdout and stderr sent to /dev/null.
int RunQuietly(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = "convert";
  argv.push_back(program.data());
  std::vector<std::string> copies = args;
  for (auto& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      dup2(null, STDERR_FILENO);
    }
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Skips white space and '#' comments between the fields of a PNM header.
bool NextNumber(const std::vector<uint8_t>& bytes, size_t& pos, long& value) {
  while (pos < bytes.size()) {
    if (bytes[pos] == '#') {
      while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
    } else if (std::isspace(bytes[pos])) {
      ++pos;
    } else {
      break;
    }
  }
  if (pos >= bytes.size() || !std::isdigit(bytes[pos])) return false;
  value = 0;
  while (pos < bytes.size() && std::isdigit(bytes[pos]) && value < 1'000'000) value = value * 10 + (bytes[pos++] - '0');
  return true;
}

// Reads a binary P6 picture with a maximum of 255 or 65535.
bool ParsePpm(const std::vector<uint8_t>& bytes, Bitmap& out) {
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') return false;
  size_t pos = 2;
  long width = 0, height = 0, maxval = 0;
  if (!NextNumber(bytes, pos, width) || !NextNumber(bytes, pos, height) || !NextNumber(bytes, pos, maxval)) {
    return false;
  }
  ++pos;  // the single white-space byte before the samples
  const size_t sampleBytes = maxval > 255 ? 2 : 1;
  if (width <= 0 || height <= 0 || maxval <= 0 || maxval > 65535) return false;
  if (bytes.size() < pos + size_t(width) * size_t(height) * 3 * sampleBytes) return false;
  if (!out.Reset(int(width), int(height))) return false;
  const uint8_t* p = bytes.data() + pos;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = out.Row(y);
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) {
        const unsigned sample = sampleBytes == 2 ? unsigned(p[0]) << 8 | p[1] : p[0];
        p += sampleBytes;
        row[3 * x + 2 - c] = uint8_t((sample * 255 + unsigned(maxval) / 2) / unsigned(maxval));
      }
    }
  }
  return true;
}

std::string Describe(TColor c) {
  char text[32];
  std::snprintf(text, sizeof text, "rgb(%d,%d,%d)", RedOf(c), GreenOf(c), BlueOf(c));
  return text;
}

}  // namespace

bool MagickAvailable() {
  static const bool available = RunQuietly({"-version"}) == 0;
  return available;
}

bool RunConvert(const std::vector<std::string>& args) { return RunQuietly(args) == 0; }

bool MagickDecode(const std::string& source, Bitmap& out, const std::vector<std::string>& options) {
  TempFolder folder;
  const std::string target = folder.File("reference.ppm");
  std::vector<std::string> args{source};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), {"-depth", "8", "ppm:" + target});
  if (!RunConvert(args)) return false;
  return ParsePpm(ReadAll(target), out);
}

::testing::AssertionResult SamePixels(const Bitmap& expected, const Bitmap& actual, int tolerance) {
  if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
    return ::testing::AssertionFailure() << "size " << actual.Width() << "x" << actual.Height() << ", expected "
                                         << expected.Width() << "x" << expected.Height();
  }
  int mismatches = 0;
  std::ostringstream first;
  for (int y = 0; y < expected.Height(); ++y) {
    for (int x = 0; x < expected.Width(); ++x) {
      const TColor e = expected.Pixel(x, y), a = actual.Pixel(x, y);
      const int dr = std::abs(RedOf(e) - RedOf(a)), dg = std::abs(GreenOf(e) - GreenOf(a)),
                db = std::abs(BlueOf(e) - BlueOf(a));
      if (dr > tolerance || dg > tolerance || db > tolerance) {
        if (mismatches++ == 0) {
          first << "pixel (" << x << "," << y << ") is " << Describe(a) << ", expected " << Describe(e);
        }
      }
    }
  }
  if (mismatches == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << mismatches << " pixels differ; first: " << first.str();
}

}  // namespace glamora::test
