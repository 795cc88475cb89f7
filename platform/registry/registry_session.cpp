#include "platform/registry/registry_session.h"

#include <pthread.h>
#include <sqlite3.h>

#include "platform/core/no_destructor.h"
#include "platform/registry/registry_files.h"
#include "platform/registry/store_opener.h"

namespace platform::registry {

Session& Session::Instance() {
    // Never destroyed: threads still running at exit, and other objects' destructors, may use
    // the registry after static destruction has begun.
    static platform::NoDestructor<Session> instance;
    return *instance;
}

Session::Session() {
    pthread_atfork(&BeforeFork, &AfterForkInParent, &AfterForkInChild);
}

// Holding the lock across fork keeps a call in another thread from leaving the child with a
// half-finished call and a locked mutex.
void Session::BeforeFork() {
    Instance().mutex_.lock();
}

void Session::AfterForkInParent() {
    Instance().mutex_.unlock();
}

void Session::AfterForkInChild() {
    Session& session = Instance();
    // SQLite connections must not cross fork: the child does not hold the parent's file locks.
    // The child opens the file afresh on its next call; key handles stay valid for it.
    if (session.store_ && !session.inMemory_) {
        session.store_->Abandon();
        session.store_.reset();
    }
    session.mutex_.unlock();
}

bool Session::Configure(const std::string& hostPath) {
    std::lock_guard lock(mutex_);
    store_.reset();
    inMemory_ = false;
    handles_.Clear();
    path_ = hostPath.empty() ? DefaultRegistryPath() : hostPath;
    configured_ = true;
    return !path_.empty() && CreateRegistryFolder(path_);
}

std::string Session::Path() {
    std::lock_guard lock(mutex_);
    return configured_ ? path_ : DefaultRegistryPath();
}

void Session::Close() {
    std::lock_guard lock(mutex_);
    // An in-memory registry has nothing to come back to.
    if (!inMemory_)
        store_.reset();
}

bool Session::IsPersistent() {
    std::lock_guard lock(mutex_);
    LONG error = ERROR_SUCCESS;
    try {
        return OpenStore(error) && !inMemory_;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

LONG Session::CloseKey(HKEY handle) {
    std::lock_guard lock(mutex_);
    return handles_.Remove(handle) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

KeyStore* Session::OpenStore(LONG& error) {
    if (store_)
        return &*store_;
    if (!configured_) {
        path_ = DefaultRegistryPath();
        configured_ = true;
    }
    OpenedStore opened = OpenRegistryStore(path_);
    if (!opened.store) {
        error = opened.error;
        return nullptr;
    }
    if (opened.replaced)
        handles_.Clear();
    inMemory_ = opened.inMemory;
    store_ = std::move(opened.store);
    return &*store_;
}

LONG Session::Failed(const SqliteError& e) {
    ReportProblem("a call on " + path_ + " failed: " + e.what());
    switch (e.PrimaryCode()) {
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            // The next call checks the file again and moves it aside if it is damaged.
            if (!inMemory_)
                store_.reset();
            return ERROR_REGISTRY_CORRUPT;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return ERROR_CANTWRITE;
        case SQLITE_FULL:
            return ERROR_DISK_FULL;
        case SQLITE_NOMEM:
            return ERROR_OUTOFMEMORY;
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return ERROR_ACCESS_DENIED;
        case SQLITE_TOOBIG:
            return ERROR_INVALID_PARAMETER;
        default:
            return ERROR_CANTREAD;
    }
}

LONG Session::Unexpected(const std::exception& e) {
    ReportProblem("a call on " + path_ + " failed unexpectedly: " + e.what());
    return ERROR_CANTREAD;
}

}  // namespace platform::registry
