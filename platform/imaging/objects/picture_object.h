// The picture object behind CreatePictureImage, for the other object files that decode from it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/core/com_object.h"
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/imaging.h"

namespace platform::imaging {

class PictureObject final : public ComObject<PictureObject, IImage> {
  public:
    PictureObject(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder> decoder);

    HRESULT GetPhysicalDimension(SIZE* size) override;
    HRESULT GetImageInfo(ImageInfo* imageInfo) override;
    HRESULT SetImageFlags(UINT flags) override;
    HRESULT Draw(HDC hdc, const RECT* dstRect, const RECT* srcRect) override;
    HRESULT PushIntoSink(IImageSink* sink) override;
    HRESULT GetThumbnail(UINT thumbWidth, UINT thumbHeight, IImage** thumbImage) override;

    const PictureHeader& Header() const { return decoder_->Header(); }
    // A decode for CreateBitmapFromImage; IMGERR_OBJECTBUSY while another call is inside.
    HRESULT Decode(const DecodeRequest& request, PixelBuffer* out);

  private:
    // Runs `work` holding the picture, or answers IMGERR_OBJECTBUSY when another thread does:
    // the decoder is not shared, and the handheld's callers expect this answer, not a wait.
    HRESULT Exclusive(const std::function<HRESULT()>& work);
    // A decode by a call that already holds the picture.
    HRESULT DecodeHeld(const DecodeRequest& request, PixelBuffer* out);

    std::shared_ptr<ByteSource> source_;
    std::unique_ptr<PictureDecoder> decoder_;
    std::mutex busy_;
    std::atomic<UINT> flags_;
};

// Our own picture behind an interface, or null for objects made elsewhere.
inline PictureObject* AsPictureObject(IImage* image) {
    return dynamic_cast<PictureObject*>(image);
}

namespace testing {
// Called inside every exclusive picture call while the picture is held, so a test can make a
// second call meet a busy picture without a timing race. Empty to remove.
void SetPictureHeldHook(std::function<void()> hook);
}  // namespace testing

}  // namespace platform::imaging
