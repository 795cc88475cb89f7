#include "platform/imaging/codec/gif/gif_stream.h"

#include <cstring>

namespace platform::imaging::gif_support {
namespace {

int ReadFromSource(GifFileType* file, GifByteType* dest, int size) {
    auto* cursor = static_cast<GifStream::Cursor*>(file->UserData);
    if (size <= 0)
        return 0;
    const std::size_t got = cursor->source->ReadAt(cursor->offset, dest, size);
    cursor->offset += got;
    return static_cast<int>(got);
}

// The data sub-block after a NETSCAPE2.0 header: 1, then the loop count, little-endian.
bool LoopCountFrom(const GifByteType* block, int* loopCount) {
    if (block == nullptr || block[0] < 3 || block[1] != 1)
        return false;
    *loopCount = block[2] | block[3] << 8;
    return true;
}

}  // namespace

std::unique_ptr<GifStream> GifStream::Open(const ByteSource& source) {
    auto stream = std::make_unique<GifStream>(source);
    int error = 0;
    stream->file_ = DGifOpen(&stream->cursor_, ReadFromSource, &error);
    if (stream->file_ == nullptr)
        return nullptr;
    return stream;
}

GifStream::~GifStream() {
    int error = 0;
    if (file_ != nullptr)
        DGifCloseFile(file_, &error);
}

bool GifStream::NextImage(GifControl* control) {
    *control = GifControl{};
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(file_, &type) == GIF_ERROR)
            return false;
        if (type == IMAGE_DESC_RECORD_TYPE)
            return DGifGetImageDesc(file_) == GIF_OK;
        if (type != EXTENSION_RECORD_TYPE || !ReadExtension(control))
            return false;
    }
}

bool GifStream::ReadExtension(GifControl* control) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(file_, &code, &block) == GIF_ERROR)
        return false;
    bool netscape = false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] == 4) {
        GraphicsControlBlock gcb{};
        DGifExtensionToGCB(block[0], block + 1, &gcb);
        control->disposal = gcb.DisposalMode;
        control->transparent = gcb.TransparentColor;
        control->delay = static_cast<unsigned>(gcb.DelayTime);
    } else if (code == APPLICATION_EXT_FUNC_CODE && block != nullptr && block[0] == 11) {
        netscape = std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0;
    }
    while (block != nullptr) {
        if (DGifGetExtensionNext(file_, &block) == GIF_ERROR)
            return false;
        if (netscape && LoopCountFrom(block, &loopCount_))
            netscape = false;
    }
    return true;
}

bool GifStream::ReadLine(std::uint8_t* line, int width) {
    return DGifGetLine(file_, line, width) == GIF_OK;
}

bool GifStream::SkipImageData() {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(file_, &codeSize, &block) == GIF_ERROR)
        return false;
    while (block != nullptr) {
        if (DGifGetCodeNext(file_, &block) == GIF_ERROR)
            return false;
    }
    return true;
}

}  // namespace platform::imaging::gif_support
