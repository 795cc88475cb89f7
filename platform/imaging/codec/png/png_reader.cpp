#include "platform/imaging/codec/png/png_reader.h"

namespace platform::imaging::png_support {
namespace {

void ReadFromSource(png_structp png, png_bytep data, size_t length) {
    auto* cursor = static_cast<PngReader::Cursor*>(png_get_io_ptr(png));
    const std::size_t got = cursor->source->ReadAt(cursor->offset, data, length);
    cursor->offset += got;
    if (got != length)
        png_error(png, "the file is cut short");
}

void ReadInfoStep(png_structp png, png_infop info, void*) {
    png_read_info(png, info);
}

}  // namespace

PngReader::PngReader(const ByteSource& source) : cursor_{&source, 0} {
    png_ = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &errors_, OnPngError, OnPngWarning,
                                    nullptr, BoundedMalloc, FreeMemory);
    if (png_ == nullptr)
        return;
    info_ = png_create_info_struct(png_);
    png_set_read_fn(png_, &cursor_, ReadFromSource);
    LimitMemory(png_);
    // Image data is read in small pieces, so a file cut short loses at most this much of what
    // arrived: libpng cannot use a piece that comes back incomplete.
    png_set_compression_buffer_size(png_, 1024);
}

PngReader::~PngReader() {
    if (png_ != nullptr)
        png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
}

bool PngReader::ReadHeader() {
    return png_ != nullptr && info_ != nullptr && RunGuarded(png_, info_, ReadInfoStep, nullptr);
}

}  // namespace platform::imaging::png_support
