// The table of picture file types, its hooks, and content detection.
#include "imaging/components/FormatTable.h"

#include <algorithm>
#include <cctype>

#include "codecs/Registry.h"
#include "imaging/components/ImgIOStreamHeader.h"

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

// The most bytes a probe looks at: an icon directory of 65535 entries.
constexpr size_t kMostProbeBytes = 6 + 16 * 65535;

int32_t DetectAt(Stream& stream, int64_t p, const FormatTable& table) {
  for (const FileFormat& format : table.Entries()) {
    if (!format.Test) continue;
    stream.Seek(p);
    const bool accepted = format.Test(stream);
    stream.Seek(p);
    if (accepted) return format.Id;
  }

  // The size rules count the whole stream, bytes before the position included.
  const uint64_t size = uint64_t(std::max<int64_t>(stream.Size(), 0));
  const StreamBytes head(stream, p, kMostProbeBytes);
  const int32_t headed = DetectStreamHeader(head.Bytes(), size);
  return headed != iftUnknown ? headed : codec::DetectByProbes(head.Bytes(), size);
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
