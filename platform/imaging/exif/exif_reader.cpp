#include "platform/imaging/exif/exif_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/imaging/exif/ifd.h"
#include "platform/imaging/exif/tiff_block.h"

namespace platform::imaging {
namespace {

using exif_detail::Ifd;
using exif_detail::IfdEntry;
using exif_detail::TiffBlock;

constexpr std::uint8_t kExifSignature[] = {'E', 'x', 'i', 'f', 0, 0};

enum Tag : std::uint16_t {
    kTagOrientation = 0x0112,
    kTagExifIfd = 0x8769,
    kTagGpsIfd = 0x8825,
    kTagPixelWidth = 0xA002,
    kTagPixelHeight = 0xA003,
    kTagThumbnailOffset = 0x0201,
    kTagThumbnailLength = 0x0202,
    kTagGpsLatitudeRef = 1,
    kTagGpsLatitude = 2,
    kTagGpsLongitudeRef = 3,
    kTagGpsLongitude = 4,
    kTagGpsAltitudeRef = 5,
    kTagGpsAltitude = 6,
};

// The directories already read: a pointer back to one of them is a loop (or a forged
// structure) and is not followed. We read four directories at most, so this never grows.
class VisitedIfds {
  public:
    bool Enter(std::uint32_t offset) {
        if (offset == 0 || std::find(offsets_, offsets_ + count_, offset) != offsets_ + count_ ||
            count_ == kMax)
            return false;
        offsets_[count_++] = offset;
        return true;
    }

  private:
    static constexpr std::size_t kMax = 4;
    std::uint32_t offsets_[kMax] = {};
    std::size_t count_ = 0;
};

// Calls visit(entry) for every entry of the directory whose value can be read.
template <typename Visit>
void ForEachEntry(const Ifd& ifd, Visit visit) {
    IfdEntry entry;
    for (std::size_t i = 0; i < ifd.EntryCount(); ++i) {
        if (ifd.Entry(i, &entry))
            visit(entry);
    }
}

void ReadRationals(const Ifd& ifd, const IfdEntry& entry, ExifRational (&values)[3]) {
    for (std::uint32_t i = 0; i < 3; ++i) {
        if (!ifd.Rational(entry, i, &values[i]))
            values[i] = {};
    }
}

void ReadExifIfd(const TiffBlock& block, std::uint32_t offset, ExifData* data) {
    const Ifd ifd(block, offset);
    ForEachEntry(ifd, [&](const IfdEntry& entry) {
        if (entry.tag == kTagPixelWidth)
            ifd.Unsigned(entry, &data->pixelWidth);
        else if (entry.tag == kTagPixelHeight)
            ifd.Unsigned(entry, &data->pixelHeight);
    });
}

void ReadGpsIfd(const TiffBlock& block, std::uint32_t offset, ExifData* data) {
    const Ifd ifd(block, offset);
    data->hasGps = true;
    ForEachEntry(ifd, [&](const IfdEntry& entry) {
        switch (entry.tag) {
            case kTagGpsLatitudeRef: {
                const char ref = ifd.FirstChar(entry);
                data->latitudeRef = (ref == 'N' || ref == 'S') ? ref : 0;
                break;
            }
            case kTagGpsLongitudeRef: {
                const char ref = ifd.FirstChar(entry);
                data->longitudeRef = (ref == 'E' || ref == 'W') ? ref : 0;
                break;
            }
            case kTagGpsLatitude:
                ReadRationals(ifd, entry, data->latitude);
                break;
            case kTagGpsLongitude:
                ReadRationals(ifd, entry, data->longitude);
                break;
            case kTagGpsAltitudeRef:
                ifd.Byte(entry, &data->altitudeRef);
                break;
            case kTagGpsAltitude:
                ifd.Rational(entry, 0, &data->altitude);
                break;
            default:
                break;
        }
    });
}

// The thumbnail's offset counts from the TIFF header; it is kept only when it lies wholly inside
// the block, so a reader of the reported range never leaves the segment.
void ReadThumbnail(const TiffBlock& block, std::uint32_t offset, std::size_t blockStart,
                   ExifData* data) {
    const Ifd ifd(block, offset);
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    ForEachEntry(ifd, [&](const IfdEntry& entry) {
        if (entry.tag == kTagThumbnailOffset)
            ifd.Unsigned(entry, &start);
        else if (entry.tag == kTagThumbnailLength)
            ifd.Unsigned(entry, &length);
    });
    if (start == 0 || length == 0 || !block.Contains(start, length))
        return;
    data->thumbnailOffset = blockStart + start;
    data->thumbnailLength = length;
}

}  // namespace

bool ReadExif(std::span<const std::uint8_t> bytes, std::size_t segmentOffset,
              std::size_t segmentLength, ExifData* data) {
    *data = ExifData{};
    if (segmentOffset > bytes.size() || segmentLength > bytes.size() - segmentOffset ||
        segmentLength < sizeof(kExifSignature) ||
        std::memcmp(bytes.data() + segmentOffset, kExifSignature, sizeof(kExifSignature)) != 0)
        return false;
    const std::size_t blockStart = segmentOffset + sizeof(kExifSignature);
    std::uint32_t ifd0Offset = 0;
    const auto block = TiffBlock::Open(
        bytes.subspan(blockStart, segmentLength - sizeof(kExifSignature)), &ifd0Offset);
    if (!block)
        return false;

    VisitedIfds visited;
    visited.Enter(ifd0Offset);
    const Ifd ifd0(*block, ifd0Offset);
    std::uint32_t exifIfd = 0;
    std::uint32_t gpsIfd = 0;
    ForEachEntry(ifd0, [&](const IfdEntry& entry) {
        std::uint32_t orientation = 0;
        if (entry.tag == kTagOrientation && entry.type == exif_detail::kTiffShort &&
            ifd0.Unsigned(entry, &orientation))
            data->orientation = static_cast<std::uint16_t>(orientation);
        else if (entry.tag == kTagExifIfd)
            ifd0.Pointer(entry, &exifIfd);
        else if (entry.tag == kTagGpsIfd)
            ifd0.Pointer(entry, &gpsIfd);
    });
    if (visited.Enter(exifIfd))
        ReadExifIfd(*block, exifIfd, data);
    if (visited.Enter(gpsIfd) && block->Contains(gpsIfd, 2))
        ReadGpsIfd(*block, gpsIfd, data);
    if (visited.Enter(ifd0.NextIfdOffset()))
        ReadThumbnail(*block, ifd0.NextIfdOffset(), blockStart, data);
    return true;
}

}  // namespace platform::imaging
