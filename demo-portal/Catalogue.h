#pragma once

#include "demo-portal/Film.h"

#include <string>
#include <string_view>
#include <vector>

namespace tivora::demo {

// The films the portal ships with, in catalogue order.
class Catalogue final {
public:
    // Parses a catalogue document; an empty catalogue with why in error when it is malformed.
    [[nodiscard]] static Catalogue fromJson(std::string_view json, std::string* error = nullptr);
    // The catalogue compiled into the program, read once.
    [[nodiscard]] static const Catalogue& builtIn();

    [[nodiscard]] const std::vector<Film>& films() const { return films_; }
    [[nodiscard]] const Film* find(int id) const;
    // Films whose title or any actor holds keyword; Latin letters match regardless of case.
    [[nodiscard]] std::vector<const Film*> search(std::string_view keyword) const;
    // Up to count other films of the same genre first, then neighbours in the catalogue.
    [[nodiscard]] std::vector<const Film*> related(const Film& film, std::size_t count) const;

private:
    std::vector<Film> films_;
};

}  // namespace tivora::demo
