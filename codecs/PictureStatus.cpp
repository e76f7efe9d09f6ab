// The words each picture status is told to the user with.
#include "codecs/PictureStatus.h"

#include <ostream>

namespace glamora {

const char* PictureStatusText(PictureStatus status) {
  switch (status) {
    case PictureStatus::Ok: return "done";
    case PictureStatus::NoPicture: return "no picture to work on";
    case PictureStatus::UnknownFormat: return "unrecognised picture format";
    case PictureStatus::Unsupported: return "unsupported kind of picture";
    case PictureStatus::Damaged: return "damaged picture";
    case PictureStatus::TooLarge: return "picture too large";
    case PictureStatus::Stopped: return "stopped";
    case PictureStatus::Unreadable: return "file cannot be read";
    case PictureStatus::Unwritable: return "file cannot be written";
  }
  return "unknown outcome";
}

std::ostream& operator<<(std::ostream& out, PictureStatus status) { return out << PictureStatusText(status); }

}  // namespace glamora
