#include "demo/gif_writer.h"

#include <gif_lib.h>

#include <memory>

namespace demo {

namespace {

constexpr int kLevels = 6;  // per channel, so 216 of the 256 palette entries are used

int Level(std::uint32_t channel) {
    return static_cast<int>((channel * (kLevels - 1) + 127) / 255);
}

GifByteType PaletteIndex(std::uint32_t argb) {
    const int r = Level((argb >> 16) & 0xFF), g = Level((argb >> 8) & 0xFF), b = Level(argb & 0xFF);
    return static_cast<GifByteType>((r * kLevels + g) * kLevels + b);
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

std::unique_ptr<ColorMapObject, MapDeleter> CubePalette() {
    GifColorType colours[256] = {};
    for (int i = 0; i < kLevels * kLevels * kLevels; ++i) {
        const auto step = [](int level) {
            return static_cast<GifByteType>(level * 255 / (kLevels - 1));
        };
        colours[i] = {step(i / (kLevels * kLevels)), step(i / kLevels % kLevels),
                      step(i % kLevels)};
    }
    return std::unique_ptr<ColorMapObject, MapDeleter>(GifMakeMapObject(256, colours));
}

int Append(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

// Writes everything after the screen descriptor; false at the first failing call.
bool WriteFrames(GifFileType* gif, const std::vector<Pixels>& frames, int delay) {
    GifByteType loop[3] = {1, 0, 0};  // sub-block 1: repeat count 0, forever
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 3, loop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif) == GIF_ERROR)
        return false;
    const int width = frames.front().width, height = frames.front().height;
    std::vector<GifByteType> row(static_cast<std::size_t>(width));
    for (const Pixels& frame : frames) {
        if (frame.width != width || frame.height != height)
            return false;
        GraphicsControlBlock control{DISPOSE_DO_NOT, false, delay, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR ||
            EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_ERROR)
            return false;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                row[x] = PaletteIndex(frame.At(x, y));
            if (EGifPutLine(gif, row.data(), width) == GIF_ERROR)
                return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeAnimatedGif(const std::vector<Pixels>& frames,
                                            int delayCentiseconds, std::string& error) {
    if (frames.empty() || frames.front().width <= 0 || frames.front().height <= 0) {
        error = "no frames to write";
        return {};
    }
    std::vector<std::uint8_t> out;
    int status = 0;
    GifFileType* gif = EGifOpen(&out, Append, &status);
    if (!gif) {
        error = std::string("GIF writer: ") + GifErrorString(status);
        return {};
    }
    EGifSetGifVersion(gif, true);
    const auto palette = CubePalette();
    bool written = palette && EGifPutScreenDesc(gif, frames.front().width, frames.front().height, 8,
                                                0, palette.get()) != GIF_ERROR;
    written = written && WriteFrames(gif, frames, delayCentiseconds);
    if (!written)
        status = gif->Error;
    // Closing writes the trailer; it frees `gif` whatever it answers.
    if (EGifCloseFile(gif, &status) == GIF_ERROR || !written) {
        error = std::string("GIF writer: ") + (status ? GifErrorString(status) : "bad frame");
        return {};
    }
    return out;
}

}  // namespace demo
