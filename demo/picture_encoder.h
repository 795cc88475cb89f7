// Encodes demo pixels with the platform imaging service's own encoders (JPEG, PNG, BMP) into
// memory, so the bytes can be changed (EXIF added) before they are written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo/pixels.h"

namespace demo {

enum class EncodedFormat { Jpeg, Png, Bmp };

// The encoded file; empty with `error` set when the service refused. `keepAlpha` passes the
// pixels' alpha on (PNG); otherwise they are encoded as opaque. `quality` is for JPEG.
std::vector<std::uint8_t> EncodePixels(const Pixels& pixels, EncodedFormat format, bool keepAlpha,
                                       int quality, std::string& error);

}  // namespace demo
