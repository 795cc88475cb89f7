#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/reg_key.h"
#include "demo/demo_content.h"
#include "demo/demo_device.h"
#include "demo/demo_pictures.h"
#include "platform/imaging/exif/exif_reader.h"
#include "platform/imaging/exif/jpeg_header.h"
#include "platform/registry/registry.h"
#include "platform/rights/file_drm.h"
#include "tests/support/temp_dir.h"

namespace demo {
namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

void StandardFolders(const fs::path& root) {
    fs::create_directories(root / "My Documents/My Pictures");
    fs::create_directories(root / "Application Data");
    fs::create_directories(root / "Windows");
}

TEST(FreshDeviceTest, OnlyEmptyStandardFoldersAreFresh) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& root, const fs::path& outside)> make;
        bool fresh;
    };
    const Case cases[] = {
        {"missing root", [](const fs::path& root, const fs::path&) { fs::remove(root); }, true},
        {"empty root", [](const fs::path&, const fs::path&) {}, true},
        {"standard folders", [](const fs::path& root, const fs::path&) { StandardFolders(root); },
         true},
        {"other case",
         [](const fs::path& root, const fs::path&) {
             fs::create_directories(root / "my documents/MY PICTURES");
         },
         true},
        {"linked pictures with the user's files",
         [](const fs::path& root, const fs::path& outside) {
             fs::create_directories(root / "My Documents");
             Touch(outside / "holiday.jpg");
             fs::create_directory_symlink(outside, root / "My Documents/My Pictures");
         },
         true},
        {"a file in My Pictures",
         [](const fs::path& root, const fs::path&) {
             StandardFolders(root);
             Touch(root / "My Documents/My Pictures/a.jpg");
         },
         false},
        {"a folder in My Documents",
         [](const fs::path& root, const fs::path&) {
             StandardFolders(root);
             fs::create_directories(root / "My Documents/DCIM");
         },
         false},
        {"a file in Windows",
         [](const fs::path& root, const fs::path&) {
             StandardFolders(root);
             Touch(root / "Windows/startup.txt");
         },
         false},
        {"a file at the root",
         [](const fs::path& root, const fs::path&) { Touch(root / "notes.txt"); }, false},
        {"root is a file",
         [](const fs::path& root, const fs::path&) {
             fs::remove(root);
             Touch(root);
         },
         false},
        {"My Documents linked away",
         [](const fs::path& root, const fs::path& outside) {
             fs::create_directory_symlink(outside, root / "My Documents");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir temp;
        const fs::path root = temp / "device", outside = temp / "outside";
        fs::create_directories(root);
        fs::create_directories(outside);
        c.make(root, outside);
        EXPECT_EQ(IsFreshDevice(root.string()), c.fresh);
    }
    EXPECT_FALSE(IsFreshDevice(""));
}

TEST(FreshDeviceTest, ALinkedMyPicturesIsNotFilled) {
    TempDir temp;
    const fs::path root = temp / "device", outside = temp / "outside";
    fs::create_directories(root / "My Documents");
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, root / "My Documents/My Pictures");
    platform::ConfigureRightsStore(temp / "rights.db");
    DemoOptions options;
    options.root = root;
    options.includeLargePictures = false;
    std::string error;
    EXPECT_TRUE(GenerateDemoDevice(options, error)) << error;
    platform::ConfigureRightsStore("");
    EXPECT_TRUE(fs::is_empty(outside));
    EXPECT_TRUE(fs::exists(root / kCameraFolder / "HVC_0001.jpg"));
}

TEST(FreshDeviceTest, TheCameraIsPointedAtTheDemoFolder) {
    TempDir temp;
    ASSERT_TRUE(platform::ConfigureRegistry(temp / "registry.db"));
    {
        CRegKey camera;
        ASSERT_TRUE(camera.Create(HKEY_CURRENT_USER, u"Software\\Halvern\\Camera"));
        camera.SetDword(u"StorageType", 2);  // the card, as a user may have chosen
        camera.SetDword(u"DCFNumber", 357);
    }
    PointCameraAtDemoFolder();
    CRegKey camera;
    ASSERT_TRUE(camera.Open(HKEY_CURRENT_USER, u"Software\\Halvern\\Camera"));
    EXPECT_EQ(camera.QueryDword(u"StorageType", 99), 0u);
    const DWORD number = camera.QueryDword(u"DCFNumber", 0);
    EXPECT_GE(number, 1u);
    EXPECT_LE(number, 100u);
}

TEST(LargePictureTest, TwelveMegapixelPicturesAreFullSize) {
    int large = 0;
    for (const CameraPicture& picture : CameraPictures(true)) {
        if (picture.width * picture.height < 12'000'000)
            continue;
        ++large;
        if (large > 1)
            continue;  // one is enough to encode; the rest only by their list entry
        std::string error;
        const auto jpeg = MakeCameraJpeg(picture, error);
        ASSERT_FALSE(jpeg.empty()) << error;
        platform::imaging::JpegHeaderInfo header;
        ASSERT_TRUE(platform::imaging::ProbeJpegHeader(jpeg, &header));
        EXPECT_EQ(header.width, 4000);
        EXPECT_EQ(header.height, 3000);
        platform::imaging::ExifData exif;
        ASSERT_TRUE(platform::imaging::ReadExif(jpeg, header.exifOffset, header.exifLength, &exif));
        EXPECT_EQ(exif.pixelWidth, 4000u);
        EXPECT_EQ(exif.thumbnailLength > 0, picture.thumbnail);
    }
    EXPECT_GE(large, 2);
    for (const CameraPicture& picture : CameraPictures(false))
        EXPECT_LT(picture.width * picture.height, 12'000'000) << picture.name;
}

}  // namespace
}  // namespace demo
