// An animated GIF from demo frames, written with giflib: a 6x6x6 colour cube as the global
// palette, a delay on every frame and the looping extension browsers and viewers honour.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo/pixels.h"

namespace demo {

// Frames must all be the size of the first. Empty with `error` set on failure.
std::vector<std::uint8_t> EncodeAnimatedGif(const std::vector<Pixels>& frames,
                                            int delayCentiseconds, std::string& error);

}  // namespace demo
