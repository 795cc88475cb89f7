// Writes every skin bitmap at 1x and 2x onto one grey sheet, transparent parts showing the grey,
// so the whole skin can be looked over at once; and the 1x bitmaps magnified three times (pixel
// for pixel), to judge how crisp they are at 96 dpi.
//
//   skin_contact_sheet <sheet.png> <magnified.png>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "png_io.h"
#include "resources/skin/skin.h"

namespace {

constexpr int kSheetWidth = 1100;
constexpr int kMargin = 8;
constexpr std::uint8_t kGrey = 160;

struct Placed {
    skin::RgbaImage image;
    bool keyed;
};

// Places images left to right, wrapping to a new row when one would pass the sheet's edge.
class Shelf {
  public:
    void Add(Placed placed) {
        const int w = placed.image.width, h = placed.image.height;
        if (x_ + w + kMargin > kSheetWidth && x_ > kMargin) {
            y_ += rowHeight_ + kMargin;
            x_ = kMargin;
            rowHeight_ = 0;
        }
        items_.push_back({std::move(placed), x_, y_});
        x_ += w + kMargin;
        width_ = std::max(width_, x_);
        rowHeight_ = std::max(rowHeight_, h);
    }

    skin::RgbaImage Render() const {
        skin::RgbaImage sheet;
        sheet.width = width_;
        sheet.height = y_ + rowHeight_ + kMargin;
        sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * sheet.height * 4, kGrey);
        for (const Item& item : items_)
            Draw(sheet, item);
        return sheet;
    }

  private:
    struct Item {
        Placed placed;
        int x, y;
    };

    static void Draw(skin::RgbaImage& sheet, const Item& item) {
        const skin::RgbaImage& img = item.placed.image;
        for (int y = 0; y < img.height; ++y) {
            for (int x = 0; x < img.width; ++x) {
                const std::uint8_t* s = img.At(x, y);
                std::uint8_t* d = sheet.At(item.x + x, item.y + y);
                const bool key = s[0] == 255 && s[1] == 0 && s[2] == 255;
                const int a = item.placed.keyed ? (key ? 0 : 255) : s[3];
                for (int c = 0; c < 3; ++c)
                    d[c] = static_cast<std::uint8_t>((s[c] * a + d[c] * (255 - a) + 127) / 255);
                d[3] = 255;
            }
        }
    }

    std::vector<Item> items_;
    int x_ = kMargin, y_ = kMargin, rowHeight_ = 0;
    int width_ = kSheetWidth;  // wider when one picture alone is wider than a row
};

skin::RgbaImage Magnify(const skin::RgbaImage& image, int factor) {
    skin::RgbaImage out;
    out.width = image.width * factor;
    out.height = image.height * factor;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * 4);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x)
            std::copy_n(image.At(x / factor, y / factor), 4, out.At(x, y));
    }
    return out;
}

bool AddBitmap(Shelf& shelf, std::span<const std::uint8_t> png, bool keyed, unsigned id,
               int magnify = 1) {
    std::string error;
    auto image = skin::DecodePng({png.begin(), png.end()}, error);
    if (!image) {
        std::fprintf(stderr, "skin_contact_sheet: bitmap %u: %s\n", id, error.c_str());
        return false;
    }
    shelf.Add({magnify > 1 ? Magnify(*image, magnify) : std::move(*image), keyed});
    return true;
}

bool WriteSheet(const Shelf& shelf, const char* path) {
    std::string error;
    const auto png = skin::EncodePng(shelf.Render(), false, error);
    if (!png || !skin::WriteFile(path, *png)) {
        std::fprintf(stderr, "skin_contact_sheet: cannot write %s %s\n", path, error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin_contact_sheet <sheet.png> <magnified.png>\n");
        return 2;
    }
    Shelf sheet, magnified;
    for (const platform::BitmapResource& b : SkinBitmaps()) {
        if (!AddBitmap(sheet, b.png1x, !b.perPixelAlpha, b.id) ||
            !AddBitmap(magnified, b.png1x, !b.perPixelAlpha, b.id, 3)) {
            return 1;
        }
    }
    for (const platform::BitmapResource& b : SkinBitmaps()) {
        if (!AddBitmap(sheet, b.png2x, !b.perPixelAlpha, b.id))
            return 1;
    }
    return WriteSheet(sheet, argv[1]) && WriteSheet(magnified, argv[2]) ? 0 : 1;
}
