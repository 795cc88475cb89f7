// Feeds arbitrary bytes to the protected-content parser and, for what it accepts, to the
// decryption; aborts when an accepted file breaks what callers rely on.
#include <cstdint>
#include <cstdlib>

#include "platform/rights/dcf/dcf.h"
#include "platform/rights/dcf/dcf_crypto.h"
#include "platform/rights/dcf/uintvar.h"

namespace {

using namespace platform::rights;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckUintvar(const std::uint8_t* data, std::size_t size) {
    std::uint32_t value = 0;
    std::size_t consumed = 0;
    if (!DecodeUintvar(data, size, value, consumed))
        return;
    Check(consumed >= 1 && consumed <= kMaxUintvarBytes && consumed <= size);
    std::vector<std::uint8_t> encoded;
    AppendUintvar(encoded, value);
    std::uint32_t again = 0;
    std::size_t againConsumed = 0;
    Check(encoded.size() <= consumed);
    Check(DecodeUintvar(encoded.data(), encoded.size(), again, againConsumed));
    Check(again == value && againConsumed == encoded.size());
}

void CheckFile(const DcfFile& file, const std::uint8_t* data, std::size_t size) {
    Check(file.version == kDcfVersion && !file.contentType.empty() && !file.contentUri.empty());
    Check(file.dataOffset <= size && file.dataLength <= size - file.dataOffset);
    Check(file.dataLength >= 2 * kDcfBlockSize && file.dataLength % kDcfBlockSize == 0);
    static constexpr ContentKey kKey = {0x2b, 0x7e, 0x15, 0x16, 0x28, 0xae, 0xd2, 0xa6,
                                        0xab, 0xf7, 0x15, 0x88, 0x09, 0xcf, 0x4f, 0x3c};
    const auto plaintext = DecryptDcfData(kKey, data + file.dataOffset, file.dataLength);
    if (plaintext) {
        // Padding removes between 1 and 16 bytes of the ciphertext after the IV.
        const std::size_t ciphertext = file.dataLength - kDcfBlockSize;
        Check(plaintext->size() < ciphertext && plaintext->size() + kDcfBlockSize >= ciphertext);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckUintvar(data, size);
    LooksLikeDcf(data, size);
    if (const auto file = ParseDcf(data, size))
        CheckFile(*file, data, size);
    return 0;
}
