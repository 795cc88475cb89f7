#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/ui/common_utils.h"
#include "platform/core/wstring.h"
#include "tests/app/ui/ui_test_env.h"

namespace {

using uitest::DeviceFixture;

constexpr WCHAR kExpectedFolder[] = u"\\Application Data\\Quorvane";
constexpr int kExpectedLength = 26;

class WorkingFolder : public DeviceFixture {};

TEST_F(WorkingFolder, IsCreatedThenFound) {
    WCHAR buffer[MAX_PATH] = {};
    EXPECT_EQ(CCommonUtils::GetWorkingFolder(nullptr, buffer, MAX_PATH), WORKING_FOLDER_CREATED);
    EXPECT_EQ(std::u16string(buffer), kExpectedFolder);
    EXPECT_TRUE(std::filesystem::is_directory(Host("\\Application Data\\Quorvane")));
    EXPECT_EQ(CCommonUtils::GetWorkingFolder(nullptr, buffer, MAX_PATH), WORKING_FOLDER_EXISTS);
}

TEST_F(WorkingFolder, BufferMustHoldThePathAndItsTerminator) {
    static_assert(sizeof(kExpectedFolder) / sizeof(WCHAR) == kExpectedLength + 1);
    struct Case {
        int size;
        int result;
    };
    const Case cases[] = {
        {0, WORKING_FOLDER_TOO_LONG},
        {-5, WORKING_FOLDER_TOO_LONG},
        {kExpectedLength, WORKING_FOLDER_TOO_LONG},
        {kExpectedLength + 1, WORKING_FOLDER_CREATED},
        {kExpectedLength + 1, WORKING_FOLDER_EXISTS},
    };
    for (const Case& c : cases) {
        std::vector<WCHAR> buffer(MAX_PATH + 1, u'#');
        EXPECT_EQ(CCommonUtils::GetWorkingFolder(nullptr, buffer.data(), c.size), c.result)
            << c.size;
        if (c.result == WORKING_FOLDER_TOO_LONG) {
            EXPECT_EQ(buffer[0], u'#') << "nothing is written when it does not fit";
        } else {
            EXPECT_EQ(std::u16string(buffer.data()), kExpectedFolder);
            EXPECT_EQ(buffer[kExpectedLength + 1], u'#') << "nothing beyond the buffer";
        }
    }
    EXPECT_EQ(CCommonUtils::GetWorkingFolder(nullptr, nullptr, MAX_PATH), WORKING_FOLDER_ERROR);
}

TEST_F(WorkingFolder, AFileInTheWayCannotBecomeTheFolder) {
    Touch("\\Application Data\\Quorvane");
    WCHAR buffer[MAX_PATH] = {};
    EXPECT_EQ(CCommonUtils::GetWorkingFolder(nullptr, buffer, MAX_PATH),
              WORKING_FOLDER_CREATE_FAILED);
}

class FileNames : public DeviceFixture {};

TEST_F(FileNames, FileExistsOnlyForReadableFiles) {
    Touch("\\My Documents\\a.jpg");
    EXPECT_TRUE(CCommonUtils::FileExists(u"\\My Documents\\a.jpg"));
    EXPECT_TRUE(CCommonUtils::FileExists(u"\\my documents\\A.JPG"));  // case is ignored
    EXPECT_FALSE(CCommonUtils::FileExists(u"\\My Documents\\b.jpg"));
    EXPECT_FALSE(CCommonUtils::FileExists(u"\\My Documents"));  // a folder is not a file
    EXPECT_FALSE(CCommonUtils::FileExists(nullptr));
}

TEST(ExtensionEquals, ComparesAfterTheLastDotIgnoringCase) {
    struct Case {
        const char* name;
        const char* extension;
        BOOL result;
    };
    const Case cases[] = {
        {"a.jpg", "jpg", TRUE},      {"a.JPG", "jpg", TRUE},    {"a.b.Jpeg", "JPEG", TRUE},
        {"a.jpg.png", "jpg", FALSE}, {"jpg", "jpg", FALSE},     {"a.", "", TRUE},
        {"a.jpgx", "jpg", FALSE},    {"a.jp", "jpg", FALSE},    {"a.jpg", ".jpg", FALSE},
        {nullptr, "jpg", FALSE},     {"a.jpg", nullptr, FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CCommonUtils::ExtensionEquals(c.name, c.extension), c.result)
            << (c.name ? c.name : "null") << " / " << (c.extension ? c.extension : "null");
    }
}

TEST_F(FileNames, NextNumberedNameIsOneAboveTheLargest) {
    struct Case {
        std::vector<std::string> files;
        const char16_t* name;
        std::u16string want;
    };
    const std::vector<Case> cases = {
        {{}, u"a.jpg", u"a_1"},
        {{"a.jpg"}, u"a.jpg", u"a_1"},
        {{"a_1.jpg", "a_3.jpg"}, u"a.jpg", u"a_4"},    // gaps are not filled
        {{"a_9.jpg", "a_10.jpg"}, u"a.jpg", u"a_11"},  // numbers, not text, are compared
        {{"a_x.jpg", "a_2.jpg"}, u"a.jpg", u"a_3"},
        {{"a_x.jpg"}, u"a.jpg", u"a_1"},
        {{"A_12.JPG"}, u"a.jpg", u"a_13"},           // the pattern ignores case
        {{"a_5.png", "a_2.jpg"}, u"a.jpg", u"a_6"},  // any extension counts
        {{"a_7"}, u"a.jpg", u"a_8"},
        {{"ab_50.jpg", "b_9.jpg"}, u"a.jpg", u"a_1"},
        {{"a_b_4.jpg"}, u"a.jpg", u"a_5"},                     // the last "_" decides
        {{"a_99999999999.jpg", "a_2.jpg"}, u"a.jpg", u"a_3"},  // too large to be ours
        {{"a_-3.jpg"}, u"a.jpg", u"a_1"},
        {{"photo.2024_3.jpg"}, u"photo.2024.jpg", u"photo.2024_4"},
        {{"noext_2"}, u"noext", u"noext_3"},
    };
    int round = 0;
    for (const Case& c : cases) {
        const std::string folder = "\\My Documents\\case" + std::to_string(round++);
        std::filesystem::create_directories(Host(folder));
        for (const std::string& f : c.files)
            Touch(folder + "\\" + f);
        WCHAR out[MAX_PATH] = {};
        ASSERT_TRUE(CCommonUtils::GetNextNumberedName(platform::FromUtf8(folder).c_str(), c.name,
                                                      u"%s_%d", out, MAX_PATH));
        EXPECT_EQ(std::u16string(out), c.want) << folder;
    }
}

TEST_F(FileNames, NextNumberedNameLooksOnlyInTheGivenFolder) {
    Touch("\\a_40.jpg");
    Touch("\\My Documents\\a_2.jpg");
    WCHAR out[MAX_PATH] = {};
    ASSERT_TRUE(
        CCommonUtils::GetNextNumberedName(u"\\My Documents", u"a.jpg", u"%s_%d", out, MAX_PATH));
    EXPECT_EQ(std::u16string(out), u"a_3");
    ASSERT_TRUE(CCommonUtils::GetNextNumberedName(u"", u"a.jpg", u"%s_%d", out, MAX_PATH));
    EXPECT_EQ(std::u16string(out), u"a_41");
}

TEST_F(FileNames, NextNumberedNameFailsCleanly) {
    WCHAR out[4] = {};
    EXPECT_FALSE(CCommonUtils::GetNextNumberedName(u"\\My Documents", u"abc.jpg", u"%s_%d", out,
                                                   4));  // "abc_1" does not fit
    EXPECT_EQ(out[0], 0);
    WCHAR big[MAX_PATH] = {};
    EXPECT_FALSE(CCommonUtils::GetNextNumberedName(u"\\My Documents", u"a.jpg", u"%d_%s", big,
                                                   MAX_PATH));  // arguments of the wrong kind
    EXPECT_FALSE(CCommonUtils::GetNextNumberedName(nullptr, u"a.jpg", u"%s_%d", big, MAX_PATH));
    EXPECT_FALSE(CCommonUtils::GetNextNumberedName(u"\\", u"a.jpg", u"%s_%d", big, 0));
}

}  // namespace
