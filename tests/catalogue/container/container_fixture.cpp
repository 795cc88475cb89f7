#include "tests/catalogue/container/container_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "files/operator/file_operator.h"
#include "platform/core/wstring.h"
#include "platform/user/resource.h"
#include "resources/string_table.h"

namespace containertest {

namespace {

void Put16(testing_support::Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(testing_support::Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The program's strings, as start-up installs them ("My Device" for the root).
LPCWSTR FindString(UINT id) {
    const auto strings = ProgramStrings();
    const auto it = std::lower_bound(
        strings.begin(), strings.end(), id,
        [](const StringResource& entry, UINT wanted) { return entry.id < wanted; });
    return it != strings.end() && it->id == id ? it->text : nullptr;
}

void ResetProcessState() {
    CMediaContainer::s_bNameAscending = 1;
    CMediaContainer::s_bDateNewestFirst = 1;
    CMediaContainer::s_bSizeSmallestFirst = 1;
    CFileOperator::GetFileOperator()->SetSelectedCount(0);
    CMediaContainer::SetFolderNameListener(nullptr);
}

}  // namespace

testing_support::Bytes BmpPicture(int width, int height) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(height);
    testing_support::Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + pixelBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);
    for (std::uint32_t i = 0; i < pixelBytes; ++i)
        out.push_back(static_cast<std::uint8_t>(i * 37));
    return out;
}

void ContainerTest::SetUp() {
    platform::SetStringTable(FindString);
    ResetProcessState();
    container_ = CMediaContainer::GetMediaContainer();
}

void ContainerTest::TearDown() {
    CMediaContainer::ReleaseMediaContainer();
    ResetProcessState();
}

void ContainerTest::MakeFile(std::u16string_view devicePath, std::size_t bytes,
                             std::int64_t mtime) {
    WriteFile(devicePath, testing_support::SampleContent(bytes));
    SetTime(devicePath, mtime);
}

void ContainerTest::WriteFile(std::u16string_view devicePath, const testing_support::Bytes& bytes) {
    device_.Write(devicePath, bytes);
}

void ContainerTest::MakeFolder(std::u16string_view devicePath, std::int64_t mtime) {
    std::filesystem::create_directories(device_.HostPath(devicePath));
    SetTime(devicePath, mtime);
}

void ContainerTest::SetTime(std::u16string_view devicePath, std::int64_t mtime) {
    const timespec times[2] = {{mtime, 0}, {mtime, 0}};
    if (utimensat(AT_FDCWD, device_.HostPath(devicePath).c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set the time of " + device_.HostPath(devicePath));
}

void ContainerTest::MakeFiles(std::u16string_view folder, const std::vector<TestFile>& files) {
    for (const TestFile& file : files)
        MakeFile(std::u16string(folder) + u"\\" + file.name, file.bytes, file.mtime);
}

void ContainerTest::MakeProtectedPicture(std::u16string_view devicePath) {
    WriteFile(devicePath, testing_support::ForwardLockFile("image/bmp", BmpPicture()));
}

void ContainerTest::LoadSorted(std::u16string_view folder) {
    const std::u16string path(folder);
    ASSERT_EQ(container_->LoadFolder(path.c_str()), 1);
    ASSERT_EQ(container_->ApplyFilter(FILTER_ALL), 1);
    if (container_->GetSortMode() != SORT_BY_NAME) {
        ASSERT_EQ(container_->Sort(SORT_BY_NAME), 1);
    } else {
        ASSERT_EQ(container_->Sort(0), 1);
    }
}

std::vector<std::string> ContainerTest::ShownNames() const {
    std::vector<std::string> names;
    for (const CMediaItem* item : container_->ShownItems())
        names.push_back(Name(item));
    return names;
}

std::string ContainerTest::Name(const CMediaItem* item) {
    return item ? platform::ToUtf8(item->m_szName) : std::string("(none)");
}

int ContainerTest::SelectedCount() {
    return CFileOperator::GetFileOperator()->GetSelectedCount();
}

}  // namespace containertest
