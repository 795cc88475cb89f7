#include "bench/imaging/our_encode.h"

#include <cstring>
#include <stdexcept>
#include <string_view>

#include "bench/imaging/our_factory.h"

namespace imaging_bench {
namespace {

struct TaskMemoryDeleter {
    void operator()(void* block) const { CoTaskMemFree(block); }
};

CLSID JpegEncoderClsid(IImagingFactory* factory) {
    UINT count = 0;
    ImageCodecInfo* raw = nullptr;
    CheckResult(factory->GetInstalledEncoders(&count, &raw), "GetInstalledEncoders");
    std::unique_ptr<ImageCodecInfo, TaskMemoryDeleter> codecs(raw);
    for (UINT i = 0; i < count; ++i) {
        const WCHAR* mime = codecs.get()[i].MimeType;
        if (mime && std::u16string_view(mime) == u"image/jpeg")
            return codecs.get()[i].Clsid;
    }
    throw std::runtime_error("no encoder for image/jpeg");
}

void FillBitmap(IBitmapImage* bitmap, const BgrPicture& picture) {
    BitmapData data{};
    CheckResult(bitmap->LockBits(nullptr, ImageLockModeWrite, PixelFormat24bppRGB, &data),
                "LockBits for writing");
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(
            static_cast<std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
            picture.bgr.data() + y * rowBytes, rowBytes);
    }
    CheckResult(bitmap->UnlockBits(&data), "UnlockBits");
}

}  // namespace

OurJpegEncode::OurJpegEncode(const BgrPicture& picture) : factory_(NewImagingFactory()) {
    ComPtr<IBitmapImage> bitmap;
    CheckResult(factory_->CreateNewBitmap(static_cast<UINT>(picture.width),
                                          static_cast<UINT>(picture.height), PixelFormat24bppRGB,
                                          bitmap.ReleaseAndGetAddressOf()),
                "CreateNewBitmap");
    FillBitmap(bitmap.Get(), picture);
    CheckResult(bitmap.As(&image_), "QueryInterface for IImage");
    // Room for the largest JPEG of this size: the raw pixels plus headers.
    output_.reset(GlobalAlloc(GMEM_MOVEABLE, picture.bgr.size() + (1 << 20)));
    if (!output_)
        throw std::runtime_error("GlobalAlloc failed");
}

std::size_t OurJpegEncode::Encode(LONG quality) {
    const CLSID clsid = JpegEncoderClsid(factory_.Get());
    ComPtr<IStream> stream;
    CheckResult(CreateStreamOnHGlobal(output_.get(), FALSE, stream.ReleaseAndGetAddressOf()),
                "CreateStreamOnHGlobal");
    ComPtr<IImageEncoder> encoder;
    CheckResult(factory_->CreateImageEncoderToStream(&clsid, stream.Get(),
                                                     encoder.ReleaseAndGetAddressOf()),
                "CreateImageEncoderToStream");
    EncoderParameters parameters{};
    parameters.Count = 1;
    parameters.Parameter[0] = {EncoderQuality, 1, EncoderParameterValueTypeLong, &quality};
    CheckResult(encoder->SetEncoderParameters(&parameters), "SetEncoderParameters");
    ComPtr<IImageSink> sink;
    CheckResult(encoder->GetEncodeSink(sink.ReleaseAndGetAddressOf()), "GetEncodeSink");
    CheckResult(image_->PushIntoSink(sink.Get()), "PushIntoSink");
    sink.Reset();
    CheckResult(encoder->TerminateEncoder(), "TerminateEncoder");
    LARGE_INTEGER none{};
    ULARGE_INTEGER end{};
    CheckResult(stream->Seek(none, STREAM_SEEK_CUR, &end), "Seek");
    lastSize_ = static_cast<std::size_t>(end.QuadPart);
    return lastSize_;
}

std::vector<std::uint8_t> OurJpegEncode::LastOutput() const {
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(output_.get()));
    if (!bytes)
        throw std::runtime_error("GlobalLock failed");
    std::vector<std::uint8_t> copy(bytes, bytes + lastSize_);
    GlobalUnlock(output_.get());
    return copy;
}

}  // namespace imaging_bench
