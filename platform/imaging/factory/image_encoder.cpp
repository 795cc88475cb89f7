#include "platform/imaging/factory/image_encoder.h"

#include "platform/core/com_object.h"
#include "platform/imaging/factory/encode_destination.h"
#include "platform/imaging/factory/encode_sink.h"

namespace platform::imaging {

namespace {

constexpr ULONG kMaxQuality = 100;

// The quality range the JPEG encoder lists, as one LongRange value (minimum, maximum).
struct QualityRange {
    ULONG minimum = 0;
    ULONG maximum = kMaxQuality;
};

class ImageEncoder final : public ComObject<ImageEncoder, IImageEncoder> {
  public:
    explicit ImageEncoder(EncoderKind kind) : kind_(kind) {}

    void SetDestination(std::shared_ptr<EncodeDestination> destination) {
        destination_ = std::move(destination);
    }

    HRESULT InitEncoder(IStream* stream) override {
        if (destination_)
            return E_FAIL;  // already writing somewhere; TerminateEncoder first
        return OpenStreamDestination(stream, &destination_);
    }

    // Lets go of the destination. A file whose picture was pushed is already in place; one that
    // never got a picture keeps its old contents.
    HRESULT TerminateEncoder() override {
        sink_.Reset();
        destination_.reset();
        return S_OK;
    }

    HRESULT GetEncodeSink(IImageSink** sink) override {
        if (!sink)
            return E_INVALIDARG;
        *sink = nullptr;
        if (!destination_)
            return E_FAIL;
        if (!sink_) {
            const HRESULT hr =
                CreateEncodeSink(kind_, options_, destination_, sink_.ReleaseAndGetAddressOf());
            if (FAILED(hr))
                return hr;
        }
        return sink_.CopyTo(sink);
    }

    HRESULT SetFrameDimension(const GUID*) override {
        return E_NOTIMPL;  // the built-in encoders write single pictures
    }

    HRESULT GetEncoderParameterListSize(UINT* size) override {
        if (!size)
            return E_INVALIDARG;
        *size = ListSize();
        return S_OK;
    }

    HRESULT GetEncoderParameterList(UINT size, EncoderParameters* params) override {
        if (!params || size != ListSize())
            return E_INVALIDARG;
        params->Count = 0;
        if (kind_ != EncoderKind::Jpeg)
            return S_OK;
        // The range value sits right after the one parameter, inside the caller's block.
        auto* range = reinterpret_cast<QualityRange*>(params->Parameter + 1);
        *range = QualityRange{};
        params->Count = 1;
        params->Parameter[0] =
            EncoderParameter{EncoderQuality, 1, EncoderParameterValueTypeLongRange, range};
        return S_OK;
    }

    // Only JPEG takes a parameter: EncoderQuality, one Long of 0..100. Anything else is refused
    // whole, so a bad list changes nothing.
    HRESULT SetEncoderParameters(const EncoderParameters* params) override {
        if (!params)
            return E_INVALIDARG;
        EncodeOptions next = options_;
        for (UINT i = 0; i < params->Count; ++i) {
            const EncoderParameter& param = params->Parameter[i];
            if (kind_ != EncoderKind::Jpeg || !IsEqualGUID(param.Guid, EncoderQuality) ||
                param.NumberOfValues != 1 || param.Type != EncoderParameterValueTypeLong ||
                !param.Value)
                return E_INVALIDARG;
            const ULONG quality = *static_cast<const ULONG*>(param.Value);
            if (quality > kMaxQuality)
                return E_INVALIDARG;
            next.jpegQuality = static_cast<int>(quality);
        }
        options_ = next;
        return S_OK;
    }

  private:
    UINT ListSize() const {
        if (kind_ != EncoderKind::Jpeg)
            return sizeof(EncoderParameters);
        return static_cast<UINT>(sizeof(EncoderParameters) + sizeof(QualityRange));
    }

    EncoderKind kind_;
    EncodeOptions options_;
    std::shared_ptr<EncodeDestination> destination_;
    ComPtr<IImageSink> sink_;
};

}  // namespace

HRESULT CreateStreamEncoder(EncoderKind kind, IStream* stream, IImageEncoder** encoder) {
    if (!encoder || !stream)
        return E_INVALIDARG;
    *encoder = nullptr;
    auto made = ImageEncoder::Make(kind);
    if (!made)
        return E_OUTOFMEMORY;
    if (const HRESULT hr = made->InitEncoder(stream); FAILED(hr))
        return hr;
    *encoder = made.Detach();
    return S_OK;
}

HRESULT CreateFileEncoder(EncoderKind kind, const std::string& hostPath, IImageEncoder** encoder) {
    if (!encoder)
        return E_INVALIDARG;
    *encoder = nullptr;
    std::shared_ptr<EncodeDestination> destination;
    if (const HRESULT hr = OpenFileDestination(hostPath, &destination); FAILED(hr))
        return hr;
    auto made = ImageEncoder::Make(kind);
    if (!made)
        return E_OUTOFMEMORY;
    made->SetDestination(std::move(destination));
    *encoder = made.Detach();
    return S_OK;
}

}  // namespace platform::imaging
