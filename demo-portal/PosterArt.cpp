#include "demo-portal/PosterArt.h"

#include "demo-portal/HtmlText.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace tivora::demo {

namespace {

constexpr std::string_view fontFamily =
    "'AR PL UMing CN', 'Noto Sans CJK SC', 'Noto Serif CJK SC', sans-serif";

// Shapes in a 300×400 box, light on the gradient; centred around (150, 170).
const std::map<std::string, std::string, std::less<>>& motifShapes() {
    static const std::map<std::string, std::string, std::less<>> shapes = {
        {"sun",
         R"(<g fill="#fff" fill-opacity="0.85"><circle cx="150" cy="170" r="52"/></g>)"
         R"(<g stroke="#fff" stroke-opacity="0.6" stroke-width="6" stroke-linecap="round">)"
         R"(<path d="M150 88v-26M150 252v26M68 170h-26M232 170h26M92 112l-18-18M208 228l18 18)"
         R"(M92 228l-18 18M208 112l18-18"/></g>)"},
        {"moon", R"(<path d="M178 96a78 78 0 1 0 0 148a62 62 0 1 1 0-148z" fill="#fff7d6" )"
                 R"(fill-opacity="0.92"/><circle cx="86" cy="112" r="3" fill="#fff"/>)"
                 R"(<circle cx="236" cy="236" r="2" fill="#fff"/>)"},
        {"mountain",
         R"(<path d="M0 262L88 150l42 48 56-86 114 150z" fill="#fff" fill-opacity="0.78"/>)"
         R"(<path d="M186 112l-20 31 18-9 12 14 10-16z" fill="#fff"/>)"
         R"(<circle cx="232" cy="104" r="20" fill="#fff" fill-opacity="0.5"/>)"},
        {"wave",
         R"(<g fill="none" stroke="#fff" stroke-linecap="round">)"
         R"(<path d="M20 150q32-34 65 0t65 0 65 0 65 0" stroke-width="9" stroke-opacity="0.9"/>)"
         R"(<path d="M20 190q32-34 65 0t65 0 65 0 65 0" stroke-width="9" stroke-opacity="0.65"/>)"
         R"(<path d="M20 230q32-34 65 0t65 0 65 0 65 0" stroke-width="9" stroke-opacity="0.4"/>)"
         R"(</g>)"},
        {"city",
         R"(<g fill="#fff" fill-opacity="0.8"><rect x="30" y="170" width="40" height="100"/>)"
         R"(<rect x="76" y="120" width="46" height="150"/><rect x="128" y="90" width="38" )"
         R"(height="180"/><rect x="172" y="140" width="50" height="130"/><rect x="228" )"
         R"(y="185" width="42" height="85"/></g><g fill="#000" fill-opacity="0.18">)"
         R"(<rect x="86" y="132" width="8" height="10"/><rect x="104" y="150" width="8" )"
         R"(height="10"/><rect x="138" y="104" width="8" height="10"/><rect x="150" y="130" )"
         R"(width="8" height="10"/><rect x="184" y="156" width="8" height="10"/></g>)"},
        {"star",
         R"(<path d="M150 84l24 56 60 5-46 39 14 59-52-32-52 32 14-59-46-39 60-5z" fill="#fff" )"
         R"(fill-opacity="0.88"/>)"},
        {"heart",
         R"(<path d="M150 250c-70-46-98-82-98-116 0-28 22-48 48-48 22 0 38 12 50 30 12-18 )"
         R"(28-30 50-30 26 0 48 20 48 48 0 34-28 70-98 116z" fill="#fff" fill-opacity="0.85"/>)"},
        {"sword",
         R"svg(<g transform="rotate(35 150 170)" fill="#fff"><path d="M144 60h12l4 150h-20z" )svg"
         R"(fill-opacity="0.92"/><rect x="118" y="208" width="64" height="10" rx="4"/>)"
         R"(<rect x="144" y="218" width="12" height="40" rx="3" fill-opacity="0.8"/></g>)"},
        {"rocket", R"(<g fill="#fff"><path d="M150 70c30 28 38 70 30 130h-60c-8-60 0-102 30-130z" )"
                   R"(fill-opacity="0.9"/><path d="M120 180l-26 42 30-10zM180 180l26 42-30-10z" )"
                   R"(fill-opacity="0.7"/><circle cx="150" cy="130" r="13" fill="#000" )"
                   R"(fill-opacity="0.2"/></g><path d="M132 206h36l-18 46z" fill="#ffcc4d"/>)"},
        {"tree",
         R"(<g fill="#fff" fill-opacity="0.82"><path d="M150 80l52 70h-30l44 54h-132l44-54h-30z"/>)"
         R"(<rect x="140" y="204" width="20" height="48"/></g>)"},
        {"eye",
         R"(<path d="M50 170q100-100 200 0q-100 100-200 0z" fill="#fff" fill-opacity="0.85"/>)"
         R"(<circle cx="150" cy="170" r="34" fill="#000" fill-opacity="0.55"/>)"
         R"(<circle cx="162" cy="158" r="9" fill="#fff"/>)"},
        {"film",
         R"svg(<g transform="rotate(-12 150 170)">)svg"
         R"svg(<rect x="40" y="120" width="220" height="100" )svg"
         R"(rx="6" fill="#fff" fill-opacity="0.85"/><g fill="#000" fill-opacity="0.35">)"
         R"(<rect x="52" y="128" width="14" height="10"/><rect x="84" y="128" width="14" )"
         R"(height="10"/><rect x="116" y="128" width="14" height="10"/><rect x="148" y="128" )"
         R"(width="14" height="10"/><rect x="180" y="128" width="14" height="10"/><rect )"
         R"(x="212" y="128" width="14" height="10"/><rect x="52" y="202" width="14" )"
         R"(height="10"/><rect x="84" y="202" width="14" height="10"/><rect x="116" y="202" )"
         R"(width="14" height="10"/><rect x="148" y="202" width="14" height="10"/><rect )"
         R"(x="180" y="202" width="14" height="10"/><rect x="212" y="202" width="14" )"
         R"(height="10"/><rect x="60" y="146" width="80" height="48" rx="3"/><rect x="154" )"
         R"(y="146" width="80" height="48" rx="3"/></g></g>)"},
    };
    return shapes;
}

}  // namespace

std::string PosterArt::svg(const Film& film) {
    const std::string title = escapeHtml(film.title);
    // The title fills most of the width whatever its length.
    const int titleSize = std::clamp(
        260 / static_cast<int>(std::max<std::size_t>(utf8Length(film.title), 1)), 22, 46);
    return fill(
        R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 {0} {1}" )svg"
        R"svg(width="{0}" height="{1}">)svg"
        R"svg(<defs><linearGradient id="g" x1="0" y1="0" x2="0.35" y2="1">)svg"
        R"svg(<stop offset="0" stop-color="{2}"/><stop offset="1" stop-color="{3}"/>)svg"
        R"svg(</linearGradient>)svg"
        R"svg(<linearGradient id="shade" x1="0" y1="0" x2="0" y2="1"><stop offset="0.55" )svg"
        R"svg(stop-color="#000" stop-opacity="0"/><stop offset="1" stop-color="#000" )svg"
        R"svg(stop-opacity="0.55"/></linearGradient><filter id="lift" x="-10%" y="-30%" )svg"
        R"svg(width="120%" height="160%"><feDropShadow dx="0" dy="1.5" stdDeviation="2" )svg"
        R"svg(flood-color="#000" flood-opacity="0.55"/></filter></defs>)svg"
        R"svg(<rect width="{0}" height="{1}" fill="url(#g)"/>{4}{5})svg"
        R"svg(<rect width="{0}" height="{1}" fill="url(#shade)"/>)svg"
        R"svg(<text x="16" y="30" font-family="sans-serif" font-size="13" font-weight="bold" )svg"
        R"svg(letter-spacing="3" fill="#fff" fill-opacity="0.75">TIVORA</text>)svg"
        R"svg(<text x="150" y="330" text-anchor="middle" font-family="{6}" font-size="{7}" )svg"
        R"svg(font-weight="bold" fill="#fff" filter="url(#lift)">{8}</text>)svg"
        R"svg(<text x="150" y="368" text-anchor="middle" font-family="{6}" font-size="15" )svg"
        R"svg(fill="#fff" fill-opacity="0.85" filter="url(#lift)">{9} · {10}</text></svg>)svg",
        {std::to_string(width), std::to_string(height), film.colorTop, film.colorBottom,
         sparkles(film.id), motif(film), fontFamily, std::to_string(titleSize), title,
         std::to_string(film.year), escapeHtml(film.genre)});
}

std::string PosterArt::motif(const Film& film) {
    const auto& shapes = motifShapes();
    const auto it = shapes.find(film.motif);
    return it == shapes.end() ? shapes.at("star") : it->second;
}

std::string PosterArt::sparkles(int seed) {
    // A small fixed scatter of dots per film, so posters of one motif still differ.
    std::uint32_t state = static_cast<std::uint32_t>(seed) * 2654435761u + 1u;
    const auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    std::string dots = R"(<g fill="#fff">)";
    for (int i = 0; i < 14; ++i) {
        const auto x = next(300);
        const auto y = next(280);
        const auto r = 1 + next(3);
        const auto opacity = 20 + next(50);
        dots += fill(
            R"(<circle cx="{0}" cy="{1}" r="{2}" fill-opacity="0.{3}"/>)",
            {std::to_string(x), std::to_string(y), std::to_string(r), std::to_string(opacity)});
    }
    return dots + "</g>";
}

}  // namespace tivora::demo
