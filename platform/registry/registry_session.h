// The process's registry: the chosen file, its store (opened on first use) and the open-key
// table, behind one mutex so that keys may be used from any thread. Each call runs start to end
// under the lock; SQLite failures become Win32 results here and go no further.
#pragma once

#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <string>

#include "platform/core/error.h"
#include "platform/core/types.h"
#include "platform/registry/key_handles.h"
#include "platform/registry/key_store.h"

namespace platform::registry {

class Session {
  public:
    // The process's one session; constructed by Instance only.
    static Session& Instance();
    Session();

    bool Configure(const std::string& hostPath);
    std::string Path();
    void Close();
    bool IsPersistent();
    LONG CloseKey(HKEY handle);

    // What an operation gets to work with: the store, the key behind the caller's handle, and
    // the handle table for operations that open keys.
    struct Call {
        KeyStore& store;
        KeyId key;
        KeyHandles& handles;
    };

    // Runs `op` (LONG(Call&)) for the key behind `handle`.
    template <typename Op>
    LONG Run(HKEY handle, Op&& op) {
        std::lock_guard lock(mutex_);
        try {
            const std::optional<KeyId> key = handles_.Find(handle);
            if (!key)
                return ERROR_INVALID_HANDLE;
            LONG error = ERROR_SUCCESS;
            KeyStore* store = OpenStore(error);
            if (!store)
                return error;
            Call call{*store, *key, handles_};
            return op(call);
        } catch (const SqliteError& e) {
            return Failed(e);
        } catch (const std::bad_alloc&) {
            return ERROR_OUTOFMEMORY;
        } catch (const std::exception& e) {
            return Unexpected(e);
        }
    }

  private:
    KeyStore* OpenStore(LONG& error);
    LONG Failed(const SqliteError& e);
    LONG Unexpected(const std::exception& e);
    static void BeforeFork();
    static void AfterForkInParent();
    static void AfterForkInChild();

    std::mutex mutex_;
    std::string path_;
    bool configured_ = false;
    std::optional<KeyStore> store_;
    bool inMemory_ = false;
    KeyHandles handles_;
};

}  // namespace platform::registry
