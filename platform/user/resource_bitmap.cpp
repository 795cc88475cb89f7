#include "platform/user/resource_bitmap.h"

#include <png.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

#include "platform/core/debug.h"
#include "platform/core/error.h"
#include "platform/display/display.h"
#include "platform/display/scoped_png_image.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pixel_format.h"
#include "platform/user/resource_tables.h"
#include "platform/user/window.h"

namespace {

using platform::Rgb565Traits;

constexpr int kHighDpi = 144;
// Skin pictures are small; a larger size is a broken resource, not a reason to allocate.
constexpr png_uint_32 kMaxSide = 4096;
constexpr std::uint32_t kKey565 = Rgb565Traits::FromRgb(255, 0, 255);

// Pixels ready for CreateBitmap: top-down rows, 16 or 32 bits a pixel.
struct DevicePixels {
    int width = 0;
    int height = 0;
    UINT bitsPerPixel = 16;
    std::vector<std::uint8_t> bits;
};

using platform::ScopedPngImage;

// The picture as 8-bit RGBA with straight alpha; nullopt when libpng refuses it.
std::optional<std::vector<std::uint8_t>> DecodeRgba(std::span<const std::uint8_t> png, int& width,
                                                    int& height) {
    ScopedPngImage image;
    if (png.empty() || !png_image_begin_read_from_memory(image.get(), png.data(), png.size()))
        return std::nullopt;
    if (image->width == 0 || image->height == 0 || image->width > kMaxSide ||
        image->height > kMaxSide) {
        return std::nullopt;
    }
    image->format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(*image.get()));
    if (!png_image_finish_read(image.get(), nullptr, rgba.data(), 0, nullptr))
        return std::nullopt;
    width = static_cast<int>(image->width);
    height = static_cast<int>(image->height);
    return rgba;
}

// Keyed pictures: a pixel less than half covered, or exact magenta, is the key; any other colour
// that RGB565 would turn into the key is moved one green step off it so it stays visible.
void ToRgb565(const std::uint8_t* rgba, std::size_t count, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i, rgba += 4, out += 2) {
        std::uint32_t v = kKey565;
        if (rgba[3] >= 128) {
            v = Rgb565Traits::FromRgb(rgba[0], rgba[1], rgba[2]);
            const bool magenta = rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 255;
            if (v == kKey565 && !magenta)
                v |= 1u << 5;
        }
        Rgb565Traits::Store(out, v);
    }
}

// Alpha pictures: premultiplied, as AlphaBlend with AC_SRC_ALPHA expects; stored B, G, R, A.
void ToPremultipliedBgra(const std::uint8_t* rgba, std::size_t count, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i, rgba += 4, out += 4) {
        const unsigned a = rgba[3];
        out[0] = static_cast<std::uint8_t>((rgba[2] * a + 127) / 255);
        out[1] = static_cast<std::uint8_t>((rgba[1] * a + 127) / 255);
        out[2] = static_cast<std::uint8_t>((rgba[0] * a + 127) / 255);
        out[3] = static_cast<std::uint8_t>(a);
    }
}

std::shared_ptr<const DevicePixels> Decode(std::span<const std::uint8_t> png, bool perPixelAlpha) {
    auto pixels = std::make_shared<DevicePixels>();
    const auto rgba = DecodeRgba(png, pixels->width, pixels->height);
    if (!rgba)
        return nullptr;
    const std::size_t count = static_cast<std::size_t>(pixels->width) * pixels->height;
    pixels->bitsPerPixel = perPixelAlpha ? 32 : 16;
    pixels->bits.resize(count * (pixels->bitsPerPixel / 8));
    if (perPixelAlpha)
        ToPremultipliedBgra(rgba->data(), count, pixels->bits.data());
    else
        ToRgb565(rgba->data(), count, pixels->bits.data());
    return pixels;
}

// Bitmaps are loaded on every paint of some windows, so each picture is decoded once. The key
// names the bytes themselves (where, how many, and a hash of them), so a catalogue replaced by
// another one at the same address cannot be served stale pixels.
class DecodedCache {
  public:
    std::shared_ptr<const DevicePixels> Get(std::span<const std::uint8_t> png, bool alpha) {
        const Key key{png.data(), png.size(), Hash(png), alpha};
        {
            std::lock_guard lock(mutex_);
            if (const auto it = entries_.find(key); it != entries_.end())
                return it->second;
        }
        auto pixels = Decode(png, alpha);
        if (pixels) {
            std::lock_guard lock(mutex_);
            entries_.emplace(key, pixels);
        }
        return pixels;
    }

  private:
    using Key = std::tuple<const std::uint8_t*, std::size_t, std::uint64_t, bool>;

    static std::uint64_t Hash(std::span<const std::uint8_t> bytes) {
        std::uint64_t h = 1469598103934665603ull;  // FNV-1a
        for (const std::uint8_t b : bytes)
            h = (h ^ b) * 1099511628211ull;
        return h;
    }

    std::mutex mutex_;
    std::map<Key, std::shared_ptr<const DevicePixels>> entries_;
};

DecodedCache& Cache() {
    static DecodedCache cache;
    return cache;
}

}  // namespace

HBITMAP LoadBitmapW(HINSTANCE, LPCWSTR name) {
    const platform::BitmapResource* resource =
        IS_INTRESOURCE(name)
            ? platform::FindBitmapResource(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)))
            : nullptr;
    if (!resource) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    // LOGPIXELSY of the screen; a resource without a 2x picture falls back to its 1x one.
    const bool highDpi = platform::GetDisplay().Profile().dpi >= kHighDpi;
    const std::span<const std::uint8_t> png =
        highDpi && !resource->png2x.empty() ? resource->png2x : resource->png1x;
    const auto pixels = Cache().Get(png, resource->perPixelAlpha);
    if (!pixels) {
        NKDbgPrintfW(u"LoadBitmap: bitmap %u does not decode\r\n", resource->id);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return CreateBitmap(pixels->width, pixels->height, 1, pixels->bitsPerPixel,
                        pixels->bits.data());
}
