#include "platform/registry/store_opener.h"

#include <sqlite3.h>

#include "platform/core/debug.h"
#include "platform/core/error.h"
#include "platform/core/wstring.h"
#include "platform/registry/registry_files.h"

namespace platform::registry {
namespace {

struct Attempt {
    enum class Status { Ready, Unusable, Newer, Busy };
    Status status = Status::Ready;
    std::optional<KeyStore> store;
    std::string reason;
    LONG error = ERROR_SUCCESS;
};

// Conditions that pass by themselves; the file is fine and is tried again on the next call.
LONG TransientError(int primaryCode, const std::string& path) {
    switch (primaryCode) {
        case SQLITE_CANTOPEN:
            // The file was found readable just before, so this is the process running out of
            // descriptors or the like. A file that cannot be created at all is another matter.
            return Exists(path) ? ERROR_CANTOPEN : ERROR_SUCCESS;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return ERROR_CANTOPEN;
        case SQLITE_NOMEM:
            return ERROR_OUTOFMEMORY;
        case SQLITE_FULL:
            return ERROR_DISK_FULL;
        default:
            return ERROR_SUCCESS;
    }
}

Attempt TryOpen(const std::string& path) {
    try {
        Database db = Database::Open(path);
        const SchemaCheck check = PrepareDatabase(db);
        switch (check.result) {
            case SchemaCheck::Result::Damaged:
                return {Attempt::Status::Unusable,
                        {},
                        "failed its integrity check: " + check.detail,
                        ERROR_SUCCESS};
            case SchemaCheck::Result::Newer:
                return {Attempt::Status::Newer,
                        {},
                        "has schema version " + check.detail,
                        ERROR_SUCCESS};
            case SchemaCheck::Result::Ready:
                break;
        }
        return {Attempt::Status::Ready, KeyStore(std::move(db)), {}, ERROR_SUCCESS};
    } catch (const SqliteError& e) {
        if (const LONG error = TransientError(e.PrimaryCode(), path)) {
            return {Attempt::Status::Busy, {}, e.what(), error};
        }
        return {Attempt::Status::Unusable, {}, e.what(), ERROR_SUCCESS};
    }
}

OpenedStore InMemory() {
    Attempt attempt = TryOpen(":memory:");
    if (!attempt.store)
        return {std::nullopt, ERROR_OUTOFMEMORY};
    return {std::move(attempt.store), ERROR_SUCCESS, true, true};
}

OpenedStore Replace(const std::string& path, const std::string& reason) {
    std::string aside;
    std::string error;
    if (MoveAside(path, aside, error)) {
        Attempt fresh = TryOpen(path);
        if (fresh.store) {
            ReportProblem(path + " is unusable (" + reason + "); moved it to " + aside +
                          " and started a fresh registry");
            return {std::move(fresh.store), ERROR_SUCCESS, true};
        }
        error = "moved it to " + aside + " but a fresh file failed too: " + fresh.reason;
    }
    ReportProblem(path + " is unusable (" + reason + ") and could not be replaced (" + error +
                  "); settings are kept in memory until the program ends");
    return InMemory();
}

}  // namespace

void ReportProblem(const std::string& line) {
    OutputDebugStringW(platform::FromUtf8("Registry: " + line + "\n").c_str());
}

OpenedStore OpenRegistryStore(const std::string& path) {
    if (path.empty()) {
        ReportProblem(
            "no home folder to keep the registry in; settings are kept in memory until the "
            "program ends");
        return InMemory();
    }
    CreateRegistryFolder(path);
    const FolderLock lock(path);
    if (std::string reason; IsForeignFile(path, reason))
        return Replace(path, reason);
    Attempt attempt = TryOpen(path);
    switch (attempt.status) {
        case Attempt::Status::Ready:
            return {std::move(attempt.store)};
        case Attempt::Status::Busy:
            ReportProblem("cannot open " + path + " for now: " + attempt.reason);
            return {std::nullopt, attempt.error};
        case Attempt::Status::Newer:
            // A newer build's file is left as it is for that build to use.
            ReportProblem(path + " " + attempt.reason +
                          ", newer than this program knows; settings are " +
                          "kept in memory until the program ends");
            return InMemory();
        case Attempt::Status::Unusable:
            break;
    }
    return Replace(path, attempt.reason);
}

}  // namespace platform::registry
