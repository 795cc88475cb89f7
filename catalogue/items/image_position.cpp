// The GPS position of a JPEG picture, read once from the EXIF data at the start of the file.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/items/media_extension.h"
#include "catalogue/items/media_item.h"
#include "imaging/codec/codec_exif_reader.h"
#include "imaging/codec/codec_jpeg_header.h"
#include "platform/core/debug.h"
#include "platform/core/handle.h"
#include "platform/fs/file_io.h"

namespace {

// The EXIF data sits at the start of a JPEG; reading more would only cost time.
constexpr std::uint64_t kMaxHeadBytes = 184320;

constexpr const char16_t* kJpegExtensions[] = {u".jpg", u".jpeg", u".jpe"};

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using ScopedFile = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// The first min(size + 4, 184320) bytes of the file; empty (with the reason on the debug output)
// when it cannot be opened or holds nothing.
std::vector<BYTE> ReadHead(LPCWSTR path) {
    HANDLE opened = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        NKDbgPrintfW(u"Input bitstream file open error\n");
        return {};
    }
    const ScopedFile file(opened);
    DWORD high = 0;
    SetLastError(ERROR_SUCCESS);  // a size whose low word is all ones is not an error
    const DWORD low = GetFileSize(file.get(), &high);
    const std::uint64_t size = (static_cast<std::uint64_t>(high) << 32) | low;
    if ((low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) || size == 0) {
        NKDbgPrintfW(u"Stream file is empty \n");
        return {};
    }
    std::vector<BYTE> head(static_cast<std::size_t>(std::min(size + 4, kMaxHeadBytes)));
    DWORD read = 0;
    if (!ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr) ||
        read == 0) {
        NKDbgPrintfW(u"Stream file is empty \n");
        return {};
    }
    head.resize(read);
    return head;
}

// The GPS record of the bytes; false when they are not a JPEG with EXIF data or hold no GPS.
bool ReadGps(const std::vector<BYTE>& head, CODEC_GPS_INFO* gps) {
    const auto size = static_cast<DWORD>(head.size());
    CODEC_JPEG_HEADER header{};
    CCodecExifReader reader;
    if (CodecProbeJpegHeader(head.data(), size, &header) != 0 ||
        reader.Create(head.data(), size, header.dwAppOffset, header.dwAppLength) != 0) {
        NKDbgPrintfW(u"(Codec)Decoder creation failure \n");
        return false;
    }
    return reader.GetGpsInfo(gps) == 0;
}

// A position needs something besides zero where a place is named, and every quotient defined.
bool IsUsable(const CODEC_GPS_INFO& gps) {
    const CODEC_RATIONAL* parts[] = {&gps.latitude[0],  &gps.latitude[1],  &gps.latitude[2],
                                     &gps.longitude[0], &gps.longitude[1], &gps.longitude[2],
                                     &gps.altitude};
    const bool named = gps.latitude[0].dwNumerator != 0 || gps.longitude[0].dwNumerator != 0 ||
                       gps.altitude.dwNumerator != 0;
    return named && std::all_of(std::begin(parts), std::end(parts),
                                [](const CODEC_RATIONAL* r) { return r->dwDenominator != 0; });
}

int Whole(const CODEC_RATIONAL& r) {
    return static_cast<int>(r.dwNumerator / r.dwDenominator);
}
float Fraction(const CODEC_RATIONAL& r) {
    return static_cast<float>(r.dwNumerator) / static_cast<float>(r.dwDenominator);
}

}  // namespace

int CImageItem::ReadPosition() {
    if (m_dwPositionRead)
        return m_dwHasPosition ? 1 : 0;
    m_dwPositionRead = 1;
    if (!catalogue_items::ExtensionIn(catalogue_items::LastExtension(m_szName), kJpegExtensions,
                                      true)) {
        return 0;
    }
    const std::u16string path = FullPath();
    const std::vector<BYTE> head = ReadHead(path.c_str());
    CODEC_GPS_INFO gps{};
    if (head.empty() || !ReadGps(head, &gps) || !IsUsable(gps))
        return 0;
    m_position.fAltitude = Fraction(gps.altitude);
    m_position.nLatitudeDegrees = Whole(gps.latitude[0]);
    m_position.nLatitudeMinutes = Whole(gps.latitude[1]);
    m_position.fLatitudeSeconds = Fraction(gps.latitude[2]);
    m_position.nLongitudeDegrees = Whole(gps.longitude[0]);
    m_position.nLongitudeMinutes = Whole(gps.longitude[1]);
    m_position.fLongitudeSeconds = Fraction(gps.longitude[2]);
    m_dwHasPosition = 1;
    return 1;
}
