#include "platform/imaging/pixels/filter_weights.h"

#include <algorithm>
#include <cmath>

namespace platform::imaging {
namespace {

enum class Kernel { kNearest, kBox, kTriangle, kCubic };

Kernel KernelFor(InterpolationHint hint, double scale) {
    switch (hint) {
        case InterpolationHintNearestNeighbor:
            return Kernel::kNearest;
        case InterpolationHintBilinear:
            return Kernel::kTriangle;
        case InterpolationHintAveraging:
            return Kernel::kBox;
        case InterpolationHintBicubic:
            return Kernel::kCubic;
        default:
            // Averaging the covered area is the best shrink; it would block up an enlargement.
            return scale > 1.0 ? Kernel::kBox : Kernel::kTriangle;
    }
}

// Catmull-Rom (a = -0.5).
double Cubic(double x) {
    x = std::fabs(x);
    if (x < 1)
        return (1.5 * x - 2.5) * x * x + 1;
    if (x < 2)
        return ((-0.5 * x + 2.5) * x - 4) * x + 2;
    return 0;
}

// Real-valued weights of source pixels [lo, hi) for one output pixel covering [start, end).
void RealWeights(Kernel kernel, double start, double end, double scale, int lo, int hi,
                 std::vector<double>* out) {
    out->assign(static_cast<std::size_t>(hi - lo), 0.0);
    const double center = (start + end) / 2;
    const double widen = std::max(1.0, scale);
    for (int j = lo; j < hi; ++j) {
        double w = 0;
        const double distance = (j + 0.5 - center) / widen;
        switch (kernel) {
            case Kernel::kBox:
                // How much of source pixel j the output pixel covers.
                w = std::max(0.0, std::min(end, j + 1.0) - std::max(start, double(j)));
                break;
            case Kernel::kTriangle:
                w = std::max(0.0, 1 - std::fabs(distance));
                break;
            case Kernel::kCubic:
                w = Cubic(distance);
                break;
            case Kernel::kNearest:
                w = (center >= j && center < j + 1) ? 1 : 0;
                break;
        }
        (*out)[static_cast<std::size_t>(j - lo)] = w;
    }
}

// The source pixels a kernel can reach around [start, end).
void Reach(Kernel kernel, double start, double end, double scale, int length, int* lo, int* hi) {
    const double center = (start + end) / 2;
    const double widen = std::max(1.0, scale);
    double radius = 0.5;
    if (kernel == Kernel::kTriangle)
        radius = widen;
    else if (kernel == Kernel::kCubic)
        radius = 2 * widen;
    else if (kernel == Kernel::kBox)
        radius = std::max(0.5, (end - start) / 2);
    *lo = std::clamp(static_cast<int>(std::floor(center - radius - 0.5)), 0, length - 1);
    *hi = std::clamp(static_cast<int>(std::ceil(center + radius + 0.5)), *lo + 1, length);
}

}  // namespace

AxisWeights ComputeAxisWeights(double from, double to, int sourceLength, int outputs,
                               InterpolationHint hint) {
    const double scale = (to - from) / outputs;
    const Kernel kernel = KernelFor(hint, scale);
    std::vector<int> los(outputs), his(outputs);
    int maxTaps = 1;
    for (int i = 0; i < outputs; ++i) {
        Reach(kernel, from + i * scale, from + (i + 1) * scale, scale, sourceLength, &los[i],
              &his[i]);
        maxTaps = std::max(maxTaps, his[i] - los[i]);
    }

    AxisWeights axis;
    axis.maxTaps = maxTaps;
    axis.first.resize(outputs);
    axis.count.resize(outputs);
    axis.weights.assign(static_cast<std::size_t>(outputs) * maxTaps, 0);
    std::vector<double> real;
    for (int i = 0; i < outputs; ++i) {
        const double start = from + i * scale;
        RealWeights(kernel, start, start + scale, scale, los[i], his[i], &real);
        // Trim zero taps at both ends; keep at least the nearest pixel.
        std::size_t b = 0, e = real.size();
        while (b < e && real[b] == 0)
            ++b;
        while (e > b && real[e - 1] == 0)
            --e;
        double sum = 0;
        for (std::size_t k = b; k < e; ++k)
            sum += real[k];
        if (b == e || std::fabs(sum) < 1e-9) {
            const int nearest =
                std::clamp(static_cast<int>(std::floor(start + scale / 2)), los[i], his[i] - 1);
            b = static_cast<std::size_t>(nearest - los[i]);
            e = b + 1;
            real[b] = sum = 1;
        }
        // Quantise, then give the rounding residue to the largest tap so the sum is exact.
        std::int16_t* w = axis.weights.data() + static_cast<std::size_t>(i) * maxTaps;
        int total = 0;
        std::size_t largest = 0;
        for (std::size_t k = b; k < e; ++k) {
            const long q = std::lround(real[k] / sum * kWeightOne);
            w[k - b] =
                static_cast<std::int16_t>(std::clamp(q, -kWeightOne + 0L, 2L * kWeightOne - 1));
            total += w[k - b];
            if (std::abs(w[k - b]) > std::abs(w[largest]))
                largest = k - b;
        }
        w[largest] = static_cast<std::int16_t>(w[largest] + kWeightOne - total);
        axis.first[i] = los[i] + static_cast<int>(b);
        axis.count[i] = static_cast<int>(e - b);
    }
    return axis;
}

}  // namespace platform::imaging
