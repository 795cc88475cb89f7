#include "platform/rights/store/store_rows.h"

#include <openssl/evp.h>
#include <sqlite3.h>

#include <charconv>
#include <limits>
#include <string>

namespace platform::rights::store {
namespace {

using registry::Database;
using registry::SqliteError;
using registry::Statement;
using registry::Transaction;

constexpr int kSchemaVersion = 1;

// Rows are never deleted, so the row id is the install order. Text is kept as blobs so that it
// comes back byte for byte; an empty key blob means the object carries no key.
constexpr const char* kSchemaSql = R"(
CREATE TABLE IF NOT EXISTS rights_objects (
  id INTEGER PRIMARY KEY,
  digest BLOB NOT NULL UNIQUE,
  uid BLOB NOT NULL,
  version BLOB NOT NULL,
  content_key BLOB NOT NULL
);
CREATE INDEX IF NOT EXISTS rights_objects_by_uid ON rights_objects(uid, id);
CREATE TABLE IF NOT EXISTS permissions (
  rights_id INTEGER NOT NULL REFERENCES rights_objects(id),
  permission INTEGER NOT NULL,
  count INTEGER,
  start_time INTEGER,
  end_time INTEGER,
  interval_seconds INTEGER,
  remaining_count INTEGER,
  interval_end INTEGER,
  PRIMARY KEY (rights_id, permission)
) WITHOUT ROWID;
)";

enum Slot : std::size_t { kInsertObject, kInsertPermission, kSelectUid, kSelectAll, kUpdateState };

// Optional values are bound as a flag and a value, the flag choosing NULL.
constexpr const char* kInsertObjectSql =
    "INSERT INTO rights_objects (digest, uid, version, content_key) VALUES (?1, ?2, ?3, ?4) "
    "ON CONFLICT (digest) DO NOTHING";
constexpr const char* kInsertPermissionSql =
    "INSERT INTO permissions VALUES (?1, ?2, CASE WHEN ?3 THEN ?4 END, CASE WHEN ?5 THEN ?6 END, "
    "CASE WHEN ?7 THEN ?8 END, CASE WHEN ?9 THEN ?10 END, CASE WHEN ?11 THEN ?12 END, "
    "CASE WHEN ?13 THEN ?14 END)";
constexpr const char* kUpdateStateSql =
    "UPDATE permissions SET remaining_count = CASE WHEN ?3 THEN ?4 END, "
    "interval_end = CASE WHEN ?5 THEN ?6 END WHERE rights_id = ?1 AND permission = ?2";

#define PICTARIUM_SELECT_RIGHTS                                                                \
    "SELECT r.id, r.uid, r.version, r.content_key, p.rights_id IS NOT NULL, p.permission, "    \
    "p.count IS NOT NULL, p.count, p.start_time IS NOT NULL, p.start_time, "                   \
    "p.end_time IS NOT NULL, p.end_time, p.interval_seconds IS NOT NULL, p.interval_seconds, " \
    "p.remaining_count IS NOT NULL, p.remaining_count, "                                       \
    "p.interval_end IS NOT NULL, p.interval_end "                                              \
    "FROM rights_objects r LEFT JOIN permissions p ON p.rights_id = r.id "
constexpr const char* kSelectUidSql =
    PICTARIUM_SELECT_RIGHTS "WHERE r.uid = ?1 ORDER BY r.id, p.permission";
constexpr const char* kSelectAllSql = PICTARIUM_SELECT_RIGHTS "ORDER BY r.id, p.permission";
#undef PICTARIUM_SELECT_RIGHTS

enum Column {
    kId,
    kUid,
    kVersion,
    kKey,
    kHasPermission,
    kPermission,
    kCount,
    kStart = kCount + 2,
    kEnd = kStart + 2,
    kInterval = kEnd + 2,
    kRemaining = kInterval + 2,
    kIntervalEnd = kRemaining + 2,
};

// Stored numbers, fixed here so that reordering the enumeration can never remap a stored right.
constexpr std::pair<Permission, std::int64_t> kPermissionCodes[] = {
    {Permission::Display, 0},
    {Permission::Play, 1},
    {Permission::Execute, 2},
    {Permission::Print, 3},
};

std::int64_t CodeOf(Permission permission) {
    for (const auto& [known, code] : kPermissionCodes) {
        if (known == permission)
            return code;
    }
    throw SqliteError(SQLITE_MISUSE, "unknown rights permission");
}

[[noreturn]] void Damaged(std::int64_t id, const char* what) {
    throw SqliteError(SQLITE_CORRUPT,
                      "rights store: object " + std::to_string(id) + " has " + what);
}

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Text(std::span<const std::uint8_t> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

template <typename T>
void BindOptional(Statement& statement, int flagIndex, const std::optional<T>& value) {
    statement.Bind(flagIndex, std::int64_t{value.has_value()});
    statement.Bind(flagIndex + 1, static_cast<std::int64_t>(value.value_or(0)));
}

std::optional<std::int64_t> ReadOptional(const Statement& row, int column) {
    if (row.Int64(column) == 0)
        return std::nullopt;
    return row.Int64(column + 1);
}

// A count outside what a rights object can hold would grant by guess, so it is refused.
std::optional<std::uint32_t> ReadCount(const Statement& row, int column, std::int64_t id) {
    const auto value = ReadOptional(row, column);
    if (!value)
        return std::nullopt;
    if (*value < 0 || *value > std::numeric_limits<std::uint32_t>::max())
        Damaged(id, "a count out of range");
    return static_cast<std::uint32_t>(*value);
}

Permission ReadPermission(const Statement& row, std::int64_t id) {
    const std::int64_t code = row.Int64(kPermission);
    for (const auto& [permission, known] : kPermissionCodes) {
        if (known == code)
            return permission;
    }
    Damaged(id, "an unknown permission");
}

StoredRights ReadObject(const Statement& row) {
    StoredRights rights;
    rights.id = row.Int64(kId);
    rights.object.uid = Text(row.Blob(kUid));
    rights.object.version = Text(row.Blob(kVersion));
    const auto key = row.Blob(kKey);
    if (key.size() == 16) {
        rights.object.key.emplace();
        std::copy(key.begin(), key.end(), rights.object.key->begin());
    } else if (!key.empty()) {
        Damaged(rights.id, "a key of the wrong length");
    }
    return rights;
}

void ReadPermissionRow(const Statement& row, StoredRights& rights) {
    const Permission permission = ReadPermission(row, rights.id);
    Constraint constraint;
    constraint.count = ReadCount(row, kCount, rights.id);
    constraint.start = ReadOptional(row, kStart);
    constraint.end = ReadOptional(row, kEnd);
    constraint.interval = ReadOptional(row, kInterval);
    PermissionState state;
    state.remainingCount = ReadCount(row, kRemaining, rights.id);
    state.intervalEnd = ReadOptional(row, kIntervalEnd);
    if (constraint.count && state.remainingCount && *state.remainingCount > *constraint.count)
        Damaged(rights.id, "more uses left than granted");
    rights.object.permissions.emplace(permission, constraint);
    rights.state.emplace(permission, state);
}

int SchemaVersion(Database& db) {
    const std::string text = db.QueryText("PRAGMA user_version");
    int version = 0;
    std::from_chars(text.data(), text.data() + text.size(), version);
    return version;
}

void RefuseNewer(int version) {
    if (version > kSchemaVersion) {
        throw SqliteError(SQLITE_CANTOPEN, "rights store has layout " + std::to_string(version) +
                                               ", newer than this program knows");
    }
}

}  // namespace

Digest DigestOf(std::span<const std::uint8_t> bytes) {
    Digest digest{};
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &size, EVP_sha256(), nullptr) != 1 ||
        size != digest.size()) {
        throw SqliteError(SQLITE_ERROR, "rights store: cannot compute a SHA-256 digest");
    }
    return digest;
}

void PrepareStore(Database& db) {
    // A newer program's file is left exactly as it is, so its state survives a downgrade.
    RefuseNewer(SchemaVersion(db));
    db.Exec("PRAGMA journal_mode = WAL");
    if (SchemaVersion(db) == kSchemaVersion)
        return;
    // Another process may be creating the tables at the same moment; the write lock settles it.
    Transaction transaction(db, Transaction::Kind::Write);
    const int version = SchemaVersion(db);
    RefuseNewer(version);
    if (version < kSchemaVersion) {
        db.Exec(kSchemaSql);
        db.Exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    }
    transaction.Commit();
}

bool InsertRights(Database& db, const Digest& digest, const RightsObject& object) {
    const std::span<const std::uint8_t> key =
        object.key ? std::span<const std::uint8_t>(*object.key) : std::span<const std::uint8_t>();
    db.Cached(kInsertObject, kInsertObjectSql)
        .Bind(1, digest)
        .Bind(2, Bytes(object.uid))
        .Bind(3, Bytes(object.version))
        .Bind(4, key)
        .Run();
    if (db.Changes() == 0)
        return false;
    const std::int64_t id = db.LastInsertRowid();
    for (const auto& [permission, constraint] : object.permissions) {
        const PermissionState state = InitialState(constraint);
        Statement insert = db.Cached(kInsertPermission, kInsertPermissionSql);
        insert.Bind(1, id).Bind(2, CodeOf(permission));
        BindOptional(insert, 3, constraint.count);
        BindOptional(insert, 5, constraint.start);
        BindOptional(insert, 7, constraint.end);
        BindOptional(insert, 9, constraint.interval);
        BindOptional(insert, 11, state.remainingCount);
        BindOptional(insert, 13, state.intervalEnd);
        insert.Run();
    }
    return true;
}

std::vector<StoredRights> SelectRights(Database& db, std::optional<std::string_view> uid) {
    Statement row =
        uid ? db.Cached(kSelectUid, kSelectUidSql) : db.Cached(kSelectAll, kSelectAllSql);
    if (uid)
        row.Bind(1, Bytes(*uid));
    std::vector<StoredRights> out;
    while (row.Step()) {
        if (out.empty() || out.back().id != row.Int64(kId))
            out.push_back(ReadObject(row));
        if (row.Int64(kHasPermission) != 0)
            ReadPermissionRow(row, out.back());
    }
    return out;
}

void UpdateState(Database& db, std::int64_t rightsId, Permission permission,
                 const PermissionState& state) {
    Statement update = db.Cached(kUpdateState, kUpdateStateSql);
    update.Bind(1, rightsId).Bind(2, CodeOf(permission));
    BindOptional(update, 3, state.remainingCount);
    BindOptional(update, 5, state.intervalEnd);
    update.Run();
    if (db.Changes() != 1)
        Damaged(rightsId, "no state for the permission spent");
}

}  // namespace platform::rights::store
