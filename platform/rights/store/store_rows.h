// How the rights store lays out its rows: the schema, the statements and the conversion between a
// row and a StoredRights. Private to the store.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/registry/sqlite_db.h"
#include "platform/rights/rules/rights_rules.h"

namespace platform::rights::store {

using Digest = std::array<std::uint8_t, 32>;

// The SHA-256 digest of the bytes a rights object arrived as.
Digest DigestOf(std::span<const std::uint8_t> bytes);

// Turns the file into a store of the current layout (write-ahead log, tables), or throws
// SqliteError, leaving the file as it was, when it is not one this program can use.
void PrepareStore(registry::Database& db);

// Adds the object and the initial state of each permission; false when an object with the same
// digest is already there. Call inside a write transaction.
bool InsertRights(registry::Database& db, const Digest& digest, const RightsObject& object);

// The objects for `uid`, or every object when `uid` is nullopt, in install order. Call inside a
// transaction so the objects and their states are read at one moment.
std::vector<StoredRights> SelectRights(registry::Database& db, std::optional<std::string_view> uid);

// Records what one use left of a permission.
void UpdateState(registry::Database& db, std::int64_t rightsId, Permission permission,
                 const PermissionState& state);

}  // namespace platform::rights::store
