#include "demo/exif_writer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "demo/picture_encoder.h"
#include "imaging/codec/codec_exif_reader.h"
#include "platform/imaging/exif/jpeg_header.h"

namespace demo {
namespace {

using platform::imaging::ExifData;
using platform::imaging::JpegHeaderInfo;

std::vector<std::uint8_t> SmallJpeg(int width, int height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.argb.assign(static_cast<std::size_t>(width) * height, 0xFF3080C0u);
    std::string error;
    auto jpeg = EncodePixels(pixels, EncodedFormat::Jpeg, false, 80, error);
    EXPECT_FALSE(jpeg.empty()) << error;
    return jpeg;
}

// Builds the payload, puts it into a real JPEG and reads it back the way the program does.
ExifData RoundTrip(const ExifFields& fields, std::vector<std::uint8_t>* file = nullptr) {
    const auto payload = BuildExifPayload(fields);
    EXPECT_FALSE(payload.empty());
    const auto jpeg = InsertExifSegment(SmallJpeg(64, 48), payload);
    JpegHeaderInfo header;
    EXPECT_TRUE(platform::imaging::ProbeJpegHeader(jpeg, &header));
    EXPECT_EQ(header.width, 64);
    EXPECT_GT(header.exifLength, 0u);
    ExifData data;
    EXPECT_TRUE(platform::imaging::ReadExif(jpeg, header.exifOffset, header.exifLength, &data));
    if (file)
        *file = jpeg;
    return data;
}

TEST(ExifWriterTest, FieldsReadBack) {
    struct Case {
        std::uint16_t orientation;
        std::optional<GpsPosition> gps;
        char latitudeRef, longitudeRef;
        std::uint8_t altitudeRef;
    };
    const Case cases[] = {
        {1, std::nullopt, 0, 0, 0},
        {3, GpsPosition{48.8584, 2.2945, 35}, 'N', 'E', 0},
        {6, GpsPosition{-33.8568, 151.2153, 4.5}, 'S', 'E', 0},
        {8, GpsPosition{31.559, -35.4732, -430.5}, 'N', 'W', 1},
        {0, std::nullopt, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        ExifFields fields;
        fields.orientation = c.orientation;
        fields.make = "Maker";
        fields.model = "Model";
        fields.dateTime = "2026:04:18 08:30:00";
        fields.pixelWidth = 640;
        fields.pixelHeight = 480;
        fields.gps = c.gps;
        const ExifData data = RoundTrip(fields);
        EXPECT_EQ(data.orientation, c.orientation);
        EXPECT_EQ(data.pixelWidth, 640u);
        EXPECT_EQ(data.pixelHeight, 480u);
        EXPECT_EQ(data.hasGps, c.gps.has_value());
        EXPECT_EQ(data.latitudeRef, c.latitudeRef);
        EXPECT_EQ(data.longitudeRef, c.longitudeRef);
        EXPECT_EQ(data.thumbnailLength, 0u);
        if (c.gps) {
            EXPECT_EQ(data.altitudeRef, c.altitudeRef);
            const double latitude = data.latitude[0].numerator + data.latitude[1].numerator / 60.0 +
                                    data.latitude[2].numerator / 100.0 / 3600.0;
            const double longitude = data.longitude[0].numerator +
                                     data.longitude[1].numerator / 60.0 +
                                     data.longitude[2].numerator / 100.0 / 3600.0;
            EXPECT_NEAR(latitude, std::fabs(c.gps->latitude), 1e-5);
            EXPECT_NEAR(longitude, std::fabs(c.gps->longitude), 1e-5);
            ASSERT_NE(data.altitude.denominator, 0u);
            EXPECT_NEAR(double(data.altitude.numerator) / data.altitude.denominator,
                        std::fabs(c.gps->altitude), 0.05);
        }
    }
}

TEST(ExifWriterTest, ThumbnailIsWhereIfd1Says) {
    ExifFields fields;
    fields.orientation = 1;
    fields.thumbnailJpeg = SmallJpeg(160, 120);
    std::vector<std::uint8_t> file;
    const ExifData data = RoundTrip(fields, &file);
    ASSERT_EQ(data.thumbnailLength, fields.thumbnailJpeg.size());
    ASSERT_LE(data.thumbnailOffset + data.thumbnailLength, file.size());
    const std::vector<std::uint8_t> embedded(
        file.begin() + data.thumbnailOffset,
        file.begin() + data.thumbnailOffset + data.thumbnailLength);
    EXPECT_EQ(embedded, fields.thumbnailJpeg);
}

TEST(ExifWriterTest, CodecReaderSeesGpsAndOrientation) {
    ExifFields fields;
    fields.orientation = 6;
    fields.gps = GpsPosition{35.3606, 138.7274, 3776};
    const auto jpeg = InsertExifSegment(SmallJpeg(32, 32), BuildExifPayload(fields));
    JpegHeaderInfo header;
    ASSERT_TRUE(platform::imaging::ProbeJpegHeader(jpeg, &header));
    CCodecExifReader reader;
    ASSERT_EQ(
        reader.Create(jpeg.data(), static_cast<DWORD>(jpeg.size()),
                      static_cast<DWORD>(header.exifOffset), static_cast<DWORD>(header.exifLength)),
        0);
    CODEC_GPS_INFO gps{};
    ASSERT_EQ(reader.GetGpsInfo(&gps), 0);
    EXPECT_EQ(gps.cLatitudeRef, 'N');
    EXPECT_EQ(gps.latitude[0].dwNumerator, 35u);
    EXPECT_EQ(gps.longitude[0].dwNumerator, 138u);
    CODEC_PICTURE_INFO info{};
    ASSERT_EQ(reader.GetPictureInfo(&info), 0);
    EXPECT_EQ(info.wOrientation, 6);
}

TEST(ExifWriterTest, JfifSegmentIsReplaced) {
    const auto plain = SmallJpeg(16, 16);
    const auto withExif = InsertExifSegment(plain, BuildExifPayload(ExifFields{}));
    ASSERT_GE(withExif.size(), 4u);
    EXPECT_EQ(withExif[3], 0xE1);  // APP1 straight after SOI
    const std::string text(withExif.begin(), withExif.end());
    EXPECT_EQ(text.find("JFIF"), std::string::npos);
    JpegHeaderInfo header;
    EXPECT_TRUE(platform::imaging::ProbeJpegHeader(withExif, &header));
    EXPECT_EQ(header.width, 16);
}

TEST(ExifWriterTest, RefusesWhatCannotBeWritten) {
    ExifFields tooBig;
    tooBig.thumbnailJpeg.assign(70000, 0xAB);
    EXPECT_TRUE(BuildExifPayload(tooBig).empty());
    const std::vector<std::uint8_t> notJpeg = {'G', 'I', 'F', '8', '9', 'a'};
    EXPECT_TRUE(InsertExifSegment(notJpeg, BuildExifPayload(ExifFields{})).empty());
    const std::vector<std::uint8_t> payload(70000, 0);
    EXPECT_TRUE(InsertExifSegment(SmallJpeg(8, 8), payload).empty());
}

}  // namespace
}  // namespace demo
