// Byte sources: positioned reads bounded by the content, the whole file read once and within the
// memory budget, and open errors as the handheld numbers them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/imaging.h"
#include "tests/support/image_tools.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::imaging::ByteSource;
using platform::imaging::OpenFileSource;

std::vector<std::uint8_t> Counting(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    return bytes;
}

// The same reads on every kind of source give the same answers.
class ByteSourceTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        const std::string kind = GetParam();
        if (kind == "file") {
            ASSERT_TRUE(testing_support::WriteBytes(dir_ / "f", content_));
            ASSERT_EQ(OpenFileSource(dir_ / "f", &source_), S_OK);
        } else if (kind == "owned") {
            source_ = platform::imaging::OwnedMemorySource(content_);
        } else {
            source_ = platform::imaging::BorrowedMemorySource(content_);
        }
    }

    testing_support::TempDir dir_;
    std::vector<std::uint8_t> content_ = Counting(1000);
    std::shared_ptr<ByteSource> source_;
};

TEST_P(ByteSourceTest, ReadsAreBoundedByTheContent) {
    struct Read {
        std::uint64_t offset;
        std::size_t size;
        std::size_t expected;
    };
    for (const Read& r : {Read{0, 10, 10}, Read{990, 10, 10}, Read{995, 10, 5}, Read{1000, 1, 0},
                          Read{5000, 10, 0}, Read{UINT64_MAX, 10, 0}, Read{3, 0, 0}}) {
        std::vector<std::uint8_t> out(r.size + 1, 0xEE);
        ASSERT_EQ(source_->ReadAt(r.offset, out.data(), r.size), r.expected) << r.offset;
        for (std::size_t i = 0; i < r.expected; ++i) {
            ASSERT_EQ(out[i], content_[r.offset + i]);
        }
        EXPECT_EQ(out[r.expected], 0xEE) << "written past the bytes read";
    }
    EXPECT_EQ(source_->Size(), 1000u);
    const auto whole = source_->Bytes();
    EXPECT_TRUE(std::equal(whole.begin(), whole.end(), content_.begin(), content_.end()));
    EXPECT_EQ(source_->Bytes().data(), whole.data()) << "read once and kept";
}

TEST_P(ByteSourceTest, ConcurrentReadersSeeTheirOwnBytes) {
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i) {
                const std::uint64_t offset = static_cast<std::uint64_t>((t * 131 + i * 17) % 990);
                std::uint8_t out[10];
                if (source_->ReadAt(offset, out, 10) != 10 || out[9] != content_[offset + 9]) {
                    ++wrong;
                }
                if (source_->Bytes().size() != content_.size()) {
                    ++wrong;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ByteSourceTest, ::testing::Values("file", "owned", "borrowed"));

TEST(FileSource, WholeFileBeyondTheBudgetIsRefused) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir / "big", Counting(4096)));
    const std::size_t saved = platform::ImagingMemoryBudget();
    platform::SetImagingMemoryBudget(4095);
    std::shared_ptr<ByteSource> source;
    ASSERT_EQ(OpenFileSource(dir / "big", &source), S_OK);
    EXPECT_TRUE(source->Bytes().empty());
    std::uint8_t byte = 0;
    EXPECT_EQ(source->ReadAt(4095, &byte, 1), 1u) << "positioned reads still work";
    platform::SetImagingMemoryBudget(saved);
}

TEST(FileSource, OpenErrorsAsTheHandheldNumbersThem) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir / "file", {1}));
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    struct Case {
        std::string path;
        HRESULT expected;
    };
    for (const Case& c : {
             Case{dir / "missing.bmp", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
             Case{dir / "no-folder/a.bmp", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
             Case{dir / "file/a.bmp", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
             Case{"", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
             Case{dir.path(), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)},
             Case{dir / "fifo", E_FAIL},  // refused at once, not waited on
         }) {
        std::shared_ptr<ByteSource> source;
        EXPECT_EQ(OpenFileSource(c.path, &source), c.expected) << c.path;
        EXPECT_EQ(source, nullptr);
    }
}

// Root reads any file whatever its mode, so as root a write-only kernel attribute stands in.
TEST(FileSource, UnreadableFileIsAccessDenied) {
    testing_support::TempDir dir;
    std::string path = "/sys/bus/cpu/uevent";
    if (geteuid() != 0) {
        path = dir / "secret";
        ASSERT_TRUE(testing_support::WriteBytes(path, {1}));
        ASSERT_EQ(chmod(path.c_str(), 0), 0);
    }
    std::shared_ptr<ByteSource> source;
    EXPECT_EQ(OpenFileSource(path, &source), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
}

}  // namespace
