// Face file parsing and header reading on arbitrary bytes; the last byte
// chooses the kind of file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "face/FaceFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto kind = (data[size - 1] & 1) ? glamora::FaceFileKind::Enciphered : glamora::FaceFileKind::Plain;
  glamora::FaceHeader header;
  glamora::MemoryStream payload;
  if (glamora::ParseFaceFile(std::vector<uint8_t>(data, data + size - 1), kind, header, payload)) {
    int outlined = 0;
    for (int r = 1; r <= 4; ++r) outlined += header.Region(r).IsOutlined();
    const auto bytes = header.Bytes();
    if (!(glamora::FaceHeader::FromBytes(bytes.data()) == header)) __builtin_trap();
    (void)outlined;
  }
  return 0;
}
