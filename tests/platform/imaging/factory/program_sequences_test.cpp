// The imaging calls exactly as the program's image control, decode manager, image library and
// crop tool make them, with pictures made by ImageMagick and results checked by its decodes.
#include <cmath>
#include <cstring>

#include "platform/core/global_memory.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/platform/imaging/factory/factory_test_support.h"

namespace factory_test {
namespace {

using testing_support::DecodeWithImageMagick;
using testing_support::ReadBytes;

class ProgramSequenceTest : public DeviceTest {};

TEST_F(ProgramSequenceTest, ThumbnailOfEachFormat) {
    struct Case {
        const char* name;
        const char* prefix;
        const GUID* rawFormat;
        int tolerance;
    };
    const Case cases[] = {
        {"q.jpg", "", &ImageFormatJPEG, 24},
        {"q.png", "", &ImageFormatPNG, 0},
        {"q.gif", "", &ImageFormatGIF, 0},
        {"q.bmp", "BMP3:", &ImageFormatBMP, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakePicture(c.name, QuadrantArgs(), c.prefix);
        ComPtr<IImage> image;
        ASSERT_EQ(factory_->CreateImageFromFile(DevicePath(c.name).c_str(),
                                                image.ReleaseAndGetAddressOf()),
                  S_OK);
        ImageInfo info{};
        ASSERT_EQ(image->GetImageInfo(&info), S_OK);
        EXPECT_TRUE(IsEqualGUID(info.RawDataFormat, *c.rawFormat));
        EXPECT_EQ(info.Width, 64u);
        EXPECT_EQ(info.Height, 48u);
        ComPtr<IImage> thumbnail;
        ASSERT_EQ(image->GetThumbnail(32, 24, thumbnail.ReleaseAndGetAddressOf()), S_OK);
        RgbaPicture pixels;
        ASSERT_TRUE(ReadImagePixels(factory_.Get(), thumbnail.Get(), &pixels));
        ASSERT_EQ(pixels.width, 32);
        ASSERT_EQ(pixels.height, 24);
        for (const Quadrant& q : kQuadrants)
            EXPECT_TRUE(NearColour(pixels.At(q.x / 2, q.y / 2), q.rgb, c.tolerance));
    }
}

// The decode manager reads the whole file into a movable block and decodes from a stream on it.
ComPtr<IImageDecoder> DecoderOverFile(IImagingFactory* factory, const std::string& hostPath,
                                      HGLOBAL* block) {
    const std::vector<std::uint8_t> bytes = ReadBytes(hostPath);
    *block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(*block), bytes.data(), bytes.size());
    GlobalUnlock(*block);
    ComPtr<IStream> stream;
    EXPECT_EQ(CreateStreamOnHGlobal(*block, FALSE, stream.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IImageDecoder> decoder;
    EXPECT_EQ(factory->CreateImageDecoder(stream.Get(), DecoderInitFlagBuiltIn1st,
                                          decoder.ReleaseAndGetAddressOf()),
              S_OK);
    return decoder;
}

const std::vector<std::string> kThreeFrames = {
    "-delay", "10",      "-size", "16x12", "xc:red", "-delay",    "20",    "xc:lime", "-delay",
    "0",      "xc:blue", "-fill", "white", "-draw",  "point 3,4", "-loop", "0"};

TEST_F(ProgramSequenceTest, FrameDelaysOfAnAnimatedGif) {
    MakePicture("anim.gif", kThreeFrames);
    HGLOBAL block = nullptr;
    ComPtr<IImageDecoder> decoder = DecoderOverFile(factory_.Get(), HostPath("anim.gif"), &block);
    ASSERT_TRUE(decoder);
    UINT size = 0, count = 0;
    ASSERT_EQ(decoder->GetPropertySize(&size, &count), S_OK);
    ASSERT_GT(count, 0u);
    std::vector<std::uint64_t> storage((size + 7) / 8);
    auto* items = reinterpret_cast<PropertyItem*>(storage.data());
    ASSERT_EQ(decoder->GetAllPropertyItems(size, count, items), S_OK);
    const PropertyItem* delay = nullptr;
    for (UINT i = 0; i < count; ++i) {
        if (items[i].id == PropertyTagFrameDelay)
            delay = &items[i];
    }
    ASSERT_NE(delay, nullptr);
    ASSERT_EQ(delay->type, PropertyTagTypeLong);
    // The program counts frames as length / type code.
    ASSERT_EQ(delay->length / delay->type, 3u);
    const auto* values = static_cast<const std::uint8_t*>(delay->value);
    EXPECT_GE(values, reinterpret_cast<const std::uint8_t*>(storage.data()));
    EXPECT_LE(values + delay->length, reinterpret_cast<const std::uint8_t*>(storage.data()) + size);
    UINT delays[3];
    std::memcpy(delays, values, sizeof(delays));
    EXPECT_EQ(delays[0], 10u);
    EXPECT_EQ(delays[1], 20u);
    EXPECT_EQ(delays[2], 0u);
    decoder.Reset();
    EXPECT_EQ(GlobalFree(block), nullptr) << "the block stays the caller's";
}

// One tick of the animation: the frame decoded into a new bitmap, drawn into a DIB section.
std::vector<COLORREF> DrawFrame(IImagingFactory* factory, IImageDecoder* decoder, UINT frame) {
    UINT dimensions = 0;
    EXPECT_EQ(decoder->GetFrameDimensionsCount(&dimensions), S_OK);
    std::vector<GUID> ids(dimensions);
    EXPECT_EQ(decoder->GetFrameDimensionsList(ids.data(), dimensions), S_OK);
    UINT frames = 0;
    EXPECT_EQ(decoder->GetFrameCount(&ids[0], &frames), S_OK);
    EXPECT_EQ(frames, 3u);
    EXPECT_EQ(decoder->SelectActiveFrame(&ids[0], frame), S_OK);
    ImageInfo info{};
    EXPECT_EQ(decoder->GetImageInfo(&info), S_OK);
    ComPtr<IBitmapImage> bitmap;
    EXPECT_EQ(factory->CreateNewBitmap(info.Width, info.Height, info.PixelFormat,
                                       bitmap.ReleaseAndGetAddressOf()),
              S_OK);
    ComPtr<IImageSink> sink;
    ComPtr<IImage> image;
    EXPECT_EQ(bitmap.As(&sink), S_OK);
    EXPECT_EQ(bitmap.As(&image), S_OK);
    EXPECT_EQ(decoder->BeginDecode(sink.Get(), nullptr), S_OK);
    HRESULT hr;
    while ((hr = decoder->Decode()) == E_PENDING) {
    }
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(decoder->EndDecode(hr), S_OK);

    const int width = int(info.Width), height = int(info.Height);
    BITMAPINFO dib{};
    dib.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    platform::ScopedDC dc(CreateCompatibleDC(nullptr));
    platform::ScopedGdiObject section(
        CreateDIBSection(dc.Get(), &dib, DIB_RGB_COLORS, &bits, nullptr, 0));
    platform::ScopedSelectObject selected(dc.Get(), section.Get());
    const RECT destination{0, 0, width, height};
    EXPECT_EQ(image->Draw(dc.Get(), &destination, nullptr), S_OK);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(GetPixel(dc.Get(), x, y));
    return pixels;
}

TEST_F(ProgramSequenceTest, AnimatedFrameDrawingGivesEachFrame) {
    MakePicture("anim.gif", kThreeFrames);
    HGLOBAL block = nullptr;
    ComPtr<IImageDecoder> decoder = DecoderOverFile(factory_.Get(), HostPath("anim.gif"), &block);
    ASSERT_TRUE(decoder);
    // Backwards too, so a decoder that only steps forward is caught.
    for (const UINT frame : {0u, 1u, 2u, 0u}) {
        SCOPED_TRACE(frame);
        RgbaPicture expected;
        ASSERT_TRUE(DecodeWithImageMagick(HostPath("anim.gif"), &expected, int(frame)));
        const std::vector<COLORREF> drawn = DrawFrame(factory_.Get(), decoder.Get(), frame);
        ASSERT_EQ(drawn.size(), std::size_t(expected.width) * expected.height);
        int wrong = 0;
        for (int y = 0; y < expected.height; ++y) {
            for (int x = 0; x < expected.width; ++x) {
                const std::uint8_t* want = expected.At(x, y);
                const COLORREF got = drawn[std::size_t(y) * expected.width + x];
                wrong += GetRValue(got) != want[0] || GetGValue(got) != want[1] ||
                         GetBValue(got) != want[2];
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    decoder.Reset();
    GlobalFree(block);
}

TEST_F(ProgramSequenceTest, SaveImageAsJpegQuality80) {
    MakePicture("source.png", {"-size", "80x60", "gradient:orange-navy"});
    ComPtr<IImage> image;
    ASSERT_EQ(factory_->CreateImageFromFile(DevicePath("source.png").c_str(),
                                            image.ReleaseAndGetAddressOf()),
              S_OK);
    CLSID clsid{};
    ASSERT_TRUE(FindEncoderClsid(factory_.Get(), u"IMAGE/JPEG", &clsid));
    ASSERT_EQ(SaveImage(factory_.Get(), image.Get(), clsid, DevicePath("saved.jpg"), 80), S_OK);
    const std::vector<std::uint8_t> bytes = ReadBytes(HostPath("saved.jpg"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    ASSERT_EQ(testing_support::RunShell("identify -format %Q '" + HostPath("saved.jpg") + "' > '" +
                                        HostPath("quality.txt") + "'"),
              0);
    const std::vector<std::uint8_t> quality = ReadBytes(HostPath("quality.txt"));
    EXPECT_EQ(std::string(quality.begin(), quality.end()), "80");
    RgbaPicture source, saved;
    ASSERT_TRUE(DecodeWithImageMagick(HostPath("source.png"), &source));
    ASSERT_TRUE(DecodeWithImageMagick(HostPath("saved.jpg"), &saved));
    ASSERT_EQ(saved.width, 80);
    ASSERT_EQ(saved.height, 60);
    const testing_support::PixelDifference difference = testing_support::Compare(source, saved);
    EXPECT_LT(difference.mean, 3.0);
    EXPECT_LT(difference.maximum, 40);
}

// The crop tool: the file's own format (RGB565, or the PNG's own), a clone of the rectangle, and
// the encoder whose format is the source's.
TEST_F(ProgramSequenceTest, CropToolKeepsTheFileFormat) {
    struct Case {
        const char* name;
        const char* prefix;
        PixelFormatID bitmapFormat;
        HRESULT result;
        std::vector<std::uint8_t> magic;
        int tolerance;
    };
    const Case cases[] = {
        {"c.jpg", "", PixelFormat16bppRGB565, S_OK, {0xFF, 0xD8}, 40},
        {"c.png", "", 0, S_OK, {0x89, 'P', 'N', 'G'}, 0},
        {"c.bmp", "BMP3:", PixelFormat16bppRGB565, S_OK, {'B', 'M'}, 0},
        {"c.gif", "", PixelFormat16bppRGB555, E_ABORT, {}, 0},  // no GIF encoder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakePicture(c.name, QuadrantArgs(), c.prefix);
        ComPtr<IImage> image;
        ASSERT_EQ(factory_->CreateImageFromFile(DevicePath(c.name).c_str(),
                                                image.ReleaseAndGetAddressOf()),
                  S_OK);
        ImageInfo info{};
        ASSERT_EQ(image->GetImageInfo(&info), S_OK);
        ComPtr<IBitmapImage> bitmap;
        ASSERT_EQ(factory_->CreateBitmapFromImage(image.Get(), info.Width, info.Height,
                                                  c.bitmapFormat, InterpolationHintBicubic,
                                                  bitmap.ReleaseAndGetAddressOf()),
                  S_OK);
        ComPtr<IBasicBitmapOps> ops;
        ASSERT_EQ(bitmap.As(&ops), S_OK);
        const RECT topRight{32, 0, 64, 24};
        ComPtr<IBitmapImage> cropped;
        ASSERT_EQ(ops->Clone(&topRight, cropped.ReleaseAndGetAddressOf(), TRUE), S_OK);
        ComPtr<IImage> croppedImage;
        ASSERT_EQ(cropped.As(&croppedImage), S_OK);
        CLSID clsid{};
        const HRESULT found =
            FindEncoderClsidByFormat(factory_.Get(), info.RawDataFormat, &clsid) ? S_OK : E_ABORT;
        ASSERT_EQ(found, c.result);
        if (FAILED(found))
            continue;
        ASSERT_EQ(SaveImage(factory_.Get(), croppedImage.Get(), clsid, DevicePath("out")), S_OK);
        const std::vector<std::uint8_t> bytes = ReadBytes(HostPath("out"));
        ASSERT_GE(bytes.size(), c.magic.size());
        EXPECT_TRUE(std::equal(c.magic.begin(), c.magic.end(), bytes.begin()));
        RgbaPicture out;
        ASSERT_TRUE(DecodeWithImageMagick(HostPath("out"), &out));
        ASSERT_EQ(out.width, 32);
        ASSERT_EQ(out.height, 24);
        for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 23}, {31, 23}, {16, 12}})
            EXPECT_TRUE(NearColour(out.At(x, y), 0x00FF00, c.tolerance)) << x << "," << y;
    }
}

TEST_F(ProgramSequenceTest, SaveScreenBmpCutsAndDims) {
    const int screenWidth = 240, screenHeight = 400, dimLevel = 3;
    MakePicture("wide.png", {"-size", "320x240", "xc:gray60", "-fill", "red", "-draw",
                             "rectangle 0,0 39,239", "-draw", "rectangle 280,0 319,239"});
    ComPtr<IImage> image;
    ASSERT_EQ(factory_->CreateImageFromFile(DevicePath("wide.png").c_str(),
                                            image.ReleaseAndGetAddressOf()),
              S_OK);
    ImageInfo info{};
    ASSERT_EQ(image->GetImageInfo(&info), S_OK);
    // Wider but not taller than the screen: made at the picture's size, then cut to the width.
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(
        factory_->CreateBitmapFromImage(image.Get(), info.Width, info.Height, info.PixelFormat,
                                        InterpolationHintBicubic, bitmap.ReleaseAndGetAddressOf()),
        S_OK);
    ComPtr<IBasicBitmapOps> ops;
    ASSERT_EQ(bitmap.As(&ops), S_OK);
    const int offset = (int(info.Width) - screenWidth) / 2;
    const RECT middle{offset, 0, offset + screenWidth, std::min(int(info.Height), screenHeight)};
    ComPtr<IBitmapImage> cut;
    ASSERT_EQ(ops->Clone(&middle, cut.ReleaseAndGetAddressOf(), TRUE), S_OK);
    ComPtr<IBasicBitmapOps> cutOps;
    ASSERT_EQ(cut.As(&cutOps), S_OK);
    const float gamma = 1.0f - 0.1f * dimLevel;
    ASSERT_EQ(cutOps->AdjustGamma(gamma), S_OK);
    CLSID clsid{};
    ASSERT_TRUE(FindEncoderClsid(factory_.Get(), u"image/bmp", &clsid));
    ComPtr<IImage> cutImage;
    ASSERT_EQ(cut.As(&cutImage), S_OK);
    // The Today background really is BMP data under a ".gif" name.
    ASSERT_EQ(SaveImage(factory_.Get(), cutImage.Get(), clsid, DevicePath("stwater.gif")), S_OK);
    const std::vector<std::uint8_t> bytes = ReadBytes(HostPath("stwater.gif"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    RgbaPicture source, out;
    ASSERT_TRUE(DecodeWithImageMagick(HostPath("wide.png"), &source));
    ASSERT_TRUE(DecodeWithImageMagick(HostPath("stwater.gif"), &out));
    ASSERT_EQ(out.width, screenWidth);
    ASSERT_EQ(out.height, 240);
    const int grey = source.At(160, 120)[0];
    const int dimmed = int(std::lround(255.0 * std::pow(grey / 255.0, 1.0 / gamma)));
    for (const auto& [x, y] : {std::pair{0, 0}, {239, 239}, {120, 120}})
        EXPECT_TRUE(NearColour(out.At(x, y), unsigned(dimmed) * 0x010101u, 1)) << x << "," << y;
}

TEST_F(ProgramSequenceTest, EncodeIntoAStreamOnGlobalMemory) {
    MakePicture("q.png", QuadrantArgs());
    ComPtr<IImage> image;
    ASSERT_EQ(
        factory_->CreateImageFromFile(DevicePath("q.png").c_str(), image.ReleaseAndGetAddressOf()),
        S_OK);
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.ReleaseAndGetAddressOf()), S_OK);
    CLSID clsid{};
    ASSERT_TRUE(FindEncoderClsidByFormat(factory_.Get(), ImageFormatPNG, &clsid));
    {
        ComPtr<IImageEncoder> encoder;
        ASSERT_EQ(factory_->CreateImageEncoderToStream(&clsid, stream.Get(),
                                                       encoder.ReleaseAndGetAddressOf()),
                  S_OK);
        ComPtr<IImageSink> sink;
        ASSERT_EQ(encoder->GetEncodeSink(sink.ReleaseAndGetAddressOf()), S_OK);
        ASSERT_EQ(image->PushIntoSink(sink.Get()), S_OK);
        ASSERT_EQ(stream->Commit(STGC_DEFAULT), S_OK);
    }
    HGLOBAL block = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(stream.Get(), &block), S_OK);
    const auto* data = static_cast<const std::uint8_t*>(GlobalLock(block));
    const std::vector<std::uint8_t> bytes(data, data + GlobalSize(block));
    GlobalUnlock(block);
    ASSERT_TRUE(testing_support::WriteBytes(HostPath("from-stream.png"), bytes));
    RgbaPicture source, written, reread;
    ASSERT_TRUE(DecodeWithImageMagick(HostPath("q.png"), &source));
    ASSERT_TRUE(DecodeWithImageMagick(HostPath("from-stream.png"), &written));
    EXPECT_EQ(testing_support::Compare(source, written).maximum, 0);
    // And back in from the same stream, from its start.
    LARGE_INTEGER start{};
    ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
    ComPtr<IImage> again;
    ASSERT_EQ(factory_->CreateImageFromStream(stream.Get(), again.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_TRUE(ReadImagePixels(factory_.Get(), again.Get(), &reread));
    EXPECT_EQ(testing_support::Compare(source, reread).maximum, 0);
}

}  // namespace
}  // namespace factory_test
