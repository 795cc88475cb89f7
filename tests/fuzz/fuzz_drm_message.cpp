// libFuzzer target: DRM message envelopes from untrusted files. Whatever arrives, the parser may
// only refuse or return a message that is consistent and that the writer can reproduce.
#include <cstdint>
#include <cstdlib>

#include "platform/rights/message/drm_message.h"

namespace {

using platform::rights::DrmMessage;
using platform::rights::MessageKind;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckShape(const DrmMessage& message, std::size_t size) {
    Check(!message.boundary.empty() && message.boundary.size() <= 70);
    Check((message.kind == MessageKind::CombinedDelivery) == message.rights.has_value());
    Check(!message.media.contentType.empty() && message.media.body.size() <= size);
    Check(message.media.contentType != "application/vnd.oma.drm.rights+xml" &&
          message.media.contentType != "application/vnd.oma.drm.rights+wbxml");
    if (message.rights)
        Check(!message.media.contentId.empty() && message.rights->body.size() <= size);
}

// Writing the parsed parts back as base64 must give the same bodies when read again.
void CheckRoundTrip(const DrmMessage& message) {
    const auto rebuilt =
        message.rights
            ? platform::rights::BuildCombinedDeliveryMessage(
                  message.boundary, message.rights->contentType, message.rights->body,
                  message.media.contentType, message.media.contentId, message.media.body, true)
            : platform::rights::BuildForwardLockMessage(message.boundary, message.media.contentType,
                                                        message.media.body, true);
    if (rebuilt.empty())
        return;  // e.g. a Content-ID holding a bare CR cannot be written as a header
    const auto again = platform::rights::ParseDrmMessage(rebuilt.data(), rebuilt.size());
    Check(again.has_value() && again->kind == message.kind);
    Check(again->media.body == message.media.body);
    if (message.rights)
        Check(again->rights->body == message.rights->body);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto message = platform::rights::ParseDrmMessage(data, size);
    if (!message)
        return 0;
    Check(platform::rights::LooksLikeDrmMessage(data, size));
    CheckShape(*message, size);
    CheckRoundTrip(*message);
    return 0;
}
