// The PNG encoder: alpha pictures as RGBA, indexed pictures as palette PNGs (with tRNS when the
// palette has alpha), everything else as 8-bit RGB. Rows are converted one at a time.
#include <algorithm>
#include <new>
#include <vector>

#include "platform/core/debug.h"
#include "platform/imaging/codec/encoder.h"
#include "platform/imaging/codec/png/png_guard.h"
#include "platform/imaging/pixels/convert.h"

namespace platform::imaging {
namespace {

using png_support::PngErrors;
using png_support::RunGuarded;

// zlib level 6: nearly the smallest files at a fraction of level 9's time.
constexpr int kCompressionLevel = 6;

class PngWriteHandle {
  public:
    explicit PngWriteHandle(PngErrors* errors) {
        png_ = png_create_write_struct_2(PNG_LIBPNG_VER_STRING, errors, png_support::OnPngError,
                                         png_support::OnPngWarning, nullptr,
                                         png_support::BoundedMalloc, png_support::FreeMemory);
        if (png_ != nullptr)
            info_ = png_create_info_struct(png_);
    }
    ~PngWriteHandle() {
        if (png_ != nullptr)
            png_destroy_write_struct(&png_, info_ != nullptr ? &info_ : nullptr);
    }
    PngWriteHandle(const PngWriteHandle&) = delete;
    PngWriteHandle& operator=(const PngWriteHandle&) = delete;

    bool Valid() const { return png_ != nullptr && info_ != nullptr; }
    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

  private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Everything the guarded write needs, prepared beforehand so the step allocates nothing.
struct WriteJob {
    RasterView pixels;
    PixelFormatID rowFormat = PixelFormat24bppRGB;  // what libpng is handed (B,G,R[,A] order)
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    png_color colors[256] = {};
    png_byte alphas[256] = {};
    int colorCount = 0;
    int alphaCount = 0;
    std::uint8_t* rowBuffer = nullptr;  // null when source rows are written as they are
};

void WriteToSink(png_structp png, png_bytep data, size_t length) {
    auto* sink = static_cast<ByteSink*>(png_get_io_ptr(png));
    if (!sink->Write(data, length))
        png_error(png, "the destination refused the bytes");
}

void FlushNothing(png_structp) {}

void WriteStep(png_structp png, png_infop info, void* context) {
    auto* job = static_cast<WriteJob*>(context);
    const RasterView& pixels = job->pixels;
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width),
                 static_cast<png_uint_32>(pixels.height), job->bitDepth, job->colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (job->colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, job->colors, job->colorCount);
        if (job->alphaCount > 0)
            png_set_tRNS(png, info, job->alphas, job->alphaCount, nullptr);
    }
    png_set_compression_level(png, kCompressionLevel);
    png_write_info(png, info);
    if (job->colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_packing(png);
    else
        png_set_bgr(png);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* row = pixels.Row(y);
        if (job->rowBuffer != nullptr) {
            ConvertRow(row, pixels.format, pixels.palette, job->rowBuffer, job->rowFormat,
                       pixels.width);
            row = job->rowBuffer;
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
}

// The palette written covers every index the pixels use (missing entries black), at the
// smallest bit depth that holds it; tRNS lists alphas up to the last translucent entry.
void PreparePalette(const RasterView& pixels, WriteJob* job) {
    int highest = 0;
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* row = pixels.Row(y);
        highest = std::max(highest, int{*std::max_element(row, row + pixels.width)});
    }
    const std::size_t defined = pixels.palette != nullptr ? pixels.palette->entries.size() : 0;
    job->colorCount = std::clamp(static_cast<int>(defined), highest + 1, 256);
    for (int i = 0; i < job->colorCount; ++i) {
        const ARGB color =
            static_cast<std::size_t>(i) < defined ? pixels.palette->entries[i] : 0xFF000000u;
        job->colors[i] = {static_cast<png_byte>(color >> 16), static_cast<png_byte>(color >> 8),
                          static_cast<png_byte>(color)};
        job->alphas[i] = static_cast<png_byte>(color >> 24);
        if (job->alphas[i] != 0xFF)
            job->alphaCount = i + 1;
    }
    job->bitDepth = job->colorCount <= 2    ? 1
                    : job->colorCount <= 4  ? 2
                    : job->colorCount <= 16 ? 4
                                            : 8;
}

}  // namespace

HRESULT EncodePng(const RasterView& pixels, const EncodeOptions&, ByteSink& sink) {
    if (pixels.Empty() || !IsStoredPixelFormat(pixels.format))
        return E_INVALIDARG;
    WriteJob job;
    job.pixels = pixels;
    if (pixels.format == PixelFormat8bppIndexed) {
        job.colorType = PNG_COLOR_TYPE_PALETTE;
        job.rowFormat = PixelFormat8bppIndexed;
        PreparePalette(pixels, &job);
    } else if (IsAlphaPixelFormat(pixels.format)) {
        job.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
        job.rowFormat = PixelFormat32bppARGB;
    }
    std::vector<std::uint8_t> rowBuffer;
    if (pixels.format != job.rowFormat) {
        try {
            rowBuffer.resize(static_cast<std::size_t>(pixels.width) *
                             StoredBytesPerPixel(job.rowFormat));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        job.rowBuffer = rowBuffer.data();
    }

    PngErrors errors;
    PngWriteHandle handle(&errors);
    if (!handle.Valid())
        return E_OUTOFMEMORY;
    png_set_write_fn(handle.Png(), &sink, WriteToSink, FlushNothing);
    if (!RunGuarded(handle.Png(), handle.Info(), WriteStep, &job)) {
        NKDbgPrintfW(u"EncodePng: %hs\n", errors.text);
        return E_FAIL;
    }
    return S_OK;
}

}  // namespace platform::imaging
