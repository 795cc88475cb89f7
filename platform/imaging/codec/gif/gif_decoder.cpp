// The GIF decoder: every frame of an animation, composed as it is shown. Frames are always
// delivered as 32bppARGB (transparent where nothing was drawn), whatever the file's colour
// maps, so still and animated pictures take one path. The composed canvas is kept between
// calls: asking for frame k+1 after frame k draws one frame, not k+2.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/debug.h"
#include "platform/imaging/codec/decoder.h"
#include "platform/imaging/codec/gif/gif_canvas.h"

namespace platform::imaging {
namespace {

using gif_support::FrameColors;
using gif_support::GifCanvas;
using gif_support::GifControl;
using gif_support::GifFrame;
using gif_support::GifStream;

// Interlaced images arrive in four passes: rows 0, 8, 16...; 4, 12...; 2, 6...; 1, 3...
constexpr int kInterlacedStart[] = {0, 4, 2, 1};
constexpr int kInterlacedStep[] = {8, 8, 4, 2};

class GifDecoder final : public PictureDecoder {
  public:
    GifDecoder(std::shared_ptr<ByteSource> source, const PictureHeader& header,
               std::vector<GifFrame> frames, int loopCount)
        : source_(std::move(source)),
          header_(header),
          frames_(std::move(frames)),
          loopCount_(loopCount) {}

    const PictureHeader& Header() const override { return header_; }

    // A picture of one frame is a still picture: no delays, so the program does not run an
    // animation timer for it.
    std::vector<UINT> FrameDelays() const override {
        std::vector<UINT> delays;
        if (frames_.size() < 2)
            return delays;
        for (const GifFrame& frame : frames_)
            delays.push_back(frame.control.delay);
        return delays;
    }

    // The NETSCAPE2.0 loop count (0 = for ever, -1 = none given); kept for the animation path.
    int LoopCount() const { return loopCount_; }

    HRESULT Decode(const DecodeRequest& request, PixelBuffer* out) override {
        if (request.frame < 0 || request.frame >= static_cast<int>(frames_.size()))
            return E_INVALIDARG;
        if (composed_ > request.frame || composed_ < 0) {
            composed_ = -1;
            const HRESULT hr = canvas_.Reset(header_.width, header_.height);
            if (FAILED(hr))
                return hr;
        }
        while (composed_ < request.frame) {
            const HRESULT hr = ComposeNext();
            if (FAILED(hr)) {
                composed_ = -1;
                return hr;
            }
        }
        return CopyCanvas(out);
    }

  private:
    HRESULT ComposeNext() {
        const int index = composed_ + 1;
        const GifFrame& frame = frames_[index];
        const HRESULT hr = canvas_.Prepare(index > 0 ? &frames_[index - 1] : nullptr, frame);
        if (FAILED(hr))
            return hr;
        composed_ = index;
        if (!PositionStream(index)) {
            NKDbgPrintfW(u"GIF: frame %d cannot be read\n", index);
            return S_OK;
        }
        GifControl ignored;
        if (!stream_->NextImage(&ignored)) {
            stream_.reset();
            return S_OK;
        }
        ++nextImage_;
        DrawImage(frame);
        return S_OK;
    }

    // Reads the current image's rows onto the canvas. Bad or missing data ends the image
    // early (what arrived stays drawn) and drops the stream, to be reopened for the next frame.
    void DrawImage(const GifFrame& frame) {
        const GifImageDesc& image = stream_->File().Image;
        if (frame.width <= 0 || frame.height <= 0) {
            if (!stream_->SkipImageData())
                stream_.reset();
            return;
        }
        const ColorMapObject* map =
            image.ColorMap != nullptr ? image.ColorMap : stream_->File().SColorMap;
        const FrameColors colors(map, frame.control.transparent);
        line_.resize(frame.width);
        const int passes = image.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int start = image.Interlace ? kInterlacedStart[pass] : 0;
            const int step = image.Interlace ? kInterlacedStep[pass] : 1;
            for (int y = start; y < frame.height; y += step) {
                if (!stream_->ReadLine(line_.data(), frame.width)) {
                    NKDbgPrintfW(u"GIF: frame %d is cut short\n", composed_);
                    stream_.reset();
                    return;
                }
                canvas_.DrawRow(frame.top + y, frame.left, line_.data(), frame.width, colors);
            }
        }
    }

    // Opens the stream again when needed and steps over images up to `index`.
    bool PositionStream(int index) {
        if (stream_ != nullptr && nextImage_ == index)
            return true;
        stream_ = GifStream::Open(*source_);
        nextImage_ = 0;
        GifControl ignored;
        while (stream_ != nullptr && nextImage_ < index) {
            if (!stream_->NextImage(&ignored) || !stream_->SkipImageData())
                stream_.reset();
            ++nextImage_;
        }
        return stream_ != nullptr;
    }

    HRESULT CopyCanvas(PixelBuffer* out) const {
        const PixelBuffer& canvas = canvas_.Pixels();
        PixelBuffer copy;
        const HRESULT hr =
            PixelBuffer::Allocate(canvas.Width(), canvas.Height(), canvas.Format(), &copy);
        if (FAILED(hr))
            return hr;
        for (int y = 0; y < canvas.Height(); ++y)
            std::memcpy(copy.View().Row(y), canvas.View().Row(y),
                        static_cast<std::size_t>(canvas.Width()) * 4);
        *out = std::move(copy);
        return S_OK;
    }

    std::shared_ptr<ByteSource> source_;
    PictureHeader header_;
    std::vector<GifFrame> frames_;
    int loopCount_ = -1;
    GifCanvas canvas_;
    int composed_ = -1;  // the frame the canvas shows; -1 for none
    std::unique_ptr<GifStream> stream_;
    int nextImage_ = 0;  // the image the stream reads next
    std::vector<std::uint8_t> line_;
};

// The file's bytes in memory, read through the source that keeps them.
class HeldBytes final : public ByteSource {
  public:
    HeldBytes(std::shared_ptr<ByteSource> owner, std::span<const std::uint8_t> bytes)
        : owner_(std::move(owner)), bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadAt(std::uint64_t offset, void* dest, std::size_t size) const override {
        if (offset >= bytes_.size())
            return 0;
        const std::size_t count = std::min<std::uint64_t>(size, bytes_.size() - offset);
        std::memcpy(dest, bytes_.data() + offset, count);
        return count;
    }
    std::span<const std::uint8_t> Bytes() override { return bytes_; }

  private:
    std::shared_ptr<ByteSource> owner_;
    std::span<const std::uint8_t> bytes_;
};

// Every image's place and control, without decompressing any. A file cut short keeps the
// frames whose descriptor arrived.
std::vector<GifFrame> ScanFrames(GifStream& stream) {
    std::vector<GifFrame> frames;
    GifControl control;
    while (stream.NextImage(&control)) {
        const GifImageDesc& image = stream.File().Image;
        frames.push_back({image.Left, image.Top, image.Width, image.Height, control});
        if (!stream.SkipImageData())
            break;
    }
    return frames;
}

PictureHeader HeaderFor(const GifFileType& file, const std::vector<GifFrame>& frames) {
    PictureHeader header;
    header.format = RawFormat::Gif;
    header.width = file.SWidth;
    header.height = file.SHeight;
    // A screen of no size is taken as the one the frames cover.
    if (header.width <= 0 || header.height <= 0) {
        for (const GifFrame& frame : frames) {
            header.width = std::max(header.width, frame.left + frame.width);
            header.height = std::max(header.height, frame.top + frame.height);
        }
    }
    header.pixelFormat = PixelFormat8bppIndexed;
    header.flags = ImageFlagsColorSpaceRGB | ImageFlagsHasRealPixelSize;
    const GifFrame& first = frames.front();
    bool alpha = first.left > 0 || first.top > 0 || first.left + first.width < header.width ||
                 first.top + first.height < header.height;
    for (const GifFrame& frame : frames)
        alpha = alpha || frame.control.transparent != NO_TRANSPARENT_COLOR ||
                frame.control.disposal == DISPOSE_BACKGROUND;
    if (alpha)
        header.flags |= ImageFlagsHasAlpha;
    header.frameCount = static_cast<int>(frames.size());
    return header;
}

}  // namespace

bool LooksLikeGif(std::span<const std::uint8_t> head) {
    return head.size() >= 6 && (std::memcmp(head.data(), "GIF87a", 6) == 0 ||
                                std::memcmp(head.data(), "GIF89a", 6) == 0);
}

HRESULT OpenGifDecoder(std::shared_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>* out) {
    if (source == nullptr || out == nullptr)
        return E_INVALIDARG;
    std::uint8_t head[6] = {};
    if (!LooksLikeGif(std::span(head, source->ReadAt(0, head, sizeof(head)))))
        return E_FAIL;
    // giflib reads a block of at most 255 bytes at a time, and starting over reads the file
    // again: from memory when the file fits the budget, else from the file itself.
    const std::span<const std::uint8_t> bytes = source->Bytes();
    if (!bytes.empty())
        source = std::make_shared<HeldBytes>(std::move(source), bytes);
    std::unique_ptr<GifStream> stream = GifStream::Open(*source);
    if (stream == nullptr) {
        NKDbgPrintfW(u"GIF: the screen descriptor cannot be read\n");
        return E_FAIL;
    }
    std::vector<GifFrame> frames = ScanFrames(*stream);
    if (frames.empty()) {
        NKDbgPrintfW(u"GIF: no frame\n");
        return E_FAIL;
    }
    const PictureHeader header = HeaderFor(stream->File(), frames);
    if (header.width <= 0 || header.height <= 0)
        return E_FAIL;
    *out = std::make_unique<GifDecoder>(std::move(source), header, std::move(frames),
                                        stream->LoopCount());
    return S_OK;
}

}  // namespace platform::imaging
