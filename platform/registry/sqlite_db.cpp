#include "platform/registry/sqlite_db.h"

#include <sqlite3.h>

namespace platform::registry {
namespace {

// Long enough to ride out another process's write transaction or checkpoint, short enough that a
// wedged peer cannot hang the program.
constexpr int kBusyTimeoutMs = 5000;

// Cache slots the connection keeps for itself; callers' slots come after them.
enum ControlSlot : std::size_t { kBeginRead, kBeginWrite, kCommit, kReservedSlots };
constexpr const char* kControlSql[] = {"BEGIN", "BEGIN IMMEDIATE", "COMMIT"};

[[noreturn]] void Throw(sqlite3* connection, int code) {
    const char* message = connection ? sqlite3_errmsg(connection) : sqlite3_errstr(code);
    throw SqliteError(code, message);
}

}  // namespace

SqliteError::SqliteError(int code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

Statement::~Statement() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

Statement& Statement::Bind(int index, std::int64_t value) {
    const int rc = sqlite3_bind_int64(statement_, index, value);
    if (rc != SQLITE_OK)
        Throw(sqlite3_db_handle(statement_), rc);
    return *this;
}

Statement& Statement::Bind(int index, std::span<const std::uint8_t> blob) {
    // A null pointer would bind SQL NULL; an empty value must stay an empty blob.
    const int rc = blob.empty() ? sqlite3_bind_zeroblob(statement_, index, 0)
                                : sqlite3_bind_blob64(statement_, index, blob.data(), blob.size(),
                                                      SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        Throw(sqlite3_db_handle(statement_), rc);
    return *this;
}

bool Statement::Step() {
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    Throw(sqlite3_db_handle(statement_), sqlite3_extended_errcode(sqlite3_db_handle(statement_)));
}

void Statement::Run() {
    while (Step()) {
    }
}

std::int64_t Statement::Int64(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::span<const std::uint8_t> Statement::Blob(int column) const {
    const void* data = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (!data || size <= 0)
        return {};
    return {static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size)};
}

std::string Statement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_, column);
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

void Database::ConnectionCloser::operator()(sqlite3* connection) const {
    sqlite3_close_v2(connection);
}

void Database::StatementFinalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

Database::Database(sqlite3* connection) : connection_(connection) {}
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&& other) noexcept {
    // Statements must go before the connection they were prepared on.
    statements_ = std::move(other.statements_);
    connection_ = std::move(other.connection_);
    return *this;
}
Database::~Database() {
    statements_.clear();
}

Database Database::Open(const std::string& path) {
    sqlite3* raw = nullptr;
    // The registry serialises its own calls, so SQLite's per-connection mutex is not needed.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK)
        Throw(nullptr, raw ? sqlite3_extended_errcode(raw) : rc);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    return db;
}

void Database::Exec(const char* sql) {
    const int rc = sqlite3_exec(Raw(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Throw(Raw(), sqlite3_extended_errcode(Raw()));
}

Statement Database::Cached(std::size_t slot, const char* sql) {
    return CachedAt(slot + kReservedSlots, sql);
}

Statement Database::CachedAt(std::size_t index, const char* sql) {
    if (index >= statements_.size())
        statements_.resize(index + 1);
    auto& cached = statements_[index];
    if (!cached) {
        sqlite3_stmt* statement = nullptr;
        const int rc =
            sqlite3_prepare_v3(Raw(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
        if (rc != SQLITE_OK)
            Throw(Raw(), sqlite3_extended_errcode(Raw()));
        cached.reset(statement);
    }
    return Statement(cached.get());
}

std::int64_t Database::Changes() const {
    return sqlite3_changes64(Raw());
}

std::int64_t Database::LastInsertRowid() const {
    return sqlite3_last_insert_rowid(Raw());
}

std::string Database::QueryText(const char* sql) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(Raw(), sql, -1, &raw, nullptr);
    if (rc != SQLITE_OK)
        Throw(Raw(), sqlite3_extended_errcode(Raw()));
    const std::unique_ptr<sqlite3_stmt, StatementFinalizer> owned(raw);
    Statement statement(raw);
    return statement.Step() ? statement.Text(0) : std::string();
}

void Database::Abandon() {
    for (auto& statement : statements_)
        statement.release();
    statements_.clear();
    connection_.release();
}

Transaction::Transaction(Database& db, Kind kind) : db_(db) {
    const ControlSlot slot = kind == Kind::Write ? kBeginWrite : kBeginRead;
    db_.CachedAt(slot, kControlSql[slot]).Run();
}

Transaction::~Transaction() {
    // A failed statement may already have ended the transaction inside SQLite.
    if (open_ && !sqlite3_get_autocommit(db_.Raw())) {
        sqlite3_exec(db_.Raw(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::Commit() {
    db_.CachedAt(kCommit, kControlSql[kCommit]).Run();
    open_ = false;
}

}  // namespace platform::registry
