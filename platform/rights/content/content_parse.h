// The parse behind ParseProtectedBytes and ReadClearContent: the checked file plus where its
// content is, so the clear bytes are reached without parsing twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/rights/content/protected_file.h"

namespace platform::rights {

struct ParsedContent {
    ReadResult result;
    std::vector<std::uint8_t> media;  // forward lock and combined delivery: the clear media
    std::size_t dataOffset = 0;       // separate delivery: the IV and ciphertext
    std::size_t dataLength = 0;
};

ParsedContent ParseContent(const std::uint8_t* data, std::size_t size);

// Files are told apart by this many first bytes, so that the sniff and the full read always
// agree on which files are protected.
inline constexpr std::size_t kSniffBytes = 512;

// True when the first bytes (at most kSniffBytes of them) start like a .dcf, or like either kind.
bool StartsLikeDcf(const std::uint8_t* data, std::size_t size);
bool StartsLikeProtected(const std::uint8_t* data, std::size_t size);

// The result for a file that starts like a protected file and cannot be read as one.
ReadResult DamagedResult();

// A separate-delivery file from its parsed .dcf.
ProtectedFile FromDcf(const DcfFile& dcf);

}  // namespace platform::rights
