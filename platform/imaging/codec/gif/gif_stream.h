// A GIF file read record by record with giflib, straight from a byte source: images one after
// another, with the extensions that come before each. Nothing is kept beyond the current image.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <memory>

#include "platform/imaging/codec/byte_source.h"

namespace platform::imaging::gif_support {

// How an image is shown, from the Graphics Control Extension before it.
struct GifControl {
    int disposal = DISPOSAL_UNSPECIFIED;
    int transparent = NO_TRANSPARENT_COLOR;
    unsigned delay = 0;  // 1/100 s
};

class GifStream {
  public:
    // Reads the screen descriptor and global colour map; null when the file is not a GIF.
    static std::unique_ptr<GifStream> Open(const ByteSource& source);
    explicit GifStream(const ByteSource& source) : cursor_{&source, 0} {}
    ~GifStream();
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    // Moves to the next image's descriptor; false at the end of the file or on bad data.
    bool NextImage(GifControl* control);
    // The current image's rows, in file order (interlaced images come in four passes).
    bool ReadLine(std::uint8_t* line, int width);
    // Steps over the current image's data without decompressing it.
    bool SkipImageData();

    const GifFileType& File() const { return *file_; }
    // The NETSCAPE2.0 loop count seen so far (0 = for ever); -1 when none was given.
    int LoopCount() const { return loopCount_; }

  private:
    bool ReadExtension(GifControl* control);

  public:
    struct Cursor {
        const ByteSource* source;
        std::uint64_t offset;
    };

  private:
    Cursor cursor_;
    GifFileType* file_ = nullptr;
    int loopCount_ = -1;
};

}  // namespace platform::imaging::gif_support
