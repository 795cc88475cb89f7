// The PNG decoder: every colour type and depth, delivered as 8bppIndexed (palette files),
// 32bppARGB (alpha channel or transparency) or 24bppRGB. PNG has no cheap reduced-scale decode,
// so pictures always come at full size.
#include <cstring>

#include "platform/core/debug.h"
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/png/png_reader.h"

namespace platform::imaging {
namespace {

using png_support::PngReader;
using png_support::RunGuarded;

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct PngLayout {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    bool hasTransparency = false;  // a tRNS chunk

    bool IsPalette() const { return colorType == PNG_COLOR_TYPE_PALETTE; }
    bool IsGrey() const { return (colorType & PNG_COLOR_MASK_COLOR) == 0; }
    bool HasAlpha() const { return (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTransparency; }
    PixelFormatID Delivered() const {
        if (IsPalette())
            return PixelFormat8bppIndexed;
        return HasAlpha() ? PixelFormat32bppARGB : PixelFormat24bppRGB;
    }
};

PngLayout LayoutOf(png_structp png, png_infop info) {
    PngLayout layout;
    png_get_IHDR(png, info, &layout.width, &layout.height, &layout.bitDepth, &layout.colorType,
                 nullptr, nullptr, nullptr);
    layout.hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    return layout;
}

// Transformations to our delivered formats. gAMA, cHRM and iCCP are left alone on purpose: the
// gallery shows stored values as they are and does no colour management.
struct TransformJob {
    PngLayout layout;
    int passes = 1;
    std::size_t rowBytes = 0;
};

void SetTransformsStep(png_structp png, png_infop info, void* context) {
    auto* job = static_cast<TransformJob*>(context);
    const PngLayout& layout = job->layout;
    if (layout.IsPalette()) {
        png_set_packing(png);  // 1, 2 and 4-bit indexes become one byte each
    } else {
        if (layout.bitDepth == 16)
            png_set_scale_16(png);
        if (layout.IsGrey() && layout.bitDepth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        if (layout.hasTransparency)
            png_set_tRNS_to_alpha(png);
        if (layout.IsGrey())
            png_set_gray_to_rgb(png);
        png_set_bgr(png);
    }
    job->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    job->rowBytes = png_get_rowbytes(png, info);
}

struct RowsJob {
    RasterView view;
    int passes = 1;
    long rowsRead = 0;
};

// Adam7 pictures come in seven passes over the same rows; libpng fills in each pass's pixels.
void ReadRowsStep(png_structp png, png_infop, void* context) {
    auto* job = static_cast<RowsJob*>(context);
    for (int pass = 0; pass < job->passes; ++pass) {
        for (int y = 0; y < job->view.height; ++y) {
            png_read_row(png, job->view.Row(y), nullptr);
            ++job->rowsRead;
        }
    }
}

// The palette, padded to every index the bit depth can hold so that no stored index points
// past its end (a file may use indexes its PLTE does not define; those show black).
void ReadPalette(png_structp png, png_infop info, int bitDepth, Palette* palette) {
    png_colorp colors = nullptr;
    int colorCount = 0;
    png_get_PLTE(png, info, &colors, &colorCount);
    png_bytep alphas = nullptr;
    int alphaCount = 0;
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0)
        png_get_tRNS(png, info, &alphas, &alphaCount, nullptr);
    const int size = 1 << bitDepth;
    palette->entries.assign(size, 0xFF000000u);
    for (int i = 0; i < colorCount && i < size; ++i) {
        const ARGB alpha = (alphas != nullptr && i < alphaCount) ? alphas[i] : 0xFF;
        palette->entries[i] =
            alpha << 24 | ARGB{colors[i].red} << 16 | ARGB{colors[i].green} << 8 | colors[i].blue;
    }
    palette->flags = alphaCount > 0 ? PALFLAG_HASALPHA : 0;
}

class PngDecoder final : public PictureDecoder {
  public:
    PngDecoder(std::shared_ptr<ByteSource> source, const PictureHeader& header)
        : source_(std::move(source)), header_(header) {}

    const PictureHeader& Header() const override { return header_; }

    HRESULT Decode(const DecodeRequest& request, PixelBuffer* out) override {
        if (request.frame != 0)
            return E_INVALIDARG;
        PngReader reader(*source_);
        if (!reader.ReadHeader())
            return Fail(reader.Error());
        TransformJob transform{LayoutOf(reader.Png(), reader.Info())};
        if (!RunGuarded(reader.Png(), reader.Info(), SetTransformsStep, &transform))
            return Fail(reader.Error());
        const PixelFormatID format = transform.layout.Delivered();
        const int width = static_cast<int>(transform.layout.width);
        if (transform.rowBytes != static_cast<std::size_t>(width) * StoredBytesPerPixel(format))
            return Fail("unexpected row layout");

        PixelBuffer pixels;
        const HRESULT allocated = PixelBuffer::Allocate(
            width, static_cast<int>(transform.layout.height), format, &pixels, true);
        if (FAILED(allocated))
            return allocated;
        if (transform.layout.IsPalette())
            ReadPalette(reader.Png(), reader.Info(), transform.layout.bitDepth,
                        &pixels.ColorTable());
        RowsJob rows{pixels.View(), transform.passes};
        if (!RunGuarded(reader.Png(), reader.Info(), ReadRowsStep, &rows)) {
            // A picture cut short shows what arrived; one with no row at all is a failure.
            if (rows.rowsRead == 0)
                return Fail(reader.Error());
            NKDbgPrintfW(u"PNG: %hs; showing the rows read\n", reader.Error());
        }
        *out = std::move(pixels);
        return S_OK;
    }

  private:
    static HRESULT Fail(const char* why) {
        NKDbgPrintfW(u"PNG: %hs\n", why);
        return E_FAIL;
    }

    std::shared_ptr<ByteSource> source_;
    PictureHeader header_;
};

PictureHeader HeaderFrom(png_structp png, png_infop info) {
    const PngLayout layout = LayoutOf(png, info);
    PictureHeader header;
    header.format = RawFormat::Png;
    header.width = static_cast<int>(layout.width);
    header.height = static_cast<int>(layout.height);
    header.pixelFormat = layout.Delivered();
    header.flags = ImageFlagsHasRealPixelSize |
                   (layout.IsGrey() ? ImageFlagsColorSpaceGRAY : ImageFlagsColorSpaceRGB);
    if (layout.HasAlpha())
        header.flags |= ImageFlagsHasAlpha;
    png_uint_32 xPerUnit = 0, yPerUnit = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &xPerUnit, &yPerUnit, &unit) != 0 && unit == PNG_RESOLUTION_METER &&
        xPerUnit > 0 && yPerUnit > 0) {
        constexpr double kMetresPerInch = 0.0254;
        header.xdpi = xPerUnit * kMetresPerInch;
        header.ydpi = yPerUnit * kMetresPerInch;
        header.flags |= ImageFlagsHasRealDPI;
    }
    return header;
}

}  // namespace

bool LooksLikePng(std::span<const std::uint8_t> head) {
    return head.size() >= sizeof(kSignature) &&
           std::memcmp(head.data(), kSignature, sizeof(kSignature)) == 0;
}

HRESULT OpenPngDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out) {
    if (source == nullptr || out == nullptr)
        return E_INVALIDARG;
    std::uint8_t head[sizeof(kSignature)] = {};
    const std::size_t got = source->ReadAt(0, head, sizeof(head));
    if (!LooksLikePng(std::span(head, got)))
        return E_FAIL;
    PngReader reader(*source);
    if (!reader.ReadHeader()) {
        NKDbgPrintfW(u"PNG: %hs\n", reader.Error());
        return E_FAIL;
    }
    const PictureHeader header = HeaderFrom(reader.Png(), reader.Info());
    *out = std::make_unique<PngDecoder>(std::move(source), header);
    return S_OK;
}

}  // namespace platform::imaging
