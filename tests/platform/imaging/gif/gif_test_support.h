// Shared by the GIF tests: fixtures written by ImageMagick, our composed frames as RGBA, the
// comparison the format allows, and the places of image descriptors for patching a file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/imaging/codec/decoder.h"
#include "tests/support/image_tools.h"

namespace gif_tests {

using Bytes = std::vector<std::uint8_t>;

// Opens `bytes` as a GIF; the open result.
HRESULT Open(const Bytes& bytes, std::unique_ptr<platform::imaging::PictureDecoder>* decoder);
// Decodes frame `frame`; the pixels as RGBA.
HRESULT DecodeFrame(platform::imaging::PictureDecoder& decoder, int frame,
                    testing_support::RgbaPicture* out);

// Pixels that differ: alpha anywhere, colour where `a` is not fully transparent (a transparent
// pixel's colour means nothing).
int CountDifferences(const testing_support::RgbaPicture& a, const testing_support::RgbaPicture& b);

// Offsets of each image descriptor (its 0x2C byte), found by walking the blocks.
std::vector<std::size_t> ImageDescriptors(const Bytes& gif);
// Offset of the first data sub-block of the image whose descriptor is at `descriptor`.
std::size_t ImageData(const Bytes& gif, std::size_t descriptor);
// Writes a 16-bit little-endian value.
void Put16(Bytes& bytes, std::size_t offset, int value);

}  // namespace gif_tests
