#include "platform/imaging/codec/jpeg/jpeg_decompress.h"

#include <algorithm>
#include <climits>

namespace platform::imaging::jpeg {
namespace {

// A hostile progressive file can hold thousands of tiny scans, each costing a pass over the
// whole coefficient buffer; real encoders write about ten.
constexpr int kMaxScans = 1000;

void LimitScans(j_common_ptr common) {
    if (!common->is_decompressor)
        return;
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxScans) {
        reinterpret_cast<ErrorTrap*>(info->err)->reason = "too many scans";
        ERREXIT(info, JERR_NOTIMPL);
    }
}

}  // namespace

DecompressSession::DecompressSession(const ByteSource& source, std::size_t limit)
    : reader(source), memoryLimit(limit) {}

DecompressSession::~DecompressSession() {
    jpeg_destroy_decompress(&info);
}

bool ReadHeader(DecompressSession* session) {
    if (setjmp(session->trap.jump) != 0)
        return false;
    InstallErrorTrap(reinterpret_cast<j_common_ptr>(&session->info), &session->trap);
    jpeg_create_decompress(&session->info);
    session->info.mem->max_memory_to_use = static_cast<long>(
        std::min<std::size_t>(session->memoryLimit, static_cast<std::size_t>(LONG_MAX)));
    session->progress.progress_monitor = LimitScans;
    session->info.progress = &session->progress;
    session->info.src = session->reader.Manager();
    jpeg_read_header(&session->info, TRUE);
    return true;
}

bool ComputeOutput(DecompressSession* session, const OutputSettings* settings) {
    if (setjmp(session->trap.jump) != 0)
        return false;
    jpeg_decompress_struct* info = &session->info;
    info->out_color_space = settings->colorSpace;
    info->scale_num = static_cast<unsigned>(settings->scaleNumerator);
    info->scale_denom = 8;
    info->dct_method = JDCT_ISLOW;
    info->do_fancy_upsampling = settings->fancyUpsampling ? TRUE : FALSE;
    info->dither_mode = JDITHER_NONE;
    info->quantize_colors = FALSE;
    jpeg_calc_output_dimensions(info);
    return true;
}

bool StartDecompress(DecompressSession* session) {
    if (setjmp(session->trap.jump) != 0)
        return false;
    jpeg_start_decompress(&session->info);
    return true;
}

bool ReadRows(DecompressSession* session, const RowTarget* target) {
    if (setjmp(session->trap.jump) != 0)
        return false;
    jpeg_decompress_struct* info = &session->info;
    const int width = static_cast<int>(info->output_width);
    while (info->output_scanline < info->output_height) {
        const JDIMENSION first = info->output_scanline;
        const JDIMENSION batch = std::min<JDIMENSION>(kScratchRows, info->output_height - first);
        JSAMPROW rows[kScratchRows];
        for (JDIMENSION i = 0; i < batch; ++i) {
            rows[i] = target->convert != nullptr
                          ? target->scratch + i * target->scratchStride
                          : target->top + static_cast<std::ptrdiff_t>(first + i) * target->stride;
        }
        const JDIMENSION got = jpeg_read_scanlines(info, rows, batch);
        if (got == 0)
            ERREXIT(info, JERR_CANT_SUSPEND);  // our source never suspends; do not spin
        if (target->convert == nullptr)
            continue;
        for (JDIMENSION i = 0; i < got; ++i) {
            target->convert(rows[i],
                            target->top + static_cast<std::ptrdiff_t>(first + i) * target->stride,
                            width, target->inverted);
        }
    }
    return true;
}

std::size_t WholeImageCoefficientBytes(const jpeg_decompress_struct& info) {
    if (!info.progressive_mode && info.comps_in_scan >= info.num_components)
        return 0;
    std::size_t total = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        // Rounded up to whole MCUs, as libjpeg allocates them (an overestimate by at most one).
        const std::size_t across = std::size_t{component.width_in_blocks} +
                                   static_cast<std::size_t>(component.h_samp_factor);
        const std::size_t down = std::size_t{component.height_in_blocks} +
                                 static_cast<std::size_t>(component.v_samp_factor);
        total += across * down * sizeof(JBLOCK);
    }
    return total;
}

}  // namespace platform::imaging::jpeg
