// Shared helpers of the imaging objects tests: pictures made by ImageMagick, our objects opened
// over them, and pixels read back out of bitmaps.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/core/com_ptr.h"
#include "platform/imaging/imaging.h"
#include "tests/support/image_tools.h"
#include "tests/support/temp_dir.h"

namespace objects_test {

using testing_support::RgbaPicture;

// A colourful picture (a bilinear blend of four corner colours), written by ImageMagick to
// `file` in the folder with `options` before the file name (format options such as
// "-quality"). Empty when convert fails.
std::string MakeBlendPicture(const testing_support::TempDir& dir, const std::string& file,
                             int width, int height, const std::vector<std::string>& options = {});

ComPtr<IImage> OpenPicture(const std::string& hostPath, HRESULT* result = nullptr);

// The bitmap's pixels as RGBA, read through a 32bppARGB read lock.
RgbaPicture ReadRgba(IBitmapImage* bitmap);

// A bitmap of `width` x `height` in `format` whose pixels are `argb` (0xAARRGGBB, row by row),
// written through a 32bppARGB write lock (indexed bitmaps: the grey palette, indexed by each
// colour's blue byte).
ComPtr<IBitmapImage> MakeBitmap(int width, int height, PixelFormatID format,
                                const std::vector<ARGB>& argb);
// The pixel at (x, y) of a bitmap as 0xAARRGGBB.
ARGB PixelAt(IBitmapImage* bitmap, int x, int y);

template <typename To, typename From>
ComPtr<To> As(const ComPtr<From>& from) {
    ComPtr<To> to;
    from.As(&to);
    return to;
}

// Sets the imaging memory budget for one scope, restoring the previous one.
class ScopedBudget {
  public:
    explicit ScopedBudget(std::size_t bytes);
    ~ScopedBudget();
    ScopedBudget(const ScopedBudget&) = delete;
    ScopedBudget& operator=(const ScopedBudget&) = delete;

  private:
    std::size_t previous_;
};

}  // namespace objects_test
