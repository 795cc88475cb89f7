#include "platform/gdi/stock_objects.h"

#include <array>
#include <mutex>

#include "platform/core/error.h"
#include "platform/core/no_destructor.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/brush.h"
#include "platform/gdi/font.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/pen.h"

namespace platform {
namespace {

// Stock handles have fixed values below the first dynamic handle, so they are the same in every
// run and can never be mistaken for a freed dynamic handle.
constexpr std::uintptr_t kStockBase = 0x1000;
constexpr std::uintptr_t kSysColorBrushBase = 0x2000;
constexpr std::uintptr_t kSlot = 8;
constexpr int kDefaultBitmapSlot = 64;

HGDIOBJ StockHandle(std::uintptr_t base, int slot) {
    return reinterpret_cast<HGDIOBJ>(base + kSlot * static_cast<std::uintptr_t>(slot));
}

struct StockBrush {
    int index;
    COLORREF color;
};
constexpr std::array<StockBrush, 5> kStockBrushes = {{
    {WHITE_BRUSH, RGB(255, 255, 255)},
    {LTGRAY_BRUSH, RGB(192, 192, 192)},
    {GRAY_BRUSH, RGB(128, 128, 128)},
    {DKGRAY_BRUSH, RGB(64, 64, 64)},
    {BLACK_BRUSH, RGB(0, 0, 0)},
}};

struct StockSet {
    std::shared_ptr<Bitmap> defaultBitmap;
};

StockSet MakeStock() {
    for (const StockBrush& b : kStockBrushes) {
        RegisterPermanentGdiObject(StockHandle(kStockBase, b.index), Brush::Solid(b.color));
    }
    RegisterPermanentGdiObject(StockHandle(kStockBase, NULL_BRUSH), Brush::Null());
    RegisterPermanentGdiObject(StockHandle(kStockBase, WHITE_PEN),
                               Pen::Create(PS_SOLID, 1, RGB(255, 255, 255)));
    RegisterPermanentGdiObject(StockHandle(kStockBase, BLACK_PEN),
                               Pen::Create(PS_SOLID, 1, RGB(0, 0, 0)));
    RegisterPermanentGdiObject(StockHandle(kStockBase, NULL_PEN), Pen::Create(PS_NULL, 1, 0));
    RegisterPermanentGdiObject(StockHandle(kStockBase, SYSTEM_FONT),
                               std::make_shared<Font>(SystemFontLog()));
    for (int i = 0; i < kSysColorCount; ++i) {
        RegisterPermanentGdiObject(StockHandle(kSysColorBrushBase, i),
                                   Brush::Solid(GetSysColor(i)));
    }
    StockSet s;
    s.defaultBitmap = Bitmap::Create({1, 1, PixelFormat::Rgb565});
    RegisterPermanentGdiObject(StockHandle(kStockBase, kDefaultBitmapSlot), s.defaultBitmap);
    return s;
}

// Never destroyed, like the handle table: DCs alive at exit still compare against it.
const StockSet& Stock() {
    static NoDestructor<StockSet> set(MakeStock());
    return *set;
}

}  // namespace

HGDIOBJ DefaultBitmapHandle() {
    Stock();
    return StockHandle(kStockBase, kDefaultBitmapSlot);
}

std::shared_ptr<Bitmap> DefaultBitmap() {
    return Stock().defaultBitmap;
}

LOGFONTW SystemFontLog() {
    LOGFONTW log{};
    // Height 0 is the default size, 8 points at the screen's dpi, so the system font follows
    // the device's dpi instead of staying 11 pixels on a 192-dpi screen.
    log.lfHeight = 0;
    log.lfWeight = FW_NORMAL;
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfQuality = CLEARTYPE_QUALITY;
    const char16_t face[] = u"Tahoma";
    for (std::size_t i = 0; i < sizeof face / sizeof face[0]; ++i)
        log.lfFaceName[i] = face[i];
    return log;
}

}  // namespace platform

HGDIOBJ GetStockObject(int index) {
    if ((index < WHITE_BRUSH || index > NULL_PEN) && index != SYSTEM_FONT) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    platform::Stock();
    return platform::StockHandle(platform::kStockBase, index);
}

HBRUSH GetSysColorBrush(int index) {
    const int plain = index & ~SYS_COLOR_INDEX_FLAG;
    if (plain < 0 || plain >= kSysColorCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    platform::Stock();
    return platform::StockHandle(platform::kSysColorBrushBase, plain);
}
