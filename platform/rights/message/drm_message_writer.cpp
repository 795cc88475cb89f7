#include <algorithm>
#include <initializer_list>
#include <string>

#include "platform/rights/common/base64.h"
#include "platform/rights/message/drm_message.h"
#include "platform/rights/message/mime_lines.h"

namespace platform::rights {
namespace {

// Base64 lines are kept at the usual mail length.
constexpr std::size_t kBase64LineLength = 76;

struct PartToWrite {
    std::string_view contentType;
    std::string_view contentId;  // empty: no Content-ID header
    const std::vector<std::uint8_t>& body;
};

bool IsHeaderSafe(std::string_view value) {
    return std::none_of(value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; });
}

// Unencoded media that holds the delimiter line would be cut short when read back.
bool ContainsDelimiter(const std::vector<std::uint8_t>& body, std::string_view boundary) {
    const std::string delimiter = "\r\n--" + std::string(boundary);
    std::string framed = "\r\n";
    framed.append(body.begin(), body.end());
    return framed.find(delimiter) != std::string::npos;
}

void AppendBase64(std::string& out, const std::vector<std::uint8_t>& body) {
    const std::string encoded = EncodeBase64(body.data(), body.size());
    for (std::size_t at = 0; at < encoded.size(); at += kBase64LineLength) {
        if (at != 0)
            out += "\r\n";
        out.append(encoded, at, kBase64LineLength);
    }
}

bool AppendPart(std::string& out, std::string_view boundary, const PartToWrite& part, bool base64) {
    if (!IsHeaderSafe(part.contentType) || !IsHeaderSafe(part.contentId) ||
        TrimBlanks(part.contentType).empty())
        return false;
    if (!base64 && ContainsDelimiter(part.body, boundary))
        return false;
    out += "--";
    out += boundary;
    out += "\r\nContent-Type: ";
    out += part.contentType;
    out += "\r\nContent-Transfer-Encoding: ";
    out += base64 ? "base64" : "binary";
    if (!part.contentId.empty()) {
        out += "\r\nContent-ID: <";
        out += part.contentId;
        out += ">";
    }
    out += "\r\n\r\n";
    if (base64)
        AppendBase64(out, part.body);
    else
        out.append(part.body.begin(), part.body.end());
    out += "\r\n";
    return true;
}

std::vector<std::uint8_t> BuildMessage(std::string_view boundary,
                                       std::initializer_list<PartToWrite> parts, bool base64) {
    if (!mime::IsValidBoundary(boundary))
        return {};
    std::string out;
    for (const PartToWrite& part : parts) {
        if (!AppendPart(out, boundary, part, base64))
            return {};
    }
    out += "--";
    out += boundary;
    out += "--\r\n";
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

}  // namespace

std::vector<std::uint8_t> BuildForwardLockMessage(std::string_view boundary,
                                                  std::string_view contentType,
                                                  const std::vector<std::uint8_t>& media,
                                                  bool base64) {
    return BuildMessage(boundary, {PartToWrite{contentType, {}, media}}, base64);
}

std::vector<std::uint8_t> BuildCombinedDeliveryMessage(
    std::string_view boundary, std::string_view rightsContentType,
    const std::vector<std::uint8_t>& rightsBytes, std::string_view mediaContentType,
    std::string_view contentId, const std::vector<std::uint8_t>& media, bool base64) {
    if (contentId.empty())
        return {};
    return BuildMessage(boundary,
                        {PartToWrite{rightsContentType, {}, rightsBytes},
                         PartToWrite{mediaContentType, contentId, media}},
                        base64);
}

}  // namespace platform::rights
