// The WBMP decoder (type 0: one bit a pixel, 1 is white), delivering 8bppIndexed with a black and
// white palette.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/core/debug.h"
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/wbmp/wbmp_header.h"

namespace platform::imaging {
namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr ARGB kBlack = 0xFF000000u;
constexpr ARGB kWhite = 0xFFFFFFFFu;

void ExpandBits(const std::uint8_t* bits, std::uint8_t* dest, int width) {
    for (int x = 0; x < width; ++x) {
        dest[x] = static_cast<std::uint8_t>((bits[x >> 3] >> (7 - (x & 7))) & 1);
    }
}

class WbmpDecoder final : public PictureDecoder {
  public:
    WbmpDecoder(std::shared_ptr<ByteSource> source, const wbmp::Header& layout)
        : source_(std::move(source)), layout_(layout) {
        header_.format = RawFormat::Wbmp;
        header_.width = layout.width;
        header_.height = layout.height;
        header_.pixelFormat = PixelFormat8bppIndexed;
        header_.flags = ImageFlagsColorSpaceGRAY | ImageFlagsHasRealPixelSize;
    }

    const PictureHeader& Header() const override { return header_; }

    HRESULT Decode(const DecodeRequest& request, PixelBuffer* out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (request.frame != 0) {
            return E_INVALIDARG;
        }
        try {
            return DecodeRows(out);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

  private:
    HRESULT DecodeRows(PixelBuffer* out) const {
        PixelBuffer pixels;
        // Zeroed: rows a short file lacks stay black.
        const HRESULT hr = PixelBuffer::Allocate(layout_.width, layout_.height,
                                                 PixelFormat8bppIndexed, &pixels, true);
        if (FAILED(hr)) {
            return hr;
        }
        pixels.ColorTable().entries = {kBlack, kWhite};
        pixels.ColorTable().flags = PALFLAG_GRAYSCALE;

        const std::size_t rowBytes = static_cast<std::size_t>(layout_.rowBytes);
        const int rowsPerBlock = static_cast<int>(std::clamp<std::size_t>(
            kBlockBytes / rowBytes, 1, static_cast<std::size_t>(layout_.height)));
        std::vector<std::uint8_t> block(rowBytes * static_cast<std::size_t>(rowsPerBlock));
        std::uint64_t offset = layout_.headerBytes;
        int y = 0;
        while (y < layout_.height) {
            const int rows = std::min(rowsPerBlock, layout_.height - y);
            const std::size_t wanted = rowBytes * static_cast<std::size_t>(rows);
            const std::size_t got = source_->ReadAt(offset, block.data(), wanted);
            offset += got;
            // A partial last row shows what it has, its missing bits black.
            std::memset(block.data() + got, 0, wanted - got);
            const int whole = static_cast<int>((got + rowBytes - 1) / rowBytes);
            for (int i = 0; i < whole; ++i) {
                ExpandBits(block.data() + rowBytes * static_cast<std::size_t>(i),
                           pixels.View().Row(y + i), layout_.width);
            }
            y += whole;
            if (got < wanted) {
                NKDbgPrintfW(u"WBMP: the file ends after %d of %d rows; the rest is black\r\n", y,
                             layout_.height);
                break;
            }
        }
        *out = std::move(pixels);
        return S_OK;
    }

    std::shared_ptr<ByteSource> source_;
    wbmp::Header layout_;
    PictureHeader header_;
};

}  // namespace

HRESULT OpenWbmpDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    out->reset();
    if (!source) {
        return E_INVALIDARG;
    }
    std::uint8_t head[16] = {};
    const std::size_t got = source->ReadAt(0, head, sizeof head);
    wbmp::Header header;
    if (!wbmp::ParseHeader({head, got}, &header)) {
        NKDbgPrintfW(u"WBMP: not a type 0 WBMP header\r\n");
        return E_FAIL;
    }
    *out = std::make_unique<WbmpDecoder>(std::move(source), header);
    return S_OK;
}

}  // namespace platform::imaging
