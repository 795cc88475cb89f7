#include "app/launch/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/reg_key.h"
#include "platform/core/wstring.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "tests/support/temp_dir.h"

namespace {

struct GrammarCase {
    const char* name;
    std::u16string line;
    int result;
    DWORD source;
    DWORD openMode;
    DWORD typeFilter;
    std::u16string path;
};

class GrammarTest : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(GrammarTest, ParsesOrFallsBack) {
    const GrammarCase& c = GetParam();
    LaunchContext ctx = {};
    ASSERT_EQ(ParseLaunchGrammar(c.line, ctx), c.result);
    if (c.result == 1) {
        EXPECT_EQ(ctx.source, c.source);
        EXPECT_EQ(ctx.openMode, c.openMode);
        EXPECT_EQ(ctx.typeFilter, c.typeFilter);
        EXPECT_EQ(std::u16string(ctx.path), c.path);
    }
}

GrammarCase Refused(const char* name, std::u16string line) {
    return GrammarCase{name, std::move(line), 0, 0, 0, 0, u""};
}

const std::u16string kLongPath(259, u'a');
const std::u16string kTooLongPath(260, u'a');

INSTANTIATE_TEST_SUITE_P(
    Lines, GrammarTest,
    ::testing::Values(GrammarCase{"PathImage", u":path \"\\My Documents\\DCIM\" :type IMAGE", 1, 0,
                                  OPEN_FOLDER, FILTER_IMAGE, u"\\My Documents\\DCIM"},
                      GrammarCase{"TypeValueIgnoresCase", u":path \"\\a\" :type image", 1, 0,
                                  OPEN_FOLDER, FILTER_IMAGE, u"\\a"},
                      Refused("TrailingBlankAfterType", u":path \"\\a\" :type IMAGE "),
                      GrammarCase{"BlanksBeforeTypeValue", u":path \"\\a\" :type    MUSIC", 1, 0,
                                  OPEN_FOLDER, FILTER_MUSIC, u"\\a"},
                      GrammarCase{"Document", u":path \"\\a\" :type DOCUMENT", 1, 0, OPEN_FOLDER,
                                  FILTER_DOCUMENT, u"\\a"},
                      GrammarCase{"VideoFolder", u":path \"\\v\" :type VIDEO", 1, 0, OPEN_FOLDER,
                                  FILTER_VIDEO, u"\\v"},
                      Refused("VideoFileRefused", u":file \"\\v\\clip.3gp\" :type VIDEO"),
                      GrammarCase{"ImageFile", u":file \"\\p\\a.jpg\" :type IMAGE", 1, 0, OPEN_FILE,
                                  FILTER_IMAGE, u"\\p\\a.jpg"},
                      Refused("FileNeedsType", u":file \"\\p\\a.jpg\""),
                      Refused("UnknownType", u":path \"\\a\" :type PICTURE"),
                      GrammarCase{"FromCameraLowerCase", u":from camera :path \"\\a\" :type IMAGE",
                                  1, SOURCE_CAMERA, OPEN_FOLDER, FILTER_IMAGE, u"\\a"},
                      GrammarCase{"FromCamcorder", u":from   CAMCORDER :path \"\\v\" :type VIDEO",
                                  1, SOURCE_CAMCORDER, OPEN_FOLDER, FILTER_VIDEO, u"\\v"},
                      Refused("FromUnknown", u":from PHONE :path \"\\a\" :type IMAGE"),
                      Refused("FromAfterPath", u":path \"\\a\" :type IMAGE :from CAMERA"),
                      Refused("FromAtEndOfLine", u":from"),
                      Refused("MarkersAreCaseSensitive", u":PATH \"\\a\" :type IMAGE"),
                      GrammarCase{"PathWinsOverFile",
                                  u":file \"\\f.jpg\" :path \"\\d\" :type IMAGE", 1, 0, OPEN_FOLDER,
                                  FILTER_IMAGE, u"\\d"},
                      Refused("NoClosingQuote", u":path \"\\a :type IMAGE"),
                      Refused("NoQuotes", u":path \\a :type IMAGE"),
                      GrammarCase{"EmptyQuotesIsTheRoot", u":path \"\" :type IMAGE", 1, 0,
                                  OPEN_FOLDER, FILTER_IMAGE, u""},
                      GrammarCase{"LongestPath", u":path \"" + kLongPath + u"\" :type IMAGE", 1, 0,
                                  OPEN_FOLDER, FILTER_IMAGE, kLongPath},
                      Refused("TooLongPathRefused", u":path \"" + kTooLongPath + u"\" :type IMAGE"),
                      Refused("Empty", u"")),
    [](const ::testing::TestParamInfo<GrammarCase>& info) { return info.param.name; });

TEST(CameraFolderNumberTest, MapsDcfNumbersToFolders) {
    struct Case {
        LONG dcf;
        int folder;
    };
    const Case cases[] = {{1, 100},   {57, 100}, {100, 100}, {101, 101},  {200, 101},
                          {201, 102}, {-1, 100}, {0, 100},   {9999, 199}, {INT32_MIN, -21474736}};
    for (const Case& c : cases)
        EXPECT_EQ(CameraFolderNumber(c.dcf), c.folder) << c.dcf;
}

// The defaults read the camera's folder from the registry and fall back to My Pictures.
class DefaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::ConfigureRegistry(dir_ / "registry.db");
        ASSERT_TRUE(platform::ConfigureDevice(dir_ / "device", ""));
    }

    void SetCamera(LPCWSTR inStorage, DWORD storageType, DWORD dcf) {
        CRegKey card;
        ASSERT_TRUE(card.Create(HKEY_LOCAL_MACHINE, u"System\\State\\Halvern\\SDCARD"));
        card.SetString(u"InStorageFolder", inStorage);
        card.SetString(u"ExStorageFolder", u"Storage Card");
        CRegKey camera;
        ASSERT_TRUE(camera.Create(HKEY_CURRENT_USER, u"Software\\Halvern\\Camera"));
        camera.SetDword(u"StorageType", storageType);
        camera.SetDword(u"DCFNumber", dcf);
    }

    void MakeDeviceFolder(const std::string& relative) {
        std::filesystem::create_directories(dir_ / ("device/" + relative));
    }

    testing_support::TempDir dir_;
};

TEST_F(DefaultsTest, NoArgumentsGiveTheCameraFolder) {
    SetCamera(u"My Documents", 1, 57);
    MakeDeviceFolder("My Documents/DCIM/100HVCAM");
    LaunchContext ctx = {};
    EXPECT_EQ(ParseCommandLine(u"", ctx), 0);
    EXPECT_EQ(ctx.isExplicit, 0u);
    EXPECT_EQ(ctx.source, 0u);
    EXPECT_EQ(ctx.openMode, OPEN_FOLDER);
    EXPECT_EQ(ctx.typeFilter, FILTER_ALL);
    EXPECT_EQ(std::u16string(ctx.path), u"\\My Documents\\DCIM\\100HVCAM");
}

TEST_F(DefaultsTest, FolderNumberFollowsTheFileNumber) {
    SetCamera(u"My Documents", 1, 101);
    MakeDeviceFolder("My Documents/DCIM/101HVCAM");
    LaunchContext ctx = {};
    ParseCommandLine(u"garbage", ctx);
    EXPECT_EQ(std::u16string(ctx.path), u"\\My Documents\\DCIM\\101HVCAM");
}

TEST_F(DefaultsTest, StorageTypesChooseTheBase) {
    struct Case {
        DWORD storageType;
        const char* folder;
        std::u16string expected;
    };
    const Case cases[] = {
        {0, "My Documents/DCIM/100HVCAM", u"\\My Documents\\DCIM\\100HVCAM"},
        {1, "Internal/DCIM/100HVCAM", u"\\Internal\\DCIM\\100HVCAM"},
        {2, "Storage Card/DCIM/100HVCAM", u"\\Storage Card\\DCIM\\100HVCAM"},
    };
    for (const Case& c : cases) {
        SetCamera(u"Internal", c.storageType, 1);
        MakeDeviceFolder(c.folder);
        LaunchContext ctx = {};
        ParseCommandLine(nullptr, ctx);
        EXPECT_EQ(std::u16string(ctx.path), c.expected) << c.storageType;
    }
}

TEST_F(DefaultsTest, MissingCameraFolderFallsBackToMyPictures) {
    SetCamera(u"Storage Card", 1, 57);  // \Storage Card\DCIM\100HVCAM does not exist
    LaunchContext ctx = {};
    ParseCommandLine(u":path \"\\x\" :type IMAGE ", ctx);
    EXPECT_EQ(ctx.isExplicit, 0u);
    EXPECT_EQ(ctx.typeFilter, FILTER_ALL);
    EXPECT_EQ(std::u16string(ctx.path), u"\\My Documents\\My Pictures");
}

}  // namespace
