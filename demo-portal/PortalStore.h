#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace tivora::demo {

// Each visitor's favourites and play history in one SQLite database, safe to use from many
// threads at once.
class PortalStore final {
public:
    struct Favourite {
        int filmId = 0;
        std::string name;  // as the visitor sent it
        std::int64_t addedAt = 0;
    };
    struct Play {
        int filmId = 0;
        std::int64_t playedAt = 0;
    };

    // Opens (creating if needed) the database at path; ":memory:" keeps it in memory.
    [[nodiscard]] static std::unique_ptr<PortalStore> open(const std::string& path,
                                                           std::string* error);
    ~PortalStore();
    PortalStore(const PortalStore&) = delete;
    PortalStore& operator=(const PortalStore&) = delete;

    // Adds a film once per visitor; a film already there keeps its place and name. True when
    // added, false when it was there already, nullopt when the database failed.
    [[nodiscard]] std::optional<bool> addFavourite(std::string_view visitor, int filmId,
                                                   std::string_view name, std::int64_t now);
    [[nodiscard]] bool clearFavourites(std::string_view visitor);
    // Newest first; nullopt when the database failed.
    [[nodiscard]] std::optional<std::vector<Favourite>> favourites(std::string_view visitor);

    // Moves the film to the top of the visitor's history, which keeps the latest entries only.
    [[nodiscard]] bool recordPlay(std::string_view visitor, int filmId, std::int64_t now);
    [[nodiscard]] std::optional<std::vector<Play>> history(std::string_view visitor);

    static constexpr int historyLimit = 50;

private:
    explicit PortalStore(sqlite3* database);

    sqlite3* database_ = nullptr;
    std::mutex mutex_;
};

}  // namespace tivora::demo
