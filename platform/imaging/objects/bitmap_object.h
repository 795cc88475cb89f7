// The bitmap object behind CreateBitmapImage and CreateNewBitmapImage. Its methods live in
// several files: the lock (bitmap_lock.cpp), the sink (bitmap_sink.cpp), the operations
// (bitmap_ops.cpp) and the image side (bitmap_image.cpp).
#pragma once

#include <mutex>
#include <set>

#include "platform/core/com_object.h"
#include "platform/imaging/imaging.h"
#include "platform/imaging/objects/property_set.h"
#include "platform/imaging/pixels/pixel_buffer.h"

namespace platform::imaging {

class BitmapObject final
    : public ComObject<BitmapObject, IBitmapImage, IImage, IImageSink, IBasicBitmapOps> {
  public:
    BitmapObject(PixelBuffer&& pixels, PropertySet properties);
    ~BitmapObject() override;  // frees property blocks handed out and never pushed back

    // IBitmapImage
    HRESULT GetSize(SIZE* size) override;
    HRESULT GetPixelFormatID(PixelFormatID* pixelFormat) override;
    HRESULT LockBits(const RECT* rect, UINT flags, PixelFormatID pixelFormat,
                     BitmapData* lockedBitmapData) override;
    HRESULT UnlockBits(const BitmapData* lockedBitmapData) override;
    HRESULT GetPalette(ColorPalette** palette) override;
    HRESULT SetPalette(const ColorPalette* palette) override;  // IImageSink's too

    // IImage
    HRESULT GetPhysicalDimension(SIZE* size) override;
    HRESULT GetImageInfo(ImageInfo* imageInfo) override;
    HRESULT SetImageFlags(UINT flags) override;
    HRESULT Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect) override;
    HRESULT PushIntoSink(IImageSink* sink) override;
    HRESULT GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) override;

    // IImageSink
    HRESULT BeginSink(ImageInfo* imageInfo, RECT* subarea) override;
    HRESULT EndSink(HRESULT statusCode) override;
    HRESULT GetPixelDataBuffer(const RECT* rect, PixelFormatID pixelFormat, BOOL lastPass,
                               BitmapData* bitmapData) override;
    HRESULT ReleasePixelDataBuffer(const BitmapData* bitmapData) override;
    HRESULT PushPixelData(const RECT* rect, BitmapData* bitmapData, BOOL lastPass) override;
    HRESULT PushRawData(const void* buffer, UINT bufferSize) override;
    HRESULT GetPropertyBuffer(UINT totalBufferSize, PropertyItem** buffer) override;
    HRESULT PushPropertyItems(UINT numOfItems, UINT totalBufferSize, PropertyItem* items) override;

    // IBasicBitmapOps
    HRESULT Clone(const RECT* rect, IBitmapImage** outBitmap, BOOL bNeedCloneProperty) override;
    HRESULT Flip(BOOL flipX, BOOL flipY, IBitmapImage** outBitmap) override;
    HRESULT Resize(UINT newWidth, UINT newHeight, PixelFormatID pixelFormat,
                   InterpolationHint hints, IBitmapImage** outBitmap) override;
    HRESULT Rotate(FLOAT angle, InterpolationHint hints, IBitmapImage** outBitmap) override;
    HRESULT AdjustBrightness(FLOAT percent) override;
    HRESULT AdjustContrast(FLOAT shadow, FLOAT highlight) override;
    HRESULT AdjustGamma(FLOAT gamma) override;

    // For the factory's encoders; valid while the bitmap lives and nobody changes it.
    const PropertySet& Properties() const { return properties_; }
    void SetResolution(double xdpi, double ydpi);

  private:
    // A LockBits in progress: the rectangle, and the converted copy when the caller asked for
    // another format or gave its own buffer.
    struct ActiveLock {
        bool active = false;
        RECT rect{0, 0, 0, 0};
        UINT flags = 0;
        PixelFormatID format = PixelFormatUndefined;
        void* scan0 = nullptr;
        INT stride = 0;
        PixelBuffer copy;
    };
    // A band handed out by GetPixelDataBuffer in a format other than the bitmap's.
    struct SinkBand {
        bool active = false;
        RECT rect{0, 0, 0, 0};
        void* scan0 = nullptr;
        PixelBuffer copy;
    };

    HRESULT WriteRows(const RECT& rect, const RasterView& from);
    HRESULT MakeBitmap(PixelBuffer&& pixels, bool withProperties, IBitmapImage** out);
    HRESULT CheckWritable() const;
    RasterView ViewOf(const RECT& rect) const;

    std::mutex mutex_;
    PixelBuffer pixels_;
    PropertySet properties_;
    UINT flags_ = 0;
    double xdpi_ = 96;
    double ydpi_ = 96;
    ActiveLock lock_;
    SinkBand band_;
    bool sinking_ = false;
    Palette sinkPalette_;              // the palette of indexed pixels pushed into the sink
    std::set<void*> propertyBuffers_;  // GetPropertyBuffer blocks not yet pushed back
};

// Our own bitmap behind an interface, or null for objects made elsewhere.
template <typename Interface>
BitmapObject* AsBitmapObject(Interface* object) {
    return dynamic_cast<BitmapObject*>(object);
}

// Rectangle checks shared by the lock, the sink and Clone: inside width x height and non-empty.
bool InsideBitmap(const RECT& rect, int width, int height);

}  // namespace platform::imaging
