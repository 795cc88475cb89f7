// The probe and the reader on pictures tagged by exiftool, checked against exiftool's own reading.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/imaging/exif/exif_reader.h"
#include "platform/imaging/exif/jpeg_header.h"
#include "tests/platform/imaging/exif/camera_jpeg.h"

namespace platform::imaging {
namespace {

using exif_testing::CameraJpeg;
using exif_testing::ExiftoolNumbers;
using exif_testing::MakeCameraJpegs;
using testing_support::ReadBytes;
using testing_support::TempDir;

struct Parsed {
    std::vector<std::uint8_t> bytes;
    JpegHeaderInfo header;
    ExifData exif;
    bool isJpeg = false;
    bool hasExif = false;
};

Parsed Parse(const std::string& path) {
    Parsed p;
    p.bytes = ReadBytes(path);
    p.isJpeg = ProbeJpegHeader(p.bytes, &p.header);
    p.hasExif = ReadExif(p.bytes, p.header.exifOffset, p.header.exifLength, &p.exif);
    return p;
}

double Quotient(const ExifRational& r) {
    return static_cast<double>(r.numerator) / r.denominator;
}

double Degrees(const ExifRational (&dms)[3]) {
    return Quotient(dms[0]) + Quotient(dms[1]) / 60 + Quotient(dms[2]) / 3600;
}

TEST(ExifFixtureTest, OrientationAndSizeInBothByteOrders) {
    TempDir dir;
    std::vector<CameraJpeg> pictures;
    std::vector<std::string> names;
    for (const char* order : {"II", "MM"}) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            // A different EXIF width for each, and never the height, so no mix-up can pass.
            const int width = 640 + orientation + (order[0] == 'M' ? 100 : 0);
            pictures.push_back(
                {std::string(order) + std::to_string(orientation) + ".jpg",
                 {std::string("-ExifByteOrder=") + order,
                  "-Orientation#=" + std::to_string(orientation),
                  "-ExifImageWidth=" + std::to_string(width), "-ExifImageHeight=480"}});
            names.push_back(pictures.back().name);
        }
    }
    ASSERT_TRUE(MakeCameraJpegs(dir, pictures));
    const auto expected =
        ExiftoolNumbers(dir, names, {"ExifByteOrder", "Orientation", "ExifImageWidth"});
    ASSERT_EQ(expected.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        ASSERT_EQ(expected[i].size(), 3u);
        EXPECT_EQ(expected[i][0], names[i].substr(0, 2)) << "exiftool kept the byte order";
        const Parsed p = Parse(dir / names[i]);
        ASSERT_TRUE(p.isJpeg);
        ASSERT_TRUE(p.hasExif);
        EXPECT_EQ(p.header.width, 41);
        EXPECT_EQ(p.header.height, 24);
        EXPECT_EQ(p.header.components, 3);
        EXPECT_EQ(std::to_string(p.exif.orientation), expected[i][1]);
        EXPECT_EQ(std::to_string(p.exif.pixelWidth), expected[i][2]);
        EXPECT_EQ(p.exif.pixelHeight, 480u);
        EXPECT_FALSE(p.exif.hasGps);
    }
}

TEST(ExifFixtureTest, GpsQuotientsMatchExiftool) {
    struct Case {
        const char* order;
        const char* latitude;
        char latitudeRef;
        const char* longitude;
        char longitudeRef;
        const char* altitude;
        int altitudeRef;
    };
    const Case cases[] = {
        {"II", "48.8583", 'N', "2.2945", 'E', "35.5", 0},
        {"MM", "48.8583", 'N', "2.2945", 'E', "35.5", 0},
        {"MM", "33.8688", 'S', "151.2093", 'E', "0.25", 0},
        {"II", "0.0001", 'N', "179.9999", 'W', "420", 1},
    };
    TempDir dir;
    std::vector<CameraJpeg> pictures;
    std::vector<std::string> names;
    for (const Case& c : cases) {
        pictures.push_back(
            {"gps" + std::to_string(names.size()) + ".jpg",
             {std::string("-ExifByteOrder=") + c.order, std::string("-GPSLatitude=") + c.latitude,
              std::string("-GPSLatitudeRef=") + c.latitudeRef,
              std::string("-GPSLongitude=") + c.longitude,
              std::string("-GPSLongitudeRef=") + c.longitudeRef,
              std::string("-GPSAltitude=") + c.altitude,
              "-GPSAltitudeRef#=" + std::to_string(c.altitudeRef)}});
        names.push_back(pictures.back().name);
    }
    ASSERT_TRUE(MakeCameraJpegs(dir, pictures));
    const auto expected =
        ExiftoolNumbers(dir, names, {"GPSLatitude", "GPSLongitude", "GPSAltitude"});
    ASSERT_EQ(expected.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string(c.order) + " " + c.latitude + c.latitudeRef);
        ASSERT_EQ(expected[i].size(), 3u);
        const Parsed p = Parse(dir / names[i]);
        ASSERT_TRUE(p.hasExif);
        ASSERT_TRUE(p.exif.hasGps);
        EXPECT_EQ(p.exif.latitudeRef, c.latitudeRef);
        EXPECT_EQ(p.exif.longitudeRef, c.longitudeRef);
        EXPECT_EQ(p.exif.altitudeRef, c.altitudeRef);
        for (const ExifRational& r :
             {p.exif.latitude[0], p.exif.latitude[1], p.exif.latitude[2], p.exif.longitude[0],
              p.exif.longitude[1], p.exif.longitude[2], p.exif.altitude})
            ASSERT_NE(r.denominator, 0u);
        // exiftool -n gives signed decimals; the sign comes from the references.
        const double latitude = std::abs(std::stod(expected[i][0]));
        const double longitude = std::abs(std::stod(expected[i][1]));
        const double altitude = std::abs(std::stod(expected[i][2]));
        EXPECT_NEAR(Degrees(p.exif.latitude), latitude, 1e-6);
        EXPECT_NEAR(Degrees(p.exif.longitude), longitude, 1e-6);
        EXPECT_NEAR(Quotient(p.exif.altitude), altitude, 1e-6);
        EXPECT_EQ(Quotient(p.exif.latitude[0]), std::floor(latitude));
    }
}

TEST(ExifFixtureTest, ThumbnailRangeHoldsTheEmbeddedFileInBothByteOrders) {
    TempDir dir;
    ASSERT_TRUE(
        testing_support::RunConvert({"-size", "20x14", "gradient:red-blue", dir / "th.jpg"}));
    const std::vector<std::uint8_t> thumbnail = ReadBytes(dir / "th.jpg");
    ASSERT_FALSE(thumbnail.empty());
    const std::vector<std::string> names = {"II.jpg", "MM.jpg"};
    std::vector<CameraJpeg> pictures;
    for (const std::string& name : names)
        pictures.push_back({name,
                            {"-ExifByteOrder=" + name.substr(0, 2),
                             "-ThumbnailImage<=" + (dir / "th.jpg"), "-Orientation#=3"}});
    ASSERT_TRUE(MakeCameraJpegs(dir, pictures));
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const Parsed p = Parse(dir / name);
        ASSERT_TRUE(p.hasExif);
        ASSERT_EQ(p.exif.thumbnailLength, thumbnail.size());
        // The range lies in the segment and counts from the start of the file's bytes.
        EXPECT_GE(p.exif.thumbnailOffset, p.header.exifOffset);
        EXPECT_LE(p.exif.thumbnailOffset + p.exif.thumbnailLength,
                  p.header.exifOffset + p.header.exifLength);
        EXPECT_TRUE(std::equal(thumbnail.begin(), thumbnail.end(),
                               p.bytes.begin() + p.exif.thumbnailOffset));
        EXPECT_EQ(p.exif.orientation, 3);
    }
}

TEST(ExifFixtureTest, SegmentsAndFrameKinds) {
    struct Case {
        CameraJpeg picture;
        std::uint8_t firstApp;  // the first application segment's marker
        bool hasExif;
    };
    // ImageMagick writes a JFIF APP0 first; exiftool adds the EXIF APP1 after it.
    const Case cases[] = {
        {{"jfif_exif.jpg", {"-Orientation#=6"}, 30, 20}, 0xE0, true},
        {{"no_exif.jpg", {}, 30, 20}, 0xE0, false},
        {{"progressive.jpg", {"-Orientation#=8"}, 30, 20, true}, 0xE0, true},
        {{"exif_only.jpg", {"-JFIF:all=", "-Orientation#=2"}, 30, 20}, 0xE1, true},
    };
    TempDir dir;
    std::vector<CameraJpeg> pictures;
    for (const Case& c : cases)
        pictures.push_back(c.picture);
    ASSERT_TRUE(MakeCameraJpegs(dir, pictures));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture.name);
        const Parsed p = Parse(dir / c.picture.name);
        ASSERT_TRUE(p.isJpeg);
        EXPECT_EQ(p.header.progressive, c.picture.progressive);
        EXPECT_EQ(p.header.width, 30);
        EXPECT_EQ(p.header.height, 20);
        EXPECT_EQ(p.header.appMarker, c.firstApp);
        EXPECT_EQ(p.hasExif, c.hasExif);
        EXPECT_EQ(p.header.exifLength != 0, c.hasExif);
        // A JFIF segment is no EXIF data.
        ExifData fromFirst;
        EXPECT_EQ(ReadExif(p.bytes, p.header.appOffset, p.header.appLength, &fromFirst),
                  c.firstApp == 0xE1);
    }
}

// Every prefix of a real file: the probe answers false until the frame header is whole, then
// true with the same size, and the reader never reads beyond the prefix (asan checks that).
TEST(ExifFixtureTest, EveryPrefixOfATaggedFile) {
    TempDir dir;
    ASSERT_TRUE(MakeCameraJpegs(
        dir, {{"a.jpg", {"-Orientation#=5", "-GPSLatitude=1.5", "-GPSLatitudeRef=N"}, 50, 30}}));
    const std::vector<std::uint8_t> bytes = ReadBytes(dir / "a.jpg");
    std::size_t firstTrue = 0;
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
        const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + n);
        JpegHeaderInfo info;
        const bool isJpeg = ProbeJpegHeader(prefix, &info);
        ExifData exif;
        ReadExif(prefix, info.exifOffset, info.exifLength, &exif);
        if (isJpeg && firstTrue == 0)
            firstTrue = n;
        if (firstTrue != 0) {
            ASSERT_TRUE(isJpeg) << n;
            ASSERT_EQ(info.width, 50);
            ASSERT_EQ(exif.orientation, 5);
        }
    }
    EXPECT_GT(firstTrue, 0u);
    EXPECT_LT(firstTrue, bytes.size());
}

}  // namespace
}  // namespace platform::imaging
