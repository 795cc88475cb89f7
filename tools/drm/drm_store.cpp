// install and list, and opening the store for every command that needs it.
#include "tools/drm/drm_store.h"

#include <filesystem>
#include <string_view>

#include "platform/core/time.h"
#include "platform/rights/content/protected_file.h"
#include "platform/rights/rel/rel_wbxml.h"
#include "platform/rights/rel/rel_xml.h"
#include "tools/drm/drm_commands.h"
#include "tools/drm/drm_describe.h"
#include "tools/drm/drm_files.h"

namespace drmtool {
namespace {

namespace rights = platform::rights;

struct RightsToInstall {
    rights::RightsObject object;
    Bytes bytes;  // as delivered, which is what makes installing again a no-op
};

// A .dr, a .drc or a combined-delivery message, told apart by content rather than by name.
std::optional<RightsToInstall> ReadRights(const std::string& path, Io io) {
    std::string error;
    std::optional<Bytes> bytes = ReadWholeFile(path, rights::kMaxProtectedFileSize, error);
    if (!bytes) {
        Fail(io, error);
        return std::nullopt;
    }
    const rights::ReadResult read = rights::ParseProtectedBytes(bytes->data(), bytes->size());
    if (read.check == rights::FileCheck::Damaged) {
        Fail(io, path + " is a damaged protected file");
        return std::nullopt;
    }
    if (read.check == rights::FileCheck::Protected && read.file) {
        if (read.file->method == rights::DeliveryMethod::CombinedDelivery &&
            read.file->embeddedRights)
            return RightsToInstall{*read.file->embeddedRights, read.file->embeddedRightsBytes};
        Fail(io, path + " is " + DeliveryName(read.file->method) +
                     " content, which carries no rights to install");
        return std::nullopt;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    std::optional<rights::RightsObject> object = rights::ParseRightsXml(text);
    if (!object)
        object = rights::ParseRightsWbxml(bytes->data(), bytes->size());
    if (!object) {
        Fail(io, path + " is not a rights object (.dr, .drc) or a combined-delivery message");
        return std::nullopt;
    }
    return RightsToInstall{std::move(*object), std::move(*bytes)};
}

void ListOne(const rights::StoredRights& stored, std::int64_t now, std::ostream& out) {
    out << stored.object.uid << "  (row " << stored.id
        << (stored.object.key ? ", with key" : ", no key") << ")\n";
    if (stored.object.permissions.empty())
        out << "  grants nothing\n";
    for (const auto& [permission, constraint] : stored.object.permissions) {
        const auto state = stored.state.find(permission);
        const rights::PermissionState spent =
            state != stored.state.end() ? state->second : rights::InitialState(constraint);
        out << "  " << PermissionName(permission) << ": " << DescribeConstraint(constraint) << "; "
            << DescribeState(constraint, spent) << "; "
            << ValidityName(rights::Judge(constraint, spent, now)) << "\n";
    }
}

}  // namespace

bool WithStore(const std::string& path, StoreAccess access,
               const std::function<void(rights::RightsStore&)>& work, std::string& error) {
    if (path.empty()) {
        error = "no rights store: give --store FILE or --registry FILE";
        return false;
    }
    std::error_code code;
    if (access == StoreAccess::Read && !std::filesystem::exists(path, code))
        return true;
    if (access == StoreAccess::Create) {
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        if (!folder.empty())
            std::filesystem::create_directories(folder, code);
    }
    try {
        rights::RightsStore store = rights::RightsStore::Open(path);
        work(store);
        return true;
    } catch (const std::exception& problem) {
        error = "rights store " + path + ": " + problem.what();
        return false;
    }
}

int InstallRights(const std::string& storePath, const std::string& rightsFile, Io io) {
    const std::optional<RightsToInstall> rights = ReadRights(rightsFile, io);
    if (!rights)
        return kFailure;
    rights::InstallOutcome outcome = rights::InstallOutcome::Installed;
    std::string error;
    const bool done = WithStore(
        storePath, StoreAccess::Create,
        [&](rights::RightsStore& store) { outcome = store.Install(rights->object, rights->bytes); },
        error);
    if (!done)
        return Fail(io, error);
    io.out << (outcome == rights::InstallOutcome::Installed
                   ? "installed "
                   : "already installed (what was spent is kept) ")
           << rights->object.uid << "\n";
    return kSuccess;
}

int ListRights(const std::string& storePath, Io io) {
    std::vector<rights::StoredRights> all;
    std::string error;
    if (!WithStore(
            storePath, StoreAccess::Read, [&](rights::RightsStore& store) { all = store.All(); },
            error))
        return Fail(io, error);
    if (all.empty())
        io.out << "no rights installed in " << storePath << "\n";
    const std::int64_t now = platform::WallClockNow().tv_sec;
    for (const rights::StoredRights& stored : all)
        ListOne(stored, now, io.out);
    return kSuccess;
}

}  // namespace drmtool
