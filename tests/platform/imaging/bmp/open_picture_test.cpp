// Pictures are recognised by their bytes: every format opens under a misleading name, and what is
// not a picture answers IMGERR_CODECNOTFOUND.
#include <gtest/gtest.h>

#include "platform/imaging/codec/decoder.h"
#include "tests/support/image_tools.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::imaging::ByteSource;
using platform::imaging::OpenFileSource;
using platform::imaging::OpenPictureDecoder;
using platform::imaging::PictureDecoder;
using platform::imaging::RawFormat;

struct FormatCase {
    const char* name;
    const char* output;  // ImageMagick's format prefix
    RawFormat format;
};

class OpenPictureTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(OpenPictureTest, RecognisedUnderAWrongName) {
    testing_support::TempDir dir;
    const std::string made = dir / "made";
    ASSERT_TRUE(testing_support::RunConvert(
        {"-size", "12x7", "pattern:checkerboard", std::string(GetParam().output) + made}));
    const std::string misnamed = dir / "notes.txt";
    ASSERT_TRUE(testing_support::WriteBytes(misnamed, testing_support::ReadBytes(made)));

    std::shared_ptr<ByteSource> source;
    ASSERT_EQ(OpenFileSource(misnamed, &source), S_OK);
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(OpenPictureDecoder(source, &decoder), S_OK);
    EXPECT_EQ(decoder->Header().format, GetParam().format);
    EXPECT_EQ(decoder->Header().width, 12);
    EXPECT_EQ(decoder->Header().height, 7);
}

INSTANTIATE_TEST_SUITE_P(Formats, OpenPictureTest,
                         ::testing::Values(FormatCase{"Jpeg", "JPEG:", RawFormat::Jpeg},
                                           FormatCase{"Png", "PNG:", RawFormat::Png},
                                           FormatCase{"Gif", "GIF:", RawFormat::Gif},
                                           FormatCase{"Bmp", "BMP3:", RawFormat::Bmp},
                                           FormatCase{"Wbmp", "WBMP:", RawFormat::Wbmp}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OpenPicture, WhatIsNotAPictureIsNotFound) {
    const std::vector<std::vector<std::uint8_t>> notPictures = {
        {},
        {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'},
        {'B', 'M', 'W', ' ', 'c', 'a', 'r', 's', ' ', 'a', 'n', 'd', ' ', 'b', 'i', 'k', 'e', 's'},
        {0, 0, 1, 1},  // a WBMP header without its row
    };
    for (const auto& bytes : notPictures) {
        std::unique_ptr<PictureDecoder> decoder;
        EXPECT_EQ(OpenPictureDecoder(platform::imaging::OwnedMemorySource(bytes), &decoder),
                  IMGERR_CODECNOTFOUND)
            << bytes.size();
        EXPECT_EQ(decoder, nullptr);
    }
}

TEST(OpenPicture, EmptyAndMissingFiles) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir / "empty.jpg", {}));
    std::shared_ptr<ByteSource> source;
    ASSERT_EQ(OpenFileSource(dir / "empty.jpg", &source), S_OK);
    std::unique_ptr<PictureDecoder> decoder;
    EXPECT_EQ(OpenPictureDecoder(source, &decoder), IMGERR_CODECNOTFOUND);
    EXPECT_EQ(OpenFileSource(dir / "missing.jpg", &source),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(source, nullptr);
}

}  // namespace
