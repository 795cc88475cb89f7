// The cryptography of protected content: AES-128-CBC with PKCS#7 padding, the IV stored in front
// of the ciphertext.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/rights/dcf/dcf.h"

namespace platform::rights {

using ContentKey = std::array<std::uint8_t, 16>;
using ContentIv = std::array<std::uint8_t, 16>;

// Decrypts a .dcf data section (16-byte IV, then ciphertext). Nullopt when the size is not an IV
// plus a whole number of blocks, or the padding is wrong, which is how a wrong key shows.
std::optional<std::vector<std::uint8_t>> DecryptDcfData(const ContentKey& key,
                                                        const std::uint8_t* ivAndCiphertext,
                                                        std::size_t size);

// Encrypts `plaintext` and writes a complete .dcf with the headers in the order given. Empty when
// the type or URI is empty or longer than 255 bytes, a header is not one well-formed line, a header
// names another encryption method, or a length does not fit the format.
std::vector<std::uint8_t> BuildDcf(std::string_view contentType, std::string_view contentUri,
                                   const DcfHeaders& headers, const ContentKey& key,
                                   const ContentIv& iv, std::span<const std::uint8_t> plaintext);

}  // namespace platform::rights
