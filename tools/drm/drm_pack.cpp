// The pack commands: forward lock, combined delivery and separate delivery, each made with the
// same writers the service's readers are tested against.
#include <array>
#include <filesystem>
#include <string_view>

#include "platform/rights/content/protected_file.h"
#include "platform/rights/dcf/dcf_crypto.h"
#include "platform/rights/message/drm_message.h"
#include "platform/rights/rel/rel_wbxml.h"
#include "platform/rights/rel/rel_xml.h"
#include "tools/drm/drm_commands.h"
#include "tools/drm/drm_files.h"

namespace drmtool {
namespace {

namespace rights = platform::rights;

constexpr std::string_view kRightsXmlType = "application/vnd.oma.drm.rights+xml";
constexpr std::string_view kRightsVersion = "1.0";

// A fresh random hex word of `size` bytes; empty when no randomness is available.
std::string RandomHex(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    return RandomBytes(bytes) ? Hex(bytes) : std::string();
}

// The media to protect: read whole, no larger than the service will ever open.
std::optional<Bytes> ReadMedia(const std::string& in, Io io) {
    std::string error;
    std::optional<Bytes> media = ReadWholeFile(in, rights::kMaxProtectedFileSize, error);
    if (!media)
        Fail(io, error);
    return media;
}

// Builds a message with a random boundary. Binary parts first; should the media hold the
// delimiter line after all, base64 cannot.
template <typename Build>
Bytes BuildMessage(const Build& build) {
    const std::string boundary = RandomHex(12);
    if (boundary.empty())
        return {};
    Bytes message = build("pictarium-" + boundary, false);
    if (message.empty())
        message = build("pictarium-" + boundary, true);
    return message;
}

// Writes every output completely before renaming any, in the order given, so that a failure
// leaves no partial file and the rights (named first) never go missing beside their content.
int WriteOutputs(std::initializer_list<std::pair<const std::string*, const Bytes*>> outputs,
                 Io io) {
    std::vector<PendingFile> pending;
    std::string error;
    for (const auto& [path, bytes] : outputs) {
        if (bytes->size() > rights::kMaxProtectedFileSize)
            return Fail(io, *path + " would be larger than the service opens");
        std::optional<PendingFile> file = PendingFile::Write(*path, *bytes, error);
        if (!file)
            return Fail(io, error);
        pending.push_back(std::move(*file));
    }
    for (PendingFile& file : pending) {
        if (!file.Commit(error))
            return Fail(io, error);
    }
    return kSuccess;
}

// Refuses outputs that would land on the input or on each other: the clear media or one output
// would be lost.
bool DistinctFiles(const std::string& in, std::initializer_list<const std::string*> outputs,
                   Io io) {
    std::vector<const std::string*> seen = {&in};
    for (const std::string* output : outputs) {
        for (const std::string* earlier : seen) {
            if (SamePath(*earlier, *output)) {
                io.err << "pictarium-drm: " << *output << " is named twice; every file of a pack "
                       << "command must be a different one\n";
                return false;
            }
        }
        seen.push_back(output);
    }
    return true;
}

rights::RightsObject MakeRights(const std::string& uid, const PackTerms& terms,
                                const std::string& contentType) {
    rights::RightsObject object;
    object.version = kRightsVersion;
    object.uid = uid;
    object.permissions[terms.permission.value_or(DefaultPermission(contentType))] =
        terms.constraint;
    return object;
}

}  // namespace

int PackForwardLock(const std::string& in, const std::string& out, Io io) {
    if (!DistinctFiles(in, {&out}, io))
        return kUsageError;
    const std::optional<Bytes> media = ReadMedia(in, io);
    if (!media)
        return kFailure;
    const std::string type = ContentTypeForName(in);
    const Bytes message = BuildMessage([&](const std::string& boundary, bool base64) {
        return rights::BuildForwardLockMessage(boundary, type, *media, base64);
    });
    if (message.empty())
        return Fail(io, "cannot build a forward-lock message for " + in);
    if (const int status = WriteOutputs({{&out, &message}}, io))
        return status;
    io.out << out << ": forward lock, " << type << ", " << media->size() << " bytes\n";
    return kSuccess;
}

int PackCombined(const std::string& in, const std::string& out, const PackTerms& terms, Io io) {
    if (!DistinctFiles(in, {&out}, io))
        return kUsageError;
    const std::optional<Bytes> media = ReadMedia(in, io);
    if (!media)
        return kFailure;
    const std::string id = RandomHex(16);
    if (id.empty())
        return Fail(io, "no random numbers available");
    const std::string type = ContentTypeForName(in);
    // The rights name the content as "cid:X" and the media part as Content-ID <X>, the usual
    // spellings of one id.
    const std::string xml = rights::WriteRightsXml(MakeRights("cid:" + id, terms, type));
    if (xml.empty())
        return Fail(io, "cannot write these rights as XML");
    const Bytes rightsBytes(xml.begin(), xml.end());
    const Bytes message = BuildMessage([&](const std::string& boundary, bool base64) {
        return rights::BuildCombinedDeliveryMessage(boundary, kRightsXmlType, rightsBytes, type, id,
                                                    *media, base64);
    });
    if (message.empty())
        return Fail(io, "cannot build a combined-delivery message for " + in);
    if (const int status = WriteOutputs({{&out, &message}}, io))
        return status;
    io.out << out << ": combined delivery, cid:" << id << ", " << type << "\n";
    return kSuccess;
}

int PackSeparate(const std::string& in, const std::string& dcfOut, const std::string& rightsOut,
                 const PackTerms& terms, Io io) {
    if (!DistinctFiles(in, {&dcfOut, &rightsOut}, io))
        return kUsageError;
    const std::optional<Bytes> media = ReadMedia(in, io);
    if (!media)
        return kFailure;
    rights::ContentKey key{};
    rights::ContentIv iv{};
    const std::string id = RandomHex(16);
    if (id.empty() || !RandomBytes(key) || !RandomBytes(iv))
        return Fail(io, "no random numbers available");
    const std::string type = ContentTypeForName(in);
    const std::string uid = "cid:" + id;
    const std::string name = std::filesystem::path(in).filename().string();
    if (!rights::IsDcfHeaderValue(name))
        return Fail(io, "the file name of " + in + " cannot be written as Content-Name");
    rights::DcfHeaders headers = {{"Encryption-Method", std::string(rights::kAes128CbcMethod)},
                                  {"Content-Name", name}};
    if (!terms.rightsIssuer.empty())
        headers.emplace_back("Rights-Issuer", terms.rightsIssuer);
    const Bytes dcf = rights::BuildDcf(type, uid, headers, key, iv, *media);
    if (dcf.empty())
        return Fail(io, "cannot build the protected content for " + in);

    rights::RightsObject object = MakeRights(uid, terms, type);
    object.key = key;
    Bytes rightsBytes;
    if (terms.wbxml) {
        rightsBytes = rights::WriteRightsWbxml(object);
    } else {
        const std::string xml = rights::WriteRightsXml(object);
        rightsBytes.assign(xml.begin(), xml.end());
    }
    if (rightsBytes.empty())
        return Fail(io, "cannot write these rights");
    if (const int status = WriteOutputs({{&rightsOut, &rightsBytes}, {&dcfOut, &dcf}}, io))
        return status;
    io.out << dcfOut << ": separate delivery, " << uid << ", " << type << "\n"
           << rightsOut << ": rights for " << uid << (terms.wbxml ? " (WBXML)" : " (XML)") << "\n";
    return kSuccess;
}

}  // namespace drmtool
