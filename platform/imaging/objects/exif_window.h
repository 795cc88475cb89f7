// The EXIF data of a JPEG picture, read from the first bytes of its source.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/exif/exif_reader.h"

namespace platform::imaging {

// Reads the first bytes of the picture (64 KiB, or up to 192 KiB when the EXIF segment lies
// further in) into `head` and the EXIF data from it; false when there is none. Offsets in
// `exif` are into `head`.
bool ReadExifWindow(const ByteSource& source, std::vector<std::uint8_t>* head, ExifData* exif);

}  // namespace platform::imaging
