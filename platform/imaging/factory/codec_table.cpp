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

struct CodecEntry {
    const CLSID* clsid;
    const GUID* format;
    std::u16string_view name;
    std::u16string_view description;
    std::u16string_view extensions;
    std::u16string_view mimeType;
    std::span<const BYTE> signatures;  // sigCount patterns of equal size, back to back
    DWORD sigCount;
};

const CodecEntry kJpeg = {
    &CLSID_JpegEncoder,           &ImageFormatJPEG, u"Built-in JPEG Codec", u"JPEG",
    u"*.JPG;*.JPEG;*.JPE;*.JFIF", u"image/jpeg",    kJpegSignature,         1};
const CodecEntry kPng = {&CLSID_PngEncoder, &ImageFormatPNG, u"Built-in PNG Codec", u"PNG",
                         u"*.PNG",          u"image/png",    kPngSignature,         1};
const CodecEntry kBmp = {&CLSID_BmpEncoder,    &ImageFormatBMP, u"Built-in BMP Codec", u"BMP",
                         u"*.BMP;*.DIB;*.RLE", u"image/bmp",    kBmpSignature,         1};
const CodecEntry kGif = {&kGifCodec, &ImageFormatGIF, u"Built-in GIF Codec", u"GIF",
                         u"*.GIF",   u"image/gif",    kGifSignatures,        2};
// WBMP has no signature; the decoders try it last, after every format that has one.
const CodecEntry kWbmp = {&kWbmpCodec,
                          &ImageFormatWBMP,
                          u"Built-in WBMP Codec",
                          u"WBMP",
                          u"*.WBMP",
                          u"image/vnd.wap.wbmp",
                          {},
                          0};

const CodecEntry* const kDecoders[] = {&kJpeg, &kPng, &kGif, &kBmp, &kWbmp};
const CodecEntry* const kEncoders[] = {&kJpeg, &kPng, &kBmp};

std::size_t TextBytes(std::u16string_view text) {
    return (text.size() + 1) * sizeof(char16_t);
}

std::size_t ExtraBytes(const CodecEntry& entry) {
    return TextBytes(entry.name) + TextBytes(entry.description) + TextBytes(entry.extensions) +
           TextBytes(entry.mimeType) + 2 * entry.signatures.size();
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

HRESULT PackList(std::span<const CodecEntry* const> entries, DWORD role, UINT* count,
                 ImageCodecInfo** codecs) {
    if (!count || !codecs)
        return E_INVALIDARG;
    *count = 0;
    *codecs = nullptr;
    // Strings (2-byte units) follow the array, whose size keeps them aligned.
    std::size_t total = entries.size() * sizeof(ImageCodecInfo);
    for (const CodecEntry* entry : entries)
        total += ExtraBytes(*entry);
    auto* block = static_cast<BYTE*>(CoTaskMemAlloc(total));
    if (!block)
        return E_OUTOFMEMORY;
    auto* infos = reinterpret_cast<ImageCodecInfo*>(block);
    BlockCursor cursor(block + entries.size() * sizeof(ImageCodecInfo));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CodecEntry& entry = *entries[i];
        ImageCodecInfo& info = infos[i];
        info.Clsid = *entry.clsid;
        info.FormatID = *entry.format;
        info.CodecName = cursor.Text(entry.name);
        info.DllName = nullptr;  // built in, no library of its own
        info.FormatDescription = cursor.Text(entry.description);
        info.FilenameExtension = cursor.Text(entry.extensions);
        info.MimeType = cursor.Text(entry.mimeType);
        info.Flags = role | ImageCodecFlagsSupportBitmap | ImageCodecFlagsBuiltin;
        info.Version = 1;
        info.SigCount = entry.sigCount;
        info.SigSize = entry.sigCount == 0 ? 0 : DWORD(entry.signatures.size() / entry.sigCount);
        info.SigPattern = cursor.Bytes(entry.signatures, 0);
        info.SigMask = cursor.Bytes(entry.signatures, 0xFF);
    }
    *count = static_cast<UINT>(entries.size());
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
