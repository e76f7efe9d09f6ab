// Reading the Orientation field of an EXIF block through libexif, which sees
// only the block's own bytes.
#include "codecs/ExifOrientation.h"

#include <cstring>
#include <memory>

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

#include "imaging/core/Orientation.h"

namespace glamora::codec {

namespace {

struct ExifDataRelease {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

constexpr unsigned char kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};

}  // namespace

bool IsExifSegment(Bytes segment) {
  return segment.size() >= sizeof kExifHeader && std::memcmp(segment.data(), kExifHeader, sizeof kExifHeader) == 0;
}

int ExifOrientation(Bytes segment) {
  if (!IsExifSegment(segment)) return kUpright;
  const std::unique_ptr<ExifData, ExifDataRelease> exif(exif_data_new());
  if (!exif) return kUpright;
  // Read the block as it is: no fields made up to satisfy the standard, no
  // maker note rewritten.
  exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_set_option(exif.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
  exif_data_load_data(exif.get(), segment.data(), unsigned(segment.size()));
  // The field of the first picture (IFD0), not of the thumbnail's IFD.
  const ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data || entry->size < 2) {
    return kUpright;
  }
  return ValidOrientation(exif_get_short(entry->data, exif_data_get_byte_order(exif.get())));
}

}  // namespace glamora::codec
