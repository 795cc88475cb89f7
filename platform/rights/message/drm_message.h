// DRM messages (.dm, application/vnd.oma.drm.message): a MIME multipart that carries one media
// object, alone (forward lock) or after the rights object that governs it (combined delivery).
// This layer only reads and writes the envelope; the rights and the content are checked above it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::rights {

struct MessagePart {
    std::vector<std::pair<std::string, std::string>> headers;  // unfolded, values trimmed
    std::string contentType;                                   // lower-cased, parameters stripped
    std::string contentId;           // without angle brackets; empty when absent
    std::vector<std::uint8_t> body;  // transfer encoding removed

    // The first header of that name (names compare without case), or nullopt.
    std::optional<std::string> Header(std::string_view name) const;
};

enum class MessageKind { ForwardLock, CombinedDelivery };

struct DrmMessage {
    std::string boundary;
    MessageKind kind = MessageKind::ForwardLock;
    std::optional<MessagePart> rights;  // only for CombinedDelivery
    MessagePart media;
};

// Why a message was refused; callers that only need yes or no use ParseDrmMessage.
enum class MessageError {
    None,
    NoOpeningBoundary,   // not "--boundary" on the first line, or an invalid boundary
    BadHeader,           // no colon, bad name, continuation without a header, no blank line
    HeaderLimit,         // more than 16 headers, or a line longer than 998 bytes
    DuplicateHeader,     // Content-Type, Content-Transfer-Encoding or Content-ID given twice
    MissingContentType,  // absent or not "type/subtype"
    UnknownEncoding,
    BadBase64,
    EightBitIn7Bit,
    NoClosingBoundary,
    BadPartLayout,     // not one media part, or one rights part followed by one media part
    MissingContentId,  // combined delivery's media part cannot be joined to its rights
};

struct MessageParseResult {
    std::optional<DrmMessage> message;
    MessageError error = MessageError::None;
};

MessageParseResult ParseDrmMessageDetailed(const std::uint8_t* data, std::size_t size);
std::optional<DrmMessage> ParseDrmMessage(const std::uint8_t* data, std::size_t size);

// Cheap sniff for file-type detection: "--" and a valid boundary on the first line.
bool LooksLikeDrmMessage(const std::uint8_t* data, std::size_t size);

// Writers for the tool and tests. They return an empty vector when the result could not be read
// back as given: an invalid boundary, a type or id with line breaks, or (unencoded) media that
// contains the delimiter line.
std::vector<std::uint8_t> BuildForwardLockMessage(std::string_view boundary,
                                                  std::string_view contentType,
                                                  const std::vector<std::uint8_t>& media,
                                                  bool base64);
std::vector<std::uint8_t> BuildCombinedDeliveryMessage(
    std::string_view boundary, std::string_view rightsContentType,
    const std::vector<std::uint8_t>& rightsBytes, std::string_view mediaContentType,
    std::string_view contentId, const std::vector<std::uint8_t>& media, bool base64);

}  // namespace platform::rights
