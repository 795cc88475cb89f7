// RLE8 and RLE4: pairs of (count, value) runs, or an escape (0, code): 0 ends the line, 1 ends
// the picture, 2 moves by (dx, dy), 3..255 starts that many literal pixels padded to 16 bits.
#include "platform/imaging/codec/bmp/bmp_rle.h"

#include <algorithm>
#include <cstring>

#include "platform/imaging/codec/bmp/chunk_reader.h"

namespace platform::imaging::bmp {
namespace {

constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfPicture = 1;
constexpr std::uint8_t kDelta = 2;

// The write position; rows count in stored order (from the bottom unless the picture is top-down).
class RleCanvas {
  public:
    RleCanvas(const Layout& layout, const RasterView& out)
        : out_(out), width_(layout.width), height_(layout.height), topDown_(layout.topDown) {}

    bool Done() const { return y_ >= height_; }
    void NextLine() { MoveTo(0, y_ + 1); }
    void Move(int dx, int dy) { MoveTo(x_ + dx, y_ + dy); }

    // Writes `count` pixels of the repeating pattern (a, b, a, b, ...), clipped at the row end.
    void Run(int count, std::uint8_t a, std::uint8_t b) {
        std::uint8_t* row = out_.Row(topDown_ ? y_ : height_ - 1 - y_);
        const int end = std::min(width_, x_ + count);
        if (a == b) {
            std::memset(row + x_, a, static_cast<std::size_t>(std::max(0, end - x_)));
        } else {
            for (int i = 0; x_ + i < end; ++i) {
                row[x_ + i] = (i & 1) ? b : a;
            }
        }
        x_ = std::min(width_, x_ + count);
    }

    // Writes literal pixels: bytes, or nibbles (high first) when `nibbles`.
    void Literal(const std::uint8_t* bytes, int count, bool nibbles) {
        std::uint8_t* row = out_.Row(topDown_ ? y_ : height_ - 1 - y_);
        const int end = std::min(width_, x_ + count);
        for (int i = 0; x_ + i < end; ++i) {
            row[x_ + i] = nibbles ? static_cast<std::uint8_t>((i & 1) ? bytes[i / 2] & 0x0F
                                                                      : bytes[i / 2] >> 4)
                                  : bytes[i];
        }
        x_ = std::min(width_, x_ + count);
    }

  private:
    void MoveTo(int x, int y) {
        x_ = std::min(width_, x);
        y_ = std::min(height_, y);
    }

    RasterView out_;
    int width_;
    int height_;
    bool topDown_;
    int x_ = 0;
    int y_ = 0;
};

}  // namespace

bool DecodeRle(const ByteSource& source, const Layout& layout, const RasterView& out) {
    const bool nibbles = layout.compression == Compression::Rle4;
    ChunkReader in(source, layout.pixelOffset, ChunkReader::kBlockBytes);
    RleCanvas canvas(layout, out);
    while (!canvas.Done()) {
        std::uint8_t count = 0;
        std::uint8_t code = 0;
        if (!in.Next(&count) || !in.Next(&code)) {
            return false;
        }
        if (count > 0) {
            if (nibbles) {
                canvas.Run(count, code >> 4, code & 0x0F);
            } else {
                canvas.Run(count, code, code);
            }
            continue;
        }
        if (code == kEndOfLine) {
            canvas.NextLine();
        } else if (code == kEndOfPicture) {
            return true;
        } else if (code == kDelta) {
            std::uint8_t dx = 0;
            std::uint8_t dy = 0;
            if (!in.Next(&dx) || !in.Next(&dy)) {
                return false;
            }
            canvas.Move(dx, dy);
        } else {
            const std::size_t bytes = nibbles ? (code + 1u) / 2 : code;
            const std::size_t padded = bytes + (bytes & 1);
            const std::uint8_t* literal = nullptr;
            const std::size_t got = in.Take(padded, &literal);
            // The literal's own bytes matter; the pad byte may be the last thing missing.
            if (got < bytes) {
                canvas.Literal(literal, static_cast<int>(nibbles ? got * 2 : got), nibbles);
                return false;
            }
            canvas.Literal(literal, code, nibbles);
        }
    }
    return true;
}

}  // namespace platform::imaging::bmp
