// The BMP decoder: headers read when opened, pixels decoded on request row by row from the file,
// in the decoder's own format or straight into a caller's opaque format.
#include <cstring>
#include <new>

#include "platform/core/debug.h"
#include "platform/imaging/codec/bmp/bmp_layout.h"
#include "platform/imaging/codec/bmp/bmp_rle.h"
#include "platform/imaging/codec/bmp/bmp_rows.h"
#include "platform/imaging/codec/bmp/chunk_reader.h"
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/pixels/convert.h"

namespace platform::imaging {
namespace {

// The caller's format when rows can be converted into it on the way; alpha pictures keep their
// own format for alpha targets, so the all-transparent repair below happens before any
// premultiplying.
PixelFormatID TargetFormat(const bmp::Layout& layout, PixelFormatID preferred) {
    const PixelFormatID natural = bmp::NaturalPixelFormat(layout);
    if (preferred == PixelFormatDontCare || preferred == natural ||
        !IsStoredPixelFormat(preferred) || IsIndexedPixelFormat(preferred) ||
        (layout.HasAlpha() && IsAlphaPixelFormat(preferred)) || !CanConvert(natural, preferred)) {
        return natural;
    }
    return preferred;
}

void ZeroRows(const RasterView& view, int from, int to) {
    const std::size_t bytes =
        static_cast<std::size_t>(view.width) * StoredBytesPerPixel(view.format);
    for (int y = from; y < to; ++y) {
        std::memset(view.Row(y), 0, bytes);
    }
}

// A picture whose alpha mask is set but whose alpha is zero everywhere was written by a program
// that did not fill the channel in; showing it as invisible would lose the picture.
void MakeOpaque(const RasterView& view) {
    for (int y = 0; y < view.height; ++y) {
        std::uint8_t* p = view.Row(y);
        for (int x = 0; x < view.width; ++x) {
            p[x * 4 + 3] = 0xFF;
        }
    }
}

class BmpDecoder final : public PictureDecoder {
  public:
    BmpDecoder(std::shared_ptr<ByteSource> source, bmp::Layout layout)
        : source_(std::move(source)), layout_(std::move(layout)) {
        header_.format = RawFormat::Bmp;
        header_.width = layout_.width;
        header_.height = layout_.height;
        header_.pixelFormat = bmp::HeaderPixelFormat(layout_);
        header_.flags = ImageFlagsColorSpaceRGB | ImageFlagsHasRealPixelSize |
                        (layout_.HasAlpha() ? ImageFlagsHasAlpha : 0u) |
                        (layout_.realDpi ? ImageFlagsHasRealDPI : 0u);
        header_.xdpi = layout_.xdpi;
        header_.ydpi = layout_.ydpi;
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
            return layout_.compression == bmp::Compression::Rle8 ||
                           layout_.compression == bmp::Compression::Rle4
                       ? DecodeRunLengths(out)
                       : DecodeRows(TargetFormat(layout_, request.preferred), out);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

  private:
    HRESULT Allocate(PixelFormatID format, bool zero, PixelBuffer* pixels) const {
        const HRESULT hr =
            PixelBuffer::Allocate(layout_.width, layout_.height, format, pixels, zero);
        if (SUCCEEDED(hr) && format == PixelFormat8bppIndexed) {
            pixels->ColorTable().entries = layout_.palette;
            pixels->ColorTable().flags = 0;
        }
        return hr;
    }

    HRESULT DecodeRunLengths(PixelBuffer* out) const {
        PixelBuffer pixels;
        HRESULT hr = Allocate(PixelFormat8bppIndexed, true, &pixels);
        if (FAILED(hr)) {
            return hr;
        }
        if (!bmp::DecodeRle(*source_, layout_, pixels.View())) {
            NKDbgPrintfW(u"BMP: compressed pixels end early; the rest is left at index 0\r\n");
        }
        *out = std::move(pixels);
        return S_OK;
    }

    HRESULT DecodeRows(PixelFormatID format, PixelBuffer* out) const {
        PixelBuffer pixels;
        HRESULT hr = Allocate(format, false, &pixels);
        if (FAILED(hr)) {
            return hr;
        }
        const RasterView view = pixels.View();
        const PixelFormatID natural = bmp::NaturalPixelFormat(layout_);
        const std::size_t rowBytes = static_cast<std::size_t>(layout_.rowBytes);
        std::vector<std::uint8_t> converted;
        Palette palette;
        if (format != natural) {
            converted.resize(static_cast<std::size_t>(layout_.width) * 4);
            palette.entries = layout_.palette;
        }
        std::vector<std::uint8_t> partial;
        bmp::RowExpander expander(layout_);
        bmp::ChunkReader in(*source_, layout_.pixelOffset,
                            std::max(bmp::ChunkReader::kBlockBytes, rowBytes));
        int rows = 0;
        for (; rows < layout_.height; ++rows) {
            const std::uint8_t* stored = nullptr;
            const std::size_t got = in.Take(rowBytes, &stored);
            if (got < rowBytes) {
                // The last, partial row shows what it has; the missing bytes read as zero.
                if (got == 0) {
                    break;
                }
                partial.assign(rowBytes, 0);
                std::memcpy(partial.data(), stored, got);
                stored = partial.data();
            }
            std::uint8_t* dest = view.Row(layout_.topDown ? rows : layout_.height - 1 - rows);
            if (format == natural) {
                expander.Expand(stored, dest);
            } else {
                expander.Expand(stored, converted.data());
                ConvertRow(converted.data(), natural, &palette, dest, format, layout_.width);
            }
            if (got < rowBytes) {
                ++rows;
                break;
            }
        }
        if (rows < layout_.height) {
            NKDbgPrintfW(u"BMP: the file ends after %d of %d rows; the rest is black\r\n", rows,
                         layout_.height);
            const int missing = layout_.height - rows;
            if (layout_.topDown) {
                ZeroRows(view, rows, layout_.height);
            } else {
                ZeroRows(view, 0, missing);
            }
        }
        if (format == natural && layout_.HasAlpha() && !expander.SawAlpha()) {
            MakeOpaque(view);
        }
        *out = std::move(pixels);
        return S_OK;
    }

    std::shared_ptr<ByteSource> source_;
    bmp::Layout layout_;
    PictureHeader header_;
};

}  // namespace

bool LooksLikeBmp(std::span<const std::uint8_t> head) {
    return bmp::HasBmpSignature(head);
}

HRESULT OpenBmpDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    out->reset();
    if (!source) {
        return E_INVALIDARG;
    }
    bmp::Layout layout;
    const HRESULT hr = bmp::ReadLayout(*source, &layout);
    if (FAILED(hr)) {
        return hr;
    }
    *out = std::make_unique<BmpDecoder>(std::move(source), std::move(layout));
    return S_OK;
}

}  // namespace platform::imaging
