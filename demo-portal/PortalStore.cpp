#include "demo-portal/PortalStore.h"

#include "demo-portal/SqliteStatement.h"

#include <sqlite3.h>

namespace tivora::demo {

namespace {

constexpr std::string_view schema = R"sql(
CREATE TABLE IF NOT EXISTS favourites (
    seq INTEGER PRIMARY KEY AUTOINCREMENT,
    visitor TEXT NOT NULL,
    film_id INTEGER NOT NULL,
    name TEXT NOT NULL,
    added_at INTEGER NOT NULL,
    UNIQUE (visitor, film_id)
);
CREATE TABLE IF NOT EXISTS history (
    seq INTEGER PRIMARY KEY AUTOINCREMENT,
    visitor TEXT NOT NULL,
    film_id INTEGER NOT NULL,
    played_at INTEGER NOT NULL,
    UNIQUE (visitor, film_id)
);
)sql";

}  // namespace

std::unique_ptr<PortalStore> PortalStore::open(const std::string& path, std::string* error) {
    sqlite3* database = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &database, flags, nullptr) != SQLITE_OK) {
        if (error) {
            *error = "cannot open database " + path + ": " +
                     (database ? sqlite3_errmsg(database) : "out of memory");
        }
        sqlite3_close(database);
        return nullptr;
    }
    std::unique_ptr<PortalStore> store(new PortalStore(database));
    sqlite3_busy_timeout(database, 5000);
    // Another process (the program and the client) may share the file, so readers must not
    // block the writer.
    const std::string setup =
        "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;" + std::string(schema);
    char* message = nullptr;
    if (sqlite3_exec(database, setup.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        if (error) {
            *error = "cannot prepare database " + path + ": " + (message ? message : "?");
        }
        sqlite3_free(message);
        return nullptr;
    }
    return store;
}

PortalStore::PortalStore(sqlite3* database) : database_(database) {}

PortalStore::~PortalStore() {
    sqlite3_close_v2(database_);
}

std::optional<bool> PortalStore::addFavourite(std::string_view visitor, int filmId,
                                              std::string_view name, std::int64_t now) {
    const std::lock_guard lock(mutex_);
    SqliteStatement insert(database_,
                           "INSERT OR IGNORE INTO favourites (visitor, film_id, name, added_at) "
                           "VALUES (?1, ?2, ?3, ?4)");
    if (!insert.bind(1, visitor).bind(2, filmId).bind(3, name).bind(4, now).run()) {
        return std::nullopt;
    }
    return sqlite3_changes(database_) > 0;
}

bool PortalStore::clearFavourites(std::string_view visitor) {
    const std::lock_guard lock(mutex_);
    SqliteStatement remove(database_, "DELETE FROM favourites WHERE visitor = ?1");
    return remove.bind(1, visitor).run();
}

std::optional<std::vector<PortalStore::Favourite>> PortalStore::favourites(
    std::string_view visitor) {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(database_,
                           "SELECT film_id, name, added_at FROM favourites WHERE visitor = ?1 "
                           "ORDER BY seq DESC");
    select.bind(1, visitor);
    std::vector<Favourite> rows;
    while (select.nextRow()) {
        rows.push_back({static_cast<int>(select.integer(0)), select.text(1), select.integer(2)});
    }
    if (!select.done()) {
        return std::nullopt;
    }
    return rows;
}

bool PortalStore::recordPlay(std::string_view visitor, int filmId, std::int64_t now) {
    const std::lock_guard lock(mutex_);
    // REPLACE deletes the old row, so the new one gets the highest sequence number.
    SqliteStatement replace(
        database_,
        "INSERT OR REPLACE INTO history (visitor, film_id, played_at) VALUES (?1, ?2, ?3)");
    if (!replace.bind(1, visitor).bind(2, filmId).bind(3, now).run()) {
        return false;
    }
    SqliteStatement trim(database_,
                         "DELETE FROM history WHERE visitor = ?1 AND seq NOT IN (SELECT seq FROM "
                         "history WHERE visitor = ?1 ORDER BY seq DESC LIMIT ?2)");
    return trim.bind(1, visitor).bind(2, historyLimit).run();
}

std::optional<std::vector<PortalStore::Play>> PortalStore::history(std::string_view visitor) {
    const std::lock_guard lock(mutex_);
    SqliteStatement select(database_,
                           "SELECT film_id, played_at FROM history WHERE visitor = ?1 "
                           "ORDER BY seq DESC");
    select.bind(1, visitor);
    std::vector<Play> rows;
    while (select.nextRow()) {
        rows.push_back({static_cast<int>(select.integer(0)), select.integer(1)});
    }
    if (!select.done()) {
        return std::nullopt;
    }
    return rows;
}

}  // namespace tivora::demo
