#include "demo-portal/SqliteStatement.h"

#include <sqlite3.h>

namespace tivora::demo {

SqliteStatement::SqliteStatement(sqlite3* database, std::string_view sql) {
    if (sqlite3_prepare_v2(database, sql.data(), static_cast<int>(sql.size()), &statement_,
                           nullptr) != SQLITE_OK) {
        statement_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

bool SqliteStatement::nextRow() {
    if (!statement_ || done_) {
        return false;
    }
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) {
        return true;
    }
    done_ = result == SQLITE_DONE;
    return false;
}

bool SqliteStatement::run() {
    return isValid() && !nextRow() && done_;
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::text(int column) const {
    const auto* data = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return data ? std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size))
                : std::string();
}

}  // namespace tivora::demo
