// The picture input/output front: choosing a codec, loading and saving files
// and streams, and reporting the outcome.
#include "imaging/components/ImgIO.h"

#include <algorithm>
#include <functional>
#include <new>
#include <optional>
#include <utility>

#include "codecs/Gif.h"
#include "codecs/Registry.h"
#include "codecs/Tiff.h"
#include "imaging/components/ImgIOStreamHeader.h"
#include "imaging/core/FileExtension.h"
#include "imaging/core/Orientation.h"

namespace glamora {

namespace {

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

}  // namespace

void StartPictureIO() { InstallLzwCoders(); }

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

// Every load and save starts here: false (status NoPicture, Aborting clear)
// when there is no current bitmap.
bool TImgIO::Begin() {
  Aborting = false;
  status_ = bitmap_ ? PictureStatus::Ok : PictureStatus::NoPicture;
  return bitmap_ != nullptr;
}

bool TImgIO::Finish(PictureStatus status) {
  status_ = status;
  if (status != PictureStatus::Ok) Aborting = true;
  return status == PictureStatus::Ok;
}

// A type the table lists (a metafile) is unsupported; any other is unknown.
PictureStatus TImgIO::NoCodecFor(int32_t fileType) const {
  return formats_->FindById(fileType) ? PictureStatus::Unsupported : PictureStatus::UnknownFormat;
}

// ---------------------------------------------------------------- loading

bool TImgIO::LoadFromFile(const std::string& name) {
  if (!Begin()) return false;
  const std::string ext = LowerExtension(name);
  const int32_t type = LoadTypeForExtension(ext);
  if (type != iftUnknown) return LoadFromFileAs(type, name);

  Params.FileName.clear();
  Params.FileType = iftUnknown;
  const FileFormat* format = ext.empty() ? nullptr : formats_->FindByExtension(ext.substr(1));
  if (!format) return Finish(PictureStatus::UnknownFormat);
  if (!format->Read) return Finish(PictureStatus::Unsupported);
  try {
    FileStream file(name, FileStream::Mode::Read);
    return ReadWithHook(*format, file);
  } catch (const FileError&) {
    status_ = PictureStatus::Unreadable;
    throw;
  }
}

bool TImgIO::LoadFromFileAs(int32_t fileType, const std::string& name) {
  if (!Begin()) return false;
  std::optional<FileStream> file;
  try {
    file.emplace(name, FileStream::Mode::Read);
  } catch (const FileError&) {
    status_ = PictureStatus::Unreadable;
    throw;
  }
  // No picture within the limits needs a longer file; it is not read at all.
  if (uint64_t(file->Size()) > Params.Limits.MaxFileBytes()) return Finish(PictureStatus::TooLarge);
  const StreamBytes view(*file, 0);
  size_t consumed = 0;
  if (const PictureStatus status = Decode(fileType, view.Bytes(), *file, consumed); status != PictureStatus::Ok) {
    return Finish(status);
  }
  LoadFinished(fileType, name);
  return Finish(PictureStatus::Ok);
}

bool TImgIO::LoadFromStream(Stream& stream) {
  if (!Begin()) return false;
  const int64_t p = stream.Position();
  const int32_t type = DetectFileType(stream, *formats_);
  stream.Seek(p);
  if (codec::CodecFor(type)) return LoadFromStreamAs(type, stream);

  Params.FileName.clear();
  Params.FileType = iftUnknown;
  const FileFormat* format = formats_->FindById(type);
  if (type == iftUnknown || !format) return Finish(PictureStatus::UnknownFormat);
  if (!format->Read) return Finish(PictureStatus::Unsupported);
  return ReadWithHook(*format, stream);
}

bool TImgIO::LoadFromStreamAs(int32_t fileType, Stream& stream) {
  if (!Begin()) return false;
  const int64_t p = stream.Position();
  const StreamBytes view(stream, p, Params.Limits.MaxFileBytes() + kStreamHeaderSize);
  PictureSpan span;
  if (!LocatePicture(fileType, view.Bytes(), StreamHeaders, span)) return Finish(PictureStatus::Damaged);

  codec::Bytes bytes = view.Bytes().subspan(std::min(span.Skip, view.Bytes().size()));
  if (span.Length >= 0 && uint64_t(span.Length) < bytes.size()) bytes = bytes.first(size_t(span.Length));
  size_t consumed = 0;
  if (const PictureStatus status = Decode(fileType, bytes, stream, consumed); status != PictureStatus::Ok) {
    stream.Seek(p);
    return Finish(status);
  }
  // With a header the picture ends where the header says; without one, where
  // the codec stopped reading.
  const size_t used = span.Length >= 0 ? bytes.size() : std::min(consumed, bytes.size());
  stream.Seek(p + int64_t(span.Skip + used));
  LoadFinished(fileType, std::string());
  return Finish(PictureStatus::Ok);
}

PictureStatus TImgIO::Decode(int32_t fileType, codec::Bytes bytes, const Stream& source, size_t& consumed) {
  const codec::Codec* codec = codec::CodecFor(fileType);
  if (!codec || !codec->Decode) return NoCodecFor(fileType);
  // The codec decodes into its own bitmap and parameter copy, so that a
  // failure leaves the current picture and the Params exactly as they were.
  Bitmap decoded;
  TImgIOParams params = Params;
  params.Orientation = kUpright;
  consumed = 0;
  PictureStatus status = codec->Decode(bytes, decoded, params, Progress(), consumed);
  if (status == PictureStatus::Ok) status = StandUpright(decoded, params);
  if (status != PictureStatus::Ok) return status;
  // A file cut short by another program while it was read gave zeros.
  if (source.ContentsLost()) return PictureStatus::Unreadable;
  Params = std::move(params);
  Commit(decoded);
  return PictureStatus::Ok;
}

PictureStatus TImgIO::StandUpright(Bitmap& decoded, TImgIOParams& params) const {
  if (!UprightPhotographs || ValidOrientation(params.Orientation) == kUpright) return PictureStatus::Ok;
  try {
    TurnUpright(decoded, params.Orientation);
  } catch (const std::bad_alloc&) {
    return PictureStatus::TooLarge;
  }
  params.Width = decoded.Width();
  params.Height = decoded.Height();
  return PictureStatus::Ok;
}

bool TImgIO::ReadWithHook(const FileFormat& format, Stream& stream) {
  const int64_t p = stream.Position();
  Bitmap decoded;
  TImgIOParams params = Params;
  params.Orientation = kUpright;
  if (!format.Read(stream, decoded, params, Progress()) || Aborting) {
    stream.Seek(p);
    return Finish(Aborting ? PictureStatus::Stopped : PictureStatus::Damaged);
  }
  Params = std::move(params);
  Commit(decoded);
  Params.FileType = format.Id;
  if (view_) view_->SetHostDpi(Params.DpiX, Params.DpiY);
  TellOwner();
  return Finish(PictureStatus::Ok);
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
  if (!Begin()) return false;
  const std::string ext = LowerExtension(name);
  const int32_t type = SaveTypeForExtension(ext);
  if (type != iftUnknown) return SaveToFileAs(type, name);

  const FileFormat* format = ext.empty() ? nullptr : formats_->FindByExtension(ext.substr(1));
  if (!format) return Finish(PictureStatus::UnknownFormat);
  if (!format->Write) return Finish(PictureStatus::Unsupported);
  return WriteFile(name, [&](Stream& out) {
    if (format->Write(out, *bitmap_, Params, Progress()) && !Aborting) return PictureStatus::Ok;
    return Aborting ? PictureStatus::Stopped : PictureStatus::Unsupported;
  });
}

bool TImgIO::SaveToFileAs(int32_t fileType, const std::string& name) {
  if (!Begin()) return false;
  return WriteFile(name, [&](Stream& out) { return Encode(fileType, out); });
}

// The picture is coded straight into the file as it is written; a file that
// cannot be written throws as one that cannot be created does.
bool TImgIO::WriteFile(const std::string& name, const std::function<PictureStatus(Stream&)>& code) {
  PictureStatus status = PictureStatus::Ok;
  try {
    if (SaveFile(name, [&](Stream& out) { return (status = code(out)) == PictureStatus::Ok; })) {
      return Finish(PictureStatus::Ok);
    }
  } catch (const FileError&) {
    status_ = PictureStatus::Unwritable;
    throw;
  }
  if (status == PictureStatus::Unwritable) {
    status_ = status;
    throw FileError("Cannot create file " + name);
  }
  return Finish(status);
}

bool TImgIO::SaveToStreamAs(int32_t fileType, Stream& stream) {
  if (!Begin()) return false;
  const int64_t p = stream.Position();
  // With headers on, a placeholder goes first and takes the coded length
  // once the picture is written.
  const char* magic = StreamHeaders ? StreamHeaderMagic(fileType) : nullptr;
  if (magic) {
    const auto placeholder = MakeStreamHeader(magic, 0);
    stream.Write(placeholder.data(), placeholder.size());
  }
  const PictureStatus status = Encode(fileType, stream);
  if (status != PictureStatus::Ok) {
    stream.Truncate(p);
    return Finish(status);
  }
  if (magic) {
    const int64_t end = stream.Position();
    const auto header = MakeStreamHeader(magic, size_t(end - p - int64_t(kStreamHeaderSize)));
    stream.Seek(p);
    stream.Write(header.data(), header.size());
    stream.Seek(end);
  }
  return Finish(PictureStatus::Ok);
}

PictureStatus TImgIO::Encode(int32_t fileType, Stream& out) {
  const codec::Codec* codec = codec::CodecFor(fileType);
  if (!codec || !codec->Encode) return NoCodecFor(fileType);
  // JPEG writes convert a palette picture in place; the other formats code
  // from a 24-bit copy and leave the owner's picture alone.
  if (fileType == iftJpeg && bitmap_->Format() == PixelFormat::Bits8) bitmap_->ConvertTo24();
  Bitmap converted;
  const Bitmap* source = bitmap_;
  if (bitmap_->Format() == PixelFormat::Bits8) {
    converted.Assign(*bitmap_);
    converted.ConvertTo24();
    source = &converted;
  }
  return codec->Encode(*source, Params, Progress(), out);
}

// ------------------------------------------------ parameters and frames

const codec::Codec* TImgIO::StartReading(const std::string& name, int32_t& type) {
  Aborting = false;
  status_ = PictureStatus::Ok;
  type = LoadTypeForExtension(LowerExtension(name));
  const codec::Codec* codec = codec::CodecFor(type);
  if (!codec) Finish(type == iftUnknown ? PictureStatus::UnknownFormat : NoCodecFor(type));
  return codec;
}

void TImgIO::OpenToRead(const std::string& name, std::optional<FileStream>& file) {
  try {
    file.emplace(name, FileStream::Mode::Read);
  } catch (const FileError&) {
    status_ = PictureStatus::Unreadable;
    throw;
  }
}

bool TImgIO::ParamsFromFile(const std::string& name) {
  int32_t type = iftUnknown;
  const codec::Codec* codec = StartReading(name, type);
  if (!codec) return false;
  std::optional<FileStream> file;
  OpenToRead(name, file);
  const StreamBytes view(*file, 0, Params.Limits.MaxFileBytes());
  codec::PictureInfo info;
  const PictureStatus status = type == iftTiff ? codec::InfoTiffPage(view.Bytes(), Params.TiffPage, info)
                                               : codec->Info(view.Bytes(), info);
  if (status != PictureStatus::Ok) return Finish(status);
  // Every format says alike of a picture loading would refuse as too large,
  // whether its reader checks the size in its header or only when decoding.
  if (!Params.Limits.Allow(info.Width, info.Height)) return Finish(PictureStatus::TooLarge);

  // The size the picture loads at.
  const bool swapped = UprightPhotographs && OrientationSwapsSides(info.Orientation);
  Params.Width = swapped ? info.Height : info.Width;
  Params.Height = swapped ? info.Width : info.Height;
  Params.Orientation = ValidOrientation(info.Orientation);
  Params.BitsPerSample = info.BitsPerSample;
  Params.SamplesPerPixel = info.SamplesPerPixel;
  const bool resolution = info.DpiX > 0 && info.DpiY > 0;
  Params.DpiX = resolution ? info.DpiX : view_ ? view_->HostDpiX() : TImgIOParams{}.DpiX;
  Params.DpiY = resolution ? info.DpiY : view_ ? view_->HostDpiY() : TImgIOParams{}.DpiY;
  switch (type) {
    case iftGif:
      Params.GifImageCount = info.FrameCount;
      Params.GifInterlaced = info.Interlaced;
      break;
    case iftTiff:
      Params.TiffPageCount = info.FrameCount;
      Params.TiffCompress = info.TiffCompress;
      break;
    case iftJpeg: Params.JpegColor = info.JpegColor; break;
    case iftPng: Params.PngInterlaced = info.Interlaced; break;
    case iftPcx: Params.PcxCompression = info.Compressed ? 1 : 0; break;
    case iftBmp:
      Params.BmpCompressed = info.Compressed;
      Params.BmpHeader = info.BmpHeader;
      break;
    case iftTarga: Params.TgaCompressed = info.Compressed; break;
    default: break;
  }
  Params.FileName = name;
  Params.FileType = type;
  return Finish(PictureStatus::Ok);
}

bool TImgIO::LoadFramesFromFile(const std::string& name, const FrameSink& take) {
  int32_t type = iftUnknown;
  const codec::Codec* codec = StartReading(name, type);
  if (!codec) return false;
  std::optional<FileStream> file;
  OpenToRead(name, file);
  if (uint64_t(file->Size()) > Params.Limits.MaxFileBytes()) return Finish(PictureStatus::TooLarge);
  const StreamBytes view(*file, 0);
  TImgIOParams params = Params;

  if (type == iftGif) {
    const PictureStatus status = codec::DecodeGifFrames(view.Bytes(), params, Progress(), take);
    if (status != PictureStatus::Ok) return Finish(status);
  } else {
    // Pages one after another, progress spread over them.
    int pages = 1;
    bool more = true;
    for (int page = 0; page < pages && more; ++page) {
      ProgressRecord progress = Progress();
      if (OnProgress) {
        progress.OnProgress = [this, page, &pages](int percent) { OnProgress((page * 100 + percent) / pages); };
      }
      TImgIOParams pageParams = params;
      pageParams.TiffPage = page;
      pageParams.Orientation = kUpright;
      Bitmap frame;
      size_t consumed = 0;
      PictureStatus status = codec->Decode(view.Bytes(), frame, pageParams, progress, consumed);
      if (status == PictureStatus::Ok) status = StandUpright(frame, pageParams);
      // A later page that cannot be read ends the sequence, as a damaged
      // frame ends a GIF's.
      if (status != PictureStatus::Ok && (page == 0 || status == PictureStatus::Stopped)) return Finish(status);
      if (status != PictureStatus::Ok) {
        Aborting = false;
        break;
      }
      if (page == 0) {
        params = pageParams;
        if (type == iftTiff) pages = std::max(pageParams.TiffPageCount, 1);
      }
      more = take(frame, 0);
    }
    params.TiffPage = Params.TiffPage;
  }
  Params = std::move(params);
  Params.FileName = name;
  Params.FileType = type;
  return Finish(PictureStatus::Ok);
}

bool TImgIO::LoadFrameFromFile(const std::string& name, int index) {
  if (!Begin()) return false;
  const int32_t type = LoadTypeForExtension(LowerExtension(name));
  if (type == iftTiff) {
    const int32_t page = Params.TiffPage;
    Params.TiffPage = index;
    const bool loaded = LoadFromFile(name);
    Params.TiffPage = page;
    return loaded;
  }
  if (type != iftGif) return index == 0 ? LoadFromFile(name) : Finish(PictureStatus::Unsupported);

  Bitmap wanted;
  int frame = 0;
  const bool played = LoadFramesFromFile(name, [&](const Bitmap& picture, int) {
    if (frame++ < index) return true;
    wanted.Assign(picture);
    return false;
  });
  if (!played) return false;
  if (wanted.Empty()) return Finish(PictureStatus::Unsupported);
  Commit(wanted);
  LoadFinished(type, name);
  return Finish(PictureStatus::Ok);
}

}  // namespace glamora
