#include "imaging/components/ImgIO.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <utility>

#include "codecs/Registry.h"
#include "imaging/core/FileExtension.h"

namespace glamora {

namespace {

constexpr size_t kStreamHeaderSize = 12;

bool IsOneOf(const std::string& ext, std::initializer_list<const char*> candidates) {
  return std::any_of(candidates.begin(), candidates.end(), [&](const char* c) { return ext == c; });
}

int32_t LoadTypeForExtension(const std::string& ext) {
  if (IsOneOf(ext, {".jpg", ".jpeg", ".jpe"})) return iftJpeg;
  if (ext == ".png") return iftPng;
  if (IsOneOf(ext, {".tif", ".tiff"})) return iftTiff;
  if (ext == ".pcx") return iftPcx;
  if (ext == ".gif") return iftGif;
  if (ext == ".wmf") return iftWmf;
  if (ext == ".emf") return iftEmf;
  if (IsOneOf(ext, {".bmp", ".dib", ".rle"})) return iftBmp;
  if (ext == ".cur") return iftCursor;
  if (ext == ".ico") return iftIcon;
  if (IsOneOf(ext, {".tga", ".targa", ".vda", ".icb", ".vst", ".win"})) return iftTarga;
  return iftUnknown;
}

int32_t SaveTypeForExtension(const std::string& ext) {
  if (IsOneOf(ext, {".jpg", ".jpeg"})) return iftJpeg;
  if (ext == ".pcx") return iftPcx;
  if (ext == ".gif") return iftGif;
  if (IsOneOf(ext, {".tif", ".tiff"})) return iftTiff;
  if (ext == ".png") return iftPng;
  if (ext == ".bmp") return iftBmp;
  if (ext == ".tga") return iftTarga;
  return iftUnknown;
}

// Types that LoadFromStream hands to a codec; the others go to the table.
bool HasStreamLoader(int32_t type) {
  switch (type) {
    case iftTiff: case iftGif: case iftJpeg: case iftPcx: case iftBmp:
    case iftIcon: case iftCursor: case iftPng: case iftTarga:
      return true;
    default:
      return false;
  }
}

// The four magic characters of a stream header, or null for formats without one.
const char* StreamHeaderMagic(int32_t type) {
  switch (type) {
    case iftJpeg: return "JFIF";
    case iftTiff: return "TIFF";
    case iftPcx: return "PCX2";
    default: return nullptr;
  }
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

std::array<uint8_t, kStreamHeaderSize> MakeStreamHeader(const char* magic, size_t length) {
  std::array<uint8_t, kStreamHeaderSize> header{};
  std::memcpy(header.data(), magic, 4);
  for (int i = 0; i < 4; ++i) header[8 + i] = uint8_t(uint32_t(length) >> (8 * i));
  return header;
}

// Where the coded picture lies in a stream: from Start, Length bytes (or to
// the end when Length is negative).
struct PictureSpan {
  int64_t Start = 0;
  int64_t Length = -1;
};

// Reads the stream header rules of one format at position p. False when the
// format demands a header that is not there.
bool LocatePicture(int32_t type, Stream& stream, int64_t p, bool streamHeaders, PictureSpan& span) {
  span = {p, -1};
  const bool readsHeader = type == iftJpeg || (streamHeaders && (type == iftPcx || type == iftTiff));
  if (!readsHeader) return true;
  std::array<uint8_t, kStreamHeaderSize> header{};
  stream.Seek(p);
  const size_t got = stream.Read(header.data(), header.size());
  const auto begins = [&](const char* prefix, size_t length) {
    return got >= length && std::memcmp(header.data(), prefix, length) == 0;
  };
  const auto headerLength = [&] { return got == kStreamHeaderSize ? int64_t(Le32(header.data() + 8)) : 0; };
  switch (type) {
    case iftJpeg:
      // The JPEG loader accepts a "JFIF" header whether or not headers are on.
      if (begins("JFIF\0", 5)) span = {p + int64_t(kStreamHeaderSize), headerLength()};
      return true;
    case iftPcx:
      if (!begins("PCX", 3)) return false;
      if (begins("PCX2", 4)) {
        span = {p + int64_t(kStreamHeaderSize), headerLength()};
      } else {
        span = {p + 4, -1};  // the older 4-byte prefix "PCX" and a zero byte
      }
      return true;
    case iftTiff:
      if (!begins("TIFF", 4)) return false;
      span = {p + int64_t(kStreamHeaderSize), headerLength()};
      return true;
    default:
      return true;
  }
}

}  // namespace

TImgIO::TImgIO() : formats_(&BuiltInFormats()) { ResetParams(); }

TImgIO::~TImgIO() = default;

void TImgIO::ResetParams() {
  const int width = bitmap_ ? bitmap_->Width() : 0;
  const int height = bitmap_ ? bitmap_->Height() : 0;
  if (view_) {
    Params.Reset(width, height, view_->HostDpiX(), view_->HostDpiY());
  } else {
    Params.Reset(width, height);
  }
}

ProgressRecord TImgIO::Progress() { return ProgressRecord{OnProgress, &Aborting}; }

// ---------------------------------------------------------------- loading

bool TImgIO::LoadFromFile(const std::string& name) {
  Aborting = false;
  if (!bitmap_) return false;
  const std::string ext = LowerExtension(name);
  const int32_t type = LoadTypeForExtension(ext);
  if (type != iftUnknown) return LoadFromFileAs(type, name);

  Params.FileName.clear();
  Params.FileType = iftUnknown;
  const FileFormat* format = ext.empty() ? nullptr : formats_->FindByExtension(ext.substr(1));
  if (!format || !format->Read) {
    Aborting = true;
    return false;
  }
  FileStream file(name, FileStream::Mode::Read);
  return ReadWithHook(*format, file);
}

bool TImgIO::LoadFromFileAs(int32_t fileType, const std::string& name) {
  Aborting = false;
  if (!bitmap_) return false;
  const std::vector<uint8_t> bytes = ReadFileBytes(name);
  size_t consumed = 0;
  if (!Decode(fileType, bytes, consumed)) return false;
  LoadFinished(fileType, name);
  return true;
}

bool TImgIO::LoadFromStream(Stream& stream) {
  Aborting = false;
  if (!bitmap_) return false;
  const int64_t p = stream.Position();
  const int32_t type = DetectFileType(stream, *formats_);
  stream.Seek(p);
  if (HasStreamLoader(type)) return LoadFromStreamAs(type, stream);

  Params.FileName.clear();
  Params.FileType = iftUnknown;
  const FileFormat* format = formats_->FindById(type);
  if (type == iftUnknown || !format || !format->Read) {
    Aborting = true;
    return false;
  }
  return ReadWithHook(*format, stream);
}

bool TImgIO::LoadFromStreamAs(int32_t fileType, Stream& stream) {
  Aborting = false;
  if (!bitmap_) return false;
  const int64_t p = stream.Position();
  PictureSpan span;
  if (!LocatePicture(fileType, stream, p, StreamHeaders, span)) {
    stream.Seek(p);
    Aborting = true;
    return false;
  }

  stream.Seek(span.Start);
  std::vector<uint8_t> bytes = stream.ReadRemaining();
  if (span.Length >= 0 && uint64_t(span.Length) < bytes.size()) bytes.resize(size_t(span.Length));

  size_t consumed = 0;
  if (!Decode(fileType, bytes, consumed)) {
    stream.Seek(p);
    return false;
  }
  // With a header the picture ends where the header says; without one, where
  // the codec stopped reading.
  const size_t used = span.Length >= 0 ? bytes.size() : std::min(consumed, bytes.size());
  stream.Seek(span.Start + int64_t(used));
  LoadFinished(fileType, std::string());
  return true;
}

bool TImgIO::LoadFromFileMetafile(const std::string& name) {
  return LoadFromFileAs(LowerExtension(name) == ".emf" ? iftEmf : iftWmf, name);
}

bool TImgIO::Decode(int32_t fileType, const std::vector<uint8_t>& bytes, size_t& consumed) {
  const codec::Codec* codec = codec::CodecFor(fileType);
  if (!codec || !codec->Decode) {
    Aborting = true;
    return false;
  }
  // The codec decodes into its own bitmap and parameter copy, so that a
  // failure leaves the current picture and the Params exactly as they were.
  Bitmap decoded;
  TImgIOParams params = Params;
  consumed = 0;
  const bool ok = codec->Decode(codec::Bytes(bytes.data(), bytes.size()), decoded, params, Progress(), consumed);
  if (!ok || Aborting) {
    Aborting = true;
    return false;
  }
  Params = std::move(params);
  Commit(decoded);
  return true;
}

bool TImgIO::ReadWithHook(const FileFormat& format, Stream& stream) {
  const int64_t p = stream.Position();
  Bitmap decoded;
  TImgIOParams params = Params;
  if (!format.Read(stream, decoded, params, Progress()) || Aborting) {
    stream.Seek(p);
    Aborting = true;
    return false;
  }
  Params = std::move(params);
  Commit(decoded);
  Params.FileType = format.Id;
  if (view_) view_->SetHostDpi(Params.DpiX, Params.DpiY);
  TellOwner();
  return true;
}

void TImgIO::Commit(Bitmap& decoded) {
  // The bitmap object stays the owner's; only its picture is replaced. The
  // repaint hook and the see-through setting belong to the control.
  auto onChange = std::move(bitmap_->OnChange);
  const bool transparent = bitmap_->Transparent;
  const TColor transparentColor = bitmap_->TransparentColor;
  *bitmap_ = std::move(decoded);
  bitmap_->OnChange = std::move(onChange);
  bitmap_->Transparent = transparent;
  bitmap_->TransparentColor = transparentColor;
}

void TImgIO::LoadFinished(int32_t fileType, const std::string& fileName) {
  Params.FileName = fileName;
  Params.FileType = fileType;
  if (fileType == iftGif) SetBackground(Params.GifHasTransparency ? Params.GifTransparentColor : Params.GifBackground);
  if (fileType == iftPng && Params.PngHasBackground) SetBackground(Params.PngBackground);
  if (view_) view_->SetHostDpi(Params.DpiX, Params.DpiY);
  TellOwner();
}

void TImgIO::TellOwner() {
  if (view_) {
    view_->HostBitmapChanged();
  } else if (image_) {
    image_->HostBitmapChanged();
  } else {
    bitmap_->Changed();
  }
}

// ----------------------------------------------------------------- saving

bool TImgIO::SaveToFile(const std::string& name) {
  Aborting = false;
  if (!bitmap_) return false;
  const std::string ext = LowerExtension(name);
  const int32_t type = SaveTypeForExtension(ext);
  if (type != iftUnknown) return SaveToFileAs(type, name);

  const FileFormat* format = ext.empty() ? nullptr : formats_->FindByExtension(ext.substr(1));
  if (!format || !format->Write) {
    Aborting = true;
    return false;
  }
  MemoryStream coded;
  if (!format->Write(coded, *bitmap_, Params, Progress()) || Aborting) {
    Aborting = true;
    return false;
  }
  WriteFileAtomically(name, coded.Bytes().data(), coded.Bytes().size());
  return true;
}

bool TImgIO::SaveToFileAs(int32_t fileType, const std::string& name) {
  Aborting = false;
  if (!bitmap_) return false;
  std::vector<uint8_t> coded;
  if (!Encode(fileType, coded)) return false;
  WriteFileAtomically(name, coded.data(), coded.size());
  return true;
}

bool TImgIO::SaveToStreamAs(int32_t fileType, Stream& stream) {
  Aborting = false;
  if (!bitmap_) return false;
  std::vector<uint8_t> coded;
  if (!Encode(fileType, coded)) return false;
  // Coding into memory first lets the header carry the length at once, and a
  // failed encode leaves the stream untouched.
  const char* magic = StreamHeaderMagic(fileType);
  if (StreamHeaders && magic) {
    const auto header = MakeStreamHeader(magic, coded.size());
    stream.Write(header.data(), header.size());
  }
  stream.Write(coded.data(), coded.size());
  return true;
}

bool TImgIO::Encode(int32_t fileType, std::vector<uint8_t>& coded) {
  // JPEG writes convert a palette picture in place; the other formats code
  // from a 24-bit copy and leave the owner's picture alone.
  if (fileType == iftJpeg && bitmap_->Format() == PixelFormat::Bits8) bitmap_->ConvertTo24();
  const codec::Codec* codec = codec::CodecFor(fileType);
  if (!codec || !codec->Encode) {
    Aborting = true;
    return false;
  }
  Bitmap converted;
  const Bitmap* source = bitmap_;
  if (bitmap_->Format() == PixelFormat::Bits8) {
    converted.Assign(*bitmap_);
    converted.ConvertTo24();
    source = &converted;
  }
  std::vector<uint8_t> out;
  if (!codec->Encode(*source, Params, Progress(), out) || Aborting) {
    Aborting = true;
    return false;
  }
  coded = std::move(out);
  return true;
}

}  // namespace glamora
