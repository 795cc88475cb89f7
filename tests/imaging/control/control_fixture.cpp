#include "tests/imaging/control/control_fixture.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"

namespace control_test {

namespace {

std::u16string DevicePath(std::string_view name) {
    return u"\\My Documents\\" + std::u16string(name.begin(), name.end());
}

}  // namespace

void ControlTest::SetUp() {
    ASSERT_EQ(ctrl_.InitImageCtrl(), 1);
}

void ControlTest::TearDown() {
    ctrl_.ReleaseImageCtrl();
}

std::u16string ControlTest::MakePicture(std::string_view name, std::vector<std::string> args) {
    const std::u16string path = DevicePath(name);
    args.push_back(Host(path));
    return testing_support::RunConvert(args) ? path : std::u16string();
}

std::u16string ControlTest::Put(std::string_view name, const testing_support::Bytes& bytes) {
    const std::u16string path = DevicePath(name);
    device_.Write(path, bytes);
    return path;
}

std::u16string ControlTest::ForwardLock(std::string_view name, const std::u16string& devicePath,
                                        std::string_view contentType) {
    return Put(name, testing_support::ForwardLockFile(
                         contentType, testing_support::ReadBytes(Host(devicePath))));
}

testing_support::RgbaPicture BitmapPixels(HBITMAP bitmap) {
    testing_support::RgbaPicture picture;
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return picture;
    const platform::ScopedDC dc(CreateCompatibleDC(nullptr));
    const platform::ScopedSelectObject select(dc.Get(), bitmap);
    picture.width = info.bmWidth;
    picture.height = info.bmHeight;
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            const COLORREF c = GetPixel(dc.Get(), x, y);
            picture.rgba.insert(picture.rgba.end(),
                                {GetRValue(c), GetGValue(c), GetBValue(c), 255});
        }
    }
    return picture;
}

IBitmapImage* PatternBitmap(IImagingFactory* factory, int width, int height) {
    IBitmapImage* bitmap = nullptr;
    if (FAILED(factory->CreateNewBitmap(width, height, PixelFormat16bppRGB565, &bitmap)))
        return nullptr;
    BitmapData data{};
    if (FAILED(bitmap->LockBits(nullptr, ImageLockModeWrite, PixelFormat16bppRGB565, &data))) {
        bitmap->Release();
        return nullptr;
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<WORD*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < width; ++x)
            row[x] = Pattern(x, y);
    }
    bitmap->UnlockBits(&data);
    return bitmap;
}

}  // namespace control_test
