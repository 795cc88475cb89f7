// The EXIF reader over arbitrary bytes: once as a whole JPEG (probe, then the segment it reports)
// and once with the bytes taken as the segment itself, which reaches the IFDs far more often.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/imaging/exif/exif_reader.h"
#include "platform/imaging/exif/jpeg_header.h"

namespace {

void Check(const platform::imaging::ExifData& exif, std::size_t offset, std::size_t length) {
    // A reported thumbnail lies wholly inside the segment.
    if (exif.thumbnailLength != 0 &&
        (exif.thumbnailOffset < offset || exif.thumbnailLength > length ||
         exif.thumbnailOffset - offset > length - exif.thumbnailLength))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::imaging::ExifData exif;
    platform::imaging::JpegHeaderInfo info;
    platform::imaging::ProbeJpegHeader({data, size}, &info);
    if (platform::imaging::ReadExif({data, size}, info.exifOffset, info.exifLength, &exif))
        Check(exif, info.exifOffset, info.exifLength);
    if (platform::imaging::ReadExif({data, size}, 0, size, &exif))
        Check(exif, 0, size);
    return 0;
}
