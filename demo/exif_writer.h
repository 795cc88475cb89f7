// A small EXIF writer for the demo pictures: the APP1 "Exif" payload (TIFF header, IFD0 with the
// orientation, maker and time, the Exif and GPS directories, IFD1 with a JPEG thumbnail) and its
// insertion into an encoded JPEG.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace demo {

struct GpsPosition {
    double latitude = 0;   // degrees, negative south
    double longitude = 0;  // degrees, negative west
    double altitude = 0;   // metres, negative below sea level
};

struct ExifFields {
    std::uint16_t orientation = 0;  // 0: no orientation tag
    std::string make;
    std::string model;
    std::string dateTime;  // "YYYY:MM:DD HH:MM:SS"; also written as the original time
    std::uint32_t pixelWidth = 0;
    std::uint32_t pixelHeight = 0;
    std::optional<GpsPosition> gps;
    std::vector<std::uint8_t> thumbnailJpeg;  // empty: no IFD1
};

// The APP1 payload, starting "Exif\0\0". Empty when it would not fit one segment (64 KiB).
std::vector<std::uint8_t> BuildExifPayload(const ExifFields& fields);

// `jpeg` with an APP1 segment holding `payload` right after SOI; a JFIF APP0 the encoder wrote is
// dropped, since EXIF files carry none. Empty when `jpeg` does not start with SOI or the payload
// is too big for a segment.
std::vector<std::uint8_t> InsertExifSegment(std::span<const std::uint8_t> jpeg,
                                            std::span<const std::uint8_t> payload);

}  // namespace demo
