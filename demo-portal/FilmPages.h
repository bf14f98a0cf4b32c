#pragma once

#include "demo-portal/Catalogue.h"
#include "demo-portal/PortalStore.h"

#include <string>
#include <vector>

namespace tivora::demo {

// Pages for the film pane: a film's details and the visitor's recently played films.
class FilmPages final {
public:
    explicit FilmPages(const Catalogue& catalogue) : catalogue_(catalogue) {}

    // Titled exactly with the film's name, as the client reads the name from the title.
    [[nodiscard]] std::string filmPage(const Film& film) const;
    [[nodiscard]] std::string recentlyPlayed(const std::vector<PortalStore::Play>& plays) const;

    [[nodiscard]] static std::string playHref(int filmId);

private:
    [[nodiscard]] static std::string topBar();

    const Catalogue& catalogue_;
};

}  // namespace tivora::demo
