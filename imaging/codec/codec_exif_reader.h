// The codec library's EXIF reader: created over the bytes the header probe was given and the
// segment it reported, it answers the GPS position and the picture's EXIF size and orientation.
#pragma once

#include "platform/core/types.h"
#include "platform/imaging/exif/exif_reader.h"

struct CODEC_RATIONAL {
    DWORD dwNumerator;
    DWORD dwDenominator;
};

struct CODEC_GPS_INFO {
    CODEC_RATIONAL latitude[3];  // degrees, minutes, seconds
    CODEC_RATIONAL longitude[3];
    CODEC_RATIONAL altitude;
    char cLatitudeRef;   // 'N', 'S', or 0 when absent
    char cLongitudeRef;  // 'E', 'W', or 0
    BYTE bAltitudeRef;   // 0 above sea level, 1 below
};

struct CODEC_PICTURE_INFO {
    WORD wWidth;  // EXIF pixel width and height; 0 when absent
    WORD wHeight;
    WORD wOrientation;  // EXIF orientation tag; 0 when absent
};

class CCodecExifReader {
  public:
    // 0 when the segment [dwAppOffset, dwAppOffset + dwAppLength) of the bytes holds readable
    // EXIF data, -1 otherwise (also for a JFIF or other non-EXIF segment). Nothing of the bytes is
    // kept, so they may be freed at once.
    int Create(const BYTE* pData, DWORD cbData, DWORD dwAppOffset, DWORD dwAppLength);

    // 0 and the record when the data has a GPS directory; -1 and a zeroed record otherwise.
    int GetGpsInfo(CODEC_GPS_INFO* pInfo) const;
    // 0 and the record once created, -1 and a zeroed record before.
    int GetPictureInfo(CODEC_PICTURE_INFO* pInfo) const;

  private:
    platform::imaging::ExifData m_data;
    bool m_bCreated = false;
};
