// The demo's pictures, drawn and encoded: camera JPEGs with their EXIF (orientation, times,
// maker, GPS, thumbnail) and the other formats the gallery shows.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "demo/art.h"
#include "demo/exif_writer.h"
#include "demo/pixels.h"

namespace demo {

struct CameraPicture {
    std::string name;
    int width = 640;  // as stored, before the orientation is applied
    int height = 480;
    Art art = Art::Scene;
    int variant = 0;
    std::uint16_t orientation = 1;  // 0: no EXIF orientation tag
    bool thumbnail = true;
    std::optional<GpsPosition> gps;
    std::time_t taken = 0;
};

inline constexpr int kThumbnailWidth = 160;
inline constexpr int kThumbnailHeight = 120;

// `art` drawn at width x height with `name` written on it (and the "UP" marker when asked).
// Empty pixels when the canvas could not be made.
Pixels DrawPicture(int width, int height, Art art, int variant, const std::string& name,
                   bool upMarker);

// The complete JPEG file; empty with `error` set on failure.
std::vector<std::uint8_t> MakeCameraJpeg(const CameraPicture& picture, std::string& error);

// "YYYY:MM:DD HH:MM:SS" of `time` in UTC, as EXIF writes times.
std::string ExifTime(std::time_t time);

// A short animation of a ball bouncing over a field, `frames` frames.
std::vector<Pixels> BouncingBallFrames(int width, int height, int frames);

// Black on white, for the one-bit formats: a ring and the name.
Pixels OneBitLogo(int width, int height, const std::string& name);

// A badge on a transparent background, with a half-transparent band across it.
Pixels TransparentBadge(int width, int height, const std::string& name);

}  // namespace demo
