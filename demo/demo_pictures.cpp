#include "demo/demo_pictures.h"

#include <algorithm>
#include <cmath>

#include "demo/picture_encoder.h"
#include "platform/core/wstring.h"

namespace demo {

namespace {

constexpr int kJpegQuality = 85;
constexpr int kThumbnailQuality = 75;

}  // namespace

std::string ExifTime(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &parts);
    return text;
}

Pixels DrawPicture(int width, int height, Art art, int variant, const std::string& name,
                   bool upMarker) {
    Canvas canvas(width, height);
    if (!canvas.Valid())
        return {};
    DrawArt(canvas, art, variant);
    if (upMarker)
        DrawUpMarker(canvas);
    DrawName(canvas, platform::FromUtf8(name));
    return canvas.Read();
}

std::vector<std::uint8_t> MakeCameraJpeg(const CameraPicture& picture, std::string& error) {
    // A quarter turn shows the stored picture with its sides swapped, so draw it that way up.
    const bool quarter = picture.orientation == 6 || picture.orientation == 8;
    const int uprightWidth = quarter ? picture.height : picture.width;
    const int uprightHeight = quarter ? picture.width : picture.height;
    const bool marked = picture.orientation > 1;
    const Pixels upright = DrawPicture(uprightWidth, uprightHeight, picture.art, picture.variant,
                                       picture.name, marked);
    if (upright.argb.empty()) {
        error = "cannot draw " + picture.name;
        return {};
    }
    const Pixels stored = StoredForOrientation(upright, picture.orientation);
    const std::vector<std::uint8_t> jpeg =
        EncodePixels(stored, EncodedFormat::Jpeg, false, kJpegQuality, error);
    if (jpeg.empty())
        return {};

    ExifFields fields;
    fields.orientation = picture.orientation;
    fields.make = "Halvern";
    fields.model = "HV Demo Camera";
    fields.dateTime = ExifTime(picture.taken);
    fields.pixelWidth = static_cast<std::uint32_t>(picture.width);
    fields.pixelHeight = static_cast<std::uint32_t>(picture.height);
    fields.gps = picture.gps;
    if (picture.thumbnail) {
        // The thumbnail is stored the same way up as the picture, as cameras write it.
        const Pixels small = Shrink(stored, kThumbnailWidth, kThumbnailHeight);
        fields.thumbnailJpeg =
            EncodePixels(small, EncodedFormat::Jpeg, false, kThumbnailQuality, error);
        if (fields.thumbnailJpeg.empty())
            return {};
    }
    const std::vector<std::uint8_t> payload = BuildExifPayload(fields);
    std::vector<std::uint8_t> out = InsertExifSegment(jpeg, payload);
    if (payload.empty() || out.empty())
        error = "cannot add EXIF data to " + picture.name;
    return payload.empty() ? std::vector<std::uint8_t>{} : out;
}

std::vector<Pixels> BouncingBallFrames(int width, int height, int frames) {
    std::vector<Pixels> out;
    for (int i = 0; i < frames; ++i) {
        Canvas canvas(width, height);
        if (!canvas.Valid())
            return {};
        canvas.VerticalGradient(0, 0, width, height * 3 / 4, RGB(80, 150, 230), RGB(200, 230, 255));
        canvas.FillRect(0, height * 3 / 4, width, height, RGB(60, 160, 70));
        const double t = double(i) / frames;
        const int r = std::min(width, height) / 8;
        const int x = r + static_cast<int>(t * (width - 2 * r));
        const int floor = height * 3 / 4 - r;
        const int y =
            floor - static_cast<int>(std::fabs(std::sin(t * 2 * 3.14159265)) * height / 2);
        canvas.Ellipse(x - r / 2, floor + r - r / 4, x + r / 2, floor + r + r / 8,
                       RGB(40, 110, 50));
        canvas.Ellipse(x - r, y - r, x + r, y + r, RGB(230, 60, 50));
        canvas.Text(u"GIF " + platform::FromUtf8(std::to_string(i + 1)),
                    RECT{0, 0, width, height / 5}, height / 8, RGB(255, 255, 255));
        out.push_back(canvas.Read());
    }
    return out;
}

Pixels OneBitLogo(int width, int height, const std::string& name) {
    Canvas canvas(width, height);
    if (!canvas.Valid())
        return {};
    canvas.FillRect(0, 0, width, height, RGB(255, 255, 255));
    const int r = std::min(width, height) * 3 / 8;
    const int cx = width / 2, cy = height * 2 / 5;
    canvas.Ellipse(cx - r, cy - r, cx + r, cy + r, RGB(0, 0, 0));
    canvas.Ellipse(cx - r * 2 / 3, cy - r * 2 / 3, cx + r * 2 / 3, cy + r * 2 / 3,
                   RGB(255, 255, 255));
    canvas.Text(platform::FromUtf8(name), RECT{0, height * 3 / 4, width, height}, height / 6,
                RGB(0, 0, 0));
    return canvas.Read();
}

Pixels TransparentBadge(int width, int height, const std::string& name) {
    // Drawn over a key colour that then becomes fully transparent; GDI itself writes no alpha.
    constexpr COLORREF kKey = RGB(255, 0, 255);
    constexpr std::uint32_t kKeyPixel = 0xFF00FF;
    Canvas canvas(width, height);
    if (!canvas.Valid())
        return {};
    canvas.FillRect(0, 0, width, height, kKey);
    canvas.Ellipse(width / 10, height / 10, width * 9 / 10, height * 9 / 10, RGB(250, 190, 30));
    canvas.Ellipse(width / 5, height / 5, width * 4 / 5, height * 4 / 5, RGB(40, 90, 200));
    const POINT star[] = {{width / 2, height / 4},
                          {width * 57 / 100, height * 43 / 100},
                          {width * 3 / 4, height * 45 / 100},
                          {width * 61 / 100, height * 57 / 100},
                          {width * 66 / 100, height * 3 / 4},
                          {width / 2, height * 65 / 100},
                          {width * 34 / 100, height * 3 / 4},
                          {width * 39 / 100, height * 57 / 100},
                          {width / 4, height * 45 / 100},
                          {width * 43 / 100, height * 43 / 100}};
    canvas.Polygon(star, 10, RGB(255, 255, 255));
    canvas.FillRect(0, height * 80 / 100, width, height, RGB(30, 30, 30));
    canvas.Text(platform::FromUtf8(name), RECT{0, height * 80 / 100, width, height}, height / 12,
                RGB(255, 255, 255));
    Pixels pixels = canvas.Read();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t& p = pixels.At(x, y);
            if ((p & 0xFFFFFF) == kKeyPixel) {
                p = 0;
            } else if (y >= height * 80 / 100) {
                // The caption band fades from solid on the left to mostly clear on the right.
                const auto alpha =
                    static_cast<std::uint32_t>(255 - 180 * x / std::max(1, width - 1));
                p = (p & 0xFFFFFF) | (alpha << 24);
            }
        }
    }
    return pixels;
}

}  // namespace demo
