#include "imaging/codec/codec_exif_reader.h"

namespace {

CODEC_RATIONAL ToCodec(const platform::imaging::ExifRational& value) {
    return {value.numerator, value.denominator};
}

// The record holds 16-bit sizes; a wider picture saturates rather than wrapping to a small size
// that would send it down the wrong decode path.
WORD Saturate16(std::uint32_t value) {
    return value > 0xFFFF ? WORD{0xFFFF} : static_cast<WORD>(value);
}

}  // namespace

int CCodecExifReader::Create(const BYTE* pData, DWORD cbData, DWORD dwAppOffset,
                             DWORD dwAppLength) {
    m_bCreated = pData != nullptr &&
                 platform::imaging::ReadExif({pData, cbData}, dwAppOffset, dwAppLength, &m_data);
    if (!m_bCreated)
        m_data = {};
    return m_bCreated ? 0 : -1;
}

int CCodecExifReader::GetGpsInfo(CODEC_GPS_INFO* pInfo) const {
    *pInfo = CODEC_GPS_INFO{};
    if (!m_bCreated || !m_data.hasGps)
        return -1;
    for (int i = 0; i < 3; ++i) {
        pInfo->latitude[i] = ToCodec(m_data.latitude[i]);
        pInfo->longitude[i] = ToCodec(m_data.longitude[i]);
    }
    pInfo->altitude = ToCodec(m_data.altitude);
    pInfo->cLatitudeRef = m_data.latitudeRef;
    pInfo->cLongitudeRef = m_data.longitudeRef;
    pInfo->bAltitudeRef = m_data.altitudeRef;
    return 0;
}

int CCodecExifReader::GetPictureInfo(CODEC_PICTURE_INFO* pInfo) const {
    *pInfo = CODEC_PICTURE_INFO{};
    if (!m_bCreated)
        return -1;
    pInfo->wWidth = Saturate16(m_data.pixelWidth);
    pInfo->wHeight = Saturate16(m_data.pixelHeight);
    pInfo->wOrientation = m_data.orientation;
    return 0;
}
