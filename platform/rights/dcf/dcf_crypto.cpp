#include "platform/rights/dcf/dcf_crypto.h"

#include <openssl/evp.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/rights/dcf/uintvar.h"

namespace platform::rights {
namespace {

struct CipherContextDeleter {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextDeleter>;

// EVP lengths are ints; feeding large inputs in pieces keeps every call in range.
constexpr std::size_t kChunk = std::size_t{1} << 20;

enum class Direction { kDecrypt = 0, kEncrypt = 1 };

std::optional<std::vector<std::uint8_t>> RunAes128Cbc(Direction direction, const ContentKey& key,
                                                      const std::uint8_t* iv,
                                                      const std::uint8_t* input, std::size_t size) {
    CipherContext context(EVP_CIPHER_CTX_new());
    if (!context || EVP_CipherInit_ex(context.get(), EVP_aes_128_cbc(), nullptr, key.data(), iv,
                                      static_cast<int>(direction)) != 1)
        return std::nullopt;
    std::vector<std::uint8_t> output(size + kDcfBlockSize);
    std::size_t written = 0;
    for (std::size_t done = 0; done < size;) {
        const std::size_t piece = std::min(kChunk, size - done);
        int produced = 0;
        if (EVP_CipherUpdate(context.get(), output.data() + written, &produced, input + done,
                             static_cast<int>(piece)) != 1)
            return std::nullopt;
        written += static_cast<std::size_t>(produced);
        done += piece;
    }
    int produced = 0;
    // On decryption this is where the padding is checked.
    if (EVP_CipherFinal_ex(context.get(), output.data() + written, &produced) != 1)
        return std::nullopt;
    output.resize(written + static_cast<std::size_t>(produced));
    return output;
}

bool HeadersCanBeWritten(const DcfHeaders& headers) {
    for (const auto& [name, value] : headers) {
        if (!IsDcfHeaderName(name) || !IsDcfHeaderValue(value))
            return false;
        if (EqualsAsciiNoCase(name, "Encryption-Method") && !IsAes128CbcMethod(value))
            return false;
    }
    return true;
}

void AppendText(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

std::string HeaderBlock(const DcfHeaders& headers) {
    std::string block;
    for (const auto& [name, value] : headers) {
        block.append(name).append(": ").append(value).append("\r\n");
    }
    return block;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DecryptDcfData(const ContentKey& key,
                                                        const std::uint8_t* ivAndCiphertext,
                                                        std::size_t size) {
    if (size < 2 * kDcfBlockSize || size % kDcfBlockSize != 0)
        return std::nullopt;
    return RunAes128Cbc(Direction::kDecrypt, key, ivAndCiphertext, ivAndCiphertext + kDcfBlockSize,
                        size - kDcfBlockSize);
}

std::vector<std::uint8_t> BuildDcf(std::string_view contentType, std::string_view contentUri,
                                   const DcfHeaders& headers, const ContentKey& key,
                                   const ContentIv& iv, std::span<const std::uint8_t> plaintext) {
    if (contentType.empty() || contentType.size() > UINT8_MAX || contentUri.empty() ||
        contentUri.size() > UINT8_MAX || !HeadersCanBeWritten(headers))
        return {};
    const std::string block = HeaderBlock(headers);
    const auto ciphertext =
        RunAes128Cbc(Direction::kEncrypt, key, iv.data(), plaintext.data(), plaintext.size());
    if (!ciphertext || block.size() > UINT32_MAX || ciphertext->size() + kDcfBlockSize > UINT32_MAX)
        return {};

    std::vector<std::uint8_t> out;
    out.reserve(3 + contentType.size() + contentUri.size() + 2 * kMaxUintvarBytes + block.size() +
                kDcfBlockSize + ciphertext->size());
    out.push_back(kDcfVersion);
    out.push_back(static_cast<std::uint8_t>(contentType.size()));
    out.push_back(static_cast<std::uint8_t>(contentUri.size()));
    AppendText(out, contentType);
    AppendText(out, contentUri);
    AppendUintvar(out, static_cast<std::uint32_t>(block.size()));
    AppendUintvar(out, static_cast<std::uint32_t>(kDcfBlockSize + ciphertext->size()));
    AppendText(out, block);
    out.insert(out.end(), iv.begin(), iv.end());
    out.insert(out.end(), ciphertext->begin(), ciphertext->end());
    return out;
}

}  // namespace platform::rights
