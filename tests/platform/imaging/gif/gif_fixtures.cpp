#include "tests/platform/imaging/gif/gif_fixtures.h"

namespace gif_tests {

std::vector<std::string> AnimationArgs(const AnimationPlan& plan, const std::string& path) {
    const std::vector<std::vector<std::string>> frames = {
        {plan.firstFramePartial ? "24x18+2+2" : "20x14+0+0", "(", "-size", "20x14",
         "gradient:red-blue", ")"},
        {"+3+2", "(", "-size", "8x6", "xc:lime", ")"},
        {"+9+5", "(", "-size", "6x6", "xc:yellow", "-fill", "black", "-draw", "rectangle 1,1 3,3",
         "-transparent", "black", ")"},
        {"+1+8", "(", "-size", "12x4", "gradient:white-black", ")"},
    };
    std::vector<std::string> args;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        args.insert(args.end(), {"-dispose", plan.dispose[i], "-delay",
                                 std::to_string(kAnimationDelays[i]), "-page"});
        args.insert(args.end(), frames[i].begin(), frames[i].end());
    }
    if (plan.interlaced)
        args.insert(args.end(), {"-interlace", "GIF"});
    args.insert(args.end(), {"-loop", "0", path});
    return args;
}

}  // namespace gif_tests
