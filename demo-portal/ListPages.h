#pragma once

#include "demo-portal/Catalogue.h"
#include "demo-portal/PortalStore.h"

#include <string>
#include <string_view>
#include <vector>

namespace tivora::demo {

// Pages for the narrow film column: the catalogue, search results and favourites. Every film
// opens its page in a new window.
class ListPages final {
public:
    explicit ListPages(const Catalogue& catalogue) : catalogue_(catalogue) {}

    enum class Tab { All, Favourites, Search };

    [[nodiscard]] std::string filmList() const;
    [[nodiscard]] std::string searchResults(std::string_view keyword) const;
    // notice is plain text shown above the list, e.g. what was just added.
    [[nodiscard]] std::string favourites(const std::vector<PortalStore::Favourite>& favourites,
                                         std::string_view notice) const;

    [[nodiscard]] static std::string filmHref(int filmId, std::string_view from = {});

private:
    [[nodiscard]] std::string column(std::string_view title, Tab tab, std::string_view keyword,
                                     std::string_view content) const;
    [[nodiscard]] static std::string row(const Film& film, std::string_view href,
                                         std::string_view shownTitle);

    const Catalogue& catalogue_;
};

}  // namespace tivora::demo
