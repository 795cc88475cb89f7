#include "imaging/codec/codec_jpeg_header.h"

#include "platform/imaging/exif/jpeg_header.h"

int CodecProbeJpegHeader(const BYTE* pData, DWORD cbData, CODEC_JPEG_HEADER* pHeader) {
    *pHeader = CODEC_JPEG_HEADER{};
    if (pData == nullptr)
        return -1;
    platform::imaging::JpegHeaderInfo info;
    const bool isJpeg = platform::imaging::ProbeJpegHeader({pData, cbData}, &info);
    pHeader->nWidth = info.width;
    pHeader->nHeight = info.height;
    // Offsets fit in a DWORD because the probed bytes do.
    if (info.exifLength != 0) {
        pHeader->dwAppOffset = static_cast<DWORD>(info.exifOffset);
        pHeader->dwAppLength = static_cast<DWORD>(info.exifLength);
    } else if (isJpeg && info.appLength != 0) {
        pHeader->dwAppOffset = static_cast<DWORD>(info.appOffset);
        pHeader->dwAppLength = static_cast<DWORD>(info.appLength);
    }
    return isJpeg ? 0 : -1;
}
