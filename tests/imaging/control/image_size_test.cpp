// Picture sizes of plain and protected files, the decodability check, and whole-file reads.
#include <cstring>

#include "platform/core/error.h"
#include "platform/core/handle.h"
#include "platform/fs/file_io.h"
#include "tests/imaging/control/control_fixture.h"

namespace control_test {
namespace {

using platform::rights::Permission;
using testing_support::Terms;

struct SizeCase {
    const char* name;
    const char* file;
    int width, height;
};

class ImageSizeTest : public ControlTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ImageSizeTest, MeasuresRealFiles) {
    const SizeCase& c = GetParam();
    const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
    const std::u16string path = MakePicture(c.file, {"-size", size, "gradient:red-blue"});
    ASSERT_FALSE(path.empty());
    int width = -1, height = -1;
    EXPECT_EQ(ctrl_.GetImageSize(path.c_str(), &width, &height), 1);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
    EXPECT_EQ(ctrl_.CanDecode(path.c_str()), 1);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageSizeTest,
                         ::testing::Values(SizeCase{"Jpeg", "a.jpg", 64, 48},
                                           SizeCase{"Png", "b.png", 33, 17},
                                           SizeCase{"Gif", "c.gif", 20, 11}),
                         [](const auto& info) { return std::string(info.param.name); });

class NotAPictureTest : public ControlTest {};

TEST_F(NotAPictureTest, GivesNothing) {
    const std::u16string text = Put("notes.jpg", testing_support::SampleContent());
    for (const std::u16string& path : {text, std::u16string(u"\\My Documents\\missing.jpg")}) {
        int width = -1, height = -1;
        EXPECT_EQ(ctrl_.GetImageSize(path.c_str(), &width, &height), 0);
        EXPECT_EQ(width, 0);
        EXPECT_EQ(height, 0);
        EXPECT_EQ(ctrl_.CanDecode(path.c_str()), 0);
        width = height = -1;
        EXPECT_EQ(ctrl_.GetProtectedImageSize(path.c_str(), &width, &height), 0);
        EXPECT_EQ(width, 0);
        EXPECT_EQ(height, 0);
    }
}

TEST_F(ControlTest, ProtectedPictureIsMeasuredThroughItsRights) {
    const std::u16string plain = MakePicture("p.jpg", {"-size", "40x30", "xc:orange"});
    ASSERT_FALSE(plain.empty());
    const std::u16string locked = ForwardLock("p.dcf", plain, "image/jpeg");
    int width = 0, height = 0;
    EXPECT_EQ(ctrl_.GetProtectedImageSize(locked.c_str(), &width, &height), 1);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 30);
    // The plain route sees only the container, and the protected route refuses a plain file.
    EXPECT_EQ(ctrl_.GetImageSize(locked.c_str(), &width, &height), 0);
    EXPECT_EQ(ctrl_.GetProtectedImageSize(plain.c_str(), &width, &height), 0);
}

TEST_F(ControlTest, ProtectedPictureWithoutRightsIsNotMeasured) {
    const std::u16string plain = MakePicture("r.jpg", {"-size", "40x30", "xc:orange"});
    ASSERT_FALSE(plain.empty());
    const testing_support::SeparateDelivery sd =
        testing_support::SeparateDeliveryFile("image/jpeg", testing_support::ReadBytes(Host(plain)),
                                              "cid:r@test", Permission::Display, Terms{});
    const std::u16string locked = Put("r.dcf", sd.dcf);
    int width = -1, height = -1;
    EXPECT_EQ(ctrl_.GetProtectedImageSize(locked.c_str(), &width, &height), 0);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    device_.Install(sd.rights, sd.rightsXml);
    EXPECT_EQ(ctrl_.GetProtectedImageSize(locked.c_str(), &width, &height), 1);
    EXPECT_EQ(width, 40);
}

TEST(ImageCtrlInstance, IsMadeOnceAndInitialised) {
    ImageCtrl* first = GetImageCtrl();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->Factory(), nullptr);
    EXPECT_EQ(GetImageCtrl(), first);
    platform::DebugOutputCapture debug;
    EXPECT_EQ(first->InitImageCtrl(), 1);
    EXPECT_EQ(debug.Utf8(), "@m_ptImgFactory still is valid.\t\r\n");
    DestroyImageCtrl();
    ImageCtrl* second = GetImageCtrl();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->Factory(), nullptr);
    DestroyImageCtrl();
}

TEST(ImageCtrlInstance, WithoutItsFactoryAnswersNothing) {
    ImageCtrl ctrl;  // never initialised
    int width = -1, height = -1;
    EXPECT_EQ(ctrl.GetImageSize(u"\\a.jpg", &width, &height), 0);
    EXPECT_EQ(width, 0);
    RECT rect{};
    EXPECT_EQ(ctrl.GetThumbnail(u"\\a.jpg", &rect, 100, 100), nullptr);
    EXPECT_EQ(ctrl.CanDecode(u"\\a.jpg"), 0);
}

// ReadWholeFile over real handles.
class ReadWholeFileTest : public ControlTest {
  protected:
    HANDLE Open(const std::u16string& path, DWORD access) {
        return CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    }
};

TEST_F(ReadWholeFileTest, ReadsEveryByte) {
    const testing_support::Bytes content = testing_support::SampleContent(70'000);
    const std::u16string path = Put("whole.bin", content);
    HANDLE file = Open(path, GENERIC_READ);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD size = 0;
    BYTE* buffer = nullptr;
    EXPECT_EQ(ctrl_.ReadWholeFile(file, &size, &buffer), S_OK);
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(size, content.size());
    EXPECT_EQ(std::memcmp(buffer, content.data(), size), 0);
    LocalFree(buffer);
    CloseHandle(file);
}

TEST_F(ReadWholeFileTest, ShortOrFailedReadLeavesNoBufferButSucceeds) {
    const std::u16string path = Put("short.bin", testing_support::SampleContent(5000));
    // Starting past the beginning, the read of the whole size comes up short.
    HANDLE shortRead = Open(path, GENERIC_READ);
    ASSERT_NE(shortRead, INVALID_HANDLE_VALUE);
    SetFilePointer(shortRead, 100, nullptr, FILE_BEGIN);
    // A handle without read access fails the read itself.
    HANDLE writeOnly = Open(path, GENERIC_WRITE);
    ASSERT_NE(writeOnly, INVALID_HANDLE_VALUE);
    for (HANDLE file : {shortRead, writeOnly}) {
        DWORD size = 0;
        BYTE* buffer = reinterpret_cast<BYTE*>(&size);  // must be cleared
        EXPECT_EQ(ctrl_.ReadWholeFile(file, &size, &buffer), S_OK);
        EXPECT_EQ(buffer, nullptr);
        CloseHandle(file);
    }
}

TEST_F(ReadWholeFileTest, FailedSizeAnswersTheError) {
    DWORD size = 0;
    BYTE* buffer = nullptr;
    const HRESULT hr = ctrl_.ReadWholeFile(INVALID_HANDLE_VALUE, &size, &buffer);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE));
    EXPECT_EQ(buffer, nullptr);
}

}  // namespace
}  // namespace control_test
