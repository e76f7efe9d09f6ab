#pragma once
// TImgIO: the picture input/output front. It works on one current bitmap,
// owned by the image view or picture control it is attached to (or set
// directly), chooses a codec by file-name extension or by stream content,
// records what was read in Params and tells the owner to repaint.
//
// Every load and save ends with one PictureStatus, which Status() gives:
// a picture that cannot be read or written sets Aborting and leaves the
// current bitmap exactly as it was; the operations return true exactly when
// the status is Ok. Files that cannot be opened or created also throw
// FileError ("Cannot open file ...", "Cannot create file ...").
//
// Params.Limits bounds the pictures loads accept (by default the largest the
// program can hold). The window gives the components that read faces,
// hairstyles and gallery pictures kWindowPictureLimits, so that a small file
// declaring a huge picture is refused at once: io.Params.Limits =
// kWindowPictureLimits (or limits from the settings).
#include <cstdint>
#include <string>

#include "codecs/Codec.h"
#include "imaging/components/FormatTable.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/BitmapHost.h"
#include "imaging/core/Color.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Progress.h"
#include "imaging/core/Stream.h"

namespace glamora {

// What the program and the command-line companion do once at start, before
// any picture component exists: install the program's LZW coders as the
// process-wide defaults, which every component's Params copy.
void StartPictureIO();

class TImgIO final : public BitmapComponent {
 public:
  TImgIO();
  ~TImgIO() override;
  TImgIO(const TImgIO&) = delete;
  TImgIO& operator=(const TImgIO&) = delete;

  // Restores the Params defaults: size of the current bitmap, the attached
  // view's resolution. The limits stay.
  void ResetParams();

  // Loads by the lower-cased extension of `name`.
  bool LoadFromFile(const std::string& name);
  // Saves by the lower-cased extension of `name`.
  bool SaveToFile(const std::string& name);
  // Detects the format from the content at the stream position and loads.
  bool LoadFromStream(Stream& stream);

  // One format, chosen by type id (ImageFileType).
  bool LoadFromFileAs(int32_t fileType, const std::string& name);
  bool LoadFromStreamAs(int32_t fileType, Stream& stream);
  bool SaveToFileAs(int32_t fileType, const std::string& name);
  // Writes at the stream position; a failed save cuts the stream back there.
  bool SaveToStreamAs(int32_t fileType, Stream& stream);

  // The JPEG forms the windows use.
  bool LoadFromFileJpeg(const std::string& name) { return LoadFromFileAs(iftJpeg, name); }
  bool LoadFromStreamJpeg(Stream& stream) { return LoadFromStreamAs(iftJpeg, stream); }
  // Converts an 8-bit current bitmap to 24 bits in place before writing.
  bool SaveToFileJpeg(const std::string& name) { return SaveToFileAs(iftJpeg, name); }
  bool SaveToStreamJpeg(Stream& stream) { return SaveToStreamAs(iftJpeg, stream); }

  // How the last load or save ended.
  PictureStatus Status() const { return status_; }

  // The table consulted for hooks and extensions; the process-wide built-in
  // table unless another is given (it must outlive the component).
  void SetFormatTable(const FormatTable& table) { formats_ = &table; }
  const FormatTable& Formats() const { return *formats_; }

  // Write stream headers (12-byte "JFIF"/"TIFF"/"PCX2" prefixes) on save and
  // expect them on PCX and TIFF stream loads.
  bool StreamHeaders = false;
  TImgIOParams Params;
  // Cleared at the start of every load and save; set when a picture could not
  // be read or written. Codecs stop early when it is set.
  bool Aborting = false;
  ProgressHandler OnProgress;

 private:
  bool Begin();
  bool Finish(PictureStatus status);
  PictureStatus NoCodecFor(int32_t fileType) const;
  PictureStatus Decode(int32_t fileType, codec::Bytes bytes, size_t& consumed);
  PictureStatus Encode(int32_t fileType, Stream& out);
  bool WriteFile(const std::string& name, const MemoryStream& coded);
  bool ReadWithHook(const FileFormat& format, Stream& stream);
  void Commit(Bitmap& decoded);
  void LoadFinished(int32_t fileType, const std::string& fileName);
  void TellOwner();
  ProgressRecord Progress();

  const FormatTable* formats_;
  PictureStatus status_ = PictureStatus::Ok;
};

}  // namespace glamora
