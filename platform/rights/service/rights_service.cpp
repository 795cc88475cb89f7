// The service's one store, opened on first use and again whenever the configured path changes,
// and the lookup of a protected file with its rights.
#include "platform/rights/service/rights_service.h"

#include <exception>
#include <mutex>

#include "platform/core/debug.h"
#include "platform/core/time.h"
#include "platform/core/wstring.h"
#include "platform/fs/path_map.h"
#include "platform/rights/file_drm.h"
#include "platform/rights/service/content_cache.h"

namespace platform::rights {
namespace {

struct StoreState {
    std::mutex mutex;
    std::string openPath;
    std::optional<RightsStore> store;
};

StoreState& State() {
    static StoreState state;
    return state;
}

void ReportStoreProblem(const std::string& what) {
    OutputDebugStringW(FromUtf8("rights: " + what + "\n").c_str());
}

// Opens the store at the configured path unless it is already open there. Under the lock.
RightsStore* CurrentStore(StoreState& state) {
    const std::string path = RightsStorePath();
    if (path.empty()) {
        state.store.reset();
        state.openPath.clear();
        ReportStoreProblem("no rights store is configured");
        return nullptr;
    }
    if (state.store && state.openPath == path)
        return &*state.store;
    state.store.reset();
    state.openPath.clear();
    try {
        state.store.emplace(RightsStore::Open(path));
        state.openPath = path;
    } catch (const std::exception& error) {
        ReportStoreProblem("cannot open the rights store " + path + ": " + error.what());
        return nullptr;
    }
    return &*state.store;
}

}  // namespace

bool WithStore(const std::function<void(RightsStore&)>& work) {
    StoreState& state = State();
    std::lock_guard lock(state.mutex);
    RightsStore* store = CurrentStore(state);
    if (store == nullptr)
        return false;
    try {
        work(*store);
        return true;
    } catch (const std::exception& error) {
        ReportStoreProblem(std::string("the rights store failed: ") + error.what());
        // A connection left in a bad state is not reused; the next call opens a fresh one.
        state.store.reset();
        state.openPath.clear();
        return false;
    }
}

std::int64_t RightsNow() {
    return static_cast<std::int64_t>(WallClockNow().tv_sec);
}

std::optional<Permission> PermissionForRight(DWORD right) {
    switch (right) {
        case FDRRF_PLAY:
            return Permission::Play;
        case FDRRF_DISPLAY:
            return Permission::Display;
        case FDRRF_EXECUTE:
            return Permission::Execute;
        case FDRRF_PRINT:
            return Permission::Print;
        default:
            return std::nullopt;
    }
}

LookUpResult LookUpContent(std::u16string_view devicePath) {
    LookUpResult result;
    const auto mapped = fs::MapDevicePath(devicePath);
    if (!mapped) {
        result.win32Error = GetLastError();
        if (result.win32Error == 0)
            result.win32Error = ERROR_INVALID_NAME;
        return result;
    }
    ReadResult read = ReadProtectedFileCached(mapped->host);
    result.check = read.check;
    result.win32Error = read.win32Error;
    if (read.check != FileCheck::Protected || !read.file)
        return result;

    ContentRights content{mapped->host, std::move(*read.file), {}};
    if (content.file.method != DeliveryMethod::ForwardLock) {
        WithStore([&content](RightsStore& store) {
            // The message's own rights arrive with it; installing again changes nothing.
            if (content.file.embeddedRights)
                store.Install(*content.file.embeddedRights, content.file.embeddedRightsBytes);
            content.rights = store.ForUid(content.file.uid);
        });
    }
    result.content = std::move(content);
    return result;
}

}  // namespace platform::rights
