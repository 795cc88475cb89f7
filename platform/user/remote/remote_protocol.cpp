#include "platform/user/remote/remote_protocol.h"

#include <algorithm>

namespace platform {
namespace {

// Little-endian field access; the caller has checked the bounds.
uint64_t Load(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

void Store(uint8_t* p, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

struct Header {
    uint16_t version;
    uint16_t kind;
    uint16_t classLength;
    uint16_t titleLength;
    uint32_t cbData;
    uint64_t token;
    uint64_t dwData;
};

Header LoadHeader(const uint8_t* p) {
    return Header{static_cast<uint16_t>(Load(p + 4, 2)),
                  static_cast<uint16_t>(Load(p + 6, 2)),
                  static_cast<uint16_t>(Load(p + 8, 2)),
                  static_cast<uint16_t>(Load(p + 10, 2)),
                  static_cast<uint32_t>(Load(p + 12, 4)),
                  Load(p + 16, 8),
                  Load(p + 24, 8)};
}

bool KnownKind(uint16_t kind) {
    return kind == static_cast<uint16_t>(RemoteKind::Probe) ||
           kind == static_cast<uint16_t>(RemoteKind::CopyData) ||
           kind == static_cast<uint16_t>(RemoteKind::Foreground);
}

std::u16string LoadName(const uint8_t* p, size_t length) {
    std::u16string name(length, u'\0');
    for (size_t i = 0; i < length; ++i)
        name[i] = static_cast<char16_t>(Load(p + 2 * i, 2));
    return name;
}

uint8_t* StoreName(uint8_t* p, const std::u16string& name) {
    for (char16_t unit : name) {
        Store(p, unit, 2);
        p += 2;
    }
    return p;
}

}  // namespace

size_t RemoteFrameLength(const uint8_t* header, size_t size) {
    if (size < kRemoteHeaderSize || Load(header, 4) != kRemoteRequestMagic)
        return 0;
    const Header h = LoadHeader(header);
    if (h.version != kRemoteProtocolVersion || !KnownKind(h.kind))
        return 0;
    if (h.classLength > kMaxRemoteNameLength || h.titleLength > kMaxRemoteNameLength)
        return 0;
    if (h.cbData > kMaxRemoteCopyData)
        return 0;
    // Only WM_COPYDATA carries a record; anything else with bytes attached is not ours.
    if (h.kind != static_cast<uint16_t>(RemoteKind::CopyData) && (h.cbData != 0 || h.dwData != 0))
        return 0;
    return kRemoteHeaderSize + 2 * (size_t{h.classLength} + h.titleLength) + h.cbData;
}

bool ParseRemoteRequest(const uint8_t* data, size_t size, RemoteRequest& out) {
    if (data == nullptr)
        return false;
    const size_t length = RemoteFrameLength(data, size);
    if (length == 0 || length != size)
        return false;
    const Header h = LoadHeader(data);
    const uint8_t* p = data + kRemoteHeaderSize;
    out.kind = static_cast<RemoteKind>(h.kind);
    out.token = h.token;
    out.dwData = h.dwData;
    out.className = LoadName(p, h.classLength);
    p += 2 * size_t{h.classLength};
    out.title = LoadName(p, h.titleLength);
    p += 2 * size_t{h.titleLength};
    out.data.assign(p, p + h.cbData);
    return true;
}

std::vector<uint8_t> EncodeRemoteRequest(const RemoteRequest& request) {
    const size_t names = 2 * (request.className.size() + request.title.size());
    std::vector<uint8_t> frame(kRemoteHeaderSize + names + request.data.size());
    uint8_t* p = frame.data();
    Store(p, kRemoteRequestMagic, 4);
    Store(p + 4, kRemoteProtocolVersion, 2);
    Store(p + 6, static_cast<uint16_t>(request.kind), 2);
    Store(p + 8, request.className.size(), 2);
    Store(p + 10, request.title.size(), 2);
    Store(p + 12, request.data.size(), 4);
    Store(p + 16, request.token, 8);
    Store(p + 24, request.dwData, 8);
    p = StoreName(p + kRemoteHeaderSize, request.className);
    p = StoreName(p, request.title);
    std::copy(request.data.begin(), request.data.end(), p);
    return frame;
}

std::array<uint8_t, kRemoteReplySize> EncodeRemoteReply(const RemoteReply& reply) {
    std::array<uint8_t, kRemoteReplySize> frame{};
    Store(frame.data(), kRemoteReplyMagic, 4);
    Store(frame.data() + 4, kRemoteProtocolVersion, 2);
    Store(frame.data() + 6, static_cast<uint16_t>(reply.status), 2);
    Store(frame.data() + 8, reply.token, 8);
    Store(frame.data() + 16, static_cast<uint64_t>(reply.result), 8);
    return frame;
}

bool ParseRemoteReply(const uint8_t* data, size_t size, RemoteReply& out) {
    if (data == nullptr || size != kRemoteReplySize)
        return false;
    if (Load(data, 4) != kRemoteReplyMagic || Load(data + 4, 2) != kRemoteProtocolVersion)
        return false;
    const uint64_t status = Load(data + 6, 2);
    if (status > static_cast<uint16_t>(RemoteStatus::NotDelivered))
        return false;
    out.status = static_cast<RemoteStatus>(status);
    out.token = Load(data + 8, 8);
    out.result = static_cast<int64_t>(Load(data + 16, 8));
    return true;
}

}  // namespace platform
