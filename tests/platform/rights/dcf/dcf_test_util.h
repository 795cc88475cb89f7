// Helpers shared by the protected-content tests: raw files built byte by byte, and the openssl
// command as an independent decryptor.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/rights/dcf/dcf_crypto.h"

namespace dcf_test {

inline constexpr platform::rights::ContentKey kKey = {
    0x2b, 0x7e, 0x15, 0x16, 0x28, 0xae, 0xd2, 0xa6, 0xab, 0xf7, 0x15, 0x88, 0x09, 0xcf, 0x4f, 0x3c};
inline constexpr platform::rights::ContentIv kIv = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                                    0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f};

std::vector<std::uint8_t> Bytes(std::string_view text);

// A patterned plaintext of `size` bytes.
std::vector<std::uint8_t> Pattern(std::size_t size);

// A file assembled field by field, so tests can make any field lie about its length.
struct RawDcf {
    std::uint8_t version = 1;
    std::string_view type = "image/jpeg";
    std::string_view uri = "cid:pic@example.org";
    std::string_view headerBlock = "Encryption-Method: AES128CBC\r\n";
    std::optional<std::uint32_t> headersLength;  // The block's real length when unset.
    std::optional<std::uint32_t> dataLength;     // The data's real length when unset.
    std::size_t dataBytes = 48;                  // Bytes of data actually present.
    std::vector<std::uint8_t> Build() const;
};

// Decrypts with `openssl enc -d -aes-128-cbc` on a temporary file; nullopt when it fails.
std::optional<std::vector<std::uint8_t>> OpenSslDecrypt(const platform::rights::ContentKey& key,
                                                        const platform::rights::ContentIv& iv,
                                                        std::span<const std::uint8_t> ciphertext);

}  // namespace dcf_test
