#include "demo/demo_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "tests/support/temp_dir.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(DemoFilesTest, WritesIntoFoldersThatDifferOnlyByCase) {
    testing_support::TempDir temp;
    fs::create_directories(temp / "my documents/dcim");
    DemoFiles files(temp.path());
    ASSERT_TRUE(files.Write("My Documents/DCIM/100HVCAM/a.txt", Bytes("first"), 1700000000));
    EXPECT_EQ(Read(temp / "my documents/dcim/100HVCAM/a.txt"), "first");
    EXPECT_FALSE(fs::exists(temp / "My Documents"));
    struct stat info {};
    ASSERT_EQ(::stat((temp / "my documents/dcim/100HVCAM/a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1700000000);
    EXPECT_EQ(files.Written(), 1);
}

TEST(DemoFilesTest, KeepsAFileThatExists) {
    testing_support::TempDir temp;
    DemoFiles files(temp.path());
    ASSERT_TRUE(files.Write("Notes/a.txt", Bytes("mine"), 1700000000));
    ASSERT_TRUE(files.Write("notes/A.TXT", Bytes("demo"), 1700000000));
    EXPECT_EQ(Read(temp / "Notes/a.txt"), "mine");
    EXPECT_EQ(files.Written(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp / "Notes"), fs::directory_iterator()), 1);
}

TEST(DemoFilesTest, AFailureIsReportedAndTheRestGoesOn) {
    testing_support::TempDir temp;
    std::ofstream(temp / "Blocked") << "a file where a folder should be";
    DemoFiles files(temp.path());
    EXPECT_FALSE(files.Write("Blocked/a.txt", Bytes("x"), 1700000000));
    EXPECT_FALSE(files.Error().empty());
    const std::string first = files.Error();
    EXPECT_TRUE(files.Write("Open/b.txt", Bytes("y"), 1700000000));
    EXPECT_FALSE(files.Write("Blocked/c.txt", Bytes("z"), 1700000000));
    EXPECT_EQ(files.Error(), first);  // the first error is the one kept
    EXPECT_EQ(Read(temp / "Open/b.txt"), "y");
}

TEST(DemoFilesTest, TellsALinkOutOfTheRoot) {
    testing_support::TempDir temp;
    fs::create_directories(temp / "root/My Documents");
    fs::create_directories(temp / "elsewhere");
    fs::create_directory_symlink(temp / "elsewhere", temp / "root/My Documents/My Pictures");
    DemoFiles files(temp / "root");
    EXPECT_TRUE(files.LeavesRoot("My Documents/My Pictures/Family"));
    EXPECT_TRUE(files.LeavesRoot("my documents/my pictures"));
    EXPECT_FALSE(files.LeavesRoot("My Documents/DCIM/100HVCAM"));
}

}  // namespace
}  // namespace demo
