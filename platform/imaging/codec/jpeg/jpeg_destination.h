// A libjpeg destination manager handing the compressed bytes to a ByteSink in 64 KiB blocks. A
// sink that refuses bytes ends the compression through the error trap.
#pragma once

#include <memory>

#include "platform/imaging/codec/encoder.h"
#include "platform/imaging/codec/jpeg/jpeg_lib.h"

namespace platform::imaging::jpeg {

class SinkWriter {
  public:
    static constexpr std::size_t kBlockBytes = 64 * 1024;

    explicit SinkWriter(ByteSink& sink);
    SinkWriter(const SinkWriter&) = delete;
    SinkWriter& operator=(const SinkWriter&) = delete;

    jpeg_destination_mgr* Manager() { return &manager_; }
    bool SinkFailed() const { return sinkFailed_; }

  private:
    static SinkWriter* Of(j_compress_ptr info);
    static void Init(j_compress_ptr info);
    static boolean Empty(j_compress_ptr info);
    static void Term(j_compress_ptr info);
    void Reset();

    jpeg_destination_mgr manager_{};  // first: libjpeg's pointer to it is a pointer to the writer
    ByteSink* sink_;
    bool sinkFailed_ = false;
    std::unique_ptr<JOCTET[]> block_;
};

}  // namespace platform::imaging::jpeg
