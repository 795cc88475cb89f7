// A small RAII layer over SQLite: a connection with a cache of prepared statements, statements
// that reset themselves when done, and transactions that roll back unless committed. SQLite
// failures are thrown as SqliteError and turned into Win32 results at the registry's boundary.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::registry {

class SqliteError : public std::runtime_error {
  public:
    SqliteError(int code, const std::string& message);
    // The extended result code; `PrimaryCode` strips the extension.
    int Code() const { return code_; }
    int PrimaryCode() const { return code_ & 0xFF; }

  private:
    int code_;
};

// One use of a cached prepared statement. Binding indexes start at 1, column indexes at 0.
class Statement {
  public:
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, std::span<const std::uint8_t> blob);
    // True while a row is available; throws on failure.
    bool Step();
    // Steps a statement that returns no rows.
    void Run();

    std::int64_t Int64(int column) const;
    std::span<const std::uint8_t> Blob(int column) const;
    std::string Text(int column) const;

  private:
    sqlite3_stmt* statement_;
};

class Database {
  public:
    // Opens (creating if missing) the file at `path`, or an in-memory database for ":memory:".
    static Database Open(const std::string& path);

    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();

    // Runs one or more statements that return nothing of interest.
    void Exec(const char* sql);
    // The statement in cache slot `slot`, prepared from `sql` on first use.
    Statement Cached(std::size_t slot, const char* sql);
    std::int64_t Changes() const;
    std::int64_t LastInsertRowid() const;
    // The first column of the first row of a one-off statement such as a PRAGMA; empty when
    // there is no row.
    std::string QueryText(const char* sql);
    sqlite3* Raw() const { return connection_.get(); }
    // Gives up the connection without closing it. Only for a child process after fork, which
    // must neither use nor close the parent's connection.
    void Abandon();

  private:
    friend class Transaction;
    struct ConnectionCloser {
        void operator()(sqlite3* connection) const;
    };
    struct StatementFinalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    explicit Database(sqlite3* connection);
    Statement CachedAt(std::size_t index, const char* sql);

    // Declared first so that it is destroyed last, after the statements prepared on it.
    std::unique_ptr<sqlite3, ConnectionCloser> connection_;
    std::vector<std::unique_ptr<sqlite3_stmt, StatementFinalizer>> statements_;
};

// BEGIN for reads, BEGIN IMMEDIATE for writes (taking the write lock up front, so that the busy
// timeout applies instead of a failed upgrade half-way); rolled back unless committed.
class Transaction {
  public:
    enum class Kind { Read, Write };
    Transaction(Database& db, Kind kind);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void Commit();

  private:
    Database& db_;
    bool open_ = true;
};

}  // namespace platform::registry
