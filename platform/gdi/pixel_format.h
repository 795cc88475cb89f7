// Pixel formats of bitmaps and the screen, with one traits type per format. Every drawing
// operation is written once over these traits and instantiated for the three formats, so a loop
// never asks "which format?" per pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/core/types.h"

namespace platform {

// Rgb555 exists for 16-bit DIB sections made with BI_RGB, whose layout is fixed at 5-5-5.
enum class PixelFormat : std::uint8_t { Rgb565, Rgb555, Bgr24, Bgra32 };

// Native pixel values travel as 32-bit integers whatever the format; only Load and Store know the
// byte layout. Loads and stores go through memcpy: rows are plain bytes and may be unaligned.
struct Rgb565Traits {
    static constexpr PixelFormat kFormat = PixelFormat::Rgb565;
    static constexpr int kBytes = 2;
    static constexpr int kBits = 16;
    static constexpr std::uint32_t kMask = 0xFFFF;

    static std::uint32_t Load(const std::uint8_t* p) {
        std::uint16_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void Store(std::uint8_t* p, std::uint32_t v) {
        const auto w = static_cast<std::uint16_t>(v);
        std::memcpy(p, &w, sizeof w);
    }
    // 8-bit channels are truncated, as the display hardware does.
    static constexpr std::uint32_t FromRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    }
    // Channels expand by repeating their top bits, so 0x1F becomes 0xFF and 0 stays 0.
    static constexpr std::uint32_t Red(std::uint32_t v) {
        const std::uint32_t r5 = (v >> 11) & 0x1F;
        return (r5 << 3) | (r5 >> 2);
    }
    static constexpr std::uint32_t Green(std::uint32_t v) {
        const std::uint32_t g6 = (v >> 5) & 0x3F;
        return (g6 << 2) | (g6 >> 4);
    }
    static constexpr std::uint32_t Blue(std::uint32_t v) {
        const std::uint32_t b5 = v & 0x1F;
        return (b5 << 3) | (b5 >> 2);
    }
};

struct Rgb555Traits {
    static constexpr PixelFormat kFormat = PixelFormat::Rgb555;
    static constexpr int kBytes = 2;
    static constexpr int kBits = 16;
    static constexpr std::uint32_t kMask = 0x7FFF;

    static std::uint32_t Load(const std::uint8_t* p) { return Rgb565Traits::Load(p) & kMask; }
    static void Store(std::uint8_t* p, std::uint32_t v) { Rgb565Traits::Store(p, v & kMask); }
    static constexpr std::uint32_t FromRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    }
    static constexpr std::uint32_t Red(std::uint32_t v) { return Expand5((v >> 10) & 0x1F); }
    static constexpr std::uint32_t Green(std::uint32_t v) { return Expand5((v >> 5) & 0x1F); }
    static constexpr std::uint32_t Blue(std::uint32_t v) { return Expand5(v & 0x1F); }

  private:
    static constexpr std::uint32_t Expand5(std::uint32_t c) { return (c << 3) | (c >> 2); }
};

// 24-bit and 32-bit pixels hold 0x(AA)RRGGBB, stored little-endian as B, G, R(, A).
struct Bgr24Traits {
    static constexpr PixelFormat kFormat = PixelFormat::Bgr24;
    static constexpr int kBytes = 3;
    static constexpr int kBits = 24;
    static constexpr std::uint32_t kMask = 0xFFFFFF;

    static std::uint32_t Load(const std::uint8_t* p) {
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
    }
    static void Store(std::uint8_t* p, std::uint32_t v) {
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v >> 16);
    }
    static constexpr std::uint32_t FromRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return (r << 16) | (g << 8) | b;
    }
    static constexpr std::uint32_t Red(std::uint32_t v) { return (v >> 16) & 0xFF; }
    static constexpr std::uint32_t Green(std::uint32_t v) { return (v >> 8) & 0xFF; }
    static constexpr std::uint32_t Blue(std::uint32_t v) { return v & 0xFF; }
};

// Colours converted into 32-bit pixels get alpha 0, as GDI leaves it; copies between 32-bit
// pixels keep the alpha byte for the alpha blends that read it.
struct Bgra32Traits {
    static constexpr PixelFormat kFormat = PixelFormat::Bgra32;
    static constexpr int kBytes = 4;
    static constexpr int kBits = 32;
    static constexpr std::uint32_t kMask = 0xFFFFFFFF;

    static std::uint32_t Load(const std::uint8_t* p) {
        std::uint32_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void Store(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, sizeof v); }
    static constexpr std::uint32_t FromRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
        return Bgr24Traits::FromRgb(r, g, b);
    }
    static constexpr std::uint32_t Red(std::uint32_t v) { return Bgr24Traits::Red(v); }
    static constexpr std::uint32_t Green(std::uint32_t v) { return Bgr24Traits::Green(v); }
    static constexpr std::uint32_t Blue(std::uint32_t v) { return Bgr24Traits::Blue(v); }
};

template <typename Traits>
constexpr std::uint32_t NativeFromColorRef(COLORREF c) {
    return Traits::FromRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

template <typename Traits>
constexpr COLORREF ColorRefFromNative(std::uint32_t v) {
    return RGB(static_cast<BYTE>(Traits::Red(v)), static_cast<BYTE>(Traits::Green(v)),
               static_cast<BYTE>(Traits::Blue(v)));
}

constexpr int BytesPerPixel(PixelFormat format) {
    switch (format) {
        case PixelFormat::Rgb565:
            return Rgb565Traits::kBytes;
        case PixelFormat::Rgb555:
            return Rgb555Traits::kBytes;
        case PixelFormat::Bgr24:
            return Bgr24Traits::kBytes;
        case PixelFormat::Bgra32:
            return Bgra32Traits::kBytes;
    }
    return 0;
}

constexpr int BitsPerPixel(PixelFormat format) {
    return BytesPerPixel(format) * 8;
}

// Calls `fn(Traits{})` with the traits of `format`: the one switch that turns a run-time format
// into a compile-time one.
template <typename Fn>
decltype(auto) WithPixelTraits(PixelFormat format, Fn&& fn) {
    switch (format) {
        case PixelFormat::Rgb565:
            return fn(Rgb565Traits{});
        case PixelFormat::Rgb555:
            return fn(Rgb555Traits{});
        case PixelFormat::Bgr24:
            return fn(Bgr24Traits{});
        case PixelFormat::Bgra32:
            break;
    }
    return fn(Bgra32Traits{});
}

// A window on pixel rows: `top` is row 0, `stride` is the signed byte step to the next row
// (negative for bitmaps stored bottom-up).
struct PixelView {
    std::uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb565;

    bool Empty() const { return top == nullptr || width <= 0 || height <= 0; }
    std::uint8_t* Row(int y) const { return top + static_cast<std::ptrdiff_t>(y) * stride; }
    std::uint8_t* At(int x, int y) const {
        return Row(y) + static_cast<std::ptrdiff_t>(x) * BytesPerPixel(format);
    }
};

}  // namespace platform
