// The frames that carry cross-process requests over a window's socket. Everything a peer sends is
// untrusted: ParseRemoteRequest checks every length against a fixed bound and against the bytes
// that actually arrived before anything is copied, and it is the one entry point a fuzzer needs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// All integers are little-endian. A request is a fixed header, then the class name and the title
// (UTF-16LE code units), then cbData bytes:
//   magic u32, version u16, kind u16, class length u16, title length u16, cbData u32,
//   window token u64, dwData u64.
constexpr uint32_t kRemoteRequestMagic = 0x51525850;  // "PXRQ"
constexpr uint32_t kRemoteReplyMagic = 0x50525850;    // "PXRP"
constexpr uint16_t kRemoteProtocolVersion = 1;
constexpr size_t kRemoteHeaderSize = 32;
constexpr size_t kRemoteReplySize = 24;
// Larger records are refused before their bytes are read, so a peer cannot make us allocate more.
constexpr uint32_t kMaxRemoteCopyData = 64 * 1024;
constexpr size_t kMaxRemoteNameLength = 256;  // UTF-16 code units, for class and title alike
constexpr size_t kMaxRemoteFrameSize =
    kRemoteHeaderSize + 4 * kMaxRemoteNameLength + kMaxRemoteCopyData;

enum class RemoteKind : uint16_t {
    Probe = 1,       // "is this the window with that class and title?"; empty names match any
    CopyData = 2,    // WM_COPYDATA
    Foreground = 3,  // SetForegroundWindow
};

struct RemoteRequest {
    RemoteKind kind = RemoteKind::Probe;
    // Identifies one publication of a window, so that a handle found earlier cannot reach a
    // different window published later under the same name. Probes carry 0.
    uint64_t token = 0;
    uint64_t dwData = 0;
    std::u16string className;
    std::u16string title;
    std::vector<uint8_t> data;
};

enum class RemoteStatus : uint16_t {
    Ok = 0,
    NoWindow = 1,      // not (or no longer) the window asked for
    NotDelivered = 2,  // the receiver's UI thread did not take the request in time
};

// magic u32, version u16, status u16, token u64, result i64.
struct RemoteReply {
    RemoteStatus status = RemoteStatus::Ok;
    uint64_t token = 0;
    int64_t result = 0;
};

// The length of the whole frame that starts with this header, or 0 when the header alone already
// shows the frame is unacceptable (wrong magic or version, unknown kind, a length over its bound).
// Also 0 when `size` is below kRemoteHeaderSize.
size_t RemoteFrameLength(const uint8_t* header, size_t size);

// Decodes one complete frame. False, with `out` left in an unknown state, unless `size` is exactly
// the length the header states and every field is within its bounds.
bool ParseRemoteRequest(const uint8_t* data, size_t size, RemoteRequest& out);

// Encodes a request; the caller keeps names and data within their bounds.
std::vector<uint8_t> EncodeRemoteRequest(const RemoteRequest& request);

std::array<uint8_t, kRemoteReplySize> EncodeRemoteReply(const RemoteReply& reply);
bool ParseRemoteReply(const uint8_t* data, size_t size, RemoteReply& out);

}  // namespace platform
