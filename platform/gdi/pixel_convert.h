// Row conversion between pixel formats: chosen once per operation, then called once per row.
#pragma once

#include <cstdint>

#include "platform/gdi/pixel_format.h"

namespace platform {

// Converts `count` pixels. Same-format conversion is a memmove, so a row may overlap itself.
using ConvertRowFn = void (*)(const std::uint8_t* source, std::uint8_t* dest, int count);
ConvertRowFn RowConverter(PixelFormat from, PixelFormat to);

}  // namespace platform
