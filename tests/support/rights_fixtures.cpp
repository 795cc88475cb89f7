#include "tests/support/rights_fixtures.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/fs/device.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/message/drm_message.h"
#include "platform/rights/rel/rel_xml.h"
#include "platform/rights/store/rights_store.h"

namespace testing_support {

namespace rights = platform::rights;

namespace {

constexpr rights::ContentKey kKey = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
constexpr rights::ContentIv kIv = {0x0F, 0x0E, 0x0D, 0x0C, 0x0B, 0x0A, 0x09, 0x08,
                                   0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0x00};
constexpr std::string_view kBoundary = "pictarium-test-boundary";

std::string HostRelative(std::u16string_view devicePath) {
    std::string relative;
    for (char16_t c : devicePath) {
        if (c > 0x7F)
            throw std::invalid_argument("test device paths are ASCII");
        relative += c == u'\\' ? '/' : static_cast<char>(c);
    }
    while (!relative.empty() && relative.front() == '/')
        relative.erase(relative.begin());
    return relative;
}

}  // namespace

Bytes SampleContent(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>('a' + (i * 7) % 26);
    return bytes;
}

RightsDevice::RightsDevice() {
    std::filesystem::create_directories(temp_ / "device/My Documents");
    if (!platform::ConfigureDevice(temp_ / "device", ""))
        throw std::runtime_error("cannot configure the test device");
    platform::ConfigureRightsStore(StorePath());
}

RightsDevice::~RightsDevice() {
    platform::ConfigureRightsStore("");
}

std::string RightsDevice::HostPath(std::u16string_view devicePath) const {
    return temp_ / ("device/" + HostRelative(devicePath));
}

void RightsDevice::Write(std::u16string_view devicePath, const Bytes& bytes) const {
    const std::filesystem::path host = HostPath(devicePath);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + host.string());
}

void RightsDevice::Install(const rights::RightsObject& object, const Bytes& bytes) const {
    rights::RightsStore store = rights::RightsStore::Open(StorePath());
    store.Install(object, bytes);
}

rights::RightsObject MakeRights(std::string_view uid, rights::Permission permission,
                                const Terms& terms, const std::optional<rights::ContentKey>& key) {
    rights::RightsObject object;
    object.version = "1.0";
    object.uid = std::string(uid);
    object.key = key;
    object.permissions[permission] =
        rights::Constraint{terms.count, terms.start, terms.end, terms.interval};
    return object;
}

Bytes RightsXml(const rights::RightsObject& object) {
    const std::string xml = rights::WriteRightsXml(object);
    if (xml.empty())
        throw std::invalid_argument("rights object cannot be written");
    return Bytes(xml.begin(), xml.end());
}

Bytes ForwardLockFile(std::string_view contentType, const Bytes& media) {
    return rights::BuildForwardLockMessage(kBoundary, contentType, media, false);
}

Bytes CombinedDeliveryFile(std::string_view contentType, const Bytes& media, std::string_view uid,
                           rights::Permission permission, const Terms& terms) {
    const Bytes rightsBytes = RightsXml(MakeRights(uid, permission, terms));
    std::string_view contentId = uid;
    if (contentId.starts_with("cid:"))
        contentId.remove_prefix(4);
    return rights::BuildCombinedDeliveryMessage(kBoundary, "application/vnd.oma.drm.rights+xml",
                                                rightsBytes, contentType, contentId, media, false);
}

SeparateDelivery SeparateDeliveryFile(std::string_view contentType, const Bytes& media,
                                      std::string_view uid, rights::Permission permission,
                                      const Terms& terms, std::string_view rightsIssuer) {
    rights::DcfHeaders headers = {{"Encryption-Method", "AES128CBC;padding=RFC2630"}};
    if (!rightsIssuer.empty())
        headers.emplace_back("Rights-Issuer", std::string(rightsIssuer));
    SeparateDelivery result;
    result.dcf = rights::BuildDcf(contentType, uid, headers, kKey, kIv, media);
    result.rights = MakeRights(uid, permission, terms, kKey);
    result.rightsXml = RightsXml(result.rights);
    return result;
}

bool SpendOneUse(const std::u16string& path, unsigned long right) {
    HANDLE file = INVALID_HANDLE_VALUE;
    if (FileDrmCreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr, &file) != S_OK) {
        return false;
    }
    const bool spent = FileDrmCommitRights(file, right, 0) == S_OK;
    CloseHandle(file);
    return spent;
}

}  // namespace testing_support
