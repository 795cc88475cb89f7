#include "platform/registry/key_store.h"

#include <chrono>
#include <iterator>

#include "platform/core/error.h"
#include "platform/core/time.h"

namespace platform::registry {
namespace {

constexpr int kSchemaVersion = 1;

// Keys never reuse an id (AUTOINCREMENT), so a handle to a deleted key cannot silently land on a
// newer key that happens to get the same number.
constexpr const char* kSchemaSql = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER NOT NULL,
    name BLOB NOT NULL,
    folded BLOB NOT NULL,
    written INTEGER NOT NULL,
    UNIQUE(parent, folded));
CREATE TABLE IF NOT EXISTS vals(
    key INTEGER NOT NULL,
    folded BLOB NOT NULL,
    name BLOB NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(key, folded)) WITHOUT ROWID;
)sql";

enum Slot : std::size_t {
    kKeyWritten,
    kFindChild,
    kInsertKey,
    kInsertRoot,
    kTouchKey,
    kHasChild,
    kDeleteValues,
    kDeleteKeyRow,
    kGetValue,
    kSetValue,
    kDeleteValue,
    kEnumKey,
    kEnumValue,
    kSubKeyInfo,
    kValueInfo,
    kSlotCount,
};

constexpr const char* kSql[] = {
    "SELECT written FROM keys WHERE id = ?1",
    "SELECT id FROM keys WHERE parent = ?1 AND folded = ?2",
    "INSERT INTO keys(parent, name, folded, written) VALUES(?1, ?2, ?3, ?4)",
    "INSERT OR IGNORE INTO keys(id, parent, name, folded, written) VALUES(?1, 0, ?2, ?3, ?4)",
    "UPDATE keys SET written = ?2 WHERE id = ?1",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    "DELETE FROM vals WHERE key = ?1",
    "DELETE FROM keys WHERE id = ?1",
    "SELECT name, type, data FROM vals WHERE key = ?1 AND folded = ?2",
    // Overwriting keeps the name's original case, as the handheld does.
    "INSERT INTO vals(key, folded, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data",
    "DELETE FROM vals WHERE key = ?1 AND folded = ?2",
    "SELECT name, written FROM keys WHERE parent = ?1 ORDER BY folded LIMIT 1 OFFSET ?2",
    "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY folded LIMIT 1 OFFSET ?2",
    // length() of a blob is in bytes; names are two bytes a character.
    "SELECT count(*), coalesce(max(length(name)), 0) / 2 FROM keys WHERE parent = ?1",
    "SELECT count(*), coalesce(max(length(name)), 0) / 2, coalesce(max(length(data)), 0) "
    "FROM vals WHERE key = ?1",
};
static_assert(std::size(kSql) == kSlotCount);

struct RootKey {
    KeyId id;
    const char16_t* name;
};
constexpr RootKey kRoots[] = {{kClassesRootId, u"HKEY_CLASSES_ROOT"},
                              {kCurrentUserId, u"HKEY_CURRENT_USER"},
                              {kLocalMachineId, u"HKEY_LOCAL_MACHINE"},
                              {kUsersId, u"HKEY_USERS"}};

std::int64_t NowFileTime() {
    using namespace std::chrono;
    const auto sinceEpoch = system_clock::now().time_since_epoch();
    const auto seconds = duration_cast<std::chrono::seconds>(sinceEpoch);
    const FILETIME now = platform::FileTimeFromUnix(
        seconds.count(), duration_cast<nanoseconds>(sinceEpoch - seconds).count());
    return static_cast<std::int64_t>((std::uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}

FILETIME ToFileTime(std::int64_t quad) {
    const auto bits = static_cast<std::uint64_t>(quad);
    return FILETIME{static_cast<DWORD>(bits & 0xFFFFFFFF), static_cast<DWORD>(bits >> 32)};
}

DWORD ToDword(std::int64_t value) {
    return static_cast<DWORD>(value);
}

ValueRecord ReadValue(const Statement& row) {
    ValueRecord value;
    value.name = DecodeName(row.Blob(0));
    value.type = ToDword(row.Int64(1));
    const auto data = row.Blob(2);
    value.data.assign(data.begin(), data.end());
    return value;
}

int SchemaVersion(Database& db) {
    return std::stoi("0" + db.QueryText("PRAGMA user_version"));
}

void CreateSchema(Database& db) {
    db.Exec(kSchemaSql);
    db.Exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
}

}  // namespace

SchemaCheck PrepareDatabase(Database& db) {
    // Both checks come before anything is written, so that a damaged file is moved aside and a
    // newer program's file left alone exactly as they were.
    const std::string integrity = db.QueryText("PRAGMA quick_check");
    if (integrity != "ok")
        return {SchemaCheck::Result::Damaged, integrity};
    if (SchemaVersion(db) > kSchemaVersion) {
        return {SchemaCheck::Result::Newer, std::to_string(SchemaVersion(db))};
    }
    db.Exec("PRAGMA journal_mode = WAL");
    // With write-ahead logging this cannot corrupt the file; at worst the last changes before a
    // power cut are lost, and RegFlushKey is there for values that must survive one.
    db.Exec("PRAGMA synchronous = NORMAL");

    // Another process may be creating the schema at the same moment; the write lock settles it.
    Transaction transaction(db, Transaction::Kind::Write);
    const int version = SchemaVersion(db);
    if (version > kSchemaVersion)
        return {SchemaCheck::Result::Newer, std::to_string(version)};
    if (version < kSchemaVersion)
        CreateSchema(db);
    const std::int64_t now = NowFileTime();
    for (const RootKey& root : kRoots) {
        db.Cached(kInsertRoot, kSql[kInsertRoot])
            .Bind(1, root.id)
            .Bind(2, EncodeName(root.name))
            .Bind(3, FoldName(root.name))
            .Bind(4, now)
            .Run();
    }
    transaction.Commit();
    return {};
}

bool KeyStore::KeyExists(KeyId key) {
    return db_.Cached(kKeyWritten, kSql[kKeyWritten]).Bind(1, key).Step();
}

KeyId KeyStore::FindChild(KeyId parent, std::u16string_view name) {
    auto statement = db_.Cached(kFindChild, kSql[kFindChild]);
    statement.Bind(1, parent).Bind(2, FoldName(name));
    return statement.Step() ? statement.Int64(0) : 0;
}

KeyId KeyStore::FindPath(KeyId base, std::span<const std::u16string> path) {
    KeyId key = base;
    for (const auto& name : path) {
        key = FindChild(key, name);
        if (key == 0)
            break;
    }
    return key;
}

KeyId KeyStore::InsertChild(KeyId parent, std::u16string_view name) {
    db_.Cached(kInsertKey, kSql[kInsertKey])
        .Bind(1, parent)
        .Bind(2, EncodeName(name))
        .Bind(3, FoldName(name))
        .Bind(4, NowFileTime())
        .Run();
    return db_.LastInsertRowid();
}

void KeyStore::Touch(KeyId key) {
    db_.Cached(kTouchKey, kSql[kTouchKey]).Bind(1, key).Bind(2, NowFileTime()).Run();
}

bool KeyStore::HasChildren(KeyId key) {
    return db_.Cached(kHasChild, kSql[kHasChild]).Bind(1, key).Step();
}

LONG KeyStore::OpenKey(KeyId base, std::span<const std::u16string> path, KeyId& found) {
    Transaction transaction(db_, Transaction::Kind::Read);
    if (!KeyExists(base))
        return ERROR_KEY_DELETED;
    found = FindPath(base, path);
    transaction.Commit();
    return found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG KeyStore::CreateKey(KeyId base, std::span<const std::u16string> path, KeyId& found,
                         bool& created) {
    Transaction transaction(db_, Transaction::Kind::Write);
    if (!KeyExists(base))
        return ERROR_KEY_DELETED;
    created = false;
    KeyId key = base;
    for (const auto& name : path) {
        const KeyId child = created ? 0 : FindChild(key, name);
        if (child) {
            key = child;
        } else {
            key = InsertChild(key, name);
            created = true;
        }
    }
    transaction.Commit();
    found = key;
    return ERROR_SUCCESS;
}

LONG KeyStore::DeleteKey(KeyId base, std::span<const std::u16string> path) {
    Transaction transaction(db_, Transaction::Kind::Write);
    if (!KeyExists(base))
        return ERROR_KEY_DELETED;
    const KeyId key = FindPath(base, path);
    if (key == 0)
        return ERROR_FILE_NOT_FOUND;
    if (key <= kUsersId || HasChildren(key))
        return ERROR_ACCESS_DENIED;
    db_.Cached(kDeleteValues, kSql[kDeleteValues]).Bind(1, key).Run();
    db_.Cached(kDeleteKeyRow, kSql[kDeleteKeyRow]).Bind(1, key).Run();
    transaction.Commit();
    return ERROR_SUCCESS;
}

LONG KeyStore::GetValue(KeyId key, std::u16string_view name, ValueRecord& value) {
    Transaction transaction(db_, Transaction::Kind::Read);
    if (!KeyExists(key))
        return ERROR_KEY_DELETED;
    {
        auto row = db_.Cached(kGetValue, kSql[kGetValue]);
        if (!row.Bind(1, key).Bind(2, FoldName(name)).Step())
            return ERROR_FILE_NOT_FOUND;
        value = ReadValue(row);
    }
    transaction.Commit();
    return ERROR_SUCCESS;
}

LONG KeyStore::SetValue(KeyId key, std::u16string_view name, DWORD type,
                        std::span<const std::uint8_t> data) {
    Transaction transaction(db_, Transaction::Kind::Write);
    if (!KeyExists(key))
        return ERROR_KEY_DELETED;
    db_.Cached(kSetValue, kSql[kSetValue])
        .Bind(1, key)
        .Bind(2, FoldName(name))
        .Bind(3, EncodeName(name))
        .Bind(4, type)
        .Bind(5, data)
        .Run();
    Touch(key);
    transaction.Commit();
    return ERROR_SUCCESS;
}

LONG KeyStore::DeleteValue(KeyId key, std::u16string_view name) {
    Transaction transaction(db_, Transaction::Kind::Write);
    if (!KeyExists(key))
        return ERROR_KEY_DELETED;
    db_.Cached(kDeleteValue, kSql[kDeleteValue]).Bind(1, key).Bind(2, FoldName(name)).Run();
    if (db_.Changes() == 0)
        return ERROR_FILE_NOT_FOUND;
    Touch(key);
    transaction.Commit();
    return ERROR_SUCCESS;
}

LONG KeyStore::EnumKey(KeyId key, DWORD index, std::u16string& name, FILETIME& lastWrite) {
    Transaction transaction(db_, Transaction::Kind::Read);
    if (!KeyExists(key))
        return ERROR_KEY_DELETED;
    {
        auto row = db_.Cached(kEnumKey, kSql[kEnumKey]);
        if (!row.Bind(1, key).Bind(2, std::int64_t{index}).Step())
            return ERROR_NO_MORE_ITEMS;
        name = DecodeName(row.Blob(0));
        lastWrite = ToFileTime(row.Int64(1));
    }
    transaction.Commit();
    return ERROR_SUCCESS;
}

LONG KeyStore::EnumValue(KeyId key, DWORD index, ValueRecord& value) {
    Transaction transaction(db_, Transaction::Kind::Read);
    if (!KeyExists(key))
        return ERROR_KEY_DELETED;
    {
        auto row = db_.Cached(kEnumValue, kSql[kEnumValue]);
        if (!row.Bind(1, key).Bind(2, std::int64_t{index}).Step())
            return ERROR_NO_MORE_ITEMS;
        value = ReadValue(row);
    }
    transaction.Commit();
    return ERROR_SUCCESS;
}

LONG KeyStore::QueryInfo(KeyId key, KeyInfo& info) {
    Transaction transaction(db_, Transaction::Kind::Read);
    {
        auto written = db_.Cached(kKeyWritten, kSql[kKeyWritten]);
        if (!written.Bind(1, key).Step())
            return ERROR_KEY_DELETED;
        info.lastWrite = ToFileTime(written.Int64(0));
    }
    {
        auto keys = db_.Cached(kSubKeyInfo, kSql[kSubKeyInfo]);
        keys.Bind(1, key).Step();
        info.subKeys = ToDword(keys.Int64(0));
        info.maxSubKeyLength = ToDword(keys.Int64(1));
    }
    {
        auto values = db_.Cached(kValueInfo, kSql[kValueInfo]);
        values.Bind(1, key).Step();
        info.values = ToDword(values.Int64(0));
        info.maxValueNameLength = ToDword(values.Int64(1));
        info.maxValueLength = ToDword(values.Int64(2));
    }
    transaction.Commit();
    return ERROR_SUCCESS;
}

bool KeyStore::Flush() {
    // TRUNCATE waits for other processes' readers and syncs the database file; its first column
    // is 1 when they kept it from finishing.
    return db_.QueryText("PRAGMA wal_checkpoint(TRUNCATE)") != "1";
}

}  // namespace platform::registry
