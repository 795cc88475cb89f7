// A file encoder replaces its target only with a complete new file, and leaves nothing behind
// when it cannot.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "tests/platform/imaging/factory/factory_test_support.h"

namespace factory_test {
namespace {

using testing_support::ReadBytes;

class EncoderFileTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        ASSERT_TRUE(FindEncoderClsid(factory_.Get(), u"image/jpeg", &jpeg_));
        MakePicture("q.png", QuadrantArgs());
        ASSERT_EQ(factory_->CreateImageFromFile(DevicePath("q.png").c_str(),
                                                image_.ReleaseAndGetAddressOf()),
                  S_OK);
        baseline_ = FolderEntries();
    }

    // New entries other than the target: left-over temporary files.
    std::vector<std::string> Strays(const std::string& target) const {
        std::vector<std::string> strays;
        for (const std::string& name : FolderEntries()) {
            if (name != target &&
                std::find(baseline_.begin(), baseline_.end(), name) == baseline_.end())
                strays.push_back(name);
        }
        return strays;
    }

    CLSID jpeg_{};
    ComPtr<IImage> image_;
    std::vector<std::string> baseline_;
};

// Puts the memory budget back whatever the test does.
class BudgetGuard {
  public:
    explicit BudgetGuard(std::size_t bytes) : saved_(platform::ImagingMemoryBudget()) {
        platform::SetImagingMemoryBudget(bytes);
    }
    ~BudgetGuard() { platform::SetImagingMemoryBudget(saved_); }

  private:
    std::size_t saved_;
};

TEST_F(EncoderFileTest, FailedEncodeLeavesTheOldFileByteForByte) {
    struct Case {
        const char* name;
        std::function<void(IImageEncoder*, IImage*)> act;  // the encoder is released afterwards
    };
    const Case cases[] = {
        {"released without a picture", [](IImageEncoder*, IImage*) {}},
        {"sink released before EndSink",
         [](IImageEncoder* encoder, IImage*) {
             ComPtr<IImageSink> sink;
             ASSERT_EQ(encoder->GetEncodeSink(sink.ReleaseAndGetAddressOf()), S_OK);
             ImageInfo info{};
             info.PixelFormat = PixelFormat24bppRGB;
             info.Width = 8;
             info.Height = 8;
             ASSERT_EQ(sink->BeginSink(&info, nullptr), S_OK);
         }},
        {"EndSink with a failure",
         [](IImageEncoder* encoder, IImage*) {
             ComPtr<IImageSink> sink;
             ASSERT_EQ(encoder->GetEncodeSink(sink.ReleaseAndGetAddressOf()), S_OK);
             ImageInfo info{};
             info.PixelFormat = PixelFormat24bppRGB;
             info.Width = 8;
             info.Height = 8;
             ASSERT_EQ(sink->BeginSink(&info, nullptr), S_OK);
             EXPECT_EQ(sink->EndSink(E_ABORT), E_ABORT);
             EXPECT_EQ(encoder->TerminateEncoder(), S_OK);
         }},
        {"picture beyond the memory budget",
         [](IImageEncoder* encoder, IImage* image) {
             BudgetGuard budget(1024);
             ComPtr<IImageSink> sink;
             ASSERT_EQ(encoder->GetEncodeSink(sink.ReleaseAndGetAddressOf()), S_OK);
             EXPECT_EQ(image->PushIntoSink(sink.Get()), E_OUTOFMEMORY);
         }},
    };
    const std::vector<std::uint8_t> old = {'o', 'l', 'd', 0, 1, 2, 3};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(testing_support::WriteBytes(HostPath("keep.jpg"), old));
        {
            ComPtr<IImageEncoder> encoder;
            ASSERT_EQ(factory_->CreateImageEncoderToFile(&jpeg_, DevicePath("keep.jpg").c_str(),
                                                         encoder.ReleaseAndGetAddressOf()),
                      S_OK);
            c.act(encoder.Get(), image_.Get());
        }
        EXPECT_EQ(ReadBytes(HostPath("keep.jpg")), old);
        EXPECT_EQ(Strays("keep.jpg"), std::vector<std::string>{});
    }
}

TEST_F(EncoderFileTest, SuccessReplacesTheFileKeepingItsPermissions) {
    ASSERT_TRUE(testing_support::WriteBytes(HostPath("keep.jpg"), {'o', 'l', 'd'}));
    ASSERT_EQ(::chmod(HostPath("keep.jpg").c_str(), 0640), 0);
    ASSERT_EQ(SaveImage(factory_.Get(), image_.Get(), jpeg_, DevicePath("keep.jpg")), S_OK);
    const std::vector<std::uint8_t> bytes = ReadBytes(HostPath("keep.jpg"));
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes[0], 0xFF);
    struct stat st {};
    ASSERT_EQ(::stat(HostPath("keep.jpg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Strays("keep.jpg"), std::vector<std::string>{});
}

TEST_F(EncoderFileTest, TargetThatIsAFolderStaysAFolder) {
    std::filesystem::create_directory(HostPath("dir.jpg"));
    EXPECT_TRUE(FAILED(SaveImage(factory_.Get(), image_.Get(), jpeg_, DevicePath("dir.jpg"))));
    EXPECT_TRUE(std::filesystem::is_directory(HostPath("dir.jpg")));
    EXPECT_EQ(Strays("dir.jpg"), std::vector<std::string>{});
}

TEST_F(EncoderFileTest, UnwritablePlacesFailWhenTheEncoderIsCreated) {
    ASSERT_TRUE(testing_support::WriteBytes(HostPath("plain.txt"), {'x'}));
    struct Case {
        const char16_t* path;
        HRESULT result;
    };
    const Case cases[] = {
        {nullptr, E_INVALIDARG},
        {u"", E_INVALIDARG},
        {u"\\No Such Folder\\a.jpg", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
        {u"\\My Documents\\plain.txt\\a.jpg", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
        {u"\\My Documents\\..\\..\\escape.jpg", E_INVALIDARG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path
                         ? std::string(c.path, c.path + std::char_traits<char16_t>::length(c.path))
                         : "null");
        IImageEncoder* encoder = reinterpret_cast<IImageEncoder*>(0x1);
        EXPECT_EQ(factory_->CreateImageEncoderToFile(&jpeg_, c.path, &encoder), c.result);
        EXPECT_EQ(encoder, nullptr);
    }
    EXPECT_EQ(Strays("plain.txt"), std::vector<std::string>{});
}

TEST_F(EncoderFileTest, UnknownEncoderClassIsCodecNotFound) {
    IImageEncoder* encoder = nullptr;
    EXPECT_EQ(factory_->CreateImageEncoderToFile(&CLSID_ImagingFactory, DevicePath("a.gif").c_str(),
                                                 &encoder),
              IMGERR_CODECNOTFOUND);
    EXPECT_EQ(Strays(""), std::vector<std::string>{});
}

}  // namespace
}  // namespace factory_test
