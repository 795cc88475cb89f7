// One libpng read of a picture from a byte source: the read structures, owned, and the header.
#pragma once

#include <cstdint>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/codec/png/png_guard.h"

namespace platform::imaging::png_support {

class PngReader {
  public:
    explicit PngReader(const ByteSource& source);
    ~PngReader();
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Reads the chunks up to the image data; false (with Error()) for a file libpng refuses.
    bool ReadHeader();
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }
    const char* Error() const { return errors_.text[0] ? errors_.text : "cannot be read"; }

    // libpng's io pointer: where the next read starts.
    struct Cursor {
        const ByteSource* source;
        std::uint64_t offset;
    };

  private:
    PngErrors errors_;
    Cursor cursor_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace platform::imaging::png_support
