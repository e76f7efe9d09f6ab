// The picture open dialog's information about a file: its header read
// without decoding the pixels and the five lines that describe it. The last
// byte chooses the extension (the reader) and the language of the lines.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imaging/components/ImgIO.h"
#include "imaging/components/PreviewInfo.h"

using namespace glamora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const kExtensions[] = {"bmp", "gif", "jpg", "png", "tif", "pcx", "tga", "ico", "xyz"};
  const uint8_t choice = data[size - 1];
  const std::string path = "/dev/shm/fuzz_preview_" + std::to_string(::getpid()) + "." +
                           kExtensions[choice % (sizeof kExtensions / sizeof *kExtensions)];
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size - 1, file);
  std::fclose(file);

  TImgIO io;
  io.Params.TiffPage = choice >> 4;
  if (io.ParamsFromFile(path)) {
    const PreviewInfo info = DescribePreview(io.Params, size - 1, TMsgLanguage((choice >> 4) % 8));
    for (const std::string& line : info.Lines()) {
      if (line.size() > 200) __builtin_trap();
    }
  }
  ::unlink(path.c_str());
  return 0;
}
