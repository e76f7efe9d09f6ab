#include "imaging/components/FormatTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace glamora {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Splits "TIF;TIFF" into its extensions, skipping empty fields.
std::vector<std::string_view> SplitExtensions(std::string_view list) {
  std::vector<std::string_view> parts;
  while (!list.empty()) {
    const size_t semicolon = list.find(';');
    const std::string_view part = list.substr(0, semicolon);
    if (!part.empty()) parts.push_back(part);
    if (semicolon == std::string_view::npos) break;
    list.remove_prefix(semicolon + 1);
  }
  return parts;
}

// "*.tif;*.tiff" for the extension list "TIF;TIFF".
std::string Patterns(std::string_view list) {
  std::string out;
  for (std::string_view ext : SplitExtensions(list)) {
    if (!out.empty()) out += ';';
    out += "*." + Lower(ext);
  }
  return out;
}

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

// Up to `count` bytes from the stream position; the position is restored.
std::vector<uint8_t> Peek(Stream& stream, int64_t position, size_t count) {
  std::vector<uint8_t> bytes(count);
  stream.Seek(position);
  bytes.resize(stream.Read(bytes.data(), count));
  stream.Seek(position);
  return bytes;
}

bool StartsWith(const std::vector<uint8_t>& bytes, const char* prefix, size_t length) {
  return bytes.size() >= length && std::memcmp(bytes.data(), prefix, length) == 0;
}

// An icon or cursor directory: reserved word 0, the type, a non-zero count and
// that many 16-byte entries, each with a zero reserved byte, data of non-zero
// size and data that starts no earlier than the end of the entry.
bool IsIconDirectory(Stream& stream, int64_t position, const std::vector<uint8_t>& head, uint16_t type) {
  if (head.size() < 6 || Le16(head.data()) != 0 || Le16(head.data() + 2) != type) return false;
  const uint16_t count = Le16(head.data() + 4);
  if (count == 0) return false;
  const size_t length = 6 + size_t(count) * 16;
  const std::vector<uint8_t> directory = Peek(stream, position, length);
  if (directory.size() < length) return false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = directory.data() + 6 + 16 * i;
    const uint32_t dataSize = Le32(entry + 8);
    const uint32_t dataOffset = Le32(entry + 12);
    if (entry[3] != 0 || dataSize == 0 || dataOffset < 6 + 16 * (i + 1)) return false;
  }
  return true;
}

bool IsTargaHeader(const std::vector<uint8_t>& head) {
  if (head.size() < 18) return false;
  constexpr std::array<uint8_t, 6> kImageTypes{1, 2, 3, 9, 10, 11};
  constexpr std::array<uint8_t, 6> kDepths{1, 4, 8, 16, 24, 32};
  return std::find(kImageTypes.begin(), kImageTypes.end(), head[2]) != kImageTypes.end() &&
         std::find(kDepths.begin(), kDepths.end(), head[16]) != kDepths.end();
}

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

int32_t DetectAt(Stream& stream, int64_t p, const FormatTable& table) {
  for (const FileFormat& format : table.Entries()) {
    if (!format.Test) continue;
    stream.Seek(p);
    const bool accepted = format.Test(stream);
    stream.Seek(p);
    if (accepted) return format.Id;
  }

  const int64_t size = stream.Size();
  const std::vector<uint8_t> head = Peek(stream, p, 18);
  const auto starts = [&](const char* prefix, size_t length) { return StartsWith(head, prefix, length); };

  if (starts("\xFF\xD8\xFF", 3)) return iftJpeg;
  if (size > 12 && starts("JFIF\0", 5)) return iftJpeg;
  if (size > 13 && starts("GIF", 3)) return iftGif;
  if (size > 12 && starts("PCX2\0", 5)) return iftPcx;
  if (size > 4 && starts("PCX\0", 4)) return iftPcx;
  if (size > 14 && starts("BM", 2)) return iftBmp;
  if (size > 128 && head.size() >= 2 && head[0] == 10 && head[1] <= 5) return iftPcx;
  if (size > 12 && starts("TIFF\0", 5)) return iftTiff;
  if (size > 8 && (starts("II", 2) || starts("MM", 2))) return iftTiff;
  if (size > 8 && StartsWith(head, reinterpret_cast<const char*>(kPngSignature), 8)) return iftPng;
  if (size > 22 && IsIconDirectory(stream, p, head, 1)) return iftIcon;
  if (size > 22 && IsIconDirectory(stream, p, head, 2)) return iftCursor;
  if (IsTargaHeader(head)) return iftTarga;
  return iftUnknown;
}

}  // namespace

bool FileFormat::HasExtension(std::string_view extension) const {
  if (extension.empty()) return false;
  for (std::string_view ext : SplitExtensions(Extensions)) {
    if (EqualIgnoringCase(ext, extension)) return true;
  }
  return false;
}

void FormatTable::Add(FileFormat format) {
  if (format.Description.size() > FileFormat::kMaxText) format.Description.resize(FileFormat::kMaxText);
  if (format.Extensions.size() > FileFormat::kMaxText) format.Extensions.resize(FileFormat::kMaxText);
  entries_.push_back(std::move(format));
}

const FileFormat* FormatTable::FindByExtension(std::string_view extension) const {
  for (const FileFormat& format : entries_) {
    if (format.HasExtension(extension)) return &format;
  }
  return nullptr;
}

const FileFormat* FormatTable::FindById(int32_t id) const {
  for (const FileFormat& format : entries_) {
    if (format.Id == id) return &format;
  }
  return nullptr;
}

FormatTable FormatTable::BuiltIn() {
  struct Entry {
    int32_t Id;
    const char* Description;
    const char* Extensions;
  };
  static constexpr Entry kEntries[] = {
      {iftTiff, "TIFF Bitmap", "TIF;TIFF"},
      {iftGif, "CompuServe Bitmap", "GIF"},
      {iftJpeg, "JPEG Bitmap", "JPG;JPEG;JPE"},
      {iftPcx, "PaintBrush", "PCX"},
      {iftBmp, "Windows Bitmap", "BMP;DIB;RLE"},
      {iftIcon, "Windows Icon", "ICO"},
      {iftCursor, "Windows Cursor", "CUR"},
      {iftPng, "Portable Network Graphics", "PNG"},
      {iftWmf, "Windows Metafile", "WMF"},
      {iftEmf, "Enhanced Windows Metafile", "EMF"},
      {iftTarga, "Targa Bitmap", "TGA;TARGA;VDA;ICB;VST;PIX"},
  };
  FormatTable table;
  for (const Entry& e : kEntries) {
    FileFormat format;
    format.Id = e.Id;
    format.Description = e.Description;
    format.Extensions = e.Extensions;
    table.Add(std::move(format));
  }
  return table;
}

const FormatTable& BuiltInFormats() {
  static const FormatTable table = FormatTable::BuiltIn();
  return table;
}

std::string OpenDialogFilter(const FormatTable& table) {
  std::string all;
  std::string each;
  for (const FileFormat& format : table.Entries()) {
    const std::string patterns = Patterns(format.Extensions);
    if (patterns.empty()) continue;
    if (!all.empty()) all += ';';
    all += patterns;
    each += "|" + format.Description + " (" + patterns + ")|" + patterns;
  }
  return "All graphics (" + all + ")|" + all + each;
}

int32_t DetectFileType(Stream& stream, const FormatTable& table) {
  const int64_t p = stream.Position();
  int32_t type = iftUnknown;
  try {
    type = DetectAt(stream, p, table);
  } catch (...) {
    // A stream or a test hook that fails means the content is not recognised.
    type = iftUnknown;
  }
  stream.Seek(p);
  return type;
}

}  // namespace glamora
