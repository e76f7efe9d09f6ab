#pragma once
// The picture file types the input/output front knows: type id, description,
// extension list and optional hooks through which further formats plug in.
// Content detection of a stream lives here too, as it consults the hooks
// before the codecs' own probes.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "codecs/Codec.h"
#include "imaging/core/Bitmap.h"
#include "imaging/core/ImgIOParams.h"
#include "imaging/core/Progress.h"
#include "imaging/core/Stream.h"

namespace glamora {

// Accepts a stream positioned at a picture; the caller restores the position.
using FormatTestHook = std::function<bool(Stream& stream)>;
// Decodes from the stream position into `out`; false when it cannot.
using FormatReadHook =
    std::function<bool(Stream& stream, Bitmap& out, TImgIOParams& params, const ProgressRecord& progress)>;
// Encodes `in` at the stream position; false when it cannot.
using FormatWriteHook =
    std::function<bool(Stream& stream, const Bitmap& in, const TImgIOParams& params, const ProgressRecord& progress)>;

struct FileFormat {
  static constexpr size_t kMaxText = 80;

  int32_t Id = 0;
  std::string Description;  // at most kMaxText characters
  std::string Extensions;   // "JPG;JPEG;JPE", at most kMaxText characters
  FormatTestHook Test;
  FormatReadHook Read;
  FormatWriteHook Write;

  // True when `extension` (without its dot) is in the list, letters of either case.
  bool HasExtension(std::string_view extension) const;
};

class FormatTable {
 public:
  // Adds an entry after the others; description and extension list are cut
  // to kMaxText characters.
  void Add(FileFormat format);

  const std::vector<FileFormat>& Entries() const { return entries_; }
  // The first entry listing the extension (given without its dot), or null.
  const FileFormat* FindByExtension(std::string_view extension) const;
  const FileFormat* FindById(int32_t id) const;

  // The eleven built-in types in id order, without hooks.
  static FormatTable BuiltIn();

 private:
  std::vector<FileFormat> entries_;
};

// The process-wide table, made on first use from FormatTable::BuiltIn().
const FormatTable& BuiltInFormats();

// Filter string for file dialogs: "All graphics (*.tif;...)|*.tif;...|" then
// one "Description (*.ext;...)|*.ext;..." pair per entry, fields joined by "|".
std::string OpenDialogFilter(const FormatTable& table);

// Detects the picture type at the stream's position from its content: the
// table's test hooks in table order, then stream headers, then the codecs'
// probes, strongest signature first. The position is left where it was.
// Returns the type id, 0 when unrecognised.
int32_t DetectFileType(Stream& stream, const FormatTable& table = BuiltInFormats());

}  // namespace glamora
