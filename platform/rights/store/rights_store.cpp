#include "platform/rights/store/rights_store.h"

#include "platform/rights/store/store_rows.h"

namespace platform::rights {

using registry::Database;
using registry::Transaction;

RightsStore::RightsStore(Database db) : db_(std::move(db)) {}

RightsStore RightsStore::Open(const std::string& path) {
    Database db = Database::Open(path);
    store::PrepareStore(db);
    return RightsStore(std::move(db));
}

InstallOutcome RightsStore::Install(const RightsObject& object,
                                    std::span<const std::uint8_t> bytes) {
    const store::Digest digest = store::DigestOf(bytes);
    Transaction transaction(db_, Transaction::Kind::Write);
    if (!store::InsertRights(db_, digest, object))
        return InstallOutcome::AlreadyInstalled;
    transaction.Commit();
    return InstallOutcome::Installed;
}

std::vector<StoredRights> RightsStore::ForUid(std::string_view uid) {
    Transaction transaction(db_, Transaction::Kind::Read);
    std::vector<StoredRights> rights = store::SelectRights(db_, uid);
    transaction.Commit();
    return rights;
}

std::vector<StoredRights> RightsStore::All() {
    Transaction transaction(db_, Transaction::Kind::Read);
    std::vector<StoredRights> rights = store::SelectRights(db_, std::nullopt);
    transaction.Commit();
    return rights;
}

SpendOutcome RightsStore::Spend(std::string_view uid, Permission permission, std::int64_t now) {
    // The write lock is taken before reading, so two processes spending at once cannot both
    // spend the last use.
    Transaction transaction(db_, Transaction::Kind::Write);
    const std::vector<StoredRights> rights = store::SelectRights(db_, uid);
    const auto chosen = ChooseRightsToSpend(rights, permission, now);
    if (!chosen)
        return SpendOutcome::NotAllowed;
    const StoredRights& spent = rights[*chosen];
    const Constraint& constraint = spent.object.permissions.at(permission);
    const auto stored = spent.state.find(permission);
    const PermissionState before =
        stored == spent.state.end() ? InitialState(constraint) : stored->second;
    const PermissionState after = AfterUse(constraint, before, now);
    if (after != before)
        store::UpdateState(db_, spent.id, permission, after);
    transaction.Commit();
    return SpendOutcome::Spent;
}

}  // namespace platform::rights
