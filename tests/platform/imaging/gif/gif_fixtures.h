// The animations the GIF tests are made of, written by ImageMagick: a full first frame, then
// partial frames with offsets, one with transparent pixels, each with its own disposal.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace gif_tests {

struct AnimationPlan {
    std::array<const char*, 4> dispose = {"None", "None", "None", "None"};
    bool interlaced = false;
    bool firstFramePartial = false;  // frame 0 covers only part of the screen
};

// ImageMagick arguments for the animation, ending with the output path.
std::vector<std::string> AnimationArgs(const AnimationPlan& plan, const std::string& path);

// The delays the animation is written with, in 1/100 s.
inline const std::vector<unsigned> kAnimationDelays = {10, 20, 0, 5};

}  // namespace gif_tests
