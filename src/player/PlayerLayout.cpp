#include "player/PlayerLayout.h"

#include "player/PlayerWindowControls.h"

#include <span>

using namespace Qt::StringLiterals;

namespace tivora::playerlayout {
namespace {

using layout::Step;

float v(const Target& t, QStringView control, Prop prop) {
    return layout::value(t, control, prop);
}

constexpr auto L = Prop::Left;
constexpr auto T = Prop::Top;
constexpr auto Wd = Prop::Width;
constexpr auto Ht = Prop::Height;

// Right of the list pane, or of the video while the list is hidden.
constexpr float kRightMargin = 80.0F;

// clang-format off
const Step kBannerSteps[] = {
    {player_window::kBanner, Wd, [](const Target& t) { return v(t, player_window::kBannerLabel, Wd) + 200.0F; }},
    {player_window::kBanner, L, [](const Target& t) { return (t.outerWidth() - v(t, player_window::kBanner, Wd)) / 2.0F; }},
    {player_window::kBannerLabel, L, [](const Target& t) { return (v(t, player_window::kBanner, Wd) - v(t, player_window::kBannerLabel, Wd)) / 2.0F; }},
    // The banner's lower edge, not its middle, lies at half the outer height.
    {player_window::kBanner, T, [](const Target& t) { return t.outerHeight() / 2.0F - v(t, player_window::kBanner, Ht); }},
};

const Step kPaneSteps[] = {
    {player_window::kPlayer, Wd, [](const Target& t) { return t.outerWidth() - v(t, player_window::kListFrame, Wd) - kRightMargin; }},
    {player_window::kPlayer, Ht, [](const Target& t) { return t.outerHeight() - 500.0F; }},
    {player_window::kListFrame, L, [](const Target& t) { return t.outerWidth() - v(t, player_window::kListFrame, Wd) - kRightMargin; }},
    {player_window::kListFrame, Ht, [](const Target& t) { return v(t, player_window::kPlayer, Ht) + 100.0F; }},
    {player_window::kFileList, Ht, [](const Target& t) { return v(t, player_window::kListFrame, Ht) - v(t, player_window::kOpenButton, Ht); }},
    {player_window::kOpenButton, T, [](const Target& t) { return v(t, player_window::kFileList, Ht); }},
    {player_window::kHideListButton, T, [](const Target& t) { return v(t, player_window::kOpenButton, T); }},
};
// clang-format on

}  // namespace

void layOutPlayerWindow(Target& target) {
    layout::applySkippingFailures(target, kPaneSteps);
    layout::runSkippingFailures({[&] { target.setVisible(player_window::kListFrame, true); }});
    layout::applySkippingFailures(target, kBannerSteps);
}

void placeBanner(Target& target) {
    for (const Step& step : kBannerSteps) {
        layout::apply(target, step);
    }
}

void hideList(Target& target) {
    target.set(player_window::kPlayer, Wd, target.outerWidth() - kRightMargin);
    target.setVisible(player_window::kListFrame, false);
}

}  // namespace tivora::playerlayout
