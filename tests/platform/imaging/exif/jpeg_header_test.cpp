// The header probe on hand-made marker sequences: what counts as a frame header, and what ends
// the walk early.
#include <gtest/gtest.h>

#include <vector>

#include "platform/imaging/exif/jpeg_header.h"

namespace platform::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;

// SOI, then the given segments.
Bytes Jpeg(std::initializer_list<Bytes> parts) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A frame header of marker `m`, 0x0102 tall and 0x0304 wide with `n` components.
Bytes Sof(std::uint8_t m, std::uint8_t n = 3) {
    Bytes out = {0xFF, m, 0, static_cast<std::uint8_t>(8 + 3 * n), 8, 0x01, 0x02, 0x03, 0x04, n};
    for (int i = 0; i < n; ++i)
        out.insert(out.end(), {static_cast<std::uint8_t>(i + 1), 0x11, 0});
    return out;
}

Bytes Segment(std::uint8_t m, const Bytes& payload) {
    const std::size_t length = payload.size() + 2;
    Bytes out = {0xFF, m, static_cast<std::uint8_t>(length >> 8),
                 static_cast<std::uint8_t>(length & 0xFF)};
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

// Without wrapping around, as a forged length could make a sum do.
bool Inside(std::size_t offset, std::size_t length, std::size_t size) {
    return length <= size && offset <= size - length;
}

const Bytes kExifPayload = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I'};
const Bytes kJfifPayload = {'J', 'F', 'I', 'F', 0};

TEST(JpegHeaderTest, MarkerSequences) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool isJpeg;
        bool progressive;
        int components = 3;
    };
    const Case cases[] = {
        {"empty", {}, false, false},
        {"soi only", Jpeg({}), false, false},
        {"no soi", Sof(0xC0), false, false},
        {"png signature", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, false, false},
        {"baseline", Jpeg({Sof(0xC0)}), true, false},
        {"extended", Jpeg({Sof(0xC1)}), true, false},
        {"progressive sof2", Jpeg({Sof(0xC2)}), true, true},
        {"lossless sof3", Jpeg({Sof(0xC3)}), true, false},
        {"progressive sof6", Jpeg({Sof(0xC6)}), true, true},
        {"arithmetic progressive sof10", Jpeg({Sof(0xCA)}), true, true},
        {"sof14", Jpeg({Sof(0xCE)}), true, true},
        {"sof15", Jpeg({Sof(0xCF)}), true, false},
        {"grey", Jpeg({Sof(0xC0, 1)}), true, false, 1},
        {"fill bytes before markers",
         Jpeg({{0xFF, 0xFF}, Segment(0xE0, kJfifPayload), {0xFF, 0xFF, 0xFF}, Sof(0xC0)}), true,
         false},
        {"restart and tem markers carry no length", Jpeg({{0xFF, 0xD0, 0xFF, 0x01}, Sof(0xC0)}),
         true, false},
        // DHT, JPG and DAC share the SOF range but are no frame headers.
        {"dht before frame", Jpeg({Segment(0xC4, {0, 1, 2}), Sof(0xC2)}), true, true},
        {"jpg and dac before frame", Jpeg({Segment(0xC8, {}), Segment(0xCC, {1}), Sof(0xC0)}), true,
         false},
        {"dht alone", Jpeg({Segment(0xC4, {0, 1, 2})}), false, false},
        {"eoi before frame", Jpeg({{0xFF, 0xD9}, Sof(0xC0)}), false, false},
        {"sos before frame", Jpeg({Segment(0xDA, {1, 2}), Sof(0xC0)}), false, false},
        {"second soi", Jpeg({{0xFF, 0xD8}, Sof(0xC0)}), false, false},
        {"stuffed zero as marker", Jpeg({{0xFF, 0x00}, Sof(0xC0)}), false, false},
        {"garbage between segments", Jpeg({Segment(0xE0, kJfifPayload), {0x12}, Sof(0xC0)}), false,
         false},
        {"segment length 0", Jpeg({{0xFF, 0xE0, 0, 0}, Sof(0xC0)}), false, false},
        {"segment length 1", Jpeg({{0xFF, 0xE0, 0, 1}, Sof(0xC0)}), false, false},
        {"segment length past the end", Jpeg({{0xFF, 0xE0, 0x40, 0x00, 1, 2}}), false, false},
        {"length cut in half", Jpeg({{0xFF, 0xE0, 0x00}}), false, false},
        {"marker cut after fill", Jpeg({{0xFF, 0xFF}}), false, false},
        {"frame header cut short",
         [] {
             Bytes b = Jpeg({Sof(0xC0)});
             b.pop_back();
             return b;
         }(),
         false, false},
        {"frame length disagrees with components",
         Jpeg({{0xFF, 0xC0, 0, 14, 8, 0, 1, 0, 1, 3, 1, 0x11, 0, 2, 0x11, 0}}), false, false},
        {"zero width", Jpeg({{0xFF, 0xC0, 0, 11, 8, 0, 1, 0, 0, 1, 1, 0x11, 0}}), false, false},
        {"zero height", Jpeg({{0xFF, 0xC0, 0, 11, 8, 0, 0, 0, 1, 1, 1, 0x11, 0}}), false, false},
        {"zero components", Jpeg({{0xFF, 0xC0, 0, 8, 8, 0, 1, 0, 1, 0}}), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JpegHeaderInfo info;
        ASSERT_EQ(ProbeJpegHeader(c.bytes, &info), c.isJpeg);
        // Whatever was found before the walk ended lies inside the bytes.
        EXPECT_TRUE(Inside(info.appOffset, info.appLength, c.bytes.size()));
        EXPECT_TRUE(Inside(info.exifOffset, info.exifLength, c.bytes.size()));
        if (!c.isJpeg)
            continue;
        EXPECT_EQ(info.progressive, c.progressive);
        EXPECT_EQ(info.height, 0x0102);
        EXPECT_EQ(info.width, 0x0304);
        EXPECT_EQ(info.components, c.components);
    }
}

TEST(JpegHeaderTest, ApplicationSegments) {
    const Bytes xmp = {'h', 't', 't', 'p', ':', '/', '/'};
    const Bytes exifLike = {'E', 'x', 'i', 'f', 0, 1};  // wrong signature
    struct Case {
        const char* name;
        Bytes bytes;
        std::uint8_t appMarker;
        std::size_t appOffset;  // payload offsets: SOI (2) + marker and length (4)
        std::size_t appLength;
        std::size_t exifOffset;
        std::size_t exifLength;
    };
    const std::size_t afterJfif = 6 + kJfifPayload.size() + 4;
    const Case cases[] = {
        {"none", Jpeg({Sof(0xC0)}), 0, 0, 0, 0, 0},
        {"jfif only", Jpeg({Segment(0xE0, kJfifPayload), Sof(0xC0)}), 0xE0, 6, kJfifPayload.size(),
         0, 0},
        {"exif only", Jpeg({Segment(0xE1, kExifPayload), Sof(0xC0)}), 0xE1, 6, kExifPayload.size(),
         6, kExifPayload.size()},
        {"jfif then exif",
         Jpeg({Segment(0xE0, kJfifPayload), Segment(0xE1, kExifPayload), Sof(0xC0)}), 0xE0, 6,
         kJfifPayload.size(), afterJfif, kExifPayload.size()},
        {"xmp app1 is no exif", Jpeg({Segment(0xE1, xmp), Segment(0xE1, kExifPayload), Sof(0xC0)}),
         0xE1, 6, xmp.size(), 6 + xmp.size() + 4, kExifPayload.size()},
        {"wrong signature", Jpeg({Segment(0xE1, exifLike), Sof(0xC0)}), 0xE1, 6, exifLike.size(), 0,
         0},
        {"exif signature in app2", Jpeg({Segment(0xE2, kExifPayload), Sof(0xC0)}), 0xE2, 6,
         kExifPayload.size(), 0, 0},
        {"empty app15", Jpeg({Segment(0xEF, {}), Sof(0xC0)}), 0xEF, 6, 0, 0, 0},
        {"first exif wins",
         Jpeg({Segment(0xE1, kExifPayload), Segment(0xE1, kExifPayload), Sof(0xC0)}), 0xE1, 6,
         kExifPayload.size(), 6, kExifPayload.size()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JpegHeaderInfo info;
        ASSERT_TRUE(ProbeJpegHeader(c.bytes, &info));
        EXPECT_EQ(info.appMarker, c.appMarker);
        EXPECT_EQ(info.appOffset, c.appOffset);
        EXPECT_EQ(info.appLength, c.appLength);
        EXPECT_EQ(info.exifOffset, c.exifOffset);
        EXPECT_EQ(info.exifLength, c.exifLength);
    }
}

// The bytes a caller read may end before the frame header: an EXIF segment that arrived whole is
// still reported, one cut short is not.
TEST(JpegHeaderTest, BytesEndingAfterTheExifSegment) {
    const Bytes full = Jpeg({Segment(0xE1, kExifPayload), Segment(0xE2, Bytes(100, 7)), Sof(0xC0)});
    const std::size_t exifEnd = 2 + 4 + kExifPayload.size();
    for (std::size_t n : {exifEnd - 1, exifEnd, exifEnd + 50}) {
        SCOPED_TRACE(n);
        JpegHeaderInfo info;
        EXPECT_FALSE(ProbeJpegHeader(Bytes(full.begin(), full.begin() + n), &info));
        EXPECT_EQ(info.exifLength, n >= exifEnd ? kExifPayload.size() : 0u);
        EXPECT_EQ(info.width, 0);
    }
}

}  // namespace
}  // namespace platform::imaging
