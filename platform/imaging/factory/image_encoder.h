// The encoder objects the factory creates: IImageEncoder for JPEG, PNG and BMP, writing to a
// stream or to a file.
#pragma once

#include <string>

#include "platform/imaging/factory/codec_table.h"

namespace platform::imaging {

// An encoder writing into `stream` at its position (InitEncoder already done).
HRESULT CreateStreamEncoder(EncoderKind kind, IStream* stream, IImageEncoder** encoder);
// An encoder replacing the file at `hostPath` with a complete new one once the picture has been
// pushed into its sink; a folder that cannot be written fails here.
HRESULT CreateFileEncoder(EncoderKind kind, const std::string& hostPath, IImageEncoder** encoder);

}  // namespace platform::imaging
