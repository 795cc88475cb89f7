// The decoder reads the whole stream when initialised, so every frame is there at once: Decode
// never answers E_PENDING, it delivers the active frame and answers S_OK. Until InitDecoder
// and after TerminateDecoder the calls that need a picture answer E_FAIL. One thread at a time
// uses a decoder, as on the handheld.
#include "platform/imaging/factory/image_decoder.h"

#include <memory>

#include "platform/core/com_object.h"
#include "platform/imaging/factory/picture_sources.h"
#include "platform/imaging/objects/picture_image.h"
#include "platform/imaging/objects/sink_push.h"

namespace platform::imaging {

namespace {

class ImageDecoder final : public ComObject<ImageDecoder, IImageDecoder> {
  public:
    HRESULT InitDecoder(IStream* stream, DecoderInitFlag) override {
        if (!stream)
            return E_INVALIDARG;
        if (decoder_)
            return E_FAIL;  // TerminateDecoder first
        std::shared_ptr<ByteSource> source;
        HRESULT hr = ReadRestOfStream(stream, &source);
        if (FAILED(hr))
            return hr;
        std::unique_ptr<PictureDecoder> decoder;
        if (FAILED(hr = OpenPictureDecoder(source, &decoder)))
            return hr;
        properties_ = ReadPictureProperties(*decoder, *source);
        stream_ = ComPtr<IStream>(stream);
        source_ = std::move(source);
        decoder_ = std::move(decoder);
        frame_ = 0;
        return S_OK;
    }

    HRESULT TerminateDecoder() override {
        sink_.Reset();
        decoder_.reset();
        source_.reset();
        stream_.Reset();
        properties_ = PropertySet{};
        return S_OK;
    }

    HRESULT BeginDecode(IImageSink* sink, IUnknown*) override {
        if (!sink)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        if (sink_)
            return IMGERR_OBJECTBUSY;  // EndDecode the previous one first
        sink_ = ComPtr<IImageSink>(sink);
        delivered_ = false;
        return S_OK;
    }

    HRESULT Decode() override {
        if (!decoder_ || !sink_)
            return E_FAIL;
        if (delivered_)
            return S_OK;
        PixelBuffer pixels;
        DecodeRequest request;
        request.frame = frame_;
        HRESULT hr = decoder_->Decode(request, &pixels);
        if (SUCCEEDED(hr))
            hr = PushPixelsIntoSink(pixels.View(), PictureImageInfo(decoder_->Header()),
                                    properties_, sink_.Get());
        delivered_ = SUCCEEDED(hr);
        return hr;
    }

    HRESULT EndDecode(HRESULT) override {
        if (!sink_)
            return E_FAIL;
        sink_.Reset();
        return S_OK;
    }

    HRESULT GetFrameDimensionsCount(UINT* count) override {
        if (!count)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        *count = 1;
        return S_OK;
    }

    HRESULT GetFrameDimensionsList(GUID* ids, UINT count) override {
        if (!ids || count != 1)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        ids[0] = Dimension();
        return S_OK;
    }

    HRESULT GetFrameCount(const GUID* dimension, UINT* count) override {
        if (!dimension || !count)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        if (!IsEqualGUID(*dimension, Dimension()))
            return E_INVALIDARG;
        *count = static_cast<UINT>(decoder_->Header().frameCount);
        return S_OK;
    }

    HRESULT SelectActiveFrame(const GUID* dimension, UINT index) override {
        if (!dimension)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        if (!IsEqualGUID(*dimension, Dimension()) ||
            index >= static_cast<UINT>(decoder_->Header().frameCount))
            return E_INVALIDARG;
        frame_ = static_cast<int>(index);
        return S_OK;
    }

    HRESULT GetImageInfo(ImageInfo* info) override {
        if (!info)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        *info = PictureImageInfo(decoder_->Header());
        return S_OK;
    }

    HRESULT GetThumbnail(UINT width, UINT height, IImage** thumbnail) override {
        if (!thumbnail)
            return E_INVALIDARG;
        *thumbnail = nullptr;
        if (!source_)
            return E_FAIL;
        ComPtr<IImage> picture;
        const HRESULT hr = CreatePictureImage(source_, picture.ReleaseAndGetAddressOf());
        return FAILED(hr) ? hr : picture->GetThumbnail(width, height, thumbnail);
    }

    // The built-in decoders take no parameters.
    HRESULT QueryDecoderParam(GUID) override { return E_NOTIMPL; }
    HRESULT SetDecoderParam(GUID, UINT, BYTE*) override { return E_NOTIMPL; }

    HRESULT GetPropertyCount(UINT* count) override {
        if (!count)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        *count = properties_.Count();
        return S_OK;
    }

    HRESULT GetPropertyIdList(UINT count, PROPID* list) override {
        if (!list)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        if (count != properties_.Count())
            return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i)
            list[i] = properties_.Items()[i].id;
        return S_OK;
    }

    HRESULT GetPropertyItemSize(PROPID id, UINT* size) override {
        if (!size)
            return E_INVALIDARG;
        return decoder_ ? properties_.ItemSize(id, size) : E_FAIL;
    }

    HRESULT GetPropertyItem(PROPID id, UINT size, PropertyItem* buffer) override {
        if (!buffer)
            return E_INVALIDARG;
        return decoder_ ? properties_.CopyItem(id, size, buffer) : E_FAIL;
    }

    HRESULT GetPropertySize(UINT* totalBufferSize, UINT* count) override {
        if (!totalBufferSize || !count)
            return E_INVALIDARG;
        if (!decoder_)
            return E_FAIL;
        *totalBufferSize = properties_.PackedSize();
        *count = properties_.Count();
        return S_OK;
    }

    HRESULT GetAllPropertyItems(UINT totalBufferSize, UINT count, PropertyItem* items) override {
        if (!items)
            return E_INVALIDARG;
        return decoder_ ? properties_.Pack(totalBufferSize, count, items) : E_FAIL;
    }

    // Changes touch this decoder's copy of the items, never the stream's bytes.
    HRESULT RemovePropertyItem(PROPID id) override {
        if (!decoder_)
            return E_FAIL;
        return properties_.Remove(id) ? S_OK : E_INVALIDARG;
    }

    HRESULT SetPropertyItem(PropertyItem item) override {
        if (!decoder_)
            return E_FAIL;
        return properties_.AddItems(1, &item);
    }

  private:
    // Animations count their frames in time; every other picture has one page.
    const GUID& Dimension() const {
        return decoder_->Header().format == RawFormat::Gif ? FrameDimensionTime
                                                           : FrameDimensionPage;
    }

    ComPtr<IStream> stream_;  // held, as the handheld's decoders hold theirs, until terminated
    std::shared_ptr<ByteSource> source_;
    std::unique_ptr<PictureDecoder> decoder_;
    PropertySet properties_;
    ComPtr<IImageSink> sink_;
    int frame_ = 0;
    bool delivered_ = false;
};

}  // namespace

HRESULT CreateImageDecoderObject(IStream* stream, DecoderInitFlag flags, IImageDecoder** decoder) {
    if (!decoder)
        return E_INVALIDARG;
    *decoder = nullptr;
    auto made = ImageDecoder::Make();
    if (!made)
        return E_OUTOFMEMORY;
    if (const HRESULT hr = made->InitDecoder(stream, flags); FAILED(hr))
        return hr;
    *decoder = made.Detach();
    return S_OK;
}

}  // namespace platform::imaging
