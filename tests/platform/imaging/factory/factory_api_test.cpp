// The factory's lists, argument checks and the decoder's and encoder's smaller contracts.
#include <cstring>

#include "tests/platform/imaging/factory/factory_test_support.h"

namespace factory_test {
namespace {

using testing_support::ReadBytes;

class FactoryApiTest : public DeviceTest {};

std::u16string Text(const WCHAR* text) {
    return text ? std::u16string(text) : u"(null)";
}

TEST_F(FactoryApiTest, InstalledCodecListsAreOneBlock) {
    struct Case {
        bool encoders;
        std::vector<std::u16string> mimeTypes;
    };
    const Case cases[] = {
        {true, {u"image/jpeg", u"image/png", u"image/bmp"}},
        {false, {u"image/jpeg", u"image/png", u"image/gif", u"image/bmp", u"image/vnd.wap.wbmp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoders ? "encoders" : "decoders");
        UINT count = 0;
        ImageCodecInfo* codecs = nullptr;
        ASSERT_EQ(c.encoders ? factory_->GetInstalledEncoders(&count, &codecs)
                             : factory_->GetInstalledDecoders(&count, &codecs),
                  S_OK);
        ASSERT_EQ(count, c.mimeTypes.size());
        const auto* begin = reinterpret_cast<const std::uint8_t*>(codecs);
        const auto* arrayEnd = reinterpret_cast<const std::uint8_t*>(codecs + count);
        for (UINT i = 0; i < count; ++i) {
            const ImageCodecInfo& info = codecs[i];
            EXPECT_EQ(Text(info.MimeType), c.mimeTypes[i]);
            EXPECT_EQ(info.DllName, nullptr);
            EXPECT_NE(info.Flags & (c.encoders ? ImageCodecFlagsEncoder : ImageCodecFlagsDecoder),
                      0u);
            // Strings live after the array, inside the block.
            for (const WCHAR* text :
                 {info.CodecName, info.FormatDescription, info.FilenameExtension, info.MimeType}) {
                ASSERT_NE(text, nullptr);
                EXPECT_GE(reinterpret_cast<const std::uint8_t*>(text), arrayEnd);
            }
            if (info.SigCount > 0) {
                EXPECT_GT(info.SigSize, 0u);
            }
            for (DWORD b = 0; b < info.SigCount * info.SigSize; ++b)
                EXPECT_EQ(info.SigMask[b], 0xFF);
        }
        EXPECT_GT(arrayEnd, begin);
        // The JPEG entry is what SaveImage looks up, with its class id and file extensions.
        EXPECT_TRUE(IsEqualGUID(codecs[0].FormatID, ImageFormatJPEG));
        EXPECT_EQ(Text(codecs[0].FilenameExtension), u"*.JPG;*.JPEG;*.JPE;*.JFIF");
        if (c.encoders) {
            EXPECT_TRUE(IsEqualCLSID(codecs[0].Clsid, CLSID_JpegEncoder));
            EXPECT_TRUE(IsEqualCLSID(codecs[1].Clsid, CLSID_PngEncoder));
            EXPECT_TRUE(IsEqualCLSID(codecs[2].Clsid, CLSID_BmpEncoder));
        }
        CoTaskMemFree(codecs);  // one free for everything (the leak checker watches this)
    }
}

TEST_F(FactoryApiTest, CreateImageFromFileErrors) {
    ASSERT_TRUE(testing_support::WriteBytes(HostPath("notes.txt"), {'h', 'e', 'l', 'l', 'o'}));
    MakePicture("named-wrongly.txt", QuadrantArgs(), "PNG:");
    struct Case {
        const char16_t* path;
        HRESULT result;
    };
    const Case cases[] = {
        {nullptr, E_INVALIDARG},
        {u"", E_INVALIDARG},
        {u"\\My Documents\\missing.jpg", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {u"\\My Documents\\notes.txt", IMGERR_CODECNOTFOUND},
        {u"\\My Documents\\named-wrongly.txt", S_OK},  // recognised by its bytes
        {u"\\MY DOCUMENTS\\NAMED-WRONGLY.TXT", S_OK},  // and found whatever the case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.path ? "path" : "null") << " " << c.result);
        ComPtr<IImage> image;
        EXPECT_EQ(factory_->CreateImageFromFile(c.path, image.ReleaseAndGetAddressOf()), c.result);
        EXPECT_EQ(bool(image), c.result == S_OK);
    }
}

TEST_F(FactoryApiTest, BufferDisposalDecidesWhoFreesTheBuffer) {
    MakePicture("q.png", QuadrantArgs());
    const std::vector<std::uint8_t> png = ReadBytes(HostPath("q.png"));
    auto taskCopy = [](const std::vector<std::uint8_t>& bytes) {
        void* copy = CoTaskMemAlloc(bytes.size());
        std::memcpy(copy, bytes.data(), bytes.size());
        return copy;
    };
    // CoTaskMemFree: the image frees the buffer; the leak checker sees it otherwise.
    {
        ComPtr<IImage> image;
        ASSERT_EQ(factory_->CreateImageFromBuffer(taskCopy(png), UINT(png.size()),
                                                  BufferDisposalFlagCoTaskMemFree,
                                                  image.ReleaseAndGetAddressOf()),
                  S_OK);
        RgbaPicture pixels;
        ASSERT_TRUE(ReadImagePixels(factory_.Get(), image.Get(), &pixels));
        EXPECT_TRUE(NearColour(pixels.At(48, 36), 0xFFFFFF, 0));
    }
    // A failure leaves the buffer with the caller (a double free would show under asan).
    const std::vector<std::uint8_t> junk(64, 0x5A);
    void* buffer = taskCopy(junk);
    ComPtr<IImage> image;
    EXPECT_EQ(
        factory_->CreateImageFromBuffer(buffer, UINT(junk.size()), BufferDisposalFlagCoTaskMemFree,
                                        image.ReleaseAndGetAddressOf()),
        IMGERR_CODECNOTFOUND);
    CoTaskMemFree(buffer);
    struct Case {
        const void* buffer;
        UINT size;
        BufferDisposalFlag flag;
        HRESULT result;
    };
    const Case cases[] = {
        {png.data(), UINT(png.size()), BufferDisposalFlagNone, S_OK},
        {nullptr, 10, BufferDisposalFlagNone, E_INVALIDARG},
        {png.data(), 0, BufferDisposalFlagNone, E_INVALIDARG},
        {png.data(), UINT(png.size()), BufferDisposalFlagGlobalFree, E_INVALIDARG},
        {png.data(), UINT(png.size()), BufferDisposalFlagUnmapView, E_INVALIDARG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " flag " << c.flag);
        EXPECT_EQ(factory_->CreateImageFromBuffer(c.buffer, c.size, c.flag,
                                                  image.ReleaseAndGetAddressOf()),
                  c.result);
    }
}

TEST_F(FactoryApiTest, StreamsLargerThanTheBudgetAreOutOfMemory) {
    MakePicture("q.png", QuadrantArgs());
    const std::vector<std::uint8_t> png = ReadBytes(HostPath("q.png"));
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(stream->Write(png.data(), ULONG(png.size()), nullptr), S_OK);
    const std::size_t saved = platform::ImagingMemoryBudget();
    for (const std::size_t budget : {png.size() - 1, png.size() + 4096}) {
        SCOPED_TRACE(budget);
        platform::SetImagingMemoryBudget(budget);
        ASSERT_EQ(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), S_OK);
        ComPtr<IImage> image;
        EXPECT_EQ(factory_->CreateImageFromStream(stream.Get(), image.ReleaseAndGetAddressOf()),
                  budget < png.size() ? E_OUTOFMEMORY : S_OK);
    }
    platform::SetImagingMemoryBudget(saved);
}

TEST_F(FactoryApiTest, BitmapFromBufferIsACopy) {
    // Two rows of 3 pixels, bottom-up: Scan0 is the top row, the stride runs backwards.
    std::uint8_t rows[2][12] = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0},
                                {10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 0, 0}};
    BitmapData data{3, 2, -12, PixelFormat24bppRGB, rows[1], 0};
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(factory_->CreateBitmapFromBuffer(&data, bitmap.ReleaseAndGetAddressOf()), S_OK);
    std::memset(rows, 0xEE, sizeof(rows));
    BitmapData locked{};
    ASSERT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &locked), S_OK);
    const auto* top = static_cast<const std::uint8_t*>(locked.Scan0);
    EXPECT_EQ(top[0], 10);
    EXPECT_EQ(top[8], 90);
    EXPECT_EQ(top[locked.Stride + 0], 1);
    EXPECT_EQ(top[locked.Stride + 8], 9);
    bitmap->UnlockBits(&locked);

    struct Case {
        BitmapData data;
        HRESULT result;
    };
    const Case cases[] = {
        {{0, 2, 12, PixelFormat24bppRGB, rows[0], 0}, E_INVALIDARG},
        {{3, 2, 12, PixelFormat24bppRGB, nullptr, 0}, E_INVALIDARG},
        {{3, 2, 8, PixelFormat24bppRGB, rows[0], 0}, E_INVALIDARG},  // rows overlap
        {{3, 2, 12, PixelFormat4bppIndexed, rows[0], 0}, E_INVALIDARG},
        {{3, 2, 12, PixelFormat8bppIndexed, rows[0], 0}, S_OK},
    };
    for (const Case& c : cases) {
        BitmapData copy = c.data;
        EXPECT_EQ(factory_->CreateBitmapFromBuffer(&copy, bitmap.ReleaseAndGetAddressOf()),
                  c.result);
    }
}

}  // namespace
}  // namespace factory_test
