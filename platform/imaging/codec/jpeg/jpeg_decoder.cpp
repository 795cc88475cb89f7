// The JPEG PictureDecoder: reads the header when opened and decodes on request, at the smallest
// DCT scale that still covers the requested size, straight into the caller's pixel format where
// libjpeg can write it.
#include <memory>
#include <vector>

#include "platform/core/debug.h"
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/jpeg/jpeg_decompress.h"
#include "platform/imaging/codec/jpeg/jpeg_output.h"
#include "platform/imaging/imaging.h"

namespace platform::imaging {
namespace {

using jpeg::DecompressSession;

void ReportFailure(DecompressSession& session, const char* step) {
    char text[JMSG_LENGTH_MAX];
    jpeg::FailureText(reinterpret_cast<j_common_ptr>(&session.info), text);
    NKDbgPrintfW(u"JPEG %hs failed: %hs\n", step, text);
}

// A session whose header has been read; E_FAIL (or E_OUTOFMEMORY) when it cannot be.
HRESULT OpenSession(const ByteSource& source, std::unique_ptr<DecompressSession>* out) {
    auto session = std::make_unique<DecompressSession>(source, platform::ImagingMemoryBudget());
    if (!jpeg::ReadHeader(session.get())) {
        ReportFailure(*session, "header");
        const HRESULT hr = jpeg::FailureResult(session->trap);
        return hr == E_OUTOFMEMORY ? hr : E_FAIL;
    }
    *out = std::move(session);
    return S_OK;
}

PictureHeader HeaderOf(const jpeg_decompress_struct& info) {
    PictureHeader header;
    header.format = RawFormat::Jpeg;
    header.width = static_cast<int>(info.image_width);
    header.height = static_cast<int>(info.image_height);
    header.pixelFormat = PixelFormat24bppRGB;
    header.flags = ImageFlagsHasRealPixelSize |
                   (info.jpeg_color_space == JCS_GRAYSCALE ? ImageFlagsColorSpaceGRAY
                                                           : ImageFlagsColorSpaceRGB);
    // JFIF density: unit 1 is dots per inch, 2 dots per centimetre, 0 only an aspect ratio.
    const double perInch = info.density_unit == 1 ? 1.0 : info.density_unit == 2 ? 2.54 : 0.0;
    if (info.saw_JFIF_marker && perInch > 0 && info.X_density > 0 && info.Y_density > 0) {
        header.xdpi = info.X_density * perInch;
        header.ydpi = info.Y_density * perInch;
        header.flags |= ImageFlagsHasRealDPI;
    }
    header.frameCount = 1;
    return header;
}

class JpegDecoder final : public PictureDecoder {
  public:
    JpegDecoder(std::shared_ptr<ByteSource> source, const PictureHeader& header)
        : source_(std::move(source)), header_(header) {}

    const PictureHeader& Header() const override { return header_; }

    HRESULT Decode(const DecodeRequest& request, PixelBuffer* out) override {
        if (out == nullptr || request.frame != 0 || request.minWidth < 0 || request.minHeight < 0)
            return E_INVALIDARG;
        // Each decode reads the header again: cheaper than keeping libjpeg's state and a read
        // buffer alive for every picture a caller holds open.
        std::unique_ptr<DecompressSession> session;
        HRESULT hr = OpenSession(*source_, &session);
        if (SUCCEEDED(hr))
            hr = DecodeWith(*session, request, out);
        if (FAILED(hr))
            *out = PixelBuffer();
        return hr;
    }

  private:
    HRESULT DecodeWith(DecompressSession& session, const DecodeRequest& request, PixelBuffer* out);

    std::shared_ptr<ByteSource> source_;
    PictureHeader header_;
    std::vector<JSAMPLE> scratch_;  // CMYK rows, reused across decodes
};

HRESULT JpegDecoder::DecodeWith(DecompressSession& session, const DecodeRequest& request,
                                PixelBuffer* out) {
    jpeg_decompress_struct& info = session.info;
    const jpeg::ScaleChoice scale =
        jpeg::ChooseScale(header_.width, header_.height, request.minWidth, request.minHeight);
    // The preferred format only pays when the caller takes the rows as they are; a picture that
    // will be resampled keeps full 8-bit channels (libjpeg's RGB565 output is no faster anyway).
    const bool exact = (request.minWidth == 0 && request.minHeight == 0) ||
                       (scale.width == request.minWidth && scale.height == request.minHeight);
    const jpeg::OutputChoice output =
        jpeg::ChooseOutput(info.jpeg_color_space, exact ? request.preferred : PixelFormatDontCare);
    // At 1/4 and below the reduced inverse DCT already averages the chroma, so smooth upsampling
    // costs time without a visible gain.
    const jpeg::OutputSettings settings{output.colorSpace, scale.numerator, scale.numerator > 2};
    if (!jpeg::ComputeOutput(&session, &settings)) {
        ReportFailure(session, "setup");
        return jpeg::FailureResult(session.trap);
    }
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const std::size_t coefficients = jpeg::WholeImageCoefficientBytes(info);
    if (coefficients > 0 &&
        coefficients + PixelBuffer::BytesFor(width, height, output.format) > session.memoryLimit)
        return E_OUTOFMEMORY;
    HRESULT hr = PixelBuffer::Allocate(width, height, output.format, out);
    if (FAILED(hr))
        return hr;

    jpeg::RowTarget target;
    target.top = out->Data();
    target.stride = out->Stride();
    if (output.convert != nullptr) {
        target.convert = output.convert;
        target.inverted = info.saw_Adobe_marker != 0;
        target.scratchStride = static_cast<std::size_t>(width) * 4;
        scratch_.resize(target.scratchStride * jpeg::kScratchRows);
        target.scratch = scratch_.data();
    }
    if (!jpeg::StartDecompress(&session) || !jpeg::ReadRows(&session, &target)) {
        ReportFailure(session, "decode");
        return jpeg::FailureResult(session.trap);
    }
    if (session.reader.Truncated())
        NKDbgPrintfW(u"JPEG decode: the file ends early; the rest of the picture is grey\n");
    else if (session.trap.warnings > 0)
        NKDbgPrintfW(u"JPEG decode: %d warnings about corrupt data\n", session.trap.warnings);
    return S_OK;
}

}  // namespace

bool LooksLikeJpeg(std::span<const std::uint8_t> head) {
    return head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
}

HRESULT OpenJpegDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out) {
    if (source == nullptr || out == nullptr)
        return E_INVALIDARG;
    std::unique_ptr<DecompressSession> session;
    const HRESULT hr = OpenSession(*source, &session);
    if (FAILED(hr))
        return hr;
    // Components libjpeg cannot turn into colours (two, or five and more) are not a picture.
    if (session->info.jpeg_color_space == JCS_UNKNOWN) {
        NKDbgPrintfW(u"JPEG header: %d components of unknown colour\n",
                     session->info.num_components);
        return E_FAIL;
    }
    const PictureHeader header = HeaderOf(session->info);
    *out = std::make_unique<JpegDecoder>(std::move(source), header);
    return S_OK;
}

}  // namespace platform::imaging
