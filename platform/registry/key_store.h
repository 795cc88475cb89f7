// The registry's keys and values in one SQLite database. Each operation is one short
// transaction, so that another process sees either all of a change or none of it, and answers
// with a Win32 result; SQLite failures are thrown as SqliteError.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/types.h"
#include "platform/registry/reg_names.h"
#include "platform/registry/sqlite_db.h"

namespace platform::registry {

using KeyId = std::int64_t;

// The predefined roots have the same ids in every database, so a root handle never goes stale.
constexpr KeyId kClassesRootId = 1;
constexpr KeyId kCurrentUserId = 2;
constexpr KeyId kLocalMachineId = 3;
constexpr KeyId kUsersId = 4;

struct ValueRecord {
    std::u16string name;
    DWORD type = 0;
    Bytes data;
};

struct KeyInfo {
    DWORD subKeys = 0;
    DWORD maxSubKeyLength = 0;
    DWORD values = 0;
    DWORD maxValueNameLength = 0;
    DWORD maxValueLength = 0;
    FILETIME lastWrite{};
};

// What a database file turned out to hold when it was prepared for use.
struct SchemaCheck {
    enum class Result { Ready, Damaged, Newer };
    Result result = Result::Ready;
    std::string detail;  // the integrity report, or the newer schema version
};

// Checks a freshly opened database, switches it to write-ahead logging (so that readers and one
// writer in other processes do not block each other) and creates the schema when it is new.
SchemaCheck PrepareDatabase(Database& db);

class KeyStore {
  public:
    explicit KeyStore(Database db) : db_(std::move(db)) {}

    // `base` is an existing key; `path` the names below it (empty: `base` itself).
    LONG OpenKey(KeyId base, std::span<const std::u16string> path, KeyId& found);
    LONG CreateKey(KeyId base, std::span<const std::u16string> path, KeyId& found, bool& created);
    LONG DeleteKey(KeyId base, std::span<const std::u16string> path);

    LONG GetValue(KeyId key, std::u16string_view name, ValueRecord& value);
    LONG SetValue(KeyId key, std::u16string_view name, DWORD type,
                  std::span<const std::uint8_t> data);
    LONG DeleteValue(KeyId key, std::u16string_view name);

    LONG EnumKey(KeyId key, DWORD index, std::u16string& name, FILETIME& lastWrite);
    LONG EnumValue(KeyId key, DWORD index, ValueRecord& value);
    LONG QueryInfo(KeyId key, KeyInfo& info);

    // Copies the write-ahead log into the database file and syncs it; false when other
    // processes kept it from finishing.
    bool Flush();
    // See Database::Abandon.
    void Abandon() { db_.Abandon(); }

  private:
    bool KeyExists(KeyId key);
    // Walks `path` from `base`; 0 when a name is missing.
    KeyId FindPath(KeyId base, std::span<const std::u16string> path);
    KeyId FindChild(KeyId parent, std::u16string_view name);
    KeyId InsertChild(KeyId parent, std::u16string_view name);
    void Touch(KeyId key);
    bool HasChildren(KeyId key);

    Database db_;
};

}  // namespace platform::registry
