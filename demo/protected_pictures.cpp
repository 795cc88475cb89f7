#include "demo/protected_pictures.h"

#include <exception>

#include "platform/rights/dcf/dcf_crypto.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/message/drm_message.h"
#include "platform/rights/rel/rel_xml.h"
#include "platform/rights/store/rights_store.h"

namespace demo {

namespace rights = platform::rights;

namespace {

constexpr std::string_view kBoundary = "pictarium-demo-boundary";
constexpr std::string_view kJpegType = "image/jpeg";
constexpr std::string_view kCombinedUid = "cid:demo-combined@pictarium";
constexpr std::string_view kSeparateUid = "cid:demo-separate@pictarium";
// A fixed key, so a later run can put lost rights back for a separate-delivery file it kept.
// This is demo content, not a secret.
constexpr rights::ContentKey kSeparateKey = {0x3A, 0x91, 0x5C, 0x07, 0xE2, 0x4F, 0xB8, 0x16,
                                             0x6D, 0xC0, 0x29, 0x83, 0xF5, 0x1E, 0x74, 0xAB};
constexpr rights::ContentIv kSeparateIv = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
                                           0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x01};

std::vector<std::uint8_t> Xml(const rights::RightsObject& object) {
    const std::string xml = rights::WriteRightsXml(object);
    return {xml.begin(), xml.end()};
}

rights::RightsObject SeparateRights() {
    rights::RightsObject object;
    object.version = "1.0";
    object.uid = std::string(kSeparateUid);
    object.key = kSeparateKey;
    object.permissions[rights::Permission::Display] = rights::Constraint{};
    return object;
}

}  // namespace

std::vector<std::uint8_t> ForwardLockMessage(const std::vector<std::uint8_t>& jpeg) {
    // Binary media may by chance hold the delimiter line; base64 never does.
    auto message = rights::BuildForwardLockMessage(kBoundary, kJpegType, jpeg, false);
    return message.empty() ? rights::BuildForwardLockMessage(kBoundary, kJpegType, jpeg, true)
                           : message;
}

std::vector<std::uint8_t> CombinedDeliveryMessage(const std::vector<std::uint8_t>& jpeg) {
    rights::RightsObject object;
    object.version = "1.0";
    object.uid = std::string(kCombinedUid);
    object.permissions[rights::Permission::Display] =
        rights::Constraint{kCombinedDeliveryDisplays, std::nullopt, std::nullopt, std::nullopt};
    const std::vector<std::uint8_t> rightsXml = Xml(object);
    if (rightsXml.empty())
        return {};
    const std::string_view contentId = kCombinedUid.substr(4);  // without "cid:"
    for (bool base64 : {false, true}) {
        auto message =
            rights::BuildCombinedDeliveryMessage(kBoundary, "application/vnd.oma.drm.rights+xml",
                                                 rightsXml, kJpegType, contentId, jpeg, base64);
        if (!message.empty())
            return message;
    }
    return {};
}

std::vector<std::uint8_t> SeparateDeliveryFile(const std::vector<std::uint8_t>& jpeg) {
    const rights::DcfHeaders headers = {{"Encryption-Method", "AES128CBC;padding=RFC2630"}};
    return rights::BuildDcf(kJpegType, kSeparateUid, headers, kSeparateKey, kSeparateIv, jpeg);
}

bool InstallSeparateDeliveryRights(std::string& error) {
    const std::string path = platform::RightsStorePath();
    if (path.empty()) {
        error = "no rights store to install the demo rights into";
        return false;
    }
    const rights::RightsObject object = SeparateRights();
    const std::vector<std::uint8_t> bytes = Xml(object);
    try {
        rights::RightsStore store = rights::RightsStore::Open(path);
        store.Install(object, bytes);
    } catch (const std::exception& failure) {
        error = std::string("cannot install the demo rights: ") + failure.what();
        return false;
    }
    return true;
}

}  // namespace demo
