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
#include <functional>
#include <optional>
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

  // Reads what the file declares without decoding its pixels, the codec
  // chosen by extension as LoadFromFile chooses it: Width, Height,
  // BitsPerSample and SamplesPerPixel as the file stores its samples, the
  // resolution (the attached view's when the file has none), the format's own
  // fields (compression, interlacing, colour space, BMP version), the frame
  // or page count (GifImageCount, TiffPageCount), FileName and FileType. A
  // TIFF is described by its page Params.TiffPage. Needs no current bitmap
  // and leaves it alone; a failure leaves Params as they were.
  bool ParamsFromFile(const std::string& name);

  // A frame of a GIF or a page of a TIFF, and how long it is shown in
  // milliseconds (0 when the file does not say). Returning false stops.
  using FrameSink = std::function<bool(const Bitmap& frame, int delayMs)>;
  // Decodes the frames of a GIF (each as the animation shows it) or the pages
  // of a TIFF in order into `take`; a picture of any other format is its one
  // frame. The current bitmap is left alone; Params are filled as loading
  // the first frame fills them. Progress runs once over the whole file.
  bool LoadFramesFromFile(const std::string& name, const FrameSink& take);
  // Loads one frame of a GIF or page of a TIFF (0 the first) into the
  // current bitmap as LoadFromFile loads a picture; other formats have only
  // frame 0.
  bool LoadFrameFromFile(const std::string& name, int index);

  // How the last load or save ended.
  PictureStatus Status() const { return status_; }

  // The table consulted for hooks and extensions; the process-wide built-in
  // table unless another is given (it must outlive the component).
  void SetFormatTable(const FormatTable& table) { formats_ = &table; }
  const FormatTable& Formats() const { return *formats_; }

  // Photographs load upright: a picture whose file records an orientation
  // other than 1 (Params.Orientation: the EXIF Orientation of a JPEG, the
  // Orientation tag of a TIFF) is turned as it records, and Params Width and
  // Height give the upright size, in loads and in ParamsFromFile alike.
  // Pictures that record no orientation load exactly as stored. Off, every
  // picture loads as stored.
  bool UprightPhotographs = true;
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
  PictureStatus Decode(int32_t fileType, codec::Bytes bytes, const Stream& source, size_t& consumed);
  PictureStatus Encode(int32_t fileType, Stream& out);
  bool WriteFile(const std::string& name, const std::function<PictureStatus(Stream&)>& code);
  bool ReadWithHook(const FileFormat& format, Stream& stream);
  // Turns a decoded picture upright as params.Orientation records, when
  // UprightPhotographs; TooLarge when there is no memory for it.
  PictureStatus StandUpright(Bitmap& decoded, TImgIOParams& params) const;
  // The start of reading a file without the current bitmap: clears Aborting
  // and gives the codec of the file's extension, or null (status set).
  const codec::Codec* StartReading(const std::string& name, int32_t& type);
  // Opens the file; one that cannot be opened sets the status and throws FileError.
  void OpenToRead(const std::string& name, std::optional<FileStream>& file);
  void Commit(Bitmap& decoded);
  void LoadFinished(int32_t fileType, const std::string& fileName);
  void TellOwner();
  ProgressRecord Progress();

  const FormatTable* formats_;
  PictureStatus status_ = PictureStatus::Ok;
};

}  // namespace glamora
