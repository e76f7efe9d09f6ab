#pragma once
// TImgIO: the picture input/output front. It works on one current bitmap,
// owned by the image view or picture control it is attached to (or set
// directly), chooses a codec by file-name extension or by stream content,
// records what was read in Params and tells the owner to repaint.
//
// No operation reports an error by result alone: a picture that cannot be
// read or written sets Aborting and leaves the current bitmap exactly as it
// was. Files that cannot be opened or created throw FileError.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/components/FormatTable.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/BitmapHost.h"
#include "imaging/core/Color.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Progress.h"
#include "imaging/core/Stream.h"

namespace glamora {

class TImgIO final : public BitmapComponent {
 public:
  TImgIO();
  ~TImgIO() override;
  TImgIO(const TImgIO&) = delete;
  TImgIO& operator=(const TImgIO&) = delete;

  // Restores the Params defaults: size of the current bitmap, the attached
  // view's resolution.
  void ResetParams();

  // Loads by the lower-cased extension of `name`. True when a picture was loaded.
  bool LoadFromFile(const std::string& name);
  // Saves by the lower-cased extension of `name`. True when the file was written.
  bool SaveToFile(const std::string& name);
  // Detects the format from the content at the stream position and loads.
  bool LoadFromStream(Stream& stream);

  // One format, chosen by type id (ImageFileType). LoadFromStreamAs(iftJpeg)
  // is LoadFromStreamJpeg, and so on.
  bool LoadFromFileAs(int32_t fileType, const std::string& name);
  bool LoadFromStreamAs(int32_t fileType, Stream& stream);
  bool SaveToFileAs(int32_t fileType, const std::string& name);
  bool SaveToStreamAs(int32_t fileType, Stream& stream);

  bool LoadFromFileJpeg(const std::string& name) { return LoadFromFileAs(iftJpeg, name); }
  bool LoadFromStreamJpeg(Stream& stream) { return LoadFromStreamAs(iftJpeg, stream); }
  // Converts an 8-bit current bitmap to 24 bits in place before writing.
  bool SaveToFileJpeg(const std::string& name) { return SaveToFileAs(iftJpeg, name); }
  bool SaveToStreamJpeg(Stream& stream) { return SaveToStreamAs(iftJpeg, stream); }

  bool LoadFromFilePng(const std::string& name) { return LoadFromFileAs(iftPng, name); }
  bool LoadFromStreamPng(Stream& stream) { return LoadFromStreamAs(iftPng, stream); }
  bool SaveToFilePng(const std::string& name) { return SaveToFileAs(iftPng, name); }
  bool SaveToStreamPng(Stream& stream) { return SaveToStreamAs(iftPng, stream); }

  bool LoadFromFileTiff(const std::string& name) { return LoadFromFileAs(iftTiff, name); }
  bool LoadFromStreamTiff(Stream& stream) { return LoadFromStreamAs(iftTiff, stream); }
  bool SaveToFileTiff(const std::string& name) { return SaveToFileAs(iftTiff, name); }
  bool SaveToStreamTiff(Stream& stream) { return SaveToStreamAs(iftTiff, stream); }

  bool LoadFromFileGif(const std::string& name) { return LoadFromFileAs(iftGif, name); }
  bool LoadFromStreamGif(Stream& stream) { return LoadFromStreamAs(iftGif, stream); }
  bool SaveToFileGif(const std::string& name) { return SaveToFileAs(iftGif, name); }
  bool SaveToStreamGif(Stream& stream) { return SaveToStreamAs(iftGif, stream); }

  bool LoadFromFilePcx(const std::string& name) { return LoadFromFileAs(iftPcx, name); }
  bool LoadFromStreamPcx(Stream& stream) { return LoadFromStreamAs(iftPcx, stream); }
  bool SaveToFilePcx(const std::string& name) { return SaveToFileAs(iftPcx, name); }
  bool SaveToStreamPcx(Stream& stream) { return SaveToStreamAs(iftPcx, stream); }

  bool LoadFromFileBmp(const std::string& name) { return LoadFromFileAs(iftBmp, name); }
  bool LoadFromStreamBmp(Stream& stream) { return LoadFromStreamAs(iftBmp, stream); }
  bool SaveToFileBmp(const std::string& name) { return SaveToFileAs(iftBmp, name); }
  bool SaveToStreamBmp(Stream& stream) { return SaveToStreamAs(iftBmp, stream); }

  bool LoadFromFileTarga(const std::string& name) { return LoadFromFileAs(iftTarga, name); }
  bool LoadFromStreamTarga(Stream& stream) { return LoadFromStreamAs(iftTarga, stream); }
  bool SaveToFileTarga(const std::string& name) { return SaveToFileAs(iftTarga, name); }
  bool SaveToStreamTarga(Stream& stream) { return SaveToStreamAs(iftTarga, stream); }

  bool LoadFromFileIcon(const std::string& name) { return LoadFromFileAs(iftIcon, name); }
  bool LoadFromStreamIcon(Stream& stream) { return LoadFromStreamAs(iftIcon, stream); }
  bool LoadFromFileCursor(const std::string& name) { return LoadFromFileAs(iftCursor, name); }
  bool LoadFromStreamCursor(Stream& stream) { return LoadFromStreamAs(iftCursor, stream); }

  // ".wmf" and ".emf" (type by the extension). The program has no metafile
  // reader, so this opens the file and sets Aborting.
  bool LoadFromFileMetafile(const std::string& name);

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
  bool Decode(int32_t fileType, const std::vector<uint8_t>& bytes, size_t& consumed);
  bool Encode(int32_t fileType, std::vector<uint8_t>& coded);
  bool ReadWithHook(const FileFormat& format, Stream& stream);
  void Commit(Bitmap& decoded);
  void LoadFinished(int32_t fileType, const std::string& fileName);
  void TellOwner();
  ProgressRecord Progress();

  const FormatTable* formats_;
};

}  // namespace glamora
