#include "platform/imaging/exif/jpeg_header.h"

#include <cstring>

namespace platform::imaging {
namespace {

constexpr std::uint8_t kExifSignature[] = {'E', 'x', 'i', 'f', 0, 0};

std::uint16_t BigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

// Markers that carry no length: the restart markers and TEM.
bool IsStandalone(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// SOF0..SOF15 without DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool IsFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsProgressive(std::uint8_t marker) {
    return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
}

// The frame header's payload: precision, height, width, component count, then three bytes per
// component, exactly as a decoder insists.
bool ReadFrameHeader(const std::uint8_t* payload, std::size_t length, std::uint8_t marker,
                     JpegHeaderInfo* info) {
    if (length < 6)
        return false;
    const int height = BigEndian16(payload + 1);
    const int width = BigEndian16(payload + 3);
    const int components = payload[5];
    // A zero height would be given later by a DNL marker, which decoders refuse.
    if (width == 0 || height == 0 || components == 0 ||
        length != 6 + static_cast<std::size_t>(components) * 3)
        return false;
    info->width = width;
    info->height = height;
    info->components = components;
    info->progressive = IsProgressive(marker);
    return true;
}

void NoteApplicationSegment(std::uint8_t marker, const std::uint8_t* payload, std::size_t offset,
                            std::size_t length, JpegHeaderInfo* info) {
    if (info->appLength == 0) {
        info->appMarker = marker;
        info->appOffset = offset;
        info->appLength = length;
    }
    if (marker == 0xE1 && info->exifLength == 0 && length >= sizeof(kExifSignature) &&
        std::memcmp(payload, kExifSignature, sizeof(kExifSignature)) == 0) {
        info->exifOffset = offset;
        info->exifLength = length;
    }
}

}  // namespace

bool ProbeJpegHeader(std::span<const std::uint8_t> bytes, JpegHeaderInfo* info) {
    *info = JpegHeaderInfo{};
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    std::size_t pos = 2;
    while (true) {
        if (pos >= size || data[pos] != 0xFF)
            return false;
        while (pos < size && data[pos] == 0xFF)
            ++pos;  // fill bytes
        if (pos >= size)
            return false;
        const std::uint8_t marker = data[pos++];
        if (IsStandalone(marker))
            continue;
        // SOS or EOI before a frame header, a second SOI, or a stuffed zero: no usable JPEG.
        if (marker == 0xDA || marker == 0xD9 || marker == 0xD8 || marker == 0x00)
            return false;
        if (size - pos < 2)
            return false;
        const std::size_t length = BigEndian16(data + pos);
        if (length < 2 || length > size - pos)
            return false;
        const std::size_t payloadOffset = pos + 2;
        const std::size_t payloadLength = length - 2;
        if (IsFrameHeader(marker))
            return ReadFrameHeader(data + payloadOffset, payloadLength, marker, info);
        if (marker >= 0xE0 && marker <= 0xEF)
            NoteApplicationSegment(marker, data + payloadOffset, payloadOffset, payloadLength,
                                   info);
        pos += length;
    }
}

}  // namespace platform::imaging
