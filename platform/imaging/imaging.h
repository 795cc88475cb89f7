// The imaging service: pictures opened from files, buffers and streams, decoded at the size
// wanted, drawn into device contexts, turned into bitmaps, changed and encoded. The interfaces
// keep the handheld's names, method order and results; objects are reference counted and die
// with their last Release.
#pragma once

#include "platform/imaging/imaging_types.h"

struct IImage;
struct IImageSink;

struct IImagingFactory : IUnknown {
    virtual HRESULT CreateImageFromStream(IStream* stream, IImage** image) = 0;
    virtual HRESULT CreateImageFromFile(const WCHAR* filename, IImage** image) = 0;
    // The caller keeps `buffer` alive until the image is released (BufferDisposalFlagNone).
    virtual HRESULT CreateImageFromBuffer(const void* buffer, UINT size,
                                          BufferDisposalFlag disposalFlag, IImage** image) = 0;
    virtual HRESULT CreateNewBitmap(UINT width, UINT height, PixelFormatID pixelFormat,
                                    struct IBitmapImage** bitmap) = 0;
    // Exactly width x height; pixel format 0 keeps the image's own. E_OUTOFMEMORY when the
    // bitmap is beyond the memory budget, so callers can retry smaller.
    virtual HRESULT CreateBitmapFromImage(IImage* image, UINT width, UINT height,
                                          PixelFormatID pixelFormat, InterpolationHint hints,
                                          struct IBitmapImage** bitmap) = 0;
    virtual HRESULT CreateBitmapFromBuffer(BitmapData* bitmapData,
                                           struct IBitmapImage** bitmap) = 0;
    virtual HRESULT CreateImageDecoder(IStream* stream, DecoderInitFlag flags,
                                       struct IImageDecoder** decoder) = 0;
    virtual HRESULT CreateImageEncoderToStream(const CLSID* clsid, IStream* stream,
                                               struct IImageEncoder** encoder) = 0;
    virtual HRESULT CreateImageEncoderToFile(const CLSID* clsid, const WCHAR* filename,
                                             struct IImageEncoder** encoder) = 0;
    // One CoTaskMemAlloc block holding the array and its strings; free it with CoTaskMemFree.
    virtual HRESULT GetInstalledDecoders(UINT* count, ImageCodecInfo** decoders) = 0;
    virtual HRESULT GetInstalledEncoders(UINT* count, ImageCodecInfo** encoders) = 0;
    virtual HRESULT InstallImageCodec(const ImageCodecInfo* codecInfo) = 0;
    virtual HRESULT UninstallImageCodec(const WCHAR* codecName, UINT flags) = 0;

  protected:
    ~IImagingFactory() = default;
};

struct IImage : IUnknown {
    virtual HRESULT GetPhysicalDimension(SIZE* size) = 0;  // in 0.01 mm
    virtual HRESULT GetImageInfo(ImageInfo* imageInfo) = 0;
    virtual HRESULT SetImageFlags(UINT flags) = 0;
    // Scales the source rectangle (whole picture when null) into dstRect. A destination whose
    // left > right and top > bottom draws the picture turned by 180 degrees.
    virtual HRESULT Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect) = 0;
    virtual HRESULT PushIntoSink(IImageSink* sink) = 0;
    // A reduced picture of exactly thumbWidth x thumbHeight (0, 0: a default size).
    virtual HRESULT GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) = 0;

  protected:
    ~IImage() = default;
};

struct IBitmapImage : IUnknown {
    virtual HRESULT GetSize(SIZE* size) = 0;
    virtual HRESULT GetPixelFormatID(PixelFormatID* pixelFormat) = 0;
    // Direct access to the pixels of `rect` (whole bitmap when null), in `pixelFormat` (0 = the
    // bitmap's own). A second lock before UnlockBits answers IMGERR_OBJECTBUSY.
    virtual HRESULT LockBits(const RECT* rect, UINT flags, PixelFormatID pixelFormat,
                             BitmapData* lockedBitmapData) = 0;
    virtual HRESULT UnlockBits(const BitmapData* lockedBitmapData) = 0;
    virtual HRESULT GetPalette(ColorPalette** palette) = 0;  // CoTaskMemFree the result
    virtual HRESULT SetPalette(const ColorPalette* palette) = 0;

  protected:
    ~IBitmapImage() = default;
};

struct IBasicBitmapOps : IUnknown {
    virtual HRESULT Clone(const RECT* rect, IBitmapImage** outBitmap, BOOL bNeedCloneProperty) = 0;
    virtual HRESULT Flip(BOOL flipX, BOOL flipY, IBitmapImage** outBitmap) = 0;
    virtual HRESULT Resize(UINT newWidth, UINT newHeight, PixelFormatID pixelFormat,
                           InterpolationHint hints, IBitmapImage** outBitmap) = 0;
    // Clockwise degrees: multiples of 90 (negative and beyond 360 too); other angles fail.
    virtual HRESULT Rotate(FLOAT angle, InterpolationHint hints, IBitmapImage** outBitmap) = 0;
    virtual HRESULT AdjustBrightness(FLOAT percent) = 0;
    virtual HRESULT AdjustContrast(FLOAT shadow, FLOAT highlight) = 0;
    virtual HRESULT AdjustGamma(FLOAT gamma) = 0;

  protected:
    ~IBasicBitmapOps() = default;
};

struct IImageSink : IUnknown {
    // The sink may change imageInfo's PixelFormat to the one it wants pixels pushed in.
    virtual HRESULT BeginSink(ImageInfo* imageInfo, RECT* subarea) = 0;
    virtual HRESULT EndSink(HRESULT statusCode) = 0;
    virtual HRESULT SetPalette(const ColorPalette* palette) = 0;
    virtual HRESULT GetPixelDataBuffer(const RECT* rect, PixelFormatID pixelFormat, BOOL lastPass,
                                       BitmapData* bitmapData) = 0;
    virtual HRESULT ReleasePixelDataBuffer(const BitmapData* bitmapData) = 0;
    virtual HRESULT PushPixelData(const RECT* rect, BitmapData* bitmapData, BOOL lastPass) = 0;
    virtual HRESULT PushRawData(const void* buffer, UINT bufferSize) = 0;
    virtual HRESULT GetPropertyBuffer(UINT totalBufferSize, PropertyItem** buffer) = 0;
    virtual HRESULT PushPropertyItems(UINT numOfItems, UINT totalBufferSize,
                                      PropertyItem* items) = 0;

  protected:
    ~IImageSink() = default;
};

struct IImageDecoder : IUnknown {
    virtual HRESULT InitDecoder(IStream* stream, DecoderInitFlag flags) = 0;
    virtual HRESULT TerminateDecoder() = 0;
    virtual HRESULT BeginDecode(IImageSink* sink, IUnknown* newPropSet) = 0;
    // E_PENDING while more passes remain; S_OK when the frame is complete.
    virtual HRESULT Decode() = 0;
    virtual HRESULT EndDecode(HRESULT statusCode) = 0;
    virtual HRESULT GetFrameDimensionsCount(UINT* count) = 0;
    virtual HRESULT GetFrameDimensionsList(GUID* dimensionIDs, UINT count) = 0;
    virtual HRESULT GetFrameCount(const GUID* dimensionID, UINT* count) = 0;
    virtual HRESULT SelectActiveFrame(const GUID* dimensionID, UINT frameIndex) = 0;
    virtual HRESULT GetImageInfo(ImageInfo* imageInfo) = 0;
    virtual HRESULT GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) = 0;
    virtual HRESULT QueryDecoderParam(GUID guid) = 0;
    virtual HRESULT SetDecoderParam(GUID guid, UINT length, BYTE* value) = 0;
    virtual HRESULT GetPropertyCount(UINT* numOfProperty) = 0;
    virtual HRESULT GetPropertyIdList(UINT numOfProperty, PROPID* list) = 0;
    virtual HRESULT GetPropertyItemSize(PROPID propId, UINT* size) = 0;
    virtual HRESULT GetPropertyItem(PROPID propId, UINT propSize, PropertyItem* buffer) = 0;
    // All items in one buffer: the PropertyItem array followed by their values.
    virtual HRESULT GetPropertySize(UINT* totalBufferSize, UINT* numProperties) = 0;
    virtual HRESULT GetAllPropertyItems(UINT totalBufferSize, UINT numProperties,
                                        PropertyItem* allItems) = 0;
    virtual HRESULT RemovePropertyItem(PROPID propId) = 0;
    virtual HRESULT SetPropertyItem(PropertyItem item) = 0;

  protected:
    ~IImageDecoder() = default;
};

struct IImageEncoder : IUnknown {
    virtual HRESULT InitEncoder(IStream* stream) = 0;
    // The picture is complete when its sink's EndSink(S_OK) returns (a file encoder renames its
    // temporary file into place there); terminating afterwards only lets go of the output.
    virtual HRESULT TerminateEncoder() = 0;
    virtual HRESULT GetEncodeSink(IImageSink** sink) = 0;
    virtual HRESULT SetFrameDimension(const GUID* dimensionID) = 0;
    virtual HRESULT GetEncoderParameterListSize(UINT* size) = 0;
    virtual HRESULT GetEncoderParameterList(UINT size, EncoderParameters* params) = 0;
    virtual HRESULT SetEncoderParameters(const EncoderParameters* params) = 0;

  protected:
    ~IImageEncoder() = default;
};

namespace platform {

// Bitmaps and decodes larger than this many bytes answer E_OUTOFMEMORY, as the handheld's
// memory did; 256 MiB unless set.
void SetImagingMemoryBudget(std::size_t bytes);
std::size_t ImagingMemoryBudget();

// A new imaging factory (CoCreateInstance of CLSID_ImagingFactory comes here).
HRESULT CreateImagingFactory(REFIID iid, void** object);

}  // namespace platform

PICTARIUM_INTERFACE_ID(IImagingFactory, IID_IImagingFactory)
PICTARIUM_INTERFACE_ID(IImage, IID_IImage)
PICTARIUM_INTERFACE_ID(IBitmapImage, IID_IBitmapImage)
PICTARIUM_INTERFACE_ID(IBasicBitmapOps, IID_IBasicBitmapOps)
PICTARIUM_INTERFACE_ID(IImageSink, IID_IImageSink)
PICTARIUM_INTERFACE_ID(IImageDecoder, IID_IImageDecoder)
PICTARIUM_INTERFACE_ID(IImageEncoder, IID_IImageEncoder)
