#include "platform/rights/message/mime_part.h"

#include <algorithm>
#include <optional>

#include "platform/rights/common/base64.h"
#include "platform/rights/message/mime_lines.h"

namespace platform::rights::mime {
namespace {

bool IsNameChar(char c) {
    return c > ' ' && c < 0x7F && c != ':';
}

// Adds one physical header line to the block: a new header, or the continuation of the last.
MessageError AddHeaderLine(std::string_view text, HeaderBlock& block, std::size_t& total) {
    total += text.size();
    if (total > kMaxHeaderBlock)
        return MessageError::HeaderLimit;
    if (IsWhitespace(text.front())) {
        if (block.headers.empty())
            return MessageError::BadHeader;
        block.headers.back().second += text;  // unfolding drops only the line break
        return MessageError::None;
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 ||
        !std::all_of(text.begin(), text.begin() + colon, IsNameChar))
        return MessageError::BadHeader;
    if (block.headers.size() == kMaxHeaders)
        return MessageError::HeaderLimit;
    block.headers.emplace_back(text.substr(0, colon), text.substr(colon + 1));
    return MessageError::None;
}

// The headers that decide how the part is read must not be ambiguous.
bool HasDuplicateKeyHeader(const std::vector<std::pair<std::string, std::string>>& headers) {
    for (const char* name : {"content-type", "content-transfer-encoding", "content-id"}) {
        const auto count = std::count_if(headers.begin(), headers.end(), [&](const auto& h) {
            return EqualsAsciiNoCase(h.first, name);
        });
        if (count > 1)
            return true;
    }
    return false;
}

std::optional<std::string> MediaType(const MessagePart& part) {
    const auto value = part.Header("Content-Type");
    if (!value)
        return std::nullopt;
    const std::string type =
        ToLower(TrimBlanks(std::string_view(*value).substr(0, value->find(';'))));
    const std::size_t slash = type.find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 == type.size() ||
        type.find('/', slash + 1) != std::string::npos ||
        !std::all_of(type.begin(), type.end(), IsNameChar))
        return std::nullopt;
    return type;
}

std::string ContentId(const MessagePart& part) {
    const std::string value = part.Header("Content-ID").value_or(std::string());
    std::string_view id = TrimBlanks(value);
    if (id.size() >= 2 && id.front() == '<' && id.back() == '>')
        id = TrimBlanks(id.substr(1, id.size() - 2));
    return std::string(id);
}

MessageError DecodeBody(std::string_view encoding, std::string_view raw,
                        std::vector<std::uint8_t>& body) {
    // No header at all is read as binary: media parts are binary far more often than not, and
    // refusing them would lose the content for a missing label.
    const std::string name = ToLower(encoding);
    if (name == "base64") {
        auto decoded = DecodeBase64(raw);
        if (!decoded)
            return MessageError::BadBase64;
        body = std::move(*decoded);
        return MessageError::None;
    }
    if (name == "7bit" &&
        std::any_of(raw.begin(), raw.end(), [](char c) { return (c & 0x80) != 0; }))
        return MessageError::EightBitIn7Bit;
    if (name != "7bit" && name != "8bit" && name != "binary" && !name.empty())
        return MessageError::UnknownEncoding;
    body.assign(raw.begin(), raw.end());
    return MessageError::None;
}

}  // namespace

MessageError ReadHeaderBlock(std::string_view data, std::size_t pos, HeaderBlock& block) {
    std::size_t total = 0;
    for (;;) {
        const auto line = ReadLine(data, pos, kMaxLineLength);
        if (!line) {
            // A later line end means this line was too long; none means the block never ends.
            return data.find('\n', pos) != std::string_view::npos ? MessageError::HeaderLimit
                                                                  : MessageError::BadHeader;
        }
        if (line->text.empty()) {
            block.blankLine = pos;
            block.bodyStart = line->next;
            break;
        }
        if (const MessageError error = AddHeaderLine(line->text, block, total);
            error != MessageError::None)
            return error;
        pos = line->next;
    }
    for (auto& [name, value] : block.headers)
        value = std::string(TrimBlanks(value));
    return HasDuplicateKeyHeader(block.headers) ? MessageError::DuplicateHeader
                                                : MessageError::None;
}

MessageError DecodePart(HeaderBlock&& block, std::string_view rawBody, MessagePart& part) {
    part.headers = std::move(block.headers);
    const auto type = MediaType(part);
    if (!type)
        return MessageError::MissingContentType;
    part.contentType = *type;
    part.contentId = ContentId(part);
    const auto encoding = part.Header("Content-Transfer-Encoding").value_or(std::string());
    return DecodeBody(encoding, rawBody, part.body);
}

}  // namespace platform::rights::mime
