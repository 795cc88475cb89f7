// Protected content files (.dcf, application/vnd.oma.drm.content): a small binary header naming
// the content's type and URI, textual headers, then the encrypted data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/rights/common/ascii.h"

namespace platform::rights {

inline constexpr std::uint8_t kDcfVersion = 1;
inline constexpr std::size_t kDcfBlockSize = 16;
inline constexpr std::string_view kDcfMimeType = "application/vnd.oma.drm.content";
inline constexpr std::string_view kAes128CbcMethod = "AES128CBC";

using DcfHeaders = std::vector<std::pair<std::string, std::string>>;

struct DcfFile {
    std::uint8_t version = 0;
    std::string contentType;
    std::string contentUri;
    DcfHeaders headers;          // In file order; values without surrounding blanks.
    std::size_t dataOffset = 0;  // Where the IV starts, from the start of the file.
    std::size_t dataLength = 0;  // IV plus ciphertext.

    // The first header of that name, compared without case.
    std::optional<std::string> Header(std::string_view name) const;
};

// Parses a whole file held in memory. Nullopt when any length runs past `size`, the version is
// not 1, the type or URI is empty, a header line is malformed, the encryption method is not
// AES128CBC, or the data is not an IV plus a whole number (at least one) of blocks. Bytes after
// the data are ignored.
std::optional<DcfFile> ParseDcf(const std::uint8_t* data, std::size_t size);

// Where the textual headers end (the data's offset), read from the first bytes alone: at most
// 3 + 255 + 255 + 2 * kMaxUintvarBytes of them are needed. Nullopt when those bytes are not the
// start of a .dcf or end too soon.
std::optional<std::size_t> DcfHeadersEnd(const std::uint8_t* data, std::size_t size);

// Parses a .dcf from its first bytes (at least up to DcfHeadersEnd) and the size of the whole
// file, so that large content need not be read to check its container: the same checks as
// ParseDcf, the data's length checked against `fileSize` instead of the bytes held.
std::optional<DcfFile> ParseDcfHeaders(const std::uint8_t* data, std::size_t size,
                                       std::uint64_t fileSize);

// A cheap sniff of the first bytes: version 1 and a plausible type and URI. Says nothing about
// whether the rest of the file is sound.
bool LooksLikeDcf(const std::uint8_t* data, std::size_t size);

// True for a header name the format allows: printable ASCII without blanks or colons.
bool IsDcfHeaderName(std::string_view name);

// True for a header value that fits on one line: no CR, LF or NUL.
bool IsDcfHeaderValue(std::string_view value);

// True when an Encryption-Method value names AES128CBC; parameters after ';' (padding, plaintext
// length) do not change the method.
bool IsAes128CbcMethod(std::string_view headerValue);

}  // namespace platform::rights
