// The property items read from a picture's bytes.
#include <vector>

#include "platform/imaging/objects/exif_window.h"
#include "platform/imaging/objects/picture_image.h"

namespace platform::imaging {

namespace {

void AddExifProperties(const ByteSource& source, PropertySet* properties) {
    std::vector<std::uint8_t> head;
    ExifData exif;
    if (!ReadExifWindow(source, &head, &exif))
        return;
    if (exif.orientation != 0)
        properties->SetShort(PropertyTagOrientation, exif.orientation);
    if (exif.pixelWidth != 0 && exif.pixelHeight != 0) {
        const UINT width = exif.pixelWidth;
        const UINT height = exif.pixelHeight;
        properties->SetLongs(PropertyTagExifPixXDim, {&width, 1});
        properties->SetLongs(PropertyTagExifPixYDim, {&height, 1});
    }
}

}  // namespace

PropertySet ReadPictureProperties(const PictureDecoder& decoder, const ByteSource& source) {
    PropertySet properties;
    const std::vector<UINT> delays = decoder.FrameDelays();
    if (!delays.empty())
        properties.SetLongs(PropertyTagFrameDelay, delays);
    if (decoder.Header().format == RawFormat::Jpeg)
        AddExifProperties(source, &properties);
    return properties;
}

}  // namespace platform::imaging
