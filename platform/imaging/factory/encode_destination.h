// Where an encoder's bytes go: a file, replaced only by a complete new one, or a stream.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/core/com_ptr.h"
#include "platform/imaging/codec/encoder.h"

namespace platform::imaging {

class EncodeDestination {
  public:
    using Encode = std::function<HRESULT(ByteSink&)>;
    virtual ~EncodeDestination() = default;
    // Runs `encode` into the destination, once. On any failure the destination is left as it
    // was before (a file) or holds nothing new beyond its old end (a stream).
    virtual HRESULT Write(const Encode& encode) = 0;
};

// A temporary file is made next to `hostPath` now, so a folder that cannot be written fails
// here; Write fills it, flushes it to the disk and renames it over `hostPath`. The temporary
// file is removed when the write fails or never happens. HRESULT_FROM_WIN32 of the host error.
HRESULT OpenFileDestination(const std::string& hostPath, std::shared_ptr<EncodeDestination>* out);

// The encoded bytes are collected in memory and written to `stream` at its position in one go,
// so a failed encode writes nothing.
HRESULT OpenStreamDestination(IStream* stream, std::shared_ptr<EncodeDestination>* out);

}  // namespace platform::imaging
