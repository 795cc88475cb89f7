// The decoder object's frame and property calls and the encoder's parameters.
#include <cstring>

#include "tests/platform/imaging/factory/factory_test_support.h"

namespace factory_test {
namespace {

using testing_support::ReadBytes;

class DecoderEncoderTest : public DeviceTest {
  protected:
    // A decoder over the whole file, through a stream that deletes its block.
    ComPtr<IImageDecoder> OpenDecoder(const std::string& name) {
        const std::vector<std::uint8_t> bytes = ReadBytes(HostPath(name));
        ComPtr<IStream> stream;
        EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(stream->Write(bytes.data(), ULONG(bytes.size()), nullptr), S_OK);
        EXPECT_EQ(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), S_OK);
        ComPtr<IImageDecoder> decoder;
        EXPECT_EQ(factory_->CreateImageDecoder(stream.Get(), DecoderInitFlagBuiltIn1st,
                                               decoder.ReleaseAndGetAddressOf()),
                  S_OK);
        return decoder;
    }
};

TEST_F(DecoderEncoderTest, FrameCallsCheckDimensionAndRange) {
    MakePicture("still.jpg", QuadrantArgs());
    MakePicture("anim.gif", {"-size", "8x8", "xc:red", "xc:blue"});
    struct Case {
        const char* name;
        const GUID* dimension;
        UINT frames;
    };
    const Case cases[] = {{"still.jpg", &FrameDimensionPage, 1},
                          {"anim.gif", &FrameDimensionTime, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IImageDecoder> decoder = OpenDecoder(c.name);
        ASSERT_TRUE(decoder);
        GUID ids[2]{};
        EXPECT_EQ(decoder->GetFrameDimensionsList(ids, 2), E_INVALIDARG);
        ASSERT_EQ(decoder->GetFrameDimensionsList(ids, 1), S_OK);
        EXPECT_TRUE(IsEqualGUID(ids[0], *c.dimension));
        UINT frames = 0;
        ASSERT_EQ(decoder->GetFrameCount(c.dimension, &frames), S_OK);
        EXPECT_EQ(frames, c.frames);
        const GUID* other =
            c.dimension == &FrameDimensionPage ? &FrameDimensionTime : &FrameDimensionPage;
        EXPECT_EQ(decoder->GetFrameCount(other, &frames), E_INVALIDARG);
        EXPECT_EQ(decoder->SelectActiveFrame(c.dimension, c.frames - 1), S_OK);
        EXPECT_EQ(decoder->SelectActiveFrame(c.dimension, c.frames), E_INVALIDARG);
        EXPECT_EQ(decoder->SelectActiveFrame(other, 0), E_INVALIDARG);
        // Decoding needs a sink first; after TerminateDecoder nothing is left to decode.
        EXPECT_EQ(decoder->Decode(), E_FAIL);
        EXPECT_EQ(decoder->TerminateDecoder(), S_OK);
        EXPECT_EQ(decoder->GetFrameCount(c.dimension, &frames), E_FAIL);
        ImageInfo info{};
        EXPECT_EQ(decoder->GetImageInfo(&info), E_FAIL);
    }
}

TEST_F(DecoderEncoderTest, JpegOrientationIsAPropertyAndItemsCanBeChanged) {
    MakePicture("turned.jpg", QuadrantArgs());
    ASSERT_TRUE(testing_support::RunExiftool(
        {"-overwrite_original", "-Orientation#=6", HostPath("turned.jpg")}));
    ComPtr<IImageDecoder> decoder = OpenDecoder("turned.jpg");
    ASSERT_TRUE(decoder);
    UINT size = 0;
    ASSERT_EQ(decoder->GetPropertyItemSize(PropertyTagOrientation, &size), S_OK);
    std::vector<std::uint64_t> storage((size + 7) / 8);
    auto* item = reinterpret_cast<PropertyItem*>(storage.data());
    EXPECT_EQ(decoder->GetPropertyItem(PropertyTagOrientation, size + 1, item), E_INVALIDARG);
    ASSERT_EQ(decoder->GetPropertyItem(PropertyTagOrientation, size, item), S_OK);
    ASSERT_EQ(item->type, PropertyTagTypeShort);
    WORD orientation = 0;
    std::memcpy(&orientation, item->value, sizeof(orientation));
    EXPECT_EQ(orientation, 6);

    UINT total = 0, count = 0;
    ASSERT_EQ(decoder->GetPropertySize(&total, &count), S_OK);
    std::vector<std::uint64_t> all((total + 7) / 8 + 1);
    auto* items = reinterpret_cast<PropertyItem*>(all.data());
    EXPECT_EQ(decoder->GetAllPropertyItems(total - 1, count, items), E_INVALIDARG);
    EXPECT_EQ(decoder->GetAllPropertyItems(total, count + 1, items), E_INVALIDARG);
    EXPECT_EQ(decoder->GetAllPropertyItems(total, count, items), S_OK);
    std::vector<PROPID> ids(count);
    EXPECT_EQ(decoder->GetPropertyIdList(count + 1, ids.data()), E_INVALIDARG);

    ASSERT_EQ(decoder->RemovePropertyItem(PropertyTagOrientation), S_OK);
    EXPECT_EQ(decoder->RemovePropertyItem(PropertyTagOrientation), E_INVALIDARG);
    UINT after = 0;
    ASSERT_EQ(decoder->GetPropertyCount(&after), S_OK);
    EXPECT_EQ(after, count - 1);
    WORD three = 3;
    ASSERT_EQ(decoder->SetPropertyItem(PropertyItem{PropertyTagOrientation, sizeof(three),
                                                    PropertyTagTypeShort, &three}),
              S_OK);
    ASSERT_EQ(decoder->GetPropertyItem(PropertyTagOrientation, size, item), S_OK);
    std::memcpy(&orientation, item->value, sizeof(orientation));
    EXPECT_EQ(orientation, 3);
}

TEST_F(DecoderEncoderTest, EncoderParametersOnlyJpegQuality) {
    ULONG q80 = 80, q101 = 101;
    WORD shortValue = 80;
    ULONG two[2] = {80, 90};
    const GUID unknown = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    struct Case {
        const CLSID* encoder;
        EncoderParameter parameter;
        UINT count;
        HRESULT result;
    };
    const Case cases[] = {
        {&CLSID_JpegEncoder, {EncoderQuality, 1, EncoderParameterValueTypeLong, &q80}, 1, S_OK},
        {&CLSID_JpegEncoder, {EncoderQuality, 1, EncoderParameterValueTypeLong, &q80}, 0, S_OK},
        {&CLSID_JpegEncoder,
         {EncoderQuality, 1, EncoderParameterValueTypeLong, &q101},
         1,
         E_INVALIDARG},
        {&CLSID_JpegEncoder,
         {EncoderQuality, 1, EncoderParameterValueTypeShort, &shortValue},
         1,
         E_INVALIDARG},
        {&CLSID_JpegEncoder,
         {EncoderQuality, 2, EncoderParameterValueTypeLong, two},
         1,
         E_INVALIDARG},
        {&CLSID_JpegEncoder,
         {EncoderQuality, 1, EncoderParameterValueTypeLong, nullptr},
         1,
         E_INVALIDARG},
        {&CLSID_JpegEncoder, {unknown, 1, EncoderParameterValueTypeLong, &q80}, 1, E_INVALIDARG},
        {&CLSID_PngEncoder,
         {EncoderQuality, 1, EncoderParameterValueTypeLong, &q80},
         1,
         E_INVALIDARG},
        {&CLSID_BmpEncoder, {EncoderQuality, 1, EncoderParameterValueTypeLong, &q80}, 0, S_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.encoder->Data1 << " " << c.result);
        ComPtr<IStream> stream;
        ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.ReleaseAndGetAddressOf()), S_OK);
        ComPtr<IImageEncoder> encoder;
        ASSERT_EQ(factory_->CreateImageEncoderToStream(c.encoder, stream.Get(),
                                                       encoder.ReleaseAndGetAddressOf()),
                  S_OK);
        EncoderParameters params{c.count, {c.parameter}};
        EXPECT_EQ(encoder->SetEncoderParameters(&params), c.result);
    }
}

TEST_F(DecoderEncoderTest, JpegListsItsQualityRange) {
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IImageEncoder> encoder;
    ASSERT_EQ(factory_->CreateImageEncoderToStream(&CLSID_JpegEncoder, stream.Get(),
                                                   encoder.ReleaseAndGetAddressOf()),
              S_OK);
    UINT size = 0;
    ASSERT_EQ(encoder->GetEncoderParameterListSize(&size), S_OK);
    std::vector<std::uint64_t> storage((size + 7) / 8);
    auto* params = reinterpret_cast<EncoderParameters*>(storage.data());
    EXPECT_EQ(encoder->GetEncoderParameterList(size - 1, params), E_INVALIDARG);
    ASSERT_EQ(encoder->GetEncoderParameterList(size, params), S_OK);
    ASSERT_EQ(params->Count, 1u);
    EXPECT_TRUE(IsEqualGUID(params->Parameter[0].Guid, EncoderQuality));
    EXPECT_EQ(params->Parameter[0].Type, EncoderParameterValueTypeLongRange);
    const auto* range = static_cast<const ULONG*>(params->Parameter[0].Value);
    EXPECT_EQ(range[0], 0u);
    EXPECT_EQ(range[1], 100u);
}

TEST_F(DecoderEncoderTest, QualityReachesTheJpegEncoder) {
    MakePicture("g.png", {"-size", "96x96", "plasma:fractal", "-seed", "7"});
    ComPtr<IImage> image;
    ASSERT_EQ(
        factory_->CreateImageFromFile(DevicePath("g.png").c_str(), image.ReleaseAndGetAddressOf()),
        S_OK);
    ASSERT_EQ(SaveImage(factory_.Get(), image.Get(), CLSID_JpegEncoder, DevicePath("low.jpg"), 10),
              S_OK);
    ASSERT_EQ(SaveImage(factory_.Get(), image.Get(), CLSID_JpegEncoder, DevicePath("high.jpg"), 95),
              S_OK);
    ASSERT_EQ(SaveImage(factory_.Get(), image.Get(), CLSID_JpegEncoder, DevicePath("plain.jpg")),
              S_OK);
    ASSERT_EQ(SaveImage(factory_.Get(), image.Get(), CLSID_JpegEncoder, DevicePath("q80.jpg"), 80),
              S_OK);
    EXPECT_LT(ReadBytes(HostPath("low.jpg")).size(), ReadBytes(HostPath("high.jpg")).size());
    // No parameter means quality 80.
    EXPECT_EQ(ReadBytes(HostPath("plain.jpg")), ReadBytes(HostPath("q80.jpg")));
}

}  // namespace
}  // namespace factory_test
