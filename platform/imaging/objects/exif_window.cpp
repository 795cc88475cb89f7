#include "platform/imaging/objects/exif_window.h"

#include "platform/imaging/exif/jpeg_header.h"

namespace platform::imaging {

bool ReadExifWindow(const ByteSource& source, std::vector<std::uint8_t>* head, ExifData* exif) {
    // Most cameras put the EXIF segment first; a JFIF segment before it, or a full 64 KiB EXIF
    // segment, needs the larger window. The probe reports an EXIF segment it saw whole even when
    // the frame header lies beyond the window.
    constexpr std::size_t kFirstWindow = 64 * 1024;
    constexpr std::size_t kLargestWindow = 192 * 1024;
    for (std::size_t window = kFirstWindow;; window = kLargestWindow) {
        head->resize(window);
        head->resize(source.ReadAt(0, head->data(), head->size()));
        JpegHeaderInfo header;
        const bool whole = ProbeJpegHeader(*head, &header);
        if (header.exifLength != 0)
            return ReadExif(*head, header.exifOffset, header.exifLength, exif);
        if (whole || head->size() < window || window == kLargestWindow)
            return false;
    }
}

}  // namespace platform::imaging
