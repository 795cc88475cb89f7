#include "platform/fs/device.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "fs_test_support.h"
#include "platform/core/debug.h"
#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/fs/attributes.h"

namespace {

using fs_test::HostExists;
using fs_test::MakeHostDir;
using fs_test::WriteHostFile;

class DeviceMappingTest : public fs_test::DeviceTest {};

struct MappingCase {
    std::u16string device;
    const char* host;  // relative to the root; null when refused
    DWORD error;       // the last error when refused
};

TEST_F(DeviceMappingTest, MapsDevicePathsOntoTheRoot) {
    MakeHostDir(Root("/My Documents/Ärger"));
    const std::u16string longest = u"\\" + std::u16string(258, u'x');
    const MappingCase cases[] = {
        {u"", "", 0},
        {u"\\", "", 0},
        {u"\\My Documents", "/My Documents", 0},
        {u"/My Documents//My Pictures/", "/My Documents/My Pictures", 0},
        {u"My Documents\\a.jpg", "/My Documents/a.jpg", 0},
        // Existing components are found whatever their case; a new last one keeps its spelling.
        {u"\\MY DOCUMENTS\\my pictures\\New.JPG", "/My Documents/My Pictures/New.JPG", 0},
        {u"\\my documents\\\u00e4rger", "/My Documents/Ärger", 0},
        {u"\\missing\\Deeper", "/missing/Deeper", 0},
        {u"\\...", "/...", 0},
        {u"\\Storage Card\\x", "/Storage Card/x", 0},  // no card: just a folder name
        {longest, nullptr, 0},
        {u"\\My Documents\\..\\..\\etc", nullptr, ERROR_INVALID_NAME},
        {u"\\.\\x", nullptr, ERROR_INVALID_NAME},
        {u"..", nullptr, ERROR_INVALID_NAME},
        {std::u16string(u"\\a\0b", 4), nullptr, ERROR_INVALID_NAME},
        {longest + u"y", nullptr, ERROR_FILENAME_EXCED_RANGE},
    };
    for (const MappingCase& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.device));
        SetLastError(0);
        const auto host = platform::HostPathFor(c.device);
        if (c.host) {
            EXPECT_EQ(host, Root(c.host));
        } else if (c.error != 0) {
            EXPECT_FALSE(host);
            EXPECT_EQ(GetLastError(), c.error);
        } else {
            EXPECT_EQ(host, Root("/" + std::string(258, 'x')));
        }
    }
}

TEST_F(DeviceMappingTest, StorageCardFollowsItsHostFolder) {
    const std::string card = temp_.Path() + "/card";
    MakeHostDir(card + "/DCIM");
    UseCard(card);
    EXPECT_TRUE(platform::HasStorageCard());
    EXPECT_EQ(platform::HostPathFor(u"\\storage CARD\\dcim\\b.jpg"), card + "/DCIM/b.jpg");
    EXPECT_EQ(platform::HostPathFor(u"\\Storage Card"), card);
    EXPECT_EQ(GetFileAttributesW(u"\\Storage Card"),
              FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY);

    std::filesystem::remove_all(card);
    EXPECT_FALSE(platform::HasStorageCard());
    // A removed card is gone, not replaced by a folder of the root.
    EXPECT_EQ(platform::HostPathFor(u"\\Storage Card\\DCIM"), card + "/DCIM");
    EXPECT_EQ(GetFileAttributesW(u"\\Storage Card"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW(u"\\Storage Card\\DCIM"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(DeviceMappingTest, ReverseMappingReachesLinkedFoldersAndNothingOutside) {
    const std::string pictures = home_ + "/Pics";
    const std::string card = temp_.Path() + "/card";
    MakeHostDir(pictures);
    MakeHostDir(card + "/DCIM");
    WriteHostFile(pictures + "/x.jpg", "x");
    WriteHostFile(temp_.Path() + "/outside.jpg", "o");
    std::filesystem::remove_all(Root("/My Documents/My Pictures"));
    ASSERT_EQ(::symlink(pictures.c_str(), Root("/My Documents/My Pictures").c_str()), 0);
    UseCard(card);

    struct ReverseCase {
        std::string host;
        std::optional<std::u16string> device;
    };
    const ReverseCase cases[] = {
        {Root(), u""},
        {Root("/My Documents/a.jpg"), u"\\My Documents\\a.jpg"},  // need not exist yet
        {Root("/Windows/../My Documents"), u"\\My Documents"},
        {pictures + "/x.jpg", u"\\My Documents\\My Pictures\\x.jpg"},
        {pictures + "/new.jpg", u"\\My Documents\\My Pictures\\new.jpg"},
        {card + "/DCIM", u"\\Storage Card\\DCIM"},
        {temp_.Path() + "/outside.jpg", std::nullopt},
        {Root("/../outside.jpg"), std::nullopt},
        {pictures + "/../.config", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {temp_.Path() + "/missing/deeper.jpg", std::nullopt},
    };
    for (const ReverseCase& c : cases) {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(platform::DevicePathFor(c.host), c.device);
    }
}

TEST_F(DeviceMappingTest, RootThatCannotBeCreatedKeepsTheOldDevice) {
    WriteHostFile(temp_.Path() + "/plain", "");
    platform::DebugOutputCapture capture;
    EXPECT_FALSE(platform::ConfigureDevice(temp_.Path() + "/plain/device", ""));
    EXPECT_NE(capture.Utf8().find("plain/device"), std::string::npos) << capture.Utf8();
    EXPECT_EQ(platform::DeviceRootHostPath(), Root());
}

class FirstRunTest : public fs_test::DeviceTest {
  protected:
    void SetUp() override { MakeHostDir(home_ + "/.config"); }

    void WriteUserDirs(const std::string& picturesLine) {
        WriteHostFile(home_ + "/.config/user-dirs.dirs",
                      "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n" +
                          picturesLine + "\n");
    }

    std::string MyPictures() const { return Root("/My Documents/My Pictures"); }
};

TEST_F(FirstRunTest, CreatesTheStandardFolders) {
    ASSERT_TRUE(platform::ConfigureDevice(root_, ""));
    for (const char* folder :
         {"/My Documents", "/My Documents/My Pictures", "/Application Data", "/Windows"}) {
        struct stat st;
        ASSERT_EQ(::lstat(Root(folder).c_str(), &st), 0) << folder;
        EXPECT_TRUE(S_ISDIR(st.st_mode)) << folder;
    }
}

TEST_F(FirstRunTest, LinksMyPicturesToTheUsersPicturesOnlyWhenItIsUsable) {
    struct LinkCase {
        const char* line;
        bool makeFolder;
        bool linked;
    };
    const LinkCase cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Pics\"", true, true},
        {"XDG_PICTURES_DIR=\"${HOME}/Pics\"", true, true},
        {"XDG_PICTURES_DIR=\"$HOME/Pics\"", false, false},  // folder missing
        {"XDG_PICTURES_DIR=\"$HOME/\"", false, false},      // the home folder itself
        {"XDG_PICTURES_DIR=\"Pics\"", true, false},         // not an absolute path
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.line);
        std::filesystem::remove_all(root_);
        std::filesystem::remove_all(home_ + "/Pics");
        if (c.makeFolder)
            MakeHostDir(home_ + "/Pics");
        WriteUserDirs(c.line);
        ASSERT_TRUE(platform::ConfigureDevice(root_, ""));
        struct stat st;
        ASSERT_EQ(::lstat(MyPictures().c_str(), &st), 0);
        EXPECT_EQ(S_ISLNK(st.st_mode), c.linked);
        if (c.linked) {
            EXPECT_EQ(std::filesystem::read_symlink(MyPictures()), home_ + "/Pics");
        }
    }
}

TEST_F(FirstRunTest, NeverReplacesAnExistingMyPictures) {
    MakeHostDir(home_ + "/Pics");
    WriteUserDirs("XDG_PICTURES_DIR=\"$HOME/Pics\"");
    MakeHostDir(Root("/my documents/MY PICTURES"));
    WriteHostFile(Root("/my documents/MY PICTURES/keep.jpg"), "keep");
    ASSERT_TRUE(platform::ConfigureDevice(root_, ""));
    // Matched by case, so neither folder is doubled nor the old one replaced by a link.
    EXPECT_EQ(fs_test::HostNames(Root()),
              (std::vector<std::string>{"Application Data", "Windows", "my documents"}));
    EXPECT_EQ(fs_test::HostNames(Root("/my documents")), std::vector<std::string>{"MY PICTURES"});
    EXPECT_TRUE(HostExists(Root("/my documents/MY PICTURES/keep.jpg")));
}

TEST_F(FirstRunTest, DefaultRootFollowsXdgDataHome) {
    ASSERT_TRUE(platform::ConfigureDevice("", ""));
    EXPECT_EQ(platform::DeviceRootHostPath(), home_ + "/.local/share/pictarium/device");
    fs_test::ScopedEnv data("XDG_DATA_HOME", temp_.Path() + "/data");
    ASSERT_TRUE(platform::ConfigureDevice("", ""));
    EXPECT_EQ(platform::DeviceRootHostPath(), temp_.Path() + "/data/pictarium/device");
    EXPECT_TRUE(HostExists(temp_.Path() + "/data/pictarium/device/Windows"));
}

}  // namespace
