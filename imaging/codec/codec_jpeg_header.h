// The codec library's JPEG header probe, as the media item and the decode manager call it before
// reading EXIF data.
#pragma once

#include "platform/core/types.h"

struct CODEC_JPEG_HEADER {
    int nWidth;  // the frame header's
    int nHeight;
    // The application segment the EXIF reader wants, as an offset into the probed bytes and a
    // length (its payload, after the two length bytes): the first APP1 "Exif" segment, else the
    // first application segment of any kind; 0, 0 when there is none.
    DWORD dwAppOffset;
    DWORD dwAppLength;
};

// 0 for a JPEG whose frame header lies inside the `cbData` bytes, -1 otherwise. The header is
// always filled; after -1 the segment fields still describe an EXIF segment found whole before
// the bytes ended, so the orientation of a file with a long header can still be read.
int CodecProbeJpegHeader(const BYTE* pData, DWORD cbData, CODEC_JPEG_HEADER* pHeader);
