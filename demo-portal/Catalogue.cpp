#include "demo-portal/Catalogue.h"

#include "demo-portal/Assets.h"
#include "demo-portal/HtmlText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cctype>

using namespace Qt::StringLiterals;

namespace tivora::demo {

namespace {

std::string text(const QJsonObject& object, QLatin1StringView key) {
    return object.value(key).toString().toStdString();
}

bool validColor(const std::string& color) {
    return color.size() == 7 && color[0] == '#' &&
           std::all_of(color.begin() + 1, color.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

Catalogue Catalogue::fromJson(std::string_view json, std::string* error) {
    const auto fail = [error](std::string why) {
        if (error) {
            *error = std::move(why);
        }
        return Catalogue{};
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(json.data(), static_cast<qsizetype>(json.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        return fail("catalogue: " + parseError.errorString().toStdString());
    }
    Catalogue catalogue;
    for (const QJsonValue& value : document.object().value("films"_L1).toArray()) {
        const QJsonObject object = value.toObject();
        Film film;
        film.id = object.value("id"_L1).toInt();
        film.title = text(object, "title"_L1);
        film.year = object.value("year"_L1).toInt();
        film.genre = text(object, "genre"_L1);
        film.region = text(object, "region"_L1);
        film.director = text(object, "director"_L1);
        for (const QJsonValue& actor : object.value("actors"_L1).toArray()) {
            film.actors.push_back(actor.toString().toStdString());
        }
        film.minutes = object.value("minutes"_L1).toInt();
        film.rating = object.value("rating"_L1).toDouble();
        film.description = text(object, "description"_L1);
        const QJsonArray colors = object.value("colors"_L1).toArray();
        film.colorTop = colors.at(0).toString().toStdString();
        film.colorBottom = colors.at(1).toString().toStdString();
        film.motif = text(object, "motif"_L1);
        if (film.id <= 0 || film.title.empty() || !validColor(film.colorTop) ||
            !validColor(film.colorBottom)) {
            return fail("catalogue: incomplete film #" + std::to_string(film.id));
        }
        if (catalogue.find(film.id)) {
            return fail("catalogue: duplicate film #" + std::to_string(film.id));
        }
        catalogue.films_.push_back(std::move(film));
    }
    if (catalogue.films_.empty()) {
        return fail("catalogue: no films");
    }
    return catalogue;
}

const Catalogue& Catalogue::builtIn() {
    static const Catalogue catalogue = fromJson(Assets::bytes("catalogue.json"));
    return catalogue;
}

const Film* Catalogue::find(int id) const {
    const auto it = std::find_if(films_.begin(), films_.end(),
                                 [id](const Film& film) { return film.id == id; });
    return it == films_.end() ? nullptr : &*it;
}

std::vector<const Film*> Catalogue::search(std::string_view keyword) const {
    std::vector<const Film*> found;
    if (keyword.empty()) {
        return found;
    }
    // UTF-8 never matches inside a character, so a byte search is exact once ASCII is folded.
    const std::string needle = asciiLower(keyword);
    const auto holds = [&needle](const std::string& haystack) {
        return asciiLower(haystack).find(needle) != std::string::npos;
    };
    for (const Film& film : films_) {
        if (holds(film.title) || std::any_of(film.actors.begin(), film.actors.end(), holds)) {
            found.push_back(&film);
        }
    }
    return found;
}

std::vector<const Film*> Catalogue::related(const Film& film, std::size_t count) const {
    std::vector<const Film*> picked;
    for (const Film& other : films_) {
        if (picked.size() < count && other.id != film.id && other.genre == film.genre) {
            picked.push_back(&other);
        }
    }
    const auto at = std::find_if(films_.begin(), films_.end(),
                                 [&film](const Film& other) { return other.id == film.id; });
    const auto self = static_cast<std::size_t>(at - films_.begin());
    for (std::size_t step = 1; picked.size() < count && step < films_.size(); ++step) {
        const Film* next = &films_[(self + step) % films_.size()];
        if (std::find(picked.begin(), picked.end(), next) == picked.end()) {
            picked.push_back(next);
        }
    }
    return picked;
}

}  // namespace tivora::demo
