// EncodeJpeg: 24-bit and 32-bit rows go to libjpeg as they are stored; other formats are
// converted a batch of rows at a time into one reused buffer. 4:2:0 chroma, the accurate integer
// DCT and the standard Huffman tables (no optimisation pass), as photographs are usually written.
#include <algorithm>
#include <memory>

#include "platform/core/debug.h"
#include "platform/imaging/codec/encoder.h"
#include "platform/imaging/codec/jpeg/jpeg_destination.h"
#include "platform/imaging/codec/jpeg/jpeg_error.h"
#include "platform/imaging/pixels/convert.h"

namespace platform::imaging {
namespace {

constexpr int kBatchRows = 16;
constexpr int kLargestSide = JPEG_MAX_DIMENSION;

struct CompressSession {
    explicit CompressSession(ByteSink& sink) : writer(sink) {}
    ~CompressSession() { jpeg_destroy_compress(&info); }
    CompressSession(const CompressSession&) = delete;
    CompressSession& operator=(const CompressSession&) = delete;

    jpeg_compress_struct info{};
    jpeg::ErrorTrap trap;
    jpeg::SinkWriter writer;
};

struct EncodeJob {
    RasterView pixels;
    int quality = 80;
    J_COLOR_SPACE colorSpace = JCS_EXT_BGR;
    int components = 3;
    std::uint8_t* converted = nullptr;  // kBatchRows rows of 24-bit pixels when converting
    std::size_t convertedStride = 0;
};

// Points `rows` at the next batch of stored rows, converting them first when the job says so.
JDIMENSION PrepareBatch(const EncodeJob& job, JDIMENSION first, JSAMPROW* rows) {
    const auto count = std::min<JDIMENSION>(kBatchRows, job.pixels.height - first);
    for (JDIMENSION i = 0; i < count; ++i) {
        std::uint8_t* stored = job.pixels.Row(static_cast<int>(first + i));
        if (job.converted == nullptr) {
            rows[i] = stored;
            continue;
        }
        rows[i] = job.converted + i * job.convertedStride;
        ConvertRow(stored, job.pixels.format, job.pixels.palette, rows[i], PixelFormat24bppRGB,
                   job.pixels.width);
    }
    return count;
}

bool Compress(CompressSession* session, const EncodeJob* job) {
    if (setjmp(session->trap.jump) != 0)
        return false;
    jpeg_compress_struct* info = &session->info;
    jpeg::InstallErrorTrap(reinterpret_cast<j_common_ptr>(info), &session->trap);
    jpeg_create_compress(info);
    info->dest = session->writer.Manager();
    info->image_width = static_cast<JDIMENSION>(job->pixels.width);
    info->image_height = static_cast<JDIMENSION>(job->pixels.height);
    info->input_components = job->components;
    info->in_color_space = job->colorSpace;
    jpeg_set_defaults(info);  // YCbCr with 2x2 luma sampling: 4:2:0
    jpeg_set_quality(info, job->quality, TRUE);
    info->dct_method = JDCT_ISLOW;
    info->optimize_coding = FALSE;
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW rows[kBatchRows];
        const JDIMENSION count = PrepareBatch(*job, info->next_scanline, rows);
        jpeg_write_scanlines(info, rows, count);
    }
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

HRESULT EncodeJpeg(const RasterView& pixels, const EncodeOptions& options, ByteSink& sink) {
    if (pixels.Empty() || pixels.width > kLargestSide || pixels.height > kLargestSide ||
        !IsStoredPixelFormat(pixels.format))
        return E_INVALIDARG;
    if (pixels.format == PixelFormat8bppIndexed && pixels.palette == nullptr)
        return E_INVALIDARG;
    EncodeJob job;
    job.pixels = pixels;
    job.quality = std::clamp(options.jpegQuality, 0, 100);
    std::unique_ptr<std::uint8_t[]> converted;
    if (pixels.format == PixelFormat24bppRGB) {
        job.colorSpace = JCS_EXT_BGR;
    } else if (StoredBytesPerPixel(pixels.format) == 4) {
        // Alpha is not kept: the stored colour channels are written as they are.
        job.colorSpace = JCS_EXT_BGRX;
        job.components = 4;
    } else {
        job.convertedStride = static_cast<std::size_t>(pixels.width) * 3;
        converted.reset(new (std::nothrow) std::uint8_t[job.convertedStride * kBatchRows]);
        if (converted == nullptr)
            return E_OUTOFMEMORY;
        job.converted = converted.get();
    }
    CompressSession session(sink);
    if (Compress(&session, &job))
        return S_OK;
    char text[JMSG_LENGTH_MAX];
    jpeg::FailureText(reinterpret_cast<j_common_ptr>(&session.info), text);
    NKDbgPrintfW(u"JPEG encode failed: %hs\n", text);
    return session.writer.SinkFailed() ? E_FAIL : jpeg::FailureResult(session.trap);
}

}  // namespace platform::imaging
