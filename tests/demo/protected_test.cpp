#include "demo/demo_content.h"
#include "demo/protected_pictures.h"
#include "platform/core/wstring.h"
#include "platform/rights/client/ls_oma_client.h"
#include "platform/rights/file_drm.h"
#include "tests/demo/demo_fixture.h"

namespace demo_test {
namespace {

const std::string kCamera = demo::kCameraFolder;

struct Protected {
    std::string file;
    DWORD forwardLocked;
    DWORD constraintKind;
    std::int32_t countTotal;
};

// The kinds tell apart as the gallery's rights summary does: the forward-lock flag, then what
// the display permission allows.
const Protected kProtected[] = {
    {"Protected forward lock.jpg", 1, LS_CONSTRAINT_NONE, 0},
    {"Protected combined delivery.jpg", 1, LS_CONSTRAINT_COUNT, demo::kCombinedDeliveryDisplays},
    {"Protected separate delivery.jpg", 0, LS_CONSTRAINT_NONE, 0},
};

TEST_F(DemoDeviceTest, ProtectedPicturesAreRecognisedByKind) {
    for (const Protected& p : kProtected) {
        SCOPED_TRACE(p.file);
        const std::u16string device = Device(kCamera + "/" + p.file);
        BOOL isDrm = FALSE;
        ASSERT_EQ(FileDrmIsDRM(device.c_str(), &isDrm), S_OK);
        EXPECT_TRUE(isDrm);

        const std::string utf8 = platform::ToUtf8(device);
        LSHANDLE handle = nullptr;
        ASSERT_EQ(LsOma_Open(utf8.c_str(), &handle), LS_OK);
        DWORD forwardLocked = 9;
        EXPECT_EQ(LsOma_GetForwardLockFlag(handle, &forwardLocked), LS_OK);
        EXPECT_EQ(forwardLocked, p.forwardLocked);
        DrmConstraint constraint{};
        // Separate delivery answers here only when its rights were installed into the store.
        ASSERT_EQ(LsOma_GetConstraint(handle, LS_PERMISSION_DISPLAY, 0, &constraint), LS_OK);
        EXPECT_EQ(constraint.dwKind, p.constraintKind);
        EXPECT_EQ(constraint.nCountTotal, p.countTotal);
        LsOma_Close(&handle);
    }
}

TEST_F(DemoDeviceTest, ProtectedPicturesOpenToTheirClearJpeg) {
    for (const Protected& p : kProtected) {
        SCOPED_TRACE(p.file);
        const std::u16string device = Device(kCamera + "/" + p.file);
        HANDLE file = INVALID_HANDLE_VALUE;
        ASSERT_EQ(FileDrmCreateFile(device.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr, &file),
                  S_OK);
        std::uint8_t head[4] = {};
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(file, head, sizeof head, &read, nullptr));
        EXPECT_EQ(read, 4u);
        // SOI and the EXIF APP1 marker: the content was really decrypted.
        EXPECT_EQ(head[0], 0xFF);
        EXPECT_EQ(head[1], 0xD8);
        EXPECT_EQ(head[2], 0xFF);
        EXPECT_EQ(head[3], 0xE1);
        EXPECT_GT(GetFileSize(file, nullptr), 10000u);
        CloseHandle(file);
    }
}

TEST_F(DemoDeviceTest, InstallingTheRightsAgainIsHarmless) {
    std::string error;
    EXPECT_TRUE(demo::InstallSeparateDeliveryRights(error)) << error;
    const std::string utf8 = platform::ToUtf8(Device(kCamera + "/Protected separate delivery.jpg"));
    LSHANDLE handle = nullptr;
    ASSERT_EQ(LsOma_Open(utf8.c_str(), &handle), LS_OK);
    DrmConstraint constraint{};
    EXPECT_EQ(LsOma_GetConstraint(handle, LS_PERMISSION_DISPLAY, 0, &constraint), LS_OK);
    // Still one rights object, not two.
    EXPECT_EQ(LsOma_GetConstraint(handle, LS_PERMISSION_DISPLAY, 1, &constraint),
              LS_E_NOCONSTRAINT);
    LsOma_Close(&handle);
}

}  // namespace
}  // namespace demo_test
