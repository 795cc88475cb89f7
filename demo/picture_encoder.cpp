#include "demo/picture_encoder.h"

#include "platform/core/com_ptr.h"
#include "platform/core/global_memory.h"
#include "platform/core/stream.h"
#include "platform/imaging/imaging.h"

namespace demo {

namespace {

const CLSID& EncoderFor(EncodedFormat format) {
    switch (format) {
        case EncodedFormat::Png:
            return CLSID_PngEncoder;
        case EncodedFormat::Bmp:
            return CLSID_BmpEncoder;
        case EncodedFormat::Jpeg:
            break;
    }
    return CLSID_JpegEncoder;
}

std::string Failed(const char* step, HRESULT hr) {
    char text[80];
    std::snprintf(text, sizeof text, "%s failed (0x%08X)", step, static_cast<unsigned>(hr));
    return text;
}

// The bytes written to `stream` so far.
std::vector<std::uint8_t> StreamBytes(IStream* stream, std::string& error) {
    STATSTG stat{};
    HGLOBAL block = nullptr;
    HRESULT hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (SUCCEEDED(hr))
        hr = GetHGlobalFromStream(stream, &block);
    if (FAILED(hr)) {
        error = Failed("reading the encoded stream", hr);
        return {};
    }
    const auto* data = static_cast<const std::uint8_t*>(GlobalLock(block));
    const std::size_t size = static_cast<std::size_t>(stat.cbSize.QuadPart);
    std::vector<std::uint8_t> bytes;
    if (data && size <= GlobalSize(block))
        bytes.assign(data, data + size);
    GlobalUnlock(block);
    if (bytes.empty())
        error = "the encoder wrote nothing";
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> EncodePixels(const Pixels& pixels, EncodedFormat format, bool keepAlpha,
                                       int quality, std::string& error) {
    ComPtr<IImagingFactory> factory;
    HRESULT hr = platform::CreateImagingFactory(
        IID_IImagingFactory, reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) {
        error = Failed("the imaging factory", hr);
        return {};
    }
    BitmapData data{};
    data.Width = static_cast<UINT>(pixels.width);
    data.Height = static_cast<UINT>(pixels.height);
    data.Stride = pixels.width * 4;
    data.PixelFormat = keepAlpha ? PixelFormat32bppARGB : PixelFormat32bppRGB;
    data.Scan0 = const_cast<std::uint32_t*>(pixels.argb.data());
    ComPtr<IBitmapImage> bitmap;
    ComPtr<IImage> image;
    hr = factory->CreateBitmapFromBuffer(&data, bitmap.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr))
        hr = bitmap->QueryInterface(IID_IImage,
                                    reinterpret_cast<void**>(image.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) {
        error = Failed("making a bitmap", hr);
        return {};
    }
    ComPtr<IStream> stream;
    if (FAILED(hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.ReleaseAndGetAddressOf()))) {
        error = Failed("making a memory stream", hr);
        return {};
    }
    {
        ComPtr<IImageEncoder> encoder;
        ComPtr<IImageSink> sink;
        hr = factory->CreateImageEncoderToStream(&EncoderFor(format), stream.Get(),
                                                 encoder.ReleaseAndGetAddressOf());
        if (SUCCEEDED(hr) && format == EncodedFormat::Jpeg) {
            ULONG value = static_cast<ULONG>(quality);
            EncoderParameters params{1,
                                     {{EncoderQuality, 1, EncoderParameterValueTypeLong, &value}}};
            hr = encoder->SetEncoderParameters(&params);
        }
        if (SUCCEEDED(hr))
            hr = encoder->GetEncodeSink(sink.ReleaseAndGetAddressOf());
        if (SUCCEEDED(hr))
            hr = image->PushIntoSink(sink.Get());
        if (SUCCEEDED(hr))
            hr = encoder->TerminateEncoder();
        if (FAILED(hr)) {
            error = Failed("encoding", hr);
            return {};
        }
    }
    return StreamBytes(stream.Get(), error);
}

}  // namespace demo
