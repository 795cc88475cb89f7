// The reader on hand-built EXIF data: a well-formed layout in both byte orders, and that layout
// damaged one field at a time.
#include <gtest/gtest.h>

#include <functional>

#include "platform/imaging/exif/exif_reader.h"
#include "tests/platform/imaging/exif/exif_bytes.h"

namespace platform::imaging {
namespace {

using exif_testing::ExifBytes;

enum : std::uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5 };

// IFD0 at 8 (orientation, Exif and GPS pointers, link to IFD1), Exif IFD at 60, GPS IFD at 100,
// GPS rationals at 200..255, IFD1 at 260, a 20-byte thumbnail at 300 ending the block.
constexpr std::size_t kTiffSize = 320;
constexpr std::size_t kThumbnailAt = 300;

ExifBytes WellFormed(bool big) {
    ExifBytes b(big, kTiffSize);
    b.Ifd(8, {{0x0112, kShort, 1, 6}, {0x8769, kLong, 1, 60}, {0x8825, kLong, 1, 100}}, 260);
    b.Ifd(60, {{0xA002, kLong, 1, 4000}, {0xA003, kShort, 1, 3000}});
    b.Ifd(100, {{1, kAscii, 2, 'N'},
                {2, kRational, 3, 200},
                {3, kAscii, 2, 'W'},
                {4, kRational, 3, 224},
                {5, kByte, 1, 1},
                {6, kRational, 1, 248}});
    b.Rational(200, 48, 1).Rational(208, 51, 1).Rational(216, 2988, 100);
    b.Rational(224, 2, 1).Rational(232, 17, 1).Rational(240, 402, 10);
    b.Rational(248, 355, 10);
    b.Ifd(260, {{0x0201, kLong, 1, kThumbnailAt}, {0x0202, kLong, 1, 20}});
    return b;
}

// Where the damaged fields lie in that layout.
constexpr std::size_t kIfd0Link = 10 + 3 * 12;
constexpr std::size_t kExifPointerValue = 10 + 12 + 8;
constexpr std::size_t kGpsPointerValue = 10 + 24 + 8;
constexpr std::size_t kLatitudeEntry = 102 + 12;
constexpr std::size_t kThumbnailOffsetValue = 262 + 8;
constexpr std::size_t kThumbnailLengthValue = 274 + 8;

struct Expected {
    bool ok;
    std::uint16_t orientation;
    std::uint32_t width;
    bool hasGps;
    std::uint32_t latitudeDegrees;
    std::size_t thumbnailLength;
};
constexpr Expected kAll = {true, 6, 4000, true, 48, 20};

TEST(ExifReaderTest, WellFormedInBothByteOrders) {
    for (bool big : {false, true}) {
        SCOPED_TRACE(big ? "MM" : "II");
        const std::vector<std::uint8_t> bytes = WellFormed(big).bytes();
        ExifData d;
        ASSERT_TRUE(ReadExif(bytes, 0, bytes.size(), &d));
        EXPECT_EQ(d.orientation, 6);
        EXPECT_EQ(d.pixelWidth, 4000u);
        EXPECT_EQ(d.pixelHeight, 3000u);
        ASSERT_TRUE(d.hasGps);
        EXPECT_EQ(d.latitudeRef, 'N');
        EXPECT_EQ(d.longitudeRef, 'W');
        EXPECT_EQ(d.altitudeRef, 1);
        const ExifRational expected[] = {{48, 1}, {51, 1},   {2988, 100}, {2, 1},
                                         {17, 1}, {402, 10}, {355, 10}};
        const ExifRational actual[] = {d.latitude[0],  d.latitude[1],  d.latitude[2],
                                       d.longitude[0], d.longitude[1], d.longitude[2],
                                       d.altitude};
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(actual[i].numerator, expected[i].numerator) << i;
            EXPECT_EQ(actual[i].denominator, expected[i].denominator) << i;
        }
        // The thumbnail ends exactly at the end of the segment: the last byte still counts.
        EXPECT_EQ(d.thumbnailOffset, 6 + kThumbnailAt);
        EXPECT_EQ(d.thumbnailLength, 20u);
    }
}

TEST(ExifReaderTest, DamagedFields) {
    struct Case {
        const char* name;
        std::function<void(ExifBytes&)> damage;
        Expected expected;
    };
    const Case cases[] = {
        {"truncated tiff header", [](ExifBytes& b) { b.Truncate(7); }, {}},
        {"mixed byte order mark", [](ExifBytes& b) { b.U8(1, 'X'); }, {}},
        {"wrong magic number", [](ExifBytes& b) { b.U16(2, 43); }, {}},
        {"ifd0 past the end", [](ExifBytes& b) { b.U32(4, kTiffSize - 1); }, {}},
        {"ifd0 offset overflowing", [](ExifBytes& b) { b.U32(4, 0xFFFFFFFF); }, {}},
        {"ifd0 inside the header", [](ExifBytes& b) { b.U32(4, 4); }, {}},
        {"block ends inside ifd0",
         [](ExifBytes& b) { b.Truncate(8 + 2 + 2 * 12); },
         {true, 6, 0, false, 0, 0}},
        {"ifd0 count beyond the block drops the link",
         [](ExifBytes& b) { b.U16(8, 0xFFFF); },
         {true, 6, 4000, true, 48, 0}},
        {"exif pointer past the end",
         [](ExifBytes& b) { b.U32(kExifPointerValue, 0xFFFFFFF0); },
         {true, 6, 0, true, 48, 20}},
        {"gps pointer past the end",
         [](ExifBytes& b) { b.U32(kGpsPointerValue, kTiffSize); },
         {true, 6, 4000, false, 0, 20}},
        {"latitude value past the end",
         [](ExifBytes& b) { b.U32(kLatitudeEntry + 8, 300); },
         {true, 6, 4000, true, 0, 20}},
        // 0x20000000 rationals are 2^32 bytes: a 32-bit product would wrap to 0 and pass.
        {"latitude count wrapping 32 bits",
         [](ExifBytes& b) { b.U32(kLatitudeEntry + 4, 0x20000000); },
         {true, 6, 4000, true, 0, 20}},
        {"latitude count maximal",
         [](ExifBytes& b) { b.U32(kLatitudeEntry + 4, 0xFFFFFFFF); },
         {true, 6, 4000, true, 0, 20}},
        {"latitude of another type",
         [](ExifBytes& b) { b.U16(kLatitudeEntry + 2, 10); },
         {true, 6, 4000, true, 0, 20}},
        {"latitude of an unknown type",
         [](ExifBytes& b) { b.U16(kLatitudeEntry + 2, 99); },
         {true, 6, 4000, true, 0, 20}},
        {"orientation as long",
         [](ExifBytes& b) { b.U16(10 + 2, kLong); },
         {true, 0, 4000, true, 48, 20}},
        {"width as rational",
         [](ExifBytes& b) { b.U16(62 + 2, kRational); },
         {true, 6, 0, true, 48, 20}},
        {"width as short",
         [](ExifBytes& b) { b.U16(62 + 2, kShort).U32(62 + 8, 0); },
         {true, 6, 0, true, 48, 20}},
        {"ifd1 is ifd0", [](ExifBytes& b) { b.U32(kIfd0Link, 8); }, {true, 6, 4000, true, 48, 0}},
        {"ifd1 is the exif ifd",
         [](ExifBytes& b) { b.U32(kIfd0Link, 60); },
         {true, 6, 4000, true, 48, 0}},
        {"exif ifd is ifd0",
         [](ExifBytes& b) { b.U32(kExifPointerValue, 8); },
         {true, 6, 0, true, 48, 20}},
        {"gps ifd is the exif ifd",
         [](ExifBytes& b) { b.U32(kGpsPointerValue, 60); },
         {true, 6, 4000, false, 0, 20}},
        {"thumbnail one byte beyond the segment",
         [](ExifBytes& b) { b.U32(kThumbnailLengthValue, 21); },
         {true, 6, 4000, true, 48, 0}},
        {"thumbnail range wrapping 32 bits",
         [](ExifBytes& b) {
             b.U32(kThumbnailOffsetValue, 0xFFFFFFF0).U32(kThumbnailLengthValue, 0x20);
         },
         {true, 6, 4000, true, 48, 0}},
        {"thumbnail of length 0",
         [](ExifBytes& b) { b.U32(kThumbnailLengthValue, 0); },
         {true, 6, 4000, true, 48, 0}},
    };
    for (bool big : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (big ? " MM" : " II"));
            ExifBytes b = WellFormed(big);
            c.damage(b);
            ExifData d;
            ASSERT_EQ(ReadExif(b.bytes(), 0, b.bytes().size(), &d), c.expected.ok);
            EXPECT_EQ(d.orientation, c.expected.orientation);
            EXPECT_EQ(d.pixelWidth, c.expected.width);
            EXPECT_EQ(d.hasGps, c.expected.hasGps);
            EXPECT_EQ(d.latitude[0].numerator, c.expected.latitudeDegrees);
            EXPECT_EQ(d.thumbnailLength, c.expected.thumbnailLength);
            if (d.thumbnailLength == 0) {
                EXPECT_EQ(d.thumbnailOffset, 0u);
            }
        }
    }
}

// The segment's place in a larger buffer: bounds against the buffer, the signature, and the
// thumbnail reported relative to the buffer's start.
TEST(ExifReaderTest, SegmentPlacement) {
    const std::vector<std::uint8_t> segment = WellFormed(false).bytes();
    std::vector<std::uint8_t> buffer(10, 0xAA);
    buffer.insert(buffer.end(), segment.begin(), segment.end());
    struct Case {
        const char* name;
        std::size_t offset;
        std::size_t length;
        bool ok;
    };
    const Case cases[] = {
        {"whole", 10, segment.size(), true},
        {"longer than the buffer", 10, segment.size() + 1, false},
        {"offset past the buffer", buffer.size() + 1, 0, false},
        {"length wrapping size_t", 10, SIZE_MAX, false},
        {"length 0", 10, 0, false},
        {"length 1", 10, 1, false},
        {"signature only", 10, 6, false},
        {"signature and 7 header bytes", 10, 13, false},
        {"not at the signature", 9, segment.size(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExifData d;
        d.orientation = 99;  // a failed read must not leave stale values behind
        EXPECT_EQ(ReadExif(buffer, c.offset, c.length, &d), c.ok);
        EXPECT_EQ(d.orientation, c.ok ? 6 : 0);
        EXPECT_EQ(d.thumbnailOffset, c.ok ? 10 + 6 + kThumbnailAt : 0);
    }
}

}  // namespace
}  // namespace platform::imaging
