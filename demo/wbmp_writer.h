// The wireless bitmap (WBMP type 0): one bit a pixel, 1 white, rows padded to a byte.
#pragma once

#include <cstdint>
#include <vector>

#include "demo/pixels.h"

namespace demo {

// Pixels whose brightness reaches half become white, the rest black.
std::vector<std::uint8_t> EncodeWbmp(const Pixels& pixels);

}  // namespace demo
