// The JPEG header probe over arbitrary bytes; whatever it reports must lie inside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/imaging/exif/jpeg_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::imaging::JpegHeaderInfo info;
    const bool isJpeg = platform::imaging::ProbeJpegHeader({data, size}, &info);
    // Compared without sums, which a forged length could wrap around.
    if (info.appLength > size || info.appOffset > size - info.appLength || info.exifLength > size ||
        info.exifOffset > size - info.exifLength)
        std::abort();
    if (isJpeg && (info.width <= 0 || info.height <= 0 || info.components <= 0))
        std::abort();
    return 0;
}
