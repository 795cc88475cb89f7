#include "demo/exif_writer.h"

#include <cmath>
#include <cstring>

namespace demo {

namespace {

constexpr std::uint16_t kByte = 1;
constexpr std::uint16_t kAscii = 2;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::uint16_t kRational = 5;
constexpr std::uint16_t kUndefined = 7;
// A segment's length field counts itself, so the payload may be at most this long.
constexpr std::size_t kMaxSegmentPayload = 0xFFFF - 2;

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    Bytes value;  // little-endian, as stored
};

// One directory; entries are added in ascending tag order, as TIFF requires.
class Ifd {
  public:
    void Ascii(std::uint16_t tag, const std::string& text) {
        Bytes value(text.begin(), text.end());
        value.push_back(0);
        // The count is taken before the value is moved: argument order is unspecified.
        const auto count = static_cast<std::uint32_t>(value.size());
        Add(tag, kAscii, count, std::move(value));
    }
    void Short(std::uint16_t tag, std::uint16_t number) {
        Bytes value;
        Put16(value, number);
        Add(tag, kShort, 1, std::move(value));
    }
    void Long(std::uint16_t tag, std::uint32_t number) {
        Bytes value;
        Put32(value, number);
        Add(tag, kLong, 1, std::move(value));
    }
    void Raw(std::uint16_t tag, std::uint16_t type, Bytes value) {
        const auto count = static_cast<std::uint32_t>(value.size());
        Add(tag, type, count, std::move(value));
    }
    void Rationals(std::uint16_t tag,
                   const std::vector<std::pair<std::uint32_t, std::uint32_t>>& r) {
        Bytes value;
        for (const auto& [numerator, denominator] : r) {
            Put32(value, numerator);
            Put32(value, denominator);
        }
        Add(tag, kRational, static_cast<std::uint32_t>(r.size()), std::move(value));
    }
    // Sets the value of a LONG entry once the offset it points at is known.
    void Patch(std::uint16_t tag, std::uint32_t number) {
        for (Entry& entry : entries_) {
            if (entry.tag == tag) {
                entry.value.clear();
                Put32(entry.value, number);
            }
        }
    }
    bool Empty() const { return entries_.empty(); }

    std::size_t Size() const {
        std::size_t size = 2 + entries_.size() * 12 + 4;
        for (const Entry& entry : entries_) {
            if (entry.value.size() > 4)
                size += (entry.value.size() + 1) & ~std::size_t{1};
        }
        return size;
    }

    // Writes the directory at `offset` (relative to the TIFF header, = out.size() - base).
    void Write(Bytes& out, std::size_t base, std::uint32_t next) const {
        const std::size_t offset = out.size() - base;
        std::size_t data = offset + 2 + entries_.size() * 12 + 4;
        Bytes outOfLine;
        Put16(out, static_cast<std::uint32_t>(entries_.size()));
        for (const Entry& entry : entries_) {
            Put16(out, entry.tag);
            Put16(out, entry.type);
            Put32(out, entry.count);
            if (entry.value.size() <= 4) {
                Bytes inline4 = entry.value;
                inline4.resize(4, 0);
                out.insert(out.end(), inline4.begin(), inline4.end());
            } else {
                Put32(out, static_cast<std::uint32_t>(data));
                outOfLine.insert(outOfLine.end(), entry.value.begin(), entry.value.end());
                if (entry.value.size() % 2)
                    outOfLine.push_back(0);
                data += (entry.value.size() + 1) & ~std::size_t{1};
            }
        }
        Put32(out, next);
        out.insert(out.end(), outOfLine.begin(), outOfLine.end());
    }

  private:
    void Add(std::uint16_t tag, std::uint16_t type, std::uint32_t count, Bytes value) {
        entries_.push_back({tag, type, count, std::move(value)});
    }
    std::vector<Entry> entries_;
};

// Degrees as degrees, minutes and seconds to 1/100.
std::vector<std::pair<std::uint32_t, std::uint32_t>> Dms(double degrees) {
    degrees = std::fabs(degrees);
    const auto whole = static_cast<std::uint32_t>(degrees);
    const double minutes = (degrees - whole) * 60;
    const auto wholeMinutes = static_cast<std::uint32_t>(minutes);
    const auto hundredths =
        static_cast<std::uint32_t>(std::lround((minutes - wholeMinutes) * 6000));
    return {{whole, 1}, {wholeMinutes, 1}, {hundredths, 100}};
}

Ifd GpsIfd(const GpsPosition& gps) {
    Ifd ifd;
    ifd.Raw(0x0000, kByte, {2, 3, 0, 0});
    ifd.Ascii(0x0001, gps.latitude < 0 ? "S" : "N");
    ifd.Rationals(0x0002, Dms(gps.latitude));
    ifd.Ascii(0x0003, gps.longitude < 0 ? "W" : "E");
    ifd.Rationals(0x0004, Dms(gps.longitude));
    ifd.Raw(0x0005, kByte, {static_cast<std::uint8_t>(gps.altitude < 0 ? 1 : 0)});
    ifd.Rationals(0x0006,
                  {{static_cast<std::uint32_t>(std::lround(std::fabs(gps.altitude) * 10)), 10}});
    return ifd;
}

}  // namespace

Bytes BuildExifPayload(const ExifFields& fields) {
    constexpr std::uint16_t kExifPointer = 0x8769;
    constexpr std::uint16_t kGpsPointer = 0x8825;
    Ifd ifd0;
    if (!fields.make.empty())
        ifd0.Ascii(0x010F, fields.make);
    if (!fields.model.empty())
        ifd0.Ascii(0x0110, fields.model);
    if (fields.orientation != 0)
        ifd0.Short(0x0112, fields.orientation);
    if (!fields.dateTime.empty())
        ifd0.Ascii(0x0132, fields.dateTime);
    ifd0.Long(kExifPointer, 0);
    if (fields.gps)
        ifd0.Long(kGpsPointer, 0);

    Ifd exif;
    exif.Raw(0x9000, kUndefined, {'0', '2', '3', '0'});
    if (!fields.dateTime.empty()) {
        exif.Ascii(0x9003, fields.dateTime);
        exif.Ascii(0x9004, fields.dateTime);
    }
    if (fields.pixelWidth && fields.pixelHeight) {
        exif.Long(0xA002, fields.pixelWidth);
        exif.Long(0xA003, fields.pixelHeight);
    }
    const Ifd gps = fields.gps ? GpsIfd(*fields.gps) : Ifd{};

    Ifd ifd1;
    const bool thumbnail = !fields.thumbnailJpeg.empty();
    if (thumbnail) {
        ifd1.Short(0x0103, 6);  // JPEG compressed thumbnail
        ifd1.Long(0x0201, 0);
        ifd1.Long(0x0202, static_cast<std::uint32_t>(fields.thumbnailJpeg.size()));
    }

    // Layout after the 8-byte TIFF header: IFD0, Exif IFD, GPS IFD, IFD1, thumbnail.
    const std::size_t exifOffset = 8 + ifd0.Size();
    const std::size_t gpsOffset = exifOffset + exif.Size();
    const std::size_t ifd1Offset = gpsOffset + (fields.gps ? gps.Size() : 0);
    const std::size_t thumbnailOffset = ifd1Offset + (thumbnail ? ifd1.Size() : 0);
    const std::size_t total = 6 + thumbnailOffset + fields.thumbnailJpeg.size();
    if (total > kMaxSegmentPayload)
        return {};
    ifd0.Patch(kExifPointer, static_cast<std::uint32_t>(exifOffset));
    ifd0.Patch(kGpsPointer, static_cast<std::uint32_t>(gpsOffset));
    ifd1.Patch(0x0201, static_cast<std::uint32_t>(thumbnailOffset));

    Bytes out = {'E', 'x', 'i', 'f', 0, 0};
    const std::size_t base = out.size();
    out.insert(out.end(), {'I', 'I', 42, 0});
    Put32(out, 8);
    ifd0.Write(out, base, thumbnail ? static_cast<std::uint32_t>(ifd1Offset) : 0);
    exif.Write(out, base, 0);
    if (fields.gps)
        gps.Write(out, base, 0);
    if (thumbnail) {
        ifd1.Write(out, base, 0);
        out.insert(out.end(), fields.thumbnailJpeg.begin(), fields.thumbnailJpeg.end());
    }
    return out;
}

Bytes InsertExifSegment(std::span<const std::uint8_t> jpeg, std::span<const std::uint8_t> payload) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8 ||
        payload.size() > kMaxSegmentPayload)
        return {};
    std::size_t rest = 2;
    // A JFIF APP0 straight after SOI: FF E0, length, "JFIF\0".
    if (jpeg.size() >= 11 && jpeg[2] == 0xFF && jpeg[3] == 0xE0 &&
        std::memcmp(&jpeg[6], "JFIF\0", 5) == 0) {
        const std::size_t length = (std::size_t{jpeg[4]} << 8) | jpeg[5];
        if (2 + 2 + length <= jpeg.size())
            rest = 2 + 2 + length;
    }
    Bytes out = {0xFF, 0xD8, 0xFF, 0xE1};
    const std::size_t length = payload.size() + 2;
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), payload.begin(), payload.end());
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(rest), jpeg.end());
    return out;
}

}  // namespace demo
