// status: a protected file as the rights service sees it, read without changing the store.
#include <algorithm>
#include <filesystem>

#include "platform/core/time.h"
#include "platform/rights/common/ascii.h"
#include "platform/rights/content/protected_file.h"
#include "tools/drm/drm_commands.h"
#include "tools/drm/drm_describe.h"
#include "tools/drm/drm_store.h"

namespace drmtool {
namespace {

namespace rights = platform::rights;

// A uid is written "cid:X" by rights and <X> by a message's Content-ID; both name one content.
std::vector<std::string> Spellings(const std::string& uid) {
    constexpr std::string_view kPrefix = "cid:";
    if (uid.empty())
        return {};
    if (uid.size() > kPrefix.size() && rights::EqualsAsciiNoCase(uid.substr(0, 4), kPrefix))
        return {uid, uid.substr(kPrefix.size())};
    return {uid, std::string(kPrefix) + uid};
}

std::vector<rights::StoredRights> RightsFor(rights::RightsStore& store,
                                            const rights::ProtectedFile& file) {
    std::vector<std::string> uids = Spellings(file.uid);
    if (file.embeddedRights) {
        for (const std::string& spelling : Spellings(file.embeddedRights->uid))
            uids.push_back(spelling);
    }
    std::vector<rights::StoredRights> found;
    for (const std::string& uid : uids) {
        for (rights::StoredRights& stored : store.ForUid(uid)) {
            const bool known = std::any_of(found.begin(), found.end(),
                                           [&](const auto& f) { return f.id == stored.id; });
            if (!known)
                found.push_back(std::move(stored));
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    return found;
}

// The service installs a combined delivery's own rights when it first opens the message; until
// then they count as freshly installed.
bool AddEmbeddedIfNew(const rights::ProtectedFile& file, std::vector<rights::StoredRights>& all) {
    if (!file.embeddedRights)
        return false;
    for (const rights::StoredRights& stored : all) {
        if (stored.object == *file.embeddedRights)
            return false;
    }
    rights::StoredRights fresh;
    fresh.object = *file.embeddedRights;
    for (const auto& [permission, constraint] : fresh.object.permissions)
        fresh.state[permission] = rights::InitialState(constraint);
    all.push_back(std::move(fresh));
    return true;
}

std::string KeyState(const std::string& path, const std::vector<rights::StoredRights>& all) {
    bool anyKey = false;
    for (const rights::StoredRights& stored : all) {
        if (!stored.object.key)
            continue;
        anyKey = true;
        if (rights::ReadClearContent(path, *stored.object.key))
            return "installed, decrypts the content";
    }
    return anyKey ? "installed, but does not decrypt the content" : "none installed";
}

std::string UnreadableReason(const std::string& path, DWORD win32Error) {
    std::error_code code;
    if (!std::filesystem::exists(path, code))
        return "no such file";
    if (std::filesystem::is_directory(path, code))
        return "a folder";
    return "error " + std::to_string(win32Error);
}

}  // namespace

int ShowStatus(const std::string& storePath, const std::string& path, Io io) {
    const rights::ReadResult read = rights::ReadProtectedFile(path);
    switch (read.check) {
        case rights::FileCheck::Unreadable:
            return Fail(io, "cannot read " + path + ": " + UnreadableReason(path, read.win32Error));
        case rights::FileCheck::Damaged:
            return Fail(io, path + " is a damaged protected file; nothing can be opened from it");
        case rights::FileCheck::NotProtected:
            io.out << "file: " << path << "\ndelivery: not protected\n";
            return kSuccess;
        case rights::FileCheck::Protected:
            break;
    }
    if (!read.file)
        return Fail(io, path + " could not be read as protected content");
    const rights::ProtectedFile& file = *read.file;
    const bool forwardLock = file.method == rights::DeliveryMethod::ForwardLock;

    std::vector<rights::StoredRights> all;
    std::string error;
    if (!forwardLock &&
        !WithStore(
            storePath, StoreAccess::Read,
            [&](rights::RightsStore& store) { all = RightsFor(store, file); }, error))
        return Fail(io, error);
    const std::size_t installed = all.size();
    const bool carried = AddEmbeddedIfNew(file, all);

    io.out << "file: " << path << "\ndelivery: " << DeliveryName(file.method) << "\n";
    if (!file.uid.empty())
        io.out << "uid: " << file.uid << "\n";
    io.out << "type: " << file.contentType << "\nforwardable: "
           << (file.method == rights::DeliveryMethod::SeparateDelivery ? "yes" : "no") << "\n";
    for (const auto& [name, value] : file.headers)
        io.out << "header: " << name << ": " << value << "\n";
    if (!forwardLock) {
        io.out << "rights objects: " << installed << " installed"
               << (carried ? ", 1 in the message (installed when first opened)" : "") << "\n";
    }
    if (file.method == rights::DeliveryMethod::SeparateDelivery)
        io.out << "content key: " << KeyState(path, all) << "\n";
    const std::int64_t now = platform::WallClockNow().tv_sec;
    for (rights::Permission permission : kAllPermissions) {
        const rights::Validity validity =
            forwardLock ? rights::Validity::Valid : rights::JudgeAll(all, permission, now);
        io.out << PermissionName(permission) << ": " << ValidityName(validity) << "\n";
    }
    return kSuccess;
}

}  // namespace drmtool
