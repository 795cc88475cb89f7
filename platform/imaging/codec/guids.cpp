// The ids of the imaging service, with the handheld's values where it has them.
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/imaging.h"

namespace {

constexpr GUID ImagingId(DWORD first) {
    return {first, 0x072B, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
}
constexpr GUID FormatId(DWORD first) {
    return {first, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
}
constexpr GUID CodecId(DWORD first) {
    return {first, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
}

}  // namespace

const CLSID CLSID_ImagingFactory = ImagingId(0x327ABDA8);
const IID IID_IImagingFactory = ImagingId(0x327ABDA7);
const IID IID_IImage = ImagingId(0x327ABDA9);
const IID IID_IBitmapImage = ImagingId(0x327ABDAA);
const IID IID_IImageDecoder = ImagingId(0x327ABDAB);
const IID IID_IImageEncoder = ImagingId(0x327ABDAC);
const IID IID_IImageSink = ImagingId(0x327ABDAE);
const IID IID_IBasicBitmapOps = ImagingId(0x327ABDAF);

const GUID ImageFormatUndefined = FormatId(0xB96B3CA9);
const GUID ImageFormatMemoryBMP = FormatId(0xB96B3CAA);
const GUID ImageFormatBMP = FormatId(0xB96B3CAB);
const GUID ImageFormatJPEG = FormatId(0xB96B3CAE);
const GUID ImageFormatPNG = FormatId(0xB96B3CAF);
const GUID ImageFormatGIF = FormatId(0xB96B3CB0);
// The handheld had no WBMP id of its own in this family; this one is ours.
const GUID ImageFormatWBMP = FormatId(0xB96B3CC0);

const GUID FrameDimensionTime = {
    0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};
const GUID FrameDimensionPage = {
    0x7462DC86, 0x6180, 0x4C7E, {0x8E, 0x3F, 0xEE, 0x73, 0x33, 0xA7, 0xA4, 0x83}};

const GUID EncoderQuality = {
    0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};

const CLSID CLSID_BmpEncoder = CodecId(0x557CF400);
const CLSID CLSID_JpegEncoder = CodecId(0x557CF401);
const CLSID CLSID_PngEncoder = CodecId(0x557CF406);

namespace platform::imaging {

const GUID& RawFormatGuid(RawFormat format) {
    switch (format) {
        case RawFormat::Jpeg:
            return ImageFormatJPEG;
        case RawFormat::Png:
            return ImageFormatPNG;
        case RawFormat::Gif:
            return ImageFormatGIF;
        case RawFormat::Bmp:
            return ImageFormatBMP;
        case RawFormat::Wbmp:
            return ImageFormatWBMP;
    }
    return ImageFormatUndefined;
}

}  // namespace platform::imaging
