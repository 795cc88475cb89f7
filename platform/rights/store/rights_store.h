// The rights store: the rights objects installed on this device and what has been spent of them.
// One SQLite file per user, beside the registry; safe to share with other processes (the tool
// installs while the program runs). SQLite failures are thrown as registry::SqliteError.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/sqlite_db.h"
#include "platform/rights/rel/rights_object.h"
#include "platform/rights/rules/rights_rules.h"

namespace platform::rights {

enum class InstallOutcome { Installed, AlreadyInstalled };

// What one committed use did.
enum class SpendOutcome {
    Spent,      // a rights object allowed it; its state was updated (or needed no change)
    NotAllowed  // nothing allows the use now; nothing changed
};

class RightsStore {
  public:
    // Opens or creates the store at `path` (":memory:" for a private one) and its tables.
    static RightsStore Open(const std::string& path);

    // Installs a rights object with the bytes it arrived as. The key is a SHA-256 digest of
    // `bytes`, so installing the same object again (say, opening a combined-delivery message a
    // second time) never resets what has been spent.
    InstallOutcome Install(const RightsObject& object, std::span<const std::uint8_t> bytes);

    // Every rights object for `uid`, used-up ones included, in install order.
    std::vector<StoredRights> ForUid(std::string_view uid);
    // Every rights object, in install order.
    std::vector<StoredRights> All();

    // One committed use of `permission` of the content `uid` at `now`, in one write transaction:
    // the rights object ChooseRightsToSpend picks is updated with AfterUse.
    SpendOutcome Spend(std::string_view uid, Permission permission, std::int64_t now);

  private:
    explicit RightsStore(registry::Database db);
    registry::Database db_;
};

}  // namespace platform::rights
