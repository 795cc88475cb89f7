#include "tests/demo/demo_fixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "demo/demo_device.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "platform/rights/file_drm.h"

namespace demo_test {

testing_support::TempDir* DemoDeviceTest::temp_ = nullptr;

void DemoDeviceTest::SetUpTestSuite() {
    temp_ = new testing_support::TempDir;
    std::filesystem::create_directories(Card());
    ASSERT_TRUE(platform::ConfigureRegistry(*temp_ / "registry.db"));
    ASSERT_TRUE(platform::ConfigureDevice(Root(), Card()));
    platform::ConfigureRightsStore(*temp_ / "rights.db");
    demo::DemoOptions options;
    options.root = Root();
    options.card = Card();
    options.includeLargePictures = false;
    std::string error;
    ASSERT_TRUE(demo::GenerateDemoDevice(options, error)) << error;
}

void DemoDeviceTest::TearDownTestSuite() {
    platform::ConfigureRightsStore("");
    delete temp_;
    temp_ = nullptr;
}

void DemoDeviceTest::SetUp() {
    ASSERT_EQ(platform::CreateImagingFactory(
                  IID_IImagingFactory, reinterpret_cast<void**>(factory_.ReleaseAndGetAddressOf())),
              S_OK);
}

std::string DemoDeviceTest::Root() {
    return *temp_ / "device";
}

std::string DemoDeviceTest::Card() {
    return *temp_ / "card";
}

std::string DemoDeviceTest::Host(const std::string& relative) {
    return Root() + "/" + relative;
}

std::u16string DemoDeviceTest::Device(const std::string& relative) {
    std::u16string path = u"\\" + platform::FromUtf8(relative);
    for (char16_t& c : path) {
        if (c == u'/')
            c = u'\\';
    }
    return path;
}

std::vector<std::uint8_t> DemoDeviceTest::Bytes(const std::string& relative) {
    std::ifstream in(Host(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool DemoDeviceTest::Decode(const std::string& relative, int* width, int* height) {
    ComPtr<IImage> image;
    if (FAILED(factory_->CreateImageFromFile(Device(relative).c_str(),
                                             image.ReleaseAndGetAddressOf())))
        return false;
    ImageInfo info{};
    if (FAILED(image->GetImageInfo(&info)))
        return false;
    *width = static_cast<int>(info.Width);
    *height = static_cast<int>(info.Height);
    // The whole picture, so damaged data further in shows too.
    ComPtr<IBitmapImage> bitmap;
    return SUCCEEDED(factory_->CreateBitmapFromImage(image.Get(), info.Width, info.Height,
                                                     PixelFormat32bppARGB, InterpolationHintDefault,
                                                     bitmap.ReleaseAndGetAddressOf()));
}

}  // namespace demo_test
