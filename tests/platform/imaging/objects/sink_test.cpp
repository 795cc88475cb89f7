#include <gtest/gtest.h>

#include <cstring>

#include "platform/imaging/objects/bitmap_image.h"
#include "platform/imaging/objects/property_set.h"
#include "platform/imaging/objects/sink_push.h"
#include "tests/platform/imaging/objects/objects_fixtures.h"

namespace {

using objects_test::As;
using objects_test::MakeBitmap;
using objects_test::PixelAt;

TEST(PropertySet, PackedBlockRoundTripsThroughAnotherSet) {
    platform::imaging::PropertySet properties;
    const UINT delays[] = {10, 20, 30};
    properties.SetLongs(PropertyTagFrameDelay, delays);
    properties.SetShort(PropertyTagOrientation, 3);
    properties.Set(0x9999, PropertyTagTypeASCII, std::vector<std::uint8_t>{'a', 'b', 'c', 0, 'd'});
    properties.SetShort(PropertyTagOrientation, 8);  // replaces, does not add
    ASSERT_EQ(properties.Count(), 3u);

    const UINT size = properties.PackedSize();
    std::vector<std::uint64_t> block((size + 7) / 8);
    auto* items = reinterpret_cast<PropertyItem*>(block.data());
    EXPECT_EQ(properties.Pack(size - 1, 3, items), E_INVALIDARG);
    EXPECT_EQ(properties.Pack(size, 2, items), E_INVALIDARG);
    ASSERT_EQ(properties.Pack(size, 3, items), S_OK);
    for (UINT i = 0; i < 3; ++i) {
        const auto* value = static_cast<const std::uint8_t*>(items[i].value);
        EXPECT_GE(value, reinterpret_cast<const std::uint8_t*>(items + 3));
        EXPECT_LE(value + items[i].length, reinterpret_cast<const std::uint8_t*>(items) + size);
    }
    platform::imaging::PropertySet copy;
    ASSERT_EQ(copy.AddItems(3, items), S_OK);
    for (const auto& item : properties.Items()) {
        const auto* found = copy.Find(item.id);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->value, item.value);
        EXPECT_EQ(found->type, item.type);
    }
    UINT one = 0;
    ASSERT_EQ(copy.ItemSize(PropertyTagOrientation, &one), S_OK);
    EXPECT_EQ(one, sizeof(PropertyItem) + 2);
    EXPECT_EQ(copy.ItemSize(0x1234, &one), E_INVALIDARG);
}

// Pushing a bitmap into another through PushPixelsIntoSink, in every pair of formats the sink
// can take: pixels, size and palette arrive; properties arrive and their block is freed.
TEST(SinkPush, BitmapIntoBitmapAcrossFormats) {
    struct Case {
        PixelFormatID from;
        PixelFormatID sink;
        PixelFormatID stored;
    };
    const Case cases[] = {
        {PixelFormat24bppRGB, PixelFormat24bppRGB, PixelFormat24bppRGB},
        {PixelFormat32bppARGB, PixelFormat16bppRGB565, PixelFormat16bppRGB565},
        {PixelFormat16bppRGB555, PixelFormat32bppARGB, PixelFormat32bppARGB},
        // Indexed storage cannot hold a colour picture: it becomes 32bppARGB.
        {PixelFormat24bppRGB, PixelFormat8bppIndexed, PixelFormat32bppARGB},
        {PixelFormat8bppIndexed, PixelFormat8bppIndexed, PixelFormat8bppIndexed},
        {PixelFormat8bppIndexed, PixelFormat24bppRGB, PixelFormat24bppRGB},
    };
    for (const Case& c : cases) {
        std::vector<ARGB> pixels(900, 0xFFFFFFFF);
        pixels.back() = 0xFF000000;
        ComPtr<IBitmapImage> source = MakeBitmap(3, 300, c.from, pixels);
        ASSERT_TRUE(source);

        ComPtr<IBitmapImage> sink;
        ASSERT_EQ(
            platform::imaging::CreateNewBitmapImage(1, 1, c.sink, sink.ReleaseAndGetAddressOf()),
            S_OK);
        platform::imaging::PropertySet properties;
        properties.SetShort(PropertyTagOrientation, 6);
        BitmapData all{};
        ASSERT_EQ(source->LockBits(nullptr, ImageLockModeRead, 0, &all), S_OK);
        platform::imaging::Palette palette;
        ColorPalette* colours = nullptr;
        if (SUCCEEDED(source->GetPalette(&colours))) {
            palette.entries.assign(colours->Entries, colours->Entries + colours->Count);
            CoTaskMemFree(colours);
        }
        const platform::imaging::RasterView view{
            static_cast<std::uint8_t*>(all.Scan0), all.Stride, 3, 300, all.PixelFormat, &palette};
        ImageInfo info{};
        info.RawDataFormat = ImageFormatMemoryBMP;
        EXPECT_EQ(platform::imaging::PushPixelsIntoSink(view, info, properties,
                                                        As<IImageSink>(sink).Get()),
                  S_OK);
        source->UnlockBits(&all);

        SIZE size{};
        PixelFormatID format = 0;
        sink->GetSize(&size);
        sink->GetPixelFormatID(&format);
        EXPECT_EQ(size.cx, 3);
        EXPECT_EQ(size.cy, 300);
        EXPECT_EQ(format, c.stored) << std::hex << c.from << " into " << c.sink;
        EXPECT_EQ(PixelAt(sink.Get(), 0, 0), 0xFFFFFFFFu) << std::hex << c.from;
        EXPECT_EQ(PixelAt(sink.Get(), 2, 299), 0xFF000000u) << std::hex << c.from;
        const auto* kept = platform::imaging::BitmapProperties(sink.Get());
        ASSERT_NE(kept, nullptr);
        EXPECT_NE(kept->Find(PropertyTagOrientation), nullptr);
    }
}

TEST(SinkPush, SinkRefusesCallsOutsideItsProtocol) {
    ComPtr<IBitmapImage> bitmap = MakeBitmap(2, 2, PixelFormat24bppRGB, std::vector<ARGB>(4));
    ComPtr<IImageSink> sink = As<IImageSink>(bitmap);
    const RECT rows{0, 0, 2, 1};
    BitmapData data{};
    EXPECT_EQ(sink->GetPixelDataBuffer(&rows, PixelFormat24bppRGB, TRUE, &data), IMGERR_OBJECTBUSY)
        << "before BeginSink";
    ImageInfo info{};
    info.Width = 2;
    info.Height = 2;
    info.PixelFormat = PixelFormat32bppARGB;
    ASSERT_EQ(sink->BeginSink(&info, nullptr), S_OK);
    EXPECT_EQ(info.PixelFormat, PixelFormat24bppRGB) << "asks for its own format";
    const RECT outside{0, 1, 2, 3};
    EXPECT_EQ(sink->GetPixelDataBuffer(&outside, PixelFormat24bppRGB, TRUE, &data), E_INVALIDARG);
    ASSERT_EQ(sink->GetPixelDataBuffer(&rows, PixelFormat32bppARGB, TRUE, &data), S_OK);
    static_cast<ARGB*>(data.Scan0)[1] = 0xFF123456;
    BitmapData other{};
    EXPECT_EQ(sink->GetPixelDataBuffer(&rows, PixelFormat32bppARGB, TRUE, &other),
              IMGERR_OBJECTBUSY);
    BitmapData lock{};
    EXPECT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, 0, &lock), IMGERR_OBJECTBUSY);
    ASSERT_EQ(sink->ReleasePixelDataBuffer(&data), S_OK);
    EXPECT_EQ(sink->EndSink(S_OK), S_OK);
    EXPECT_EQ(PixelAt(bitmap.Get(), 1, 0), 0xFF123456u);
    // A property block the caller made stays the caller's.
    PropertyItem item{PropertyTagOrientation, 2, PropertyTagTypeShort, nullptr};
    WORD six = 6;
    item.value = &six;
    EXPECT_EQ(sink->PushPropertyItems(1, sizeof item, &item), S_OK);
    EXPECT_EQ(sink->PushPropertyItems(2, sizeof item, &item), E_INVALIDARG);
}

}  // namespace
