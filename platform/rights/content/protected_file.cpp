#include "platform/rights/content/protected_file.h"

#include <algorithm>

#include "platform/rights/common/ascii.h"
#include "platform/rights/content/content_parse.h"
#include "platform/rights/dcf/dcf.h"
#include "platform/rights/message/drm_message.h"
#include "platform/rights/rel/rel_wbxml.h"
#include "platform/rights/rel/rel_xml.h"

namespace platform::rights {
namespace {

constexpr std::string_view kRightsXmlType = "application/vnd.oma.drm.rights+xml";
constexpr std::string_view kRightsWbxmlType = "application/vnd.oma.drm.rights+wbxml";

std::string_view WithoutCidScheme(std::string_view id) {
    if (id.size() >= 4 && EqualsAsciiNoCase(id.substr(0, 4), "cid:"))
        id.remove_prefix(4);
    return id;
}

std::optional<RightsObject> ParseRightsPart(const MessagePart& part) {
    const auto& body = part.body;
    if (EqualsAsciiNoCase(part.contentType, kRightsXmlType))
        return ParseRightsXml(
            std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
    if (EqualsAsciiNoCase(part.contentType, kRightsWbxmlType))
        return ParseRightsWbxml(body.data(), body.size());
    return std::nullopt;
}

ParsedContent ParseMessage(const std::uint8_t* data, std::size_t size) {
    ParsedContent parsed;
    parsed.result = DamagedResult();
    auto message = ParseDrmMessage(data, size);
    if (!message)
        return parsed;
    ProtectedFile file;
    file.contentType = message->media.contentType;
    file.headers = message->media.headers;
    if (message->kind == MessageKind::CombinedDelivery) {
        if (!message->rights)
            return parsed;
        auto rights = ParseRightsPart(*message->rights);
        // The rights join the media by its Content-ID; "cid:X" and "X" name the same content.
        if (!rights || rights->uid.empty() ||
            WithoutCidScheme(rights->uid) != WithoutCidScheme(message->media.contentId))
            return parsed;
        file.method = DeliveryMethod::CombinedDelivery;
        file.uid = rights->uid;
        file.embeddedRights = std::move(rights);
        file.embeddedRightsBytes = std::move(message->rights->body);
    }
    parsed.media = std::move(message->media.body);
    parsed.result = ReadResult{FileCheck::Protected, 0, std::move(file)};
    return parsed;
}

}  // namespace

std::optional<std::string> ProtectedFile::Header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (EqualsAsciiNoCase(key, name))
            return value;
    }
    return std::nullopt;
}

bool StartsLikeDcf(const std::uint8_t* data, std::size_t size) {
    return LooksLikeDcf(data, std::min(size, kSniffBytes));
}

bool StartsLikeProtected(const std::uint8_t* data, std::size_t size) {
    return StartsLikeDcf(data, size) || LooksLikeDrmMessage(data, std::min(size, kSniffBytes));
}

ReadResult DamagedResult() {
    return ReadResult{FileCheck::Damaged, 0, std::nullopt};
}

ProtectedFile FromDcf(const DcfFile& dcf) {
    ProtectedFile file;
    file.method = DeliveryMethod::SeparateDelivery;
    file.uid = dcf.contentUri;
    file.contentType = dcf.contentType;
    file.headers = dcf.headers;
    return file;
}

ParsedContent ParseContent(const std::uint8_t* data, std::size_t size) {
    ParsedContent parsed;
    if (size == 0 || data == nullptr) {
        parsed.result = ReadResult{FileCheck::NotProtected, 0, std::nullopt};
        return parsed;
    }
    if (StartsLikeDcf(data, size)) {
        parsed.result = DamagedResult();
        if (size > kMaxProtectedFileSize)
            return parsed;
        const auto dcf = ParseDcf(data, size);
        if (!dcf)
            return parsed;
        parsed.dataOffset = dcf->dataOffset;
        parsed.dataLength = dcf->dataLength;
        parsed.result = ReadResult{FileCheck::Protected, 0, FromDcf(*dcf)};
        return parsed;
    }
    if (StartsLikeProtected(data, size)) {
        if (size > kMaxProtectedFileSize) {
            parsed.result = DamagedResult();
            return parsed;
        }
        return ParseMessage(data, size);
    }
    parsed.result = ReadResult{FileCheck::NotProtected, 0, std::nullopt};
    return parsed;
}

ReadResult ParseProtectedBytes(const std::uint8_t* data, std::size_t size) {
    return ParseContent(data, size).result;
}

}  // namespace platform::rights
