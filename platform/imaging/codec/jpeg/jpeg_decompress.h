// One libjpeg decompression over a ByteSource, and the guarded steps that call into the library.
// Each step sets the error trap itself and holds only trivial locals, so libjpeg's jump back on
// an error never skips a destructor; the session's destructor releases the library's memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/imaging/codec/jpeg/jpeg_error.h"
#include "platform/imaging/codec/jpeg/jpeg_lib.h"
#include "platform/imaging/codec/jpeg/jpeg_source.h"

namespace platform::imaging::jpeg {

struct DecompressSession {
    // `memoryLimit` bounds libjpeg's own working memory (a progressive picture keeps all of its
    // coefficients); beyond it the decode fails with E_OUTOFMEMORY.
    DecompressSession(const ByteSource& source, std::size_t memoryLimit);
    ~DecompressSession();
    DecompressSession(const DecompressSession&) = delete;
    DecompressSession& operator=(const DecompressSession&) = delete;

    jpeg_decompress_struct info{};
    ErrorTrap trap;
    jpeg_progress_mgr progress{};
    SourceReader reader;
    std::size_t memoryLimit;
};

struct OutputSettings {
    J_COLOR_SPACE colorSpace = JCS_EXT_BGR;
    int scaleNumerator = 8;  // of 8
    bool fancyUpsampling = true;
};

// Where decoded rows go: straight into `top` rows, or through `convert` from a scratch row
// (CMYK, which libjpeg cannot turn into RGB itself).
struct RowTarget {
    std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    void (*convert)(const JSAMPLE* source, std::uint8_t* dest, int width, bool inverted) = nullptr;
    bool inverted = false;
    JSAMPLE* scratch = nullptr;  // kScratchRows rows of scratchStride bytes when converting
    std::size_t scratchStride = 0;
};
constexpr int kScratchRows = 16;

// Each step: true on success; false when libjpeg failed (session->trap says why).
bool ReadHeader(DecompressSession* session);
bool ComputeOutput(DecompressSession* session, const OutputSettings* settings);
bool StartDecompress(DecompressSession* session);
bool ReadRows(DecompressSession* session, const RowTarget* target);

// Bytes libjpeg keeps for a picture it must read whole before the first row comes out
// (progressive or non-interleaved); 0 for a single-scan picture decoded row by row.
std::size_t WholeImageCoefficientBytes(const jpeg_decompress_struct& info);

}  // namespace platform::imaging::jpeg
