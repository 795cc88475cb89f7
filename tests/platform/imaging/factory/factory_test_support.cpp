#include "tests/platform/imaging/factory/factory_test_support.h"

#include <cstdlib>
#include <filesystem>

#include "platform/fs/device.h"

namespace factory_test {

void DeviceTest::SetUp() {
    ASSERT_TRUE(platform::ConfigureDevice(root_.path(), ""));
    ASSERT_EQ(platform::CreateImagingFactory(
                  IID_IImagingFactory, reinterpret_cast<void**>(factory_.ReleaseAndGetAddressOf())),
              S_OK);
}

void DeviceTest::MakePicture(const std::string& name, const std::vector<std::string>& args,
                             const std::string& outputPrefix) {
    std::vector<std::string> all = args;
    all.push_back(outputPrefix + HostPath(name));
    ASSERT_TRUE(testing_support::RunConvert(all)) << name;
}

std::string DeviceTest::HostPath(const std::string& name) const {
    return root_.path() + "/My Documents/" + name;
}

std::u16string DeviceTest::DevicePath(const std::string& name) {
    return u"\\My Documents\\" + std::u16string(name.begin(), name.end());
}

std::vector<std::string> DeviceTest::FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_.path() + "/My Documents"))
        names.push_back(entry.path().filename().string());
    return names;
}

namespace {

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool EqualsIgnoringCase(const WCHAR* a, const std::u16string& b) {
    std::size_t i = 0;
    for (; a[i] != u'\0' && i < b.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return a[i] == u'\0' && i == b.size();
}

template <typename Match>
bool FindEncoder(IImagingFactory* factory, const Match& match, CLSID* clsid) {
    UINT count = 0;
    ImageCodecInfo* codecs = nullptr;
    if (FAILED(factory->GetInstalledEncoders(&count, &codecs)))
        return false;
    bool found = false;
    for (UINT i = 0; i < count && !found; ++i) {
        if (match(codecs[i])) {
            *clsid = codecs[i].Clsid;
            found = true;
        }
    }
    CoTaskMemFree(codecs);
    return found;
}

}  // namespace

bool FindEncoderClsid(IImagingFactory* factory, const std::u16string& mimeType, CLSID* clsid) {
    return FindEncoder(
        factory, [&](const ImageCodecInfo& c) { return EqualsIgnoringCase(c.MimeType, mimeType); },
        clsid);
}

bool FindEncoderClsidByFormat(IImagingFactory* factory, const GUID& format, CLSID* clsid) {
    return FindEncoder(
        factory, [&](const ImageCodecInfo& c) { return IsEqualGUID(c.FormatID, format); }, clsid);
}

bool ReadBitmapPixels(IBitmapImage* bitmap, RgbaPicture* out) {
    BitmapData data{};
    if (FAILED(bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data)))
        return false;
    out->width = static_cast<int>(data.Width);
    out->height = static_cast<int>(data.Height);
    out->rgba.resize(std::size_t(out->width) * out->height * 4);
    for (int y = 0; y < out->height; ++y) {
        const auto* row =
            static_cast<const std::uint8_t*>(data.Scan0) + std::ptrdiff_t(y) * data.Stride;
        for (int x = 0; x < out->width; ++x) {
            std::uint8_t* to = out->rgba.data() + (std::size_t(y) * out->width + x) * 4;
            to[0] = row[x * 4 + 2];
            to[1] = row[x * 4 + 1];
            to[2] = row[x * 4];
            to[3] = row[x * 4 + 3];
        }
    }
    return SUCCEEDED(bitmap->UnlockBits(&data));
}

bool ReadImagePixels(IImagingFactory* factory, IImage* image, RgbaPicture* out) {
    ImageInfo info{};
    if (FAILED(image->GetImageInfo(&info)))
        return false;
    ComPtr<IBitmapImage> bitmap;
    if (FAILED(factory->CreateBitmapFromImage(image, info.Width, info.Height, PixelFormat32bppARGB,
                                              InterpolationHintDefault,
                                              bitmap.ReleaseAndGetAddressOf())))
        return false;
    return ReadBitmapPixels(bitmap.Get(), out);
}

HRESULT SaveImage(IImagingFactory* factory, IImage* image, const CLSID& clsid,
                  const std::u16string& path, int quality) {
    ComPtr<IImageEncoder> encoder;
    HRESULT hr =
        factory->CreateImageEncoderToFile(&clsid, path.c_str(), encoder.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        return hr;
    if (quality >= 0) {
        ULONG value = static_cast<ULONG>(quality);
        EncoderParameters params{1, {{EncoderQuality, 1, EncoderParameterValueTypeLong, &value}}};
        if (FAILED(hr = encoder->SetEncoderParameters(&params)))
            return hr;
    }
    ComPtr<IImageSink> sink;
    if (FAILED(hr = encoder->GetEncodeSink(sink.ReleaseAndGetAddressOf())))
        return hr;
    return image->PushIntoSink(sink.Get());
}

std::vector<std::string> QuadrantArgs() {
    return {"-size",
            "64x48",
            "xc:red",
            "-fill",
            "lime",
            "-draw",
            "rectangle 32,0 63,23",
            "-fill",
            "blue",
            "-draw",
            "rectangle 0,24 31,47",
            "-fill",
            "white",
            "-draw",
            "rectangle 32,24 63,47"};
}

const Quadrant kQuadrants[4] = {
    {16, 12, 0xFF0000}, {48, 12, 0x00FF00}, {16, 36, 0x0000FF}, {48, 36, 0xFFFFFF}};

::testing::AssertionResult NearColour(const std::uint8_t* rgba, unsigned rgb, int tolerance) {
    const int expected[3] = {int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF};
    for (int c = 0; c < 3; ++c) {
        if (std::abs(rgba[c] - expected[c]) > tolerance)
            return ::testing::AssertionFailure()
                   << "got " << int(rgba[0]) << "," << int(rgba[1]) << "," << int(rgba[2])
                   << " want " << expected[0] << "," << expected[1] << "," << expected[2];
    }
    return ::testing::AssertionSuccess();
}

}  // namespace factory_test
