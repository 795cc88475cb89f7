#include "platform/imaging/codec/jpeg/jpeg_source.h"

namespace platform::imaging::jpeg {
namespace {

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

}  // namespace

SourceReader::SourceReader(const ByteSource& source)
    : source_(&source), chunk_(new JOCTET[kChunkBytes]) {
    manager_.init_source = Init;
    manager_.fill_input_buffer = Fill;
    manager_.skip_input_data = Skip;
    manager_.resync_to_restart = jpeg_resync_to_restart;
    manager_.term_source = Term;
}

SourceReader* SourceReader::Of(j_decompress_ptr info) {
    return reinterpret_cast<SourceReader*>(info->src);
}

void SourceReader::Init(j_decompress_ptr) {}
void SourceReader::Term(j_decompress_ptr) {}

boolean SourceReader::Fill(j_decompress_ptr info) {
    SourceReader* reader = Of(info);
    std::size_t got = reader->source_->ReadAt(reader->offset_, reader->chunk_.get(), kChunkBytes);
    if (got == 0) {
        // The standard answer to a premature end: warn and pretend the image ends here.
        WARNMS(info, JWRN_JPEG_EOF);
        reader->truncated_ = true;
        reader->manager_.next_input_byte = kEndOfImage;
        reader->manager_.bytes_in_buffer = sizeof(kEndOfImage);
        return TRUE;
    }
    reader->offset_ += got;
    reader->manager_.next_input_byte = reader->chunk_.get();
    reader->manager_.bytes_in_buffer = got;
    return TRUE;
}

void SourceReader::Skip(j_decompress_ptr info, long count) {
    if (count <= 0)
        return;
    SourceReader* reader = Of(info);
    auto skip = static_cast<std::size_t>(count);
    if (skip <= reader->manager_.bytes_in_buffer) {
        reader->manager_.next_input_byte += skip;
        reader->manager_.bytes_in_buffer -= skip;
        return;
    }
    // Beyond the chunk in hand: move the file position and let the next fill read from there.
    reader->offset_ += skip - reader->manager_.bytes_in_buffer;
    reader->manager_.next_input_byte = nullptr;
    reader->manager_.bytes_in_buffer = 0;
}

}  // namespace platform::imaging::jpeg
