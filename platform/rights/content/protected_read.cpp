// Protected files read from the host: a sniff of the first bytes, a check of the container that
// reads a .dcf only as far as its headers, and the clear content.
#include "platform/rights/content/content_io.h"
#include "platform/rights/content/content_parse.h"
#include "platform/rights/content/protected_file.h"
#include "platform/rights/dcf/dcf.h"
#include "platform/rights/dcf/uintvar.h"

namespace platform::rights {
namespace {

// Enough of a .dcf to find where its headers end: version, two lengths, type, URI, two uintvars.
constexpr std::size_t kDcfFrontBytes = 3 + 255 + 255 + 2 * kMaxUintvarBytes;

ReadResult Unreadable(DWORD error) {
    return ReadResult{FileCheck::Unreadable, error, std::nullopt};
}

ReadResult NotProtected() {
    return ReadResult{FileCheck::NotProtected, 0, std::nullopt};
}

ReadResult ReadDcfHeaders(int fd, std::uint64_t size, std::vector<std::uint8_t>& bytes) {
    const auto headersEnd = DcfHeadersEnd(bytes.data(), bytes.size());
    if (!headersEnd || *headersEnd > size)
        return DamagedResult();
    DWORD error = 0;
    if (*headersEnd > bytes.size() && !ReadContentAt(fd, 0, *headersEnd, bytes, error))
        return Unreadable(error);
    const auto dcf = ParseDcfHeaders(bytes.data(), bytes.size(), size);
    if (!dcf)
        return DamagedResult();
    return ReadResult{FileCheck::Protected, 0, FromDcf(*dcf)};
}

// The whole file, when it is not too large to hold; nullopt with the read's result otherwise.
std::optional<std::vector<std::uint8_t>> ReadWhole(const OpenedContent& opened,
                                                   ReadResult& failure) {
    if (opened.size > kMaxProtectedFileSize) {
        failure = DamagedResult();
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    DWORD error = 0;
    if (!ReadContentAt(opened.fd.Get(), 0, static_cast<std::size_t>(opened.size), bytes, error)) {
        failure = Unreadable(error);
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

FileCheck SniffFile(const std::string& hostPath, DWORD& win32Error) {
    win32Error = 0;
    const OpenedContent opened = OpenContent(hostPath);
    if (!opened.fd) {
        win32Error = opened.win32Error;
        return FileCheck::Unreadable;
    }
    std::vector<std::uint8_t> front;
    if (!ReadContentAt(opened.fd.Get(), 0, kSniffBytes, front, win32Error))
        return FileCheck::Unreadable;
    return StartsLikeProtected(front.data(), front.size()) ? FileCheck::Protected
                                                           : FileCheck::NotProtected;
}

ReadResult ReadProtectedFile(const std::string& hostPath) {
    const OpenedContent opened = OpenContent(hostPath);
    if (!opened.fd)
        return Unreadable(opened.win32Error);
    std::vector<std::uint8_t> bytes;
    DWORD error = 0;
    if (!ReadContentAt(opened.fd.Get(), 0, kDcfFrontBytes, bytes, error))
        return Unreadable(error);
    if (!StartsLikeProtected(bytes.data(), bytes.size()))
        return NotProtected();
    if (opened.size > kMaxProtectedFileSize)
        return DamagedResult();
    if (StartsLikeDcf(bytes.data(), bytes.size()))
        return ReadDcfHeaders(opened.fd.Get(), opened.size, bytes);
    ReadResult failure;
    const auto whole = ReadWhole(opened, failure);
    if (!whole)
        return failure;
    return ParseContent(whole->data(), whole->size()).result;
}

std::optional<std::vector<std::uint8_t>> ReadClearContent(const std::string& hostPath,
                                                          const std::optional<ContentKey>& key) {
    const OpenedContent opened = OpenContent(hostPath);
    if (!opened.fd)
        return std::nullopt;
    ReadResult failure;
    const auto whole = ReadWhole(opened, failure);
    if (!whole)
        return std::nullopt;
    ParsedContent parsed = ParseContent(whole->data(), whole->size());
    if (parsed.result.check != FileCheck::Protected || !parsed.result.file)
        return std::nullopt;
    if (parsed.result.file->method != DeliveryMethod::SeparateDelivery)
        return std::move(parsed.media);
    if (!key)
        return std::nullopt;
    return DecryptDcfData(*key, whole->data() + parsed.dataOffset, parsed.dataLength);
}

}  // namespace platform::rights
