// The EXIF reader: the TIFF structure inside an APP1 "Exif" segment, both byte orders, every
// offset and count checked against the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform::imaging {

struct ExifRational {
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 0;
};

struct ExifData {
    std::uint16_t orientation = 0;  // IFD0 0x0112; 0 when absent
    std::uint32_t pixelWidth = 0;   // Exif IFD 0xA002; 0 when absent
    std::uint32_t pixelHeight = 0;  // Exif IFD 0xA003
    bool hasGps = false;            // a GPS IFD was found
    char latitudeRef = 0;           // 'N' or 'S'; 0 when absent
    char longitudeRef = 0;          // 'E' or 'W'
    std::uint8_t altitudeRef = 0;   // 0 above sea level, 1 below
    ExifRational latitude[3];       // degrees, minutes, seconds
    ExifRational longitude[3];
    ExifRational altitude;
    // The IFD1 thumbnail (JPEGInterchangeFormat/Length), relative to the start of the bytes
    // ReadExif was given; length 0 when absent or out of bounds.
    std::size_t thumbnailOffset = 0;
    std::size_t thumbnailLength = 0;
};

// `bytes` is any buffer and [segmentOffset, segmentOffset + segmentLength) the APP1 payload in
// it (starting "Exif\0\0"), as ProbeJpegHeader reports. False when it is no EXIF data or its
// TIFF header is broken; damaged IFDs further in leave their fields at the defaults.
bool ReadExif(std::span<const std::uint8_t> bytes, std::size_t segmentOffset,
              std::size_t segmentLength, ExifData* data);

}  // namespace platform::imaging
