// A libjpeg source manager reading a ByteSource a chunk at a time, so a large file is never held in
// memory just to be decoded. Past the end of the bytes it feeds an end-of-image marker, which makes
// libjpeg finish a picture cut short by filling the rest (the file is then marked truncated).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/codec/jpeg/jpeg_lib.h"

namespace platform::imaging::jpeg {

class SourceReader {
  public:
    static constexpr std::size_t kChunkBytes = 64 * 1024;

    explicit SourceReader(const ByteSource& source);
    SourceReader(const SourceReader&) = delete;
    SourceReader& operator=(const SourceReader&) = delete;

    jpeg_source_mgr* Manager() { return &manager_; }
    // True once the bytes ran out before libjpeg had finished reading.
    bool Truncated() const { return truncated_; }

  private:
    static SourceReader* Of(j_decompress_ptr info);
    static void Init(j_decompress_ptr info);
    static boolean Fill(j_decompress_ptr info);
    static void Skip(j_decompress_ptr info, long count);
    static void Term(j_decompress_ptr info);

    jpeg_source_mgr manager_{};  // first: libjpeg's pointer to it is a pointer to the reader
    const ByteSource* source_;
    std::uint64_t offset_ = 0;  // where the next chunk starts
    bool truncated_ = false;
    std::unique_ptr<JOCTET[]> chunk_;
};

}  // namespace platform::imaging::jpeg
