// The imaging service's records, ids and result codes, with the handheld's values and layouts.
#pragma once

#include "platform/core/stream.h"
#include "platform/core/unknown.h"
#include "platform/gdi/gdi_types.h"

// ---- Pixel formats: index | bits << 8 | flags, as the handheld numbers them.
using FLOAT = float;
using PixelFormatID = INT;
using PixelFormat = PixelFormatID;

constexpr PixelFormatID PixelFormatIndexed = 0x00010000;
constexpr PixelFormatID PixelFormatGDI = 0x00020000;
constexpr PixelFormatID PixelFormatAlpha = 0x00040000;
constexpr PixelFormatID PixelFormatPAlpha = 0x00080000;
constexpr PixelFormatID PixelFormatExtended = 0x00100000;
constexpr PixelFormatID PixelFormatCanonical = 0x00200000;
constexpr PixelFormatID PixelFormatUndefined = 0;
constexpr PixelFormatID PixelFormatDontCare = 0;

constexpr PixelFormatID PixelFormat1bppIndexed = 0x00030101;
constexpr PixelFormatID PixelFormat4bppIndexed = 0x00030402;
constexpr PixelFormatID PixelFormat8bppIndexed = 0x00030803;
constexpr PixelFormatID PixelFormat16bppRGB555 = 0x00021005;
constexpr PixelFormatID PixelFormat16bppRGB565 = 0x00021006;
constexpr PixelFormatID PixelFormat16bppARGB1555 = 0x00061007;
constexpr PixelFormatID PixelFormat24bppRGB = 0x00021808;
constexpr PixelFormatID PixelFormat32bppRGB = 0x00022009;
constexpr PixelFormatID PixelFormat32bppARGB = 0x0026200A;
constexpr PixelFormatID PixelFormat32bppPARGB = 0x000E200B;

constexpr UINT GetPixelFormatSize(PixelFormatID format) {
    return (static_cast<UINT>(format) >> 8) & 0xFF;
}
constexpr bool IsIndexedPixelFormat(PixelFormatID format) {
    return (format & PixelFormatIndexed) != 0;
}
constexpr bool IsAlphaPixelFormat(PixelFormatID format) {
    return (format & PixelFormatAlpha) != 0;
}

// ---- Records.
struct ImageInfo {
    GUID RawDataFormat;
    PixelFormatID PixelFormat;
    UINT Width;
    UINT Height;
    UINT TileWidth;
    UINT TileHeight;
    double Xdpi;
    double Ydpi;
    UINT Flags;
};

constexpr UINT SinkFlagsTopDown = 0x00000010;
constexpr UINT SinkFlagsFullWidth = 0x00000040;
constexpr UINT ImageFlagsHasAlpha = 0x00000002;
constexpr UINT ImageFlagsColorSpaceRGB = 0x00000010;
constexpr UINT ImageFlagsColorSpaceGRAY = 0x00000040;
constexpr UINT ImageFlagsHasRealDPI = 0x00001000;
constexpr UINT ImageFlagsHasRealPixelSize = 0x00002000;
constexpr UINT ImageFlagsReadOnly = 0x00010000;

struct BitmapData {
    UINT Width;
    UINT Height;
    INT Stride;  // bytes from one row to the next; negative for bottom-up data
    PixelFormatID PixelFormat;
    void* Scan0;
    UINT_PTR Reserved;
};

// Lock modes, combined as flags.
constexpr UINT ImageLockModeRead = 0x0001;
constexpr UINT ImageLockModeWrite = 0x0002;
constexpr UINT ImageLockModeUserInputBuf = 0x0004;

using ARGB = DWORD;  // 0xAARRGGBB

struct ColorPalette {
    UINT Flags;
    UINT Count;
    ARGB Entries[1];  // Count entries follow
};
constexpr UINT PALFLAG_HASALPHA = 0x0001;
constexpr UINT PALFLAG_GRAYSCALE = 0x0002;

using PROPID = ULONG;
struct PropertyItem {
    PROPID id;
    ULONG length;  // bytes of value
    WORD type;
    void* value;
};

constexpr WORD PropertyTagTypeByte = 1;
constexpr WORD PropertyTagTypeASCII = 2;
constexpr WORD PropertyTagTypeShort = 3;
constexpr WORD PropertyTagTypeLong = 4;
constexpr WORD PropertyTagTypeRational = 5;
constexpr WORD PropertyTagTypeUndefined = 7;
constexpr WORD PropertyTagTypeSLONG = 9;
constexpr WORD PropertyTagTypeSRational = 10;

constexpr PROPID PropertyTagOrientation = 0x0112;
constexpr PROPID PropertyTagFrameDelay = 0x5100;
constexpr PROPID PropertyTagLoopCount = 0x5101;
constexpr PROPID PropertyTagExifPixXDim = 0xA002;
constexpr PROPID PropertyTagExifPixYDim = 0xA003;

struct EncoderParameter {
    GUID Guid;
    ULONG NumberOfValues;
    ULONG Type;
    void* Value;
};
struct EncoderParameters {
    UINT Count;
    EncoderParameter Parameter[1];  // Count parameters follow
};
constexpr ULONG EncoderParameterValueTypeByte = 1;
constexpr ULONG EncoderParameterValueTypeASCII = 2;
constexpr ULONG EncoderParameterValueTypeShort = 3;
constexpr ULONG EncoderParameterValueTypeLong = 4;
constexpr ULONG EncoderParameterValueTypeRational = 5;
constexpr ULONG EncoderParameterValueTypeLongRange = 6;
constexpr ULONG EncoderParameterValueTypeUndefined = 7;
constexpr ULONG EncoderParameterValueTypeRationalRange = 8;

struct ImageCodecInfo {
    CLSID Clsid;
    GUID FormatID;
    const WCHAR* CodecName;
    const WCHAR* DllName;
    const WCHAR* FormatDescription;
    const WCHAR* FilenameExtension;
    const WCHAR* MimeType;
    DWORD Flags;
    DWORD Version;
    DWORD SigCount;
    DWORD SigSize;
    const BYTE* SigPattern;
    const BYTE* SigMask;
};
constexpr DWORD ImageCodecFlagsEncoder = 0x00000001;
constexpr DWORD ImageCodecFlagsDecoder = 0x00000002;
constexpr DWORD ImageCodecFlagsSupportBitmap = 0x00000004;
constexpr DWORD ImageCodecFlagsBuiltin = 0x00010000;

enum InterpolationHint {
    InterpolationHintDefault = 0,
    InterpolationHintNearestNeighbor = 1,
    InterpolationHintBilinear = 2,
    InterpolationHintAveraging = 3,
    InterpolationHintBicubic = 4,
};

enum BufferDisposalFlag {
    BufferDisposalFlagNone = 0,
    BufferDisposalFlagGlobalFree = 1,
    BufferDisposalFlagCoTaskMemFree = 2,
    BufferDisposalFlagUnmapView = 3,
};

enum DecoderInitFlag {
    DecoderInitFlagNone = 0,
    DecoderInitFlagNoBlock = 0x0001,
    DecoderInitFlagBuiltIn1st = 0x0002,
};

// ---- Result codes of the imaging service.
constexpr HRESULT IMGERR_OBJECTBUSY = static_cast<HRESULT>(0x887B0001);
constexpr HRESULT IMGERR_NOPALETTE = static_cast<HRESULT>(0x887B0002);
constexpr HRESULT IMGERR_BADLOCK = static_cast<HRESULT>(0x887B0003);
constexpr HRESULT IMGERR_BADUNLOCK = static_cast<HRESULT>(0x887B0004);
constexpr HRESULT IMGERR_NOCONVERSION = static_cast<HRESULT>(0x887B0005);
constexpr HRESULT IMGERR_CODECNOTFOUND = static_cast<HRESULT>(0x887B0006);
constexpr HRESULT IMGERR_NOFRAME = static_cast<HRESULT>(0x887B0007);
constexpr HRESULT IMGERR_ABORT = static_cast<HRESULT>(0x887B0008);

// ---- Ids.
extern const CLSID CLSID_ImagingFactory;
extern const IID IID_IImagingFactory;
extern const IID IID_IImage;
extern const IID IID_IBitmapImage;
extern const IID IID_IImageDecoder;
extern const IID IID_IImageEncoder;
extern const IID IID_IImageSink;
extern const IID IID_IBasicBitmapOps;

extern const GUID ImageFormatUndefined;
extern const GUID ImageFormatMemoryBMP;
extern const GUID ImageFormatBMP;
extern const GUID ImageFormatJPEG;
extern const GUID ImageFormatPNG;
extern const GUID ImageFormatGIF;
extern const GUID ImageFormatWBMP;

extern const GUID FrameDimensionTime;
extern const GUID FrameDimensionPage;

extern const GUID EncoderQuality;

// The class ids of the built-in encoders, as GetInstalledEncoders lists them.
extern const CLSID CLSID_JpegEncoder;
extern const CLSID CLSID_PngEncoder;
extern const CLSID CLSID_BmpEncoder;
