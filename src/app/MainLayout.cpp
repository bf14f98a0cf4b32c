#include "MainLayout.h"

#include "MainWindowControls.h"

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
    {form1::kPlayPane, Wd, [](const Target& t) { return t.outerWidth() + 230.0F; }},
    {form1::kPlayPane, Ht, [](const Target& t) { return t.outerHeight() - 200.0F; }},
    {form1::kPlayFrame, Wd, [](const Target& t) { return t.outerWidth(); }},
    {form1::kPlayFrame, Ht, [](const Target& t) { return t.outerHeight(); }},
    {form1::kBackdrop, Wd, [](const Target& t) { return t.outerWidth(); }},
    {form1::kBackdrop, Ht, [](const Target& t) { return t.outerHeight() - 40.0F; }},
    {form1::kBackdropArt, Wd, [](const Target& t) { return t.outerWidth(); }},
    {form1::kBackdropArt, Ht, [](const Target& t) { return t.outerHeight() - 400.0F; }},
    {form1::kListColumn, L, [](const Target& t) { return t.outerWidth() - v(t, form1::kListColumn, Wd); }},
    {form1::kListColumn, Ht, [](const Target& t) { return (t.outerHeight() - 300.0F) * 0.93F; }},
    {form1::kSideToolbar, Ht, [](const Target& t) { return v(t, form1::kListColumn, Ht); }},
    {form1::kColumnArt, Ht, [](const Target& t) { return v(t, form1::kListColumn, Ht); }},
    {form1::kListPane, Ht, [](const Target& t) { return v(t, form1::kListColumn, Ht) - 475.0F; }},
    {form1::kContentFrame, L, [](const Target& t) { return v(t, form1::kListColumn, L) / 2.0F - v(t, form1::kContentFrame, Wd) / 2.0F; }},
    {form1::kContentFrame, T, [](const Target& t) { return (v(t, form1::kListColumn, Ht) - v(t, form1::kContentFrame, Ht)) / 2.0F - 300.0F; }},
    {form1::kWelcomePicture, L, [](const Target& t) { return v(t, form1::kListColumn, L) / 2.0F - v(t, form1::kWelcomePicture, Wd) / 2.0F; }},
    {form1::kWelcomePicture, T, [](const Target& t) { return (v(t, form1::kListColumn, Ht) - v(t, form1::kWelcomePicture, Ht)) / 2.0F - 300.0F; }},
    {form1::kLocalPlaybackButton, T, [](const Target& t) { return v(t, form1::kWelcomePicture, T) + v(t, form1::kWelcomePicture, Ht) + 300.0F; }},
    {form1::kOnDemandButton, T, [](const Target& t) { return v(t, form1::kLocalPlaybackButton, T); }},
    {form1::kTvLiveButton, T, [](const Target& t) { return v(t, form1::kLocalPlaybackButton, T); }},
    {form1::kLocalPlaybackButton, L, [](const Target& t) { return (v(t, form1::kWelcomePicture, Wd) - v(t, form1::kLocalPlaybackButton, Wd)) / 2.0F + v(t, form1::kWelcomePicture, L); }},
    {form1::kOnDemandButton, L, [](const Target& t) { return v(t, form1::kLocalPlaybackButton, L) - v(t, form1::kOnDemandButton, Wd) - 50.0F; }},
    {form1::kTvLiveButton, L, [](const Target& t) { return v(t, form1::kLocalPlaybackButton, L) + v(t, form1::kLocalPlaybackButton, Wd) + 50.0F; }},
    {form1::kPlayButton, T, [](const Target& t) { return v(t, form1::kContentFrame, T) + v(t, form1::kContentFrame, Ht) + 100.0F; }},
    {form1::kAddFavouriteButton, T, [](const Target& t) { return v(t, form1::kPlayButton, T); }},
    {form1::kNowPlayingButton, T, [](const Target& t) { return v(t, form1::kPlayButton, T); }},
    {form1::kStopButton, T, [](const Target& t) { return v(t, form1::kPlayButton, T); }},
    {form1::kRecentButton, T, [](const Target& t) { return v(t, form1::kPlayButton, T); }},
    {form1::kLiveButton, T, [](const Target& t) { return v(t, form1::kPlayButton, T); }},
    {form1::kStopButton, L, [](const Target& t) { return v(t, form1::kContentFrame, Wd) / 2.0F + v(t, form1::kContentFrame, L) - v(t, form1::kStopButton, Wd); }},
    {form1::kNowPlayingButton, L, [](const Target& t) { return v(t, form1::kStopButton, L) - 550.0F; }},
    {form1::kPlayButton, L, [](const Target& t) { return v(t, form1::kNowPlayingButton, L) - 550.0F; }},
    {form1::kAddFavouriteButton, L, [](const Target& t) { return v(t, form1::kStopButton, L) + 550.0F; }},
    {form1::kRecentButton, L, [](const Target& t) { return v(t, form1::kAddFavouriteButton, L) + 550.0F; }},
    {form1::kLiveButton, L, [](const Target& t) { return v(t, form1::kRecentButton, L) + 550.0F; }},
    {form1::kControlBar, Wd, [](const Target& t) { return t.outerWidth() - 3500.0F; }},
    {form1::kControlBar, L, [](const Target& t) { return t.outerWidth() / 2.0F - v(t, form1::kControlBar, Wd) / 2.0F; }},
    {form1::kControlBarArt, Wd, [](const Target& t) { return v(t, form1::kControlBar, Wd); }},
    {form1::kControlBar, T, [](const Target& t) { return t.outerHeight() - v(t, form1::kControlBar, Ht) - 580.0F; }},
    {form1::kBarMenuButton, L, [](const Target& t) { return v(t, form1::kControlBar, Wd) - v(t, form1::kBarMenuButton, Wd); }},
};
// clang-format on

}  // namespace

void layOutMainWindow(Target& target) {
    applySkippingFailures(target, kSteps);
}

}  // namespace tivora::layout
