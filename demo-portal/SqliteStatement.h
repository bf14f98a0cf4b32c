#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tivora::demo {

// A prepared statement, finalized with its owner. Parameters are numbered from 1, columns from 0.
class SqliteStatement final {
public:
    SqliteStatement(sqlite3* database, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    [[nodiscard]] bool isValid() const { return statement_ != nullptr; }
    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, std::string_view text);
    // True while a row is ready; check done() afterwards to tell the end from an error.
    [[nodiscard]] bool nextRow();
    [[nodiscard]] bool done() const { return done_; }
    // Runs a statement that returns no rows; true on success.
    [[nodiscard]] bool run();
    [[nodiscard]] std::int64_t integer(int column) const;
    [[nodiscard]] std::string text(int column) const;

private:
    sqlite3_stmt* statement_ = nullptr;
    bool done_ = false;
};

}  // namespace tivora::demo
