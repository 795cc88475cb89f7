#include "tools/probe/probe_picture.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imaging/codec/codec_exif_reader.h"
#include "imaging/codec/codec_jpeg_header.h"
#include "tools/probe/probe_content.h"

namespace probetool {

namespace {

// The decode manager reads EXIF data from this much of a picture at most.
constexpr DWORD kExifReadLimit = 184320;

// min(size + 4, limit), as the decode manager asks; the clear content of a protected file is
// shorter than the file, which only ends the read earlier.
DWORD ExifReadLength(const WIN32_FIND_DATAW& entry) {
    const std::uint64_t size = (std::uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow;
    return static_cast<DWORD>(std::min<std::uint64_t>(size + 4, kExifReadLimit));
}

void WriteExif(const std::vector<BYTE>& head, platform::JsonWriter& json) {
    CODEC_JPEG_HEADER header{};
    const DWORD size = static_cast<DWORD>(head.size());
    // A header too long for the bytes read still names an EXIF segment found whole.
    if (CodecProbeJpegHeader(head.data(), size, &header) != 0 && header.dwAppLength == 0) {
        json.Null();
        return;
    }
    CCodecExifReader reader;
    CODEC_PICTURE_INFO info{};
    if (reader.Create(head.data(), size, header.dwAppOffset, header.dwAppLength) != 0 ||
        reader.GetPictureInfo(&info) != 0) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("orientation");
    json.Int(info.wOrientation);
    json.Key("width");
    json.Int(info.wWidth);
    json.Key("height");
    json.Int(info.wHeight);
    json.EndObject();
}

void WriteAngle(const char* key, int degrees, int minutes, float seconds,
                platform::JsonWriter& json) {
    json.Key(key);
    json.BeginObject();
    json.Key("degrees");
    json.Int(degrees);
    json.Key("minutes");
    json.Int(minutes);
    json.Key("seconds");
    json.Double(seconds);
    json.EndObject();
}

void WritePosition(CImageItem& item, platform::JsonWriter& json) {
    if (!item.ReadPosition()) {
        json.Null();
        return;
    }
    const MediaPosition& p = item.m_position;
    json.BeginObject();
    WriteAngle("latitude", p.nLatitudeDegrees, p.nLatitudeMinutes, p.fLatitudeSeconds, json);
    WriteAngle("longitude", p.nLongitudeDegrees, p.nLongitudeMinutes, p.fLongitudeSeconds, json);
    json.Key("altitude");
    json.Double(p.fAltitude);
    json.EndObject();
}

}  // namespace

void WritePictureFields(CImageItem& item, const WIN32_FIND_DATAW& entry,
                        platform::JsonWriter& json) {
    const std::u16string path = item.FullPath();
    const bool isProtected = item.m_dwIsDrm != 0;
    json.Key("format");
    json.String(PictureFormat(path, isProtected));
    int width = 0;
    int height = 0;
    item.GetImageSize(&width, &height);
    json.Key("width");
    json.Int(width);
    json.Key("height");
    json.Int(height);
    json.Key("decodes");
    json.Bool(item.IsDecodable() != 0);
    json.Key("exif");
    WriteExif(ReadContentHead(path, isProtected, ExifReadLength(entry)), json);
    json.Key("position");
    WritePosition(item, json);
}

}  // namespace probetool
