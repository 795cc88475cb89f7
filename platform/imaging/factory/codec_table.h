// The built-in codecs as the factory lists them (GetInstalledDecoders / GetInstalledEncoders)
// and the encoders it creates by class id.
#pragma once

#include <optional>

#include "platform/imaging/imaging.h"

namespace platform::imaging {

enum class EncoderKind { Jpeg, Png, Bmp };

// The built-in encoder with class id `clsid`; nullopt for any other id.
std::optional<EncoderKind> FindEncoder(REFCLSID clsid);

// One CoTaskMemAlloc block: the ImageCodecInfo array followed by its strings and signatures, so
// one CoTaskMemFree releases everything. E_INVALIDARG for null out-parameters.
HRESULT ListDecoders(UINT* count, ImageCodecInfo** codecs);
HRESULT ListEncoders(UINT* count, ImageCodecInfo** codecs);

}  // namespace platform::imaging
