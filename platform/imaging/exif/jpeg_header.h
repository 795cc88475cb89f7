// The JPEG header probe: walks the marker segments of a JPEG file's first bytes up to the frame
// header, bounded to the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform::imaging {

struct JpegHeaderInfo {
    int width = 0;  // from the frame header (SOFn)
    int height = 0;
    int components = 0;
    bool progressive = false;
    // The first application segment (APP0..APP15): its marker (0xE0..0xEF) and where its
    // payload (after the two length bytes) lies in the bytes given. Length 0 when none.
    std::uint8_t appMarker = 0;
    std::size_t appOffset = 0;
    std::size_t appLength = 0;
    // The first APP1 segment whose payload starts "Exif\0\0" (it need not be the first
    // application segment); length 0 when none.
    std::size_t exifOffset = 0;
    std::size_t exifLength = 0;
};

// True for a JPEG (SOI, then well-formed segments up to a frame header inside `bytes`).
bool ProbeJpegHeader(std::span<const std::uint8_t> bytes, JpegHeaderInfo* info);

}  // namespace platform::imaging
