#include "platform/imaging/factory/codec_table.h"

#include <cstring>
#include <span>
#include <string_view>

namespace platform::imaging {

namespace {

// The handheld uses one class id per format for its decoder and encoder; GIF and WBMP only
// decode here.
constexpr CLSID kGifCodec = {
    0x557CF402, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr CLSID kWbmpCodec = {
    0x557CF40B, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

constexpr BYTE kJpegSignature[] = {0xFF, 0xD8};
constexpr BYTE kPngSignature[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr BYTE kGifSignatures[] = {'G', 'I', 'F', '8', '7', 'a', 'G', 'I', 'F', '8', '9', 'a'};
constexpr BYTE kBmpSignature[] = {'B', 'M'};

struct CodecSpec {
    const CLSID* clsid;
    const GUID* format;
    std::u16string_view name;
    std::u16string_view description;
    std::u16string_view extensions;
    std::u16string_view mimeType;
    std::span<const BYTE> signatures;  // sigCount patterns of equal size, back to back
    DWORD sigCount;
};

const CodecSpec kJpeg = {
    &CLSID_JpegEncoder,           &ImageFormatJPEG, u"Built-in JPEG Codec", u"JPEG",
    u"*.JPG;*.JPEG;*.JPE;*.JFIF", u"image/jpeg",    kJpegSignature,         1};
const CodecSpec kPng = {&CLSID_PngEncoder, &ImageFormatPNG, u"Built-in PNG Codec", u"PNG",
                        u"*.PNG",          u"image/png",    kPngSignature,         1};
const CodecSpec kBmp = {&CLSID_BmpEncoder,    &ImageFormatBMP, u"Built-in BMP Codec", u"BMP",
                        u"*.BMP;*.DIB;*.RLE", u"image/bmp",    kBmpSignature,         1};
const CodecSpec kGif = {&kGifCodec, &ImageFormatGIF, u"Built-in GIF Codec", u"GIF",
                        u"*.GIF",   u"image/gif",    kGifSignatures,        2};
// WBMP has no signature; the decoders try it last, after every format that has one.
const CodecSpec kWbmp = {&kWbmpCodec,
                         &ImageFormatWBMP,
                         u"Built-in WBMP Codec",
                         u"WBMP",
                         u"*.WBMP",
                         u"image/vnd.wap.wbmp",
                         {},
                         0};

const CodecSpec* const kDecoders[] = {&kJpeg, &kPng, &kGif, &kBmp, &kWbmp};
const CodecSpec* const kEncoders[] = {&kJpeg, &kPng, &kBmp};

std::size_t TextBytes(std::u16string_view text) {
    return (text.size() + 1) * sizeof(char16_t);
}

std::size_t ExtraBytes(const CodecSpec& spec) {
    return TextBytes(spec.name) + TextBytes(spec.description) + TextBytes(spec.extensions) +
           TextBytes(spec.mimeType) + 2 * spec.signatures.size();
}

// Hands out consecutive pieces of the block after the array.
class BlockCursor {
  public:
    explicit BlockCursor(BYTE* at) : at_(at) {}
    const WCHAR* Text(std::u16string_view text) {
        auto* out = reinterpret_cast<WCHAR*>(at_);
        std::memcpy(out, text.data(), text.size() * sizeof(char16_t));
        out[text.size()] = u'\0';
        at_ += TextBytes(text);
        return out;
    }
    const BYTE* Bytes(std::span<const BYTE> bytes, BYTE fill) {
        BYTE* out = at_;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            out[i] = fill == 0 ? bytes[i] : fill;
        at_ += bytes.size();
        return out;
    }

  private:
    BYTE* at_;
};

HRESULT PackList(std::span<const CodecSpec* const> specs, DWORD role, UINT* count,
                 ImageCodecInfo** codecs) {
    if (!count || !codecs)
        return E_INVALIDARG;
    *count = 0;
    *codecs = nullptr;
    // Strings (2-byte units) follow the array, whose size keeps them aligned.
    std::size_t total = specs.size() * sizeof(ImageCodecInfo);
    for (const CodecSpec* spec : specs)
        total += ExtraBytes(*spec);
    auto* block = static_cast<BYTE*>(CoTaskMemAlloc(total));
    if (!block)
        return E_OUTOFMEMORY;
    auto* infos = reinterpret_cast<ImageCodecInfo*>(block);
    BlockCursor cursor(block + specs.size() * sizeof(ImageCodecInfo));
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const CodecSpec& spec = *specs[i];
        ImageCodecInfo& info = infos[i];
        info.Clsid = *spec.clsid;
        info.FormatID = *spec.format;
        info.CodecName = cursor.Text(spec.name);
        info.DllName = nullptr;  // built in, no library of its own
        info.FormatDescription = cursor.Text(spec.description);
        info.FilenameExtension = cursor.Text(spec.extensions);
        info.MimeType = cursor.Text(spec.mimeType);
        info.Flags = role | ImageCodecFlagsSupportBitmap | ImageCodecFlagsBuiltin;
        info.Version = 1;
        info.SigCount = spec.sigCount;
        info.SigSize = spec.sigCount == 0 ? 0 : DWORD(spec.signatures.size() / spec.sigCount);
        info.SigPattern = cursor.Bytes(spec.signatures, 0);
        info.SigMask = cursor.Bytes(spec.signatures, 0xFF);
    }
    *count = static_cast<UINT>(specs.size());
    *codecs = infos;
    return S_OK;
}

}  // namespace

std::optional<EncoderKind> FindEncoder(REFCLSID clsid) {
    if (IsEqualCLSID(clsid, CLSID_JpegEncoder))
        return EncoderKind::Jpeg;
    if (IsEqualCLSID(clsid, CLSID_PngEncoder))
        return EncoderKind::Png;
    if (IsEqualCLSID(clsid, CLSID_BmpEncoder))
        return EncoderKind::Bmp;
    return std::nullopt;
}

HRESULT ListDecoders(UINT* count, ImageCodecInfo** codecs) {
    return PackList(kDecoders, ImageCodecFlagsDecoder, count, codecs);
}

HRESULT ListEncoders(UINT* count, ImageCodecInfo** codecs) {
    return PackList(kEncoders, ImageCodecFlagsEncoder, count, codecs);
}

}  // namespace platform::imaging
