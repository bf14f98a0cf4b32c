#include "app/MainLayout.h"

#include "portal/MainWindowControls.h"

using namespace Qt::StringLiterals;

namespace tivora::layout {
namespace {

float v(const Target& t, QStringView control, Prop prop) {
    return value(t, control, prop);
}

constexpr auto L = Prop::Left;
constexpr auto T = Prop::Top;
constexpr auto Wd = Prop::Width;
constexpr auto Ht = Prop::Height;

// Each formula reads the current values, so earlier steps feed later ones. "/ 2.0F" is an exact
// halving of a single-precision value.
// clang-format off
const Step kSteps[] = {
    {main_window::kPlayPane, Wd, [](const Target& t) { return t.outerWidth() + 230.0F; }},
    {main_window::kPlayPane, Ht, [](const Target& t) { return t.outerHeight() - 200.0F; }},
    {main_window::kPlayFrame, Wd, [](const Target& t) { return t.outerWidth(); }},
    {main_window::kPlayFrame, Ht, [](const Target& t) { return t.outerHeight(); }},
    {main_window::kBackdrop, Wd, [](const Target& t) { return t.outerWidth(); }},
    {main_window::kBackdrop, Ht, [](const Target& t) { return t.outerHeight() - 40.0F; }},
    {main_window::kBackdropArt, Wd, [](const Target& t) { return t.outerWidth(); }},
    {main_window::kBackdropArt, Ht, [](const Target& t) { return t.outerHeight() - 400.0F; }},
    {main_window::kListColumn, L, [](const Target& t) { return t.outerWidth() - v(t, main_window::kListColumn, Wd); }},
    {main_window::kListColumn, Ht, [](const Target& t) { return (t.outerHeight() - 300.0F) * 0.93F; }},
    {main_window::kSideToolbar, Ht, [](const Target& t) { return v(t, main_window::kListColumn, Ht); }},
    {main_window::kColumnArt, Ht, [](const Target& t) { return v(t, main_window::kListColumn, Ht); }},
    {main_window::kListPane, Ht, [](const Target& t) { return v(t, main_window::kListColumn, Ht) - 475.0F; }},
    {main_window::kContentFrame, L, [](const Target& t) { return v(t, main_window::kListColumn, L) / 2.0F - v(t, main_window::kContentFrame, Wd) / 2.0F; }},
    {main_window::kContentFrame, T, [](const Target& t) { return (v(t, main_window::kListColumn, Ht) - v(t, main_window::kContentFrame, Ht)) / 2.0F - 300.0F; }},
    {main_window::kWelcomePicture, L, [](const Target& t) { return v(t, main_window::kListColumn, L) / 2.0F - v(t, main_window::kWelcomePicture, Wd) / 2.0F; }},
    {main_window::kWelcomePicture, T, [](const Target& t) { return (v(t, main_window::kListColumn, Ht) - v(t, main_window::kWelcomePicture, Ht)) / 2.0F - 300.0F; }},
    {main_window::kLocalPlaybackButton, T, [](const Target& t) { return v(t, main_window::kWelcomePicture, T) + v(t, main_window::kWelcomePicture, Ht) + 300.0F; }},
    {main_window::kOnDemandButton, T, [](const Target& t) { return v(t, main_window::kLocalPlaybackButton, T); }},
    {main_window::kTvLiveButton, T, [](const Target& t) { return v(t, main_window::kLocalPlaybackButton, T); }},
    {main_window::kLocalPlaybackButton, L, [](const Target& t) { return (v(t, main_window::kWelcomePicture, Wd) - v(t, main_window::kLocalPlaybackButton, Wd)) / 2.0F + v(t, main_window::kWelcomePicture, L); }},
    {main_window::kOnDemandButton, L, [](const Target& t) { return v(t, main_window::kLocalPlaybackButton, L) - v(t, main_window::kOnDemandButton, Wd) - 50.0F; }},
    {main_window::kTvLiveButton, L, [](const Target& t) { return v(t, main_window::kLocalPlaybackButton, L) + v(t, main_window::kLocalPlaybackButton, Wd) + 50.0F; }},
    {main_window::kPlayButton, T, [](const Target& t) { return v(t, main_window::kContentFrame, T) + v(t, main_window::kContentFrame, Ht) + 100.0F; }},
    {main_window::kAddFavouriteButton, T, [](const Target& t) { return v(t, main_window::kPlayButton, T); }},
    {main_window::kNowPlayingButton, T, [](const Target& t) { return v(t, main_window::kPlayButton, T); }},
    {main_window::kStopButton, T, [](const Target& t) { return v(t, main_window::kPlayButton, T); }},
    {main_window::kRecentButton, T, [](const Target& t) { return v(t, main_window::kPlayButton, T); }},
    {main_window::kLiveButton, T, [](const Target& t) { return v(t, main_window::kPlayButton, T); }},
    {main_window::kStopButton, L, [](const Target& t) { return v(t, main_window::kContentFrame, Wd) / 2.0F + v(t, main_window::kContentFrame, L) - v(t, main_window::kStopButton, Wd); }},
    {main_window::kNowPlayingButton, L, [](const Target& t) { return v(t, main_window::kStopButton, L) - 550.0F; }},
    {main_window::kPlayButton, L, [](const Target& t) { return v(t, main_window::kNowPlayingButton, L) - 550.0F; }},
    {main_window::kAddFavouriteButton, L, [](const Target& t) { return v(t, main_window::kStopButton, L) + 550.0F; }},
    {main_window::kRecentButton, L, [](const Target& t) { return v(t, main_window::kAddFavouriteButton, L) + 550.0F; }},
    {main_window::kLiveButton, L, [](const Target& t) { return v(t, main_window::kRecentButton, L) + 550.0F; }},
    {main_window::kControlBar, Wd, [](const Target& t) { return t.outerWidth() - 3500.0F; }},
    {main_window::kControlBar, L, [](const Target& t) { return t.outerWidth() / 2.0F - v(t, main_window::kControlBar, Wd) / 2.0F; }},
    {main_window::kControlBarArt, Wd, [](const Target& t) { return v(t, main_window::kControlBar, Wd); }},
    {main_window::kControlBar, T, [](const Target& t) { return t.outerHeight() - v(t, main_window::kControlBar, Ht) - 580.0F; }},
    {main_window::kBarMenuButton, L, [](const Target& t) { return v(t, main_window::kControlBar, Wd) - v(t, main_window::kBarMenuButton, Wd); }},
};
// clang-format on

}  // namespace

void layOutMainWindow(Target& target) {
    applySkippingFailures(target, kSteps);
}

}  // namespace tivora::layout
