// The codec library entry points as the media item and the decode manager use them: probe, then
// create a reader over the same bytes and the segment the probe reported.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "imaging/codec/codec_exif_reader.h"
#include "imaging/codec/codec_jpeg_header.h"
#include "tests/platform/imaging/exif/camera_jpeg.h"
#include "tests/platform/imaging/exif/exif_bytes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using testing_support::ReadBytes;
using testing_support::TempDir;

// What the program reads: at most 184320 bytes of the file.
Bytes ReadHead(const std::string& path) {
    Bytes bytes = ReadBytes(path);
    if (bytes.size() > 184320)
        bytes.resize(184320);
    return bytes;
}

struct Read {
    int probe = -1;
    CODEC_JPEG_HEADER header{};
    int create = -1;
    int gps = -1;
    CODEC_GPS_INFO gpsInfo{};
    CODEC_PICTURE_INFO picture{};
};

Read ReadAll(const Bytes& bytes) {
    Read r;
    const auto size = static_cast<DWORD>(bytes.size());
    r.probe = CodecProbeJpegHeader(bytes.data(), size, &r.header);
    CCodecExifReader reader;
    r.create = reader.Create(bytes.data(), size, r.header.dwAppOffset, r.header.dwAppLength);
    r.gps = reader.GetGpsInfo(&r.gpsInfo);
    reader.GetPictureInfo(&r.picture);
    return r;
}

TEST(CodecExifTest, CameraLikeFiles) {
    TempDir dir;
    ASSERT_TRUE(testing_support::RunConvert({"-size", "16x12", "xc:red", dir / "th.jpg"}));
    ASSERT_TRUE(exif_testing::MakeCameraJpegs(
        dir, {{"camera.jpg",
               {"-ExifByteOrder=MM", "-Orientation#=6", "-ExifImageWidth=2048",
                "-ExifImageHeight=1536", "-GPSLatitude=48.8583", "-GPSLatitudeRef=N",
                "-GPSLongitude=2.2945", "-GPSLongitudeRef=E", "-GPSAltitude=35.5",
                "-GPSAltitudeRef#=0", "-ThumbnailImage<=" + (dir / "th.jpg")},
               64,
               48},
              {"no_gps.jpg", {"-Orientation#=8"}, 64, 48},
              {"plain.jpg", {}, 64, 48}}));

    // A camera file: JFIF APP0 first, yet the reader is pointed at the EXIF segment.
    const Read camera = ReadAll(ReadHead(dir / "camera.jpg"));
    EXPECT_EQ(camera.probe, 0);
    EXPECT_EQ(camera.header.nWidth, 64);
    EXPECT_EQ(camera.header.nHeight, 48);
    ASSERT_EQ(camera.create, 0);
    EXPECT_EQ(camera.picture.wOrientation, 6);
    EXPECT_EQ(camera.picture.wWidth, 2048);
    EXPECT_EQ(camera.picture.wHeight, 1536);
    ASSERT_EQ(camera.gps, 0);
    // 48.8583 N = 48 deg 51 min 29.88 s, 2.2945 E = 2 deg 17 min 40.2 s, as the program
    // turns the seven pairs into quotients.
    const CODEC_GPS_INFO& g = camera.gpsInfo;
    const std::pair<CODEC_RATIONAL, double> values[] = {
        {g.latitude[0], 48},  {g.latitude[1], 51},    {g.latitude[2], 29.88}, {g.longitude[0], 2},
        {g.longitude[1], 17}, {g.longitude[2], 40.2}, {g.altitude, 35.5}};
    for (const auto& [rational, quotient] : values) {
        ASSERT_NE(rational.dwDenominator, 0u);
        EXPECT_NEAR(static_cast<double>(rational.dwNumerator) / rational.dwDenominator, quotient,
                    1e-6);
    }
    EXPECT_EQ(camera.gpsInfo.cLatitudeRef, 'N');
    EXPECT_EQ(camera.gpsInfo.cLongitudeRef, 'E');

    const Read noGps = ReadAll(ReadHead(dir / "no_gps.jpg"));
    EXPECT_EQ(noGps.create, 0);
    EXPECT_EQ(noGps.gps, -1);
    EXPECT_EQ(noGps.gpsInfo.latitude[0].dwDenominator, 0u);
    EXPECT_EQ(noGps.picture.wOrientation, 8);

    // No EXIF: the probe still answers 0 and reports the JFIF segment, which is no EXIF data.
    const Read plain = ReadAll(ReadHead(dir / "plain.jpg"));
    EXPECT_EQ(plain.probe, 0);
    EXPECT_NE(plain.header.dwAppLength, 0u);
    EXPECT_EQ(plain.create, -1);
    EXPECT_EQ(plain.picture.wOrientation, 0);
}

TEST(CodecExifTest, AnswersForOtherBytes) {
    using exif_testing::ExifBytes;
    const auto app1 = [](const Bytes& payload) {
        const std::size_t length = payload.size() + 2;
        Bytes out = {0xFF,
                     0xD8,
                     0xFF,
                     0xE1,
                     static_cast<std::uint8_t>(length >> 8),
                     static_cast<std::uint8_t>(length)};
        out.insert(out.end(), payload.begin(), payload.end());
        return out;
    };
    // EXIF sizes beyond 16 bits saturate instead of wrapping to a small size.
    ExifBytes wide(false, 64);
    wide.Ifd(8, {{0x8769, 4, 1, 26}}).Ifd(26, {{0xA002, 4, 1, 70000}, {0xA003, 4, 1, 65535}});
    // The bytes end before the frame header (a long header cut by the read limit): the probe
    // answers -1 but still points at the whole EXIF segment it saw.
    ExifBytes oriented(true, 32);
    oriented.Ifd(8, {{0x0112, 3, 1, 3}});
    Bytes cut = app1(oriented.bytes());
    cut.insert(cut.end(), {0xFF, 0xE2, 0x10, 0x00, 1, 2, 3});

    struct Case {
        const char* name;
        Bytes bytes;
        int probe;
        int create;
        WORD width;
        WORD height;
        WORD orientation;
    };
    const Case cases[] = {
        {"empty", {}, -1, -1, 0, 0, 0},
        {"png", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, -1, -1, 0, 0, 0},
        {"wide exif, no frame header", app1(wide.bytes()), -1, 0, 0xFFFF, 0xFFFF, 0},
        {"cut before the frame header", cut, -1, 0, 0, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read r = ReadAll(c.bytes);
        EXPECT_EQ(r.probe, c.probe);
        EXPECT_EQ(r.create, c.create);
        EXPECT_EQ(r.picture.wWidth, c.width);
        EXPECT_EQ(r.picture.wHeight, c.height);
        EXPECT_EQ(r.picture.wOrientation, c.orientation);
    }

    CODEC_JPEG_HEADER header;
    EXPECT_EQ(CodecProbeJpegHeader(nullptr, 10, &header), -1);
    CCodecExifReader reader;
    EXPECT_EQ(reader.Create(nullptr, 10, 0, 10), -1);
    CODEC_PICTURE_INFO picture;
    EXPECT_EQ(reader.GetPictureInfo(&picture), -1);
}

}  // namespace
