#pragma once
// The outcome of reading or writing a picture, one value for every way it can
// end, and the text that tells a user which it was.
#include <cstdint>
#include <iosfwd>

namespace glamora {

enum class PictureStatus : uint8_t {
  Ok,
  NoPicture,      // there is no bitmap to load into or save from; nothing was done
  UnknownFormat,  // no reader or writer for this extension or content
  Unsupported,    // a kind of picture this program does not code (or its LZW coder is missing)
  Damaged,        // the data breaks its format or ends before the picture does
  TooLarge,       // the picture is larger than the limits allow or memory holds
  Stopped,        // the progress handler asked to stop
  Unreadable,     // the file cannot be opened or read (missing, not a regular file)
  Unwritable,     // the file cannot be created or written
};

// "damaged picture", "picture too large", ...
const char* PictureStatusText(PictureStatus status);
std::ostream& operator<<(std::ostream& out, PictureStatus status);

}  // namespace glamora
