#include "platform/rights/message/drm_message.h"

#include <algorithm>

#include "platform/rights/message/mime_lines.h"
#include "platform/rights/message/mime_part.h"

namespace platform::rights {
namespace {

// A message holds at most a rights part and a media part; reading stops at a third.
constexpr std::size_t kMaxParts = 2;

bool IsRightsType(std::string_view type) {
    return type == "application/vnd.oma.drm.rights+xml" ||
           type == "application/vnd.oma.drm.rights+wbxml";
}

MessageParseResult Fail(MessageError error) {
    return MessageParseResult{std::nullopt, error};
}

// Reads parts until the closing delimiter; more than kMaxParts is a layout error.
MessageError ReadParts(std::string_view data, const mime::OpeningLine& opening,
                       std::vector<MessagePart>& parts) {
    std::size_t pos = opening.next;
    for (;;) {
        if (parts.size() == kMaxParts)
            return MessageError::BadPartLayout;
        mime::HeaderBlock block;
        if (const auto error = mime::ReadHeaderBlock(data, pos, block); error != MessageError::None)
            return error;
        // The empty line's own line end may double as the delimiter's: an empty body.
        const auto delimiter =
            mime::FindDelimiter(data, block.blankLine, opening.boundary, opening.lineEnd);
        if (!delimiter)
            return MessageError::NoClosingBoundary;
        const std::size_t end = std::max(delimiter->bodyEnd, block.bodyStart);
        MessagePart part;
        const std::string_view raw = data.substr(block.bodyStart, end - block.bodyStart);
        if (const auto error = mime::DecodePart(std::move(block), raw, part);
            error != MessageError::None)
            return error;
        parts.push_back(std::move(part));
        if (delimiter->closing)
            return MessageError::None;
        pos = delimiter->next;
    }
}

MessageError Classify(std::vector<MessagePart>& parts, DrmMessage& message) {
    if (IsRightsType(parts.back().contentType))
        return MessageError::BadPartLayout;
    if (parts.size() == 1) {
        message.kind = MessageKind::ForwardLock;
    } else {
        if (!IsRightsType(parts.front().contentType))
            return MessageError::BadPartLayout;
        if (parts.back().contentId.empty())
            return MessageError::MissingContentId;
        message.kind = MessageKind::CombinedDelivery;
        message.rights = std::move(parts.front());
    }
    message.media = std::move(parts.back());
    return MessageError::None;
}

}  // namespace

std::optional<std::string> MessagePart::Header(std::string_view name) const {
    const auto match = std::find_if(headers.begin(), headers.end(), [&](const auto& header) {
        return EqualsAsciiNoCase(header.first, name);
    });
    if (match == headers.end())
        return std::nullopt;
    return match->second;
}

MessageParseResult ParseDrmMessageDetailed(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr && size != 0)
        return Fail(MessageError::NoOpeningBoundary);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto opening = mime::ReadOpeningLine(text);
    if (!opening)
        return Fail(MessageError::NoOpeningBoundary);
    std::vector<MessagePart> parts;
    if (const auto error = ReadParts(text, *opening, parts); error != MessageError::None)
        return Fail(error);
    DrmMessage message;
    message.boundary = std::string(opening->boundary);
    if (const auto error = Classify(parts, message); error != MessageError::None)
        return Fail(error);
    return MessageParseResult{std::move(message), MessageError::None};
}

std::optional<DrmMessage> ParseDrmMessage(const std::uint8_t* data, std::size_t size) {
    return ParseDrmMessageDetailed(data, size).message;
}

bool LooksLikeDrmMessage(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr)
        return false;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    return mime::ReadOpeningLine(text).has_value();
}

}  // namespace platform::rights
