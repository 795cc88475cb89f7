#include "platform/imaging/codec/jpeg/jpeg_destination.h"

namespace platform::imaging::jpeg {

SinkWriter::SinkWriter(ByteSink& sink) : sink_(&sink), block_(new JOCTET[kBlockBytes]) {
    manager_.init_destination = Init;
    manager_.empty_output_buffer = Empty;
    manager_.term_destination = Term;
}

SinkWriter* SinkWriter::Of(j_compress_ptr info) {
    return reinterpret_cast<SinkWriter*>(info->dest);
}

void SinkWriter::Reset() {
    manager_.next_output_byte = block_.get();
    manager_.free_in_buffer = kBlockBytes;
}

void SinkWriter::Init(j_compress_ptr info) {
    Of(info)->Reset();
}

// libjpeg calls this only with the whole block full, whatever free_in_buffer says.
boolean SinkWriter::Empty(j_compress_ptr info) {
    SinkWriter* writer = Of(info);
    if (!writer->sink_->Write(writer->block_.get(), kBlockBytes)) {
        writer->sinkFailed_ = true;
        ERREXIT(info, JERR_FILE_WRITE);
    }
    writer->Reset();
    return TRUE;
}

void SinkWriter::Term(j_compress_ptr info) {
    SinkWriter* writer = Of(info);
    const std::size_t used = kBlockBytes - writer->manager_.free_in_buffer;
    if (used > 0 && !writer->sink_->Write(writer->block_.get(), used)) {
        writer->sinkFailed_ = true;
        ERREXIT(info, JERR_FILE_WRITE);
    }
}

}  // namespace platform::imaging::jpeg
