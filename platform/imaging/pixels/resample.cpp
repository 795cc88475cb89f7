#include "platform/imaging/pixels/resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "platform/imaging/imaging.h"
#include "platform/imaging/pixels/convert.h"
#include "platform/imaging/pixels/filter_weights.h"

namespace platform::imaging {
namespace {

// Vertically combined rows keep 6 bits below the 8-bit level, so the second pass rounds once.
constexpr int kMidBits = 6;
constexpr int kVerticalShift = kWeightBits - kMidBits;
constexpr int kHorizontalShift = kWeightBits + kMidBits;
// Converted source rows kept for reuse by the next destination rows.
constexpr std::size_t kRingBytes = std::size_t{8} << 20;

// One pixel's four channels, so each tap is one vector multiply-add.
using Channels = std::int32_t __attribute__((vector_size(16)));
using Bytes16 = std::uint8_t __attribute__((vector_size(16)));

// A pixel's four bytes as four 32-bit lanes (one byte shuffle; a per-lane conversion from bytes
// compiles to scalar code).
inline Channels Widen(const std::uint8_t* p) {
    std::int32_t word;
    std::memcpy(&word, p, sizeof word);
    const Channels packed{word, 0, 0, 0};
    return reinterpret_cast<Channels>(__builtin_shufflevector(reinterpret_cast<Bytes16>(packed),
                                                              Bytes16{}, 0, 16, 16, 16, 1, 16, 16,
                                                              16, 2, 16, 16, 16, 3, 16, 16, 16));
}

bool InsideSource(const RasterView& source, const SourceRect& a) {
    const bool finite = std::isfinite(a.left) && std::isfinite(a.top) && std::isfinite(a.right) &&
                        std::isfinite(a.bottom);
    return finite && a.left >= 0 && a.top >= 0 && a.left < a.right && a.top < a.bottom &&
           a.right <= source.width && a.bottom <= source.height;
}

// A whole-pixel area the size of the destination: no filtering, only a change of format.
bool IsPlainCopy(const SourceRect& a, const RasterView& dest) {
    return a.left == std::floor(a.left) && a.top == std::floor(a.top) &&
           a.right - a.left == dest.width && a.bottom - a.top == dest.height;
}

// The two hot loops, also built for AVX2 (widening and 32-bit multiplies in one instruction
// each); the loader picks the clone the processor runs.
#if defined(__x86_64__) && defined(__GNUC__)
#define PICTARIUM_HOT_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define PICTARIUM_HOT_LOOP
#endif

// mid[x] += weight x row[x] over `count` pixels.
PICTARIUM_HOT_LOOP void AccumulateRow(Channels* mid, const std::uint8_t* row, int count,
                                      std::int32_t weight) {
    for (int x = 0; x < count; ++x)
        mid[x] += weight * Widen(row + x * 4);
}

// Each destination pixel of a row from its taps over `mid`, rounded and shifted to bytes (a cubic
// kernel can overshoot: colour is kept within alpha), as premultiplied BGRA.
PICTARIUM_HOT_LOOP void FilterPixels(const Channels* mid, const AxisWeights& weights,
                                     int firstOffset, int count, std::uint8_t* out) {
    const Channels half = Channels{1, 1, 1, 1} << (kHorizontalShift - 1);
    for (int x = 0; x < count; ++x) {
        const std::int16_t* w = weights.Of(x);
        const Channels* in = mid + (weights.first[x] - firstOffset);
        Channels sum{0, 0, 0, 0};
        for (int k = 0; k < weights.count[x]; ++k)
            sum += static_cast<std::int32_t>(w[k]) * in[k];
        sum = (sum + half) >> kHorizontalShift;
        const int a = std::clamp(sum[3], 0, 255);
        out[x * 4 + 0] = static_cast<std::uint8_t>(std::clamp(sum[0], 0, a));
        out[x * 4 + 1] = static_cast<std::uint8_t>(std::clamp(sum[1], 0, a));
        out[x * 4 + 2] = static_cast<std::uint8_t>(std::clamp(sum[2], 0, a));
        out[x * 4 + 3] = static_cast<std::uint8_t>(a);
    }
}

// Converts each source row once to premultiplied 8-bit BGRA into a ring, combines the ring's
// rows for each destination row (vertical pass, over the source span), then filters that row
// horizontally. Shrinking, the horizontal taps run only on destination rows.
class TwoPassFilter {
  public:
    TwoPassFilter(const RasterView& source, const RasterView& dest, AxisWeights x, AxisWeights y)
        : source_(source), dest_(dest), x_(std::move(x)), y_(std::move(y)) {
        spanFirst_ = *std::min_element(x_.first.begin(), x_.first.end());
        int spanEnd = 0;
        for (int i = 0; i < dest_.width; ++i)
            spanEnd = std::max(spanEnd, x_.first[i] + x_.count[i]);
        spanWidth_ = spanEnd - spanFirst_;
        // Rows are consumed as they are fetched, so a ring smaller than a tall kernel is still
        // correct; rows shared with the next destination row are then converted again.
        const std::size_t rowBytes = static_cast<std::size_t>(spanWidth_) * 4;
        ringSize_ = static_cast<int>(std::clamp<std::size_t>(kRingBytes / rowBytes, 1,
                                                             static_cast<std::size_t>(y_.maxTaps)));
    }

    std::size_t WorkingBytes() const {
        const std::size_t span = static_cast<std::size_t>(spanWidth_);
        return span * 4 * ringSize_ + span * sizeof(Channels) +
               static_cast<std::size_t>(dest_.width) * 4;
    }

    void Run() {
        ring_.resize(static_cast<std::size_t>(spanWidth_) * 4 * ringSize_);
        ringRows_.assign(ringSize_, -1);
        mid_.resize(spanWidth_);
        outRow_.resize(static_cast<std::size_t>(dest_.width) * 4);
        for (int y = 0; y < dest_.height; ++y) {
            CombineRows(y);
            FilterRow(y);
        }
    }

  private:
    // Source row `row` as premultiplied BGRA over the span, converted when not in the ring.
    const std::uint8_t* SourceRow(int row) {
        const int slot = row % ringSize_;
        std::uint8_t* out = ring_.data() + static_cast<std::size_t>(slot) * spanWidth_ * 4;
        if (ringRows_[slot] != row) {
            ringRows_[slot] = row;
            const std::uint8_t* from = source_.Row(row) + static_cast<std::ptrdiff_t>(spanFirst_) *
                                                              StoredBytesPerPixel(source_.format);
            ConvertRow(from, source_.format, source_.palette, out, PixelFormat32bppPARGB,
                       spanWidth_);
        }
        return out;
    }

    // mid_ = the source rows under destination row y, weighted, with kMidBits of fraction.
    void CombineRows(int y) {
        std::fill(mid_.begin(), mid_.end(), Channels{0, 0, 0, 0});
        const std::int16_t* w = y_.Of(y);
        Channels* mid = mid_.data();
        for (int k = 0; k < y_.count[y]; ++k)
            AccumulateRow(mid, SourceRow(y_.first[y] + k), spanWidth_, w[k]);
        const Channels half = Channels{1, 1, 1, 1} << (kVerticalShift - 1);
        for (int x = 0; x < spanWidth_; ++x)
            mid[x] = (mid[x] + half) >> kVerticalShift;
    }

    // The destination row from mid_, written in the destination's own format.
    void FilterRow(int y) {
        const bool direct = dest_.format == PixelFormat32bppPARGB;
        std::uint8_t* out = direct ? dest_.Row(y) : outRow_.data();
        FilterPixels(mid_.data(), x_, spanFirst_, dest_.width, out);
        if (!direct)
            ConvertRow(out, PixelFormat32bppPARGB, nullptr, dest_.Row(y), dest_.format,
                       dest_.width);
    }

    const RasterView source_;
    const RasterView dest_;
    const AxisWeights x_;
    const AxisWeights y_;
    int spanFirst_ = 0;
    int spanWidth_ = 0;
    int ringSize_ = 1;
    std::vector<std::uint8_t> ring_;
    std::vector<int> ringRows_;
    std::vector<Channels> mid_;
    std::vector<std::uint8_t> outRow_;
};

}  // namespace

HRESULT Resample(const RasterView& source, const SourceRect& area, const RasterView& dest,
                 InterpolationHint hint) {
    if (source.Empty() || dest.Empty() || !IsStoredPixelFormat(source.format) ||
        !IsStoredPixelFormat(dest.format) || dest.format == PixelFormat8bppIndexed ||
        !InsideSource(source, area))
        return E_INVALIDARG;
    if (IsPlainCopy(area, dest)) {
        const RECT whole{static_cast<LONG>(area.left), static_cast<LONG>(area.top),
                         static_cast<LONG>(area.right), static_cast<LONG>(area.bottom)};
        return ConvertPixels(source.Sub(whole), dest) ? S_OK : E_INVALIDARG;
    }
    try {
        TwoPassFilter filter(
            source, dest, ComputeAxisWeights(area.left, area.right, source.width, dest.width, hint),
            ComputeAxisWeights(area.top, area.bottom, source.height, dest.height, hint));
        if (filter.WorkingBytes() > ImagingMemoryBudget())
            return E_OUTOFMEMORY;
        filter.Run();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT Resample(const RasterView& source, const RasterView& dest, InterpolationHint hint) {
    const SourceRect whole{0, 0, static_cast<double>(source.width),
                           static_cast<double>(source.height)};
    return Resample(source, whole, dest, hint);
}

}  // namespace platform::imaging
