// A temporary device for the container tests: folders and files written on the host with the
// sizes and times a case needs, the container singleton made fresh for each test, and the
// process-wide sort directions and selection count put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/container/media_container.h"
#include "tests/support/rights_fixtures.h"

namespace containertest {

// November 2023, in seconds since 1970.
constexpr std::int64_t kBaseTime = 1'700'000'000;

// A plain file of `bytes` bytes whose last-write time is `mtime`.
struct TestFile {
    std::u16string name;
    std::size_t bytes = 100;
    std::int64_t mtime = kBaseTime;
};

// A small, valid 24-bit BMP picture.
testing_support::Bytes BmpPicture(int width = 4, int height = 3);

class ContainerTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // `devicePath` such as u"\\Pics\\a.jpg"; its folders are made as needed.
    void MakeFile(std::u16string_view devicePath, std::size_t bytes = 100,
                  std::int64_t mtime = kBaseTime);
    void WriteFile(std::u16string_view devicePath, const testing_support::Bytes& bytes);
    void MakeFolder(std::u16string_view devicePath, std::int64_t mtime = kBaseTime);
    void SetTime(std::u16string_view devicePath, std::int64_t mtime);
    // Writes every file of `files` into `folder`.
    void MakeFiles(std::u16string_view folder, const std::vector<TestFile>& files);
    // A protected picture (forward lock around a real BMP) at `devicePath`.
    void MakeProtectedPicture(std::u16string_view devicePath);

    // Loads `folder`, applies FILTER_ALL and sorts by name (ascending).
    void LoadSorted(std::u16string_view folder);

    // The shown list's names in order, as UTF-8.
    std::vector<std::string> ShownNames() const;
    static std::string Name(const CMediaItem* item);
    static int SelectedCount();

    testing_support::RightsDevice device_;
    CMediaContainer* container_ = nullptr;
};

}  // namespace containertest
